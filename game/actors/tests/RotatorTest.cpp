#include "PlatformFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

struct RotatorSetup {
    std::int32_t step;
    float speed;
    bool loops;
    float pause;
};

// A rotator at (1000, 1500), radius 50, carrying a vertical beam through its
// centre (live extra beam 0).
struct RotatorLevel : PlatformFixture {
    Rotator& Make(const RotatorSetup& setup, const char* activates = "B", const char* target = "EMPTY")
    {
        auto* r = new Rotator();
        r->def.area = HullCircle(50.0f, 1000.0f, 1500.0f);
        SetName(r->def.name, "R");
        SetName(r->def.activateName, activates);
        SetName(r->def.targetName, target);
        r->def.stepAngle = setup.step;
        r->def.speed = setup.speed;
        r->def.loops = setup.loops;
        r->def.pauseTime = setup.pause;
        return Add(r, {1000.0f, 1500.0f});
    }
    void StartWithBeam() { Start({MakeBeam({1000, 1480}, {1000, 1520})}); }
};

TEST(Rotator, ANonLoopingStepOfNinetyRunsTwoHalvesRestsAndHandsBackOnce)
{
    RotatorLevel f;
    f.Make({90, 1.0f, false, 0.1f});
    auto* named = new NamedProbe("B");
    f.Add(named, {2000, 2000});
    auto named_record = named->record;
    auto* source = new NamedProbe("H");
    f.Add(source, {2100, 2000});
    f.StartWithBeam();
    Rotator& r = f.Live<Rotator>();
    NamedProbe& hand = static_cast<NamedProbe&>(*f.Named("H"));
    bool activeAtHandBack = true;
    hand.record->watch = [&] { activeAtHandBack = r.active; };

    EXPECT_EQ(r.def.stepAngle, 45);
    EXPECT_FALSE(r.active);
    r.Activate(&hand);
    f.Pass(45);
    EXPECT_FLOAT_EQ(r.angle, 45.0f);
    EXPECT_FALSE(r.pausing);
    f.Pass();
    EXPECT_EQ(r.angle, 45.0f) << "past 45 on the 46th tick, snapped back";
    EXPECT_TRUE(r.pausing);
    EXPECT_EQ(named_record->activations, 1);
    int rest = 0;
    while (r.angle == 45.0f && rest < 100) {
        f.Pass();
        ++rest;
    }
    EXPECT_GE(rest, 5) << "rests 0.1 s";
    EXPECT_LE(rest, 7);
    int guard = 0;
    while (r.active && guard++ < 200)
        f.Pass();
    EXPECT_FALSE(r.active);
    EXPECT_EQ(r.angle, 90.0f);
    EXPECT_EQ(named_record->activations, 2);
    ASSERT_EQ(hand.record->activations, 1);
    EXPECT_EQ(hand.record->sources[0], &r);
    EXPECT_FALSE(activeAtHandBack) << "told after active went false";
    const Beam& beam = f.LiveBeam(0);
    EXPECT_NEAR(beam.a.x, 1020.0f, 1e-3f);
    EXPECT_NEAR(beam.a.y, 1500.0f, 1e-3f);
    EXPECT_NEAR(beam.b.x, 980.0f, 1e-3f);
    f.Pass(20);
    EXPECT_EQ(r.angle, 90.0f) << "idle";
    EXPECT_EQ(hand.record->activations, 1);
}

TEST(Rotator, AnOddStepTurnsOneDegreeLessPerActivation)
{
    const struct {
        std::int32_t step;
        float turned;
    } cases[] = {{45, 44.0f}, {-45, -44.0f}};
    for (const auto& c : cases) {
        RotatorLevel f;
        f.Make({c.step, c.step > 0 ? 1.0f : -1.0f, false, 0.0f});
        f.StartWithBeam();
        Rotator& r = f.Live<Rotator>();
        r.Activate(nullptr);
        int guard = 0;
        while (r.active && guard++ < 200)
            f.Pass();
        EXPECT_EQ(r.angle, c.turned) << c.step;
        EXPECT_NEAR(TurnFromDown(f.LiveBeam(0).direction), c.turned, 1e-3f) << c.step;
    }
}

TEST(Rotator, ASpeedThatDoesNotDivideTheStepLeavesTheBeamsShortByTheOvershoot)
{
    RotatorLevel f;
    f.Make({90, 0.7f, true, 0.0f});
    f.StartWithBeam();
    Rotator& r = f.Live<Rotator>();
    f.Pass(128 - PlatformFixture::kWarmUpUpdates);
    EXPECT_NEAR(r.angle, 89.6f, 1e-3f);
    EXPECT_EQ(r.goalAngle, 90);
    f.Pass();
    EXPECT_EQ(r.angle, 90.0f) << "the goal is passed on the 129th update";
    EXPECT_EQ(r.goalAngle, 180);
    EXPECT_NEAR(TurnFromDown(f.LiveBeam(0).direction), 89.6f, 1e-3f);
}

TEST(Rotator, AStepAgainstTheSpeedOrOfZeroNeverStopsNorActivates)
{
    for (std::int32_t step : {-90, 0}) {
        RotatorLevel f;
        f.Make({step, 1.0f, true, 0.5f});
        auto* named = new NamedProbe("B");
        f.Add(named, {2000, 2000});
        auto record = named->record;
        f.StartWithBeam();
        Rotator& r = f.Live<Rotator>();
        for (int i = 0; i < 400; ++i) {
            f.Pass();
            ASSERT_FALSE(r.pausing) << step;
        }
        EXPECT_NEAR(r.angle, 402.0f, 1e-2f) << step;
        EXPECT_TRUE(r.active);
        EXPECT_EQ(record->activations, 0) << step;
    }
}

// A map may hold any step and any speed. Extreme ones (a step at the int32
// limits, a speed of 3e38 or -1e30, one that is no number) turn the beams
// by some angle every tick, stop or not, but never overflow an integer nor
// put a beam or the angle anywhere but at finite coordinates.
TEST(Rotator, ExtremeStepsAndSpeedsKeepEverythingFinite)
{
    const float huge = 3e38f;
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    const std::int32_t min = std::numeric_limits<std::int32_t>::min();
    const RotatorSetup setups[] = {
        {max, huge, true, 0.0f},  {min, huge, true, 0.0f},   {max, -huge, true, 0.0f}, {min, -huge, false, 0.0f},
        {max, -1e30f, true, 0.0f}, {min, 1e30f, true, 0.0f}, {90, huge, true, 0.0f},   {-90, -1e30f, true, 0.0f},
        {0, huge, true, 0.0f},    {max, inf, true, 0.0f},    {90, nan, true, 0.0f},    {max, 1.0f, true, huge},
        {90, 400.0f, true, nan},  {min, -inf, false, -huge},
    };
    for (const RotatorSetup& setup : setups) {
        SCOPED_TRACE(testing::Message() << "step " << setup.step << " speed " << setup.speed << " pause " << setup.pause);
        RotatorLevel f;
        Rotator& made = f.Make(setup);
        made.def.pingPong = !setup.loops;
        f.StartWithBeam();
        Rotator& r = f.Live<Rotator>();
        r.Activate(nullptr);
        for (int i = 0; i < 300; ++i) {
            f.Pass();
            ASSERT_TRUE(std::isfinite(r.angle)) << i;
            const Beam& beam = f.LiveBeam(0);
            ASSERT_TRUE(std::isfinite(beam.a.x) && std::isfinite(beam.a.y) && std::isfinite(beam.b.x) &&
                        std::isfinite(beam.b.y))
                << i;
            // Turned about the centre, the beam keeps its length.
            ASSERT_NEAR(Length(beam.b - beam.a), 40.0f, 0.01f) << i;
        }
    }
}

// A speed past a revolution a tick shows what the same turn within one
// revolution shows: over 40 ticks the beam turns exactly as on a platform at
// that turn. Tiny speeds still turn; speeds that are no number or infinite
// stand still. Toward a step, any speed beyond it stops every tick, the
// beam at rest, as at a speed just past the step.
TEST(Rotator, ASpeedShowsTheSameTurnWithinOneRevolution)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        std::int32_t step;
        float speed;
        float sameAs; // a speed within a revolution that shows the same
    } cases[] = {
        {0, 370.0f, 10.0f},     {0, -370.0f, -10.0f},  {0, 725.0f, 5.0f},     {0, 720.5f, 0.5f},
        {0, 360.0f, 0.0f},      {0, 3e38f, 152.0f},    {0, -1e30f, -120.0f},  {-90, 370.0f, 10.0f},
        {90, -1e30f, -120.0f},  {90, 370.0f, 91.0f},   {-90, -3e38f, -91.0f}, {0, inf, 0.0f},
        {0, -inf, 0.0f},        {0, nan, 0.0f},        {90, inf, 0.0f},       {-90, nan, 0.0f},
    };
    constexpr int kTicks = 40;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << c.step << " speed " << c.speed);
        RotatorLevel fast;
        fast.Make({c.step, c.speed, true, 0.0f});
        fast.StartWithBeam();
        RotatorLevel same;
        same.Make({c.step, c.sameAs, true, 0.0f});
        same.StartWithBeam();
        for (int i = 0; i < kTicks; ++i) {
            fast.Pass();
            same.Pass();
            const Beam& turned = fast.LiveBeam(0);
            const Beam& expected = same.LiveBeam(0);
            ASSERT_NEAR(turned.a.x, expected.a.x, 1e-3f) << i;
            ASSERT_NEAR(turned.a.y, expected.a.y, 1e-3f) << i;
            ASSERT_NEAR(turned.b.x, expected.b.x, 1e-3f) << i;
            ASSERT_NEAR(turned.b.y, expected.b.y, 1e-3f) << i;
            ASSERT_TRUE(std::isfinite(fast.Live<Rotator>().angle)) << i;
        }
    }

    // Tiny speeds are speeds: the angle grows by them.
    for (const float tiny : {1e-30f, -1e-30f, std::numeric_limits<float>::denorm_min()}) {
        SCOPED_TRACE(tiny);
        RotatorLevel f;
        f.Make({0, tiny, true, 0.0f});
        f.StartWithBeam();
        f.Pass(kTicks);
        const float angle = f.Live<Rotator>().angle;
        EXPECT_NE(angle, 0.0f);
        EXPECT_EQ(angle > 0.0f, tiny > 0.0f);
        EXPECT_LE(std::fabs(angle), std::fabs(tiny) * (kTicks + PlatformFixture::kWarmUpUpdates) * 1.01f);
    }
}

// The other float fields of the record at the same extremes: a circle of
// radius 3e38 or -1e30, or one far outside the world. Whatever they take
// over, nothing overflows and what turns stays finite.
TEST(Rotator, ExtremeCirclesKeepEverythingFinite)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const HullCircle circles[] = {
        HullCircle(3e38f, 1000.0f, 1500.0f), HullCircle(-1e30f, 1000.0f, 1500.0f), HullCircle(nan, 1000.0f, 1500.0f),
        HullCircle(50.0f, 3e38f, -1e30f),    HullCircle(3e38f, -1e30f, 3e38f),     HullCircle(50.0f, nan, 1500.0f),
    };
    for (const HullCircle& circle : circles) {
        SCOPED_TRACE(testing::Message() << "radius " << circle.radius << " at " << circle.x << ", " << circle.y);
        RotatorLevel f;
        Rotator& made = f.Make({90, 7.0f, true, 0.0f});
        made.def.area = circle;
        made.position = made.previousPosition = {circle.x, circle.y};
        f.StartWithBeam();
        Rotator& r = f.Live<Rotator>();
        for (int i = 0; i < 100; ++i) {
            f.Pass();
            const Beam& beam = f.LiveBeam(0);
            ASSERT_TRUE(std::isfinite(beam.a.x) && std::isfinite(beam.a.y) && std::isfinite(beam.b.x) &&
                        std::isfinite(beam.b.y))
                << i;
        }
        EXPECT_TRUE(std::isfinite(r.angle));
    }
}

TEST(Rotator, ALinkedPlatformMovesItsThingsOntoTheTargetThenFollowsIt)
{
    RotatorLevel f;
    f.Make({90, 1.0f, false, 0.0f}, "B", "T");
    f.AddTarget("T", {1200.0f, 1600.0f});
    f.Add(new NamedProbe("P"), {1010.0f, 1500.0f});
    {
        ActorLog log;
        f.StartWithBeam();
        EXPECT_FALSE(f.LogHas(log.Text(), "Rotator: No target found."));
    }
    Rotator& r = f.Live<Rotator>();
    Target& t = f.Live<Target>(0);
    Entity* rider = f.Named("P");
    ASSERT_NE(rider, nullptr);
    EXPECT_EQ(r.position, (Vec2{1200.0f, 1600.0f}));
    EXPECT_EQ(f.LiveBeam(0).a, (Vec2{1200.0f, 1580.0f}));
    EXPECT_EQ(rider->position, (Vec2{1210.0f, 1600.0f}));

    t.position += Vec2{5.0f, -3.0f};
    f.Pass();
    EXPECT_EQ(r.position, (Vec2{1205.0f, 1597.0f}));
    EXPECT_EQ(f.LiveBeam(0).a, (Vec2{1205.0f, 1577.0f}));
    EXPECT_EQ(rider->position, (Vec2{1215.0f, 1597.0f}));
    // The moved beam is found in the grid where it now lies.
    Sector* cell = f.game.sectorGrid.SectorAt(1205.0f, 1577.0f);
    ASSERT_NE(cell, nullptr);
    EXPECT_NE(std::find(cell->beams.begin(), cell->beams.end(), &f.LiveBeam(0)), cell->beams.end());
}

TEST(Rotator, WithoutItsTargetItSaysSoAndWorksInPlace)
{
    RotatorLevel f;
    f.Make({90, 1.0f, true, 0.0f}, "B", "NOWHERE");
    ActorLog log;
    f.StartWithBeam();
    const std::string text = log.Text();
    EXPECT_EQ(PlatformFixture::Count(text, "Rotator: No target found.\n"), 1);
    EXPECT_EQ(f.Live<Rotator>().position, (Vec2{1000.0f, 1500.0f}));
}

TEST(Rotator, TheLoopPlaysAcrossTurningTicksAndStopsWithOneClankPerStop)
{
    RotatorLevel f;
    f.Make({10, 1.0f, true, 0.2f});
    f.StartWithBeam();
    Rotator& r = f.Live<Rotator>();
    f.host.audio.calls.clear();
    // From a fresh loop through the next stop and its rest.
    int guard = 0;
    while (!r.pausing && guard++ < 50)
        f.Pass();
    while (r.pausing && guard++ < 100)
        f.Pass();
    const int clanks = f.Plays(SampleId::HydraulicStop) + f.Plays(SampleId::HydraulicStop2);
    EXPECT_EQ(clanks, 1);
    EXPECT_EQ(f.CallsStartingWith("HaltChannel("), 1);
    EXPECT_LE(f.PlaysLooped(SampleId::Hydraulic), 1);
    EXPECT_FALSE(r.loopPlaying);
}

} // namespace

namespace {

TEST(Rotator, AZeroLengthBeamKeepsItsNormalAndDirectionWhenTurned)
{
    RotatorLevel f;
    f.Make({0, 3.0f, true, 0.0f});
    Beam dot = MakeBeam({1000, 1490}, {1000, 1490});
    dot.normal = {0.0f, -1.0f};
    dot.direction = {1.0f, 0.0f};
    f.Start({MakeBeam({1000, 1480}, {1000, 1520}), dot});
    f.Pass(10);
    const Beam& turned = f.LiveBeam(1);
    EXPECT_EQ(turned.normal, (Vec2{0.0f, -1.0f}));
    EXPECT_EQ(turned.direction, (Vec2{1.0f, 0.0f}));
    EXPECT_TRUE(std::isfinite(turned.a.x) && std::isfinite(turned.a.y));
    EXPECT_NE(turned.a, (Vec2{1000.0f, 1490.0f})) << "its point still turns";
}

TEST(Rotator, TheShipIsTakenOnByTheBeamItStandsOnNotByAnEqualId)
{
    RotatorLevel f;
    f.Make({90, 1.0f, false, 0.0f});
    f.StartWithBeam();
    Rotator& r = f.Live<Rotator>();
    Beam copy = f.LiveBeam(0); // same id, not a beam of the level
    f.StandShipOn(copy, {1000.0f, 1467.0f});
    EXPECT_FALSE(r.OnContact(&f.ship));
    EXPECT_EQ(f.ship.carrier.Get(), nullptr);
    EXPECT_TRUE(r.carriedActors.empty());
    f.ship.landedBeam = &f.LiveBeam(0);
    EXPECT_FALSE(r.OnContact(&f.ship));
    EXPECT_EQ(f.ship.carrier, &r);
}

} // namespace
