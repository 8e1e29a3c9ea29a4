#include "BlueTurret.h"

#include "Log.h"

BlueTurret::BlueTurret()
{
    type = EntityTypes::BlueTurret;
}

void BlueTurret::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("BlueTurret Spawned!\n");
}

void BlueTurret::Update()
{
    SavePose();
}

void BlueTurret::Draw(float) {}

void BlueTurret::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void BlueTurret::Die()
{
    MarkDead();
}

Entity* BlueTurret::Clone() const
{
    return new BlueTurret(*this);
}
