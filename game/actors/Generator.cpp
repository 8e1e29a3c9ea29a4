#include "Generator.h"

#include "ActorDraw.h"
#include "Game.h"
#include "Log.h"
#include "MathUtil.h"
#include "PlayModeLinks.h"
#include "Random.h"
#include "Wreckage.h"

#include <algorithm>

namespace {

constexpr float kFullHealth = 10.0f;
constexpr float kRepairPerTick = 0.02f;
constexpr std::int32_t kDeathTicks = 201;
constexpr std::int32_t kBurstEvery = 25;
constexpr std::int32_t kMusicFadeTick = 100;
constexpr float kCountdownSeconds = 60.99f;
constexpr float kDebrisPull = 0.085f;

} // namespace

Generator::Generator()
{
    type = EntityTypes::Generator;
}

void Generator::Spawn(float x, float y, float angle)
{
    SpawnPose(x, y, angle);
    Log::Instance().Write("Generator Spawned!\n");
    health = kFullHealth;
    destroyed = false;
    points = 1000;
    if (theGame != nullptr)
        theGame->generatorCount += 1;
}

void Generator::Damage(float amount)
{
    if (!(health > 0.0f))
        return;
    health -= amount;
    if (health <= 0.0f) {
        destroyed = true;
        deathTimer = kDeathTicks;
    }
}

void Generator::Update()
{
    SavePose();
    RotateShapes(angle);
    if (!destroyed) {
        if (health < kFullHealth)
            health = std::min(health + kRepairPerTick, kFullHealth);
        return;
    }
    deathTimer -= 1;
    if (deathTimer <= 0)
        Die();
    if (theGame == nullptr)
        return;
    if (deathTimer == kMusicFadeTick && theGame->generatorCount <= 1)
        theGame->audio.FadeOutMusic(1000);
    if (deathTimer % kBurstEvery == 0)
        SmallBurst();
}

void Generator::SmallBurst()
{
    Vec2 f;
    Vec2 s;
    AngleToVectors(angle, f, s);
    const int j1 = Random() % 30 - 15;
    const int j2 = Random() % 30 - 15;
    const float g = Random() % 2 == 0 ? 0.0f : 0.8f;
    const Vec2 at = position - (25.0f + static_cast<float>(j2)) * s + static_cast<float>(j1) * f;
    AddExplosion(at, 1.0f, g, 0.0f, 15);
    AddShockRing(at, Rgb{1.0f, g, 0.0f}, 24.0f);
    theGame->PlayMediumExplosionAt(position.x, position.y);
}

void Generator::Draw(float alpha)
{
    DrawModelPose(*this, "Generator", alpha);
}

void Generator::Die()
{
    if (dead)
        return;
    Vec2 f;
    Vec2 s;
    AngleToVectors(angle, f, s);
    const Vec2 top = position - 25.0f * s;
    AddExplosion(top, 1.0f, 0.3f, 1.0f, 50);
    AddExplosion(top, 0.0f, 0.6f, 1.0f, 45);
    AddShockRing(top, Rgb{1.0f, 1.0f, 1.0f}, 40.0f);
    MarkDead(); // pays the 1000 points
    if (theGame == nullptr)
        return;
    Game& game = *theGame;
    game.generatorCount -= 1;
    if (game.generatorCount <= 0) {
        game.selfDestruct.running = true;
        game.selfDestruct.secondsLeft = kCountdownSeconds;
        game.selfDestruct.lastWholeSecond = static_cast<int>(kCountdownSeconds);
        PlayCentred(game, SampleId::Siren1);
        game.audio.PlayMusic(game.music[0], false);
    }
    BreakUp(f, s);
    game.PlayBigExplosionAt(position.x, position.y);
}

void Generator::BreakUp(Vec2 f, Vec2 s)
{
    const Vec2 at = position;
    // The frame in which the hull offsets are placed.
    BreakIntoDebris(
        "Generator", [at, f, s](Vec2 e) { return at - e.x * f + e.y * s; },
        [at](Vec2 middle) { return (middle - at) * kDebrisPull; }, true);
}

Entity* Generator::Clone() const
{
    return new Generator(*this);
}
