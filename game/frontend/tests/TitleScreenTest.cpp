#include "FrontendFixture.h"
#include "LoadFailedDialog.h"
#include "MainMenu.h"

#include <gtest/gtest.h>

#include <algorithm>

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

namespace {

// Whether the segment from a to b comes within `margin` of the box.
bool SegmentNearBox(Vec2 a, Vec2 b, float left, float top, float right, float bottom, float margin)
{
    // Clip the segment's parameter range to the grown box (Liang-Barsky).
    float t0 = 0.0f, t1 = 1.0f;
    const float d[2] = {b.x - a.x, b.y - a.y};
    const float lo[2] = {left - margin - a.x, top - margin - a.y};
    const float hi[2] = {right + margin - a.x, bottom + margin - a.y};
    for (int axis = 0; axis < 2; ++axis) {
        if (d[axis] == 0.0f) {
            if (lo[axis] > 0.0f || hi[axis] < 0.0f)
                return false;
            continue;
        }
        float ta = lo[axis] / d[axis], tb = hi[axis] / d[axis];
        if (ta > tb)
            std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
        if (t0 > t1)
            return false;
    }
    return true;
}

} // namespace

// The demo title: no line of the "Splash" level runs through a text of the
// main menu, at every view width, upright and turned. A label is taken as
// 12 units a character wide around its centre and one 20-unit row high; the
// beams' glow needs 8 units more.
TEST(TitleScreen, NoBeamOfTheDemoLevelCrossesTheMainMenusTexts)
{
    for (const int width : {640, 720, 854}) {
        for (const bool rotated : {false, true}) {
            Frontend f(width, rotated);
            f.EnterTitleAndOpenMenu();
            ASSERT_NE(f.TopAs<MainMenu>(), nullptr);
            f.text.lines.clear();
            f.game.DrawTitle(1.0f, f.canvas);
            const Vec2 camera = f.game.player->camera;
            const float world = f.game.WorldWidth();
            int labels = 0;
            for (const TextRecorder::Line& line : f.text.lines) {
                if (line.text != "NEW GAME" && line.text != "LOAD GAME" && line.text.rfind("MAP PACK:", 0) != 0 &&
                    line.text != "HISCORES" && line.text != "QUIT")
                    continue;
                ++labels;
                const float half = 6.0f * static_cast<float>(line.text.size());
                for (const Beam& beam : f.game.map.liveBeams) {
                    for (const float image : {-world, 0.0f, world}) {
                        const Vec2 shift{camera.x - image, camera.y};
                        EXPECT_FALSE(SegmentNearBox(beam.a - shift, beam.b - shift, line.x - half, line.y,
                                                    line.x + half, line.y + 20.0f, 8.0f))
                            << line.text << " at width " << width << (rotated ? " turned" : "") << ": beam from "
                            << beam.a.x << "," << beam.a.y << " to " << beam.b.x << "," << beam.b.y;
                    }
                }
            }
            EXPECT_EQ(labels, 5) << width << (rotated ? " turned" : "");
        }
    }
}
