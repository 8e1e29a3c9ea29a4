#include "Timer.h"

#include "Clock.h"

Timer::Timer(Clock& clock) : clock(&clock) {}

Timer::Timer() : clock(&SdlClock()) {}

void Timer::Start()
{
    lastTicks = currentTicks = clock->Ticks();
    frameSeconds = 0.0f;
    lastPublishTime = 0.0;
    frames = 0;
    framesPerSecond = 0;
    elapsed = 0.0;
}

void Timer::Update()
{
    lastTicks = currentTicks;
    currentTicks = clock->Ticks();
    // Unsigned difference: a wrap of the 32-bit counter still gives the true length.
    const std::uint32_t delta = currentTicks - lastTicks;
    frameSeconds = static_cast<float>(delta * 0.001);
    ++frames;
    elapsed += frameSeconds;
    if (elapsed > lastPublishTime + 1.0) {
        lastPublishTime = elapsed;
        framesPerSecond = frames;
        frames = 0;
    }
}
