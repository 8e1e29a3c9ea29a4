#include "DownloadHiScoresDialog.h"
#include "FakeHiScoreTransfer.h"
#include "FrontendFixture.h"
#include "LogCapture.h"
#include "OnlineHiScores.h"
#include "SubmitFailedDialog.h"
#include "SubmitHiScoreDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Dialogs at the centre of a 640 x 480 screen.
constexpr float kX = 320;
constexpr float kYesY = 230;   // submit: top 190, YES 220..240
constexpr float kNoY = 280;    // submit: NO 270..290
constexpr float kDoneY50 = 280;
constexpr float kDoneY70 = 300;
// HISCORES on the main menu (centre y 410).
constexpr float kHiScoresY = 440;

struct Online : Frontend {
    FakeHiScoreTransfer transfer;

    Online()
    {
        game.EnterTitle();
        game.online.transfer = &transfer;
        game.online.server = ParseHiScoreServer("scores.test:8080");
        // A table the game held before: a failed download leaves it.
        std::strcpy(game.online.table[0].name, "OLD");
        game.online.table[0].score = 7;
        game.online.table[3].score = 9;
    }

    std::string DrawnText()
    {
        text.lines.clear();
        game.DrawMenus(0.0f, canvas);
        for (const auto& line : text.lines)
            if (line.text != "")
                return line.text;
        return "";
    }

    SubmitHiScoreDialog* OpenSubmit(const char* name, std::int32_t score)
    {
        auto dialog = std::make_unique<SubmitHiScoreDialog>(200, 50, game.screenCentre.x, game.screenCentre.y);
        std::strcpy(dialog->name, name);
        dialog->score = score;
        SubmitHiScoreDialog* made = dialog.get();
        game.menus.push_back(std::move(dialog));
        Frames(25);
        return made;
    }

    // Frames until the top menu is no longer the given one.
    void UntilGone(const Menu* menu) { FramesUntil([&] { return Top() != menu; }, 200); }
};

} // namespace

TEST(DownloadHiScoresDialog, ShowsDownloadingThenFetchesAtTick25ThenShowsTheOutcomeUntil50)
{
    struct Case {
        const char* what;
        bool serverAnswers;
        bool usableAddress;
        bool withTransport;
        const char* outcome;
    };
    const Case cases[] = {
        {"answer", true, true, true, "SUCCESS"},
        {"no answer", false, true, true, "FAILED"},
        {"unusable address", true, false, true, "FAILED"},
        {"no transport", true, true, false, "FAILED"},
    };
    for (const Case& c : cases) {
        Online f;
        f.transfer.reply = {c.serverAnswers, "ace /1 100 /2\nBIG JIM /1 90000 /2\n"};
        if (!c.usableAddress)
            f.game.online.server = ParseHiScoreServer("bad host");
        if (!c.withTransport)
            f.game.online.transfer = nullptr;
        f.game.online.valid = !c.serverAnswers;
        f.game.menus.push_back(std::make_unique<DownloadHiScoresDialog>(200, 30, 320, 240));
        auto* dialog = f.TopAs<DownloadHiScoresDialog>();
        ASSERT_EQ(f.game.menus.size(), 1u);
        EXPECT_EQ(f.DrawnText(), "DOWNLOADING HISCORES");
        for (int tick = 1; tick <= 24; ++tick) {
            f.Frame();
            EXPECT_EQ(f.DrawnText(), "DOWNLOADING HISCORES") << c.what << " tick " << tick;
            EXPECT_TRUE(f.transfer.requests.empty()) << c.what << " tick " << tick;
        }
        f.Frame();
        const bool asked = c.usableAddress && c.withTransport;
        ASSERT_EQ(f.transfer.requests.size(), asked ? 1u : 0u) << c.what;
        if (asked) {
            const FakeHiScoreTransfer::Request& r = f.transfer.requests[0];
            EXPECT_EQ(r.host, "scores.test");
            EXPECT_EQ(r.port, 8080);
            EXPECT_EQ(r.pathAndQuery, "/Zelvorant2/Zelv2_Poll.php");
            EXPECT_EQ(r.deadlineMs, 20000);
            EXPECT_EQ(r.maxBytes, 4096u);
            EXPECT_TRUE(r.readBody);
        }
        const bool success = std::string(c.outcome) == "SUCCESS";
        EXPECT_EQ(dialog->success, success);
        EXPECT_FALSE(dialog->pending);
        EXPECT_EQ(f.game.online.valid, success) << c.what;
        // The high-score screen's online table follows the download.
        EXPECT_EQ(f.game.onlineHiScoresValid, success) << c.what;
        if (success) {
            EXPECT_STREQ(f.game.onlineHiScores.entries[1].name, "BIG JIM ");
            EXPECT_EQ(f.game.onlineHiScores.entries[1].score, 90000);
            EXPECT_STREQ(f.game.online.table[0].name, "ACE ");
            EXPECT_EQ(f.game.online.table[0].score, 100);
            EXPECT_STREQ(f.game.online.table[1].name, "BIG JIM ");
            EXPECT_EQ(f.game.online.table[3].score, 0) << "rows the reply does not reach are empty";
        } else {
            EXPECT_STREQ(f.game.online.table[0].name, "OLD") << c.what;
            EXPECT_EQ(f.game.online.table[0].score, 7);
            EXPECT_EQ(f.game.online.table[3].score, 9);
        }
        for (int tick = 26; tick <= 49; ++tick) {
            f.Frame();
            EXPECT_EQ(f.DrawnText(), c.outcome) << c.what << " tick " << tick;
            EXPECT_FALSE(dialog->closing);
        }
        f.Frame();
        EXPECT_TRUE(dialog->closing);
        EXPECT_EQ(f.transfer.requests.size(), asked ? 1u : 0u) << "one transfer only";
        f.game.tickCount = 500;
        f.FramesUntil([&] { return !dialog->active; }, 60);
        // Reset by the closing action in this tick, counted once after it.
        EXPECT_EQ(f.game.tickCount, 1);
    }
}

TEST(SubmitHiScoreDialog, InsertRequestEscapesTheNameAndSignsTheScore)
{
    struct Case {
        const char* name;
        std::int32_t score;
        const char* request;
    };
    const Case cases[] = {
        {"ACE", 0, "/Zelvorant2/Zelv2_Insert.php?var1=ACE&var2=0&var3=cfcd208495d565ef66e7dff9f98764da"},
        {"BIG JIM", 2147483647,
         "/Zelvorant2/Zelv2_Insert.php?var1=BIG%20JIM&var2=2147483647&var3=c588c0a459f4ccc6f3dd26518d24707a"},
        {"A&B=C#%", 12345,
         "/Zelvorant2/Zelv2_Insert.php?var1=A%26B%3DC%23%25&var2=12345&var3=827ccb0eea8a706c4c34a16891f84e7b"},
        {"1UP", 0, "/Zelvorant2/Zelv2_Insert.php?var1=1UP&var2=0&var3=cfcd208495d565ef66e7dff9f98764da"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InsertRequest(c.name, c.score), c.request) << c.name;
}

TEST(SubmitHiScoreDialog, YesSendsAfterTheFadeAndOpensTheDownload)
{
    Online f;
    SubmitHiScoreDialog* dialog = f.OpenSubmit("BIG JIM", 2147483647);
    f.game.tickCount = 500;
    f.ClickAt(kX, kYesY);
    EXPECT_TRUE(dialog->closing);
    EXPECT_TRUE(f.transfer.requests.empty()) << "nothing is sent before the closing fade ends";
    f.UntilGone(dialog);
    ASSERT_EQ(f.transfer.requests.size(), 1u);
    const FakeHiScoreTransfer::Request& r = f.transfer.requests[0];
    EXPECT_EQ(r.pathAndQuery, InsertRequest("BIG JIM", 2147483647));
    EXPECT_EQ(r.deadlineMs, 10000);
    EXPECT_FALSE(r.readBody);
    auto* download = f.TopAs<DownloadHiScoresDialog>();
    ASSERT_NE(download, nullptr);
    EXPECT_EQ(f.game.tickCount, 1);
    // Appended in the same pass, it counted that tick already.
    EXPECT_EQ(download->ticks, 1);
    f.Frames(23);
    EXPECT_EQ(f.transfer.requests.size(), 1u);
    f.Frame();
    ASSERT_EQ(f.transfer.requests.size(), 2u);
    EXPECT_EQ(f.transfer.requests[1].pathAndQuery, "/Zelvorant2/Zelv2_Poll.php");
}

TEST(SubmitHiScoreDialog, FailuresOpenTheFailedBoxWhoseDoneCloses)
{
    struct Case {
        const char* what;
        const char* server;
        bool replies;
        int halfHeight;
        float doneY;
    };
    const Case cases[] = {
        {"no reply", "scores.test:8080", false, 50, kDoneY50},
        {"unusable address", "scores.test:0", true, 70, kDoneY70},
    };
    for (const Case& c : cases) {
        Online f;
        f.game.online.server = ParseHiScoreServer(c.server);
        f.transfer.reply.ok = c.replies;
        SubmitHiScoreDialog* dialog = f.OpenSubmit("ACE", 5);
        f.ClickAt(kX, kYesY);
        f.UntilGone(dialog);
        auto* failed = f.TopAs<SubmitFailedDialog>();
        ASSERT_NE(failed, nullptr) << c.what;
        EXPECT_EQ(failed->halfHeight, c.halfHeight);
        f.text.lines.clear();
        f.game.DrawMenus(0.0f, f.canvas);
        ASSERT_NE(f.text.Find("FAILED TO SUBMIT HISCORE"), nullptr);
        EXPECT_EQ(f.text.Find("FAILED TO SUBMIT HISCORE")->y, 240.0f - c.halfHeight);
        EXPECT_EQ(f.text.Find("TO THE ONLINE DATABASE")->y, 260.0f - c.halfHeight);
        EXPECT_EQ(f.text.Find("DONE")->y, 220.0f + c.halfHeight);
        f.Frames(25);
        f.game.tickCount = 500;
        f.ClickAt(kX, c.doneY);
        EXPECT_TRUE(failed->closing) << c.what;
        f.FramesUntil([&] { return !failed->active; }, 60);
        EXPECT_EQ(f.game.tickCount, 1);
    }
}

TEST(SubmitHiScoreDialog, NoSendsNothing)
{
    Online f;
    SubmitHiScoreDialog* dialog = f.OpenSubmit("ACE", 5);
    f.game.tickCount = 500;
    f.ClickAt(kX, kNoY);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 1);
    f.FramesUntil([&] { return !dialog->active; }, 60);
    EXPECT_EQ(f.game.tickCount, 1);
    f.Frames(60);
    EXPECT_TRUE(f.transfer.requests.empty());
    EXPECT_TRUE(f.game.menus.empty() || f.TopAs<SubmitFailedDialog>() == nullptr);
    EXPECT_EQ(f.TopAs<DownloadHiScoresDialog>(), nullptr);
}

TEST(SubmitHiScore, LogsTheAttemptAndTheFailure)
{
    struct Case {
        const char* server;
        bool replies;
        SubmitOutcome outcome;
        const char* log;
    };
    const Case cases[] = {
        {"h:80", true, SubmitOutcome::Sent, "Sending hiscore!\n"},
        {"h:80", false, SubmitOutcome::NoReply, "Sending hiscore!\nFailed Sending hiscore!\n"},
        {"h:80x", true, SubmitOutcome::NoAddress, "Failed Sending hiscore!\n"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        FakeHiScoreTransfer transfer;
        transfer.reply.ok = c.replies;
        EXPECT_EQ(SubmitHiScore(&transfer, ParseHiScoreServer(c.server), std::chrono::milliseconds(10000), "ACE", 1,
                                log.Get()),
                  c.outcome)
            << c.server;
        EXPECT_EQ(log.Text(), c.log) << c.server;
        EXPECT_EQ(transfer.requests.size(), c.outcome == SubmitOutcome::NoAddress ? 0u : 1u);
    }
}

// HISCORES from the title: the download dialog and the view-only screen run
// over the title music, which is neither stopped, faded nor loaded again on
// the way there and back; whatever the server answers, "Scores.dat" and the
// local table stay as an earlier run left them.
TEST(HiScoresFromTheMenu, KeepTheTitleMusicAndTheLocalScores)
{
    struct Case {
        const char* what;
        HiScoreTransfer::Reply reply;
        bool success;
    };
    const Case cases[] = {
        {"served table", {true, "ACE /1 100 /2\n"}, true},
        {"no reply", {false, ""}, false},
        {"hostile reply", {true, HostileHiScoreReply()}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Online f;
        f.transfer.reply = c.reply;
        const HiScoreTable earlier = f.WriteEarlierScores();
        const std::string bytes = f.ScoresFileBytes();
        ASSERT_NE(bytes.find("1STNAME\t= EARLIER\n"), std::string::npos);

        f.EnterTitleAndOpenMenu();
        Mix_Music* const titleMusic = f.game.music[0];
        ASSERT_NE(titleMusic, nullptr);
        f.host.audio.calls.clear();
        f.ClickAt(kX, kHiScoresY);
        ASSERT_NE(f.TopAs<DownloadHiScoresDialog>(), nullptr);
        f.FramesUntil([&] { return f.game.mode == GameMode::HiScores; }, 200);
        ASSERT_EQ(f.game.mode, GameMode::HiScores);
        EXPECT_EQ(f.game.onlineHiScoresValid, c.success);
        EXPECT_TRUE(SameHiScores(f.game.localHiScores, earlier));
        // Through the screen and back to the title until its menu opens.
        f.FramesUntil([&] { return f.game.mode == GameMode::Title && !f.game.menus.empty(); }, 2000);
        ASSERT_EQ(f.game.mode, GameMode::Title);
        ASSERT_FALSE(f.game.menus.empty());

        EXPECT_EQ(f.game.music[0], titleMusic);
        for (const char* call :
             {"LoadMusic", "FreeMusic", "PlayMusic", "FadeInMusic", "FadeOutMusic", "HaltMusic", "PauseMusic"})
            EXPECT_EQ(f.CallsStartingWith(call), 0) << call;
        EXPECT_EQ(f.transfer.requests.size(), 1u);
        EXPECT_EQ(f.ScoresFileBytes(), bytes);
        EXPECT_TRUE(SameHiScores(f.game.localHiScores, earlier));
    }
}
