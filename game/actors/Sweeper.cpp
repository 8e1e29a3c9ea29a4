#include "Sweeper.h"

#include "Log.h"

Sweeper::Sweeper()
{
    type = EntityTypes::Sweeper;
}

void Sweeper::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Sweeper Spawned!\n");
}

void Sweeper::Update()
{
    SavePose();
}

void Sweeper::Draw(float) {}

void Sweeper::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void Sweeper::Die()
{
    MarkDead();
}

Entity* Sweeper::Clone() const
{
    return new Sweeper(*this);
}
