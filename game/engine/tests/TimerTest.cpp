#include "Clock.h"
#include "Timer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

class FakeClock : public Clock {
public:
    std::uint32_t Ticks() override { return now; }
    std::uint32_t now = 0;
};

class TimerTest : public ::testing::Test {
protected:
    void StartAt(std::uint32_t ticks)
    {
        clock.now = ticks;
        timer.Start();
    }
    void FrameAfter(std::uint32_t milliseconds)
    {
        clock.now += milliseconds; // wraps like the real counter
        timer.Update();
    }

    FakeClock clock;
    Timer timer{clock};
};

TEST_F(TimerTest, StartResetsEverything)
{
    timer.frames = 9;
    timer.framesPerSecond = 60;
    timer.elapsed = 5.0;
    StartAt(1234);
    EXPECT_EQ(timer.lastTicks, 1234u);
    EXPECT_EQ(timer.currentTicks, 1234u);
    EXPECT_EQ(timer.frameSeconds, 0.0f);
    EXPECT_EQ(timer.frames, 0);
    EXPECT_EQ(timer.framesPerSecond, 0);
    EXPECT_EQ(timer.elapsed, 0.0);
    EXPECT_EQ(timer.lastPublishTime, 0.0);
}

TEST_F(TimerTest, FrameLengthFromTheTickDifference)
{
    StartAt(1000);
    FrameAfter(0);
    EXPECT_EQ(timer.frameSeconds, 0.0f);
    FrameAfter(20);
    EXPECT_FLOAT_EQ(timer.frameSeconds, 0.02f);
    EXPECT_EQ(timer.lastTicks, 1000u);
    EXPECT_EQ(timer.currentTicks, 1020u);
    EXPECT_EQ(timer.frames, 2);
}

TEST_F(TimerTest, WrapOfTheMillisecondCounterGivesTheTrueLength)
{
    StartAt(0xFFFFFFF0u);
    FrameAfter(0x20); // crosses zero
    EXPECT_EQ(timer.currentTicks, 0x10u);
    EXPECT_FLOAT_EQ(timer.frameSeconds, 0.032f);
    EXPECT_NEAR(timer.elapsed, 0.032, 1e-6);
}

TEST_F(TimerTest, RateIsPublishedOnceMoreThanASecondHasPassed)
{
    StartAt(0);
    for (int i = 0; i < 4; ++i) {
        FrameAfter(250);
        EXPECT_EQ(timer.framesPerSecond, 0);
    }
    // Exactly one second is not more than one second.
    EXPECT_EQ(timer.elapsed, 1.0);
    EXPECT_EQ(timer.frames, 4);
    FrameAfter(250);
    EXPECT_EQ(timer.framesPerSecond, 5);
    EXPECT_EQ(timer.frames, 0);
    EXPECT_EQ(timer.lastPublishTime, 1.25);

    // The next second counts from the publication.
    for (int i = 0; i < 4; ++i)
        FrameAfter(250);
    EXPECT_EQ(timer.framesPerSecond, 5);
    FrameAfter(1);
    EXPECT_EQ(timer.framesPerSecond, 5);
    EXPECT_EQ(timer.frames, 0);
    FrameAfter(100);
    FrameAfter(950);
    EXPECT_EQ(timer.framesPerSecond, 2);
}

TEST_F(TimerTest, ElapsedKeepsGrowingAfterLongRuns)
{
    StartAt(0);
    timer.elapsed = 1.0e6; // about eleven days of frames
    timer.lastPublishTime = 1.0e6;
    FrameAfter(16);
    EXPECT_NEAR(timer.elapsed - 1.0e6, 0.016, 1e-6);
}

} // namespace
