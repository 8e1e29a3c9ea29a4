#pragma once

#include <cstdint>

// The edge state of one button. Events change it only through Set (at the
// start of a tick) and Advance (at its end), so during one update a press or a
// release is seen exactly once. A release that comes in the same tick as its
// press (a quick mouse click, a wheel step, a tapped key) is held back until
// the end of the tick: that update sees the press, the next one the release.
struct KeyState {
    enum : std::uint32_t { Pressed = 0, Held = 1, Up = 2, Released = 3 };

    std::uint32_t state = Up;
    bool releaseLatched = false; // a release waiting behind this tick's press

    void Reset()
    {
        state = Up;
        releaseLatched = false;
    }

    void Set(bool down)
    {
        if (down) {
            releaseLatched = false;
            if (state == Up || state == Released)
                state = Pressed;
        } else if (state == Pressed) {
            releaseLatched = true;
        } else if (state == Held) {
            state = Released;
        }
    }

    // Returns the state before the step.
    std::uint32_t Advance()
    {
        const std::uint32_t before = state;
        if (state == Pressed)
            state = releaseLatched ? Released : Held;
        else if (state == Released)
            state = Up;
        releaseLatched = false;
        return before;
    }

    bool IsDown() const { return state == Pressed || state == Held; }
};
