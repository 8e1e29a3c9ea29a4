#include "ShipFixture.h"
#include "ThrustParticles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A flat floor 2000 wide at y 1000 after the build; the world is 2000 high.
struct Flight : ShipFixture {
    Flight()
    {
        StartFlatLevel(2000.0f, 8);
        PlaceShip({1000.0f, 500.0f}, 0.0f);
        host.audio.calls.clear();
    }
};

TEST(PlayerFlight, OneTickOfThrustFromAFullTankLeaves29987)
{
    Flight f;
    f.Press(ButtonBoost);
    f.ShipTick(); // pressed: no thrust yet
    EXPECT_EQ(f.ship.fuel, 300.0f);
    const Vec2 before = f.ship.velocity;
    f.ShipTick(); // held
    EXPECT_EQ(f.ship.fuel, 299.87f);
    // Upright, the nose points up: thrust 0.2 up, gravity 0.04 down, drag.
    EXPECT_NEAR(f.ship.velocity.y, (before.y - 0.2f + 0.04f) * 0.9885f, 1e-6f);
    EXPECT_TRUE(f.ship.loopSoundsOn[0]);
    EXPECT_EQ(f.CallsStartingWith("Volume(0,128)"), 1);
}

TEST(PlayerFlight, ThrustWithATenthOfFuelStillPushesThenTheLimitEmptiesTheTank)
{
    Flight f;
    f.ship.fuel = 0.1f;
    f.Press(ButtonBoost);
    f.ShipTick();
    f.ShipTick();
    EXPECT_NEAR(f.ship.fuel, -0.02f, 1e-6f);
    EXPECT_LT(f.ship.velocity.y, 0.0f);
    const std::size_t exhaust = f.ship.thrustParticles->particles.size();
    EXPECT_GT(exhaust, 0u);
    f.ShipTick();
    // The limit step emptied the tank: no thrust, no new exhaust, the same spend.
    EXPECT_NEAR(f.ship.fuel, -0.12f, 1e-6f);
    EXPECT_EQ(f.ship.thrustParticles->particles.size(), exhaust);
}

TEST(PlayerFlight, SpinDecaysByASeventhAndStopsBelowTen)
{
    struct Row {
        float spin;
        float next;
    };
    const Row rows[] = {{20.0f, 18.6f}, {18.6f, 17.298f}, {-20.0f, -18.6f}, {10.7f, 0.0f}, {9.9f, 0.0f}};
    for (const Row& row : rows) {
        Flight f;
        f.ship.spin = row.spin;
        f.ShipTick();
        EXPECT_NEAR(f.ship.spin, row.next, 1e-4f) << row.spin;
    }
    // A spin of 20 keeps turning the ship until it falls below 10.
    Flight f;
    f.ship.spin = 20.0f;
    int ticks = 0;
    while (f.ship.spin != 0.0f && ticks < 100) {
        f.ShipTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 10); // 20 * 0.93^10 = 9.68
}

TEST(PlayerFlight, TurningPastFullCircleKeepsThePreviousAngleBeside)
{
    Flight f;
    f.PlaceShip({1000.0f, 500.0f}, 355.0f);
    f.Press(ButtonCcw);
    f.ShipTick();
    EXPECT_EQ(f.ship.angle, 355.0f); // pressed only
    f.ShipTick();
    EXPECT_FLOAT_EQ(f.ship.angle, 2.0f);
    EXPECT_FLOAT_EQ(f.ship.previousAngle, -5.0f);

    Flight g;
    g.PlaceShip({1000.0f, 500.0f}, 3.0f);
    g.Press(ButtonCw);
    g.ShipTick();
    g.ShipTick();
    EXPECT_FLOAT_EQ(g.ship.angle, 356.0f);
    EXPECT_FLOAT_EQ(g.ship.previousAngle, 363.0f);
}

TEST(PlayerFlight, TheCameraMovesOnlyByTheMotionLeavingItsBox)
{
    // 640 x 480: the box runs from x 200 to 600 and y 200 to 240 from the corner.
    struct Row {
        Vec2 position; // relative to the camera corner, before the move
        Vec2 velocity; // after gravity and before the move
        Vec2 cameraStep;
    };
    const Row rows[] = {
        {{300, 220}, {5, 0}, {0, 0}},     // inside
        {{605, 220}, {5, 0}, {5, 0}},     // right edge, moving away
        {{605, 220}, {-5, 0}, {0, 0}},    // right edge, moving back
        {{150, 220}, {-3, 0}, {-3, 0}},   // left
        {{300, 250}, {0, 2}, {0, 2}},     // below
        {{300, 150}, {0, -2}, {0, -2}},   // above
        {{300, 150}, {0, 2}, {0, 0}},     // above, falling back
    };
    for (const Row& row : rows) {
        Flight f;
        f.game.gravity = {}; // the rows give the velocity as it moves
        const Vec2 corner{500.0f, 300.0f};
        f.PlaceCamera(corner.x, corner.y);
        f.PlaceShip(corner + row.position - row.velocity, 0.0f, row.velocity);
        f.ShipTick();
        EXPECT_EQ(f.ship.camera - corner, row.cameraStep) << row.position.x << "," << row.position.y;
        EXPECT_EQ(f.ship.previousCamera, corner);
    }
}

TEST(PlayerFlight, TheCameraStaysWithinTheWorldsHeight)
{
    Flight f; // world 2000 high, view 480
    f.PlaceCamera(800.0f, 500.0f);
    f.ShipTick();
    EXPECT_FLOAT_EQ(f.ship.camera.y, 399.5f);
    EXPECT_FLOAT_EQ(f.ship.previousCamera.y, 399.5f);
    f.PlaceCamera(800.0f, -600.0f);
    f.ShipTick();
    EXPECT_EQ(f.ship.camera.y, -480.0f);
    EXPECT_EQ(f.ship.previousCamera.y, -480.0f);
}

TEST(PlayerFlight, CrossingTheLeftEdgeMovesShipAndCameraByTheWorldWidth)
{
    ShipFixture f;
    f.StartFlatLevel(800.0f, 2);
    f.game.gravity = {};
    f.PlaceShip({0.5f, 500.0f}, 0.0f, {-1.0f, 0.0f});
    f.PlaceCamera(-300.0f, 260.0f);
    f.ShipTick();
    EXPECT_FLOAT_EQ(f.ship.position.x, 799.5f);
    EXPECT_FLOAT_EQ(f.ship.previousPosition.x, 800.5f);
    EXPECT_FLOAT_EQ(f.ship.camera.x, 500.0f); // inside its box: only the wrap moved it
    EXPECT_FLOAT_EQ(f.ship.previousCamera.x, 500.0f);
}

TEST(PlayerFlight, WhileSpawningNoButtonOrGravityActsButTheShipStillRegisters)
{
    Flight f;
    f.ship.spawnTimer = 200;
    for (ButtonIndex b : {ButtonBoost, ButtonCw, ButtonShield, ButtonFire})
        f.Press(b);
    for (int i = 0; i < 10; ++i)
        f.ShipTick();
    EXPECT_EQ(f.ship.position, (Vec2{1000.0f, 500.0f}));
    EXPECT_EQ(f.ship.velocity, (Vec2{}));
    EXPECT_EQ(f.ship.angle, 0.0f);
    EXPECT_FALSE(f.ship.shieldOn);
    EXPECT_EQ(f.ship.fuel, 300.0f);
    EXPECT_TRUE(f.game.playerShots.empty());
    EXPECT_EQ(f.ship.spawnTimer, 190);
    EXPECT_FALSE(f.ship.sectors.empty());
}

TEST(PlayerFlight, TakeOffNeedsAFreshPress)
{
    Flight f;
    f.game.gravity = {};
    f.Press(ButtonBoost);
    f.ShipTick();
    Beam& floor = f.game.map.liveBeams[3];
    f.ship.landed = true;
    f.ship.landedBeam = &floor;
    f.ship.velocity = {};
    f.ShipTick(); // held through the landing
    EXPECT_TRUE(f.ship.landed);
    f.Release(ButtonBoost);
    f.ShipTick();
    f.ShipTick();
    f.Press(ButtonBoost);
    const Vec2 before = f.ship.position;
    f.ShipTick();
    EXPECT_FALSE(f.ship.landed);
    EXPECT_EQ(f.ship.landedBeam, nullptr);
    // Upright: a kick of 1 up, moved 2 at once and then by the velocity.
    EXPECT_NEAR(f.ship.position.y, before.y - 3.0f, 1e-4f);
    EXPECT_NEAR(f.ship.velocity.y, -0.9885f, 1e-6f);
}

TEST(PlayerFlight, HeldFireShootsOnTheSecondTickThenEverySeventh)
{
    Flight f;
    f.game.gravity = {};
    f.Press(ButtonFire);
    std::vector<int> shotTicks;
    for (int tick = 1; tick <= 16; ++tick) {
        const std::size_t before = f.game.playerShots.size();
        f.ShipTick();
        if (f.game.playerShots.size() > before)
            shotTicks.push_back(tick);
    }
    EXPECT_EQ(shotTicks, (std::vector<int>{2, 9, 16}));
    const Projectile& shot = *f.game.playerShots.front();
    EXPECT_EQ(shot.owner.Get(), &f.ship);
    // 5 ahead of the centre, 10 a tick along the nose.
    EXPECT_NEAR(shot.position.x, 1000.0f, 1e-4f);
    EXPECT_NEAR(shot.position.y, 495.0f, 1e-4f);
    EXPECT_NEAR(shot.velocity.x, 0.0f, 1e-5f);
    EXPECT_NEAR(shot.velocity.y, -10.0f, 1e-5f);
    EXPECT_EQ(f.Plays(SampleId::PlayerLaser), 3);
}

TEST(PlayerFlight, ShieldUpNeedsFuelAndSpendsEvenWithout)
{
    Flight f;
    f.Press(ButtonShield);
    f.ShipTick();
    f.ShipTick();
    EXPECT_TRUE(f.ship.shieldOn);
    EXPECT_EQ(f.ship.shieldAngle, 9.0f);
    // 299.8 in single precision is 299.7999...: cut to hundredths, 299.79.
    EXPECT_EQ(f.ship.fuel, 299.79f);
    f.Release(ButtonShield);
    f.ShipTick(); // released: still up this tick
    EXPECT_TRUE(f.ship.shieldOn);
    f.ShipTick();
    EXPECT_FALSE(f.ship.shieldOn);

    Flight g;
    g.ship.fuel = 0.0f;
    g.Press(ButtonShield);
    g.ShipTick();
    g.ShipTick();
    EXPECT_FALSE(g.ship.shieldOn);
    EXPECT_EQ(g.ship.shieldAngle, 9.0f);
    EXPECT_TRUE(g.ship.loopSoundsOn[1]);
}

} // namespace
