#include "HudValues.h"

#include "MathUtil.h"

#include <cmath>
#include <limits>

std::int32_t ClampToInt32(std::int64_t value)
{
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

namespace {
// How far the count from 350 to 200 has gone, 0 to 1.
double TallyCount(std::int32_t endTimer)
{
    const double f = (350.0 - static_cast<double>(endTimer)) / 150.0;
    return f < 0.0 ? 0.0 : (f > 1.0 ? 1.0 : f);
}
} // namespace

std::int32_t ShownScore(std::int32_t score, std::int64_t bonus, bool completed, std::int32_t endTimer)
{
    if (!completed || endTimer > 350)
        return score;
    // In doubles: a float would lose the low digits of large scores.
    const double shown = static_cast<double>(score) + static_cast<double>(bonus) * TallyCount(endTimer);
    return ClampToInt32(static_cast<std::int64_t>(std::trunc(shown)));
}

std::int32_t ShownTotal(std::int64_t bonus, std::int32_t endTimer)
{
    if (endTimer > 350)
        return ClampToInt32(bonus);
    const double shown = static_cast<double>(bonus) * (1.0 - TallyCount(endTimer));
    return ClampToInt32(static_cast<std::int64_t>(std::trunc(shown)));
}

float TallyRowAlpha(std::int32_t endTimer, std::int32_t start)
{
    const float t = static_cast<float>(endTimer);
    const float s = static_cast<float>(start);
    float a = 1.0f;
    if (endTimer >= start)
        a = 0.0f;
    else if (endTimer > start - 50)
        a = Interpolate(0.0f, 1.0f, 0.0f, 50.0f, s - t);
    if (endTimer <= 150)
        a = Interpolate(1.0f, 0.0f, 0.0f, 50.0f, 150.0f - t);
    return a;
}

float TallyValueBlue(std::int32_t endTimer, std::int32_t start)
{
    if (endTimer > start - 100 && endTimer < start)
        return Interpolate(0.0f, 1.0f, 0.0f, 100.0f, static_cast<float>(start - endTimer));
    return 1.0f;
}

float CompletedAlpha(std::int32_t endTimer)
{
    const float t = static_cast<float>(endTimer);
    if (endTimer > 600)
        return Interpolate(0.0f, 1.0f, 0.0f, 50.0f, 700.0f - t);
    if (endTimer <= 150)
        return Interpolate(1.0f, 0.0f, 0.0f, 50.0f, 150.0f - t);
    return 1.0f;
}

float AbortedAlpha(std::int32_t endTimer)
{
    const float t = static_cast<float>(endTimer);
    if (endTimer > 200)
        return Interpolate(0.0f, 1.0f, 0.0f, 50.0f, 300.0f - t);
    if (endTimer <= 150)
        return Interpolate(1.0f, 0.0f, 0.0f, 50.0f, 150.0f - t);
    return 1.0f;
}

float StageAlpha(std::int32_t spawnTimer)
{
    const float p = static_cast<float>(spawnTimer);
    if (spawnTimer <= 150)
        return Interpolate(1.0f, 0.0f, 0.0f, 150.0f, 150.0f - p);
    if (spawnTimer > 175)
        return Interpolate(0.0f, 1.0f, 0.0f, 25.0f, 200.0f - p);
    return 1.0f;
}

float CountdownScale(float secondsLeft) { return 1.5f - (secondsLeft - std::trunc(secondsLeft)); }

float BarFill(float value, float full) { return value * (1.0f / full) * 180.0f; }
