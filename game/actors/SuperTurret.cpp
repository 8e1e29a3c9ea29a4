#include "SuperTurret.h"

#include "ActorDraw.h"
#include "EnemyActions.h"
#include "Log.h"
#include "MathUtil.h"
#include "Random.h"

SuperTurret::SuperTurret()
{
    type = EntityTypes::SuperTurret;
}

void SuperTurret::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("SuperTurret Spawned!\n");
    health = 2.0f;
    fireTimer = (Random() % 2 + 5) * 50;
    points = kPoints;
    flashTimer = 0;
}

void SuperTurret::Update()
{
    if (flashTimer > 0)
        flashTimer -= 1;
    SavePose();
    if (!GunReloaded(fireTimer) || !(ShipDistance(position) < kGunRange))
        return;
    Vec2 f;
    Vec2 s;
    AngleToVectors(angle, f, s);
    const Vec2 muzzle = position - 15.0f * s;
    const Vec2 out = -9.0f * s;
    FireSeeker(*this, muzzle, out, angle);
    PlaySampleUnplaced(SampleId::HomingLaunch);
    FireSeeker(*this, muzzle + 5.0f * f, out + 3.0f * f, angle + 45.0f);
    FireSeeker(*this, muzzle - 5.0f * f, out - 3.0f * f, angle - 45.0f);
}

void SuperTurret::Draw(float alpha)
{
    // Dimmed on the flash values 25, 20, 15, 10 and 5.
    DrawActorModel(*this, "SuperTurret", alpha, true, flashTimer > 0 && flashTimer % 5 == 0);
}

void SuperTurret::Damage(float amount)
{
    if (flashTimer > 0 || !(health > 0.0f))
        return;
    flashTimer = kFlashTicks;
    health -= amount;
    if (health <= 0.0f)
        Die();
}

void SuperTurret::Die()
{
    if (dead)
        return;
    const Vec2 at = position;
    MarkDead();
    GunBursts(at, {{1.0f, 0.75f, 0.0f}, {0.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 1.0f}}, {1.0f, 0.75f, 0.0f});
}

Entity* SuperTurret::Clone() const
{
    return new SuperTurret(*this);
}
