#include "FuelPod.h"

#include "Log.h"

FuelPod::FuelPod()
{
    type = EntityTypes::FuelPod;
}

void FuelPod::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("FuelPod Spawned!\n");
}

void FuelPod::Update()
{
    SavePose();
}

void FuelPod::Draw(float) {}

void FuelPod::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void FuelPod::Die()
{
    MarkDead();
}

Entity* FuelPod::Clone() const
{
    return new FuelPod(*this);
}
