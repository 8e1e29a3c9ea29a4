#pragma once

#include "Menu.h"

// "CONTINUE GAME?" with YES (1) and NO (2), alone on the continue prompt. It
// acts on its own answer: YES plays the map where the game ended again with
// a fresh score and three ships, NO ends the game. Either is saved at once.
class ContinueDialog : public Menu {
public:
    ContinueDialog(int halfWidth, int halfHeight, float centreX, float centreY);
    void Update() override;
    void Draw(float alpha, ScreenCanvas& canvas) override;

protected:
    void ClosingAction() override;
};
