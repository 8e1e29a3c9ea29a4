#include "Clock.h"

#include <SDL.h>

namespace {

class SdlTicksClock : public Clock {
public:
    std::uint32_t Ticks() override { return SDL_GetTicks(); }
};

} // namespace

Clock& SdlClock()
{
    static SdlTicksClock clock;
    return clock;
}
