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
    FireBulletFromBarrel(*this, 20.0f);
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
