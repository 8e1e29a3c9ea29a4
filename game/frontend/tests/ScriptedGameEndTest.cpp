// Whole games played headless from recorded runs: the last ship lost with a
// qualifying score, a name typed, the continue prompt; and the pack's last
// map finished without one, straight to the game over.
#include "Game.h"
#include "HiScoreTable.h"
#include "InputScript.h"
#include "ConfigFile.h"
#include "KeyCode.h"
#include "Log.h"
#include "Menu.h"
#include "Player.h"
#include "Random.h"
#include "testing/HeadlessHost.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// A pointer the test moves, in window pixels.
struct PointingHost : HeadlessHost {
    using HeadlessHost::HeadlessHost;
    int mouseX = 0;
    int mouseY = 0;
    void MouseState(int& x, int& y) override
    {
        x = mouseX;
        y = mouseY;
    }
};

struct ScriptedRun {
    PointingHost host{7};
    MapTestDir dir;
    std::unique_ptr<Game> gamePtr;
    Game& game;

    ScriptedRun(const std::string& scriptText, std::vector<std::string> pack)
        : gamePtr(std::make_unique<Game>(host)), game(*gamePtr)
    {
        std::filesystem::copy_file(std::string(ZELV_DEMO_DATA_DIR) + "/Data/Maps/Landfall.map",
                                   dir.Path("Data/Maps/Landfall.map"));
        const std::string scriptPath = dir.Path("end.run").string();
        dir.WriteBytes("end.run", std::vector<std::uint8_t>(scriptText.begin(), scriptText.end()));
        EXPECT_TRUE(game.resources.LoadResources(ZELV_DEMO_DATA_DIR));
        game.models = &game.storeModels;
        game.dataRoot = dir.Root();
        game.packMaps = std::move(pack);
        game.viewWidth = 640;
        game.viewHeight = 480;
        game.UpdateScreenSize();
        game.input.SetDefaultKeys();
        SeedRandom(1000);
        InputScript script;
        std::string error;
        EXPECT_TRUE(ReadInputScript(scriptPath, script, error)) << error;
        game.inputScript = std::make_unique<InputScriptPlayer>(std::move(script));
        EXPECT_TRUE(game.NewGameOnMap(game.inputScript->Script().map));
    }

    // Ticks until the mode is reached (at most limit); answers whether it was.
    bool TicksUntil(GameMode mode, int limit)
    {
        for (int i = 0; i < limit && game.mode != mode; ++i)
            game.RunTick();
        return game.mode == mode;
    }
    // A key typed as the platform's event drain passes it on.
    void Type(KeyCode symbol, char character)
    {
        game.input.OnKey(symbol, static_cast<std::uint16_t>(static_cast<unsigned char>(character)), true);
        game.input.OnKey(symbol, static_cast<std::uint16_t>(static_cast<unsigned char>(character)), false);
        game.RunTick();
    }
    // One frame of one tick: the menus' fades move with the frames.
    void FrameTick()
    {
        game.AdvanceFades(game.tickLength);
        game.RunTick();
    }
    // A left click at a point of the 640 x 480 window, pressed for one tick.
    void ClickAt(float x, float y)
    {
        host.mouseX = static_cast<int>(x);
        host.mouseY = static_cast<int>(y);
        game.input.OnMouseButton(KeyCodes::MouseLeft, true);
        FrameTick();
        game.input.OnMouseButton(KeyCodes::MouseLeft, false);
        FrameTick();
    }
    // Frames until the top menu is no longer this one (at most limit).
    void FramesUntilGone(const Menu* menu, int limit)
    {
        for (int i = 0; i < limit && !game.menus.empty() && game.menus.back().get() == menu; ++i)
            FrameTick();
    }
};

// Wait out the spawn, take off from the pad, boost along the ground into the
// first hill and dive at the valley until the ship breaks.
const char* const kCrashRun = "map Landfall\n"
                              "199\n"
                              "4 CCW\n20 BOOST\n4 CW\n"
                              "433\n"
                              "2 BOOST\n"
                              "10 FIRE\n"
                              "12 CCW\n61 BOOST\n"
                              "13 CCW\n700 BOOST\n";

TEST(ScriptedGameEnd, TheLastShipLostWithAQualifyingScoreIsNamedThenTheContinuePrompt)
{
    ScriptedRun run(kCrashRun, {"Landfall", "Caverns"});
    Game& game = run.game;
    Player& ship = *game.player;
    ship.lives = 0;        // the last ship
    ship.score = 95000;    // beats the second entry
    ship.nextExtraLife = 100000;
    ASSERT_TRUE(run.TicksUntil(GameMode::HiScores, 6000))
        << static_cast<int>(game.mode) << " lives " << ship.lives << " y " << ship.position.y << " dying " << ship.dying;
    EXPECT_EQ(ship.lives, -1);
    EXPECT_EQ(game.newHiScoreRank, 1);
    ASSERT_TRUE(game.input.textEntry.active);
    for (const char c : std::string("ace"))
        run.Type(static_cast<KeyCode>(c), c);
    run.Type(KeyCodes::Return, '\r');
    EXPECT_STREQ(game.localHiScores.entries[1].name, "ACE");
    // Offered for the online table: YES, with no transport the send fails
    // at once and the failure box closes with DONE.
    ASSERT_EQ(game.menus.size(), 1u);
    const Menu* submit = game.menus.back().get();
    run.ClickAt(320, submit->Top() + 40.0f); // YES
    run.FramesUntilGone(submit, 100);
    ASSERT_FALSE(game.menus.empty());
    const Menu* failed = game.menus.back().get();
    ASSERT_NE(failed, submit);
    run.ClickAt(320, failed->Bottom() - 10.0f); // DONE
    run.FramesUntilGone(failed, 100);
    EXPECT_TRUE(game.menus.empty());
    EXPECT_EQ(game.mode, GameMode::HiScores);
    ASSERT_TRUE(run.TicksUntil(GameMode::ContinuePrompt, 400));
    EXPECT_FALSE(game.menus.empty());

    // The name is kept in the file a later run reads.
    ConfigFile laterRun;
    HiScoreTable read;
    Log quiet(run.dir.Path("quiet.txt").string(), std::cout);
    LoadLocalHiScores(read, laterRun, quiet, game.HiScoreFilePath());
    EXPECT_STREQ(read.entries[1].name, "ACE");
    EXPECT_EQ(read.entries[1].score, 95000);
}

// Wait out the spawn and boost out at the top of the map.
const char* const kLeaveRun = "map Landfall\n"
                              "199\n"
                              "3000 BOOST\n";

TEST(ScriptedGameEnd, FinishingThePacksLastMapWithoutAQualifyingScoreEndsInTheGameOver)
{
    ScriptedRun run(kLeaveRun, {"Landfall"});
    Game& game = run.game;
    // The countdown runs, as after the last generator, with time to spare.
    game.selfDestruct.running = true;
    game.selfDestruct.secondsLeft = 900.0f;
    game.bonusTime = 0;
    ASSERT_TRUE(run.TicksUntil(GameMode::PackEnd, 4000)) << game.player->position.y;
    EXPECT_LT(game.player->score, 10000);
    EXPECT_EQ(game.mapIndex, 1);
    ASSERT_TRUE(run.TicksUntil(GameMode::GameOver, 1100));
    EXPECT_FALSE(game.input.textEntry.active);
    ASSERT_TRUE(run.TicksUntil(GameMode::Title, 400));
}

} // namespace
