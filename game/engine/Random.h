#pragma once

#include <cstdint>

// The minimal-standard (Park-Miller) generator: state := 16807 * state mod
// (2^31 - 1). One instance serves the whole game through SeedRandom/Random.
class MinStdRandom {
public:
    static constexpr std::int32_t kModulus = 2147483647;

    explicit MinStdRandom(std::int32_t seed = 1) { Seed(seed); }

    // Seeds are reduced into 1 .. kModulus - 1 so the state never sticks at 0.
    void Seed(std::int32_t seed);

    // Next value in 1 .. 2147483646.
    std::int32_t Next();

private:
    std::int32_t state = 1;
};

// The game's one generator, seeded with 1000 at start-up.
void SeedRandom(int seed);
int Random();

// A float in [0, max) in steps of 0.001, from exactly one Random() draw.
// A bound below 0.001 (or not a number) still draws once and returns 0.
float RandomFloat(float max);
