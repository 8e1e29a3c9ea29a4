#include "EnemyFixture.h"

#include "BlueTank.h"
#include "BlueTurret.h"
#include "EntityFactory.h"
#include "Random.h"
#include "RedTurret.h"
#include "SuperTurret.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Guns at (2000, 600) pointing up (angle 0: the barrel along (0, -1)).
struct Guns : EnemyFixture {
    static constexpr Vec2 kGun{2000.0f, 600.0f};
    Guns() { PlaceShip({kGun.x, kGun.y - 300.0f}, 0.0f); }
};

template <typename T>
int TicksToFirstShot(Guns& f, T* gun)
{
    for (int tick = 1; tick <= 400; ++tick) {
        gun->Update();
        if (!f.game.enemyShots.empty())
            return tick;
    }
    return -1;
}

template <typename T>
void ExpectFirstAttemptAt250Or300(int seed)
{
    Guns f;
    SeedRandom(seed);
    T* gun = f.Add<T>(Guns::kGun);
    const int first = gun->fireTimer;
    EXPECT_TRUE(first == 250 || first == 300) << typeid(T).name() << " " << first;
    EXPECT_EQ(TicksToFirstShot(f, gun), first) << typeid(T).name();
}

TEST(Guns, FirstAttemptComes250Or300TicksAfterSpawn)
{
    for (int seed : {1, 2, 3, 1000}) {
        ExpectFirstAttemptAt250Or300<BlueTurret>(seed);
        ExpectFirstAttemptAt250Or300<RedTurret>(seed);
        ExpectFirstAttemptAt250Or300<SuperTurret>(seed);
        ExpectFirstAttemptAt250Or300<BlueTank>(seed);
    }
}

template <typename T>
std::size_t ShotsAtDistance(float distance, float gunAngle = 0.0f)
{
    Guns f;
    T* gun = f.Add<T>(Guns::kGun, gunAngle);
    f.PlaceShip({Guns::kGun.x, Guns::kGun.y - distance}, 0.0f);
    gun->fireTimer = 1;
    gun->Update();
    return f.game.enemyShots.size();
}

TEST(Guns, RangeIsStrictlyBelow500)
{
    struct Row {
        float distance;
        std::size_t blue, red, super, tank;
    };
    const Row rows[] = {{499.0f, 1, 1, 3, 1}, {500.0f, 0, 0, 0, 0}, {700.0f, 0, 0, 0, 0}};
    for (const Row& row : rows) {
        EXPECT_EQ(ShotsAtDistance<BlueTurret>(row.distance), row.blue) << row.distance;
        EXPECT_EQ(ShotsAtDistance<RedTurret>(row.distance), row.red) << row.distance;
        EXPECT_EQ(ShotsAtDistance<SuperTurret>(row.distance), row.super) << row.distance;
        EXPECT_EQ(ShotsAtDistance<BlueTank>(row.distance), row.tank) << row.distance;
    }
}

TEST(Guns, ABarrelTurnedAwayNeverFiresBulletsButTheRedTurretStillLaunches)
{
    EXPECT_EQ(ShotsAtDistance<BlueTurret>(300.0f, 180.0f), 0u);
    EXPECT_EQ(ShotsAtDistance<BlueTank>(300.0f, 180.0f), 0u);
    EXPECT_EQ(ShotsAtDistance<RedTurret>(300.0f, 180.0f), 1u);

    Guns f;
    auto* turret = f.Add<BlueTurret>(Guns::kGun, 180.0f);
    for (int tick = 0; tick < 1500; ++tick) {
        turret->Update();
        ASSERT_TRUE(turret->fireTimer > 0 && turret->fireTimer <= 300) << tick;
    }
    EXPECT_TRUE(f.game.enemyShots.empty());
}

TEST(Guns, ShotsLeaveTheMuzzle)
{
    Guns f;
    auto* blue = f.Add<BlueTurret>(Guns::kGun);
    blue->fireTimer = 1;
    blue->Update();
    ASSERT_EQ(f.game.enemyShots.size(), 1u);
    const Projectile* bullet = f.game.enemyShots.front();
    EXPECT_EQ(bullet->kind, 1);
    EXPECT_EQ(bullet->owner.Get(), blue);
    EXPECT_NEAR(bullet->position.x, Guns::kGun.x, 1e-3f);
    EXPECT_NEAR(bullet->position.y, Guns::kGun.y - 20.0f, 1e-3f);
    EXPECT_NEAR(bullet->velocity.y, -4.0f, 1e-3f); // aimed at the ship straight above
    EXPECT_EQ(f.CountParticles<PuffParticles>(f.game.particles), 1);
    EXPECT_EQ(f.Plays(SampleId::CannonLaser), 1);
    EXPECT_TRUE(blue->fireTimer == 150 || blue->fireTimer == 200);

    auto* red = f.Add<RedTurret>({1000.0f, 600.0f});
    f.PlaceShip({1000.0f, 900.0f}, 0.0f); // behind it
    red->fireTimer = 1;
    red->Update();
    ASSERT_EQ(f.game.enemyShots.size(), 2u);
    const Projectile* seeker = f.game.enemyShots.back();
    EXPECT_EQ(seeker->kind, 2);
    EXPECT_NEAR(seeker->position.y, 600.0f - 15.0f, 1e-3f);
    EXPECT_NEAR(seeker->velocity.y, -9.0f, 1e-3f);
    EXPECT_EQ(f.Plays(SampleId::HomingLaunch), 1);
}

TEST(Guns, TheSuperTurretsFanOfThree)
{
    Guns f;
    auto* gun = f.Add<SuperTurret>(Guns::kGun);
    gun->fireTimer = 1;
    gun->Update();
    ASSERT_EQ(f.game.enemyShots.size(), 3u);
    struct Expected {
        float dx, vx, angle;
    };
    const Expected expected[] = {{0.0f, 0.0f, 0.0f}, {5.0f, 3.0f, 45.0f}, {-5.0f, -3.0f, -45.0f}};
    int i = 0;
    for (const Projectile* seeker : f.game.enemyShots) {
        EXPECT_NEAR(seeker->position.x, Guns::kGun.x + expected[i].dx, 1e-3f) << i;
        EXPECT_NEAR(seeker->position.y, Guns::kGun.y - 15.0f, 1e-3f) << i;
        EXPECT_NEAR(seeker->velocity.x, expected[i].vx, 1e-3f) << i;
        EXPECT_NEAR(seeker->velocity.y, -9.0f, 1e-3f) << i;
        EXPECT_EQ(seeker->angle, expected[i].angle) << i;
        ++i;
    }
    EXPECT_EQ(f.Plays(SampleId::HomingLaunch), 1);
}

TEST(Guns, TheSuperTurretShrugsOffHitsDuringItsFlash)
{
    struct Row {
        float first, second;
        int ticksBetween;
        bool dead;
        float health;
    };
    const Row rows[] = {
        {1.0f, 1.0f, 10, false, 1.0f},
        {1.0f, 1.0f, 24, false, 1.0f},
        {1.0f, 1.0f, 25, true, 0.0f},
        {10.0f, 0.0f, 0, true, -8.0f}, // a seeker
        {5.0f, 0.0f, 0, true, -3.0f},  // a reflected bullet
    };
    for (const Row& row : rows) {
        Guns f;
        f.PlaceShip({100.0f, 100.0f}, 0.0f); // out of range: no shots
        auto* gun = f.Add<SuperTurret>(Guns::kGun);
        gun->Damage(row.first);
        for (int i = 0; i < row.ticksBetween; ++i)
            gun->Update();
        if (row.second > 0.0f)
            gun->Damage(row.second);
        EXPECT_EQ(gun->dead, row.dead) << row.ticksBetween;
        EXPECT_FLOAT_EQ(gun->health, row.health) << row.ticksBetween;
    }
}

TEST(Guns, TheSuperTurretDimsOnEveryFifthFlashTick)
{
    Guns f;
    auto* gun = f.Add<SuperTurret>(Guns::kGun);
    f.game.drawSink = &f.sink;
    f.game.drawState = &f.state;
    for (int flash : {25, 24, 20, 0}) {
        gun->flashTimer = flash;
        f.sink.vertices.clear();
        gun->Draw(0.0f);
        ASSERT_FALSE(f.sink.vertices.empty());
        const bool dimmed = flash > 0 && flash % 5 == 0;
        float brightest = 0.0f;
        for (const auto& v : f.sink.vertices)
            brightest = std::max(brightest, v.r);
        EXPECT_EQ(brightest < 0.75f, dimmed) << flash;
    }
}

TEST(Guns, EachDeathPaysOnceEvenWhenHitAgainBeforeReaping)
{
    struct Row {
        EntityType type;
        int points;
    };
    const Row rows[] = {{EntityTypes::BlueTurret, 50}, {EntityTypes::RedTurret, 75},
                        {EntityTypes::SuperTurret, 200}, {EntityTypes::BlueTank, 100}};
    for (const Row& row : rows) {
        Guns f;
        Entity* gun = CreateEntity(row.type);
        gun->Spawn(Guns::kGun.x, Guns::kGun.y, 0.0f);
        gun->EnterSectors();
        f.game.entities.Append(gun);
        gun->Die(); // the planet's detonation
        const std::size_t particles = f.game.particles.Size();
        // A shot in the same tick.
        auto* shot = static_cast<Projectile*>(CreateProjectile(0));
        shot->Spawn(Guns::kGun.x - 4.0f, Guns::kGun.y, 4.0f, 0.0f, 0.0f);
        shot->EnterSectors();
        f.game.playerShots.push_back(shot);
        shot->Update();
        gun->Damage(100.0f);
        gun->Die();
        EXPECT_TRUE(shot->dead) << row.type; // a dead gun still stops the shot
        EXPECT_EQ(f.ship.score, row.points) << row.type;
        EXPECT_EQ(f.CountParticles<ShockRing>(f.game.ribbons), 1) << row.type;
        EXPECT_EQ(f.CountParticles<ExplosionParticles>(f.game.particles), 3) << row.type;
        EXPECT_LE(f.game.particles.Size(), particles + 1) << row.type; // the shot's puff only
    }
}

// A tank on a floor 4000 long, crawling toward B (+x) from x.
struct Tank : Guns {
    BlueTank* tank = nullptr;
    explicit Tank(float x, bool towardB = true)
    {
        PlaceShip({100.0f, 100.0f}, 0.0f);
        tank = Add<BlueTank>({x, floorY - 1.5f}); // the probe must stay within 2 of the beam
        tank->PostLoad();
        tank->towardB = towardB;
    }
};

TEST(BlueTank, FindsItsSurfaceOrLogsThatItHasNone)
{
    Tank on(1000.0f);
    EXPECT_EQ(on.tank->surface, &on.game.map.liveBeams[0]);
    Guns f;
    auto* floating = f.Add<BlueTank>({1000.0f, 600.0f});
    floating->PostLoad();
    EXPECT_EQ(floating->surface, nullptr);
    const Vec2 at = floating->position;
    for (int i = 0; i < 30; ++i)
        floating->Update();
    EXPECT_EQ(floating->position, at);
}

TEST(BlueTank, ReachesTopSpeedOnTick41BrakesNineteenUnitsAndReversesOnTheTwentiethBrakingTick)
{
    Tank f(3500.0f);
    for (int tick = 1; tick <= 40; ++tick) {
        f.tank->Update();
        ASSERT_LT(f.tank->speed, 2.0f) << tick;
    }
    f.tank->Update();
    EXPECT_EQ(f.tank->speed, 2.0f);
    while (f.tank->accelerating)
        f.tank->Update();
    const float brakeStart = f.tank->position.x;
    // The point 50 ahead has just left the beam shortened by 2.
    EXPECT_GT(brakeStart + 50.0f, f.game.map.liveBeams[0].b.x - 2.0f - 2.0f);
    int braking = 0;
    while (f.tank->towardB) {
        f.tank->Update();
        ++braking;
        ASSERT_LE(braking, 30);
    }
    EXPECT_EQ(braking, 20);
    EXPECT_NEAR(f.tank->position.x - brakeStart, 19.0f, 1e-3f);
    EXPECT_LT(f.tank->position.x, f.game.map.liveBeams[0].b.x);
}

TEST(BlueTank, OnABeamTooShortItMovesOnceThenStandsReversingEveryTick)
{
    // A 60-unit ledge above the floor.
    EnemyFixture g({MakeBeam({1000, -300}, {1060, -300})});
    const Beam& ledge = g.game.map.liveBeams[1];
    auto* tank = g.Add<BlueTank>({ledge.a.x + 30.0f, ledge.a.y - 1.5f});
    tank->PostLoad();
    ASSERT_EQ(tank->surface, &ledge);
    tank->towardB = true;
    const float x0 = tank->position.x;
    tank->Update();
    EXPECT_NEAR(tank->position.x - x0, 0.05f, 2e-4f); // one float step at x ~1000
    bool direction = tank->towardB;
    for (int i = 0; i < 10; ++i) {
        const float x = tank->position.x;
        tank->Update();
        EXPECT_EQ(tank->position.x, x) << i;
        EXPECT_NE(tank->towardB, direction) << i;
        direction = tank->towardB;
    }
}

TEST(BlueTank, FramesRunThroughTheThreeModelsTenTicksEach)
{
    struct Row {
        bool towardB;
        std::vector<std::string> order;
    };
    const Row rows[] = {{true, {"BlueTank_03", "BlueTank_02", "BlueTank_01"}},
                        {false, {"BlueTank_01", "BlueTank_02", "BlueTank_03"}}};
    for (const Row& row : rows) {
        Guns f;
        auto* tank = f.Add<BlueTank>({1000.0f, 600.0f}); // no surface: it animates in place
        tank->towardB = row.towardB;
        // Runs of one model: after the first (cut by the start), ten ticks each
        // in order, give or take the one tick the summed steps of 0.1 drift.
        std::vector<std::pair<std::string, int>> runs;
        for (int tick = 0; tick < 70; ++tick) {
            tank->Update();
            const std::string model = tank->FrameModel();
            if (runs.empty() || runs.back().first != model)
                runs.push_back({model, 0});
            ++runs.back().second;
        }
        ASSERT_GE(runs.size(), 6u);
        for (std::size_t r = 1; r + 1 < runs.size(); ++r) {
            EXPECT_NEAR(runs[r].second, 10, 1) << row.towardB << " run " << r;
            const auto at = std::find(row.order.begin(), row.order.end(), runs[r - 1].first) - row.order.begin();
            EXPECT_EQ(runs[r].first, row.order[(at + 1) % 3]) << row.towardB << " run " << r;
        }
    }
}

TEST(BlueTank, VolleysOfSixThenFiveWithPausesBetween)
{
    Guns f;
    auto* tank = f.Add<BlueTank>(Guns::kGun);
    const int first = tank->fireTimer;
    std::vector<int> shots;
    for (int tick = 1; tick <= 1200; ++tick) {
        const std::size_t before = f.game.enemyShots.size();
        tank->Update();
        if (f.game.enemyShots.size() > before)
            shots.push_back(tick);
    }
    ASSERT_GE(shots.size(), 11u);
    EXPECT_EQ(shots[0], first);
    for (int i = 1; i < 6; ++i)
        EXPECT_EQ(shots[i] - shots[i - 1], 25) << i;
    const int pause = shots[6] - shots[5];
    EXPECT_TRUE(pause == 150 || pause == 200) << pause;
    for (int i = 7; i < 11; ++i)
        EXPECT_EQ(shots[i] - shots[i - 1], 25) << i;
    if (shots.size() > 11) {
        const int second = shots[11] - shots[10];
        EXPECT_TRUE(second == 150 || second == 200) << second;
    }
}

} // namespace
