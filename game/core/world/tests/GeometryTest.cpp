#include "Collision.h"
#include "DrawSink.h"
#include "Line.h"
#include "Rect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

TEST(LineTest, ConstructionGivesUnitDirectionNormalAndLength)
{
    const Line line(0, 0, 10, 0);
    EXPECT_EQ(line.direction, (Vec2{1, 0}));
    EXPECT_EQ(line.normal, (Vec2{0, -1}));
    EXPECT_FLOAT_EQ(line.length, 10.0f);

    const Line diagonal(1, 1, 4, 5); // 3-4-5
    EXPECT_FLOAT_EQ(diagonal.direction.x, 0.6f);
    EXPECT_FLOAT_EQ(diagonal.direction.y, 0.8f);
    EXPECT_FLOAT_EQ(diagonal.normal.x, 0.8f);
    EXPECT_FLOAT_EQ(diagonal.normal.y, -0.6f);
}

TEST(LineTest, ZeroLengthSegmentHasZeroDirectionAndNormalAndActsAsAPoint)
{
    const Line point(3, 4, 3, 4);
    EXPECT_EQ(point.direction, (Vec2{0, 0}));
    EXPECT_EQ(point.normal, (Vec2{0, 0}));
    EXPECT_EQ(point.length, 0.0f);
    // Its only point is the nearest point; nothing divides by zero.
    EXPECT_EQ(ClosestPointOnSegment(10, 10, point), (Vec2{3, 4}));
    EXPECT_FLOAT_EQ(DistancePointToSegment(6, 8, point), 5.0f);
    EXPECT_TRUE(PointNearSegment(point, HullCircle(5, 6, 8)));
    EXPECT_FALSE(SegmentIntersectsRect(point, Rect(2, 2, 10, 10)));
    EXPECT_TRUE(SegmentIntersectsRect(point, Rect(2, 2, 3, 4)));
    Vec2 out{-1, -1};
    EXPECT_TRUE(SegmentCircleIntersection(point, HullCircle(1, 3, 4), &out));
    EXPECT_EQ(out, (Vec2{3, 4}));
    EXPECT_FALSE(SegmentsIntersect(point, Line(0, 0, 10, 10), &out)); // zero denominator
}

TEST(LineTest, AngleToClampsRoundingButLetsNaNThrough)
{
    // u = unit(p1 - other.p1), v = unit(p0 - p1).
    const Line a(0, 0, 10, 0);
    EXPECT_NEAR(a.AngleTo(Line(0, 0, 20, 0)), 0.0f, 1e-6f);            // u=(-1,0), v=(-1,0)
    EXPECT_NEAR(a.AngleTo(Line(0, 0, 0, 0)), 3.14159265f, 1e-6f);       // u=(1,0), v=(-1,0)
    EXPECT_NEAR(a.AngleTo(Line(0, 0, 10, 10)), 1.5707963f, 1e-6f);      // u=(0,-1), v=(-1,0)
    // Nearly parallel vectors whose rounded dot product exceeds 1: clamped, not NaN.
    const Line b(0.1f, 0.3f, 0.7f, 0.9f);
    const float answer = b.AngleTo(Line(0, 0, 1.3f, 1.5f));
    EXPECT_FALSE(std::isnan(answer));
    EXPECT_NEAR(answer, 0.0f, 1e-3f);
    // A zero vector has no direction: NaN, as a NaN dot product is not clamped.
    EXPECT_TRUE(std::isnan(a.AngleTo(Line(5, 5, 10, 0))));  // p1 == other.p1
    EXPECT_TRUE(std::isnan(Line(2, 2, 2, 2).AngleTo(Line(0, 0, 9, 9)))); // p0 == p1
}

TEST(RectTest, FullSizesAroundCentreAndRecentring)
{
    Rect box(100, 50, 10, 20);
    EXPECT_EQ(box.half, (Vec2{50, 25}));
    EXPECT_EQ(box.min, (Vec2{-40, -5}));
    EXPECT_EQ(box.max, (Vec2{60, 45}));
    box.SetCentre(0, 0);
    EXPECT_EQ(box.half, (Vec2{50, 25}));
    EXPECT_EQ(box.min, (Vec2{-50, -25}));
    EXPECT_EQ(box.max, (Vec2{50, 25}));
    EXPECT_EQ(Rect().max, (Vec2{0, 0}));
}

struct PointRectCase {
    float x, y;
    bool inside;
};

TEST(CollisionTest, PointInRectCountsEdgesOnly)
{
    const Rect box(100, 100, 0, 0); // -50..50
    const PointRectCase cases[] = {
        {50, 0, true}, {50.001f, 0, false}, {-50, -50, true}, {-50.001f, 0, false},
        {0, 50, true}, {0, 50.001f, false}, {0, 0, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PointInRect(c.x, c.y, box), c.inside) << c.x << "," << c.y;
}

TEST(CollisionTest, TouchingBoxesAndCirclesOverlap)
{
    const Rect a(100, 100, 0, 0);
    EXPECT_TRUE(RectsOverlap(a, Rect(100, 100, 100, 0)));     // shared edge
    EXPECT_TRUE(RectsOverlap(a, Rect(100, 100, 100, 100)));   // shared corner
    EXPECT_FALSE(RectsOverlap(a, Rect(100, 100, 100.01f, 0)));
    EXPECT_FALSE(RectsOverlap(a, Rect(100, 100, 0, -100.01f)));

    EXPECT_TRUE(CirclesOverlap(HullCircle(3, 0, 0), HullCircle(2, 5, 0)));
    EXPECT_FALSE(CirclesOverlap(HullCircle(3, 0, 0), HullCircle(2, 5.001f, 0)));
    // World centres count, not offsets.
    EXPECT_FALSE(CirclesOverlap(HullCircle(1, 0, 0, 10, 0), HullCircle(1, 0, 0)));
    EXPECT_TRUE(PointInCircle(3, 4, 5, 0, 0));
    EXPECT_FALSE(PointInCircle(3, 4.01f, 5, 0, 0));
}

TEST(CollisionTest, ClosestPointClampsToTheSegment)
{
    const Line line(0, 0, 10, 0);
    EXPECT_EQ(ClosestPointOnSegment(15, 3, line), (Vec2{10, 0}));
    EXPECT_EQ(ClosestPointOnSegment(-4, -3, line), (Vec2{0, 0}));
    EXPECT_EQ(ClosestPointOnSegment(4, 7, line), (Vec2{4, 0}));
    EXPECT_FLOAT_EQ(DistancePointToSegment(13, 4, line), 5.0f);
    EXPECT_TRUE(PointNearSegment(line, HullCircle(7, 4, 7)));
    EXPECT_FALSE(PointNearSegment(line, HullCircle(6.99f, 4, 7)));
}

struct SegmentsCase {
    Line a, b;
    bool hit;
    Vec2 point;
};

TEST(CollisionTest, SegmentsIntersectRules)
{
    const SegmentsCase cases[] = {
        {Line(0, 0, 10, 10), Line(0, 10, 10, 0), true, {5, 5}},   // crossing
        {Line(0, 0, 10, 0), Line(10, 0, 10, 10), true, {10, 0}},  // meet at end points
        {Line(0, 0, 10, 0), Line(5, 0, 15, 0), false, {}},        // collinear overlap
        {Line(0, 0, 10, 0), Line(0, 1, 10, 1), false, {}},        // parallel
        {Line(0, 0, 10, 0), Line(11, -5, 11, 5), false, {}},      // bounds apart
        {Line(0, 0, 10, 10), Line(0, 10, 4, 6), false, {}},       // line crosses, segment short
    };
    for (const auto& c : cases) {
        Vec2 out{-99, -99};
        EXPECT_EQ(SegmentsIntersect(c.a, c.b, &out), c.hit);
        if (c.hit) {
            EXPECT_NEAR(out.x, c.point.x, 1e-5f);
            EXPECT_NEAR(out.y, c.point.y, 1e-5f);
        } else {
            EXPECT_EQ(out, (Vec2{-99, -99})) << "out written on a miss";
        }
    }
    EXPECT_TRUE(SegmentBoundsOverlap(Line(0, 0, 10, 0), Line(10, 0, 20, 5))); // touching boxes
    EXPECT_TRUE(SegmentsIntersect(Line(0, 0, 10, 10), Line(0, 10, 10, 0), nullptr));
}

struct SegmentRectCase {
    Line line;
    bool hit;
    const char* what;
};

TEST(CollisionTest, SegmentIntersectsRectRules)
{
    const Rect box(100, 100, 0, 0); // -50..50
    const SegmentRectCase cases[] = {
        {Line(-80, -50, 80, -50), true, "along the top edge"},
        {Line(-80, -60, 80, -51), false, "wholly above"},
        {Line(-80, 0, 80, 0), true, "through the middle"},
        {Line(50, -80, 50, 80), true, "end points beyond, along the right edge"},
        {Line(-51, 46, -48.5f, 51), false, "cuts a corner, nearest point to the centre outside"},
        {Line(0, 0, 0, 0), true, "a point at the centre"},
        {Line(51, -10, 60, 10), false, "wholly right"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SegmentIntersectsRect(c.line, box), c.hit) << c.what;
}

struct CircleRectCase {
    HullCircle circle;
    Rect box;
    bool hit;
    const char* what;
};

TEST(CollisionTest, CircleIntersectsRectRules)
{
    const Rect box(100, 100, 0, 0); // -50..50
    const Rect wide(1000, 100, 0, 0);
    const CircleRectCase cases[] = {
        {HullCircle(1, 50, 50), box, true, "centre on the corner (rule 1)"},
        {HullCircle(10, 0, -55), box, true, "5 outside the middle of an edge (rule 2)"},
        {HullCircle(10, 0, -60.01f), box, false, "just beyond reach of the edge"},
        {HullCircle(200, 60, 0), box, true, "box centre inside, near point overshoots (rule 3)"},
        {HullCircle(10, 58, 45), box, true, "only a corner inside (rule 4)"},
        {HullCircle(10, 58, 58), box, false, "corner just outside"},
        {HullCircle(10, 300, -58), wide, false, "crosses a long edge far from centre and corners"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CircleIntersectsRect(c.circle, c.box), c.hit) << c.what;
}

TEST(CollisionTest, SegmentCircleIntersectionEntryExitAndTangent)
{
    Vec2 out;
    // Entering from outside: the near point.
    ASSERT_TRUE(SegmentCircleIntersection(Line(-10, 0, 10, 0), HullCircle(5, 0, 0), &out));
    EXPECT_NEAR(out.x, -5, 1e-5f);
    EXPECT_NEAR(out.y, 0, 1e-5f);
    // Starting inside: the exit point.
    ASSERT_TRUE(SegmentCircleIntersection(Line(1, 0, 10, 0), HullCircle(5, 0, 0), &out));
    EXPECT_NEAR(out.x, 5, 1e-5f);
    // Tangent: discriminant 0, the touching point.
    ASSERT_TRUE(SegmentCircleIntersection(Line(-10, 4, 10, 4), HullCircle(4, 0, 0), &out));
    EXPECT_NEAR(out.x, 0, 1e-3f);
    EXPECT_NEAR(out.y, 4, 1e-5f);
    // t is not clamped: a segment ending inside reports the entry point on it.
    ASSERT_TRUE(SegmentCircleIntersection(Line(-10, 0, -3, 0), HullCircle(5, 0, 0), &out));
    EXPECT_NEAR(out.x, -5, 1e-5f);
    // Too far: false, out untouched.
    out = {-7, -7};
    EXPECT_FALSE(SegmentCircleIntersection(Line(-10, 6, 10, 6), HullCircle(5, 0, 0), &out));
    EXPECT_EQ(out, (Vec2{-7, -7}));
}

TEST(CollisionTest, NonFiniteInputAnswersNoOverlap)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Rect box(100, 100, 0, 0);
    EXPECT_FALSE(PointInRect(nan, 0, box));
    EXPECT_FALSE(CirclesOverlap(HullCircle(5, nan, 0), HullCircle(5, 0, 0)));
    EXPECT_FALSE(CircleIntersectsRect(HullCircle(5, nan, nan), box));
    Vec2 out{1, 1};
    EXPECT_FALSE(SegmentCircleIntersection(Line(nan, 0, 10, 0), HullCircle(5, 0, 0), &out));
    EXPECT_EQ(out, (Vec2{1, 1}));
}

class VertexSink : public DrawSink {
public:
    std::vector<std::pair<Primitive, std::vector<Vec2>>> batches;
    void Begin(Primitive p) override { batches.push_back({p, {}}); }
    void End() override {}
    void Colour(float, float, float) override {}
    void Colour(float, float, float, float) override {}
    void TexCoord(float, float) override {}
    void Vertex(float x, float y) override { batches.back().second.push_back({x, y}); }
};

TEST(CollisionTest, DrawCircleIsALoopAroundTheCentreAndAPoint)
{
    VertexSink sink;
    DrawCircle(sink, HullCircle(10, 100, 50), 4);
    ASSERT_EQ(sink.batches.size(), 2u);
    EXPECT_EQ(sink.batches[0].first, DrawSink::Primitive::LineLoop);
    const auto& loop = sink.batches[0].second;
    ASSERT_EQ(loop.size(), 4u);
    // Vertex k at (x + r sin a, y + r cos a), a = k * 360 / segments degrees.
    EXPECT_NEAR(loop[0].x, 100, 1e-4f);
    EXPECT_NEAR(loop[0].y, 60, 1e-4f);
    EXPECT_NEAR(loop[1].x, 110, 1e-4f);
    EXPECT_NEAR(loop[1].y, 50, 1e-4f);
    EXPECT_EQ(sink.batches[1].first, DrawSink::Primitive::Points);
    EXPECT_EQ(sink.batches[1].second, (std::vector<Vec2>{{100, 50}}));
}

} // namespace
