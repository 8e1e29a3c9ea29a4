#include "Brick.h"

#include "Log.h"

#include <algorithm>

Brick::Brick()
{
    type = EntityTypes::Brick;
}

void Brick::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Brick Spawned!\n");
}

void Brick::Update()
{
    SavePose();
}

void Brick::Draw(float) {}

// Indestructible.
void Brick::Damage(float) {}

void Brick::Die()
{
    MarkDead();
}

Entity* Brick::Clone() const
{
    return new Brick(*this);
}

void Brick::BuildHull()
{
    shapes.emplace_back(std::max(halfWidth, halfHeight), position.x, position.y);
}
