#include "Switch.h"

#include "Log.h"

Switch::Switch()
{
    type = EntityTypes::Switch;
}

void Switch::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Switch Spawned!\n");
}

void Switch::Update()
{
    SavePose();
}

void Switch::Draw(float) {}

// It never dies by itself.
void Switch::Die() {}

Entity* Switch::Clone() const
{
    return new Switch(*this);
}
