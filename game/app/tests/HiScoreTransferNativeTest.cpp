// The online high-score transfers over the real HTTP client against the
// loopback server: good, failing, silent, slow and hostile servers.
#include "FakeHiScoreTransfer.h"
#include "FrontendFixture.h"
#include "LoopbackServer.h"
#include "OnlineHiScores.h"
#include "WxHiScoreTransfer.h"

#include "Log.h"
#include "LogCapture.h"

#include <wx/init.h>
#include <wx/socket.h>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace {

using std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

void InitSockets()
{
    static struct Sockets {
        wxInitializer init;
        Sockets() { wxSocketBase::Initialize(); }
    } sockets;
}

// A port on which nobody listens: bound, read and closed again.
int FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    ::close(fd);
    return ntohs(a.sin_port);
}

// A table the game held before: every failure must leave it as it is.
void FillOld(OnlineTable& table)
{
    std::memset(table, 0, sizeof table);
    for (int i = 0; i < kOnlineTableSize; ++i) {
        std::snprintf(table[i].name, sizeof table[i].name, "OLD%d", i);
        table[i].score = 100 - i;
    }
}

struct Outcome {
    bool success;
    double seconds;
    OnlineTable table;
};

Outcome Download(const std::string& address, milliseconds deadline)
{
    InitSockets();
    WxHiScoreTransfer transfer;
    Outcome o{};
    FillOld(o.table);
    const auto start = SteadyClock::now();
    o.success = DownloadHiScores(&transfer, ParseHiScoreServer(address), deadline, o.table);
    o.seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
    return o;
}

bool IsOld(const OnlineTable& table)
{
    OnlineTable old;
    FillOld(old);
    return std::memcmp(old, table, sizeof old) == 0;
}

} // namespace

TEST(HiScoreTransfer, TableServerAnswersItsTableAndTakesSubmittedScores)
{
    LoopbackServer server;
    ASSERT_TRUE(server.Started());
    InitSockets();
    WxHiScoreTransfer transfer;
    LogCapture log;
    const HiScoreServer address = ParseHiScoreServer(server.Address());
    struct Case {
        const char* name;
        std::int32_t score;
        const char* line;
    };
    const Case cases[] = {
        {"ACE", 0, "GET /Zelvorant2/Zelv2_Insert.php?var1=ACE&var2=0&var3=cfcd208495d565ef66e7dff9f98764da HTTP/1.0"},
        {"BIG JIM", 2147483647,
         "GET /Zelvorant2/Zelv2_Insert.php?var1=BIG%20JIM&var2=2147483647&var3=c588c0a459f4ccc6f3dd26518d24707a "
         "HTTP/1.0"},
        {"A&B=C#%", 12345,
         "GET /Zelvorant2/Zelv2_Insert.php?var1=A%26B%3DC%23%25&var2=12345&var3=827ccb0eea8a706c4c34a16891f84e7b "
         "HTTP/1.0"},
        {"1UP", 0, "GET /Zelvorant2/Zelv2_Insert.php?var1=1UP&var2=0&var3=cfcd208495d565ef66e7dff9f98764da HTTP/1.0"},
    };
    std::string expectedLog;
    for (const Case& c : cases) {
        EXPECT_EQ(SubmitHiScore(&transfer, address, milliseconds(10000), c.name, c.score, log.Get()),
                  SubmitOutcome::Sent)
            << c.name;
        expectedLog += std::string(c.line) + "\n";
    }
    EXPECT_EQ(server.Log(), expectedLog);
    EXPECT_EQ(log.Text(), "Sending hiscore!\nSending hiscore!\nSending hiscore!\nSending hiscore!\n");

    const Outcome o = Download(server.Address(), milliseconds(20000));
    ASSERT_TRUE(o.success);
    EXPECT_STREQ(o.table[0].name, "BIG JIM ");
    EXPECT_EQ(o.table[0].score, 2147483647);
    EXPECT_STREQ(o.table[1].name, "A&B=C#% ");
    EXPECT_EQ(o.table[1].score, 12345);
    EXPECT_STREQ(o.table[2].name, "ACE ");
    EXPECT_STREQ(o.table[3].name, "1UP ");
    EXPECT_STREQ(o.table[4].name, "");
    EXPECT_EQ(o.table[4].score, 0);
    EXPECT_LT(o.seconds, 1.0);
}

TEST(HiScoreTransfer, FailingServersLeaveTheTableAndReturnWithinTheDeadline)
{
    struct Case {
        const char* what;
        std::vector<std::string> options;
    };
    const Case cases[] = {
        {"404", {"--status", "404", "--body", "ACE /1 5 /2"}},
        {"500", {"--status", "500", "--body", "ACE /1 5 /2"}},
        {"silent", {"--silent"}},
        {"slow header", {"--header-trickle", "200"}},
        {"trickling body", {"--trickle", "100"}},
        {"headers after the deadline", {"--delay", "1500", "--body", "ACE /1 5 /2"}},
        {"closed before its length", {"--close-early", "--body", "ACE /1 5 /2"}},
    };
    for (const Case& c : cases) {
        LoopbackServer server(c.options);
        ASSERT_TRUE(server.Started());
        const Outcome o = Download(server.Address(), milliseconds(1000));
        EXPECT_FALSE(o.success) << c.what;
        EXPECT_TRUE(IsOld(o.table)) << c.what;
        EXPECT_LT(o.seconds, 2.0) << c.what;
        EXPECT_NE(server.Log().find("GET /Zelvorant2/Zelv2_Poll.php HTTP/1.0\n"), std::string::npos) << c.what;
    }
}

TEST(HiScoreTransfer, RefusedAndUnusableAddressesFailAtOnce)
{
    for (const std::string& address : {"127.0.0.1:" + std::to_string(FreePort()), std::string("127.0.0.1:0")}) {
        const Outcome o = Download(address, milliseconds(20000));
        EXPECT_FALSE(o.success) << address;
        EXPECT_TRUE(IsOld(o.table));
        EXPECT_LT(o.seconds, 1.0) << address;
    }
}

TEST(HiScoreTransfer, BodiesEndAtTheirLengthOrTheCap)
{
    struct Case {
        const char* what;
        std::vector<std::string> options;
        int rows;
    };
    const Case cases[] = {
        // The length arrives at once; the connection stays open.
        {"kept open", {"--keep-open", "--body", "ACE /1 5 /2 BOB /1 4 /2"}, 2},
        {"5000 bytes", {"--body-size", "5000"}, 10},
        {"endless", {"--endless"}, 0},
    };
    for (const Case& c : cases) {
        LoopbackServer server(c.options);
        ASSERT_TRUE(server.Started());
        const Outcome o = Download(server.Address(), milliseconds(10000));
        EXPECT_TRUE(o.success) << c.what;
        EXPECT_LT(o.seconds, 1.0) << c.what;
        int rows = 0;
        for (const OnlineScore& row : o.table)
            rows += row.name[0] != '\0' ? 1 : 0;
        EXPECT_EQ(rows, c.rows) << c.what;
    }
}

TEST(HiScoreTransfer, ASilentServerHoldsASubmitForItsFullTenSeconds)
{
    LoopbackServer server({"--silent"});
    ASSERT_TRUE(server.Started());
    InitSockets();
    WxHiScoreTransfer transfer;
    LogCapture log;
    const auto start = SteadyClock::now();
    EXPECT_EQ(SubmitHiScore(&transfer, ParseHiScoreServer(server.Address()), milliseconds(10000), "ACE", 1, log.Get()),
              SubmitOutcome::NoReply);
    const double seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
    EXPECT_GE(seconds, 9.9);
    EXPECT_LT(seconds, 11.0);
    EXPECT_EQ(log.Text(), "Sending hiscore!\nFailed Sending hiscore!\n");
}

TEST(HiScoreTransfer, ASubmitTakenByAServerWhosePollFailsLeavesTheTable)
{
    LoopbackServer server({"--path", "/Zelvorant2/Zelv2_Poll.php", "--status", "500"});
    ASSERT_TRUE(server.Started());
    InitSockets();
    WxHiScoreTransfer transfer;
    LogCapture log;
    EXPECT_EQ(SubmitHiScore(&transfer, ParseHiScoreServer(server.Address()), milliseconds(10000), "ACE", 9, log.Get()),
              SubmitOutcome::Sent);
    const Outcome o = Download(server.Address(), milliseconds(20000));
    EXPECT_FALSE(o.success);
    EXPECT_TRUE(IsOld(o.table));
    EXPECT_EQ(server.Log(), "GET /Zelvorant2/Zelv2_Insert.php?var1=ACE&var2=9&var3=45c48cce2e2d7fbdea1afc51c7c6ad26 "
                            "HTTP/1.0\nGET /Zelvorant2/Zelv2_Poll.php HTTP/1.0\n");
}

// HISCORES from the title over the real transport, with a one-second
// deadline: whatever a failing or hostile server does, "Scores.dat" keeps its
// bytes and the local table its rows, and a failed download leaves the
// online table as it was.
TEST(HiScoresOverTheNet, FailingAndHostileServersLeaveTheLocalScores)
{
    std::string hostile = HostileHiScoreReply();
    hostile.erase(std::remove(hostile.begin(), hostile.end(), '\0'), hostile.end()); // a command-line argument
    struct Case {
        const char* what;
        std::vector<std::string> options;
        bool success;
    };
    const Case cases[] = {
        {"500", {"--status", "500", "--body", "ACE /1 5 /2"}, false},
        {"silent", {"--silent"}, false},
        {"trickling body", {"--trickle", "100"}, false},
        {"closed before its length", {"--close-early", "--body", "ACE /1 5 /2"}, false},
        {"endless", {"--endless"}, true},
        {"hostile body", {"--body", hostile}, true},
    };
    InitSockets();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackServer server(c.options);
        ASSERT_TRUE(server.Started());
        Frontend f;
        WxHiScoreTransfer transfer;
        f.game.online.transfer = &transfer;
        f.game.online.server = ParseHiScoreServer(server.Address());
        f.game.online.downloadDeadline = milliseconds(1000);
        FillOld(f.game.online.table);
        const HiScoreTable earlier = f.WriteEarlierScores();
        const std::string bytes = f.ScoresFileBytes();

        f.EnterTitleAndOpenMenu();
        f.ClickAt(320, 440); // HISCORES
        f.FramesUntil([&] { return f.game.mode == GameMode::HiScores; }, 200);
        ASSERT_EQ(f.game.mode, GameMode::HiScores);
        EXPECT_NE(server.Log().find("GET /Zelvorant2/Zelv2_Poll.php HTTP/1.0\n"), std::string::npos);
        EXPECT_EQ(f.game.onlineHiScoresValid, c.success);
        EXPECT_EQ(IsOld(f.game.online.table), !c.success);
        EXPECT_EQ(f.ScoresFileBytes(), bytes);
        EXPECT_TRUE(SameHiScores(f.game.localHiScores, earlier));
        f.Frames(300); // the screen with the local table, then the online one
        EXPECT_EQ(f.ScoresFileBytes(), bytes);
        EXPECT_TRUE(SameHiScores(f.game.localHiScores, earlier));
    }
}
