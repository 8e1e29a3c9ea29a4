#include "Scientist.h"

#include "Log.h"

Scientist::Scientist()
{
    type = EntityTypes::Scientist;
}

void Scientist::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Scientist Spawned!\n");
}

void Scientist::Update()
{
    SavePose();
}

void Scientist::Draw(float) {}

// Indestructible.
void Scientist::Damage(float) {}

// Not solid: a contact does not count.
bool Scientist::OnContact(Entity*)
{
    return false;
}

void Scientist::Die()
{
    MarkDead();
}

Entity* Scientist::Clone() const
{
    return new Scientist(*this);
}
