#pragma once

#include "ActionButton.h"
#include "KeyCode.h"
#include "Vec2.h"

#include <cstdint>

class TextInputMode;

// The eight buttons of the game, in this order.
enum ButtonIndex : int {
    ButtonMenuClick = 0, // driven by code 1 only
    ButtonFire,
    ButtonShield,
    ButtonBoost,
    ButtonCw,
    ButtonCcw,
    ButtonEscape, // driven by code 27 only
    ButtonPause,
    ButtonCount
};

// Which binding the controls menu is capturing.
struct BindingCapture {
    std::int32_t slot = 0;     // 0 PAUSE, 1 FIRE, 2 SHIELD, 3 BOOST, 4 CW, 5 CCW
    std::uint8_t primary = 1;  // 1 primary code, 0 alternative code
    std::uint8_t waiting = 0;  // the next press is stored as the binding
};

// A one-line entry into the caller's buffer of maximum + 1 characters.
struct TextEntry {
    std::uint8_t active = 0;
    char* buffer = nullptr; // not owned
    std::int32_t length = 0;
    std::int32_t maximum = 0;
};

// Keyboard, mouse and joystick input as button states. Plain logic fed with
// codes: the platform event drain calls the On* entries at the start of a
// tick, the mode's update reads the states, AdvanceButtons ends the tick.
class InputState {
public:
    // textMode may be null (no character translation to switch).
    explicit InputState(TextInputMode* textMode = nullptr);

    ActionButton buttons[ButtonCount];
    std::int32_t mouseX = 0;
    std::int32_t mouseY = 0;
    Vec2 mouseMotion;
    float mouseSensitivity = 1.0f;
    std::uint8_t cursorVisible = 0;
    std::int32_t joystickThreshold = 100;
    std::int32_t joystickAxisState[2] = {0, 0};
    BindingCapture bindingCapture;
    TextEntry textEntry;

    ActionButton& Button(ButtonIndex index) { return buttons[index]; }
    const ActionButton& Button(ButtonIndex index) const { return buttons[index]; }

    // A code goes down or up: feeds a waiting capture, otherwise every action
    // bound to it, then menu click (code 1) or escape (code 27).
    void OnButton(KeyCode code, bool down);

    // A key event: while a text entry runs, presses go to it; releases always
    // go to the buttons.
    void OnKey(KeyCode symbol, std::uint16_t character, bool down);

    // Mouse buttons 1..7 keep their number; others (thumb buttons) are dropped
    // so they never alias the key codes from 8 up.
    void OnMouseButton(int button, bool down);

    // Joystick buttons 0..19 become codes 327..346; others are dropped.
    void OnJoyButton(int button, bool down);

    void OnMouseMotion(int relX, int relY);
    void OnJoyAxis(int axis, std::int16_t value);
    void OnTextKey(KeyCode symbol, std::uint16_t character);

    void AdvanceButtons();
    // A null buffer or a maximum below 1 starts nothing.
    void BeginTextEntry(char* buffer, int maximum);
    void AssignBinding(KeyCode code);
    void SetDefaultKeys();

private:
    void EndTextEntry(bool terminate);
    ActionButton* CaptureTarget(std::int32_t slot);

    TextInputMode* textMode;
};
