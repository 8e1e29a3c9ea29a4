#include "PlatformFixture.h"

#include <gtest/gtest.h>

namespace {

// A zone at (1500, 2000), 100 x 100, naming "Z".
struct TriggerLevel : PlatformFixture {
    TriggerAction& MakeZone(bool once, const char* name = "Z")
    {
        auto* z = new TriggerAction();
        z->def.area = Rect(100.0f, 100.0f, 1500.0f, 2000.0f);
        SetName(z->def.activateName, name);
        z->def.once = once;
        return Add(z, {1500.0f, 2000.0f});
    }
    Mover& MakeMover()
    {
        auto* m = new Mover();
        m->def.area = Rect(40.0f, 20.0f, 1000.0f, 1500.0f);
        SetName(m->def.name, "Z");
        SetName(m->def.targetNameA, "A");
        SetName(m->def.targetNameB, "B");
        m->def.travelTime = 0.2f;
        m->def.waitTime = 0.0f;
        m->def.loops = false;
        Add(m, {1000.0f, 1500.0f});
        AddTarget("A", {1000.0f, 1500.0f});
        AddTarget("B", {1000.0f, 1400.0f});
        return *m;
    }
    Rotator& MakeRotator()
    {
        auto* r = new Rotator();
        r->def.area = HullCircle(40.0f, 1000.0f, 1500.0f);
        SetName(r->def.name, "Z");
        r->def.stepAngle = 20;
        r->def.speed = 5.0f;
        r->def.loops = false;
        return Add(r, {1000.0f, 1500.0f});
    }
};

TEST(Trigger, AOneShotZoneStartsAnIdleMoverAndGoes)
{
    TriggerLevel f;
    f.MakeZone(true);
    f.MakeMover();
    f.Start();
    TriggerAction& z = f.Live<TriggerAction>();
    Mover& m = f.Live<Mover>();
    ActorLog log;
    EXPECT_FALSE(z.OnContact(&f.ship));
    const std::string text = log.Text();
    EXPECT_EQ(PlatformFixture::Count(text, "Trigger Activated!\n"), 1);
    EXPECT_TRUE(m.active);
    EXPECT_EQ(m.activator.Get(), nullptr);
    EXPECT_TRUE(z.dead);
    f.Pass();
    EXPECT_EQ(f.CountEntities<TriggerAction>(), 0);
}

TEST(Trigger, ARepeatingZoneIsArmedAgainByTheHandBack)
{
    for (int kind = 0; kind < 2; ++kind) {
        TriggerLevel f;
        f.MakeZone(false);
        if (kind == 0)
            f.MakeRotator();
        else
            f.MakeMover();
        f.Start();
        TriggerAction& z = f.Live<TriggerAction>();
        z.OnContact(&f.ship);
        EXPECT_TRUE(z.fired) << kind;
        {
            ActorLog log;
            z.OnContact(&f.ship);
            EXPECT_EQ(log.Text(), "") << "fired: nothing written";
        }
        int guard = 0;
        while (z.fired && guard++ < 100)
            f.Pass();
        EXPECT_FALSE(z.fired) << kind;
        EXPECT_LT(guard, 100);
        ActorLog log;
        z.OnContact(&f.ship);
        EXPECT_EQ(PlatformFixture::Count(log.Text(), "Trigger Activated!\n"), 1);
        EXPECT_TRUE(z.fired) << "started again";
    }
}

TEST(Trigger, ALasersNextPhaseArmsTheZoneAgain)
{
    TriggerLevel f;
    f.MakeZone(false);
    auto* l = new Laser();
    SetName(l->name, "Z");
    l->onTime = 0.2f;
    l->offTime = 0.2f;
    l->startsOn = true;
    f.Add(l, {2500.0f, 2900.0f});
    f.Start();
    TriggerAction& z = f.Live<TriggerAction>();
    Laser& laser = f.Live<Laser>();
    z.OnContact(&f.ship);
    EXPECT_TRUE(z.fired);
    EXPECT_FALSE(laser.on);
    f.Pass(TicksToReach(0.0f, 0.2f) - 1);
    EXPECT_TRUE(z.fired);
    f.Pass();
    EXPECT_TRUE(laser.on);
    EXPECT_FALSE(z.fired);
}

TEST(Trigger, AZoneMatchingNothingLogsEveryTouchedTickAndStaysArmed)
{
    TriggerLevel f;
    f.MakeZone(false, "NOBODY");
    f.Start();
    TriggerAction& z = f.Live<TriggerAction>();
    ActorLog log;
    for (int i = 0; i < 3; ++i)
        z.OnContact(&f.ship);
    EXPECT_EQ(PlatformFixture::Count(log.Text(), "Trigger Activated!\n"), 3);
    EXPECT_FALSE(z.fired);
}

TEST(Trigger, OtherActorsDoNothingAndTheBoxIsTheShape)
{
    TriggerLevel f;
    f.MakeZone(false);
    f.MakeMover();
    f.Start();
    TriggerAction& z = f.Live<TriggerAction>();
    ProbeActor other(EntityTypes::Flea, 5.0f);
    ActorLog log;
    EXPECT_FALSE(z.OnContact(&other));
    EXPECT_EQ(log.Text(), "");
    EXPECT_FALSE(z.fired);
    EXPECT_FALSE(f.Live<Mover>().active);
    EXPECT_TRUE(z.CollideShapes({HullCircle(5.0f, 900.0f, 10.0f), HullCircle(5.0f, 1548.0f, 2048.0f)}, nullptr));
    EXPECT_FALSE(z.CollideShapes({HullCircle(5.0f, 1700.0f, 2000.0f)}, nullptr));
}

} // namespace
