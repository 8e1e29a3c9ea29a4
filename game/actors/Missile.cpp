#include "Missile.h"

#include "Log.h"

Missile::Missile()
{
    type = EntityTypes::Missile;
}

void Missile::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Missile Spawned!\n");
}

void Missile::Update()
{
    SavePose();
}

void Missile::Draw(float) {}

void Missile::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void Missile::Die()
{
    MarkDead();
}

Entity* Missile::Clone() const
{
    return new Missile(*this);
}
