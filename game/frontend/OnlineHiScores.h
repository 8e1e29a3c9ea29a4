#pragma once

#include "HiScoreServer.h"
#include "OnlineScore.h"

#include <chrono>
#include <cstdint>
#include <string>

class HiScoreTransfer;
class Log;

inline const char* const kPollPath = "/Zelvorant2/Zelv2_Poll.php";
inline const char* const kInsertPath = "/Zelvorant2/Zelv2_Insert.php";

// The game's link to the online table: the transport (null: none, every
// transfer fails), the server, the last downloaded table and whether the
// last download succeeded, and the deadlines of the two transfers.
struct OnlineHiScores {
    HiScoreTransfer* transfer = nullptr; // not owned
    HiScoreServer server;
    OnlineTable table{};
    bool valid = false;
    std::chrono::milliseconds downloadDeadline{20000};
    std::chrono::milliseconds submitDeadline{10000};
};

// The insert request: var1 the escaped name, var2 the score in decimal,
// var3 the MD5 digest text of that decimal text.
std::string InsertRequest(const char* name, std::int32_t score);

// Fetches the table. On success the table is replaced by the parsed reply
// (at most the first 4096 bytes); on failure it is left as it was.
bool DownloadHiScores(HiScoreTransfer* transfer, const HiScoreServer& server, std::chrono::milliseconds deadline,
                      OnlineTable& table);

enum class SubmitOutcome { Sent, NoAddress, NoReply };

// Sends one score; the reply is not read. Logs "Sending hiscore!" before a
// request and "Failed Sending hiscore!" on either failure.
SubmitOutcome SubmitHiScore(HiScoreTransfer* transfer, const HiScoreServer& server, std::chrono::milliseconds deadline,
                            const char* name, std::int32_t score, Log& log);
