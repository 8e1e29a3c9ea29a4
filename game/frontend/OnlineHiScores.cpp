#include "OnlineHiScores.h"

#include "HiScoreReply.h"
#include "HiScoreTransfer.h"
#include "Log.h"
#include "Md5.h"
#include "UrlEscape.h"

#include <cstdio>
#include <cstring>

std::string InsertRequest(const char* name, std::int32_t score)
{
    char decimal[16];
    std::snprintf(decimal, sizeof decimal, "%i", static_cast<int>(score));
    return std::string(kInsertPath) + "?var1=" + EscapeQueryValue(name != nullptr ? name : "") + "&var2=" + decimal +
           "&var3=" + Md5Hex(std::string_view(decimal));
}

bool DownloadHiScores(HiScoreTransfer* transfer, const HiScoreServer& server, std::chrono::milliseconds deadline,
                      OnlineTable& table)
{
    if (transfer == nullptr || !server.usable)
        return false;
    const HiScoreTransfer::Reply reply = transfer->Get(server, kPollPath, deadline, kHiScoreReplyCap, true);
    if (!reply.ok)
        return false;
    OnlineTable fresh;
    ParseHiScoreReply(reply.body.data(), reply.body.size(), fresh);
    std::memcpy(table, fresh, sizeof table);
    return true;
}

SubmitOutcome SubmitHiScore(HiScoreTransfer* transfer, const HiScoreServer& server, std::chrono::milliseconds deadline,
                            const char* name, std::int32_t score, Log& log)
{
    if (!server.usable) {
        log.Write("Failed Sending hiscore!\n");
        return SubmitOutcome::NoAddress;
    }
    log.Write("Sending hiscore!\n");
    const bool replied =
        transfer != nullptr && transfer->Get(server, InsertRequest(name, score), deadline, 0, false).ok;
    if (!replied) {
        log.Write("Failed Sending hiscore!\n");
        return SubmitOutcome::NoReply;
    }
    return SubmitOutcome::Sent;
}
