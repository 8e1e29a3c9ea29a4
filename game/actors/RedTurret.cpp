#include "RedTurret.h"

#include "Log.h"

RedTurret::RedTurret()
{
    type = EntityTypes::RedTurret;
}

void RedTurret::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("RedTurret Spawned!\n");
}

void RedTurret::Update()
{
    SavePose();
}

void RedTurret::Draw(float) {}

void RedTurret::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void RedTurret::Die()
{
    MarkDead();
}

Entity* RedTurret::Clone() const
{
    return new RedTurret(*this);
}
