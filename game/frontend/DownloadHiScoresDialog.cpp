#include "DownloadHiScoresDialog.h"

#include "Game.h"
#include "OnlineHiScores.h"

#include <cstring>

namespace {
constexpr std::int32_t kDownloadTick = 25;
constexpr std::int32_t kCloseTick = 50;
} // namespace

DownloadHiScoresDialog::DownloadHiScoresDialog(int halfWidth, int halfHeight, float centreX, float centreY)
    : Menu(halfWidth, halfHeight, centreX, centreY, 0.5f)
{
}

void DownloadHiScoresDialog::Update()
{
    if (!RunHead())
        return;
    ++ticks;
    if (ticks == kDownloadTick && pending)
        Download();
    if (ticks == kCloseTick)
        Close();
}

void DownloadHiScoresDialog::Download()
{
    OnlineHiScores& online = theGame->online;
    success = DownloadHiScores(online.transfer, online.server, online.downloadDeadline, online.table);
    online.valid = success;
    // The high-score screen shows the online table while it holds a download.
    theGame->onlineHiScoresValid = success;
    if (success)
        for (int i = 0; i < kOnlineTableSize; ++i) {
            HiScoreEntry& row = theGame->onlineHiScores.entries[static_cast<std::size_t>(i)];
            std::memcpy(row.name, online.table[i].name, sizeof row.name);
            row.name[sizeof row.name - 1] = '\0';
            row.score = online.table[i].score;
        }
    pending = false;
}

void DownloadHiScoresDialog::ClosingAction() { theGame->tickCount = 0; }

void DownloadHiScoresDialog::Draw(float, ScreenCanvas& canvas)
{
    DrawFrame(canvas);
    DrawLabel(canvas, pending ? "DOWNLOADING HISCORES" : (success ? "SUCCESS" : "FAILED"), Top());
    DrawCursor(canvas);
}
