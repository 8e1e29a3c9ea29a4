#include "PlatformFixture.h"

#include "SparkParticles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct LaserLevel : PlatformFixture {
    Laser& Make(Vec2 at, float on, float off, float delay = 0.0f, bool startsOn = true, float angle = 0.0f)
    {
        auto* l = new Laser();
        SetName(l->name, "L");
        l->onTime = on;
        l->offTime = off;
        l->startDelay = delay;
        l->startsOn = startsOn;
        return Add(l, at, angle);
    }
    int SparkSystems() const
    {
        int n = 0;
        for (std::size_t i = 0; i < game.particles.Size(); ++i)
            n += dynamic_cast<SparkParticles*>(game.particles.At(i)) != nullptr ? 1 : 0;
        return n;
    }
};

TEST(Laser, PhasesRunOnTheirTimersWithTheirSounds)
{
    LaserLevel f;
    f.Make({1500.0f, 2000.0f}, 2.0f, 1.0f, 0.5f);
    f.Start();
    Laser& l = f.Live<Laser>();
    const int offAt = TicksToReach(-0.5f, 2.0f);
    const int onAt = offAt + TicksToReach(0.0f, 1.0f);
    const int offAgain = onAt + TicksToReach(0.0f, 2.0f);
    std::vector<int> changes;
    bool was = l.on;
    for (int update = PlatformFixture::kWarmUpUpdates + 1; update <= offAgain + 5; ++update) {
        f.Pass();
        if (l.on != was) {
            changes.push_back(update);
            was = l.on;
        }
    }
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0], offAt);
    EXPECT_EQ(changes[1], onAt);
    EXPECT_EQ(changes[2], offAgain);
    EXPECT_EQ(f.Plays(SampleId::LaserSpark), 2);
    EXPECT_EQ(f.Plays(SampleId::LaserDischarge), 1);
    EXPECT_GE(f.PlaysLooped(SampleId::LaserBeam), 1);
}

TEST(Laser, AnOnTimeOfZeroStaysOn)
{
    LaserLevel f;
    f.Make({1500.0f, 2000.0f}, 0.0f, 1.0f);
    f.Start();
    Laser& l = f.Live<Laser>();
    for (int i = 0; i < 400; ++i) {
        f.Pass();
        ASSERT_TRUE(l.on) << i;
    }
}

TEST(Laser, OpenSkyEndsAtTheFirstMarchPointOutsideTheGrid)
{
    LaserLevel f;
    f.Make({1500.0f, 2000.0f}, 0.0f, 0.0f);
    f.Start({}, false);
    Laser& l = f.Live<Laser>();
    f.Pass(20);
    ASSERT_TRUE(l.hasBeam);
    const Vec2 a0{1500.0f, 1990.0f};
    EXPECT_EQ(l.beam.a, a0);
    EXPECT_EQ(l.beam.b.x, 1500.0f);
    const float steps = (a0.y - l.beam.b.y) / Laser::kMarchStep;
    EXPECT_EQ(steps, std::floor(steps));
    EXPECT_GT(steps, 0.0f);
    EXPECT_EQ(f.game.sectorGrid.SectorAt(l.beam.b.x, l.beam.b.y), nullptr);
    EXPECT_NE(f.game.sectorGrid.SectorAt(l.beam.b.x, l.beam.b.y + Laser::kMarchStep), nullptr);
    EXPECT_EQ(f.SparkSystems(), 0);
    EXPECT_EQ(l.beam.direction, (Vec2{0.0f, -1.0f}));
    EXPECT_LT(l.beam.colourA.r, 0.5f);
}

TEST(Laser, AWallThreeHundredAwayGetsSparksEveryTenthOnTickOneUnitOut)
{
    LaserLevel f;
    f.Make({1500.0f, 2000.0f}, 0.0f, 0.0f);
    f.Start({MakeBeam({1400, 1700}, {1600, 1700})});
    Laser& l = f.Live<Laser>();
    const int before = l.onTicks;
    int sparksSeen = 0;
    for (int i = 0; i < 30; ++i) {
        const int systems = f.SparkSystems();
        f.Pass();
        if (f.SparkSystems() > systems) {
            ++sparksSeen;
            EXPECT_EQ(l.onTicks % 10, 0) << l.onTicks;
            auto* spark = dynamic_cast<SparkParticles*>(f.game.particles.At(f.game.particles.Size() - 1));
            ASSERT_NE(spark, nullptr);
            EXPECT_EQ(spark->box.centre, (Vec2{1500.0f, 1699.0f}));
        }
    }
    EXPECT_EQ(sparksSeen, (before + 30) / 10 - before / 10);
    EXPECT_EQ(l.beam.b, (Vec2{1500.0f, 1700.0f}));
}

TEST(Laser, TheShipInItsHitCooldownStillTakesTheBeam)
{
    LaserLevel f;
    f.Make({1500.0f, 2000.0f}, 0.0f, 0.0f);
    f.Start({MakeBeam({1400, 1700}, {1600, 1700})});
    f.Pass(); // the beam is cast
    f.PlaceShip({1500.0f, 1800.0f}, 0.0f);
    f.ship.fuel = 300.0f;
    f.ship.hull = 100.0f;
    f.ship.hitCooldown = Player::kHitCooldownTicks;
    const std::size_t systems = f.game.particles.Size();
    f.Pass();
    EXPECT_LE(f.ship.hull, 0.0f);
    EXPECT_TRUE(f.ship.dying);
    EXPECT_GT(f.game.particles.Size(), systems);
}

TEST(Laser, AShotMeetsTheBeamAndTheLaserTakesNothing)
{
    LaserLevel f;
    f.Make({1500.0f, 2000.0f}, 0.0f, 0.0f);
    f.Start({MakeBeam({1400, 1700}, {1600, 1700})});
    f.Pass();
    Laser& l = f.Live<Laser>();
    const float health = l.health;
    Vec2 normal;
    EXPECT_TRUE(l.CollideShapes({HullCircle(1.0f, 1502.5f, 1800.0f)}, &normal));
    EXPECT_EQ(normal, (Vec2{-1.0f, 0.0f}));
    EXPECT_FALSE(l.CollideShapes({HullCircle(1.0f, 1504.0f, 1800.0f)}, nullptr));
    l.Damage(100.0f);
    EXPECT_EQ(l.health, health);
    EXPECT_FALSE(l.dead);
    // A real shot flying across the beam is stopped by it.
    Projectile* shot = CreateProjectile(0);
    shot->owner = &f.ship;
    shot->Spawn(1450.0f, 1800.0f, 5.0f, 0.0f, 90.0f);
    f.game.playerShots.push_back(shot);
    for (int i = 0; i < 12 && !shot->dead; ++i)
        shot->Update();
    EXPECT_TRUE(shot->dead);
    EXPECT_NEAR(shot->position.x, 1500.0f, 5.0f) << "stopped within one step of the beam";
    EXPECT_EQ(l.health, health);
    EXPECT_FALSE(l.dead);
    // Off, the beam no longer counts; the body still does.
    l.Activate(nullptr);
    EXPECT_FALSE(l.CollideShapes({HullCircle(1.0f, 1502.5f, 1800.0f)}, nullptr));
    EXPECT_TRUE(l.CollideShapes({HullCircle(1.0f, 1500.0f, 2000.0f)}, nullptr));
}

TEST(Laser, AStartOutsideTheGridHasNoBeamButItsPhasesRun)
{
    LaserLevel f;
    f.Make({1500.0f, 2000.0f}, 0.2f, 0.2f);
    f.Start();
    Laser& l = f.Live<Laser>();
    // Pushed outside the grid, as a platform might carry it.
    l.position = l.previousPosition = {1500.0f, 90000.0f};
    l.PlaceShapes(l.position.x, l.position.y);
    l.hasBeam = false;
    f.host.audio.calls.clear();
    f.game.drawSink = &f.sink;
    f.game.drawState = &f.state;
    const bool wasOn = l.on;
    l.on = false;
    l.Draw(1.0f);
    const std::size_t body = f.sink.vertices.size();
    l.on = wasOn;
    ASSERT_GT(body, 0u);
    for (int i = 0; i < 40; ++i) {
        f.Pass();
        ASSERT_FALSE(l.hasBeam);
        f.sink.vertices.clear();
        l.Draw(1.0f);
        EXPECT_EQ(f.sink.vertices.size(), body) << "the body alone";
    }
    f.game.drawSink = nullptr;
    f.game.drawState = nullptr;
    EXPECT_FALSE(l.CollideShapes({HullCircle(1.0f, 1500.0f, 89000.0f)}, nullptr));
    EXPECT_GE(f.Plays(SampleId::LaserSpark) + f.Plays(SampleId::LaserDischarge), 3);
    EXPECT_TRUE(std::isfinite(l.beam.normal.x));
}

} // namespace
