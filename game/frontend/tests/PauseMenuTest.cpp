#include "ConfirmDialog.h"
#include "PlayingFixture.h"
#include "MainMenu.h"
#include "PauseMenu.h"

#include "MixerAudioBackend.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kEscape = 27;
// The pause menu at the centre of a 640 x 480 screen: rows by their middle.
constexpr float kX = 320;
constexpr float kCocktailY = 100;
constexpr float kMusicY = 160;
constexpr float kFpsY = 300;
constexpr float kQuitGameY = 340;
constexpr float kQuitDesktopY = 360;
constexpr float kResumeY = 380;
// The confirmation dialog over it.
constexpr float kYesY = 245;
constexpr float kNoY = 265;

} // namespace

TEST(PauseMenu, PauseAndEscapeDoNothingWhileAnyFadeRuns)
{
    Playing f;
    f.game.fades.push_back(std::make_shared<Fade>(Fade::Black(1, 0, 1, 0)));
    f.Tap(kPauseKey);
    f.Tap(kEscape);
    EXPECT_TRUE(f.game.menus.empty());
    EXPECT_FALSE(f.game.paused);
    f.FramesUntil([&] { return f.game.fades.empty(); });

    f.Tap(kPauseKey);
    ASSERT_NE(f.TopAs<PauseMenu>(), nullptr);
    // Its own opening fade blocks both keys for a second.
    f.Tap(kEscape);
    f.Tap(kPauseKey);
    EXPECT_FALSE(f.Top()->closing);
    f.Frames(50);
    f.Tap(kEscape);
    EXPECT_TRUE(f.Top()->closing);
}

TEST(PauseMenu, OpeningPausesTheSoundAndFreezesTheWorldUntilResume)
{
    Playing f;
    f.host.grabbed = true;
    f.OpenPause();
    EXPECT_TRUE(f.game.paused);
    EXPECT_FALSE(f.host.grabbed);
    EXPECT_EQ(f.Calls("Pause(-1)"), 1);
    EXPECT_EQ(f.Calls("PauseMusic()"), 1);
    const std::vector<float> frozen = f.WorldState();
    f.Frames(20);
    EXPECT_EQ(f.WorldState(), frozen);

    f.ClickAt(kX, kResumeY);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 1);
    f.FramesUntil([&] { return f.game.menus.empty(); });
    EXPECT_FALSE(f.game.paused);
    EXPECT_EQ(f.Calls("Resume(-1)"), 1);
    EXPECT_TRUE(f.host.grabbed);
    EXPECT_EQ(f.game.input.cursorVisible, 0);
    f.Frames(5);
    EXPECT_NE(f.WorldState(), frozen);
}

// The pointer moved over the menu is not steering: the ship flies on after
// RESUME at the angle it had.
TEST(PauseMenu, MouseMotionOverTheMenuDoesNotTurnTheShipOnResume)
{
    Playing f;
    f.FramesUntil([&] { return f.game.player->spawnTimer <= 0; }, 300);
    ASSERT_FALSE(f.game.player->landed);
    f.OpenPause();
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.xrel = 40;
    f.host.events.push_back(motion);
    f.Frame();
    const float angle = f.game.player->angle;
    f.ClickAt(kX, kResumeY);
    f.FramesUntil([&] { return !f.game.paused; });
    f.Frame();
    EXPECT_EQ(f.game.player->angle, angle);

    // The same motion in play turns it.
    f.host.events.push_back(motion);
    f.Frame();
    EXPECT_NE(f.game.player->angle, angle);
}

TEST(PauseMenu, TheMenuRunsAtNormalSpeedAndGivesTheSlowTickLengthBack)
{
    Playing f;
    f.game.tickLength = 0.1f;
    f.Frames(5);
    f.Tap(kPauseKey);
    EXPECT_EQ(f.game.tickLength, 0.02f);
    EXPECT_EQ(f.game.savedTickLength, 0.1f);
    f.Frames(50);
    f.ClickAt(kX, kResumeY);
    f.FramesUntil([&] { return !f.Top()->active; });
    EXPECT_EQ(f.game.tickLength, 0.1f);
}

TEST(PauseMenu, CocktailModeTurnsTheScreenMovesTheMenuAndKeepsTheShipInView)
{
    Playing f;
    PauseMenu* menu = f.OpenPause();
    f.ClickAt(kX, kCocktailY);
    EXPECT_TRUE(f.game.rotatedScreen);
    EXPECT_EQ(f.game.screenSize, (Vec2{480, 640}));
    EXPECT_EQ(menu->centre, (Vec2{240, 320}));
    EXPECT_EQ(f.game.player->camera, (f.game.player->position - Vec2{240, 320}));
    EXPECT_EQ(f.game.player->previousCamera, f.game.player->camera);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 1);
    EXPECT_FALSE(menu->closing);
    f.game.DrawMenus(1.0f, f.canvas);
    EXPECT_NE(f.text.Find("STANDARD MODE"), nullptr);
    EXPECT_EQ(f.text.Find("COCKTAIL MODE"), nullptr);
}

TEST(PauseMenu, MusicVolumeStepsByEightAndWrapsWithoutASelectSound)
{
    Playing f;
    f.OpenPause();
    std::vector<int> volumes;
    for (int i = 0; i < 18; ++i) {
        f.ClickAt(kX, kMusicY);
        volumes.push_back(f.game.musicVolume);
    }
    std::vector<int> expected{0};
    for (int v = 8; v <= 128; v += 8)
        expected.push_back(v);
    expected.push_back(0);
    EXPECT_EQ(volumes, expected);
    EXPECT_EQ(f.Calls("VolumeMusic(128)"), 1);
    EXPECT_EQ(f.Calls("VolumeMusic(0)"), 2);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 0);
    f.game.DrawMenus(1.0f, f.canvas);
    EXPECT_NE(f.text.Find("MUSIC VOL 0"), nullptr);
}

TEST(PauseMenu, ShowFpsTogglesWithoutASelectSound)
{
    Playing f;
    f.OpenPause();
    f.ClickAt(kX, kFpsY);
    EXPECT_TRUE(f.game.showFps);
    f.game.DrawMenus(1.0f, f.canvas);
    EXPECT_NE(f.text.Find("SHOW FPS: YES"), nullptr);
    f.ClickAt(kX, kFpsY);
    EXPECT_FALSE(f.game.showFps);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 0);
}

TEST(PauseMenu, QuitGameYesFadesTheMusicAndReturnsToTheTitleWithItsMusic)
{
    Playing f;
    f.OpenPause();
    f.ClickAt(kX, kQuitGameY);
    auto* dialog = f.TopAs<ConfirmDialog>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->centre, (Vec2{320, 240}));
    EXPECT_EQ(dialog->resultCode, 1);
    f.Frames(25);
    f.host.audio.calls.clear();
    f.PointAt(kX, kYesY);
    f.PushButton(SDL_BUTTON_LEFT, true);
    const int frames = f.FramesUntil([&] { return f.game.mode == GameMode::Title; });
    // The dialog's closing fade, then the pause menu's: 0.5 s each.
    EXPECT_GE(frames, 50);
    EXPECT_LE(frames, 52);
    EXPECT_FALSE(f.game.paused);
    EXPECT_STREQ(f.game.mapName, "Splash");
    EXPECT_EQ(f.game.tickLength, 0.02f);
    // The paused music plays again so its fade can run out.
    const auto& calls = f.host.audio.calls;
    const auto resume = std::find(calls.begin(), calls.end(), "ResumeMusic()");
    const auto fade = std::find(calls.begin(), calls.end(), "FadeOutMusic(1000)");
    ASSERT_NE(resume, calls.end());
    ASSERT_NE(fade, calls.end());
    EXPECT_LT(resume, fade);
    EXPECT_GE(f.Calls("HaltChannel(-1)"), 1);
    EXPECT_EQ(f.game.music[0], nullptr);

    f.FramesUntil([&] { return f.game.tickCount > 150; });
    EXPECT_EQ(f.Calls("LoadMusic(Data/Sound/DovirEzuded Away.mp3)"), 1);
    EXPECT_EQ(f.CallsStartingWith("FadeInMusic("), 1);
    EXPECT_NE(f.TopAs<MainMenu>(), nullptr);
}

TEST(PauseMenu, QuitToDesktopYesEndsTheRun)
{
    Playing f;
    f.OpenPause();
    f.ClickAt(kX, kQuitDesktopY);
    ASSERT_NE(f.TopAs<ConfirmDialog>(), nullptr);
    EXPECT_EQ(f.TopAs<ConfirmDialog>()->resultCode, 2);
    f.Frames(25);
    f.ClickAt(kX, kYesY);
    f.FramesUntil([&] { return f.game.quitRequested; }, 100);
    EXPECT_TRUE(f.game.quitRequested);
    EXPECT_EQ(f.Calls("FadeOutMusic(1000)"), 1);
    EXPECT_EQ(f.game.mode, GameMode::Play);
}

TEST(PauseMenu, NoReturnsToTheOpenPauseMenu)
{
    Playing f;
    PauseMenu* menu = f.OpenPause();
    f.ClickAt(kX, kQuitGameY);
    f.Frames(25);
    f.ClickAt(kX, kNoY);
    f.Frames(40);
    ASSERT_EQ(f.game.menus.size(), 1u);
    EXPECT_EQ(f.Top(), menu);
    EXPECT_FALSE(menu->closing);
    EXPECT_TRUE(f.game.paused);
    EXPECT_EQ(f.Calls("FadeOutMusic(1000)"), 0);
    f.ClickAt(kX, kFpsY); // it takes input again
    EXPECT_TRUE(f.game.showFps);
}

TEST(PauseMenu, EscapeWithYesUnderThePointerQuitsNothing)
{
    for (const float quitRow : {kQuitGameY, kQuitDesktopY}) {
        Playing f;
        f.OpenPause();
        f.ClickAt(kX, quitRow);
        f.PointAt(kX, kYesY);
        f.Frames(25);
        ASSERT_EQ(f.Top()->selected, 1);
        f.Tap(kEscape);
        f.FramesUntil([&] { return f.game.menus.empty(); }, 200);
        f.Frame();
        EXPECT_FALSE(f.game.quitRequested);
        EXPECT_EQ(f.game.mode, GameMode::Play);
        EXPECT_FALSE(f.game.paused);
        EXPECT_EQ(f.Calls("FadeOutMusic(1000)"), 0);
    }
}

// With the real mixer (dummy driver) and in-game music playing when the game
// is paused: quitting must let the music's fade-out run, or the title's music
// start would wait for it for ever. Run in a child process with a time limit,
// in the demo data folder so the title finds its music.
TEST(PauseMenu, QuitGameWithTheRealMixerDoesNotHoldUpTheTitleMusic)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (chdir(ZELV_DEMO_DATA_DIR) != 0)
            _exit(10);
        int status = 0;
        {
            MixerAudioBackend mixer;
            Frontend f(640, false, &mixer);
            if (!f.game.audio.InitAudio(16))
                _exit(11);
            f.game.audioStarted = true;
            f.game.audio.LoadMusic("Data/Sound/VovadiVivuz.mp3", f.game.music[1]);
            f.game.audio.PlayMusic(f.game.music[1], true);
            if (f.game.music[1] == nullptr || !f.game.NewGame())
                _exit(12);
            f.Frames(5);
            f.FramesUntil([&] { return f.game.fades.empty(); }, 100); // the spawn's fade-in
            f.Tap(kPauseKey);
            f.Frames(50);
            if (f.game.menus.empty())
                _exit(14);
            f.ClickAt(kX, kQuitGameY);
            f.Frames(25);
            f.ClickAt(kX, kYesY);
            f.FramesUntil([&] { return f.game.mode == GameMode::Title; }, 100);
            f.FramesUntil([&] { return f.game.tickCount > 150; }, 200);
            if (f.game.mode != GameMode::Title || f.game.music[0] == nullptr)
                status = 13;
        }
        _exit(status);
    }
    // The mixer blocks the child's own alarms: the parent keeps the time.
    int status = 0;
    pid_t done = 0;
    for (int i = 0; i < 300 && done == 0; ++i) {
        done = waitpid(child, &status, WNOHANG);
        if (done == 0)
            usleep(100000);
    }
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "the title's music start hung";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(PauseMenu, TheClickThatOpensTheConfirmationIsUsedUp)
{
    Playing f;
    f.OpenPause();
    f.PointAt(kX, kQuitGameY);
    f.PushButton(SDL_BUTTON_LEFT, true);
    f.Frame();
    ASSERT_NE(f.TopAs<ConfirmDialog>(), nullptr);
    // Taken by the pause menu: the dialog never saw it pressed, and it does
    // not turn into a held button either.
    EXPECT_EQ(f.game.input.Button(ButtonMenuClick).key.state, KeyState::Up);
    EXPECT_FALSE(f.Top()->closing);
}

TEST(PauseMenu, InPlayTheMenusAreDrawnOverTheLevelAndUnderTheFades)
{
    Playing f;
    f.OpenPause();
    f.game.fades.push_back(std::make_shared<Fade>(Fade::Black(0, 1, 1, 0)));
    f.game.DrawPlay(1.0f, f.sink, f.state);
    const auto& calls = f.state.calls;
    const auto fade = std::find(calls.begin(), calls.end(), "Setup2DView(1,1)");
    ASSERT_NE(fade, calls.end());
    // The world's view first; the HUD's views, the menus' view last, all
    // before the fade's.
    const auto firstView = std::find_if(calls.begin(), fade, [](const std::string& c) {
        return c.rfind("Setup2DView(", 0) == 0;
    });
    ASSERT_NE(firstView, fade);
    EXPECT_EQ(*firstView, "Setup2DView(640,480)");
    const auto lastView = std::find_if(std::make_reverse_iterator(fade), calls.rend(), [](const std::string& c) {
        return c.rfind("Setup2DView(", 0) == 0;
    });
    ASSERT_NE(lastView, calls.rend());
    EXPECT_EQ(*lastView, "Setup2DView(640,480)");
    EXPECT_GE(std::count(calls.begin(), fade, "Setup2DView(640,480)"), 2);
    EXPECT_EQ(std::count(fade, calls.end(), "Setup2DView(640,480)"), 0);
}
