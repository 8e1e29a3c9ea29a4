#include "PlatformFixture.h"

#include "BlueTurret.h"
#include "EntityFactory.h"
#include "Flea.h"
#include "Missile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A looping rotator at (1000, 1500), radius 60, carrying a beam and the
// riders placed inside it.
struct RiderLevel : PlatformFixture {
    Rotator& MakeRotator(const char* target = "EMPTY")
    {
        auto* r = new Rotator();
        r->def.area = HullCircle(60.0f, 1000.0f, 1500.0f);
        SetName(r->def.name, "R");
        SetName(r->def.targetName, target);
        r->def.stepAngle = 0;
        r->def.speed = 2.0f;
        r->def.loops = true;
        return Add(r, {1000.0f, 1500.0f});
    }
    Entity& MakeRider(EntityType type, Vec2 at)
    {
        Entity* e = CreateEntity(type);
        return Add(e, at);
    }
    void StartWithBeam() { Start({MakeBeam({960, 1500}, {1040, 1500})}); }
};

TEST(Riders, CarriedActorsShotDuringARunAreDroppedBeforeTheyAreDeleted)
{
    RiderLevel f;
    f.MakeRotator();
    f.MakeRider(EntityTypes::BlueTurret, {1010.0f, 1500.0f});
    f.MakeRider(EntityTypes::Flea, {990.0f, 1500.0f});
    Entity& missileTemplate = f.MakeRider(EntityTypes::Missile, {1000.0f, 1520.0f});
    static_cast<Missile&>(missileTemplate).dormant = true;
    f.StartWithBeam();
    Rotator& r = f.Live<Rotator>();
    ASSERT_EQ(r.carriedActors.size(), 3u);
    std::vector<EntityRef<>> held(r.carriedActors.begin(), r.carriedActors.end());
    f.Pass(5);
    int alive = 3;
    for (EntityRef<>& rider : held) {
        rider->Die(); // shot dead
        ASSERT_TRUE(rider->dead);
        f.Pass();
        --alive;
        EXPECT_EQ(static_cast<int>(r.carriedActors.size()), alive);
        EXPECT_EQ(rider.Get(), nullptr) << "deleted by the pass after";
    }
    f.Pass(20); // the platform turns on without them
    EXPECT_TRUE(r.carriedActors.empty());
}

TEST(Riders, ALaunchedMissileIsReleased)
{
    RiderLevel f;
    f.MakeRotator();
    static_cast<Missile&>(f.MakeRider(EntityTypes::Missile, {1000.0f, 1520.0f})).dormant = true;
    f.StartWithBeam();
    Rotator& r = f.Live<Rotator>();
    Missile& m = f.Live<Missile>();
    ASSERT_EQ(r.carriedActors.size(), 1u);
    const Vec2 before = m.position;
    f.Pass();
    EXPECT_NE(m.position, before) << "carried while dormant";
    m.dormant = false;
    f.Pass();
    EXPECT_TRUE(r.carriedActors.empty());
    // Flying on its own now: the turning platform never takes it on again.
    f.Pass(5);
    EXPECT_TRUE(r.carriedActors.empty());
    EXPECT_FALSE(m.dormant);
}

TEST(Riders, TheShipAndAFleaAreTakenOnOnceAndTheShipDroppedAfterTakeOff)
{
    RiderLevel f;
    f.MakeRotator();
    f.StartWithBeam();
    Rotator& r = f.Live<Rotator>();
    Beam& beam = f.LiveBeam(0);
    f.StandShipOn(beam, {1000.0f, 1487.0f});
    EXPECT_FALSE(r.OnContact(&f.ship));
    EXPECT_FALSE(r.OnContact(&f.ship));
    EXPECT_EQ(f.ship.carrier, &r);
    EXPECT_EQ(r.carriedActors.size(), 1u);

    Flea flea;
    flea.landed = true;
    flea.landedBeam = &beam;
    EXPECT_FALSE(r.OnContact(&flea));
    flea.carrier = nullptr;
    EXPECT_FALSE(r.OnContact(&flea)) << "already listed: not twice";
    EXPECT_EQ(flea.carrier, &r);
    EXPECT_EQ(r.carriedActors.size(), 2u);
    Flea elsewhere;
    Beam other = beam;
    elsewhere.landed = true;
    elsewhere.landedBeam = &other; // an equal beam that the platform does not carry
    r.OnContact(&elsewhere);
    EXPECT_EQ(elsewhere.carrier.Get(), nullptr);

    const float angleBefore = f.ship.angle;
    f.Pass();
    EXPECT_NE(f.ship.angle, angleBefore) << "the ship turns with the platform";
    f.ship.landed = false; // take-off
    f.Pass();
    EXPECT_EQ(f.ship.carrier.Get(), nullptr);
    EXPECT_EQ(r.carriedActors.size(), 1u);
}

long Listed(const Rotator& r, const Entity& e)
{
    return std::count_if(r.carriedActors.begin(), r.carriedActors.end(),
                         [&](const EntityRef<>& rider) { return rider.Get() == &e; });
}

// A flea falling onto the turning beam lands, is taken on once by its own
// landing and turns with the platform; its jump takes it off the list and
// clears its carrier, and from then on the platform moves it no more.
TEST(Riders, AFleaLandingOnACarriedBeamRidesUntilItJumps)
{
    RiderLevel f;
    f.models.models["Flea"].circles = {HullCircle(6.0f, 0, 0)};
    f.MakeRotator();
    f.StartWithBeam();
    f.game.gravity = {0.0f, 0.04f};
    f.PlaceShip({2500.0f, 1200.0f}, 0.0f); // far out of its gun's range
    Rotator& r = f.Live<Rotator>();
    ASSERT_TRUE(r.carriedActors.empty());
    auto* falling = static_cast<Flea*>(CreateEntity(EntityTypes::Flea));
    falling->Spawn(1000.0f, 1470.0f, 0.0f);
    falling->landed = false;
    f.game.entities.Append(falling);
    Flea& flea = *falling;

    for (int tick = 0; tick < 100 && !flea.landed; ++tick)
        f.Pass();
    ASSERT_TRUE(flea.landed) << "never met the beam";
    ASSERT_EQ(flea.landedBeam, &f.LiveBeam(0));
    EXPECT_EQ(flea.carrier.Get(), &r);
    EXPECT_EQ(Listed(r, flea), 1);

    // Riding: it keeps its distance from the centre while its bearing turns
    // with the platform.
    const Vec2 c = r.position;
    const Vec2 before = flea.position - c;
    f.Pass(10);
    const Vec2 after = flea.position - c;
    EXPECT_NEAR(Length(after), Length(before), 0.5f);
    EXPECT_GT(std::fabs(std::atan2(after.y, after.x) - std::atan2(before.y, before.x)), 0.2f);
    EXPECT_EQ(Listed(r, flea), 1)
        << "its standing ticks do not list it again";

    flea.restTimer = 0; // its rest is over: the next update jumps
    f.Pass();
    EXPECT_FALSE(flea.landed);
    EXPECT_EQ(flea.carrier.Get(), nullptr);
    EXPECT_EQ(flea.landedBeam, nullptr);
    EXPECT_TRUE(r.carriedActors.empty());
    // In the air it moves by its own velocity and gravity only.
    const Vec2 v = flea.velocity;
    const Vec2 from = flea.position;
    f.Pass();
    ASSERT_FALSE(flea.landed);
    const Vec2 expected = (v + f.game.gravity) * 0.9875f;
    EXPECT_NEAR(flea.position.x, from.x + expected.x, 1e-3f);
    EXPECT_NEAR(flea.position.y, from.y + expected.y, 1e-3f);
}

TEST(Riders, APlatformRemovedByTheBlastLeavesItsPartnersReadingNull)
{
    RiderLevel f;
    f.MakeRotator("LIFT");
    auto* m = new Mover();
    m->def.area = Rect(40.0f, 20.0f, 2000.0f, 2500.0f);
    SetName(m->def.name, "LIFT");
    SetName(m->def.targetNameA, "A");
    SetName(m->def.targetNameB, "B");
    m->def.loops = true;
    m->def.travelTime = 1.0f;
    f.Add(m, {2000.0f, 2500.0f});
    f.AddTarget("A", {2000.0f, 2500.0f});
    f.AddTarget("B", {2000.0f, 2300.0f});
    auto* s = new Switch();
    SetName(s->name, "LIFT");
    f.Add(s, {2500.0f, 2800.0f});
    f.StartWithBeam();
    Rotator& r = f.Live<Rotator>();
    Mover& mover = f.Live<Mover>();
    ASSERT_EQ(r.target.Get(), &mover);
    mover.Activate(nullptr); // stop it, then the switch starts it
    f.Live<Switch>().Damage(1.0f);
    ASSERT_TRUE(mover.active);
    f.Pass(10);
    // The blast kills what the view holds; the rotator lies out of view.
    mover.dead = true;
    f.Live<Switch>().dead = true;
    f.Pass();
    f.Pass();
    EXPECT_EQ(r.target.Get(), nullptr);
    EXPECT_EQ(f.CountEntities<Mover>(), 0);
    const Vec2 at = r.position;
    f.Pass(50);
    EXPECT_EQ(r.position, at) << "works in place";
}

} // namespace
