#include "InputState.h"
#include "KeyCode.h"
#include "TextInputMode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using State = std::uint32_t;
constexpr State kPressed = KeyState::Pressed;
constexpr State kHeld = KeyState::Held;
constexpr State kUp = KeyState::Up;
constexpr State kReleased = KeyState::Released;

class RecordingTextMode : public TextInputMode {
public:
    void SetCharacterTranslation(bool on) override { calls.push_back(on); }
    std::vector<bool> calls;
};

class InputTest : public ::testing::Test {
protected:
    InputTest() { input.SetDefaultKeys(); }

    // One tick: the events, then what the mode's update would see, then the
    // end-of-tick advance.
    State Tick(ButtonIndex button, const std::function<void()>& events = [] {})
    {
        events();
        const State seen = input.Button(button).key.state;
        input.AdvanceButtons();
        return seen;
    }

    State StateOf(ButtonIndex button) const { return input.Button(button).key.state; }

    RecordingTextMode textMode;
    InputState input{&textMode};
};

TEST(KeyStateTest, TransitionTable)
{
    const struct {
        State from;
        bool down;
        State afterSet;
        State afterAdvance;
    } rows[] = {
        {kUp, true, kPressed, kHeld},       {kReleased, true, kPressed, kHeld},
        {kPressed, true, kPressed, kHeld},  {kHeld, true, kHeld, kHeld},
        {kPressed, false, kPressed, kReleased}, {kHeld, false, kReleased, kUp},
        {kUp, false, kUp, kUp},             {kReleased, false, kReleased, kUp},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.from << (row.down ? " down" : " up"));
        KeyState key;
        key.state = row.from;
        key.Set(row.down);
        EXPECT_EQ(key.state, row.afterSet);
        EXPECT_EQ(key.Advance(), row.afterSet);
        EXPECT_EQ(key.state, row.afterAdvance);
    }
}

TEST_F(InputTest, NewInputHasEveryButtonUp)
{
    InputState fresh;
    for (const ActionButton& button : fresh.buttons)
        EXPECT_EQ(button.key.state, kUp);
    EXPECT_EQ(fresh.mouseSensitivity, 1.0f);
    EXPECT_EQ(fresh.textEntry.active, 0);
}

TEST_F(InputTest, PressHoldReleaseTimeline)
{
    const KeyCode z = KeyCodes::KeyZ; // FIRE's alternative
    EXPECT_EQ(Tick(ButtonFire, [&] { input.OnButton(z, true); }), kPressed);
    EXPECT_EQ(Tick(ButtonFire), kHeld);
    EXPECT_EQ(Tick(ButtonFire, [&] { input.OnButton(z, true); }), kHeld); // key repeat
    EXPECT_EQ(Tick(ButtonFire, [&] { input.OnButton(z, false); }), kReleased);
    EXPECT_EQ(Tick(ButtonFire), kUp);
    EXPECT_EQ(Tick(ButtonFire, [&] { input.OnButton(z, false); }), kUp);
}

// A click, a tap or a wheel step shorter than a tick: that tick's update sees
// the press, the next one the release.
TEST_F(InputTest, PressAndReleaseInOneTickAreSeenInTurn)
{
    const auto tap = [&](const std::function<void(bool)>& feed) {
        return [feed] {
            feed(true);
            feed(false);
        };
    };
    const struct {
        const char* what;
        ButtonIndex button;
        std::function<void(bool)> feed;
    } cases[] = {
        {"key", ButtonShield, [&](bool down) { input.OnButton(KeyCodes::KeyX, down); }},
        {"menu click", ButtonMenuClick, [&](bool down) { input.OnMouseButton(KeyCodes::MouseLeft, down); }},
        {"wheel", ButtonBoost, [&](bool down) { input.OnMouseButton(KeyCodes::WheelUp, down); }},
    };
    input.Button(ButtonBoost).primary = KeyCodes::WheelUp;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Tick(c.button, tap(c.feed)), kPressed);
        EXPECT_EQ(Tick(c.button), kReleased);
        EXPECT_EQ(Tick(c.button), kUp);
        // Pressed again in the same tick: the latest event wins, still once.
        EXPECT_EQ(Tick(c.button, [&] {
                      c.feed(true);
                      c.feed(false);
                      c.feed(true);
                  }),
                  kPressed);
        EXPECT_EQ(Tick(c.button), kHeld);
        EXPECT_EQ(Tick(c.button, [&] { c.feed(false); }), kReleased);
        EXPECT_EQ(Tick(c.button), kUp);
    }
    // A held-back release is dropped by a reset (a captured binding).
    input.OnMouseButton(KeyCodes::MouseLeft, true);
    input.OnMouseButton(KeyCodes::MouseLeft, false);
    input.Button(ButtonMenuClick).key.Reset();
    EXPECT_EQ(Tick(ButtonMenuClick), kUp);
    EXPECT_EQ(Tick(ButtonMenuClick), kUp);
}

TEST_F(InputTest, OneCodeDrivesEveryActionBoundToIt)
{
    input.Button(ButtonShield).alternative = KeyCodes::KeyZ;
    input.OnButton(KeyCodes::KeyZ, true);
    EXPECT_EQ(StateOf(ButtonFire), kPressed);
    EXPECT_EQ(StateOf(ButtonShield), kPressed);
    EXPECT_EQ(StateOf(ButtonBoost), kUp);
    EXPECT_EQ(StateOf(ButtonMenuClick), kUp);

    // The left mouse button is FIRE's default primary and also the menu click.
    input.AdvanceButtons();
    input.OnMouseButton(KeyCodes::MouseLeft, true);
    EXPECT_EQ(StateOf(ButtonMenuClick), kPressed);
    EXPECT_EQ(StateOf(ButtonFire), kHeld);

    input.OnButton(KeyCodes::Escape, true);
    EXPECT_EQ(StateOf(ButtonEscape), kPressed);
}

TEST_F(InputTest, UnboundActionsIgnoreTheUnknownKey)
{
    input.Button(ButtonCw).primary = KeyCodes::Unbound;
    input.OnKey(KeyCodes::Unbound, 0, true);
    EXPECT_EQ(StateOf(ButtonCw), kUp);
}

TEST_F(InputTest, OnlyMouseButtonsOneToSevenAndJoystickButtonsBelowTwentyCount)
{
    // Thumb buttons 8 and 9 would otherwise alias Backspace and Tab.
    input.Button(ButtonFire).primary = KeyCodes::Backspace;
    input.Button(ButtonShield).primary = KeyCodes::Tab;
    input.Button(ButtonBoost).primary = 7;
    input.Button(ButtonCw).primary = KeyCodes::JoyButton0 + 19;
    input.Button(ButtonCcw).primary = KeyCodes::JoyButton0 + 20;
    for (int button : {0, 8, 9, 255, -1})
        input.OnMouseButton(button, true);
    for (int button : {20, 100, -1})
        input.OnJoyButton(button, true);
    EXPECT_EQ(StateOf(ButtonFire), kUp);
    EXPECT_EQ(StateOf(ButtonShield), kUp);
    EXPECT_EQ(StateOf(ButtonCcw), kUp);

    input.OnMouseButton(7, true);
    input.OnJoyButton(19, true);
    EXPECT_EQ(StateOf(ButtonBoost), kPressed);
    EXPECT_EQ(StateOf(ButtonCw), kPressed);
}

TEST_F(InputTest, CaptureStoresTheNextPressedCode)
{
    input.Button(ButtonMenuClick).key.state = kPressed; // the click that opened the capture
    input.Button(ButtonFire).alternative = KeyCodes::Unbound;
    input.bindingCapture = BindingCapture{1, 0, 1}; // FIRE, alternative, waiting

    input.OnButton(KeyCodes::KeyP, false); // a release changes nothing
    EXPECT_EQ(input.bindingCapture.waiting, 1);
    input.OnButton(KeyCodes::Escape, true);

    EXPECT_EQ(input.Button(ButtonFire).alternative, KeyCodes::Escape);
    EXPECT_EQ(input.Button(ButtonFire).primary, KeyCodes::MouseLeft);
    EXPECT_EQ(input.bindingCapture.waiting, 0);
    EXPECT_EQ(StateOf(ButtonEscape), kUp);
    EXPECT_EQ(StateOf(ButtonMenuClick), kUp);
    EXPECT_EQ(StateOf(ButtonPause), kUp); // P's release did not reach PAUSE

    // Slots map 0 PAUSE .. 5 CCW; anything else stores nothing.
    const struct {
        int slot;
        ButtonIndex button;
    } slots[] = {{0, ButtonPause}, {2, ButtonShield}, {3, ButtonBoost}, {4, ButtonCw}, {5, ButtonCcw}};
    for (const auto& s : slots) {
        input.bindingCapture = BindingCapture{s.slot, 1, 1};
        input.OnMouseButton(KeyCodes::WheelDown, true);
        EXPECT_EQ(input.Button(s.button).primary, KeyCodes::WheelDown) << "slot " << s.slot;
    }
    const InputState before = input;
    input.bindingCapture = BindingCapture{6, 1, 1};
    input.OnButton(KeyCodes::KeyZ, true);
    for (int i = 0; i < ButtonCount; ++i) {
        EXPECT_EQ(input.buttons[i].primary, before.buttons[i].primary);
        EXPECT_EQ(input.buttons[i].alternative, before.buttons[i].alternative);
    }
    EXPECT_EQ(input.bindingCapture.waiting, 0);
}

TEST_F(InputTest, JoystickAxisStepsAgainstTheThreshold)
{
    input.Button(ButtonCw).primary = KeyCodes::JoyLeft;
    input.Button(ButtonCcw).primary = KeyCodes::JoyRight;
    input.Button(ButtonBoost).primary = KeyCodes::JoyUp;
    input.Button(ButtonShield).primary = KeyCodes::JoyDown;

    const struct {
        std::int16_t value;
        int step;
        State left, right;
    } rows[] = {
        {-16383, 0, kUp, kUp},        {-16384, -1, kPressed, kUp}, {-32768, -2, kPressed, kUp},
        {16383, 1, kUp, kPressed},    {32767, 2, kUp, kPressed},   {0, 0, kUp, kUp},
        {16382, 0, kUp, kUp},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        InputState fresh;
        fresh.SetDefaultKeys();
        fresh.OnJoyAxis(0, row.value);
        EXPECT_EQ(fresh.joystickAxisState[0], row.step);
        EXPECT_EQ(fresh.Button(ButtonCw).key.state, row.left);
        EXPECT_EQ(fresh.Button(ButtonCcw).key.state, row.right);
    }

    // Axis 1 from far up straight to far down in one event.
    input.OnJoyAxis(1, -20000);
    input.AdvanceButtons();
    EXPECT_EQ(StateOf(ButtonBoost), kHeld);
    input.OnJoyAxis(1, 20000);
    EXPECT_EQ(StateOf(ButtonBoost), kReleased);
    EXPECT_EQ(StateOf(ButtonShield), kPressed);
    input.AdvanceButtons();

    // A move further out on the same side gives a fresh press.
    input.OnJoyAxis(1, 32767);
    EXPECT_EQ(StateOf(ButtonShield), kPressed);
    input.AdvanceButtons();
    // Staying on the same step keeps holding.
    input.OnJoyAxis(1, 32767);
    EXPECT_EQ(StateOf(ButtonShield), kHeld);
    input.OnJoyAxis(1, 0);
    EXPECT_EQ(StateOf(ButtonShield), kReleased);

    // Other axes are ignored; a tiny threshold must not divide by zero.
    input.OnJoyAxis(2, -32768);
    input.OnJoyAxis(-1, -32768);
    EXPECT_EQ(StateOf(ButtonCw), kUp);
    input.joystickThreshold = 10;
    input.OnJoyAxis(0, -32768);
    EXPECT_EQ(StateOf(ButtonCw), kPressed);
}

TEST_F(InputTest, MouseMotionIsScaledAndReplaced)
{
    input.mouseSensitivity = 1.5f;
    input.OnMouseMotion(4, -2);
    input.OnMouseMotion(2, 10);
    EXPECT_FLOAT_EQ(input.mouseMotion.x, 3.0f);
    EXPECT_FLOAT_EQ(input.mouseMotion.y, 15.0f);
}

class TextEntryTest : public InputTest {
protected:
    // The high-score name: an underscore, fourteen spaces and a NUL.
    TextEntryTest() { std::memcpy(name, "_              ", 16); }

    void Type(const std::string& text)
    {
        for (char c : text)
            input.OnKey(static_cast<KeyCode>(c), static_cast<std::uint16_t>(c), true);
    }
    void Press(KeyCode symbol, std::uint16_t character = 0) { input.OnKey(symbol, character, true); }

    char name[16];
};

TEST_F(TextEntryTest, ReturnEndsTheEntryWithUpperCaseText)
{
    input.Button(ButtonMenuClick).key.state = kHeld;
    input.BeginTextEntry(name, 15);
    EXPECT_EQ(textMode.calls, std::vector<bool>{true});
    Type("ab1");
    Press(KeyCodes::Return, 13);
    EXPECT_STREQ(name, "AB1");
    EXPECT_EQ(input.textEntry.active, 0);
    EXPECT_EQ(textMode.calls, (std::vector<bool>{true, false}));
    EXPECT_EQ(StateOf(ButtonMenuClick), kUp);
}

TEST_F(TextEntryTest, EscapeKeepsTheTypedText)
{
    input.BeginTextEntry(name, 15);
    Type("zz");
    Press(KeyCodes::Escape, 27);
    EXPECT_STREQ(name, "ZZ");
    EXPECT_EQ(input.textEntry.active, 0);
    EXPECT_EQ(StateOf(ButtonEscape), kUp);
}

TEST_F(TextEntryTest, TheFifteenthCharacterEndsTheEntry)
{
    input.BeginTextEntry(name, 15);
    Type("abcdefghijklmnop");
    EXPECT_EQ(input.textEntry.active, 0);
    EXPECT_EQ(input.textEntry.length, 15);
    EXPECT_EQ(std::string(name, 16), std::string("ABCDEFGHIJKLMNO\0", 16));
    EXPECT_EQ(textMode.calls, (std::vector<bool>{true, false}));
    // The sixteenth letter, p, went to the buttons as an ordinary key press.
    EXPECT_EQ(StateOf(ButtonPause), kPressed);
}

TEST_F(TextEntryTest, BackspaceStopsAtTheStart)
{
    input.BeginTextEntry(name, 15);
    Press(KeyCodes::Backspace, 8);
    EXPECT_EQ(std::string(name, 2), std::string(" \0", 2));
    EXPECT_EQ(input.textEntry.length, 0);
    Type("ab");
    Press(KeyCodes::Backspace, 8);
    EXPECT_EQ(std::string(name, 3), std::string("A \0", 3));
    EXPECT_EQ(input.textEntry.active, 1);
}

TEST_F(TextEntryTest, OnlyPrintableAsciiIsStored)
{
    input.BeginTextEntry(name, 15);
    Press(KeyCodes::KeyZ, 'z');
    Press(106, 10);      // Ctrl+J types a line feed
    Press(271, 13);      // keypad Enter types a carriage return
    Press(304, 0);       // shift types nothing
    Press(160, 0xE9);    // beyond ASCII
    Press(127, 127);     // Delete
    Press(32, ' ');
    Press(126, '~');
    EXPECT_EQ(input.textEntry.length, 3);
    EXPECT_EQ(std::string(name, 3), "Z ~");
    EXPECT_EQ(input.textEntry.active, 1);
}

TEST_F(TextEntryTest, PressesSkipTheButtonsButReleasesReachThem)
{
    input.Button(ButtonFire).key.state = kHeld;
    input.BeginTextEntry(name, 15);
    Press(KeyCodes::KeyX, 'x'); // SHIELD's key
    EXPECT_EQ(StateOf(ButtonShield), kUp);
    input.OnKey(KeyCodes::KeyZ, 0, false);
    EXPECT_EQ(StateOf(ButtonFire), kReleased);
    // Mouse buttons are not keys: they still drive buttons.
    input.OnMouseButton(KeyCodes::MouseMiddle, true);
    EXPECT_EQ(StateOf(ButtonShield), kPressed);
}

TEST_F(TextEntryTest, NoBufferStartsNothing)
{
    input.BeginTextEntry(nullptr, 15);
    EXPECT_EQ(input.textEntry.active, 0);
    input.BeginTextEntry(name, 0);
    EXPECT_EQ(input.textEntry.active, 0);
    EXPECT_TRUE(textMode.calls.empty());
    Press(KeyCodes::KeyZ, 'z');
    EXPECT_EQ(StateOf(ButtonFire), kPressed);
}

} // namespace
