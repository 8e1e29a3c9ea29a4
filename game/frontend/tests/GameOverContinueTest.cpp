#include "FrontendFixture.h"

#include "ContinueDialog.h"
#include "Md5.h"
#include "SaveGame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

bool Holds(const std::vector<char>& bytes, const std::string& text)
{
    return std::string(bytes.begin(), bytes.end()).find(text) != std::string::npos;
}

TEST(GameOver, EnteringFreesTheTitleMusicHaltsTheChannelsAndEmptiesTheScreen)
{
    Frontend f;
    f.game.audio.LoadMusic("Data/Sound/countdown.mp3", f.game.music[0]);
    f.game.gameOverTrail.push_back(GameOverTrailPoint{});
    f.game.player->camera = {500.0f, 600.0f};
    f.host.audio.calls.clear();
    f.game.tickCount = 77;
    f.game.EnterGameOver();
    const std::vector<std::string> expected{"HaltMusic()", "FreeMusic(music#0)", "HaltChannel(-1)"};
    EXPECT_EQ(f.host.audio.calls, expected);
    EXPECT_EQ(f.game.music[0], nullptr);
    EXPECT_EQ(f.game.mode, GameMode::GameOver);
    EXPECT_EQ(f.game.tickCount, 0);
    EXPECT_EQ(f.game.player->camera.x, 0.0f);
    EXPECT_EQ(f.game.player->camera.y, 0.0f);
    EXPECT_TRUE(f.game.gameOverTrail.empty());
    EXPECT_EQ(f.game.particles.Size(), 0u);
    ASSERT_FALSE(f.game.fades.empty());
    EXPECT_EQ(f.game.fades.back()->startAlpha, 1.0f);
}

TEST(GameOver, TheTrailGrowsSpinsShakesAndKeepsEightCopies)
{
    for (const bool rotated : {false, true}) {
        SCOPED_TRACE(rotated);
        Frontend f(854, rotated);
        SeedRandom(1000);
        f.game.EnterGameOver();
        const Vec2 centre = f.game.LayoutToView(320.0f, 240.0f);
        f.Frame(); // tick 0
        ASSERT_EQ(f.game.gameOverTrail.size(), 1u);
        EXPECT_EQ(f.game.gameOverTrail[0].scale, 0.0f);
        EXPECT_EQ(f.game.gameOverTrail[0].angle, 0.0f);
        EXPECT_FLOAT_EQ(f.game.gameOverTrail[0].life, 0.94f); // aged by the tick that made it
        EXPECT_EQ(f.game.gameOverTrail[0].x, centre.x);
        EXPECT_EQ(f.game.gameOverTrail[0].y, centre.y);
        f.Frame(); // tick 1: no point on odd ticks
        EXPECT_EQ(f.game.gameOverTrail.size(), 1u);
        f.Frames(30);
        EXPECT_EQ(f.game.gameOverTrail.size(), 8u);
        f.FramesUntil([&] { return f.game.tickCount == 199; });
        const GameOverTrailPoint& at198 = f.game.gameOverTrail.back();
        EXPECT_NEAR(at198.scale, 0.99f, 1e-5f);
        EXPECT_NEAR(at198.angle, 1782.0f, 1e-3f);
        EXPECT_EQ(f.game.gameOverTrail.size(), 8u);

        // From 200 on: full size, five turns, shaken by -15..14 units.
        SeedRandom(1000);
        long long expected[2];
        for (long long& v : expected)
            v = Random() % 30 - 15;
        SeedRandom(1000);
        f.Frame(); // tick 199: odd, nothing drawn
        f.Frame(); // tick 200
        const GameOverTrailPoint& shaken = f.game.gameOverTrail.back();
        EXPECT_EQ(shaken.scale, 1.0f);
        EXPECT_EQ(shaken.angle, 1800.0f);
        // dy is drawn before dx.
        EXPECT_EQ(shaken.y - centre.y, static_cast<float>(expected[0]));
        EXPECT_EQ(shaken.x - centre.x, static_cast<float>(expected[1]));
        for (int i = 0; i < 40; ++i) {
            f.Frame();
            for (const GameOverTrailPoint& p : f.game.gameOverTrail) {
                EXPECT_GE(p.x - centre.x, -15.0f);
                EXPECT_LE(p.x - centre.x, 14.0f);
                EXPECT_GE(p.y - centre.y, -15.0f);
                EXPECT_LE(p.y - centre.y, 14.0f);
            }
        }
        EXPECT_EQ(f.game.gameOverTrail.size(), 8u);
    }
}

TEST(GameOver, FadeAt300AndTheTitleWithItsOwnMusicAt350)
{
    Frontend f;
    f.game.audio.LoadMusic("Data/Sound/countdown.mp3", f.game.music[0]);
    f.game.EnterGameOver();
    f.FramesUntil([&] { return f.game.tickCount == 300; });
    const std::size_t fades = f.game.fades.size();
    f.Frame();
    EXPECT_EQ(f.game.fades.size(), fades + 1);
    EXPECT_EQ(f.game.fades.back()->endAlpha, 1.0f);
    f.Frames(49);
    EXPECT_EQ(f.game.mode, GameMode::GameOver);
    f.Frame();
    EXPECT_EQ(f.game.mode, GameMode::Title);
    f.host.audio.calls.clear();
    f.FramesUntil([&] { return f.game.music[0] != nullptr; }, 200);
    EXPECT_EQ(f.CallsStartingWith("LoadMusic(Data/Sound/DovirEzuded Away.mp3)"), 1);
}

TEST(GameOver, TheModelTurnsAndGrowsWithRedCopiesBehindIt)
{
    Frontend f;
    f.game.EnterGameOver();
    f.Frames(101); // ticks 0..100
    f.state.calls.clear();
    f.game.DrawGameOver(1.0f, f.canvas);
    const std::string calls = [&] {
        std::string all;
        for (const std::string& call : f.state.calls)
            all += call + ";";
        return all;
    }();
    // The model at tick 101: 908.999 degrees and about half size; then the
    // copies at their own poses.
    EXPECT_NE(calls.find("Rotate(909"), std::string::npos) << calls;
    EXPECT_NE(calls.find("Rotate(900)"), std::string::npos) << calls;
    EXPECT_EQ(f.text.lines.size(), 0u);
}

struct Prompt : Frontend {
    using Frontend::Frontend;

    // A game on the pack's first map that has just lost its last ship.
    void LoseTheGame()
    {
        ASSERT_TRUE(game.NewGame());
        game.player->score = 12345;
        game.player->lives = -1;
        game.player->nextExtraLife = 60000;
        game.mapIndex = 0;
        host.audio.calls.clear();
        game.EnterContinuePrompt();
    }
    void WaitForTheDialog()
    {
        FramesUntil([&] { return Top() != nullptr && Top()->fade == nullptr; });
    }
    // Window pixels equal layout units in the fixture.
    void Answer(bool yes)
    {
        WaitForTheDialog();
        const Vec2 c = game.screenCentre;
        ClickAt(c.x, yes ? c.y - 10.0f : c.y + 40.0f);
        FramesUntil([&] { return game.mode != GameMode::ContinuePrompt; }, 200);
    }
};

TEST(ContinuePrompt, TheDialogWaitsAloneOnBlackAndOnlyTheSoundEffectsStop)
{
    Prompt f;
    f.LoseTheGame();
    // Channels halted before the dialog's opening sound; the music untouched.
    ASSERT_FALSE(f.host.audio.calls.empty());
    EXPECT_EQ(f.host.audio.calls.front(), "HaltChannel(-1)");
    for (const std::string& call : f.host.audio.calls)
        EXPECT_EQ(call.find("Music"), std::string::npos) << call;
    EXPECT_FALSE(f.host.grabbed);
    EXPECT_EQ(f.game.mode, GameMode::ContinuePrompt);
    ASSERT_EQ(f.game.menus.size(), 1u);
    ASSERT_NE(f.TopAs<ContinueDialog>(), nullptr);
    f.Frames(600);
    EXPECT_EQ(f.game.mode, GameMode::ContinuePrompt);
    f.state.calls.clear();
    f.game.DrawContinuePrompt(1.0f, f.canvas);
    ASSERT_FALSE(f.state.calls.empty());
    EXPECT_EQ(f.state.calls.front(), "Clear(0,0,0,0)");
    const TextRecorder::Line* question = f.text.Find("CONTINUE GAME?");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->r, 1.0f);
    EXPECT_EQ(question->b, 1.0f);
    EXPECT_NE(f.text.Find("YES"), nullptr);
    EXPECT_NE(f.text.Find("NO"), nullptr);
}

TEST(ContinuePrompt, YesPlaysTheSameMapWithAFreshScoreAndThreeShips)
{
    Prompt f;
    f.LoseTheGame();
    const std::string map = f.game.mapName;
    f.Answer(true);
    EXPECT_EQ(f.game.mode, GameMode::Play);
    EXPECT_EQ(std::string(f.game.mapName), map);
    EXPECT_EQ(f.game.mapIndex, 0);
    EXPECT_EQ(f.game.player->score, 0);
    EXPECT_EQ(f.game.player->lives, 3);
    EXPECT_EQ(f.game.player->nextExtraLife, 20000);
    EXPECT_TRUE(f.host.grabbed);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 1);
    const std::vector<char> save = f.SaveBytes();
    EXPECT_EQ(save.size(), 398u);
    EXPECT_TRUE(Holds(save, Md5Hex(std::string_view("0"))));
    EXPECT_TRUE(Holds(save, Md5Hex(std::string_view("3"))));
    SaveGameRecord record;
    ASSERT_TRUE(DecodeSaveGame(reinterpret_cast<const std::uint8_t*>(save.data()), save.size(), record));
    EXPECT_EQ(record.score, 0);
    EXPECT_EQ(record.lives, 3);
    EXPECT_EQ(record.mapIndex, 0);
}

TEST(ContinuePrompt, NoSavesNothingLeftAndEndsInTheGameOver)
{
    Prompt f;
    f.LoseTheGame();
    f.Answer(false);
    EXPECT_EQ(f.game.mode, GameMode::GameOver);
    EXPECT_EQ(f.game.player->score, 0);
    EXPECT_EQ(f.game.player->lives, 0);
    const std::vector<char> save = f.SaveBytes();
    EXPECT_EQ(save.size(), 398u);
    EXPECT_TRUE(Holds(save, Md5Hex(std::string_view("0"))));
    EXPECT_FALSE(Holds(save, Md5Hex(std::string_view("3"))));
    SaveGameRecord record;
    ASSERT_TRUE(DecodeSaveGame(reinterpret_cast<const std::uint8_t*>(save.data()), save.size(), record));
    EXPECT_EQ(record.score, 0);
    EXPECT_EQ(record.lives, 0);
}

} // namespace
