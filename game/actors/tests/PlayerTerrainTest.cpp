#include "ShipFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The game's log as the ship writes it: enabled, its console captured.
struct ShipLog {
    ShipLog()
    {
        Log::Instance().SetEnabled(true);
        testing::internal::CaptureStdout();
    }
    std::string Text() { return testing::internal::GetCapturedStdout(); }
};

// A flat floor at y 1000 (beams 250 long from x 0 to 2000).
struct Floor : ShipFixture {
    Floor()
    {
        StartFlatLevel(2000.0f, 8);
        host.audio.calls.clear();
    }
};

TEST(PlayerTerrain, SinkingOntoAFloorAtThreeDegreesLands)
{
    Floor f;
    f.PlaceShip({1125.0f, 986.0f}, 3.0f, {0.0f, 1.0f});
    ShipLog log;
    f.ShipTick();
    const std::string text = log.Text();
    EXPECT_TRUE(f.ship.landed);
    EXPECT_EQ(f.ship.landedBeam, &f.game.map.liveBeams[4]);
    EXPECT_EQ(f.ship.angle, 0.0f);
    EXPECT_EQ(f.ship.previousAngle, 0.0f);
    EXPECT_EQ(f.ship.velocity, (Vec2{}));
    EXPECT_EQ(f.ship.legAngle, 0.0f);
    EXPECT_FLOAT_EQ(f.ship.position.y, 987.0f); // 13 above the beam
    EXPECT_EQ(f.ship.hull, 100.0f);
    EXPECT_NE(text.find("Landed!\n"), std::string::npos);
    EXPECT_EQ(f.Plays(SampleId::PlayerLand) + f.Plays(SampleId::PlayerLand2), 1);
}

TEST(PlayerTerrain, TheLandingTurnsToTheNearestAngleAlongTheBeam)
{
    struct Row {
        float angle;
        float landed;
    };
    for (const Row& row : {Row{3.0f, 0.0f}, Row{350.0f, 360.0f}, Row{355.0f, 360.0f}, Row{8.0f, 0.0f}}) {
        Floor f;
        f.PlaceShip({1125.0f, 986.0f}, row.angle, {0.0f, 1.0f});
        f.ShipTick();
        ASSERT_TRUE(f.ship.landed) << row.angle;
        EXPECT_NEAR(f.ship.angle, row.landed, 1e-3f) << row.angle;
    }
}

// A pad 80 long at y 1125 that lies in one cell only (every cell that holds
// a beam reports it, so a beam in two of the ship's cells is met twice).
struct Pad : ShipFixture {
    Pad() { StartLevelOf({MakeBeam({0, 0}, {2000, 0}), MakeBeam({1085, 125}, {1165, 125})}); }
};

TEST(PlayerTerrain, AtFifteenDegreesTheShipCrashes)
{
    Pad f;
    f.PlaceShip({1125.0f, 1111.0f}, 15.0f, {0.0f, 1.0f});
    f.ShipTick();
    EXPECT_FALSE(f.ship.landed);
    // The bounce turns (0, 1.04) up; the crash costs |v| + 3 and pushes 1
    // unit and 0.1 of speed out of the floor.
    EXPECT_FLOAT_EQ(f.ship.hull, 95.96f);
    EXPECT_NEAR(f.ship.position.y, 1111.0f + 1.04f - 1.0f, 1e-3f);
    EXPECT_NEAR(f.ship.velocity.y, (-1.04f - 0.1f) * 0.9885f, 1e-5f);
    EXPECT_EQ(f.ship.hitCooldown, 50);
    EXPECT_EQ(f.ship.hitsThisTick, 1);
    EXPECT_EQ(f.ship.angle, 15.0f);
    EXPECT_EQ(f.Plays(SampleId::PlayerCrash1) + f.Plays(SampleId::PlayerCrash2) + f.Plays(SampleId::PlayerCrash3), 1);
}

TEST(PlayerTerrain, AFootOverTheEndOfAPadScrapesWithoutAPush)
{
    ShipFixture f;
    // A pad ending under the ship's centre, in one cell.
    f.StartLevelOf({MakeBeam({0, 0}, {2000, 0}), MakeBeam({1070, 125}, {1125, 125})});
    f.PlaceShip({1125.0f, 1111.0f}, 8.0f, {0.0f, 1.0f});
    f.ShipTick();
    EXPECT_FALSE(f.ship.landed);
    EXPECT_FLOAT_EQ(f.ship.hull, 95.96f);
    EXPECT_NEAR(f.ship.position.y, 1111.0f + 1.04f, 1e-3f); // no push out of the beam
    EXPECT_EQ(f.ship.hitsThisTick, 1);
}

TEST(PlayerTerrain, AHitAtZeroSpeedBouncesAlongTheShipsAxis)
{
    Pad f;
    f.game.gravity = {};
    f.PlaceShip({1125.0f, 1113.0f}, 15.0f);
    f.ShipTick();
    EXPECT_TRUE(std::isfinite(f.ship.velocity.x) && std::isfinite(f.ship.velocity.y));
    EXPECT_FLOAT_EQ(f.ship.hull, 96.0f); // |S| + 3
    EXPECT_LT(f.ship.velocity.y, 0.0f);  // S bounced off the floor
}

TEST(PlayerTerrain, TheEleventhImpactOfATickDestroysTheShip)
{
    for (int copies : {10, 11}) {
        ShipFixture f;
        // A short wall that only the lower hull circle meets, in one cell.
        std::vector<Beam> beams = {MakeBeam({0, 0}, {2000, 0}), MakeBeam({0, -400}, {10, -400})};
        for (int i = 0; i < copies; ++i)
            beams.push_back(MakeBeam({1125, -270}, {1125, -265}));
        f.StartLevelOf(beams);
        f.game.gravity = {};
        f.PlaceShip({1125.0f, 1125.0f}, 0.0f);
        f.ShipTick();
        EXPECT_EQ(f.ship.hitsThisTick, copies);
        EXPECT_EQ(f.ship.dying, copies > 10) << copies;
    }
}

TEST(PlayerTerrain, AStandingShipTouchingItsOwnBeamKeepsStill)
{
    Floor f;
    f.PlaceShip({1125.0f, 986.0f}, 0.0f, {0.0f, 1.0f});
    f.ShipTick();
    ASSERT_TRUE(f.ship.landed);
    const Vec2 parked = f.ship.position;
    for (int i = 0; i < 1000; ++i)
        f.ShipTick();
    EXPECT_TRUE(f.ship.landed);
    EXPECT_EQ(f.ship.position, parked);
    EXPECT_EQ(f.ship.hull, 100.0f);
    EXPECT_EQ(f.ship.velocity, (Vec2{}));
}

TEST(PlayerTerrain, AShipParkedOnATiltedPadNeverDiesOfRounding)
{
    for (int tilt = 1; tilt <= 5; ++tilt) {
        ShipFixture f;
        const float r = static_cast<float>(tilt) * kDegToRad;
        const Vec2 d{std::cos(r), std::sin(r)};
        // The pad runs 300 along the tilt; a ledge far away widens the world.
        f.StartLevelOf({MakeBeam({0, 0}, 300.0f * d), MakeBeam({1500, -200}, {1600, -200})});
        const Beam& pad = f.game.map.liveBeams[0];
        const Vec2 middle = 0.5f * (pad.a + pad.b);
        f.PlaceShip(middle + 14.0f * pad.normal, static_cast<float>(tilt), -0.5f * pad.normal);
        for (int i = 0; i < 20 && !f.ship.landed; ++i)
            f.ShipTick();
        ASSERT_TRUE(f.ship.landed) << tilt;
        for (int i = 0; i < 1000; ++i)
            f.ShipTick();
        EXPECT_TRUE(f.ship.landed) << tilt;
        EXPECT_EQ(f.ship.hull, 100.0f) << tilt;
        EXPECT_FALSE(f.ship.dying) << tilt;
    }
}

TEST(PlayerTerrain, TheLegsFollowTheGroundBelow)
{
    Floor f;
    f.game.gravity = {};
    f.PlaceShip({1125.0f, 960.0f}, 0.0f);
    f.ShipTick(); // finds the ground within 50
    EXPECT_TRUE(f.ship.nearGround);
    EXPECT_EQ(f.ship.legAngle, -90.0f); // the legs follow the previous tick
    f.ShipTick();
    EXPECT_EQ(f.ship.legAngle, -80.0f);
    f.PlaceShip({1125.0f, 800.0f}, 0.0f);
    f.ShipTick(); // still out by the previous tick's ground
    EXPECT_FALSE(f.ship.nearGround);
    EXPECT_EQ(f.ship.legAngle, -70.0f);
    f.ShipTick();
    EXPECT_EQ(f.ship.legAngle, -75.0f);
}

} // namespace
