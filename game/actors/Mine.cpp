#include "Mine.h"

#include "EnemyActions.h"
#include "Game.h"
#include "Log.h"
#include "Random.h"
#include "Wreckage.h"

#include <cmath>

Mine::Mine()
{
    type = EntityTypes::Mine;
}

void Mine::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Mine Spawned!\n");
    health = 1.0f;
    phaseOffset = RandomFloat(10.0f) - 5.0f;
    reversed = Random() % 2 != 0;
    if (theGame != nullptr)
        theGame->mineCount += 1;
    points = kPoints;
}

void Mine::Update()
{
    SavePose();
    const unsigned t = theGame != nullptr ? static_cast<unsigned>(theGame->tickCount) : 0u;
    const float s = 0.15f * std::sin(0.1f * (0.1f * static_cast<float>(t) + phaseOffset));
    position.x += reversed ? -s : s;
    // The angle never changes, so the hull is only moved.
    PlaceShapes(position.x, position.y);
    LeaveSectors();
    EnterSectors();
}

void Mine::Draw(float alpha) { DrawActorModel(*this, "Mine", alpha); }

void Mine::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void Mine::Die()
{
    if (dead)
        return;
    AddExplosion(position, 1.0f, 1.0f, 1.0f, 20);
    MarkDead();
    if (theGame != nullptr) {
        theGame->mineCount -= 1;
        theGame->PlayMediumExplosionAt(position.x, position.y);
    }
}

Entity* Mine::Clone() const
{
    return new Mine(*this);
}
