#include "Laser.h"

#include "Log.h"

Laser::Laser()
{
    type = EntityTypes::Laser;
}

void Laser::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Laser Spawned!\n");
}

void Laser::Update()
{
    SavePose();
}

void Laser::Draw(float) {}

// Indestructible.
void Laser::Damage(float) {}

// It never dies by itself.
void Laser::Die() {}

Entity* Laser::Clone() const
{
    return new Laser(*this);
}
