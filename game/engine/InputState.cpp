#include "InputState.h"

#include "TextInputMode.h"

namespace {

// The actions that follow their own bindings, in the order they are tested.
constexpr ButtonIndex kBoundActions[] = {ButtonPause, ButtonFire, ButtonShield,
                                         ButtonBoost, ButtonCw,   ButtonCcw};

constexpr KeyCode kAxisNegative[2] = {KeyCodes::JoyLeft, KeyCodes::JoyUp};
constexpr KeyCode kAxisPositive[2] = {KeyCodes::JoyRight, KeyCodes::JoyDown};

} // namespace

InputState::InputState(TextInputMode* textMode) : textMode(textMode)
{
    for (ActionButton& button : buttons)
        button.key.Reset();
}

void InputState::OnButton(KeyCode code, bool down)
{
    if (bindingCapture.waiting) {
        if (down)
            AssignBinding(code);
        return;
    }
    for (ButtonIndex index : kBoundActions) {
        // Code 0 means "unbound": an unknown key must not drive unbound actions.
        if (code != KeyCodes::Unbound && buttons[index].IsBoundTo(code))
            buttons[index].key.Set(down);
    }
    if (code == KeyCodes::MouseLeft)
        buttons[ButtonMenuClick].key.Set(down);
    else if (code == KeyCodes::Escape)
        buttons[ButtonEscape].key.Set(down);
}

void InputState::OnKey(KeyCode symbol, std::uint16_t character, bool down)
{
    if (down && textEntry.active)
        OnTextKey(symbol, character);
    else
        OnButton(symbol, down);
}

void InputState::OnMouseButton(int button, bool down)
{
    if (button < KeyCodes::MouseLeft || button > KeyCodes::LastMouseButton)
        return;
    OnButton(button, down);
}

void InputState::OnJoyButton(int button, bool down)
{
    if (button < 0 || button >= KeyCodes::JoyButtonCount)
        return;
    OnButton(KeyCodes::JoyButton0 + button, down);
}

void InputState::OnMouseMotion(int relX, int relY)
{
    mouseMotion = Vec2{static_cast<float>(relX) * mouseSensitivity,
                       static_cast<float>(relY) * mouseSensitivity};
}

void InputState::OnJoyAxis(int axis, std::int16_t value)
{
    if (axis != 0 && axis != 1)
        return;
    // A threshold below 50 would make the divisor 0.
    const int divisor = joystickThreshold / 50 > 0 ? joystickThreshold / 50 : 1;
    const int unit = value < 0 ? 32768 / divisor : 32767 / divisor;
    const int step = value / unit;

    const int last = joystickAxisState[axis];
    if (step != last) {
        if (last < 0)
            OnButton(kAxisNegative[axis], false);
        else if (last > 0)
            OnButton(kAxisPositive[axis], false);
    }
    if (step < 0)
        OnButton(kAxisNegative[axis], true);
    else if (step > 0)
        OnButton(kAxisPositive[axis], true);
    joystickAxisState[axis] = step;
}

void InputState::OnTextKey(KeyCode symbol, std::uint16_t character)
{
    if (!textEntry.active || textEntry.buffer == nullptr)
        return;
    if (symbol == KeyCodes::Return || symbol == KeyCodes::Escape) {
        EndTextEntry(true);
        return;
    }
    if (symbol == KeyCodes::Backspace) {
        if (textEntry.length > 0)
            --textEntry.length;
        textEntry.buffer[textEntry.length] = ' ';
        textEntry.buffer[textEntry.length + 1] = '\0';
        return;
    }
    // Only printable ASCII is stored: a control character would break the
    // line-based files the text ends up in, and keys that type nothing or
    // characters beyond ASCII change nothing.
    if (character < 32 || character > 126)
        return;
    char typed = static_cast<char>(character);
    if (typed >= 'a' && typed <= 'z')
        typed = static_cast<char>(typed - 'a' + 'A');
    textEntry.buffer[textEntry.length] = typed;
    ++textEntry.length;
    if (textEntry.length >= textEntry.maximum)
        EndTextEntry(false); // the caller's buffer holds its NUL at the maximum
}

void InputState::EndTextEntry(bool terminate)
{
    textEntry.active = 0;
    if (textMode != nullptr)
        textMode->SetCharacterTranslation(false);
    if (terminate)
        textEntry.buffer[textEntry.length] = '\0';
    buttons[ButtonMenuClick].key.Reset();
}

void InputState::AdvanceButtons()
{
    for (ActionButton& button : buttons)
        button.key.Advance();
}

void InputState::BeginTextEntry(char* buffer, int maximum)
{
    if (buffer == nullptr || maximum < 1)
        return;
    textEntry.active = 1;
    textEntry.buffer = buffer;
    textEntry.maximum = maximum;
    textEntry.length = 0;
    if (textMode != nullptr)
        textMode->SetCharacterTranslation(true);
}

ActionButton* InputState::CaptureTarget(std::int32_t slot)
{
    switch (slot) {
    case 0: return &buttons[ButtonPause];
    case 1: return &buttons[ButtonFire];
    case 2: return &buttons[ButtonShield];
    case 3: return &buttons[ButtonBoost];
    case 4: return &buttons[ButtonCw];
    case 5: return &buttons[ButtonCcw];
    default: return nullptr;
    }
}

void InputState::AssignBinding(KeyCode code)
{
    if (ActionButton* target = CaptureTarget(bindingCapture.slot)) {
        if (bindingCapture.primary == 1)
            target->primary = code;
        else
            target->alternative = code;
    }
    bindingCapture.waiting = 0;
    // The click that may have been captured must not act on the menu.
    buttons[ButtonMenuClick].key.Reset();
}

void InputState::SetDefaultKeys()
{
    mouseSensitivity = 1.0f;
    buttons[ButtonMenuClick].primary = KeyCodes::MouseLeft;
    buttons[ButtonMenuClick].alternative = KeyCodes::MouseLeft;
    buttons[ButtonBoost].primary = KeyCodes::MouseRight;
    buttons[ButtonBoost].alternative = KeyCodes::CursorUp;
    buttons[ButtonFire].primary = KeyCodes::MouseLeft;
    buttons[ButtonFire].alternative = KeyCodes::KeyZ;
    buttons[ButtonShield].primary = KeyCodes::MouseMiddle;
    buttons[ButtonShield].alternative = KeyCodes::KeyX;
    buttons[ButtonCw].primary = KeyCodes::CursorLeft;
    buttons[ButtonCw].alternative = KeyCodes::JoyLeft;
    buttons[ButtonCcw].primary = KeyCodes::CursorRight;
    buttons[ButtonCcw].alternative = KeyCodes::JoyRight;
    buttons[ButtonPause].primary = KeyCodes::KeyP;
    buttons[ButtonPause].alternative = KeyCodes::Pause;
    joystickThreshold = 100;
}
