#include "Sweeper.h"

#include "EnemyActions.h"
#include "EntityFactory.h"
#include "Game.h"
#include "Log.h"
#include "MathUtil.h"
#include "Random.h"
#include "Wreckage.h"

#include <cmath>

Sweeper::Sweeper()
{
    type = EntityTypes::Sweeper;
}

void Sweeper::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Sweeper Spawned!\n");
    health = 1.0f;
    velocity = {};
    driftRight = Random() % 2 != 0;
    phase = RandomFloat(100.0f);
    layTimer = (Random() % 4 + 1) * 25;
    turnTimer = (Random() % 4 + 3) * 50;
    batchCount = 0;
    points = kPoints;
}

bool Sweeper::TerrainContact(Vec2* normalOut) const
{
    return BeamNormalMet(sectors, kHullRadius, position, normalOut);
}

void Sweeper::Update()
{
    SavePose();
    turnTimer -= 1;
    if (turnTimer <= 0) {
        turnTimer = (Random() % 4 + 3) * 50;
        driftRight = Random() % 2 != 0;
        phase = RandomFloat(100.0f);
    }
    velocity.x += driftRight ? 0.15f : -0.15f;
    phase += 0.1f;
    velocity.y += 0.1f * std::sin(0.5f * phase);
    velocity = velocity * 0.9875f;
    position += velocity;
    if (position.y < kCeiling)
        velocity.y += 0.5f;
    Vec2 n;
    if (TerrainContact(&n)) {
        velocity = velocity - 1.3f * Dot(velocity, n) * n;
        position = previousPosition + 3.0f * n;
    }
    WrapAcrossSeam(position, previousPosition);
    Lay();
    Reregister();
}

void Sweeper::Lay()
{
    if (theGame == nullptr || theGame->mineCount >= kMineLimit)
        return;
    layTimer -= 1;
    if (layTimer > 0)
        return;
    if (batchCount > 4) {
        batchCount = 0;
        layTimer = (Random() % 4 + 3) * 50;
        return;
    }
    batchCount += 1;
    layTimer = 15;
    if (Entity* mine = CreateEntity(EntityTypes::Mine)) {
        mine->Spawn(position.x, position.y, 0.0f);
        theGame->entities.Append(mine);
    }
}

void Sweeper::Draw(float alpha) { DrawActorModel(*this, "MineLayer", alpha, false); }

void Sweeper::Damage(float amount)
{
    DamageWhileAlive(amount);
}

void Sweeper::Die()
{
    if (dead)
        return;
    AddExplosion(position, 1.0f, 0.5f, 0.5f, 20);
    AddExplosion(position, 1.0f, 0.0f, 0.0f, 20);
    AddShockRing(position, 30.0f, {1.0f, 0.0f, 0.0f});
    MarkDead();
    if (theGame != nullptr)
        theGame->PlayBigExplosionAt(position.x, position.y);
}

Entity* Sweeper::Clone() const
{
    return new Sweeper(*this);
}
