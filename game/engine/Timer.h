#pragma once

#include <cstdint>

class Clock;

// The frame timer: the length of the last frame and the frames counted in the
// last whole second, published once the summed frame time passes a second.
class Timer {
public:
    // The clock must outlive the timer; the game uses SdlClock().
    explicit Timer(Clock& clock);
    Timer();

    void Start();
    void Update(); // once per frame

    std::uint32_t lastTicks = 0;
    std::uint32_t currentTicks = 0;
    float frameSeconds = 0.0f;
    // Kept in double: a float sum stops growing by a frame's length after a
    // few days of running.
    double lastPublishTime = 0.0;
    int frames = 0;
    int framesPerSecond = 0;
    double elapsed = 0.0;

private:
    Clock* clock;
};
