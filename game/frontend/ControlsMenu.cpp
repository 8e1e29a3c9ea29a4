#include "ControlsMenu.h"

#include "ConfigFile.h"
#include "FontSet.h"
#include "Game.h"
#include "KeyConfig.h"
#include "KeyNames.h"
#include "ResourceTables.h"
#include "ScreenCanvas.h"
#include "TextWriter.h"

#include <cstdio>
#include <string>

namespace {

enum Item : std::int32_t {
    FirstRow = 1,
    LastRow = 10,
    ResetDefault = 12,
    Done = 13,
    Sensitivity = 14,
};

struct Row {
    const char* label;
    ButtonIndex button;
    bool primary;
};

// The button stored under CW turns the ship counter-clockwise on screen,
// so its rows say "TURN CCW"; the file keeps the names CW and CCW.
constexpr Row kRows[LastRow] = {
    {"FIRE PRIMARY", ButtonFire, true},         {"FIRE ALTERNATE", ButtonFire, false},
    {"SHIELD PRIMARY", ButtonShield, true},     {"SHIELD ALTERNATE", ButtonShield, false},
    {"BOOST PRIMARY", ButtonBoost, true},       {"BOOST ALTERNATE", ButtonBoost, false},
    {"TURN CCW PRIMARY", ButtonCw, true},       {"TURN CCW ALTERNATE", ButtonCw, false},
    {"TURN CW PRIMARY", ButtonCcw, true},       {"TURN CW ALTERNATE", ButtonCcw, false},
};

constexpr float kSensitivityStep = 0.1f;
constexpr float kSensitivityWrap = 2.1f;

float RowY(float top, std::int32_t row) { return top + 10.0f + 20.0f * static_cast<float>(row); }

KeyCode& RowCode(InputState& input, std::int32_t row)
{
    ActionButton& button = input.Button(kRows[row - 1].button);
    return kRows[row - 1].primary ? button.primary : button.alternative;
}

} // namespace

ControlsMenu::ControlsMenu(int halfWidth, int halfHeight, float centreX, float centreY)
    : Menu(halfWidth, halfHeight, centreX, centreY, 0.5f)
{
}

std::string ControlsMenu::SensitivityText(float sensitivity)
{
    // float32 product, truncated toward zero, then halved the same way.
    const int percent = static_cast<int>(sensitivity * 100.0f);
    char text[32];
    std::snprintf(text, sizeof text, "%.2i%%", percent / 2);
    return text;
}

float ControlsMenu::NextSensitivity(float sensitivity)
{
    const float next = sensitivity + kSensitivityStep;
    return next < kSensitivityWrap ? next : kSensitivityStep;
}

const char* ControlsMenu::CodeName(std::int32_t code)
{
    // An edited "Input.dat" may hold any number.
    const char* name = KeyName(code);
    return name[0] != '\0' ? name : "UNKNOWN";
}

void ControlsMenu::Update()
{
    if (!RunHead())
        return;
    // selected keeps the row being captured until a code arrives.
    if (theGame->input.bindingCapture.waiting)
        return;
    const float top = Top();
    HitTest({{1, RowY(top, 1), RowY(top, 1) + 20.0f},   {2, RowY(top, 2), RowY(top, 2) + 20.0f},
             {3, RowY(top, 3), RowY(top, 3) + 20.0f},   {4, RowY(top, 4), RowY(top, 4) + 20.0f},
             {5, RowY(top, 5), RowY(top, 5) + 20.0f},   {6, RowY(top, 6), RowY(top, 6) + 20.0f},
             {7, RowY(top, 7), RowY(top, 7) + 20.0f},   {8, RowY(top, 8), RowY(top, 8) + 20.0f},
             {9, RowY(top, 9), RowY(top, 9) + 20.0f},   {10, RowY(top, 10), RowY(top, 10) + 20.0f},
             {Sensitivity, top + 270.0f, top + 290.0f}, {ResetDefault, top + 310.0f, top + 330.0f},
             {Done, top + 350.0f, top + 370.0f}});
    if (Clicked())
        Act();
}

void ControlsMenu::Act()
{
    Game& game = *theGame;
    PlaySound(SampleId::UI3);
    switch (selected) {
    case ResetDefault:
        game.input.SetDefaultKeys();
        break;
    case Done:
        SaveKeyConfig(game.input, ConfigFile::Instance(), Log::Instance(), game.keyConfigPath);
        Close();
        break;
    case Sensitivity:
        game.input.mouseSensitivity = NextSensitivity(game.input.mouseSensitivity);
        break;
    default:
        if (selected >= FirstRow && selected <= LastRow)
            ArmCapture(selected);
        break;
    }
    // Not consumed: arming a capture opens no dialog.
}

void ControlsMenu::ArmCapture(std::int32_t row)
{
    InputState& input = theGame->input;
    input.bindingCapture.waiting = 1;
    input.bindingCapture.primary = (row % 2 == 1) ? 1 : 0;
    input.bindingCapture.slot = (row + 1) / 2;
    RowCode(input, row) = KeyCodes::Unbound; // shows "PRESS KEY"
}

void ControlsMenu::Draw(float, ScreenCanvas& canvas)
{
    Game& game = *theGame;
    const float top = Top();
    const bool capturing = game.input.bindingCapture.waiting != 0;
    DrawFrame(canvas);
    DrawLabel(canvas, "CONTROL CONFIGURATION", top);
    const std::string sensitivity = "MOUSE SENSI: " + SensitivityText(game.input.mouseSensitivity);
    DrawLabel(canvas, sensitivity.c_str(), top + 270.0f, Sensitivity);
    DrawLabel(canvas, "RESET DEFAULT", top + 320.0f, ResetDefault);
    DrawLabel(canvas, "DONE", top + 350.0f, Done);

    FontSet& font = game.font;
    const float left = centre.x - static_cast<float>(halfWidth);
    const float right = centre.x + static_cast<float>(halfWidth);
    for (std::int32_t row = FirstRow; row <= LastRow; ++row) {
        const bool pulsing = row == selected;
        const float y = RowY(top, row);
        PrepareFont();
        font.SetAlign(FontSet::AlignLeft);
        font.SetColour(1.0f, pulsing && !capturing ? pulse : 1.0f, pulsing && !capturing ? 0.0f : 1.0f, alpha);
        canvas.text.Write(font, kRows[row - 1].label, left, y);
        font.SetAlign(FontSet::AlignRight);
        font.SetColour(1.0f, pulsing && capturing ? pulse : 1.0f, pulsing && capturing ? 0.0f : 1.0f, alpha);
        canvas.text.Write(font, CodeName(RowCode(game.input, row)), right, y);
    }
    font.SetAlign(FontSet::AlignCentre);
    DrawCursor(canvas);
}
