#include "SuperTurret.h"

#include "Log.h"

SuperTurret::SuperTurret()
{
    type = EntityTypes::SuperTurret;
}

void SuperTurret::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("SuperTurret Spawned!\n");
}

void SuperTurret::Update()
{
    SavePose();
}

void SuperTurret::Draw(float) {}

void SuperTurret::Die()
{
    MarkDead();
}

Entity* SuperTurret::Clone() const
{
    return new SuperTurret(*this);
}
