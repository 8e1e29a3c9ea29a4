#include "EnemyFixture.h"

#include "BlueTank.h"
#include "BlueTurret.h"
#include "Flea.h"
#include "Lander.h"
#include "Mine.h"
#include "Missile.h"
#include "PlayMode.h"
#include "RedTurret.h"
#include "Scientist.h"
#include "SuperTurret.h"
#include "Sweeper.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Layers : EnemyFixture {
    Sweeper* sweeper = nullptr;
    Layers() { PlaceShip({100.0f, 100.0f}, 0.0f); }

    void AddSweeper(Vec2 at)
    {
        sweeper = Add<Sweeper>(at);
        sweeper->turnTimer = 100000; // one drift direction throughout
    }
};

TEST(Mine, CountsItselfInAndOutOnceAndPays60)
{
    Layers f;
    auto* mine = f.Add<Mine>({2000.0f, 600.0f});
    EXPECT_EQ(f.game.mineCount, 1);
    mine->Damage(1.0f);
    mine->Die();
    mine->Damage(1.0f);
    EXPECT_EQ(f.game.mineCount, 0);
    EXPECT_EQ(f.ship.score, 60);
}

TEST(Mine, SwaysSidewaysOnly)
{
    Layers f;
    auto* mine = f.Add<Mine>({2000.0f, 600.0f});
    float least = 1e9f;
    float most = -1e9f;
    for (int tick = 0; tick < 700; ++tick) {
        f.game.tickCount = tick;
        mine->Update();
        least = std::min(least, mine->position.x);
        most = std::max(most, mine->position.x);
        ASSERT_EQ(mine->position.y, 600.0f);
    }
    EXPECT_NEAR(most - least, 30.0f, 3.0f);
}

TEST(Sweeper, LaysOnlyBelowFiftyMinesAndOtherwiseItsTimerWaits)
{
    struct Row {
        int mines;
        int laid;
        int timer;
    };
    for (const Row& row : {Row{49, 1, 15}, Row{50, 0, 1}, Row{60, 0, 1}}) {
        Layers f;
        f.AddSweeper({2000.0f, 600.0f});
        f.game.mineCount = row.mines;
        f.sweeper->layTimer = 1;
        f.sweeper->Update();
        EXPECT_EQ(f.CountEntities<Mine>(), row.laid) << row.mines;
        EXPECT_EQ(f.game.mineCount, std::max(row.mines, 50)) << row.mines;
        EXPECT_EQ(f.sweeper->layTimer, row.timer) << row.mines;
    }
}

TEST(Sweeper, LaysBatchesOfFiveFifteenTicksApartThenPauses)
{
    Layers f;
    f.AddSweeper({2000.0f, 600.0f});
    const int first = f.sweeper->layTimer;
    EXPECT_TRUE(first >= 25 && first <= 100 && first % 25 == 0) << first;
    std::vector<int> lays;
    for (int tick = 1; tick <= 800; ++tick) {
        const int before = f.game.mineCount;
        f.sweeper->Update();
        if (f.game.mineCount > before)
            lays.push_back(tick);
    }
    ASSERT_GE(lays.size(), 6u);
    EXPECT_EQ(lays[0], first);
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(lays[i] - lays[i - 1], 15) << i;
    const int pause = lays[5] - lays[4];
    EXPECT_TRUE(pause >= 165 && pause <= 315 && (pause - 15) % 50 == 0) << pause;
    // Each mine is laid unturned.
    for (Entity* e : f.game.entities) {
        if (e->type == EntityTypes::Mine) {
            EXPECT_EQ(e->angle, 0.0f);
        }
    }
}

TEST(Sweeper, IsPushedDownAboveY500)
{
    float vy[2];
    const float heights[2] = {400.0f, 700.0f};
    for (int i = 0; i < 2; ++i) {
        Layers f;
        f.AddSweeper({2000.0f, heights[i]});
        f.sweeper->phase = 1.0f;
        f.sweeper->velocity = {};
        f.sweeper->Update();
        vy[i] = f.sweeper->velocity.y;
    }
    EXPECT_NEAR(vy[0] - vy[1], 0.5f, 1e-6f);
}

TEST(Sweeper, BouncesOffABeamAtThreeTenthsTheSpeedThreeUnitsOut)
{
    Layers f;
    f.AddSweeper({2000.0f, f.floorY - 31.0f});
    const Vec2 start = f.sweeper->position;
    f.sweeper->driftRight = true;
    f.sweeper->phase = -0.1f; // no wave this tick
    const float s = 4.0f;
    f.sweeper->velocity = {0.0f, s};
    f.sweeper->Update();
    const float damped = s * 0.9875f;
    EXPECT_NEAR(f.sweeper->velocity.y, -0.3f * damped, 1e-5f);
    EXPECT_NEAR(f.sweeper->velocity.x, 0.15f * 0.9875f, 1e-6f);
    EXPECT_NEAR(f.sweeper->position.x, start.x, 1e-3f);
    EXPECT_NEAR(f.sweeper->position.y, start.y - 3.0f, 1e-3f);
}

TEST(Sweeper, PaysThreeHundredOnce)
{
    Layers f;
    f.AddSweeper({2000.0f, 600.0f});
    f.sweeper->Damage(1.0f);
    f.sweeper->Die();
    EXPECT_EQ(f.ship.score, 300);
    EXPECT_EQ(f.CountParticles<ShockRing>(f.game.ribbons), 1);
}

TEST(Detonation, EveryEnemyOnScreenPaysOnceAndTheMineCountFollows)
{
    Layers f;
    f.PlaceShip({2000.0f, 500.0f}, 0.0f);
    f.PlaceCamera(2000.0f - 320.0f, 500.0f - 240.0f);
    f.Add<BlueTurret>({1800.0f, 400.0f});
    f.Add<RedTurret>({1850.0f, 400.0f});
    f.Add<SuperTurret>({1900.0f, 400.0f});
    f.Add<BlueTank>({1950.0f, 400.0f});
    f.Add<Lander>({2050.0f, 400.0f});
    f.Add<Flea>({2100.0f, 400.0f});
    f.Add<Missile>({2150.0f, 400.0f});
    f.Add<Mine>({2200.0f, 600.0f});
    f.Add<Mine>({2250.0f, 600.0f});
    f.Add<Sweeper>({1800.0f, 600.0f});
    QueryPlaySectors(f.game);
    ASSERT_FALSE(f.game.visibleSectors[1].empty());
    EXPECT_EQ(f.game.mineCount, 2);
    f.ship.spawnTimer = 1; // the ship survives to count
    DetonateVisibleSectors(f.game);
    // A shot meets each wreck in the same tick.
    for (Entity* e : f.game.entities) {
        if (e->type >= 0 && e->type < 100) {
            e->Damage(100.0f);
            e->Die();
        }
    }
    EXPECT_EQ(f.ship.score, 50 + 75 + 200 + 100 + 125 + 200 + 130 + 60 + 60 + 300);
    EXPECT_EQ(f.game.mineCount, 0);
    f.game.entities.Pass();
    f.game.particles.Update();
    f.game.ribbons.Update();
}

} // namespace
