#include "Target.h"

#include "Log.h"

Target::Target()
{
    type = EntityTypes::Target;
}

void Target::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Target Spawned!\n");
}

void Target::Update()
{
    SavePose();
    point = position;
}

void Target::Draw(float) {}

// Indestructible.
void Target::Damage(float) {}

// Not solid: a contact does not count.
bool Target::OnContact(Entity*)
{
    return false;
}

// It never dies by itself.
void Target::Die() {}

Entity* Target::Clone() const
{
    return new Target(*this);
}
