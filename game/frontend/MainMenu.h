#pragma once

#include "Menu.h"

// The title's menu: NEW GAME (1), LOAD GAME (2), the map pack row (no
// item), HISCORES (5), QUIT (4). Its closing action leaves the title.
class MainMenu : public Menu {
public:
    MainMenu(int halfWidth, int halfHeight, float centreX, float centreY);
    void Update() override;
    void Draw(float alpha, ScreenCanvas& canvas) override;
    // 1 after OK on the overwrite warning: the new game starts.
    void OnChildResult(std::int32_t code) override;

protected:
    void ClosingAction() override;

private:
    // The screen darkens, the menu closes, the music fades (unless kept).
    void Leave(bool fadeMusic);
    // False when the game could not start (back on the title).
    bool StartNewGame();
    bool ContinueSavedGame();
};
