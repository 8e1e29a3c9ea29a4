#pragma once

#include "Vec2.h"

// A segment from p0 to p1 with its unit normal, unit direction and length.
// The normal is the direction turned a quarter turn so that a segment running
// toward +x has its normal toward -y (up the screen). A zero-length segment
// has direction and normal (0, 0) and length 0.
struct Line {
    Vec2 p0;
    Vec2 p1;
    Vec2 normal;
    Vec2 direction;
    float length = 0.0f;

    Line() = default;
    Line(float x0, float y0, float x1, float y1);
    Line(Vec2 a, Vec2 b) : Line(a.x, a.y, b.x, b.y) {}

    // acos of the dot product of the unit vector of (p1 - other.p1) and that
    // of (p0 - p1), in radians (0 to pi). The dot product is clamped into
    // [-1, 1] against rounding; a zero vector makes the answer NaN.
    float AngleTo(const Line& other) const;
};

static_assert(sizeof(Line) == 9 * sizeof(float), "Line is nine floats");
