#include "PlatformFixture.h"

#include "JetParticles.h"

#include <gtest/gtest.h>

namespace {

// An emitter at (1500, 2000) blowing up the screen.
struct EmitterLevel : PlatformFixture {
    Emitter& Make(float on, float off, bool startsOn)
    {
        auto* e = new Emitter();
        e->onTime = on;
        e->offTime = off;
        e->startsOn = startsOn;
        return Add(e, {1500.0f, 2000.0f});
    }
};

TEST(Emitter, BlowsAndRestsOnItsTimersWithParticlesEverySecondBlowingTick)
{
    EmitterLevel f;
    f.Make(2.0f, 1.0f, true);
    f.Start();
    f.PlaceShip({100.0f, 1200.0f}, 0.0f);
    f.PlaceCamera(1300.0f, 1800.0f);
    Emitter& e = f.Live<Emitter>();
    JetParticles* jet = e.jet.Get();
    ASSERT_NE(jet, nullptr);
    jet->UpdateVisibilityWide();
    const int offAt = TicksToReach(0.0f, 2.0f);
    const int onAt = offAt + TicksToReach(0.0f, 1.0f);
    std::vector<int> changes;
    bool was = e.on;
    std::size_t particles = jet->particles.size();
    for (int update = PlatformFixture::kWarmUpUpdates + 1; update <= onAt + 4; ++update) {
        f.Pass();
        if (e.on != was) {
            changes.push_back(update);
            was = e.on;
        }
        const std::size_t now = jet->particles.size();
        if (e.on && e.tickCount % 2 == 0)
            EXPECT_EQ(now, particles + 5) << update;
        else
            EXPECT_EQ(now, particles) << update;
        particles = now;
    }
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0], offAt);
    EXPECT_EQ(changes[1], onAt);
    EXPECT_EQ(f.CallsStartingWith("HaltChannel("), 1) << "the hiss stops when it rests";
}

TEST(Emitter, StartingOffWithAnOffTimeOfZeroNeverBlows)
{
    EmitterLevel f;
    f.Make(2.0f, 0.0f, false);
    f.Start();
    Emitter& e = f.Live<Emitter>();
    for (int i = 0; i < 300; ++i) {
        f.Pass();
        ASSERT_FALSE(e.on);
    }
    EXPECT_EQ(e.tickCount, 0);
    EXPECT_EQ(f.PlaysLooped(SampleId::Air), 0);
}

TEST(Emitter, PushesTheShipInsideItsCone)
{
    const struct {
        Vec2 offset;
        bool pushed;
    } cases[] = {
        {{20.0f, -60.0f}, true},
        {{0.0f, -120.0f}, true},
        {{10.0f, -5.0f}, false},
        {{0.0f, 120.0f}, false},
        {{0.0f, -160.0f}, false},
    };
    for (const auto& c : cases) {
        EmitterLevel f;
        f.Make(0.0f, 0.0f, true);
        f.Start();
        f.PlaceShip(Vec2{1500.0f, 2000.0f} + c.offset, 0.0f);
        f.Pass();
        EXPECT_NEAR(f.ship.velocity.x, 0.0f, 1e-6f);
        EXPECT_EQ(f.ship.velocity.y, c.pushed ? -Emitter::kPush : 0.0f) << c.offset.x << "," << c.offset.y;
    }
}

TEST(Emitter, AStandingShipIsLiftedAndADyingOneIsNotPushed)
{
    EmitterLevel f;
    f.Make(0.0f, 0.0f, true);
    f.Start({MakeBeam({1400, 1953}, {1600, 1953})});
    f.StandShipOn(f.LiveBeam(0), {1500.0f, 1940.0f});
    f.Pass();
    EXPECT_FALSE(f.ship.landed);
    EXPECT_EQ(f.ship.landedBeam, nullptr);
    EXPECT_NEAR(f.ship.velocity.x, 0.0f, 1e-6f);
    EXPECT_EQ(f.ship.velocity.y, -Emitter::kPush);

    f.ship.velocity = {};
    f.ship.dying = true;
    f.Pass();
    EXPECT_EQ(f.ship.velocity, (Vec2{}));
}

} // namespace
