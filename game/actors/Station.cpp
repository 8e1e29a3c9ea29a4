#include "Station.h"

#include "Log.h"

Station::Station()
{
    type = EntityTypes::Station;
}

void Station::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Station Spawned!\n");
}

void Station::Update()
{
    SavePose();
}

void Station::Draw(float) {}

// Indestructible.
void Station::Damage(float) {}

// Not solid: a contact does not count.
bool Station::OnContact(Entity*)
{
    return false;
}

// It never dies by itself.
void Station::Die() {}

Entity* Station::Clone() const
{
    return new Station(*this);
}
