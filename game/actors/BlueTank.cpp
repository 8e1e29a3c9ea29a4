#include "BlueTank.h"

#include "Log.h"

BlueTank::BlueTank()
{
    type = EntityTypes::BlueTank;
}

void BlueTank::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("BlueTank Spawned!\n");
}

void BlueTank::Update()
{
    SavePose();
}

void BlueTank::Draw(float) {}

void BlueTank::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void BlueTank::Die()
{
    MarkDead();
}

Entity* BlueTank::Clone() const
{
    return new BlueTank(*this);
}
