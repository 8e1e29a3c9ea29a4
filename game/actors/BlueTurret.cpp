#include "BlueTurret.h"

#include "ActorDraw.h"
#include "EnemyActions.h"
#include "Log.h"
#include "MathUtil.h"
#include "Random.h"

BlueTurret::BlueTurret()
{
    type = EntityTypes::BlueTurret;
}

void BlueTurret::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("BlueTurret Spawned!\n");
    health = 1.0f;
    fireTimer = (Random() % 2 + 5) * 50;
    points = kPoints;
}

void BlueTurret::Update()
{
    SavePose();
    if (!GunReloaded(fireTimer))
        return;
    Vec2 f;
    Vec2 s;
    AngleToVectors(angle, f, s);
    const Vec2 toShip = ToShip(position);
    if (ShipDistance(position) < kGunRange && Dot(s, toShip) < 0.0f)
        FireEnemyBullet(*this, position - 20.0f * s, 4.0f * toShip);
}

void BlueTurret::Draw(float alpha) { DrawActorModel(*this, "BlueTurret", alpha); }

void BlueTurret::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void BlueTurret::Die()
{
    if (dead)
        return;
    const Vec2 at = position;
    MarkDead();
    GunBursts(at, {{0.2f, 1.0f, 1.0f}, {0.0f, 0.2f, 1.0f}, {1.0f, 1.0f, 1.0f}}, {0.0f, 1.0f, 1.0f});
}

Entity* BlueTurret::Clone() const
{
    return new BlueTurret(*this);
}
