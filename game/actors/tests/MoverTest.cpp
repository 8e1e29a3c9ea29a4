#include "PlatformFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct MoverSetup {
    float travel;
    float wait;
    float delay;
    bool loops;
};

// A mover whose box (40 x 20) starts at (900, 1500), with targets A at
// (1000, 1500) and B at (1000, 1200): a lift that rises 300. Its floor is
// live extra beam 0.
struct MoverLevel : PlatformFixture {
    Mover& Make(const MoverSetup& setup, const char* activates = "N")
    {
        auto* m = new Mover();
        m->def.area = Rect(40.0f, 20.0f, 900.0f, 1500.0f);
        SetName(m->def.name, "M");
        SetName(m->def.targetNameA, "A");
        SetName(m->def.targetNameB, "B");
        SetName(m->def.activateName, activates);
        m->def.travelTime = setup.travel;
        m->def.waitTime = setup.wait;
        m->def.startDelay = setup.delay;
        m->def.loops = setup.loops;
        Add(m, {900.0f, 1500.0f});
        AddTarget("A", {1000.0f, 1500.0f});
        AddTarget("B", {1000.0f, 1200.0f});
        return *m;
    }
    void StartWithFloor() { Start({MakeBeam({885, 1505}, {915, 1505})}); }
};

TEST(Mover, ALoopingMoverArrivesOnThe151stTickAndWaits51)
{
    MoverLevel f;
    f.Make({3.0f, 1.0f, 0.0f, true});
    auto* named = new NamedProbe("N");
    f.Add(named, {2000, 2000});
    auto record = named->record;
    f.StartWithFloor();
    Mover& m = f.Live<Mover>();
    EXPECT_NEAR(f.LiveBeam(0).a.x, 985.0f, 1e-3f) << "moved onto A";
    int updates = PlatformFixture::kWarmUpUpdates;
    while (record->activations == 0 && updates < 400) {
        f.Pass();
        ++updates;
    }
    EXPECT_EQ(updates, 151);
    EXPECT_NEAR(m.position.y, 1200.0f, 2.0f);
    EXPECT_TRUE(m.waiting);
    EXPECT_TRUE(m.returning);
    int waited = 0;
    const Vec2 atB = m.position;
    while (m.waiting && waited < 200) {
        f.Pass();
        ++waited;
    }
    EXPECT_EQ(waited, 51);
    EXPECT_EQ(m.position, atB);
    f.Pass();
    EXPECT_GT(m.position.y, atB.y) << "travels back";
}

TEST(Mover, ANonLoopingRunWithoutWaitGoesToBAndBackThenIdlesAndHandsBack)
{
    MoverLevel f;
    f.Make({0.5f, 0.0f, 0.0f, false});
    auto* named = new NamedProbe("N");
    f.Add(named, {2000, 2000});
    auto record = named->record;
    f.Add(new NamedProbe("H"), {2100, 2000});
    f.StartWithFloor();
    Mover& m = f.Live<Mover>();
    auto& hand = static_cast<NamedProbe&>(*f.Named("H"));
    EXPECT_FALSE(m.active);
    m.Activate(&hand);
    float highest = m.position.y;
    int guard = 0;
    while (m.active && guard++ < 200) {
        f.Pass();
        highest = std::min(highest, m.position.y);
    }
    EXPECT_FALSE(m.active);
    EXPECT_NEAR(highest, 1200.0f, 6.0f);
    EXPECT_NEAR(m.position.y, 1500.0f, 6.0f);
    EXPECT_EQ(record->activations, 2) << "at B and at A";
    ASSERT_EQ(hand.record->activations, 1);
    EXPECT_EQ(hand.record->sources[0], &m);
    const Vec2 rest = m.position;
    f.Pass(30);
    EXPECT_EQ(m.position, rest);
}

TEST(Mover, AStartDelayWaitsAndAStopResumesTheSameTravel)
{
    MoverLevel f;
    f.Make({3.0f, 1.0f, 0.5f, false});
    f.StartWithFloor();
    Mover& m = f.Live<Mover>();
    m.Activate(nullptr);
    const Vec2 start = m.position;
    int waited = 0;
    while (m.position == start && waited < 100) {
        f.Pass();
        ++waited;
    }
    EXPECT_EQ(waited - 1, TicksToReach(0.0f, 0.5f));
    EXPECT_EQ(waited - 1, 25);
    f.Pass(10);
    f.host.audio.calls.clear();
    const float timer = m.travelTimer;
    m.Activate(nullptr);
    f.Pass();
    EXPECT_EQ(f.Plays(SampleId::HydraulicStop) + f.Plays(SampleId::HydraulicStop2), 1) << "a clank";
    EXPECT_FALSE(m.loopPlaying);
    const Vec2 stopped = m.position;
    f.Pass(40);
    EXPECT_EQ(m.position, stopped);
    m.Activate(nullptr);
    f.Pass(25);
    EXPECT_EQ(m.position, stopped) << "the delay again";
    f.Pass();
    EXPECT_FLOAT_EQ(m.travelTimer, timer + 0.02f);
    EXPECT_LT(m.position.y, stopped.y);
}

TEST(Mover, CollideShapesPointsTowardTheBoxCentre)
{
    MoverLevel f;
    f.Make({3.0f, 1.0f, 0.0f, false});
    f.StartWithFloor();
    Mover& m = f.Live<Mover>();
    Vec2 normal{9, 9};
    EXPECT_TRUE(m.CollideShapes({HullCircle(5.0f, 978.0f, 1500.0f)}, &normal));
    EXPECT_EQ(normal, (Vec2{1.0f, 0.0f}));
    Vec2 untouched{9, 9};
    EXPECT_FALSE(m.CollideShapes({HullCircle(5.0f, 900.0f, 1500.0f)}, &untouched));
    EXPECT_EQ(untouched, (Vec2{9, 9}));
}

TEST(Mover, ATravelTimeOfZeroNeverTravelsAndSaysSoOnce)
{
    for (float travel : {0.0f, -1.0f}) {
        MoverLevel f;
        f.Make({travel, 1.0f, 0.0f, true});
        ActorLog log;
        f.StartWithFloor();
        Mover& m = f.Live<Mover>();
        f.Pass(100);
        const std::string text = log.Text();
        EXPECT_EQ(PlatformFixture::Count(text, "Mover travel time is not positive!\n"), 1) << travel;
        EXPECT_EQ(m.position, (Vec2{1000.0f, 1500.0f})) << travel;
        EXPECT_TRUE(std::isfinite(f.LiveBeam(0).a.y));
        EXPECT_EQ(f.LiveBeam(0).a, (Vec2{985.0f, 1505.0f}));
    }
}

TEST(Mover, WithoutTargetsItSaysSoOnceThenEveryTick)
{
    MoverLevel f;
    Mover& made = f.Make({3.0f, 1.0f, 0.0f, true});
    SetName(made.def.targetNameB, "GONE");
    ActorLog log;
    f.StartWithFloor();
    f.Pass(3);
    const std::string text = log.Text();
    EXPECT_EQ(PlatformFixture::Count(text, "Mover: No target found.\n"), 1);
    EXPECT_EQ(PlatformFixture::Count(text, "Mover without targets!\n"), 3 + PlatformFixture::kWarmUpUpdates);
}

TEST(Mover, AShipStandingOnAnIdleMoverRidesFromItsFirstMove)
{
    MoverLevel f;
    f.Make({1.0f, 0.0f, 0.0f, false});
    f.StartWithFloor();
    Mover& m = f.Live<Mover>();
    Beam& floor = f.LiveBeam(0);
    f.StandShipOn(floor, {1000.0f, 1492.0f});
    // The box stands in the grid from the level start: the ship's cells hold it.
    bool met = false;
    for (Sector* s : f.ship.sectors) {
        const CellEntities in = s->Entities();
        met = met || std::find(in.begin(), in.end(), &m) != in.end();
    }
    EXPECT_TRUE(met);
    EXPECT_FALSE(m.OnContact(&f.ship));
    EXPECT_FALSE(m.OnContact(&f.ship));
    EXPECT_EQ(f.ship.carrier, &m);
    EXPECT_EQ(m.carriedActors.size(), 1u) << "taken on once";
    m.Activate(nullptr);
    const Vec2 before = f.ship.position;
    const Vec2 floorBefore = floor.a;
    f.Pass();
    EXPECT_LT(f.ship.position.y, before.y);
    EXPECT_EQ(f.ship.position - before, floor.a - floorBefore);
    f.ship.landed = false; // take-off
    f.Pass();
    EXPECT_TRUE(m.carriedActors.empty());
    EXPECT_EQ(f.ship.carrier.Get(), nullptr);
}

} // namespace
