#include "PlayerDebris.h"

#include "Log.h"

PlayerDebris::PlayerDebris()
{
    type = EntityTypes::PlayerDebrisFirst;
}

void PlayerDebris::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("PlayerDebris Spawned!\n");
}

void PlayerDebris::Update()
{
    SavePose();
}

void PlayerDebris::Draw(float) {}

// Indestructible.
void PlayerDebris::Damage(float) {}

void PlayerDebris::Die()
{
    MarkDead();
}

Entity* PlayerDebris::Clone() const
{
    return new PlayerDebris(*this);
}
