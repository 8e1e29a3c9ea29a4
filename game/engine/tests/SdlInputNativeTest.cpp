// Real SDL events through the real drain. Needs a display (the test command
// runs under Xvfb); skipped without one.
#include "InputState.h"
#include "SdlInput.h"

#include "support/SdlVideoInit.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <cstring>

// libX11 keeps a few start-up strings for the life of the process.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libX11.so\n";
}

namespace {

class SdlInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0')
            GTEST_SKIP() << "no DISPLAY";
        ASSERT_TRUE(InitSdlVideoWithRetry(SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE)) << SDL_GetError();
        ASSERT_NE(SDL_SetVideoMode(64, 64, 0, 0), nullptr) << SDL_GetError();
        started = true;
        input.SetDefaultKeys();
        // Whatever the window system queued at start-up is not part of the test.
        DrainSdlEvents(input);
        for (ActionButton& button : input.buttons)
            button.key.Reset();
    }
    void TearDown() override
    {
        if (started)
            SDL_Quit();
    }

    static void PushKey(bool down, SDLKey sym, Uint16 unicode = 0)
    {
        SDL_Event event;
        std::memset(&event, 0, sizeof event);
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = sym;
        event.key.keysym.unicode = unicode;
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }
    static void PushMouseButton(bool down, Uint8 button)
    {
        SDL_Event event;
        std::memset(&event, 0, sizeof event);
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = button;
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    }

    bool started = false;
    SdlTextInputMode textMode;
    InputState input{&textMode};
};

TEST_F(SdlInputTest, EventsBecomeButtonStates)
{
    PushKey(true, SDLK_z);         // FIRE
    PushMouseButton(true, 3);      // BOOST
    PushMouseButton(true, 8);      // a thumb button: dropped, not Backspace
    PushMouseButton(true, 4);      // the wheel: press and release in one tick
    PushMouseButton(false, 4);

    SDL_Event motion;
    std::memset(&motion, 0, sizeof motion);
    motion.type = SDL_MOUSEMOTION;
    motion.motion.xrel = 3;
    motion.motion.yrel = -4;
    ASSERT_EQ(SDL_PushEvent(&motion), 0);

    SDL_Event axis;
    std::memset(&axis, 0, sizeof axis);
    axis.type = SDL_JOYAXISMOTION;
    axis.jaxis.axis = 0;
    axis.jaxis.value = -20000; // CW's alternative, joystick left
    ASSERT_EQ(SDL_PushEvent(&axis), 0);

    SDL_Event joyButton;
    std::memset(&joyButton, 0, sizeof joyButton);
    joyButton.type = SDL_JOYBUTTONDOWN;
    joyButton.jbutton.button = 30; // beyond the twenty joystick codes: dropped
    ASSERT_EQ(SDL_PushEvent(&joyButton), 0);

    input.Button(ButtonShield).primary = 4;
    input.Button(ButtonPause).alternative = KeyCodes::Backspace;
    input.mouseSensitivity = 2.0f;

    EXPECT_FALSE(DrainSdlEvents(input));
    EXPECT_EQ(input.Button(ButtonFire).key.state, KeyState::Pressed);
    EXPECT_EQ(input.Button(ButtonBoost).key.state, KeyState::Pressed);
    EXPECT_EQ(input.Button(ButtonShield).key.state, KeyState::Pressed); // its release waits a tick
    EXPECT_EQ(input.Button(ButtonPause).key.state, KeyState::Up);
    EXPECT_EQ(input.Button(ButtonCw).key.state, KeyState::Pressed);
    EXPECT_EQ(input.mouseMotion, (Vec2{6.0f, -8.0f}));

    input.AdvanceButtons();
    PushKey(false, SDLK_z);
    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    EXPECT_TRUE(DrainSdlEvents(input));
    EXPECT_EQ(input.Button(ButtonFire).key.state, KeyState::Released);
    EXPECT_EQ(input.Button(ButtonBoost).key.state, KeyState::Held);
    EXPECT_EQ(input.Button(ButtonShield).key.state, KeyState::Released);
}

TEST_F(SdlInputTest, TextEntryTakesKeyPressesAndSwitchesTranslation)
{
    char name[16];
    std::memcpy(name, "_              ", 16);
    input.BeginTextEntry(name, 15);
    EXPECT_EQ(SDL_EnableUNICODE(-1), 1);

    PushKey(true, SDLK_z, 'z');
    PushKey(true, SDLK_j, 10); // Ctrl+J
    PushKey(true, SDLK_a, 'a');
    PushKey(true, SDLK_RETURN, 13);
    DrainSdlEvents(input);

    EXPECT_STREQ(name, "ZA");
    EXPECT_EQ(input.textEntry.active, 0);
    EXPECT_EQ(SDL_EnableUNICODE(-1), 0);
    EXPECT_EQ(input.Button(ButtonFire).key.state, KeyState::Up); // z typed, no FIRE
}

} // namespace
