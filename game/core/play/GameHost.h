#pragma once

#include <cstdint>

union SDL_Event;
class AudioBackend;
class Clock;
class TextInputMode;
class TextureLoader;

// Everything the game needs from the platform apart from OpenGL drawing:
// time, events, the mouse, the buffer swap, sound and texture loading. The
// program uses SdlGameHost(); tests drive the game through their own host
// with a scripted clock and event queue.
class GameHost {
public:
    virtual ~GameHost() = default;

    virtual Clock& FrameClock() = 0;
    virtual AudioBackend& AudioDevice() = 0;
    virtual TextureLoader& Textures() = 0;
    virtual TextInputMode& TextInput() = 0;

    // The next queued event; false when the queue is empty.
    virtual bool PollEvent(SDL_Event& event) = 0;
    virtual void MouseState(int& x, int& y) = 0;
    // Shows the frame just drawn.
    virtual void SwapBuffers() = 0;
    virtual void Delay(std::uint32_t milliseconds) = 0;
    // Keeps the mouse inside the window (or lets it go).
    virtual void GrabInput(bool on) = 0;
};

// SDL, SDL_mixer and OpenGL: one instance for the whole program.
GameHost& SdlGameHost();
