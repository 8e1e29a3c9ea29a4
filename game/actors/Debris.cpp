#include "Debris.h"

Debris::Debris()
{
    type = EntityTypes::Debris;
}

void Debris::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
}

void Debris::Update()
{
    SavePose();
}

void Debris::Draw(float) {}

// Not solid: a contact does not count.
bool Debris::OnContact(Entity*)
{
    return false;
}

void Debris::Die()
{
    MarkDead();
}

Entity* Debris::Clone() const
{
    return new Debris(*this);
}

void Debris::BuildHull()
{
    shapes.emplace_back(kDebrisHullRadius, position.x, position.y);
}
