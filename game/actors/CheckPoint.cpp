#include "CheckPoint.h"

#include "Log.h"

CheckPoint::CheckPoint()
{
    type = EntityTypes::CheckPoint;
}

void CheckPoint::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("CheckPoint Spawned!\n");
}

void CheckPoint::Update()
{
    SavePose();
}

void CheckPoint::Draw(float) {}

// Indestructible.
void CheckPoint::Damage(float) {}

// It never dies by itself.
void CheckPoint::Die() {}

Entity* CheckPoint::Clone() const
{
    return new CheckPoint(*this);
}
