#pragma once

#include "Menu.h"

// The pause menu's key bindings: ten rows (1..10) for the primary and the
// alternative code of FIRE, SHIELD, BOOST and the two turns, the mouse
// sensitivity (14), RESET DEFAULT (12) and DONE (13). A row click arms the
// input's capture; the next press becomes the row's code. Only DONE writes
// the key configuration file; any other way out keeps changes in memory.
class ControlsMenu : public Menu {
public:
    ControlsMenu(int halfWidth, int halfHeight, float centreX, float centreY);
    void Update() override;
    void Draw(float alpha, ScreenCanvas& canvas) override;

    // The shown sensitivity: half the truncated percentage, at least two
    // digits, and a percent sign ("50%" for 1.0, "05%" for 0.1).
    static std::string SensitivityText(float sensitivity);
    // The next sensitivity step: + 0.1, wrapping to 0.1 from 2.1 up.
    static float NextSensitivity(float sensitivity);
    // The display text of a code; a code without a name reads "UNKNOWN".
    static const char* CodeName(std::int32_t code);

private:
    void Act();
    void ArmCapture(std::int32_t row);
};
