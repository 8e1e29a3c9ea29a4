#include "EnemyFixture.h"

#include "Flea.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A flea standing upright (angle 0: open side up) on the floor at x 2000.
struct Fleas : EnemyFixture {
    using EnemyFixture::EnemyFixture;
    Flea* flea = nullptr;

    void AddFlea(Vec2 at)
    {
        flea = Add<Flea>(at);
    }
};

TEST(Flea, JumpsOnTheFirstTickAfterTheShipsSpawnAtItOrAway)
{
    struct Row {
        float shipDy; // the ship above (negative) or below the flea
        bool atShip;
    };
    for (const Row& row : {Row{-200.0f, true}, Row{200.0f, false}}) {
        Fleas f;
        f.AddFlea({2000.0f, 700.0f});
        f.PlaceShip({2100.0f, 700.0f + row.shipDy}, 0.0f);
        f.ship.spawnTimer = 1;
        f.flea->Update();
        EXPECT_TRUE(f.flea->landed) << row.shipDy;
        f.ship.spawnTimer = 0;
        const Vec2 from = f.flea->position;
        f.flea->Update();
        EXPECT_FALSE(f.flea->landed) << row.shipDy;
        EXPECT_EQ(f.Plays(SampleId::FleaJump), 1);
        const Vec2 v = f.flea->velocity;
        if (row.atShip) {
            // 3 units a tick straight at the ship (no landed beam yet).
            const Vec2 d = Normalize(100.0f, row.shipDy);
            EXPECT_NEAR(v.x, 3.0f * d.x, 1e-4f);
            EXPECT_NEAR(v.y, 3.0f * d.y, 1e-4f);
            EXPECT_EQ(f.flea->spin, 15.0f); // the ship to its right
        } else {
            // A hop: 3 along F and one unit across.
            EXPECT_NEAR(v.x, 3.0f, 1e-4f);
            EXPECT_NEAR(std::fabs(v.y), 1.0f, 1e-4f);
        }
        EXPECT_EQ(f.flea->position, from + v);
    }
}

TEST(Flea, WaitsWhileTheShipIsDying)
{
    Fleas f;
    f.AddFlea({2000.0f, 700.0f});
    f.PlaceShip({2000.0f, 500.0f}, 0.0f);
    f.ship.dying = true;
    f.flea->Update();
    EXPECT_TRUE(f.flea->landed);
}

TEST(Flea, FiresAtMostThreeTimesPerRestThenJumps)
{
    struct Row {
        Vec2 ship;
        int shots;
    };
    const Row rows[] = {{{2000.0f, 500.0f}, 3}, {{2000.0f, 900.0f}, 0}, {{2000.0f, 200.0f}, 0}};
    for (const Row& row : rows) {
        Fleas f;
        f.AddFlea({2000.0f, 700.0f});
        f.PlaceShip(row.ship, 0.0f);
        Beam ground = MakeBeam({0, 0}, {10, 0});
        f.flea->landedBeam = &ground;
        f.flea->restTimer = 150;
        f.flea->fireTimer = 50;
        for (int tick = 1; tick <= 150; ++tick) {
            f.flea->Update();
            ASSERT_TRUE(f.flea->landed) << tick;
        }
        EXPECT_EQ(f.EnemyShotsOfKind(1), row.shots) << row.ship.y;
        EXPECT_EQ(f.flea->fireTimer, 50) << row.ship.y;
        f.flea->Update();
        EXPECT_FALSE(f.flea->landed) << row.ship.y;
    }
}

TEST(Flea, UprightsByHalfOfKInDegreesExceptAtExactlyOneTenth)
{
    struct Row {
        Vec2 normal; // V is (-1, 0) at angle 0, so k = -normal.x
        float turn;
    };
    const Row rows[] = {{{-0.1f, 0.0f}, 0.0f},
                        {{-0.2f, 0.0f}, -0.2f * 28.64788818359375f},
                        {{0.3f, 0.0f}, 0.3f * 28.64788818359375f},
                        {{-0.05f, 0.0f}, -0.05f * 28.64788818359375f}};
    for (const Row& row : rows) {
        Fleas f;
        f.AddFlea({2000.0f, 700.0f});
        f.PlaceShip({100.0f, 100.0f}, 0.0f);
        Beam tilted = MakeBeam({0, 0}, {10, 0});
        tilted.normal = row.normal;
        f.flea->landedBeam = &tilted;
        f.flea->restTimer = 10;
        f.flea->fireTimer = 10;
        f.flea->Update();
        EXPECT_NEAR(f.flea->angle, row.turn, 1e-4f) << row.normal.x;
    }
}

TEST(Flea, MeetingTwoBeamsInOneTickSnapsToTheLast)
{
    // Two pads side by side, the right one 2 lower; each foot meets one.
    Fleas f({MakeBeam({1000, -300}, {1100, -300}), MakeBeam({1100, -298}, {1200, -298})});
    const Beam& left = f.game.map.liveBeams[1];
    const Beam& right = f.game.map.liveBeams[2];
    f.PlaceShip({100.0f, 100.0f}, 0.0f);
    f.AddFlea({right.a.x, left.a.y - 2.5f});
    f.flea->landed = false;
    f.flea->Update();
    EXPECT_TRUE(f.flea->landed);
    EXPECT_EQ(f.flea->landedBeam, &right);
    EXPECT_EQ(f.flea->restTimer, 150);
    EXPECT_NEAR(f.flea->position.y, right.a.y - 2.0f, 1e-3f);
}

TEST(Flea, AKillInTheAirPays200WithARedRing)
{
    Fleas f;
    f.AddFlea({2000.0f, 700.0f});
    f.flea->landed = false;
    f.flea->Damage(1.0f);
    f.flea->Die();
    EXPECT_TRUE(f.flea->dead);
    EXPECT_EQ(f.ship.score, 200);
    EXPECT_EQ(f.CountParticles<ShockRing>(f.game.ribbons), 1);
    ASSERT_EQ(f.CountParticles<ExplosionParticles>(f.game.particles), 1);
    const auto* burst = static_cast<const ExplosionParticles*>(f.game.particles.At(0));
    EXPECT_EQ(burst->startColour[0], 1.0f);
    EXPECT_EQ(burst->startColour[1], 0.0f);
}

} // namespace
