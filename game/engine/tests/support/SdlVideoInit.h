#pragma once

#include <SDL.h>

#include <chrono>
#include <thread>

// Starts SDL video on the test display. An Xvfb started without -noreset
// refuses connections for a moment while it resets after its last client
// leaves, which parallel test processes hit now and then: retry briefly.
inline bool InitSdlVideoWithRetry(Uint32 flags)
{
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (SDL_Init(flags) == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}
