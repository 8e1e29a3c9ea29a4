#include "EnemyFixture.h"

#include "RedTurret.h"
#include "SmokeParticles.h"
#include "Trail.h"

#include <gtest/gtest.h>

namespace {

struct Seekers : EnemyFixture {
    static constexpr Vec2 kShip{2000.0f, 500.0f};
    Seekers() { PlaceShip(kShip, 0.0f); }

    Seeker* Launch(Vec2 at, Vec2 velocity, float angle = 0.0f)
    {
        return Shoot<Seeker>(game.enemyShots, at, velocity, angle);
    }
};

TEST(Seeker, SpawnMakesSmokeAndItsRibbon)
{
    Seekers f;
    Seeker* seeker = f.Launch({1000.0f, 300.0f}, {0.0f, -9.0f});
    EXPECT_EQ(f.CountParticles<SmokeParticles>(f.game.particles), 1);
    ASSERT_NE(seeker->trail.Get(), nullptr);
    EXPECT_EQ(f.CountParticles<Trail>(f.game.ribbons), 1);
}

TEST(Seeker, ExpiresOnItsUpdate276WithABurst)
{
    Seekers f;
    // Outside play it hits nothing, so it circles the ship until it expires.
    f.game.mode = GameMode::Title;
    Seeker* seeker = f.Launch({2000.0f, 300.0f}, {0.0f, 0.0f});
    for (int i = 1; i <= 275; ++i) {
        seeker->Update();
        ASSERT_FALSE(seeker->dead) << i;
    }
    seeker->Update();
    EXPECT_TRUE(seeker->dead);
    EXPECT_EQ(f.CountParticles<ExplosionParticles>(f.game.particles), 1);
}

TEST(Seeker, ShipHitsDamageUnlessShieldedAndAlwaysPush)
{
    struct Row {
        const char* name;
        bool shield;
        int spawnTimer;
        float hullLost;
        int red;
        float push;
    };
    const Row rows[] = {
        {"open", false, 0, 30.0f, 0, 7.0f},
        {"shielded", true, 0, 0.0f, 5, 7.0f},
        {"spawning", false, 40, 0.0f, 0, 0.0f},
    };
    for (const Row& row : rows) {
        Seekers f;
        f.ship.shieldOn = row.shield;
        f.ship.spawnTimer = row.spawnTimer;
        f.ship.spin = 3.0f;
        const float hull = f.ship.hull;
        Seeker* seeker = f.Launch({Seekers::kShip.x - 12.0f, Seekers::kShip.y}, {4.0f, 0.0f}, 90.0f);
        seeker->Update();
        EXPECT_TRUE(seeker->dead) << row.name;
        EXPECT_FLOAT_EQ(hull - f.ship.hull, row.hullLost) << row.name;
        EXPECT_EQ(f.ship.redShieldTimer, row.red) << row.name;
        EXPECT_EQ(f.ship.score, 0) << row.name;
        EXPECT_NEAR(f.ship.velocity.x, row.push, 0.01f) << row.name;
        if (row.push > 0.0f) {
            EXPECT_NE(f.ship.spin, 3.0f) << row.name;
        }
        EXPECT_EQ(f.CountParticles<ExplosionParticles>(f.game.particles), 1) << row.name;
        EXPECT_TRUE(f.game.playerShots.empty()) << row.name; // never reflected
    }
}

TEST(Seeker, AKillPaysTheActorsPointsTwiceMoreOnce)
{
    struct Row {
        const char* name;
        bool deadBefore;
        int score;
        std::vector<std::string> popups;
    };
    const Row rows[] = {{"alive", false, 225, {"3X 75"}}, {"already dead", true, 75, {}}};
    for (const Row& row : rows) {
        Seekers f;
        auto* shooter = f.Add<RedTurret>({600.0f, 300.0f});
        auto* victim = f.Add<RedTurret>({1000.0f, 300.0f});
        if (row.deadBefore)
            victim->Die();
        Seeker* seeker = f.Launch({996.0f, 300.0f}, {0.0f, 0.0f});
        seeker->owner = shooter;
        seeker->Update();
        EXPECT_TRUE(seeker->dead) << row.name;
        EXPECT_TRUE(victim->dead) << row.name;
        EXPECT_EQ(f.ship.score, row.score) << row.name;
        EXPECT_EQ(f.PopupTexts(), row.popups) << row.name;
    }
}

TEST(Seeker, ActorsTakeTenWhetherOrNotTheyDie)
{
    Seekers f;
    ProbeActor* generator = f.AddProbe(EntityTypes::Generator, {1000.0f, 300.0f});
    f.Launch({996.0f, 300.0f}, {0.0f, 0.0f})->Update();
    EXPECT_EQ(generator->record->damage, 10.0f);
    EXPECT_TRUE(f.game.scorePopups.empty());
}

TEST(Seeker, OutsidePlayItHitsNothing)
{
    Seekers f;
    f.game.mode = GameMode::Title;
    ProbeActor* generator = f.AddProbe(EntityTypes::Generator, {1000.0f, 300.0f});
    Seeker* seeker = f.Launch({996.0f, 300.0f}, {0.0f, 0.0f});
    seeker->Update();
    EXPECT_FALSE(seeker->dead);
    EXPECT_EQ(generator->record->damageCalls, 0);
}

TEST(Seeker, ItsOwnTurretMetFirstLetsItFlyOn)
{
    Seekers f;
    auto* turret = f.Add<RedTurret>({1000.0f, 300.0f});
    Seeker* seeker = f.Launch({996.0f, 300.0f}, {0.0f, 0.0f});
    seeker->owner = turret;
    seeker->Update();
    EXPECT_FALSE(seeker->dead);
    EXPECT_FALSE(turret->dead);
}

TEST(Seeker, SteeringTurnsByThreeAndAHalfTowardTheShipAndStopsWhileItDies)
{
    struct Row {
        const char* name;
        Vec2 at;      // the ship straight above, right or below
        bool dying;
        float turn;
    };
    const Row rows[] = {
        {"ship above: F . d = 0", {2000.0f, 700.0f}, false, 3.5f},
        {"ship below: F . d = 0", {2000.0f, 300.0f}, false, 3.5f},
        {"ship ahead", {1800.0f, 500.0f}, false, 3.5f},
        {"ship behind", {2200.0f, 500.0f}, false, -3.5f},
        {"ship dying", {2200.0f, 500.0f}, true, 0.0f},
    };
    for (const Row& row : rows) {
        Seekers f;
        f.ship.dying = row.dying;
        // Angle 0: F = (1, 0). With no velocity it stays on its spot.
        Seeker* seeker = f.Launch(row.at, {0.0f, 0.0f});
        seeker->Update();
        EXPECT_FLOAT_EQ(seeker->angle, row.turn) << row.name;
        // It thrusts along its nose either way.
        EXPECT_NE(seeker->velocity, Vec2{}) << row.name;
    }
}

TEST(Seeker, CrossingTheSeamCarriesItsRibbon)
{
    Seekers f;
    f.game.mode = GameMode::Title;
    const float w = f.game.WorldWidth();
    Seeker* seeker = f.Launch({w - 1.0f, 300.0f}, {5.0f, 0.0f});
    Trail* trail = seeker->trail.Get();
    ASSERT_NE(trail, nullptr);
    ASSERT_FALSE(trail->particles.empty());
    const float before = trail->particles.front().position.x;
    seeker->Update();
    EXPECT_LT(seeker->position.x, 10.0f);
    EXPECT_FLOAT_EQ(trail->particles.front().position.x, before - w);
}

} // namespace
