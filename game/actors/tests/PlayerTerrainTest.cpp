#include "ShipFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(PlayerTerrain, AFootOverTheEndOfAPadScrapesWithoutAPushAndSinksNoFurther)
{
    ShipFixture f;
    // A pad ending under the ship's centre, in one cell.
    f.StartLevelOf({MakeBeam({0, 0}, {2000, 0}), MakeBeam({1070, 125}, {1125, 125})});
    f.PlaceShip({1125.0f, 1111.0f}, 8.0f, {0.0f, 1.0f});
    f.ShipTick();
    EXPECT_FALSE(f.ship.landed);
    EXPECT_FLOAT_EQ(f.ship.hull, 95.96f);
    // No push out of the beam, but the 1.04 the tick moved it in is taken back.
    EXPECT_FLOAT_EQ(f.ship.position.y, 1111.0f);
    EXPECT_EQ(f.ship.hitsThisTick, 1);
}

// A ship that cannot land where it rests (one foot over the end of the pad)
// scrapes, but gravity never draws it through the beam: it stays where the
// first touch left it, tick after tick.
TEST(PlayerTerrain, AShipRestingOnABeamItCannotLandOnNeverSinksThroughIt)
{
    ShipFixture f;
    f.StartLevelOf({MakeBeam({0, 0}, {2000, 0}), MakeBeam({1070, 125}, {1125, 125})});
    f.PlaceShip({1125.0f, 1111.0f}, 0.0f, {0.0f, 0.5f});
    float deepest = 0.0f;
    for (int i = 0; i < 2000 && !f.ship.dying; ++i) {
        f.ShipTick();
        EXPECT_FALSE(f.ship.landed);
        deepest = std::max(deepest, f.ship.position.y);
    }
    EXPECT_LE(deepest, 1111.5f); // the pad is at 1125, the hull reaches 13.6 below the centre
}

// Upside down (the cross axis against the beam's direction) the tail does
// not face the rock: every touch is a crash, never a landing turned to 180
// nor a scrape (the touch of an upright ship whose feet miss the beam), and
// no angle is ever not a number (at exactly 180 over a level floor the old
// measure through world coordinates came out NaN).
TEST(PlayerTerrain, AnUpsideDownTouchIsACrashAtEveryAngleNearInverted)
{
    for (float angle : {180.0f, 172.0f, 185.0f, 191.0f, 169.5f}) {
        Floor f;
        f.PlaceShip({1125.0f, 986.0f}, angle, {0.0f, 1.0f});
        ShipLog log;
        f.ShipTick();
        const std::string text = log.Text();
        EXPECT_FALSE(f.ship.landed) << angle;
        EXPECT_EQ(f.ship.angle, angle);
        EXPECT_EQ(text.find("Landed!"), std::string::npos) << angle;
        EXPECT_EQ(text.find("NaN"), std::string::npos) << angle;
        EXPECT_LT(f.ship.hull, 100.0f) << angle; // a crash and a scrape alike
        // What a crash does and a scrape does not: each touch (every circle
        // in every cell that holds the floor) pushes the ship 1 unit and
        // 0.1 of speed out along the normal. A scrape only takes back the
        // 1.04 the tick moved the ship in, and keeps the bounced speed.
        const int touches = f.ship.hitsThisTick;
        EXPECT_GE(touches, 1) << angle;
        EXPECT_NEAR(f.ship.position.y, 986.0f + 1.04f - static_cast<float>(touches), 1e-3f) << angle;
        EXPECT_NEAR(f.ship.velocity.y, (-1.04f - 0.1f * static_cast<float>(touches)) * 0.9885f, 1e-5f) << angle;
    }
}

// Dropping fast, an inverted ship sinks past the floor far enough that its
// feet (9 above its centre) touch it: only its orientation keeps it from
// landing there upside down, to sink through the floor as it once did.
TEST(PlayerTerrain, AnInvertedShipDroppingFastOntoTheFloorCrashesAndNeverLands)
{
    for (float speed : {12.0f, 16.0f, 20.0f}) {
        Floor f;
        f.PlaceShip({1125.0f, 990.0f}, 180.0f, {0.0f, speed});
        ShipLog log;
        f.ShipTick();
        EXPECT_FALSE(f.ship.landed) << speed;
        EXPECT_EQ(log.Text().find("Landed!"), std::string::npos) << speed;
        EXPECT_EQ(f.ship.angle, 180.0f) << speed;
        EXPECT_LT(f.ship.velocity.y, 0.0f) << speed << ": bounced out";
    }
}

TEST(PlayerTerrain, AShipHeldUpsideDownAgainstTheFloorBreaksUp)
{
    Floor f;
    f.PlaceShip({1125.0f, 986.0f}, 180.0f, {0.0f, 1.0f});
    f.Press(ButtonBoost); // thrust pushes it down into the floor
    ShipLog log;
    int ticks = 0;
    for (; ticks < 3000 && !f.ship.dying; ++ticks) {
        f.ShipTick();
        ASSERT_FALSE(f.ship.landed);
        ASSERT_LT(f.ship.position.y, 1000.0f); // never through the floor
    }
    EXPECT_TRUE(f.ship.dying);
    EXPECT_EQ(log.Text().find("NaN"), std::string::npos);
}

// The floor under the ship is two beams in line: at a joint, and at the
// world's seam (x 0, where the last beam ends one world width away). Both
// feet stand on the floor, so the ship lands where it is.
TEST(PlayerTerrain, ATouchDownOnTheJointOfTwoBeamsInLineLands)
{
    for (float x : {1250.0f, 0.0f, 4.0f, 1996.0f}) {
        Floor f;
        f.PlaceShip({x, 984.0f}, 2.0f, {0.0f, 1.0f});
        ShipLog log;
        int landedAt = -1;
        for (int i = 0; i < 500; ++i) {
            f.ShipTick();
            if (landedAt < 0 && f.ship.landed)
                landedAt = i;
        }
        const std::string text = log.Text();
        EXPECT_TRUE(landedAt >= 0 && landedAt < 5) << x << " landed at tick " << landedAt;
        EXPECT_TRUE(f.ship.landed) << x;
        EXPECT_EQ(f.ship.angle, 0.0f) << x;
        EXPECT_FLOAT_EQ(f.ship.position.y, 987.0f) << x;
        EXPECT_NEAR(f.ship.position.x, x, 1e-3f) << x; // not moved to the far beam
        EXPECT_EQ(f.ship.hull, 100.0f) << x;
        // One landing: standing on one beam, the other one of the floor is
        // no new landing.
        EXPECT_EQ(text.find("Landed!"), text.rfind("Landed!")) << x;
        EXPECT_EQ(f.Plays(SampleId::PlayerLand) + f.Plays(SampleId::PlayerLand2), 1) << x;
    }
}

// Two beams in line met by one circle in one tick: the first bounce turns
// the velocity out of the floor and the second must not turn it back in.
TEST(PlayerTerrain, ACrashOnAJointBouncesOutOfTheFloor)
{
    ShipFixture f;
    // Two short beams meeting at x 1125, both in one cell.
    f.StartLevelOf({MakeBeam({0, 0}, {2000, 0}), MakeBeam({1085, 125}, {1125, 125}),
                    MakeBeam({1125, 125}, {1165, 125})});
    f.game.gravity = {};
    f.PlaceShip({1125.0f, 1110.0f}, 30.0f, {0.0f, 3.0f});
    f.ShipTick();
    EXPECT_FALSE(f.ship.landed);
    EXPECT_LT(f.ship.velocity.y, 0.0f);
    EXPECT_EQ(f.ship.hitsThisTick, 2); // a crash on each beam
}

// One impact sound where a touch of the terrain begins: none more while the
// ship rests on a beam it cannot land on (touching it every few ticks), a new
// one once it has been clear of the terrain for the hit cooldown.
TEST(PlayerTerrain, TheImpactSoundPlaysOncePerTouchNotEveryTick)
{
    ShipFixture f;
    f.StartLevelOf({MakeBeam({0, 0}, {2000, 0}), MakeBeam({1070, 125}, {1125, 125})});
    f.PlaceShip({1125.0f, 1111.0f}, 0.0f, {0.0f, 0.5f});
    f.host.audio.calls.clear();
    const auto impacts = [&f] {
        return f.Plays(SampleId::PlayerCrash1) + f.Plays(SampleId::PlayerCrash2) + f.Plays(SampleId::PlayerCrash3);
    };
    int touchingTicks = 0;
    for (int i = 0; i < 500; ++i) {
        f.ShipTick();
        touchingTicks += f.ship.hitsThisTick > 0 ? 1 : 0;
    }
    EXPECT_GT(touchingTicks, 20);
    EXPECT_EQ(impacts(), 1);

    // Clear of the terrain for the hit cooldown, then down again.
    f.game.gravity = {};
    f.PlaceShip({1125.0f, 900.0f}, 0.0f);
    for (int i = 0; i < Player::kHitCooldownTicks; ++i)
        f.ShipTick();
    EXPECT_EQ(impacts(), 1);
    f.PlaceShip({1125.0f, 1111.0f}, 0.0f, {0.0f, 0.5f});
    f.ShipTick();
    EXPECT_EQ(impacts(), 2);
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
