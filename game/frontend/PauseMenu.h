#pragma once

#include "Menu.h"

// The play screen's menu: RESUME (1), the screen turn (2), CONTROLS (5),
// MUSIC VOL (9), SHOW FPS (7), QUIT GAME (4) and QUIT TO DESKTOP (8), both
// quits after a confirmation. It runs at 0.02 s a tick and gives the play
// tick length back when it closes.
class PauseMenu : public Menu {
public:
    PauseMenu(int halfWidth, int halfHeight, float centreX, float centreY);
    void Update() override;
    void Draw(float alpha, ScreenCanvas& canvas) override;
    // 1 quit to the title, 2 quit to the desktop, 0 stay.
    void OnChildResult(std::int32_t code) override;

protected:
    void ClosingAction() override;

private:
    void Act();
    void TurnScreen();
    void Confirm(std::int32_t code);
};
