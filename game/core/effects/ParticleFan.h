#pragma once

#include "Random.h"
#include "Vec2.h"

// A velocity t * (a, b) + s * (-b, a) with s drawn first from
// [sLow, sLow + sSpan) and t then from [tLow, tLow + tSpan).
inline Vec2 ParticleFan(float a, float b, float sSpan, float sLow, float tSpan, float tLow)
{
    const float s = RandomFloat(sSpan) + sLow;
    const float t = RandomFloat(tSpan) + tLow;
    return {t * a - s * b, t * b + s * a};
}
