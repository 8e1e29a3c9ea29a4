#include "EnemyActions.h"

#include "ActorDraw.h"
#include "Collision.h"
#include "Entity.h"
#include "Line.h"
#include "MathUtil.h"
#include "Game.h"
#include "Player.h"
#include "Projectile.h"
#include "PuffParticles.h"
#include "Random.h"
#include "Sector.h"
#include "WrapFrame.h"
#include "Wreckage.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

WrapFrame ShipFrame()
{
    WrapFrame frame;
    if (theGame != nullptr) {
        if (theGame->player)
            frame.player = theGame->player->position;
        frame.worldWidth = theGame->WorldWidth();
    }
    return frame;
}

} // namespace

Player* TheShip() { return theGame != nullptr ? theGame->player.get() : nullptr; }

bool ShipAbsent()
{
    const Player* ship = TheShip();
    return ship == nullptr || ship->spawnTimer > 0 || ship->dying;
}

Vec2 ToShip(Vec2 from) { return DirectionToPlayer(from.x, from.y, ShipFrame()); }

float ShipDistance(Vec2 from)
{
    const Vec2 p = NearestPlayerPosition(from.x, from.y, ShipFrame());
    return Length(p - from);
}

float WrapAcrossSeam(Vec2& position, Vec2& previous)
{
    const float w = theGame != nullptr ? theGame->WorldWidth() : 0.0f;
    float shift = 0.0f;
    if (position.x < 0.0f) {
        position.x += w;
        previous.x += w;
        shift += w;
    }
    if (position.x >= w) {
        position.x -= w;
        previous.x -= w;
        shift -= w;
    }
    return shift;
}

int PlaySampleAt(SampleId id, Vec2 at, bool loop)
{
    if (theGame == nullptr)
        return -1;
    const int channel = theGame->audio.PlaySample(theGame->resources.Sample(id), loop);
    theGame->PositionSound(channel, at.x, at.y);
    return channel;
}

void PlaySampleUnplaced(SampleId id)
{
    if (theGame != nullptr)
        theGame->audio.PlaySample(theGame->resources.Sample(id), false);
}

void FireEnemyBullet(Entity& owner, Vec2 muzzle, Vec2 velocity)
{
    if (theGame == nullptr)
        return;
    Projectile* shot = CreateProjectile(1);
    shot->owner = &owner;
    shot->Spawn(muzzle.x, muzzle.y, velocity.x, velocity.y, owner.angle);
    theGame->enemyShots.push_back(shot);
    theGame->particles.Add(std::make_unique<PuffParticles>(muzzle.x, muzzle.y, 0.0f, 0.0f));
    PlaySampleAt(SampleId::CannonLaser, owner.position);
}

void FireSeeker(Entity& owner, Vec2 muzzle, Vec2 velocity, float angle)
{
    if (theGame == nullptr)
        return;
    Projectile* shot = CreateProjectile(2);
    shot->owner = &owner;
    shot->Spawn(muzzle.x, muzzle.y, velocity.x, velocity.y, angle);
    theGame->enemyShots.push_back(shot);
}

void FireBulletFromBarrel(Entity& gun, float muzzleDistance)
{
    Vec2 f;
    Vec2 s;
    AngleToVectors(gun.angle, f, s);
    const Vec2 toShip = ToShip(gun.position);
    if (ShipDistance(gun.position) < kGunRange && Dot(s, toShip) < 0.0f)
        FireEnemyBullet(gun, gun.position - muzzleDistance * s, 4.0f * toShip);
}

void AddShockRing(Vec2 at, float speed, Rgb colour) { AddShockRing(at, colour, speed); }

void GunBursts(Vec2 at, const Rgb (&colours)[3], Rgb ring)
{
    const std::int32_t counts[3] = {30, 20, 15};
    for (int i = 0; i < 3; ++i)
        AddExplosion(at, colours[i].r, colours[i].g, colours[i].b, counts[i]);
    AddShockRing(at, 30.0f, ring);
    if (theGame != nullptr)
        theGame->PlayMediumExplosionAt(at.x, at.y);
}

void PayKillBonus(const Entity& victim, bool wasAlive, int times, Vec2 at)
{
    Player* ship = TheShip();
    if (!wasAlive || !victim.dead || ship == nullptr)
        return;
    ship->AddScore(std::int64_t{times} * victim.points);
    char text[32];
    std::snprintf(text, sizeof text, "%iX %i", times + 1, static_cast<int>(victim.points));
    theGame->scorePopups.emplace_back(text, at.x, at.y);
}

Beam* FirstBeamMet(const std::vector<Sector*>& cells, float radius, Vec2 centre)
{
    std::vector<BeamHit> hits;
    for (Sector* cell : cells) {
        hits.clear();
        if (cell->CollideCircle(HullCircle(radius, centre.x, centre.y), hits) && !hits.empty())
            return hits.front().beam;
    }
    return nullptr;
}

bool GunReloaded(std::int32_t& fireTimer)
{
    fireTimer -= 1;
    if (fireTimer > 0)
        return false;
    fireTimer = (Random() % 2 + 3) * 50;
    return true;
}

void DrawActorModel(const Entity& actor, const char* name, float alpha, bool rotate, bool dimmed)
{
    const ActorCanvas canvas = CurrentCanvas();
    const ObjectModel* model = FindActorModel(name);
    if (!canvas || model == nullptr)
        return;
    const float a = rotate ? Lerp(actor.angle, actor.previousAngle, alpha) : 0.0f;
    PushPose(*canvas.state, Lerp2(actor.position, actor.previousPosition, alpha), a);
    if (dimmed)
        DrawObjectFaded(*canvas.sink, model->beams, false, 0.5f);
    else
        DrawObject(*canvas.sink, model->beams, false);
    canvas.state->PopMatrix();
}

bool BeamNormalMet(const std::vector<Sector*>& cells, float radius, Vec2 centre, Vec2* normalOut)
{
    const Beam* beam = FirstBeamMet(cells, radius, centre);
    if (beam == nullptr)
        return false;
    *normalOut = beam->normal;
    return true;
}

bool NearerBeamCrossing(const Sector& cell, const Line& probe, Vec2 from, float& nearest, Vec2& at)
{
    bool nearer = false;
    for (const Beam* beam : cell.beams) {
        Vec2 p;
        if (!SegmentsIntersect(probe, Line(beam->a, beam->b), &p))
            continue;
        const float h = Length(p - from);
        if (h < nearest) {
            nearest = h;
            at = p;
            nearer = true;
        }
    }
    return nearer;
}
