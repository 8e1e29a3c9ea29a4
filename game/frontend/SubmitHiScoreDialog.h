#pragma once

#include "Menu.h"

#include <cstdint>

// "SUBMIT HISCORE TO DATABASE?" with YES (1) and NO (2). After YES has
// faded out it sends the score and opens the download of the new table, or
// the failure box.
class SubmitHiScoreDialog : public Menu {
public:
    SubmitHiScoreDialog(int halfWidth, int halfHeight, float centreX, float centreY);
    void Update() override;
    void Draw(float alpha, ScreenCanvas& canvas) override;

    // The new local entry; set by the creator.
    char name[16] = "";
    std::int32_t score = 0;

protected:
    void ClosingAction() override;

private:
    void Submit();
};
