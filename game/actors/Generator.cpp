#include "Generator.h"

#include "Log.h"

Generator::Generator()
{
    type = EntityTypes::Generator;
}

void Generator::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Generator Spawned!\n");
}

void Generator::Update()
{
    SavePose();
}

void Generator::Draw(float) {}

void Generator::Die()
{
    MarkDead();
}

Entity* Generator::Clone() const
{
    return new Generator(*this);
}
