#pragma once

#include <cstdint>

// The minimal-standard (Park-Miller) generator: state := 16807 * state mod
// (2^31 - 1). One instance serves the whole game through SeedRandom/Random.
class MinStdRandom {
public:
    static constexpr std::int32_t kModulus = 2147483647;

    constexpr explicit MinStdRandom(std::int32_t seed = 1) : state(Reduce(seed)) {}

    // Seeds are reduced into 1 .. kModulus - 1 so the state never sticks at 0.
    void Seed(std::int32_t seed) { state = Reduce(seed); }

    // Next value in 1 .. 2147483646.
    std::int32_t Next()
    {
        // The product stays below 2^46; folding the bits above 31 back in is
        // an exact reduction modulo 2^31 - 1 (the same values as Schrage's
        // method, without its two divisions).
        std::uint64_t p = static_cast<std::uint64_t>(state) * 16807u;
        p = (p & kModulus) + (p >> 31);
        if (p >= static_cast<std::uint64_t>(kModulus))
            p -= kModulus;
        state = static_cast<std::int32_t>(p);
        return state;
    }

private:
    static constexpr std::int32_t Reduce(std::int32_t seed)
    {
        std::int32_t s = seed % kModulus;
        if (s < 0)
            s += kModulus;
        return s == 0 ? 1 : s;
    }

    std::int32_t state;
};

// The game's one generator, seeded with 1000 at start-up.
void SeedRandom(int seed);
int Random();

// A float in [0, max) in steps of 0.001, from exactly one Random() draw.
// A bound below 0.001 (or not a number) still draws once and returns 0.
float RandomFloat(float max);
