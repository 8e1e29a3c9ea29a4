#include "PlayModeFixture.h"
#include "SaveGame.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

// A title over a data folder holding the Landfall map and a pack naming it.
struct Title : PlayFixture {
    MapTestDir dir;

    Title()
    {
        std::filesystem::copy_file(std::string(ZELV_DEMO_DATA_DIR) + "/Data/Maps/Landfall.map",
                                   dir.Path("Data/Maps/Landfall.map"));
        game.dataRoot = dir.Root();
        game.packMaps = {"Landfall"};
        game.input.SetDefaultKeys();
        game.player->ResetStats();
        game.mode = GameMode::Title;
    }

    bool PressFire()
    {
        game.input.OnButton(game.input.Button(ButtonFire).primary, true);
        return game.StartFromTitleStandIn();
    }

    bool LoadedGeneratorMusic() const
    {
        const auto& calls = host.audio.calls;
        return std::find(calls.begin(), calls.end(), "LoadMusic(Data/Sound/Dizura Zeve.mp3)") != calls.end();
    }
};

TEST(TitleFireStandIn, WithoutASavedGameFireStartsANewOne)
{
    Title f;
    EXPECT_FALSE(f.game.StartFromTitleStandIn()); // nothing pressed
    ASSERT_TRUE(f.PressFire());
    EXPECT_EQ(f.game.mode, GameMode::Play);
    EXPECT_STREQ(f.game.mapName, "Landfall");
    EXPECT_EQ(f.game.player->lives, 3);
    EXPECT_TRUE(f.LoadedGeneratorMusic());
    EXPECT_TRUE(SaveGameExists(f.dir.Root())); // the map load saves
    // Held, it does nothing more.
    f.game.input.AdvanceButtons();
    EXPECT_FALSE(f.game.StartFromTitleStandIn());
}

TEST(TitleFireStandIn, OnlyTheTitleAnswers)
{
    Title f;
    f.game.mode = GameMode::HiScores;
    EXPECT_FALSE(f.PressFire());
    EXPECT_EQ(f.game.mode, GameMode::HiScores);
    EXPECT_FALSE(SaveGameExists(f.dir.Root()));
}

TEST(TitleFireStandIn, ASavedGameIsContinued)
{
    Title f;
    f.game.mapIndex = 0;
    std::snprintf(f.game.mapName, sizeof f.game.mapName, "%s", "Landfall");
    f.game.player->score = 4321;
    f.game.player->lives = 1;
    f.game.SaveGame();
    f.game.player->ResetStats();
    ASSERT_TRUE(f.PressFire());
    EXPECT_EQ(f.game.mode, GameMode::Play);
    EXPECT_EQ(f.game.player->score, 4321);
    EXPECT_EQ(f.game.player->lives, 1);
}

TEST(TitleFireStandIn, ASavedGameThatDoesNotLoadIsLeftAlone)
{
    Title f;
    const std::filesystem::path save = f.dir.Path("Data/SaveGame.sav");
    std::ofstream(save, std::ios::binary) << "not a saved game";
    EXPECT_FALSE(f.PressFire());
    EXPECT_EQ(f.game.mode, GameMode::Title);
    std::ifstream in(save, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "not a saved game");
}

} // namespace
