#include "Rotator.h"

#include "Log.h"

Rotator::Rotator()
{
    type = EntityTypes::Rotator;
}

void Rotator::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Rotator Spawned!\n");
}

void Rotator::Update()
{
    SavePose();
}

void Rotator::Draw(float) {}

// Indestructible.
void Rotator::Damage(float) {}

// Not solid: a contact does not count.
bool Rotator::OnContact(Entity*)
{
    return false;
}

// It never dies by itself.
void Rotator::Die() {}

Entity* Rotator::Clone() const
{
    return new Rotator(*this);
}

void Rotator::Link(std::vector<Beam>&, EntityList&)
{
    // The platform's own behaviour comes with its class.
}
