#pragma once

#include "Menu.h"

// Shows "DOWNLOADING HISCORES" for 24 ticks, fetches the online table at
// tick 25 (the game waits for it), shows "SUCCESS" or "FAILED" and closes at
// tick 50. No items.
class DownloadHiScoresDialog : public Menu {
public:
    DownloadHiScoresDialog(int halfWidth, int halfHeight, float centreX, float centreY);
    void Update() override;
    void Draw(float alpha, ScreenCanvas& canvas) override;

    bool pending = true;    // the download has not been tried
    bool success = false;   // the download reached the server
    std::int32_t ticks = 0;

protected:
    void ClosingAction() override;

private:
    void Download();
};
