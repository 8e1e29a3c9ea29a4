#include "GameHost.h"

#include "Clock.h"
#include "GlTextureLoader.h"
#include "MixerAudioBackend.h"
#include "SdlInput.h"

#include <SDL.h>

namespace {

class SdlHost : public GameHost {
public:
    Clock& FrameClock() override { return SdlClock(); }
    AudioBackend& AudioDevice() override { return audio; }
    TextureLoader& Textures() override { return textures; }
    TextInputMode& TextInput() override { return textInput; }

    bool PollEvent(SDL_Event& event) override { return SDL_PollEvent(&event) != 0; }
    void MouseState(int& x, int& y) override { SDL_GetMouseState(&x, &y); }
    void SwapBuffers() override { SDL_GL_SwapBuffers(); }
    void Delay(std::uint32_t milliseconds) override { SDL_Delay(milliseconds); }
    void GrabInput(bool on) override { SDL_WM_GrabInput(on ? SDL_GRAB_ON : SDL_GRAB_OFF); }

private:
    MixerAudioBackend audio;
    GlTextureLoader textures;
    SdlTextInputMode textInput;
};

} // namespace

GameHost& SdlGameHost()
{
    static SdlHost host;
    return host;
}
