#include "PlatformFixture.h"

#include "BlueTurret.h"
#include "EntityFactory.h"
#include "Flea.h"
#include "Missile.h"

#include <gtest/gtest.h>

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
