#pragma once

#include "AnswerDialog.h"

// "ARE YOU SURE?" with YES (1) and NO (2), opened by the pause menu.
class ConfirmDialog : public AnswerDialog {
public:
    ConfirmDialog(int halfWidth, int halfHeight, float centreX, float centreY);
    void Update() override;
    void Draw(float alpha, ScreenCanvas& canvas) override;
};
