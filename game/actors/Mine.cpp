#include "Mine.h"

#include "Log.h"

Mine::Mine()
{
    type = EntityTypes::Mine;
}

void Mine::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Mine Spawned!\n");
}

void Mine::Update()
{
    SavePose();
}

void Mine::Draw(float) {}

void Mine::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void Mine::Die()
{
    MarkDead();
}

Entity* Mine::Clone() const
{
    return new Mine(*this);
}
