#include "MathUtil.h"
#include "WrapFrame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

void ExpectVec(Vec2 got, Vec2 want, float tolerance = 1e-6f)
{
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
}

TEST(MathUtilTest, DistanceNormalizeReflectLerp)
{
    EXPECT_FLOAT_EQ(Distance(1, 2, 4, 6), 5.0f);
    // Products are carried wide enough not to overflow.
    EXPECT_FLOAT_EQ(Distance(3e30f, 0, 0, 4e30f), 5e30f);
    ExpectVec(Normalize(3, -4), {0.6f, -0.8f});
    ExpectVec(Normalize(1e30f, 1e30f), {0.70710678f, 0.70710678f});

    ExpectVec(Reflect({3, 4}, {0, -1}, 1.0f), {3, -4});
    ExpectVec(Reflect({3, 4}, {0, -1}, 0.0f), {3, 0});
    ExpectVec(Reflect({3, 4}, {0, -1}, 0.5f), {3, -2});

    EXPECT_EQ(Lerp(7, 3, 1.0f), 7.0f); // current pose
    EXPECT_EQ(Lerp(7, 3, 0.0f), 3.0f); // previous pose
    EXPECT_FLOAT_EQ(Lerp(7, 3, 0.25f), 4.0f);
    ExpectVec(Lerp2({2, 10}, {0, 0}, 0.5f), {1, 5});
    const float a[3] = {1, 0, 0.5f}, b[3] = {0, 1, 0.5f};
    float out[3] = {};
    Lerp3(a, b, 0.75f, out);
    EXPECT_FLOAT_EQ(out[0], 0.75f);
    EXPECT_FLOAT_EQ(out[1], 0.25f);
    EXPECT_FLOAT_EQ(out[2], 0.5f);
}

TEST(MathUtilTest, ZeroAndNonFiniteVectorsNormalizeToZero)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (Vec2 v : {Vec2{0, 0}, Vec2{-0.0f, 0}, Vec2{inf, 0}, Vec2{nan, 1}}) {
        const Vec2 n = Normalize(v.x, v.y);
        EXPECT_EQ(n, (Vec2{0, 0})) << v.x << "," << v.y;
    }
    Vec2 forward{9, 9}, side{9, 9};
    AngleToVectors(inf, forward, side);
    EXPECT_EQ(forward, (Vec2{0, 0}));
    EXPECT_EQ(side, (Vec2{0, 0}));
}

TEST(MathUtilTest, Interpolate)
{
    struct Case {
        float from, to, start, duration, now, expected;
    };
    const Case cases[] = {
        {0, 1, 10, 5, 7, 0},      {0, 1, 10, 5, 20, 1},    {0, 1, 10, 5, 12.5f, 0.5f},
        {1, 0, 10, 5, 12.5f, 0.5f}, {1, 0, 10, 5, 7, 1},   {1, 0, 10, 5, 99, 0},
        {-2, 2, 0, 4, 1, -1},
        // Duration 0 or below jumps at start instead of dividing by it.
        {3, 8, 10, 0, 9.99f, 3},  {3, 8, 10, 0, 10, 8},    {3, 8, 10, -1, 11, 8},
        {3, 8, 10, -1, 5, 3},
    };
    for (const Case& c : cases) {
        const float v = Interpolate(c.from, c.to, c.start, c.duration, c.now);
        EXPECT_FLOAT_EQ(v, c.expected) << c.from << "->" << c.to << " start " << c.start << " dur "
                                       << c.duration << " now " << c.now;
    }
}

TEST(MathUtilTest, AngleToVectorsGivesUnitForwardAndClockwiseSide)
{
    struct Case {
        float degrees;
        Vec2 forward, side;
    };
    const Case cases[] = {
        {0, {1, 0}, {0, 1}},   {90, {0, 1}, {-1, 0}},  {180, {-1, 0}, {0, -1}},
        {-90, {0, -1}, {1, 0}}, {45, {0.70710678f, 0.70710678f}, {-0.70710678f, 0.70710678f}},
    };
    for (const Case& c : cases) {
        Vec2 forward, side;
        AngleToVectors(c.degrees, forward, side);
        ExpectVec(forward, c.forward, 1e-6f);
        ExpectVec(side, c.side, 1e-6f);
    }
    for (float degrees = -720; degrees <= 720; degrees += 7.3f) {
        Vec2 forward, side;
        AngleToVectors(degrees, forward, side);
        EXPECT_NEAR(std::hypot(forward.x, forward.y), 1.0f, 1e-6f);
        EXPECT_NEAR(std::hypot(side.x, side.y), 1.0f, 1e-6f);
        EXPECT_NEAR(Dot(forward, side), 0.0f, 1e-5f);
    }
}

TEST(WrapFrameTest, NearestImageAndDirectionWithTheirTieRules)
{
    const WrapFrame frame{{100, 50}, 1000};
    struct Case {
        Vec2 from;
        Vec2 nearest;   // NearestPlayerPosition
        Vec2 direction; // DirectionToPlayer
    };
    const Case cases[] = {
        {{200, 50}, {100, 50}, {-1, 0}},   // own image clearly nearest
        {{900, 50}, {1100, 50}, {1, 0}},   // +W image nearest
        {{-700, 50}, {-900, 50}, {-1, 0}}, // -W image nearest
        // Halfway between own and +W: nearest prefers +W, direction prefers own.
        {{600, 50}, {1100, 50}, {-1, 0}},
        // Halfway between own and -W: nearest prefers -W, direction prefers own.
        {{-400, 50}, {-900, 50}, {1, 0}},
        {{100, 350}, {100, 50}, {0, -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from.x << "," << c.from.y);
        ExpectVec(NearestPlayerPosition(c.from.x, c.from.y, frame), c.nearest);
        ExpectVec(DirectionToPlayer(c.from.x, c.from.y, frame), c.direction);
    }
}

TEST(WrapFrameTest, DegenerateWorlds)
{
    // A zero-width world makes all three images one point: ties go to +W / own.
    const WrapFrame flat{{10, 10}, 0};
    ExpectVec(NearestPlayerPosition(0, 0, flat), {10, 10});
    ExpectVec(DirectionToPlayer(7, 6, flat), {0.6f, 0.8f});
    // Standing on the player: no direction.
    EXPECT_EQ(DirectionToPlayer(10, 10, flat), (Vec2{0, 0}));
    const WrapFrame world{{100, 50}, 1000};
    EXPECT_EQ(DirectionToPlayer(100, 50, world), (Vec2{0, 0}));
    EXPECT_EQ(DirectionToPlayer(1100, 50, world), (Vec2{0, 0}));
}

} // namespace
