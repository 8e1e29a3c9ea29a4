#include "FrontendFixture.h"
#include "LoadFailedDialog.h"
#include "MainMenu.h"

#include <gtest/gtest.h>

namespace {
const char* const kTitleMusicLoad = "LoadMusic(Data/Sound/DovirEzuded Away.mp3)";
}

TEST(TitleScreen, EnteringPlacesTheShipAtTheLevelsMiddleAndReleasesTheMouse)
{
    for (const int width : {640, 720, 854}) {
        for (const bool rotated : {false, true}) {
            Frontend f(width, rotated);
            f.game.particles.Clear();
            f.game.tickCount = 77;
            f.game.EnterTitle();
            EXPECT_EQ(f.game.mode, GameMode::Title);
            EXPECT_EQ(f.game.tickCount, 0);
            EXPECT_EQ(f.game.tickLength, 0.02f);
            EXPECT_STREQ(f.game.mapName, "Splash");
            EXPECT_FALSE(f.host.grabbed);
            // Turned, the ship's point lies 480 / 6 lower.
            const Vec2 ship{f.game.WorldWidth() / 2.0f, rotated ? 1300.0f : 1220.0f};
            EXPECT_EQ(f.game.player->position, ship) << width;
            EXPECT_EQ(f.game.player->previousPosition, ship);
            EXPECT_EQ(f.game.player->camera, (ship - f.game.screenCentre));
            EXPECT_EQ(f.game.player->previousCamera, f.game.player->camera);
            EXPECT_EQ(f.game.player->zoom, 1.0f);
            EXPECT_EQ(f.game.player->lives, 3);
        }
    }
}

TEST(TitleScreen, TheMainMenuAndTheMusicComeOnceAtTick150)
{
    Frontend f;
    f.game.EnterTitle();
    f.Frames(150);
    EXPECT_TRUE(f.game.menus.empty());
    EXPECT_EQ(f.Calls(kTitleMusicLoad), 0);
    f.Frame(); // the tick that sees 150
    ASSERT_EQ(f.game.menus.size(), 1u);
    ASSERT_NE(f.TopAs<MainMenu>(), nullptr);
    EXPECT_EQ(f.Top()->centre, (Vec2{320, 410}));
    EXPECT_EQ(f.Top()->halfWidth, 320);
    EXPECT_EQ(f.Top()->halfHeight, 100);
    EXPECT_EQ(f.Calls(kTitleMusicLoad), 1);
    EXPECT_EQ(f.Calls("FadeInMusic(music#0,-1,1000)"), 1);
    f.Frames(300);
    EXPECT_EQ(f.game.menus.size(), 1u);
    EXPECT_EQ(f.Calls(kTitleMusicLoad), 1);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::MenuOpen)), 1);
}

TEST(TitleScreen, MusicAlreadyInTheSlotKeepsPlayingAndTheMenuStillOpens)
{
    Frontend f;
    f.game.audio.LoadMusic("Data/Sound/DovirEzuded Away.mp3", f.game.music[0]);
    f.host.audio.calls.clear();
    f.game.EnterTitle();
    f.Frames(200);
    EXPECT_EQ(f.Calls(kTitleMusicLoad), 0);
    EXPECT_EQ(f.CallsStartingWith("FadeInMusic"), 0);
    EXPECT_EQ(f.game.menus.size(), 1u);
}

TEST(TitleScreen, AFailedTitleMusicLeavesTheSlotEmptyAndTheNextEntryTriesAgain)
{
    Frontend f;
    f.host.audio.failingPaths.insert("Data/Sound/DovirEzuded Away.mp3");
    f.game.EnterTitle();
    f.Frames(151);
    EXPECT_EQ(f.game.music[0], nullptr);
    EXPECT_EQ(f.CallsStartingWith("FadeInMusic"), 0);
    EXPECT_EQ(f.game.menus.size(), 1u);
    f.host.audio.failingPaths.clear();
    f.game.menus.clear();
    f.game.EnterTitle();
    f.Frames(151);
    EXPECT_EQ(f.Calls(kTitleMusicLoad), 2);
    EXPECT_NE(f.game.music[0], nullptr);
}

TEST(TitleScreen, TheViewOnlyScoreScreenReturnsWithoutRestartingTheMusic)
{
    Frontend f;
    f.EnterTitleAndOpenMenu();
    ASSERT_NE(f.game.music[0], nullptr);
    f.game.menus.clear();
    f.game.EnterHiScoreScreen(false);
    f.FramesUntil([&] { return f.game.mode == GameMode::Title; });
    f.Frames(200);
    EXPECT_EQ(f.Calls(kTitleMusicLoad), 1);
    EXPECT_EQ(f.game.menus.size(), 1u);
    // After a game the game over frees the slot: the title starts its music
    // again.
    f.game.menus.clear();
    f.game.player->score = 0;
    f.game.mapIndex = static_cast<std::int32_t>(f.game.packMaps.size());
    f.game.EnterHiScoreScreen(true);
    EXPECT_EQ(f.game.mode, GameMode::GameOver);
    f.FramesUntil([&] { return f.game.mode == GameMode::Title; });
    f.Frames(200);
    EXPECT_EQ(f.Calls(kTitleMusicLoad), 2);
}

TEST(TitleScreen, AnOpenDialogDelaysTheMenuUntilTheStackIsEmpty)
{
    Frontend f;
    f.game.EnterTitle();
    f.Frames(100);
    f.game.menus.push_back(std::make_unique<LoadFailedDialog>(200, 35, 320, 240));
    f.Frames(100);
    ASSERT_EQ(f.game.menus.size(), 1u);
    EXPECT_NE(f.TopAs<LoadFailedDialog>(), nullptr);
    EXPECT_EQ(f.Calls(kTitleMusicLoad), 1); // the music keeps its time
    f.ClickAt(320, 265); // DONE
    const int waited = f.FramesUntil([&] { return f.TopAs<MainMenu>() != nullptr; });
    EXPECT_LT(waited, 40);
    f.Frames(200);
    EXPECT_EQ(f.game.menus.size(), 1u);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::MenuOpen)), 2);
}

TEST(TitleScreen, AMissingSplashKeepsTheOldLevelAndStillOpensTheMenu)
{
    Frontend f;
    ASSERT_TRUE(f.game.NewGame());
    std::filesystem::remove(f.data.root / "Data" / "Maps" / "Splash.map");
    f.game.tickCount = 42;
    f.game.EnterTitle();
    EXPECT_EQ(f.game.mode, GameMode::Title);
    EXPECT_EQ(f.game.tickCount, 0);
    EXPECT_STREQ(f.game.mapName, "Landfall");
    f.Frames(151);
    EXPECT_NE(f.TopAs<MainMenu>(), nullptr);
}

TEST(TitleScreen, TheBackdropRunsAndTheMenusAreDrawnAfterTheFades)
{
    Frontend f;
    f.EnterTitleAndOpenMenu();
    std::vector<float> stars;
    for (const Star& star : f.game.starLayers[0])
        stars.push_back(star.t);
    f.Frames(3);
    std::vector<float> later;
    for (const Star& star : f.game.starLayers[0])
        later.push_back(star.t);
    EXPECT_NE(stars, later);
    EXPECT_FALSE(f.game.visibleSectors[1].empty());

    f.game.fades.push_back(std::make_shared<Fade>(Fade::Black(0, 1, 0.5f, 0)));
    f.game.DrawTitle(1.0f, f.canvas);
    const auto& calls = f.state.calls;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "Clear(0,0,0,0)");
    // The world's view, then the fade's unit view, then the menus' view.
    const auto fade = std::find(calls.begin(), calls.end(), "Setup2DView(1,1)");
    ASSERT_NE(fade, calls.end());
    EXPECT_NE(std::find(calls.begin(), fade, "Setup2DView(640,480)"), fade);
    EXPECT_NE(std::find(fade, calls.end(), "Setup2DView(640,480)"), calls.end());
    EXPECT_NE(f.text.Find("NEW GAME"), nullptr);
}
