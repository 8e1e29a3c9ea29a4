#include "Missile.h"

#include "Collision.h"
#include "EnemyActions.h"
#include "Game.h"
#include "Line.h"
#include "Log.h"
#include "MathUtil.h"
#include "Player.h"
#include "Sector.h"
#include "SmokeTrailParticles.h"
#include "Trail.h"
#include "Wreckage.h"

#include <algorithm>
#include <memory>

namespace {

constexpr Rgb kTrailColour{0.0f, 0.75f, 1.0f};

} // namespace

Missile::Missile()
{
    type = EntityTypes::Missile;
}

void Missile::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Missile Spawned!\n");
    health = 1.0f;
    dormant = true;
    velocity = {};
    loopPlaying = false;
    points = kPoints;
}

bool Missile::SightBlocked(Vec2 d, float range) const
{
    if (theGame == nullptr)
        return false;
    const SectorGrid& grid = theGame->sectorGrid;
    Vec2 q = position + 10.0f * d;
    float nearest = 9999.0f;
    while (grid.SectorAt(q.x, q.y) != nullptr) {
        const Line probe(position + 5.0f * d, q);
        bool blocked = false;
        for (float i : {-kSectorSize, 0.0f, kSectorSize}) {
            for (float j : {-kSectorSize, 0.0f, kSectorSize}) {
                const Sector* cell = grid.SectorAt(q.x + i, q.y + j);
                if (cell == nullptr)
                    continue;
                Vec2 crossing;
                // The last nearer crossing is the cell's nearest one.
                if (NearerBeamCrossing(*cell, probe, position, nearest, crossing) && nearest < range)
                    blocked = true;
            }
        }
        if (blocked)
            return true;
        q += 125.0f * d;
        if (!(Length(q - position) <= kSightSearch))
            return false;
    }
    return false;
}

bool Missile::SeesShip() const
{
    if (ShipAbsent())
        return false;
    Vec2 f;
    Vec2 u;
    AngleToVectors(angle, f, u);
    const Vec2 d = ToShip(position);
    const float across = Dot(d, f);
    if (!(Dot(d, u) < 0.0f && -kCone < across && across < kCone))
        return false;
    const float r = ShipDistance(position);
    return r < kWakeRange && !SightBlocked(d, r);
}

void Missile::Launch()
{
    dormant = false;
    if (theGame == nullptr)
        return;
    trail = theGame->ribbons.Add(
        std::make_unique<Trail>(position.x, position.y, kTrailColour.r, kTrailColour.g, kTrailColour.b));
    auto exhaust = std::make_unique<SmokeTrailParticles>(position.x, position.y, 0.0f, 0.0f);
    exhaust->owner = this;
    smoke = theGame->particles.Add(std::move(exhaust));
    PlaySampleAt(SampleId::RocketLaunch, position);
    loopPlaying = true;
    loopChannel = PlaySampleAt(SampleId::Missile, position, true);
}

void Missile::Fly()
{
    Vec2 f;
    Vec2 u;
    AngleToVectors(angle, f, u);
    const Player* ship = TheShip();
    if (ship != nullptr && !ship->dying)
        angle += Dot(ToShip(position), f) < 0.0f ? -kTurn : kTurn;
    AngleToVectors(angle, f, u);
    velocity -= 0.5f * u;
    velocity = velocity * 0.95f;
    position += velocity;
    Trail* ribbon = trail.Get();
    if (theGame != nullptr && theGame->tickCount % 2 == 0) {
        const Vec2 at = position + 4.0f * u;
        if (ribbon != nullptr)
            ribbon->Emit(at.x, at.y, kTrailColour.r, kTrailColour.g, kTrailColour.b);
        if (SmokeTrailParticles* exhaust = smoke.Get())
            exhaust->Emit(at.x, at.y, u.x, u.y, 3);
    }
    const float shift = WrapAcrossSeam(position, previousPosition);
    if (shift != 0.0f && ribbon != nullptr)
        ribbon->Translate(shift, 0.0f);
    Touch();
}

void Missile::Touch()
{
    bool terrain = false;
    std::vector<BeamHit> hits;
    const std::vector<HullCircle> hull = shapes;
    // An actor standing in several of the cells is touched once.
    std::vector<const Entity*> touched;
    // By index: a death in the pass may append debris to a cell.
    for (std::size_t c = 0; c < sectors.size(); ++c) {
        Sector* cell = sectors[c];
        for (const HullCircle& circle : hull) {
            hits.clear();
            if (cell->CollideCircle(circle, hits) && !hits.empty())
                terrain = true;
        }
        for (Entity* other : cell->Entities()) {
            if (other == this || other->type == EntityTypes::Player ||
                std::find(touched.begin(), touched.end(), other) != touched.end())
                continue;
            Vec2 n;
            if (!other->CollideShapes(hull, &n) || !other->OnContact(this))
                continue;
            touched.push_back(other);
            const bool wasAlive = !other->dead;
            other->Damage(kActorDamage);
            Damage(kSelfDamage);
            PayKillBonus(*other, wasAlive, 2, position);
        }
    }
    if (terrain)
        Damage(kSelfDamage);
}

void Missile::Update()
{
    SavePose();
    if (dormant) {
        if (SeesShip())
            Launch();
    } else {
        Fly();
    }
    if (loopPlaying && theGame != nullptr)
        theGame->PositionSound(loopChannel, position.x, position.y);
    Reregister();
}

void Missile::Draw(float alpha) { DrawActorModel(*this, "Missile", alpha); }

void Missile::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void Missile::Die()
{
    if (dead)
        return;
    AddExplosion(position, 0.2f, 1.0f, 1.0f, 30);
    AddExplosion(position, 0.0f, 0.2f, 1.0f, 20);
    AddShockRing(position, 30.0f, {0.0f, 1.0f, 1.0f});
    MarkDead();
    // The smoke stops waiting for this missile now, before it is deleted.
    if (SmokeTrailParticles* exhaust = smoke.Get())
        exhaust->owner = nullptr;
    if (theGame == nullptr)
        return;
    theGame->PlayMediumExplosionAt(position.x, position.y);
    if (loopPlaying)
        theGame->audio.HaltChannel(loopChannel);
}

Entity* Missile::Clone() const
{
    return new Missile(*this);
}
