// Ribbons: trails behind seekers and missiles, and the shock rings of
// explosions.
#include "ParticleList.h"
#include "ParticleRef.h"
#include "ParticleTestFixture.h"
#include "Ribbons.h"
#include "ShockRing.h"
#include "Trail.h"

#include "testing/RecordingDrawSink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

class RibbonTest : public ::testing::Test, public ParticleFixture {};

TEST_F(RibbonTest, ATrailIsDrawnFromItsSecondPointAsA32WideBand)
{
    Trail trail(100, 50, 1, 0.5f, 0.25f);
    ASSERT_EQ(trail.particles.size(), 1u);
    EXPECT_EQ(trail.particles[0].normal, Vec2{});
    RecordingDrawSink sink;
    trail.Draw(sink, 1.0f);
    EXPECT_TRUE(sink.batches.empty());

    trail.Emit(110, 50, 1, 0.5f, 0.25f);
    trail.Draw(sink, 1.0f);
    ASSERT_EQ(sink.batches.size(), 1u);
    const RecordingDrawSink::Batch& strip = sink.batches[0];
    EXPECT_EQ(strip.primitive, DrawSink::Primitive::QuadStrip);
    EXPECT_TRUE(strip.ended);
    ASSERT_EQ(strip.vertices.size(), 4u);
    const float expected[4][3] = {{100, 34, 0}, {100, 66, 1}, {110, 34, 0}, {110, 66, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(strip.vertices[i].x, expected[i][0]);
        EXPECT_FLOAT_EQ(strip.vertices[i].y, expected[i][1]);
        EXPECT_EQ(strip.vertices[i].u, expected[i][2]);
        EXPECT_EQ(strip.vertices[i].v, 0.5f);
        EXPECT_EQ(strip.vertices[i].g, 0.5f);
    }
}

TEST_F(RibbonTest, TrailNormalsRunAcrossEachStepAndARepeatedPointCopiesTheLast)
{
    Trail trail(0, 0, 1, 1, 1);
    trail.Emit(0, 10, 1, 1, 1); // step down: normal (-1, 0)
    trail.Emit(0, 10, 1, 1, 1); // no step
    trail.Emit(10, 10, 1, 1, 1); // step right: normal (0, 1)
    ASSERT_EQ(trail.particles.size(), 4u);
    const Vec2 expected[] = {{-1, 0}, {-1, 0}, {-1, 0}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(trail.particles[i].normal.x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(trail.particles[i].normal.y, expected[i].y) << i;
        EXPECT_EQ(trail.particles[i].width, 16.0f);
        EXPECT_EQ(trail.particles[i].life, 2.0f);
    }

    // A second point on the first: no direction yet, and no NaN either.
    Trail still(5, 5, 1, 1, 1);
    still.Emit(5, 5, 1, 1, 1);
    RecordingDrawSink sink;
    still.Draw(sink, 1.0f);
    for (const auto& v : sink.vertices) {
        EXPECT_FALSE(std::isnan(v.x));
        EXPECT_FALSE(std::isnan(v.y));
    }
}

TEST_F(RibbonTest, AnAbandonedTrailExpiresOldestFirstKeepingTheNewestExpiredPoint)
{
    ParticleList ribbons;
    ParticleRef<Trail> trail = ribbons.Add(std::make_unique<Trail>(0, 0, 1, 1, 1));
    for (int tick = 1; tick <= 4; ++tick) { // points born on ticks 0, 2 and 4
        ribbons.Update();
        if (tick % 2 == 0)
            trail->Emit(10.0f * tick, 0, 1, 1, 1);
    }
    ASSERT_EQ(trail->particles.size(), 3u);
    EXPECT_FLOAT_EQ(trail->particles[0].colour[0], 1.0f - 4 * 0.02f);

    int updates = 4;
    while (trail->particles[0].life > 0.0f) {
        ribbons.Update();
        ++updates;
    }
    EXPECT_EQ(updates, 101); // the first point's 101st update ends it
    EXPECT_EQ(trail->particles.size(), 3u); // an expired point ties the band to its end
    ribbons.Update();
    ribbons.Update(); // the second point expires: the first goes
    ASSERT_EQ(trail->particles.size(), 2u);
    EXPECT_EQ(trail->particles[0].position.x, 20.0f);
    EXPECT_LE(trail->particles[0].life, 0.0f);
    EXPECT_GT(trail->particles[1].life, 0.0f);
    ribbons.Update();
    ribbons.Update(); // the last point expires: nothing alive
    EXPECT_FALSE(trail);
    EXPECT_TRUE(ribbons.Empty());
}

TEST_F(RibbonTest, TranslateMovesEveryPointAndNothingElse)
{
    Trail trail(10, 20, 0.5f, 1, 1);
    trail.Emit(30, 25, 0.5f, 1, 1);
    trail.Update();
    const std::vector<TrailPoint> before = trail.particles;
    trail.Translate(4000, 0);
    ASSERT_EQ(trail.particles.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        const TrailPoint& a = before[i];
        const TrailPoint& b = trail.particles[i];
        EXPECT_EQ(b.position.x, a.position.x + 4000);
        EXPECT_EQ(b.position.y, a.position.y);
        EXPECT_EQ(b.normal, a.normal);
        EXPECT_EQ(b.life, a.life);
        EXPECT_EQ(b.colour[0], a.colour[0]);
        EXPECT_EQ(b.width, a.width);
    }
}

float Radius(const TrailPoint& p, Vec2 centre)
{
    return std::hypot(p.position.x - centre.x, p.position.y - centre.y);
}

std::unique_ptr<ShockRing> MakeRing(float x, float y, float speed)
{
    auto ring = std::make_unique<ShockRing>(x, y, 1, 1, 1);
    ring->speed = speed;
    ring->Emit(x, y, 1, 0.5f, 0.25f);
    return ring;
}

TEST_F(RibbonTest, ShockRingsAreBuiltFromTheirSpeed)
{
    struct Case {
        float speed;
        std::size_t points;
        float radius;
        bool movesOut;
    } cases[] = {
        {30, 31, 15, true},
        {24, 25, 12, false},
        {25, 26, 12.5f, false}, // 25 itself does not move outward
        {25.5f, 26, 12.75f, true},
    };
    for (const Case& c : cases) {
        auto ring = MakeRing(300, 200, c.speed);
        ASSERT_EQ(ring->particles.size(), c.points) << c.speed;
        for (std::size_t i = 0; i < ring->particles.size(); ++i) {
            const TrailPoint& p = ring->particles[i];
            EXPECT_NEAR(Radius(p, {300, 200}), c.radius, 1e-3f);
            EXPECT_NEAR(p.normal.x, (p.position.x - 300) / c.radius, 1e-4f); // outward
            EXPECT_NEAR(p.normal.y, (p.position.y - 200) / c.radius, 1e-4f);
            EXPECT_EQ(p.width, c.speed);
            EXPECT_EQ(p.previousWidth, c.speed);
            EXPECT_EQ(p.life, 1.0f);
        }
        EXPECT_NEAR(ring->particles[0].position.y, 200 + c.radius, 1e-4f); // starts below
        ring->Update();
        const TrailPoint& p = ring->particles[1];
        EXPECT_NEAR(Radius(p, {300, 200}), c.radius + (c.movesOut ? 2.0f : 0.0f), 1e-3f) << c.speed;
        EXPECT_FLOAT_EQ(p.width, c.speed * 1.02f);
        EXPECT_EQ(p.previousWidth, c.speed);
        EXPECT_FLOAT_EQ(p.colour[1], 0.48f);
    }

    // A whole speed closes the band: the last point lies on the first.
    auto closed = MakeRing(0, 0, 30);
    EXPECT_NEAR(closed->particles.back().position.x, closed->particles.front().position.x, 1e-3f);
    EXPECT_NEAR(closed->particles.back().position.y, closed->particles.front().position.y, 1e-3f);
}

TEST_F(RibbonTest, ARingWidensForFiftyUpdatesAndFinishesOnTheFiftyFirst)
{
    LookAt(300, 200);
    ParticleList ribbons;
    ParticleRef<ShockRing> ring = ribbons.Add(MakeRing(300, 200, 30));
    for (int tick = 0; tick < 50; ++tick)
        ribbons.Update();
    ASSERT_TRUE(ring);
    EXPECT_NEAR(ring->particles[0].width, 60.0f, 1e-3f);
    EXPECT_NEAR(Radius(ring->particles[0], {300, 200}), 115.0f, 1e-2f);
    EXPECT_TRUE(ring->onScreen);
    const TrailPoint last = ring->particles[0];
    ribbons.Update();
    EXPECT_FALSE(ring);

    // A spent point keeps its last state (and is still drawn until the end).
    auto spent = MakeRing(300, 200, 30);
    for (int tick = 0; tick < 51; ++tick)
        spent->Update();
    EXPECT_TRUE(spent->finished);
    EXPECT_EQ(spent->particles[0].width, last.width);
    EXPECT_EQ(spent->particles[0].position, last.position);
}

TEST_F(RibbonTest, ARingWithoutASensibleSpeedHasNoPointsAndFinishesAtOnce)
{
    for (float speed : {-1.0f, -0.5f, std::numeric_limits<float>::quiet_NaN(),
                        std::numeric_limits<float>::infinity()}) {
        auto ring = MakeRing(300, 200, speed);
        EXPECT_TRUE(ring->particles.empty()) << speed;
        ring->Update();
        EXPECT_TRUE(ring->finished) << speed;
    }
    auto huge = MakeRing(300, 200, 1e9f); // cut to the point limit
    EXPECT_EQ(huge->particles.size(), static_cast<std::size_t>(ShockRing::kMaxPoints));
    auto dot = MakeRing(300, 200, 0.0f); // one point, nothing to draw
    EXPECT_EQ(dot->particles.size(), 1u);
    EXPECT_FALSE(std::isnan(dot->particles[0].position.x));
}

TEST_F(RibbonTest, DrawRibbonsBlendsTheWidthAndSkipsRibbonsOffScreen)
{
    LookAt(300, 200);
    ParticleList ribbons;
    ShockRing* near = ribbons.Add(MakeRing(300, 200, 24));
    ShockRing* far = ribbons.Add(MakeRing(3000, 200, 24));
    ribbons.Add(std::make_unique<Trail>(5000, 5000, 1, 1, 1)); // one point
    ribbons.Update();
    EXPECT_TRUE(near->onScreen);
    EXPECT_FALSE(far->onScreen);

    RecordingDrawSink sink;
    DrawRibbons(ribbons, sink, 0.5f);
    ASSERT_EQ(sink.batches.size(), 1u);
    ASSERT_EQ(sink.batches[0].vertices.size(), 50u);
    const TrailPoint& p = near->particles[3];
    const float w = 24.0f + 0.5f * 0.48f;
    EXPECT_FLOAT_EQ(sink.batches[0].vertices[6].x, p.position.x - w * p.normal.x);
    EXPECT_FLOAT_EQ(sink.batches[0].vertices[7].y, p.position.y + w * p.normal.y);
    EXPECT_FLOAT_EQ(sink.batches[0].vertices[7].r, p.colour[0]);

    ParticleRef<ShockRing> handle = near;
    ClearRibbons(ribbons);
    EXPECT_TRUE(ribbons.Empty());
    EXPECT_FALSE(handle);
}

} // namespace
