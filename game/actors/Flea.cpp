#include "Flea.h"

#include "Log.h"

Flea::Flea()
{
    type = EntityTypes::Flea;
}

void Flea::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Flea Spawned!\n");
}

void Flea::Update()
{
    SavePose();
}

void Flea::Draw(float) {}

void Flea::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void Flea::Die()
{
    MarkDead();
}

Entity* Flea::Clone() const
{
    return new Flea(*this);
}
