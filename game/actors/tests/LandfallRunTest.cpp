// The demo's first map played headless from a recorded run, with the real
// models, the real map and the same script reader the program uses.
#include "DemoGame.h"
#include "Game.h"
#include "InputScript.h"
#include "MathUtil.h"
#include "Player.h"
#include "PlayerDebris.h"
#include "Debris.h"
#include "Random.h"
#include "testing/HeadlessHost.h"
#include "../../core/world/tests/support/MapTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

namespace {

struct LandfallRun {
    HeadlessHost host{7};
    MapTestDir dir;
    std::unique_ptr<Game> gamePtr;
    Game& game;

    explicit LandfallRun(const std::string& scriptText) : gamePtr(std::make_unique<Game>(host)), game(*gamePtr)
    {
        PrepareDemoGame(game, dir, {"Landfall"});
        const std::string scriptPath = dir.Path("landfall.run").string();
        dir.WriteBytes("landfall.run", std::vector<std::uint8_t>(scriptText.begin(), scriptText.end()));
        InputScript script;
        std::string error;
        EXPECT_TRUE(ReadInputScript(scriptPath, script, error)) << error;
        game.inputScript = std::make_unique<InputScriptPlayer>(std::move(script));
        EXPECT_TRUE(game.NewGameOnMap(game.inputScript->Script().map));
    }
};

// Wait out the spawn, drift onto the start pad, take off and fire, turn the
// nose along the ground and boost into the first hill, then dive at the
// valley until the ship breaks; the map restarts 300 ticks later.
const char* const kLandfallRun = "map Landfall\n"
                                 "199            # the spawn\n"
                                 "4 CCW\n20 BOOST\n4 CW\n"
                                 "433            # fall onto the pad and stand\n"
                                 "2 BOOST        # take off\n"
                                 "10 FIRE\n"
                                 "12 CCW\n61 BOOST    # along the ground into the hill\n"
                                 "13 CCW\n700 BOOST   # nose down at the valley\n";

TEST(LandfallRun, LandsFiresCrashesBreaksAndRespawns)
{
    LandfallRun run(kLandfallRun);
    Game& game = run.game;
    Player& ship = *game.player;
    Log::Instance().SetEnabled(true);
    testing::internal::CaptureStdout();

    int landedAt = -1;
    int shotsSeen = 0;
    int crashAt = -1;
    int deathAt = -1;
    int respawnAt = -1;
    float landedY = 0.0f;
    float padY = 0.0f;
    float landedAngle = -1.0f;
    float hullAfterCrash = 0.0f;
    float expectedHull = 0.0f;
    std::size_t debrisAtDeath = 0;
    int livesAfterRespawn = -1;
    for (int tick = 1; tick <= 2400 && respawnAt < 0; ++tick) {
        const Vec2 velocityBefore = ship.velocity;
        const float angleBefore = ship.angle;
        const float hullBefore = ship.hull;
        const bool boostHeld = game.input.Button(ButtonBoost).key.IsDown();
        const bool wasDying = ship.dying;
        game.RunTick();
        if (landedAt < 0 && ship.landed) {
            landedAt = tick;
            landedY = ship.position.y;
            padY = ship.landedBeam->a.y;
            landedAngle = ship.angle;
        }
        shotsSeen = std::max(shotsSeen, static_cast<int>(game.playerShots.size()));
        if (crashAt < 0 && ship.hull < hullBefore) {
            crashAt = tick;
            hullAfterCrash = ship.hull;
            // The speed of the impact: last tick's velocity, this tick's
            // thrust along the nose and gravity (a bounce keeps the speed).
            Vec2 f;
            Vec2 s;
            AngleToVectors(angleBefore, f, s);
            Vec2 v = velocityBefore;
            if (boostHeld)
                v -= 0.2f * s;
            v += game.gravity;
            expectedHull = Player::Hundredths(hullBefore - (Length(v) + 3.0f));
        }
        if (deathAt < 0 && ship.dying) {
            deathAt = tick;
            for (Entity* e : game.entities)
                debrisAtDeath += dynamic_cast<Debris*>(e) != nullptr ? 1 : 0;
        }
        if (wasDying && !ship.dying) {
            respawnAt = tick;
            livesAfterRespawn = ship.lives;
        }
    }
    const std::string log = testing::internal::GetCapturedStdout();

    ASSERT_GT(landedAt, 0) << "never landed";
    EXPECT_FLOAT_EQ(landedY, padY - 13.0f);
    EXPECT_EQ(landedAngle, 0.0f);
    EXPECT_NE(log.find("Landed!\n"), std::string::npos);
    EXPECT_GT(shotsSeen, 0);

    ASSERT_GT(crashAt, landedAt) << "never crashed after the landing";
    EXPECT_NEAR(hullAfterCrash, expectedHull, 0.0101f);

    ASSERT_GT(deathAt, crashAt) << "never broke";
    const ObjectModel* hull = game.models->FindModel("Player");
    ASSERT_NE(hull, nullptr);
    EXPECT_GE(debrisAtDeath, hull->beams.size());

    ASSERT_GT(respawnAt, 0) << "never respawned";
    EXPECT_EQ(respawnAt - deathAt, 300);
    EXPECT_EQ(livesAfterRespawn, 2);
    EXPECT_EQ(ship.position, (Vec2{0.0f, 400.0f}));
    const std::size_t afterDeath = log.rfind("Player Spawned!\n");
    EXPECT_NE(afterDeath, std::string::npos);
    EXPECT_GT(afterDeath, log.find("Landed!\n"));
}

// Turned over during the spawn and boosted at the ground: the ship touches
// the start pad upside down. That is a crash, never a landing: it takes
// damage touch after touch without sinking into the ground, breaks up, and
// the map starts again with a life less; no angle is ever not a number.
TEST(LandfallRun, AnUpsideDownTouchDownCrashesBreaksAndRespawns)
{
    LandfallRun run("map Landfall\n199\n26 CW\n1800 BOOST\n");
    Game& game = run.game;
    Player& ship = *game.player;
    Log::Instance().SetEnabled(true);
    testing::internal::CaptureStdout();
    int deathAt = -1;
    int respawnAt = -1;
    std::size_t debrisAtDeath = 0;
    bool finite = true;
    float lowest = 0.0f;
    for (int tick = 1; tick <= 2000 && respawnAt < 0; ++tick) {
        const bool wasDying = ship.dying;
        game.RunTick();
        finite = finite && std::isfinite(ship.angle) && std::isfinite(ship.position.x) &&
                 std::isfinite(ship.position.y);
        if (!ship.dying)
            lowest = std::max(lowest, ship.position.y);
        if (deathAt < 0 && ship.dying) {
            deathAt = tick;
            for (Entity* e : game.entities)
                debrisAtDeath += dynamic_cast<Debris*>(e) != nullptr ? 1 : 0;
        }
        if (wasDying && !ship.dying)
            respawnAt = tick;
    }
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(finite);
    EXPECT_EQ(log.find("NaN"), std::string::npos);
    EXPECT_EQ(log.find("Landed!"), std::string::npos);
    ASSERT_GT(deathAt, 0) << "never broke";
    EXPECT_GT(debrisAtDeath, 0u);
    ASSERT_GT(respawnAt, deathAt) << "never respawned";
    EXPECT_EQ(ship.lives, 2);
    // The start pad's floor is 1310 here: the hull never went through it.
    EXPECT_LT(lowest, 1310.0f);
}

} // namespace
