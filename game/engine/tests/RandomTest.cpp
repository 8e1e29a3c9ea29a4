#include "Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

TEST(RandomTest, MatchesMinimalStandardOverAMillionDraws)
{
    for (int seed : {1000, 1, 2147483646}) {
        SeedRandom(seed);
        std::minstd_rand0 oracle(static_cast<std::minstd_rand0::result_type>(seed));
        for (int i = 0; i < 1000000; ++i) {
            const int got = Random();
            const auto want = static_cast<int>(oracle());
            if (got != want) {
                ADD_FAILURE() << "seed " << seed << " draw " << i << ": " << got << " != " << want;
                break;
            }
        }
    }
}

TEST(RandomTest, FirstDrawAfterSeed1000)
{
    SeedRandom(1000);
    EXPECT_EQ(Random(), 16807 * 1000);
}

TEST(RandomTest, DegenerateSeedsNeverStickAtZero)
{
    // 0 and the modulus itself would freeze the state at 0; negatives would leave the range.
    for (int seed : {0, 2147483647, -1, -2147483647 - 1}) {
        SeedRandom(seed);
        for (int i = 0; i < 1000; ++i) {
            const int r = Random();
            ASSERT_GE(r, 1) << "seed " << seed;
            ASSERT_LE(r, 2147483646) << "seed " << seed;
        }
    }
    SeedRandom(0);
    std::minstd_rand0 oracle(0); // which also starts from 1
    EXPECT_EQ(Random(), static_cast<int>(oracle()));
}

TEST(RandomFloatTest, Cases)
{
    SeedRandom(1000);
    EXPECT_FLOAT_EQ(RandomFloat(5.0f), 2.0f); // 16807000 mod 5000 = 2000

    // Each call takes exactly one draw, whatever the bound.
    struct Case {
        float bound;
        bool alwaysZero;
    };
    const Case cases[] = {{1.0f, false},   {0.5f, false},  {0.001f, true},  {0.0009f, true},
                          {0.0f, true},     {-3.0f, true},  {1e12f, false},  {std::nanf(""), true}};
    for (const Case& c : cases) {
        SeedRandom(77);
        std::minstd_rand0 oracle(77);
        for (int i = 0; i < 2000; ++i) {
            const float v = RandomFloat(c.bound);
            const auto r = static_cast<long long>(oracle());
            if (c.alwaysZero) {
                ASSERT_EQ(v, 0.0f) << "bound " << c.bound;
            } else {
                ASSERT_GE(v, 0.0f) << "bound " << c.bound;
                ASSERT_LT(v, c.bound) << "bound " << c.bound;
                const auto steps = static_cast<long long>(c.bound * 1000.0f);
                if (steps < 2147483647) {
                    ASSERT_FLOAT_EQ(v, static_cast<float>(r % steps) * 0.001f);
                }
            }
        }
        EXPECT_EQ(Random(), static_cast<int>(oracle())) << "bound " << c.bound << " took other than one draw";
    }
}

TEST(RandomFloatTest, BoundOneReachesButNeverPasses0999)
{
    SeedRandom(1000);
    float largest = 0.0f;
    for (int i = 0; i < 200000; ++i)
        largest = std::max(largest, RandomFloat(1.0f));
    EXPECT_FLOAT_EQ(largest, 0.999f);
}

} // namespace
