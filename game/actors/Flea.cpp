#include "Flea.h"

#include "Collision.h"
#include "EnemyActions.h"
#include "Game.h"
#include "Line.h"
#include "Log.h"
#include "MathUtil.h"
#include "Player.h"
#include "Random.h"
#include "Riders.h"
#include "Sector.h"
#include "Wreckage.h"

Flea::Flea()
{
    type = EntityTypes::Flea;
}

void Flea::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Flea Spawned!\n");
    health = 1.0f;
    landed = true;
    velocity = {};
    restTimer = 0;
    carrier = nullptr;
    landedBeam = nullptr;
    points = kPoints;
}

void Flea::Axes(Vec2& forward, Vec2& down) const
{
    Vec2 side;
    AngleToVectors(angle, forward, side);
    down = side;
}

void Flea::Rest()
{
    if (landedBeam != nullptr) {
        // V, the unit vector at angle + 180, against the beam's normal.
        Vec2 f;
        Vec2 v;
        AngleToVectors(angle + 90.0f, f, v);
        const float k = Dot(landedBeam->normal, v);
        if (k != kUprightStill)
            angle -= k * 57.2957763671875f * 0.5f;
    }
    fireTimer -= 1;
    if (fireTimer <= 0) {
        fireTimer = kShotInterval;
        Vec2 f;
        Vec2 down;
        Axes(f, down);
        const Vec2 d = ToShip(position);
        if (ShipDistance(position) < kGunRange && Dot(d, down) < 0.0f)
            FireEnemyBullet(*this, position - 20.0f * down, 4.0f * d);
    }
    restTimer -= 1;
}

void Flea::Jump()
{
    if (ShipAbsent())
        return;
    Vec2 f;
    Vec2 down;
    Axes(f, down);
    const Vec2 d = ToShip(position);
    const float s = Dot(d, f);
    if (Dot(d, down) < 0.0f) {
        velocity = 3.0f * Normalize(d.x, d.y);
        if (landedBeam != nullptr)
            velocity += 6.0f * landedBeam->normal;
    } else {
        const bool left = Random() % 2 == 0;
        const Vec2 base = landedBeam != nullptr ? landedBeam->normal : f;
        const Vec2 across = left ? Vec2{-base.y, base.x} : Vec2{base.y, -base.x};
        velocity = (landedBeam != nullptr ? 6.0f : 3.0f) * base + across;
    }
    landed = false;
    PlaySampleAt(SampleId::FleaJump, position);
    spin = s > 0.0f ? kJumpSpin : -kJumpSpin;
    RemoveRider(carrier.Get(), this);
    carrier = nullptr;
    landedBeam = nullptr;
    position += velocity;
}

void Flea::Fly()
{
    angle += spin;
    spin *= 0.99875f;
    if (theGame != nullptr)
        velocity += theGame->gravity;
    velocity = velocity * 0.9875f;
    position += velocity;
    WrapAcrossSeam(position, previousPosition);
    // The hull as placed at the end of the last tick; every hit lands, so
    // the last beam met decides.
    std::vector<BeamHit> hits;
    for (std::size_t c = 0; c < sectors.size(); ++c) {
        Sector* cell = sectors[c];
        for (std::size_t k = 0; k < shapes.size(); ++k) {
            hits.clear();
            if (!cell->CollideCircle(shapes[k], hits) || hits.empty())
                continue;
            Land(*cell, *hits.front().beam);
        }
    }
}

void Flea::Land(Sector& cell, Beam& beam)
{
    landed = true;
    restTimer = kRestTicks;
    fireTimer = kShotInterval;
    landedBeam = &beam;
    position = ClosestPointOnSegment(position.x, position.y, Line(beam.a, beam.b)) + 2.0f * beam.normal;
    const std::vector<HullCircle> hull = shapes;
    for (Entity* other : cell.Entities()) {
        if (other == this || (other->type != EntityTypes::Rotator && other->type != EntityTypes::Mover))
            continue;
        Vec2 n;
        if (other->CollideShapes(hull, &n))
            other->OnContact(this);
    }
}

void Flea::Update()
{
    SavePose();
    if (landed && restTimer > 0)
        Rest();
    else if (landed)
        Jump();
    else
        Fly();
    Reregister();
}

void Flea::Draw(float alpha) { DrawActorModel(*this, "Flea", alpha); }

void Flea::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void Flea::Die()
{
    if (dead)
        return;
    AddExplosion(position, 1.0f, 0.0f, 0.0f, 20);
    AddShockRing(position, 30.0f, {1.0f, 0.0f, 0.0f});
    MarkDead();
    if (theGame != nullptr)
        theGame->PlaySmallExplosionAt(position.x, position.y);
}

Entity* Flea::Clone() const
{
    return new Flea(*this);
}
