#include "PlatformFixture.h"

#include <gtest/gtest.h>

namespace {

// A switch named "S" at (1500, 2000), listed before what it activates.
struct SwitchLevel : PlatformFixture {
    Switch& MakeSwitch(const char* name = "S")
    {
        auto* s = new Switch();
        SetName(s->name, name);
        return Add(s, {1500.0f, 2000.0f});
    }
    Rotator& MakeRotator(const char* name, bool loops)
    {
        auto* r = new Rotator();
        r->def.area = HullCircle(40.0f, 1000.0f, 1500.0f);
        SetName(r->def.name, name);
        r->def.stepAngle = 20;
        r->def.speed = 5.0f;
        r->def.loops = loops;
        return Add(r, {1000.0f, 1500.0f});
    }
    Laser& MakeLaser(const char* name, float on, float off)
    {
        auto* l = new Laser();
        SetName(l->name, name);
        l->onTime = on;
        l->offTime = off;
        l->startsOn = true;
        return Add(l, {2500.0f, 2900.0f});
    }
};

TEST(Switch, APressThatActivatesNothingPopsOutInTheSameTickSilently)
{
    for (bool runningPlatform : {false, true}) {
        SwitchLevel f;
        f.MakeSwitch();
        if (runningPlatform)
            f.MakeRotator("S", true);
        f.Start();
        Switch& s = f.Live<Switch>();
        s.Damage(1.0f);
        EXPECT_FALSE(s.pressed) << runningPlatform;
        EXPECT_EQ(s.cooldown, 0);
        EXPECT_EQ(f.Plays(SampleId::Activate), 0);
        EXPECT_EQ(s.health, f.Live<Switch>().health);
    }
}

TEST(Switch, AnIdleRotatorClicksAndItsHandBackPopsTheSwitchOutWithACooldown)
{
    SwitchLevel f;
    f.MakeSwitch();
    f.MakeRotator("s", false); // names match ignoring case
    f.Start();
    Switch& s = f.Live<Switch>();
    Rotator& r = f.Live<Rotator>();
    const float health = s.health;
    s.Damage(1.0f);
    EXPECT_TRUE(s.pressed);
    EXPECT_TRUE(r.active);
    EXPECT_EQ(r.activator.Get(), &s);
    EXPECT_EQ(f.Plays(SampleId::Activate), 1);
    EXPECT_EQ(s.health, health);
    s.Damage(1.0f); // pressed: nothing more
    EXPECT_EQ(f.Plays(SampleId::Activate), 1);
    int guard = 0;
    while (r.active && guard++ < 100)
        f.Pass();
    EXPECT_FALSE(r.active);
    EXPECT_FALSE(s.pressed) << "popped out on the hand-back";
    EXPECT_EQ(s.cooldown, Switch::kCooldownTicks);
}

TEST(Switch, HandBacksWithinTheCooldownAreIgnored)
{
    SwitchLevel f;
    f.MakeSwitch();
    f.Start();
    Switch& s = f.Live<Switch>();
    s.Activate(nullptr);
    EXPECT_TRUE(s.pressed);
    for (int tick = 1; tick <= 5; ++tick) {
        s.Activate(nullptr);
        EXPECT_TRUE(s.pressed) << tick;
        f.Pass();
    }
    s.Activate(nullptr);
    EXPECT_FALSE(s.pressed) << "more than 5 ticks apart: toggles again";
}

TEST(Switch, ALasersSwitchTogglesWithItsPhases)
{
    SwitchLevel f;
    f.MakeSwitch("BEAM");
    f.MakeLaser("BEAM", 0.2f, 0.2f);
    f.Start();
    Switch& s = f.Live<Switch>();
    Laser& l = f.Live<Laser>();
    s.Damage(1.0f);
    EXPECT_TRUE(s.pressed);
    EXPECT_FALSE(l.on) << "the press toggles the laser";
    bool wasOn = l.on;
    int changes = 0;
    for (int tick = 0; tick < 60; ++tick) {
        f.Pass();
        if (l.on != wasOn) {
            ++changes;
            wasOn = l.on;
            EXPECT_EQ(s.pressed, !l.on) << "the switch follows the phase " << changes;
        }
    }
    EXPECT_GE(changes, 4);
}

TEST(Switch, TheShipsTouchPressesItAndStillCountsAsACollision)
{
    SwitchLevel f;
    f.MakeSwitch();
    f.MakeRotator("S", false);
    f.Start();
    Switch& s = f.Live<Switch>();
    ProbeActor other(EntityTypes::BlueTurret, 5.0f);
    EXPECT_TRUE(s.OnContact(&other));
    EXPECT_FALSE(s.pressed) << "only the ship or a laser presses it";
    EXPECT_TRUE(s.OnContact(&f.ship));
    EXPECT_TRUE(s.pressed);
    EXPECT_TRUE(f.Live<Rotator>().active);
}

TEST(Switch, DrawsTheModelOfItsState)
{
    SwitchLevel f;
    f.models.models["Button01"].beams = {MakeBeam({0, 0}, {1, 0})};
    f.models.models["Button02"].beams = {MakeBeam({0, 0}, {1, 0}), MakeBeam({1, 0}, {1, 1})};
    f.MakeSwitch();
    f.MakeRotator("S", false);
    f.Start();
    Switch& s = f.Live<Switch>();
    f.game.drawSink = &f.sink;
    f.game.drawState = &f.state;
    s.Draw(1.0f);
    const std::size_t out = f.sink.vertices.size();
    s.Damage(1.0f);
    s.Draw(1.0f);
    const std::size_t in = f.sink.vertices.size() - out;
    f.game.drawSink = nullptr;
    f.game.drawState = nullptr;
    EXPECT_GT(out, 0u);
    EXPECT_EQ(in, 2 * out);
}

} // namespace
