#pragma once

#include <cstdint>

// A millisecond counter that wraps at 2^32 (SDL_GetTicks in the game).
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t Ticks() = 0;
};

// The platform's clock: SDL_GetTicks.
Clock& SdlClock();
