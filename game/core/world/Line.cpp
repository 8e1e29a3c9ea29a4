#include "Line.h"

#include <cmath>

Line::Line(float x0, float y0, float x1, float y1) : p0{x0, y0}, p1{x1, y1}
{
    const float dx = x1 - x0;
    const float dy = y1 - y0;
    length = std::sqrt(dx * dx + dy * dy);
    if (length > 0.0f) {
        direction = {dx / length, dy / length};
        normal = {dy / length, -dx / length};
    }
    // A zero-length segment keeps direction and normal (0, 0).
}

namespace {
// Plain division on purpose: a zero vector gives NaN components, which the
// caller wants to see rather than a made-up direction.
Vec2 UnitOf(Vec2 v)
{
    const float len = std::sqrt(v.x * v.x + v.y * v.y);
    return {v.x / len, v.y / len};
}
} // namespace

float Line::AngleTo(const Line& other) const
{
    const Vec2 u = UnitOf(p1 - other.p1);
    const Vec2 v = UnitOf(p0 - p1);
    float d = Dot(u, v);
    // Comparisons, not fmin/fmax: those would turn a NaN into a bound.
    if (d > 1.0f)
        d = 1.0f;
    else if (d < -1.0f)
        d = -1.0f;
    return std::acos(d);
}
