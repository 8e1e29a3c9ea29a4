// The ship touching down on the demo maps where they once kept it from
// landing or let it fall through: the floor under the spawn point, where
// the world's last and first beams meet, and an inverted drop onto Core's
// floor far from the origin.
#include "DemoGame.h"
#include "Game.h"
#include "InputScript.h"
#include "Log.h"
#include "Player.h"
#include "Debris.h"
#include "testing/HeadlessHost.h"
#include "../../core/world/tests/support/MapTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace {

struct DemoRun {
    HeadlessHost host{7};
    MapTestDir dir;
    std::unique_ptr<Game> gamePtr;
    Game& game;
    Player& ship;

    explicit DemoRun(const std::string& scriptText)
        : gamePtr(std::make_unique<Game>(host)), game(*gamePtr), ship(*game.player)
    {
        PrepareDemoGame(game, dir, {"Caverns", "Core"});
        dir.WriteBytes("run.script", std::vector<std::uint8_t>(scriptText.begin(), scriptText.end()));
        InputScript script;
        std::string error;
        EXPECT_TRUE(ReadInputScript(dir.Path("run.script").string(), script, error)) << error;
        game.inputScript = std::make_unique<InputScriptPlayer>(std::move(script));
        EXPECT_TRUE(game.NewGameOnMap(game.inputScript->Script().map));
    }

    // The y of the level floor that starts at x 0 (0 when there is none).
    float FloorAtTheSeam() const
    {
        for (const Beam& beam : game.map.liveBeams)
            if (beam.a.x == 0.0f && beam.a.y == beam.b.y)
                return beam.a.y;
        return 0.0f;
    }
};

// Left alone, the ship drops from its spawn point onto the floor where the
// last and first beams meet, lands there at once and stays, whole, never
// below the floor line.
TEST(DemoTouchDown, LeftAloneOnCavernsTheShipLandsUnderItsSpawnAndStays)
{
    DemoRun run("map Caverns\n6000\n");
    const float floor = run.FloorAtTheSeam();
    ASSERT_GT(floor, 0.0f) << "no level floor starts at x 0";
    Log::Instance().SetEnabled(true);
    testing::internal::CaptureStdout();
    int landedAt = -1;
    float lowest = 0.0f;
    for (int tick = 1; tick <= 6000; ++tick) {
        run.game.RunTick();
        lowest = std::max(lowest, run.ship.position.y);
        if (landedAt < 0 && run.ship.landed)
            landedAt = tick;
    }
    const std::string log = testing::internal::GetCapturedStdout();
    ASSERT_GT(landedAt, 0) << "never landed";
    EXPECT_NE(log.find("Landed!"), std::string::npos);
    EXPECT_EQ(log.find("Landed!"), log.rfind("Landed!"));
    EXPECT_TRUE(run.ship.landed);
    EXPECT_FALSE(run.ship.dying);
    EXPECT_EQ(run.ship.lives, 3);
    EXPECT_EQ(run.ship.hull, Player::kFullHull);
    EXPECT_FLOAT_EQ(run.ship.position.y, floor - 13.0f);
    EXPECT_LE(lowest, floor - 13.0f);
}

// Out of fuel and upside down, dropping onto Core's floor near x 6600: far
// from the origin the old orientation measure came out NaN ("Got a NaN
// angle!" twice). It is a crash, and with an empty tank a fatal one.
TEST(DemoTouchDown, AnEmptyInvertedShipDroppingOnCoresFloorCrashesWithoutANaN)
{
    DemoRun run("map Core\n700\n");
    for (int tick = 1; tick < 200; ++tick)
        run.game.RunTick();
    Player& ship = run.ship;
    ship.position = ship.previousPosition = {6591.0f, 1189.0f};
    ship.angle = ship.previousAngle = 180.0f;
    ship.velocity = {3.0f, 0.0f};
    ship.fuel = 0.0f;
    ship.camera = ship.position - run.game.screenCentre;
    Log::Instance().SetEnabled(true);
    testing::internal::CaptureStdout();
    int deathAt = -1;
    bool finite = true;
    for (int tick = 200; tick <= 450 && deathAt < 0; ++tick) {
        run.game.RunTick();
        finite = finite && std::isfinite(ship.angle) && std::isfinite(ship.position.x) &&
                 std::isfinite(ship.position.y);
        if (ship.dying)
            deathAt = tick;
    }
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(log.find("NaN"), std::string::npos);
    EXPECT_EQ(log.find("Landed!"), std::string::npos);
    EXPECT_TRUE(finite);
    EXPECT_GT(deathAt, 0) << "an empty ship's crash is fatal";
}

} // namespace
