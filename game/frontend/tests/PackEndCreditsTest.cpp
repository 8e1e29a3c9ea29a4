#include "FrontendFixture.h"
#include "ParticleSystem.h"

#include <gtest/gtest.h>

namespace {

// The first value of the minimal-standard generator after seeding with 1000.
constexpr long long kFirstRandom = 1000LL * 16807LL % 2147483647LL;

int VisibleFades(const Game& game, float startAlpha, float endAlpha)
{
    int n = 0;
    for (const auto& fade : game.fades)
        n += fade->hidden == 0 && fade->startAlpha == startAlpha && fade->endAlpha == endAlpha ? 1 : 0;
    return n;
}

} // namespace

TEST(PackEnd, EnteringFreesTheOldMusicBeforeLoadingTheCreditsMusic)
{
    Frontend f;
    f.game.audio.LoadMusic("Data/Sound/ingame.mp3", f.game.music[1]);
    f.host.audio.calls.clear();
    f.game.tickCount = 500;
    f.game.EnterPackEnd();
    EXPECT_EQ(f.game.mode, GameMode::PackEnd);
    EXPECT_EQ(f.game.tickCount, 0);
    EXPECT_EQ(f.game.tickLength, 0.02f);
    EXPECT_FALSE(f.host.grabbed);
    EXPECT_EQ(VisibleFades(f.game, 1.0f, 0.0f), 1);
    const std::vector<std::string> expected{"HaltMusic()", "FreeMusic(music#0)", "LoadMusic(Data/Sound/Credits.mp3)",
                                            "FadeInMusic(music#1,1,1000)"};
    EXPECT_EQ(f.host.audio.calls, expected);
}

TEST(PackEnd, LandingSoundAt200FadeAt950AndTheScoresAt1000)
{
    Frontend f;
    SeedRandom(1000);
    f.game.mapIndex = static_cast<std::int32_t>(f.game.packMaps.size()); // the pack is finished
    f.game.EnterPackEnd();
    f.host.audio.calls.clear();
    f.Frames(200);
    EXPECT_EQ(f.CallsStartingWith("PlayChannelTimed"), 0);
    f.Frame(); // the tick that sees 200
    const SampleId landing = kFirstRandom % 2 == 1 ? SampleId::PlayerLand : SampleId::PlayerLand2;
    EXPECT_EQ(f.Calls(PlayOf(landing)), 1);
    EXPECT_EQ(f.CallsStartingWith("PlayChannelTimed"), 1);
    ASSERT_FALSE(f.host.audio.calls.empty());
    EXPECT_EQ(f.host.audio.calls.back().substr(f.host.audio.calls.back().find(',')), ",0,0)");

    f.Frames(749);
    EXPECT_EQ(f.Calls("FadeOutMusic(2000)"), 0);
    f.Frame(); // 950
    EXPECT_EQ(f.Calls("FadeOutMusic(2000)"), 1);
    EXPECT_EQ(VisibleFades(f.game, 0.0f, 1.0f), 1);
    EXPECT_EQ(f.CallsStartingWith("PlayChannelTimed"), 1);

    f.Frames(49);
    EXPECT_EQ(f.game.mode, GameMode::PackEnd);
    f.Frame(); // 1000: the score screen; a score of 0 qualifies for nothing
    EXPECT_EQ(f.game.mode, GameMode::GameOver);
    EXPECT_EQ(f.game.tickCount, 1);
}

TEST(PackEnd, FiveCentredLinesInWindowPixelsThenFadesThenMenus)
{
    for (const bool rotated : {false, true}) {
        Frontend f(854, rotated);
        f.game.windowWidth = 1280;
        f.game.windowHeight = 720;
        f.game.EnterPackEnd();
        f.game.DrawPackEnd(1.0f, f.canvas);
        ASSERT_EQ(f.text.lines.size(), 5u);
        for (int i = 0; i < 5; ++i) {
            const TextRecorder::Line& line = f.text.lines[static_cast<std::size_t>(i)];
            const Vec2 at = f.game.LayoutToWindow(320.0f, 150.0f + 30.0f * static_cast<float>(i));
            EXPECT_EQ(line.x, at.x);
            EXPECT_EQ(line.y, at.y);
            EXPECT_EQ(line.scaleX, 0.75f);
            EXPECT_EQ(line.align, FontSet::AlignCentre);
            EXPECT_EQ(line.a, 1.0f);
            EXPECT_FALSE(line.text.empty());
        }
        EXPECT_NE(f.text.lines[4].text.find("THE GAME TEAM"), std::string::npos);
        EXPECT_TRUE(f.state.Has("FullViewport(1280,720)"));
        EXPECT_TRUE(f.state.Has("Setup2DView(1280,720)"));
        EXPECT_EQ(f.state.Has("Translate(-720,0)"), rotated);
        EXPECT_TRUE(f.state.Has("Setup2DView(1,1)")); // the fade from black
    }
}

TEST(Credits, TwoPagesThenAFadeAndTheEndWhateverThePlayerDoes)
{
    Frontend f;
    f.game.audio.LoadMusic("Data/Sound/DovirEzuded Away.mp3", f.game.music[0]);
    f.host.audio.calls.clear();
    f.game.player->camera = {100, 100};
    f.game.EnterCredits();
    EXPECT_EQ(f.game.mode, GameMode::Credits);
    EXPECT_EQ(f.game.music[0], nullptr);
    EXPECT_EQ(f.Calls("HaltChannel(-1)"), 1);
    EXPECT_EQ(f.game.player->camera, (Vec2{0, 0}));
    EXPECT_EQ(VisibleFades(f.game, 1.0f, 0.0f), 1);

    // Keys and clicks change nothing here.
    for (int i = 0; i < 20; ++i) {
        f.PointAt(320, 240);
        f.PushButton(SDL_BUTTON_LEFT, i % 2 == 0);
        f.PushKey(27, i % 2 == 0);
        f.PushKey(112, i % 2 == 0);
        f.Frame();
    }
    EXPECT_TRUE(f.game.menus.empty());
    EXPECT_EQ(f.game.mode, GameMode::Credits);
    f.Frames(280);
    EXPECT_EQ(VisibleFades(f.game, 0.0f, 1.0f), 0);
    f.Frame(); // 300
    EXPECT_EQ(VisibleFades(f.game, 0.0f, 1.0f), 1);
    f.Frames(49);
    EXPECT_FALSE(f.game.quitRequested);
    f.Frame(); // 350
    EXPECT_TRUE(f.game.quitRequested);
}

TEST(Credits, PagesSwitchAtTick150)
{
    struct Case {
        int tick;
        const char* heading;
        float alpha;
        std::size_t rows;
    };
    for (const Case c : {Case{0, "PROGRAMMING", 1.0f, 7}, Case{125, "PROGRAMMING", 1.0f, 7},
                         Case{149, "PROGRAMMING", 0.04f, 7}, Case{150, "PLAY TESTERS", 0.0f, 11},
                         Case{175, "PLAY TESTERS", 1.0f, 11}}) {
        Frontend f;
        f.game.EnterCredits();
        f.game.tickCount = c.tick;
        f.game.DrawCredits(1.0f, f.canvas);
        ASSERT_EQ(f.text.lines.size(), c.rows) << c.tick;
        const TextRecorder::Line& heading = f.text.lines[0];
        EXPECT_EQ(heading.text, c.heading);
        EXPECT_NEAR(heading.a, c.alpha, 1e-5f) << c.tick;
        EXPECT_EQ(heading.r, 0.5f);
        EXPECT_EQ(heading.g, 1.0f);
        EXPECT_NEAR(heading.y, 130.0f, 1e-3f);
        EXPECT_NEAR(heading.x, 320.0f, 1e-3f);
        const TextRecorder::Line& name = f.text.lines[1];
        EXPECT_EQ(name.r, 1.0f);
        EXPECT_NEAR(name.y, 150.0f, 1e-3f);
        EXPECT_NEAR(f.text.lines.back().y, c.rows == 7 ? 370.0f : 330.0f, 1e-3f);
        for (const TextRecorder::Line& line : f.text.lines) {
            EXPECT_EQ(line.scaleX, 0.5f);
            EXPECT_EQ(line.align, FontSet::AlignCentre);
        }
    }
}
