#include "Lander.h"

#include "Log.h"

Lander::Lander()
{
    type = EntityTypes::Lander;
}

void Lander::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Lander Spawned!\n");
}

void Lander::Update()
{
    SavePose();
}

void Lander::Draw(float) {}

void Lander::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void Lander::Die()
{
    MarkDead();
}

Entity* Lander::Clone() const
{
    return new Lander(*this);
}
