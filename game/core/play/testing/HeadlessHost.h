#pragma once

// A platform for a Game that runs without a window or sound device: a clock
// that moves only when told, sounds recorded, no events, no text input.
// Textures "load" as the given id (0: failed, as without a window).
// Shared by play-mode tests, the play-tick benchmark and the level fuzzer.
#include "Clock.h"
#include "GameHost.h"
#include "TextInputMode.h"
#include "TextureLoader.h"
#include "testing/RecordingAudioBackend.h"

#include <SDL.h>

#include <cstdint>
#include <string>

class HeadlessHost : public GameHost {
public:
    struct ManualClock : Clock {
        std::uint32_t now = 0;
        std::uint32_t Ticks() override { return now; }
    };
    struct FixedTextures : TextureLoader {
        unsigned id = 0;
        void SetSmoothShading() override {}
        unsigned LoadTexture(const std::string&, int, int, int, int) override { return id; }
    };
    struct NoTextInput : TextInputMode {
        void SetCharacterTranslation(bool) override {}
    };

    explicit HeadlessHost(unsigned textureId = 0) { textures.id = textureId; }

    ManualClock clock;
    RecordingAudioBackend audio;
    FixedTextures textures;
    NoTextInput textInput;

    Clock& FrameClock() override { return clock; }
    AudioBackend& AudioDevice() override { return audio; }
    TextureLoader& Textures() override { return textures; }
    TextInputMode& TextInput() override { return textInput; }
    bool PollEvent(SDL_Event&) override { return false; }
    void MouseState(int& x, int& y) override { x = y = 0; }
    void SwapBuffers() override {}
    void Delay(std::uint32_t) override {}
    void GrabInput(bool) override {}
};
