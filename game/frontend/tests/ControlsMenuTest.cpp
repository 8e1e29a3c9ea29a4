#include "ControlsMenu.h"
#include "PlayingFixture.h"

#include "KeyCode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// The pause menu at the centre of a 640 x 480 screen, its CONTROLS row by
// its middle; the controls menu over it spans x 100..540 and y 40..440.
constexpr float kX = 320;
constexpr float kPauseControlsY = 120;
constexpr float kLeft = 100;
constexpr float kRight = 540;
constexpr float kSensitivityY = 320;
constexpr float kResetY = 360;
constexpr float kDoneY = 400;

float RowY(int row) { return 60.0f + 20.0f * static_cast<float>(row); }

struct Controls : Playing {
    std::filesystem::path inputDat = data.root / "Input.dat";

    Controls()
    {
        game.keyConfigPath = inputDat.string();
        OpenPause();
        ClickAt(kX, kPauseControlsY);
        Frames(25); // its opening fade
        host.audio.calls.clear();
    }

    ControlsMenu* Menu() const { return TopAs<ControlsMenu>(); }
    const BindingCapture& Capture() const { return game.input.bindingCapture; }

    std::string InputDat() const
    {
        std::ifstream in(inputDat, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The frame's text of the stack.
    void Draw()
    {
        text.lines.clear();
        game.DrawMenus(0.0f, canvas);
    }
    // The code name drawn at the right edge on the row's line.
    const TextRecorder::Line* NameOfRow(int row) const
    {
        for (const auto& line : text.lines)
            if (line.y == RowY(row) - 10.0f && line.x == kRight && line.align == FontSet::AlignRight)
                return &line;
        return nullptr;
    }
};

} // namespace

TEST(ControlsMenu, PauseMenuControlsOpensItOverThePauseMenuWithoutActingOnTheClick)
{
    Playing f;
    f.OpenPause();
    f.host.audio.calls.clear();
    f.ClickAt(kX, kPauseControlsY);
    ControlsMenu* menu = f.TopAs<ControlsMenu>();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(f.game.menus.size(), 2u);
    EXPECT_EQ(menu->halfWidth, 220);
    EXPECT_EQ(menu->halfHeight, 200);
    EXPECT_EQ(menu->centre.x, f.game.menus.front()->centre.x);
    EXPECT_EQ(menu->centre.y, f.game.menus.front()->centre.y);
    // The click lands on a row of the new menu: consumed, it armed nothing.
    EXPECT_EQ(f.game.input.bindingCapture.waiting, 0);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 1);
    EXPECT_EQ(f.Calls(PlayOf(SampleId::MenuOpen)), 1);
    EXPECT_EQ(f.game.input.Button(ButtonShield).primary, KeyCodes::MouseMiddle);
}

TEST(ControlsMenu, ItemBands)
{
    Controls f;
    struct Case {
        float x, y;
        int item;
    };
    const Case cases[] = {
        {kX, 41, 0},    {kX, 70, 0},    {kX, 71, 1},     {kX, 89, 1},     {kX, 90, 0},   {kX, 91, 2},
        {kX, 160, 5},   {kX, 260, 10},  {kX, 269, 10},   {kX, 271, 0},    {kX, 320, 14}, {kX, 331, 0},
        {kX, 340, 0},   {kX, 349, 0},   {kX, 351, 12},   {kX, 369, 12},   {kX, 371, 0},  {kX, 376, 0},
        {kX, 389, 0},   {kX, 400, 13},  {kX, 410, 0},    {kLeft, 80, 0},  {kLeft + 1, 80, 1},
        {kRight, 80, 0}, {kRight - 1, 80, 1},
    };
    for (const Case& c : cases) {
        f.PointAt(c.x, c.y);
        f.Frame();
        EXPECT_EQ(f.Menu()->selected, c.item) << c.x << ", " << c.y;
    }
}

TEST(ControlsMenu, ARowClickArmsTheCaptureAndTheNextPressBecomesItsCode)
{
    enum Source { Key, Mouse, JoyAxis, JoyButton };
    struct Case {
        int row;
        ButtonIndex button;
        bool primary;
        Source source;
        KeyCode expected;
    };
    const Case cases[] = {
        {3, ButtonShield, true, Key, 113},
        {2, ButtonFire, false, Mouse, KeyCodes::MouseLeft},
        {7, ButtonCw, true, JoyAxis, KeyCodes::JoyLeft},
        {10, ButtonCcw, false, JoyButton, KeyCodes::JoyButton0},
    };
    for (const Case& c : cases) {
        Controls f;
        const ActionButton before = f.game.input.Button(ButtonBoost);
        f.ClickAt(kX, RowY(c.row));
        ASSERT_EQ(f.Capture().waiting, 1) << c.row;
        EXPECT_EQ(f.Capture().slot, (c.row + 1) / 2);
        EXPECT_EQ(f.Capture().primary, c.primary ? 1 : 0);
        const ActionButton& button = f.game.input.Button(c.button);
        EXPECT_EQ(c.primary ? button.primary : button.alternative, KeyCodes::Unbound);
        f.Draw();
        ASSERT_NE(f.NameOfRow(c.row), nullptr);
        EXPECT_EQ(f.NameOfRow(c.row)->text, "PRESS KEY");

        SDL_Event event{};
        switch (c.source) {
        case Key:
            f.Tap(113);
            break;
        case Mouse:
            // Over the BOOST PRIMARY row: the click is the binding, not a row click.
            f.ClickAt(kX, RowY(5));
            break;
        case JoyAxis:
            event.type = SDL_JOYAXISMOTION;
            event.jaxis.axis = 0;
            event.jaxis.value = -32768;
            f.host.events.push_back(event);
            f.Frame();
            break;
        case JoyButton:
            event.type = SDL_JOYBUTTONDOWN;
            event.jbutton.button = 0;
            f.host.events.push_back(event);
            f.Frame();
            break;
        }
        EXPECT_EQ(f.Capture().waiting, 0) << c.row;
        EXPECT_EQ(c.primary ? button.primary : button.alternative, c.expected) << c.row;
        EXPECT_EQ(f.game.input.Button(ButtonBoost).primary, before.primary);
        EXPECT_EQ(f.game.menus.size(), 2u);
    }
}

TEST(ControlsMenu, WhileCapturingThePointerChangesNothingAndTheWaitingNamePulses)
{
    Controls f;
    f.ClickAt(kX, RowY(1));
    ASSERT_EQ(f.Capture().waiting, 1);
    f.PointAt(kX, RowY(5));
    f.Frames(3);
    EXPECT_EQ(f.Menu()->selected, 1);
    f.PointAt(kX, kDoneY);
    f.Frame();
    EXPECT_EQ(f.Menu()->selected, 1);
    f.PushButton(SDL_BUTTON_RIGHT, true);
    f.Frame();
    EXPECT_FALSE(f.Menu()->closing);
    // The right button was the press that ended the capture.
    EXPECT_EQ(f.game.input.Button(ButtonFire).primary, KeyCodes::MouseRight);

    f.ClickAt(kX, RowY(4));
    f.Menu()->pulse = 0.25f;
    f.Draw();
    const TextRecorder::Line* label = f.text.Find("SHIELD ALTERNATE");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->align, FontSet::AlignLeft);
    EXPECT_EQ(label->x, kLeft);
    EXPECT_EQ(label->g, 1.0f);
    ASSERT_NE(f.NameOfRow(4), nullptr);
    EXPECT_EQ(f.NameOfRow(4)->g, 0.25f);
    EXPECT_EQ(f.NameOfRow(4)->b, 0.0f);
}

TEST(ControlsMenu, LabelsAndNamesStandInTwoColumns)
{
    Controls f;
    f.PointAt(kX, RowY(6));
    f.Frame();
    f.Menu()->pulse = 0.5f;
    f.Draw();
    const char* const labels[] = {"FIRE PRIMARY",     "FIRE ALTERNATE",     "SHIELD PRIMARY", "SHIELD ALTERNATE",
                                  "BOOST PRIMARY",    "BOOST ALTERNATE",    "TURN CCW PRIMARY",
                                  "TURN CCW ALTERNATE", "TURN CW PRIMARY",  "TURN CW ALTERNATE"};
    const char* const names[] = {"LMB", "Z", "MMB", "X", "RMB", "UP", "LEFT", "JOYLEFT", "RIGHT", "JOYRIGHT"};
    for (int row = 1; row <= 10; ++row) {
        const TextRecorder::Line* label = f.text.Find(labels[row - 1]);
        ASSERT_NE(label, nullptr) << row;
        EXPECT_EQ(label->y, RowY(row) - 10.0f);
        EXPECT_EQ(label->x, kLeft);
        EXPECT_EQ(label->g, row == 6 ? 0.5f : 1.0f) << row;
        ASSERT_NE(f.NameOfRow(row), nullptr) << row;
        EXPECT_EQ(f.NameOfRow(row)->text, names[row - 1]) << row;
        EXPECT_EQ(f.NameOfRow(row)->g, 1.0f) << row;
    }
    const TextRecorder::Line* title = f.text.Find("CONTROL CONFIGURATION");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->y, 40.0f);
    EXPECT_EQ(title->align, FontSet::AlignCentre);
    ASSERT_NE(f.text.Find("MOUSE SENSI: 50%"), nullptr);
    EXPECT_EQ(f.text.Find("RESET DEFAULT")->y, 360.0f);
    EXPECT_EQ(f.text.Find("DONE")->y, 390.0f);
}

TEST(ControlsMenu, CodesWithoutANameShowUnknown)
{
    Controls f;
    f.game.input.Button(ButtonFire).primary = -5;
    f.game.input.Button(ButtonFire).alternative = 999;
    f.Draw();
    ASSERT_NE(f.NameOfRow(1), nullptr);
    EXPECT_EQ(f.NameOfRow(1)->text, "UNKNOWN");
    ASSERT_NE(f.NameOfRow(2), nullptr);
    EXPECT_EQ(f.NameOfRow(2)->text, "UNKNOWN");
}

TEST(ControlsMenu, SensitivityStepsInTenthsAndWrapsFromTwoToOneTenth)
{
    // float32 sums from 1.0 (the shown value is half the truncated percentage).
    const char* const shown[] = {"55%", "60%", "65%", "70%", "75%", "80%", "85%", "90%", "95%", "100%",
                                 "05%", "10%", "15%", "20%", "25%", "30%", "35%", "40%", "45%", "50%"};
    Controls f;
    int clicks = 0;
    for (const char* expected : shown) {
        f.ClickAt(kX, kSensitivityY);
        ++clicks;
        f.Draw();
        EXPECT_NE(f.text.Find(std::string("MOUSE SENSI: ") + expected), nullptr) << clicks;
    }
    EXPECT_EQ(f.Calls(PlayOf(SampleId::UI3)), 20);
    EXPECT_FLOAT_EQ(f.game.input.mouseSensitivity, 1.0f);

    struct Case {
        float sensitivity;
        const char* text;
    };
    const Case cases[] = {{0.1f, "05%"}, {1.5f, "75%"}, {1.0f, "50%"}, {2.0f, "100%"}, {0.0699f, "03%"},
                          {0.69999f, "34%"}};
    for (const Case& c : cases)
        EXPECT_EQ(ControlsMenu::SensitivityText(c.sensitivity), c.text) << c.sensitivity;
    EXPECT_EQ(ControlsMenu::NextSensitivity(2.0f), 0.1f);
    EXPECT_EQ(ControlsMenu::NextSensitivity(2.05f), 0.1f);
}

TEST(ControlsMenu, ResetDefaultRestoresMemoryOnlyAndDoneWritesTheFile)
{
    Controls f;
    f.game.input.Button(ButtonPause).primary = 200;
    f.game.input.Button(ButtonFire).alternative = 97;
    f.game.input.mouseSensitivity = 1.7f;
    f.game.input.joystickThreshold = 900;
    f.ClickAt(kX, kResetY);
    EXPECT_EQ(f.game.input.Button(ButtonPause).primary, KeyCodes::KeyP);
    EXPECT_EQ(f.game.input.Button(ButtonFire).alternative, KeyCodes::KeyZ);
    EXPECT_EQ(f.game.input.mouseSensitivity, 1.0f);
    EXPECT_FALSE(std::filesystem::exists(f.inputDat));
    EXPECT_FALSE(f.Menu()->closing);

    f.ClickAt(kX, RowY(2));
    f.Tap(97);
    f.ClickAt(kX, kSensitivityY);
    f.ClickAt(kX, kDoneY);
    EXPECT_TRUE(f.Menu()->closing);
    EXPECT_EQ(f.InputDat(), "Input Configuration\n"
                            "Sensi\t= 1.1\n"
                            "BOOST_PRIME\t= 3\n"
                            "BOOST_ALT\t= 273\n"
                            "FIRE_PRIME\t= 1\n"
                            "FIRE_ALT\t= 97\n"
                            "SHIELD_PRIME\t= 2\n"
                            "SHIELD_ALT\t= 120\n"
                            "CW_PRIME\t= 276\n"
                            "CW_ALT\t= 323\n"
                            "CCW_PRIME\t= 275\n"
                            "CCW_ALT\t= 324\n"
                            "PAUSE_PRIME\t= 112\n"
                            "PAUSE_ALT\t= 19\n");
    // Closed, the pause menu below is the top again.
    f.FramesUntil([&] { return f.game.menus.size() == 1; }, 60);
    EXPECT_NE(f.TopAs<PauseMenu>(), nullptr);
    EXPECT_TRUE(f.game.paused);
}

TEST(ControlsMenu, EscapeClosesEveryMenuAndKeepsChangesUnsaved)
{
    Controls f;
    f.ClickAt(kX, RowY(1));
    f.Tap(97);
    ASSERT_EQ(f.game.input.Button(ButtonFire).primary, 97);
    f.Tap(kEscapeKey);
    f.FramesUntil([&] { return f.game.menus.empty(); }, 100);
    EXPECT_TRUE(f.game.menus.empty());
    EXPECT_FALSE(std::filesystem::exists(f.inputDat));
    EXPECT_EQ(f.game.input.Button(ButtonFire).primary, 97);
}
