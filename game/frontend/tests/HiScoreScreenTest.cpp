#include "FrontendFixture.h"

#include "ConfigFile.h"
#include "DownloadHiScoresDialog.h"
#include "ExplosionParticles.h"
#include "FakeHiScoreTransfer.h"
#include "HiScoreTable.h"
#include "LogCapture.h"
#include "OnlineHiScores.h"
#include "SubmitFailedDialog.h"
#include "SubmitHiScoreDialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The submit dialog (200 x 50) and its failure box at the centre of a
// 640 x 480 screen: YES 220..240, NO 270..290; DONE 270..290 in the box of
// half height 50.
constexpr float kDialogX = 320;
constexpr float kYesY = 230;
constexpr float kNoY = 280;
constexpr float kDoneY = 280;

struct ScoreScreen : Frontend {
    using Frontend::Frontend;

    // A usable address; no transport unless a test gives one, so a send
    // fails at once.
    explicit ScoreScreen(int viewWidth = 640, bool rotated = false) : Frontend(viewWidth, rotated)
    {
        game.online.server = ParseHiScoreServer("scores.test:8080");
    }

    // A key typed as the platform sends it: the symbol with its character.
    void Type(int symbol, std::uint16_t character)
    {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = static_cast<SDLKey>(symbol);
        event.key.keysym.unicode = character;
        host.events.push_back(event);
        event.type = SDL_KEYUP;
        host.events.push_back(event);
        Frame();
    }
    void TypeText(const char* text)
    {
        for (const char* c = text; *c != '\0'; ++c)
            Type(static_cast<unsigned char>(*c), static_cast<unsigned char>(*c));
    }
    // After a game with this score, maps left in the pack or not.
    void EnterAfterGame(std::int32_t score, bool mapsLeft)
    {
        game.player->score = score;
        game.mapIndex = mapsLeft ? 0 : static_cast<std::int32_t>(game.packMaps.size());
        game.EnterHiScoreScreen(true);
    }
    // Frames until the given menu has gone from the top of the stack.
    void UntilGone(const Menu* menu) { FramesUntil([&] { return Top() != menu; }, 200); }
    // Answers the dialog that follows the name: NO, or YES and then, when the
    // send fails, DONE on the failure box. Ends when the menus are gone and
    // answers how many ticks had been counted since the last one closed.
    int AnswerSubmit(bool yes)
    {
        Menu* submit = TopAs<SubmitHiScoreDialog>();
        EXPECT_NE(submit, nullptr);
        ClickAt(kDialogX, yes ? kYesY : kNoY);
        UntilGone(submit);
        AnswerSubmitFailure();
        FramesUntil([&] { return game.menus.empty(); }, 200);
        EXPECT_TRUE(game.menus.empty());
        return game.tickCount;
    }
    // DONE on the failure box, when it is on top.
    void AnswerSubmitFailure()
    {
        if (Menu* failed = TopAs<SubmitFailedDialog>()) {
            ClickAt(kDialogX, kDoneY);
            UntilGone(failed);
        }
    }
    // Draws one frame of the screen into fresh recorders.
    void DrawScreen()
    {
        text.lines.clear();
        sink.vertices.clear();
        sink.batches.clear();
        game.DrawHiScoreScreen(1.0f, canvas);
    }
};

TEST(HiScoreScreen, AScoreThatBeatsNoEntryPassesStraightOn)
{
    for (const bool mapsLeft : {true, false}) {
        SCOPED_TRACE(mapsLeft);
        ScoreScreen f;
        f.EnterAfterGame(10000, mapsLeft); // equal to the tenth does not beat it
        EXPECT_EQ(f.game.mode, mapsLeft ? GameMode::ContinuePrompt : GameMode::GameOver);
        EXPECT_FALSE(f.game.hiScorePending);
        EXPECT_FALSE(f.game.hiScoreViewOnly);
        EXPECT_FALSE(f.game.input.textEntry.active);
        EXPECT_EQ(f.CallsStartingWith("LoadMusic(Data/Sound/hiscore.mp3)"), 0);
        EXPECT_EQ(f.game.localHiScores.entries[9].score, 10000);
        // The table was loaded (the file made from the defaults).
        EXPECT_TRUE(std::filesystem::exists(f.ScoresFile()));
    }
}

TEST(HiScoreScreen, AQualifyingScoreIsInsertedWithTheTypingCursorAndItsMusic)
{
    struct Case {
        std::int32_t score;
        int rank;
    };
    for (const Case c : {Case{100001, 0}, Case{50001, 5}, Case{10001, 9}}) {
        SCOPED_TRACE(c.rank);
        ScoreScreen f;
        f.game.onlineHiScoresValid = true;
        HiScoreTable before;
        ResetHiScoreTable(before);
        f.host.audio.calls.clear();
        f.EnterAfterGame(c.score, true);
        EXPECT_EQ(f.game.mode, GameMode::HiScores);
        EXPECT_EQ(f.game.newHiScoreRank, c.rank);
        EXPECT_TRUE(f.game.hiScorePending);
        EXPECT_FALSE(f.game.onlineHiScoresValid);
        EXPECT_FALSE(f.host.grabbed);
        EXPECT_EQ(f.game.player->camera.x, 0.0f);
        const HiScoreEntry& entry = f.game.localHiScores.entries[static_cast<std::size_t>(c.rank)];
        EXPECT_STREQ(entry.name, "_              ");
        EXPECT_EQ(entry.score, c.score);
        for (int i = c.rank + 1; i < HiScoreTable::kRows; ++i)
            EXPECT_EQ(f.game.localHiScores.entries[static_cast<std::size_t>(i)].score, before.entries[i - 1].score);
        EXPECT_TRUE(f.game.input.textEntry.active);
        EXPECT_EQ(f.game.input.textEntry.buffer, entry.name);
        EXPECT_EQ(f.game.input.textEntry.maximum, 15);
        // Every channel halted, then the new music loops in for ever.
        const std::vector<std::string> expected{"HaltChannel(-1)", "LoadMusic(Data/Sound/hiscore.mp3)",
                                                "FadeInMusic(music#0,-1,1000)"};
        EXPECT_EQ(f.host.audio.calls, expected);
    }
}

TEST(HiScoreScreen, SlotBIsFreedBeforeTheScoreMusicLoads)
{
    ScoreScreen f;
    f.game.audio.LoadMusic("Data/Sound/ingame.mp3", f.game.music[1]);
    f.host.audio.calls.clear();
    f.EnterAfterGame(200000, true);
    const std::vector<std::string> expected{"HaltChannel(-1)", "HaltMusic()", "FreeMusic(music#0)",
                                            "LoadMusic(Data/Sound/hiscore.mp3)", "FadeInMusic(music#1,-1,1000)"};
    EXPECT_EQ(f.host.audio.calls, expected);
}

TEST(HiScoreScreen, TypingFillsTheNewRowAndTheFileIsWrittenWhenTheNameEnds)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int, std::uint16_t>> keys; // symbol, character
        const char* name;
    };
    const Case cases[] = {
        {"lower case and Enter", {{'a', 'a'}, {'b', 'b'}, {'3', '3'}, {13, 13}}, "AB3"},
        {"Backspace", {{'x', 'x'}, {'y', 'y'}, {8, 8}, {'z', 'z'}, {13, 13}}, "XZ"},
        {"control characters ignored", {{'q', 'q'}, {9, 9}, {'w', 1}, {'e', 'e'}, {13, 13}}, "QE"},
        {"Escape ends like Enter", {{'k', 'k'}, {27, 27}}, "K"},
        {"blank becomes 1UP", {{' ', ' '}, {' ', ' '}, {13, 13}}, "1UP"},
        {"nothing typed becomes 1UP", {{13, 13}}, "1UP"},
        {"the 15th character ends", {{'a', 'a'}, {'b', 'b'}, {'c', 'c'}, {'d', 'd'}, {'e', 'e'}, {'f', 'f'},
                                     {'g', 'g'}, {'h', 'h'}, {'i', 'i'}, {'j', 'j'}, {'k', 'k'}, {'l', 'l'},
                                     {'m', 'm'}, {'n', 'n'}, {'o', 'o'}, {'p', 'p'}},
         "ABCDEFGHIJKLMNO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScoreScreen f;
        f.EnterAfterGame(55555, true);
        const int rank = f.game.newHiScoreRank;
        ASSERT_EQ(rank, 5);
        for (std::size_t i = 0; i + 1 < c.keys.size(); ++i) {
            f.Type(c.keys[i].first, c.keys[i].second);
            if (f.game.input.textEntry.active) {
                // Nothing saved while the name is typed: the file keeps the defaults.
                ConfigFile laterRun;
                HiScoreTable read;
                LogCapture log;
                ::LoadLocalHiScores(read, laterRun, log.Get(), f.ScoresFile().string());
                EXPECT_EQ(read.entries[5].score, 50000);
            }
        }
        f.Type(c.keys.back().first, c.keys.back().second);
        EXPECT_FALSE(f.game.input.textEntry.active);
        EXPECT_FALSE(f.game.hiScorePending);
        EXPECT_STREQ(f.game.localHiScores.entries[5].name, c.name);
        // The dialog that offers to send it carries the name as stored.
        ASSERT_EQ(f.game.menus.size(), 1u);
        const auto* submit = f.TopAs<SubmitHiScoreDialog>();
        ASSERT_NE(submit, nullptr);
        EXPECT_STREQ(submit->name, c.name);
        EXPECT_EQ(submit->score, 55555);
        EXPECT_EQ(submit->halfWidth, 200);
        EXPECT_EQ(submit->halfHeight, 50);
        EXPECT_EQ(submit->centre.x, f.game.screenCentre.x);
        EXPECT_EQ(submit->centre.y, f.game.screenCentre.y);
        ConfigFile laterRun;
        HiScoreTable read;
        LogCapture log;
        ::LoadLocalHiScores(read, laterRun, log.Get(), f.ScoresFile().string());
        EXPECT_STREQ(read.entries[5].name, c.name);
        EXPECT_EQ(read.entries[5].score, 55555);
        EXPECT_EQ(read.entries[6].score, 50000);
        EXPECT_EQ(read.entries[9].score, 20000);
    }
}

TEST(HiScoreScreen, FireworksEveryTenTicksAlsoWhileTyping)
{
    ScoreScreen f;
    SeedRandom(1000);
    f.EnterAfterGame(200000, true);
    ASSERT_TRUE(f.game.input.textEntry.active);
    EXPECT_EQ(f.game.particles.Size(), 0u);
    f.Frame(); // tick 0
    EXPECT_EQ(f.game.particles.Size(), 1u);
    f.Frames(9);
    EXPECT_EQ(f.game.particles.Size(), 1u);
    f.Frame(); // tick 10
    EXPECT_EQ(f.game.particles.Size(), 2u);
    EXPECT_TRUE(f.game.input.textEntry.active);
    // The cursor pulses with the tick count.
    EXPECT_FLOAT_EQ(f.game.cursorBlink, std::sin(1.0f) + 0.5f);
    // No fade and no leaving while the name is typed.
    f.Frames(400);
    EXPECT_EQ(f.game.mode, GameMode::HiScores);
    EXPECT_TRUE(f.game.input.textEntry.active);
}

TEST(HiScoreScreen, AFireworkTakesItsRowThenItsColumnThenItsColour)
{
    const float colours[3][3] = {{0.2f, 1.0f, 1.0f}, {0.0f, 0.25f, 1.0f}, {1.0f, 1.0f, 1.0f}};
    for (const bool rotated : {false, true}) {
        SCOPED_TRACE(rotated);
        ScoreScreen f(854, rotated);
        f.game.EnterHiScoreScreen(false);
        for (const std::uint32_t seed : {1000u, 77u, 123456u}) {
            SCOPED_TRACE(seed);
            SeedRandom(seed);
            const int y = Random() % 480;
            const int x = Random() % 640;
            const int pick = Random() % 3;
            SeedRandom(seed);
            f.game.particles.Clear();
            f.game.tickCount = 10 * static_cast<int>(seed % 7);
            f.game.UpdateHiScoreScreen();
            ASSERT_EQ(f.game.particles.Size(), 1u);
            const auto* burst = dynamic_cast<const ExplosionParticles*>(f.game.particles.At(0));
            ASSERT_NE(burst, nullptr);
            const Vec2 at = f.game.LayoutToView(static_cast<float>(x), static_cast<float>(y));
            EXPECT_EQ(burst->box.centre.x, at.x);
            EXPECT_EQ(burst->box.centre.y, at.y);
            EXPECT_EQ(burst->count, 30);
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(burst->startColour[c], colours[pick][c]);
                EXPECT_EQ(burst->endColour[c], 0.0f);
            }
        }
    }
}

TEST(HiScoreScreen, FadeAndLeaveAfterTheDialogsOrWhenOnlyViewing)
{
    enum class Answer { None, No, YesWithoutTransport, YesSent };
    struct Case {
        const char* what;
        Answer answer;
        bool online; // view only: the main menu's download succeeded
        bool mapsLeft;
        int fadeTick;
        GameMode next;
    };
    const Case cases[] = {
        {"NO, maps left", Answer::No, false, true, 200, GameMode::ContinuePrompt},
        {"NO, pack finished", Answer::No, false, false, 200, GameMode::GameOver},
        {"YES, nothing to send through", Answer::YesWithoutTransport, false, true, 200, GameMode::ContinuePrompt},
        {"YES, sent and downloaded", Answer::YesSent, false, false, 500, GameMode::GameOver},
        {"view only", Answer::None, false, true, 200, GameMode::Title},
        {"view only, online", Answer::None, true, true, 500, GameMode::Title},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScoreScreen f;
        FakeHiScoreTransfer transfer;
        transfer.reply = {true, "ACE /1 200000 /2\n"};
        if (c.answer == Answer::YesSent)
            f.game.online.transfer = &transfer;
        if (c.answer == Answer::None) {
            f.game.onlineHiScoresValid = c.online;
            f.game.EnterHiScoreScreen(false);
            EXPECT_TRUE(f.game.hiScoreViewOnly);
            EXPECT_TRUE(f.game.menus.empty());
        } else {
            f.EnterAfterGame(200000, c.mapsLeft);
            f.Type(13, 13); // tick 0 is the one that sees the name end
            ASSERT_NE(f.TopAs<SubmitHiScoreDialog>(), nullptr);
            // The screen waits for the answer, however long it takes: no
            // fade to black and no leaving.
            for (int frame = 0; frame < 600; ++frame) {
                f.Frame();
                for (const auto& fade : f.game.fades)
                    ASSERT_FALSE(fade->hidden <= 0 && fade->endAlpha == 1.0f) << "frame " << frame;
            }
            EXPECT_EQ(f.game.mode, GameMode::HiScores);
            EXPECT_EQ(f.CallsStartingWith("FadeOutMusic"), 0);
            // The last dialog to close starts the count again.
            EXPECT_LE(f.AnswerSubmit(c.answer != Answer::No), 2);
            EXPECT_EQ(f.game.mode, GameMode::HiScores);
            EXPECT_EQ(transfer.requests.size(), c.answer == Answer::YesSent ? 2u : 0u);
            EXPECT_EQ(f.game.onlineHiScoresValid, c.answer == Answer::YesSent);
        }
        f.host.audio.calls.clear();
        f.FramesUntil([&] { return f.game.tickCount == c.fadeTick; });
        const std::size_t fadesBefore = f.game.fades.size();
        EXPECT_EQ(f.CallsStartingWith("FadeOutMusic"), 0);
        f.Frame();
        EXPECT_EQ(f.game.fades.size(), fadesBefore + 1);
        EXPECT_EQ(f.game.fades.back()->endAlpha, 1.0f);
        EXPECT_EQ(f.Calls("FadeOutMusic(1000)"), c.answer == Answer::None ? 0 : 1);
        f.Frames(49);
        EXPECT_EQ(f.game.mode, GameMode::HiScores);
        f.Frame();
        EXPECT_EQ(f.game.mode, c.next);
        if (c.answer == Answer::None) {
            EXPECT_EQ(f.CallsStartingWith("LoadMusic"), 0);
        }
    }
}

TEST(HiScoreScreen, ATypedNameIsSentWithItsScoreAndTheNewTableShown)
{
    ScoreScreen f;
    FakeHiScoreTransfer transfer;
    f.game.online.transfer = &transfer;
    f.EnterAfterGame(95000, true);
    ASSERT_EQ(f.game.newHiScoreRank, 1);
    f.TypeText("big jim&");
    f.Type(13, 13);
    // The server's table after the insert, with the new entry on top.
    transfer.reply = {true, "BIG JIM& /1 95000 /2\nQ-7VN /1 90000 /2\n"};
    f.ClickAt(kDialogX, kYesY);
    EXPECT_TRUE(transfer.requests.empty()) << "nothing is sent before the dialog has faded out";
    f.FramesUntil([&] { return !transfer.requests.empty(); }, 100);
    ASSERT_EQ(transfer.requests.size(), 1u);
    EXPECT_EQ(transfer.requests[0].host, "scores.test");
    EXPECT_EQ(transfer.requests[0].port, 8080);
    EXPECT_EQ(transfer.requests[0].pathAndQuery,
              "/Zelvorant2/Zelv2_Insert.php?var1=BIG%20JIM%26&var2=95000&var3=4ad3c85dc488d46f5f91fa4fabee3af3");
    EXPECT_FALSE(transfer.requests[0].readBody);
    ASSERT_NE(f.TopAs<DownloadHiScoresDialog>(), nullptr);
    EXPECT_FALSE(f.game.onlineHiScoresValid);
    f.FramesUntil([&] { return transfer.requests.size() == 2u; }, 100);
    ASSERT_EQ(transfer.requests.size(), 2u);
    EXPECT_EQ(transfer.requests[1].pathAndQuery, "/Zelvorant2/Zelv2_Poll.php");
    EXPECT_TRUE(f.game.onlineHiScoresValid);
    f.FramesUntil([&] { return f.game.menus.empty(); }, 200);
    ASSERT_TRUE(f.game.menus.empty());
    // The local table first, then the online one holding the new entry.
    f.FramesUntil([&] { return f.game.tickCount == 224; });
    f.DrawScreen();
    EXPECT_NE(f.text.Find("LOCAL HISCORES"), nullptr);
    f.FramesUntil([&] { return f.game.tickCount == 251; });
    f.DrawScreen();
    EXPECT_NE(f.text.Find("ONLINE HISCORES"), nullptr);
    EXPECT_NE(f.text.Find("BIG JIM& "), nullptr);
    EXPECT_EQ(f.game.mode, GameMode::HiScores);
}

// Once the new high score is saved, neither a failed send, a failed
// download nor a hostile table touches "Scores.dat" or the local table.
TEST(HiScoreScreen, TransfersAfterTheSaveLeaveTheSavedScoresAlone)
{
    using Reply = HiScoreTransfer::Reply;
    struct Case {
        const char* what;
        std::vector<Reply> replies; // to the send, then to the download
        bool failureBox;
    };
    const Case cases[] = {
        {"send fails", {Reply{false, ""}}, true},
        {"download fails", {Reply{true, ""}, Reply{false, ""}}, false},
        {"hostile table", {Reply{true, ""}, Reply{true, HostileHiScoreReply()}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScoreScreen f;
        FakeHiScoreTransfer transfer;
        transfer.queued.assign(c.replies.begin(), c.replies.end());
        f.game.online.transfer = &transfer;
        f.EnterAfterGame(95000, true);
        f.TypeText("ace");
        f.Type(13, 13);
        ASSERT_NE(f.TopAs<SubmitHiScoreDialog>(), nullptr);
        const std::string bytes = f.ScoresFileBytes();
        const HiScoreTable saved = f.game.localHiScores;
        ASSERT_STREQ(saved.entries[1].name, "ACE");
        ASSERT_NE(bytes.find("2NDNAME\t= ACE\n"), std::string::npos);

        ASSERT_NE(f.Top(), nullptr);
        Menu* submit = f.Top();
        f.ClickAt(kDialogX, kYesY);
        f.UntilGone(submit);
        EXPECT_EQ(f.TopAs<SubmitFailedDialog>() != nullptr, c.failureBox);
        f.AnswerSubmitFailure();
        f.FramesUntil([&] { return f.game.menus.empty(); }, 200);
        ASSERT_TRUE(f.game.menus.empty());
        EXPECT_EQ(transfer.requests.size(), c.replies.size());
        f.Frames(100);
        EXPECT_EQ(f.ScoresFileBytes(), bytes);
        EXPECT_TRUE(SameHiScores(f.game.localHiScores, saved));
    }
}

TEST(HiScoreScreen, TheOnlineTableReplacesTheLocalOneThroughAGap)
{
    ScoreScreen f;
    // Until a download succeeds the online table is empty and not valid.
    EXPECT_FALSE(f.game.onlineHiScoresValid);
    for (const HiScoreEntry& entry : f.game.onlineHiScores.entries) {
        EXPECT_STREQ(entry.name, "");
        EXPECT_EQ(entry.score, 0);
    }
    std::strcpy(f.game.onlineHiScores.entries[0].name, "FAR AWAY");
    f.game.onlineHiScores.entries[0].score = 7;
    f.game.onlineHiScoresValid = true;
    f.game.EnterHiScoreScreen(false);
    struct Case {
        int tick;
        const char* heading;
    };
    for (const Case c : {Case{224, "LOCAL HISCORES"}, Case{225, nullptr}, Case{250, nullptr},
                         Case{251, "ONLINE HISCORES"}}) {
        SCOPED_TRACE(c.tick);
        f.game.tickCount = c.tick;
        f.DrawScreen();
        if (c.heading == nullptr) {
            EXPECT_EQ(f.text.Find("1ST"), nullptr);
            EXPECT_EQ(f.text.Find("LOCAL HISCORES"), nullptr);
            EXPECT_EQ(f.text.Find("ONLINE HISCORES"), nullptr);
            continue;
        }
        EXPECT_NE(f.text.Find(c.heading), nullptr);
        const bool online = c.tick > 250;
        EXPECT_NE(f.text.Find(online ? "FAR AWAY" : "Q-7VN"), nullptr);
        EXPECT_EQ(f.text.Find(online ? "Q-7VN" : "FAR AWAY"), nullptr);
    }
}

TEST(HiScoreScreen, RowsOfTheTableAreLaidOutThirtyUnitsApart)
{
    for (const int width : {640, 854}) {
        for (const bool rotated : {false, true}) {
            SCOPED_TRACE(width);
            SCOPED_TRACE(rotated);
            ScoreScreen f(width, rotated);
            f.game.EnterHiScoreScreen(false);
            f.DrawScreen();
            for (int i = 0; i < HiScoreTable::kRows; ++i) {
                const float y = 150.0f + 30.0f * static_cast<float>(i);
                const TextRecorder::Line* label = f.text.Find(HiScoreRankLabel(i));
                ASSERT_NE(label, nullptr);
                const Vec2 at = f.game.LayoutToView(100.0f, y);
                EXPECT_EQ(label->x, at.x);
                EXPECT_EQ(label->y, at.y);
                EXPECT_EQ(label->align, FontSet::AlignRight);
                EXPECT_EQ(label->r, 1.0f);
                EXPECT_EQ(label->g, 1.0f);
                EXPECT_EQ(label->b, 0.0f);
                char digits[16];
                std::snprintf(digits, sizeof digits, "%.8i", f.game.localHiScores.entries[i].score);
                const TextRecorder::Line* score = f.text.Find(digits);
                ASSERT_NE(score, nullptr);
                EXPECT_EQ(score->x, f.game.LayoutToView(540.0f, y).x);
                EXPECT_EQ(score->b, 1.0f);
                EXPECT_EQ(score->align, FontSet::AlignRight);
            }
            const TextRecorder::Line* name = f.text.Find("Q-7VN");
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(name->x, f.game.LayoutToView(110.0f, 150.0f).x);
            EXPECT_EQ(name->align, FontSet::AlignLeft);
            EXPECT_EQ(name->scaleX, 0.5f);
        }
    }
}

} // namespace
