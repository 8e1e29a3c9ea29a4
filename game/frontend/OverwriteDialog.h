#pragma once

#include "AnswerDialog.h"

// The warning before a new game replaces the saved one: OK (1), CANCEL (2).
class OverwriteDialog : public AnswerDialog {
public:
    OverwriteDialog(int halfWidth, int halfHeight, float centreX, float centreY);
    void Update() override;
    void Draw(float alpha, ScreenCanvas& canvas) override;
};
