#include "Random.h"

#include <cmath>
#include <limits>

namespace {

// Constant-initialised, so it is ready before any other static code draws.
MinStdRandom generator(1000);

MinStdRandom& GlobalGenerator()
{
    return generator;
}

} // namespace

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
