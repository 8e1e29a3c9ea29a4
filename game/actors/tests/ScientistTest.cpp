#include "MissionFixture.h"

#include "Scientist.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// The floor is made of beams 400 long at y 1000: x 800 to 1200 is one beam.
struct ScientistLevel : MissionFixture {
    Scientist* Make(Vec2 at, bool facing, std::int32_t walkTimer)
    {
        auto* s = Place<Scientist>(EntityTypes::Scientist, at);
        s->PostLoad();
        s->facing = facing;
        s->walkTimer = walkTimer;
        return s;
    }

    // The ship landed on the beam at p.
    void LandShipOn(Beam* beam, Vec2 p)
    {
        PlaceShip(p, 0.0f);
        ship.landed = true;
        ship.landedBeam = beam;
    }
};

TEST(Scientist, FindsTheBeamUnderItOrLogsThatThereIsNone)
{
    ScientistLevel f;
    GameLogText log;
    Scientist* on = f.Make({1000, 1003}, true, 400);
    Scientist* off = f.Make({1000, 900}, true, 400);
    const std::string text = log.Text();
    EXPECT_NE(text.find("Scientist found surface.\n"), std::string::npos);
    EXPECT_NE(text.find("Scientist without a surface!\n"), std::string::npos);
    ASSERT_NE(on->surface, nullptr);
    EXPECT_EQ(on->surface->a.x, 800.0f);
    EXPECT_EQ(off->surface, nullptr);
    off->Update();
    EXPECT_EQ(off->position.x, 1000.0f) << "never walks";
    EXPECT_EQ(f.game.scientistCount, 2);
}

TEST(Scientist, RescuedBelowSixteenUnitsFromTheLandedShip)
{
    for (float gap : {15.9f, 16.0f}) {
        ScientistLevel f;
        Scientist* s = f.Make({1000, 1000}, true, 50); // standing
        f.LandShipOn(s->surface, {1000 + gap, 1000});
        f.ship.hull = 50.0f;
        const std::int32_t score = f.ship.score;
        s->Update();
        const bool rescued = gap < 16.0f;
        EXPECT_EQ(s->dead, rescued) << gap;
        EXPECT_EQ(f.ship.scientistsRescued, rescued ? 1 : 0) << gap;
        EXPECT_EQ(f.ship.score, score + (rescued ? 250 : 0)) << gap;
        EXPECT_EQ(f.Plays(SampleId::Scientist), rescued ? 1 : 0) << gap;
        s->Die(); // already rescued: nothing more
        EXPECT_EQ(f.ship.scientistsRescued, 1) << gap;
        EXPECT_EQ(f.ship.score, score + 250) << gap;
    }
}

TEST(Scientist, RescueRepairsTheHullByFifteenUpToFull)
{
    const std::pair<float, float> cases[] = {{90.0f, 100.0f}, {99.5f, 100.0f}, {50.0f, 65.0f}, {12.345f, 27.34f}};
    for (const auto& [before, after] : cases) {
        ScientistLevel f;
        Scientist* s = f.Make({1000, 1000}, true, 50);
        f.LandShipOn(s->surface, {1005, 1000});
        f.ship.hull = before;
        s->Update();
        EXPECT_NEAR(f.ship.hull, after, 1e-4f) << before;
    }
}

TEST(Scientist, WalksAQuarterUnitATickOrHalfWhenTheShipLandedOnItsBeam)
{
    struct Case {
        bool shipOnBeam;
        bool shipOnOtherBeam;
        float perTick;
    };
    for (const Case c : {Case{false, false, 0.25f}, Case{true, false, 0.5f}, Case{false, true, 0.25f}}) {
        ScientistLevel f;
        Scientist* s = f.Make({1000, 1000}, true, 400);
        if (c.shipOnBeam)
            f.LandShipOn(s->surface, {1150, 1000});
        if (c.shipOnOtherBeam) {
            // The ship stands on the next beam, behind the scientist's back.
            Beam* other = nullptr;
            for (Beam& b : f.game.map.liveBeams)
                if (b.a.x == 400.0f)
                    other = &b;
            ASSERT_NE(other, nullptr);
            f.LandShipOn(other, {700, 1000});
        }
        for (int i = 0; i < 10; ++i)
            s->Update();
        EXPECT_NEAR(s->position.x, 1000.0f + 10 * c.perTick, 1e-3f) << c.perTick;
        EXPECT_TRUE(s->facing);
    }
}

TEST(Scientist, TurnsTwoUnitsFromTheEndItWalksToward)
{
    for (bool towardB : {true, false}) {
        ScientistLevel f;
        // 2.5 units from the end: the second step brings it to 2.
        const float start = towardB ? 1197.5f : 802.5f;
        // 4.5 above the floor: only its own beam is within the 5-unit search.
        Scientist* s = f.Make({start, 1004.5f}, towardB, 400);
        ASSERT_EQ(s->surface->a.x, 800.0f);
        s->Update();
        EXPECT_EQ(s->facing, towardB) << "2.25 from the end";
        s->Update();
        EXPECT_EQ(s->facing, !towardB) << "2 from the end";
        for (int i = 0; i < 20; ++i)
            s->Update();
        EXPECT_NEAR(s->position.x, towardB ? 1193.0f : 807.0f, 1e-3f) << "walks back";
    }
}

TEST(Scientist, StandsForTheLast99TicksOfAPeriod)
{
    ScientistLevel f;
    Scientist* s = f.Make({1000, 1000}, true, 100);
    f.LandShipOn(s->surface, {1100, 1000});
    s->Update(); // timer 99: stands
    EXPECT_EQ(s->position.x, 1000.0f);
    int still = 1;
    while (s->walkTimer > 1) {
        s->Update();
        ++still;
    }
    EXPECT_EQ(s->position.x, 1000.0f);
    EXPECT_EQ(still, 99);
    s->Update(); // a new period of 250 to 749 ticks starts walking
    EXPECT_GE(s->walkTimer, 250);
    EXPECT_LE(s->walkTimer, 749);
}

TEST(Scientist, AClaimedScientistCanBeRescued)
{
    ScientistLevel f;
    Scientist* s = f.Make({1000, 1000}, true, 50);
    s->claimed = true;
    f.LandShipOn(s->surface, {1010, 1000});
    s->Update();
    EXPECT_TRUE(s->dead);
    EXPECT_EQ(f.ship.scientistsRescued, 1);
}

TEST(Scientist, ShotsPassThroughAndDoNoHarm)
{
    ScientistLevel f;
    Scientist* s = f.Make({1000, 990}, true, 50);
    s->Damage(100.0f);
    EXPECT_FALSE(s->dead);
    EXPECT_FALSE(s->OnContact(&f.ship));
    Entity* solid = f.Place<Entity>(EntityTypes::Generator, {2000, 990});
    EXPECT_EQ(f.ShotVictimAt({1000, 990}), nullptr);
    EXPECT_EQ(f.ShotVictimAt({2000, 990}), solid) << "the same search finds a solid actor";
    EXPECT_FALSE(s->dead);
    EXPECT_EQ(f.ship.scientistsRescued, 0);
}

TEST(Scientist, DrawsTheWalkingOrStandingFrameMirroredByFacing)
{
    struct Case {
        std::int32_t walkTimer;
        float animPhase;
        bool facing;
        Rgb colour; // of the frame's stand-in model
    };
    const Case cases[] = {{400, 0.5f, true, {1, 0, 0}},  {400, 1.5f, true, {0, 1, 0}},
                          {50, 0.5f, false, {0, 0, 1}},  {50, 1.95f, false, {1, 1, 0}},
                          {100, 0.0f, false, {1, 0, 0}}, {99, 1.0f, true, {1, 1, 0}}};
    for (const Case& c : cases) {
        ScientistLevel f;
        Scientist* s = f.Make({1000, 1000}, c.facing, c.walkTimer);
        s->animPhase = c.animPhase;
        const auto vertices = f.DrawOnce(*s);
        ASSERT_FALSE(vertices.empty()) << c.walkTimer;
        EXPECT_EQ(vertices.front().r, c.colour.r) << c.walkTimer << " " << c.animPhase;
        EXPECT_EQ(vertices.front().g, c.colour.g) << c.walkTimer << " " << c.animPhase;
        EXPECT_EQ(vertices.front().b, c.colour.b) << c.walkTimer << " " << c.animPhase;
        double x = 0.0;
        for (const auto& v : vertices)
            x += v.x;
        EXPECT_EQ(x > 0.0, c.facing) << "mirrored when facing A";
    }
}

} // namespace
