#pragma once

#include "Clock.h"
#include "GameHost.h"
#include "MixerAudioBackend.h"
#include "TextInputMode.h"
#include "TextureLoader.h"

#include <SDL.h>

#include <cstdint>
#include <deque>

// A clock the test sets by hand.
class ManualClock : public Clock {
public:
    std::uint32_t now = 0;
    std::uint32_t Ticks() override { return now; }
};

// A host without a window: the test owns the clock and the event queue and
// counts the frames shown. Each Delay (the pause after every frame) moves
// the clock on by frameMilliseconds, so Run advances time by itself.
class ScriptedHost : public GameHost {
public:
    ManualClock clock;
    std::deque<SDL_Event> events;
    int swaps = 0;
    std::uint32_t frameMilliseconds = 0;
    int mouseX = 0;
    int mouseY = 0;
    bool grabbed = false;

    Clock& FrameClock() override { return clock; }
    AudioBackend& AudioDevice() override { return audio; }
    TextureLoader& Textures() override { return textures; }
    TextInputMode& TextInput() override { return textInput; }

    bool PollEvent(SDL_Event& event) override
    {
        if (events.empty())
            return false;
        event = events.front();
        events.pop_front();
        return true;
    }
    void MouseState(int& x, int& y) override
    {
        x = mouseX;
        y = mouseY;
    }
    void SwapBuffers() override { ++swaps; }
    void Delay(std::uint32_t) override { clock.now += frameMilliseconds; }
    void GrabInput(bool on) override { grabbed = on; }

    void PushKey(int symbol, bool down)
    {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.sym = static_cast<SDLKey>(symbol);
        events.push_back(event);
    }
    void PushQuit()
    {
        SDL_Event event{};
        event.type = SDL_QUIT;
        events.push_back(event);
    }

private:
    struct NoTextures : TextureLoader {
        void SetSmoothShading() override {}
        unsigned LoadTexture(const std::string&, int, int, int, int) override { return 0; }
    };
    struct NoTextInput : TextInputMode {
        void SetCharacterTranslation(bool) override {}
    };
    MixerAudioBackend audio; // never opened: no test here plays sound
    NoTextures textures;
    NoTextInput textInput;
};
