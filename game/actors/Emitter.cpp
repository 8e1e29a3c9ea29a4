#include "Emitter.h"

#include "Log.h"

Emitter::Emitter()
{
    type = EntityTypes::Emitter;
}

void Emitter::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Emiter Spawned!\n");
}

void Emitter::Update()
{
    SavePose();
}

void Emitter::Draw(float) {}

// Indestructible.
void Emitter::Damage(float) {}

// It never dies by itself.
void Emitter::Die() {}

Entity* Emitter::Clone() const
{
    return new Emitter(*this);
}

void Emitter::Activate(Entity*)
{
    on = !on;
    phaseTimer = 0.0f;
}
