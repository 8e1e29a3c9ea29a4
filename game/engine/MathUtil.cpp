#include "MathUtil.h"

#include <algorithm>
#include <cmath>

namespace {

// Products are carried in double so that large coordinates do not overflow.
double Length(double x, double y)
{
    return std::sqrt(x * x + y * y);
}

Vec2 ScaleToUnit(float x, float y)
{
    const double length = Length(x, y);
    if (!(length > 0.0) || !std::isfinite(length))
        return {0.0f, 0.0f};
    const double inverse = 1.0 / length;
    return {static_cast<float>(x * inverse), static_cast<float>(y * inverse)};
}

} // namespace

float Distance(float x1, float y1, float x2, float y2)
{
    const float dx = x1 - x2;
    const float dy = y1 - y2;
    return static_cast<float>(Length(dx, dy));
}

Vec2 Normalize(float x, float y)
{
    return ScaleToUnit(x, y);
}

Vec2 Reflect(Vec2 v, Vec2 n, float e)
{
    const float k = (v.x * n.x + v.y * n.y) * (1.0f + e);
    return {v.x - n.x * k, v.y - n.y * k};
}

float Lerp(float a, float b, float t)
{
    return (a - b) * t + b;
}

Vec2 Lerp2(Vec2 a, Vec2 b, float t)
{
    return {Lerp(a.x, b.x, t), Lerp(a.y, b.y, t)};
}

void Lerp3(const float a[3], const float b[3], float t, float out[3])
{
    if (a == nullptr || b == nullptr || out == nullptr)
        return;
    for (int i = 0; i < 3; ++i)
        out[i] = Lerp(a[i], b[i], t);
}

float Interpolate(float from, float to, float start, float duration, float now)
{
    if (!(duration > 0.0f))
        return now < start ? from : to;
    const float t = (now - start) / duration;
    const float v = from + (to - from) * t;
    return std::clamp(v, std::min(from, to), std::max(from, to));
}

void AngleToVectors(float degrees, Vec2& forward, Vec2& side)
{
    const float a = degrees * kDegToRad;
    const float b = (degrees + 90.0f) * kDegToRad;
    forward = ScaleToUnit(std::cos(a), std::sin(a));
    side = ScaleToUnit(std::cos(b), std::sin(b));
}

float Length(Vec2 v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}
