#include "Station.h"

#include "ActorDraw.h"
#include "Log.h"

Station::Station()
{
    type = EntityTypes::Station;
}

void Station::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Station Spawned!\n");
    health = 1.0f;
    points = 15;
    tickCount = 0;
}

void Station::Update()
{
    SavePose();
    tickCount += 1;
}

const char* Station::ModelName() const
{
    return (tickCount / 5) % 2 == 0 ? "Station" : "Station2";
}

void Station::Draw(float alpha)
{
    DrawModelPose(*this, ModelName(), alpha);
}

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
