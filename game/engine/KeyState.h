#pragma once

#include <cstdint>

// The edge state of one button. Events change it only through Set (at the
// start of a tick) and Advance (at its end), so during one update a press or a
// release is seen exactly once.
struct KeyState {
    enum : std::uint32_t { Pressed = 0, Held = 1, Up = 2, Released = 3 };

    std::uint32_t state = Up;

    void Reset() { state = Up; }

    void Set(bool down)
    {
        if (down && (state == Up || state == Released))
            state = Pressed;
        else if (!down && (state == Pressed || state == Held))
            state = Released;
    }

    // Returns the state before the step.
    std::uint32_t Advance()
    {
        const std::uint32_t before = state;
        if (state == Pressed)
            state = Held;
        else if (state == Released)
            state = Up;
        return before;
    }

    bool IsDown() const { return state == Pressed || state == Held; }
};
