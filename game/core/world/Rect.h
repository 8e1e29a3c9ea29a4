#pragma once

#include "Vec2.h"

// An axis-aligned box: half sizes, centre, and the minimum and maximum
// corners derived from them.
struct Rect {
    Vec2 half;
    Vec2 centre;
    Vec2 min;
    Vec2 max;

    Rect() = default;
    // Full width and height around the centre.
    Rect(float width, float height, float centreX, float centreY);

    // Moves the box; the half sizes stay.
    void SetCentre(float x, float y);
};

static_assert(sizeof(Rect) == 8 * sizeof(float), "Rect is eight floats");
