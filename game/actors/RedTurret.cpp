#include "RedTurret.h"

#include "ActorDraw.h"
#include "EnemyActions.h"
#include "Log.h"
#include "MathUtil.h"
#include "Random.h"

RedTurret::RedTurret()
{
    type = EntityTypes::RedTurret;
}

void RedTurret::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("RedTurret Spawned!\n");
    health = 1.0f;
    fireTimer = (Random() % 2 + 5) * 50;
    points = kPoints;
}

void RedTurret::Update()
{
    SavePose();
    if (!GunReloaded(fireTimer) || !(ShipDistance(position) < kGunRange))
        return;
    Vec2 f;
    Vec2 s;
    AngleToVectors(angle, f, s);
    FireSeeker(*this, position - 15.0f * s, -9.0f * s, angle);
    PlaySampleUnplaced(SampleId::HomingLaunch);
}

void RedTurret::Draw(float alpha) { DrawActorModel(*this, "RedTurret", alpha); }

void RedTurret::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void RedTurret::Die()
{
    if (dead)
        return;
    const Vec2 at = position;
    MarkDead();
    GunBursts(at, {{1.0f, 0.75f, 0.0f}, {1.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}}, {1.0f, 0.75f, 0.0f});
}

Entity* RedTurret::Clone() const
{
    return new RedTurret(*this);
}
