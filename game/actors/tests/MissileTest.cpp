#include "EnemyFixture.h"

#include "BlueTurret.h"
#include "Missile.h"
#include "SmokeTrailParticles.h"
#include "Trail.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kDegToRad = 3.14159265358979f / 180.0f;

// A missile at (2000, 700) nose up (angle 0); the ship far off.
struct Missiles : EnemyFixture {
    using EnemyFixture::EnemyFixture;
    Missile* missile = nullptr;
    Vec2 at{2000.0f, 700.0f};

    void AddMissile(Vec2 where)
    {
        at = where;
        missile = Add<Missile>(where);
    }
    // The ship `degrees` right of the nose at `distance`.
    void ShipOffNose(float degrees, float distance)
    {
        const float a = degrees * kDegToRad;
        PlaceShip({at.x + distance * std::sin(a), at.y - distance * std::cos(a)}, 0.0f);
    }
};

TEST(Missile, WakesOnlyInsideTheConeWithinRange)
{
    struct Row {
        float degrees, distance;
        bool wakes;
    };
    const Row rows[] = {{29.0f, 299.0f, true}, {-29.0f, 299.0f, true}, {0.0f, 100.0f, true},
                        {29.0f, 301.0f, false}, {31.0f, 200.0f, false}, {180.0f, 100.0f, false}};
    for (const Row& row : rows) {
        Missiles f;
        f.AddMissile({2000.0f, 700.0f});
        f.ShipOffNose(row.degrees, row.distance);
        f.missile->Update();
        EXPECT_EQ(!f.missile->dormant, row.wakes) << row.degrees << " " << row.distance;
        if (row.wakes) {
            EXPECT_TRUE(f.missile->loopPlaying);
            EXPECT_NE(f.missile->trail.Get(), nullptr);
            ASSERT_NE(f.missile->smoke.Get(), nullptr);
            EXPECT_EQ(f.missile->smoke.Get()->owner.Get(), f.missile);
            EXPECT_EQ(f.Plays(SampleId::RocketLaunch), 1);
        }
    }
}

TEST(Missile, TheConeEdgeItselfKeepsItDormant)
{
    Missiles f;
    f.AddMissile({2000.0f, 700.0f});
    // A ship position whose direction gives d . F exactly 0.5.
    Vec2 ship{f.at.x + 100.0f, f.at.y - 173.2f};
    bool found = false;
    for (int i = 0; i < 2000 && !found; ++i) {
        const Vec2 d = Normalize(ship.x - f.at.x, ship.y - f.at.y);
        if (d.x == 0.5f)
            found = true;
        else
            ship.y = std::nextafter(ship.y, d.x > 0.5f ? -1e9f : 1e9f);
    }
    ASSERT_TRUE(found);
    f.PlaceShip(ship, 0.0f);
    f.missile->Update();
    EXPECT_TRUE(f.missile->dormant);
}

TEST(Missile, WaitsWhileTheShipSpawnsOrDies)
{
    for (int row = 0; row < 2; ++row) {
        Missiles f;
        f.AddMissile({2000.0f, 700.0f});
        f.ShipOffNose(0.0f, 100.0f);
        if (row == 0)
            f.ship.spawnTimer = 5;
        else
            f.ship.dying = true;
        f.missile->Update();
        EXPECT_TRUE(f.missile->dormant) << row;
    }
}

TEST(Missile, ABeamBetweenBlocksTheViewOneBehindTheShipDoesNot)
{
    struct Row {
        float beamAbove; // the beam's height above the missile
        bool wakes;
    };
    for (const Row& row : {Row{50.0f, false}, Row{150.0f, true}, Row{250.0f, true}}) {
        // The floor and a ledge across the line of sight, 200 above the floor.
        Missiles f({MakeBeam({1950, -1000 - row.beamAbove}, {2050, -1000 - row.beamAbove})});
        const float floor = f.game.map.liveBeams[0].a.y;
        const float ledge = f.game.map.liveBeams[1].a.y;
        f.AddMissile({f.game.map.liveBeams[1].a.x + 50.0f, ledge + row.beamAbove});
        ASSERT_LT(f.at.y, floor);
        f.ShipOffNose(0.0f, 100.0f); // the ship 100 above the missile
        f.missile->Update();
        EXPECT_EQ(!f.missile->dormant, row.wakes) << row.beamAbove;
    }
}

TEST(Missile, FlyingItTurnsFourAndAHalfEveryTickAndStopsSteeringWhileTheShipDies)
{
    Missiles f;
    f.AddMissile({2000.0f, 900.0f});
    f.PlaceShip({2000.0f, 100.0f}, 0.0f); // straight ahead
    f.missile->dormant = false;
    for (int tick = 0; tick < 60; ++tick) {
        const float before = f.missile->angle;
        f.missile->Update();
        ASSERT_EQ(std::fabs(f.missile->angle - before), 4.5f) << tick;
        ASSERT_LE(std::fabs(f.missile->angle), 13.5f) << tick; // a wobble about its course
    }
    f.ship.dying = true;
    const float held = f.missile->angle;
    const Vec2 v = f.missile->velocity;
    f.missile->Update();
    EXPECT_EQ(f.missile->angle, held);
    EXPECT_NE(f.missile->velocity, v);
}

TEST(Missile, ABeamAndAnActorInOneTickDamageTheActorOnceAndKillItOnce)
{
    Missiles f;
    f.PlaceShip({100.0f, 100.0f}, 0.0f);
    f.AddMissile({2000.0f, f.floorY - 3.0f});
    ProbeActor* probe = f.AddProbe(EntityTypes::Generator, {2000.0f, f.floorY - 8.0f});
    f.missile->dormant = false;
    f.missile->Update();
    EXPECT_TRUE(f.missile->dead);
    EXPECT_EQ(probe->record->damage, 10.0f);
    EXPECT_EQ(probe->record->damageCalls, 1);
    EXPECT_EQ(f.ship.score, 130);
    EXPECT_EQ(f.CountParticles<ShockRing>(f.game.ribbons), 1);
}

TEST(Missile, AKillByContactPaysThePointsTwiceMore)
{
    Missiles f;
    f.PlaceShip({100.0f, 100.0f}, 0.0f);
    f.AddMissile({2000.0f, 600.0f});
    auto* turret = f.Add<BlueTurret>({2000.0f, 610.0f});
    f.missile->dormant = false;
    f.missile->Update();
    EXPECT_TRUE(turret->dead);
    EXPECT_TRUE(f.missile->dead);
    EXPECT_EQ(f.ship.score, 50 + 100 + 130);
    EXPECT_EQ(f.PopupTexts(), std::vector<std::string>{"3X 50"});
}

TEST(Missile, DeathHaltsTheLoopAndLetsTheSmokeGo)
{
    Missiles f;
    f.AddMissile({2000.0f, 700.0f});
    f.ShipOffNose(0.0f, 100.0f);
    f.missile->Update();
    ASSERT_FALSE(f.missile->dormant);
    SmokeTrailParticles* smoke = f.missile->smoke.Get();
    ASSERT_NE(smoke, nullptr);
    const int channel = f.missile->loopChannel;
    f.missile->Damage(1.0f);
    EXPECT_TRUE(f.missile->dead);
    EXPECT_EQ(smoke->owner.Get(), nullptr);
    EXPECT_EQ(f.CallsStartingWith("HaltChannel(" + std::to_string(channel) + ")"), 1);
    // Reaped before the smoke looks again: nothing reads the missile after.
    f.game.entities.Pass();
    f.game.particles.Update();
}

} // namespace
