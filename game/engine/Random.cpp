#include "Random.h"

#include <cmath>
#include <limits>

namespace {

MinStdRandom& GlobalGenerator()
{
    static MinStdRandom generator(1000);
    return generator;
}

} // namespace

void MinStdRandom::Seed(std::int32_t seed)
{
    std::int32_t s = seed % kModulus;
    if (s < 0)
        s += kModulus;
    state = (s == 0) ? 1 : s;
}

std::int32_t MinStdRandom::Next()
{
    // Schrage's method keeps every product inside 32-bit signed range.
    const std::int32_t hi = state / 127773;
    const std::int32_t lo = state % 127773;
    std::int32_t t = 16807 * lo - 2836 * hi;
    if (t < 0)
        t += kModulus;
    state = t;
    return t;
}

void SeedRandom(int seed)
{
    GlobalGenerator().Seed(seed);
}

int Random()
{
    return GlobalGenerator().Next();
}

float RandomFloat(float max)
{
    const float scaled = max * 1000.0f;
    const std::int32_t r = GlobalGenerator().Next();
    if (!(scaled >= 1.0f))
        return 0.0f;
    // Bounds beyond the generator's range leave every draw below them.
    const std::int64_t steps = scaled >= 2147483647.0f ? std::int64_t{2147483647}
                                                        : static_cast<std::int64_t>(scaled);
    const float value = static_cast<float>(r % steps) * 0.001f;
    // Rounding of very large steps must not reach the bound itself.
    return value < max ? value : std::nextafter(max, 0.0f);
}
