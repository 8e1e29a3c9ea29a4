#include "BeamDraw.h"

#include "testing/RecordingDrawSink.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Vertex = RecordingDrawSink::RecordedVertex;

Beam MakeBeam(Vec2 a, Vec2 b, Vec2 direction, Vec2 normal)
{
    Beam beam;
    beam.a = a;
    beam.b = b;
    beam.colourA = Rgb{1.0f, 0.5f, 0.25f};
    beam.colourB = Rgb{0.2f, 0.4f, 0.8f};
    beam.direction = direction;
    beam.normal = normal;
    return beam;
}

// The beam's twelve vertices: which end, how far along the direction and the
// normal (in half widths), the texture coordinate, and the end whose colour
// is current.
struct TableRow {
    bool atB;
    float alongD, alongN;
    float u, v;
    bool colourB;
};
const TableRow kBeamTable[12] = {
    {false, -1, +1, 0.0f, 0, false}, {false, -1, -1, 0.0f, 1, false}, // start cap
    {false, 0, -1, 0.5f, 1, false},  {false, 0, +1, 0.5f, 0, false},
    {false, 0, -1, 0.5f, 1, false},  {false, 0, +1, 0.5f, 0, false},  // body
    {true, 0, +1, 0.5f, 0, true},    {true, 0, -1, 0.5f, 1, true},
    {true, 0, +1, 0.5f, 0, true},    {true, 0, -1, 0.5f, 1, true},    // end cap
    {true, +1, -1, 1.0f, 1, true},   {true, +1, +1, 1.0f, 0, true},
};

void ExpectBeamVertices(const std::vector<Vertex>& got, std::size_t first, const Beam& beam, Rgb colourA,
                        Rgb colourB)
{
    ASSERT_GE(got.size(), first + 12);
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(testing::Message() << "vertex " << i + 1);
        const TableRow& row = kBeamTable[i];
        const Vertex& v = got[first + i];
        const Vec2 end = row.atB ? beam.b : beam.a;
        EXPECT_FLOAT_EQ(v.x, end.x + 16 * (row.alongD * beam.direction.x + row.alongN * beam.normal.x));
        EXPECT_FLOAT_EQ(v.y, end.y + 16 * (row.alongD * beam.direction.y + row.alongN * beam.normal.y));
        EXPECT_EQ(v.u, row.u);
        EXPECT_EQ(v.v, row.v);
        const Rgb c = row.colourB ? colourB : colourA;
        EXPECT_FLOAT_EQ(v.r, c.r);
        EXPECT_FLOAT_EQ(v.g, c.g);
        EXPECT_FLOAT_EQ(v.b, c.b);
    }
}

TEST(BeamDrawTest, HorizontalBeamCoversItsEndsPlusHalfAWidth)
{
    RecordingDrawSink sink;
    EmitBeamQuads(sink, MakeBeam({0, 0}, {100, 0}, {1, 0}, {0, 1}));
    ASSERT_EQ(sink.vertices.size(), 12u);
    const auto [minX, maxX] = std::minmax_element(sink.vertices.begin(), sink.vertices.end(),
                                                  [](const Vertex& l, const Vertex& r) { return l.x < r.x; });
    const auto [minY, maxY] = std::minmax_element(sink.vertices.begin(), sink.vertices.end(),
                                                  [](const Vertex& l, const Vertex& r) { return l.y < r.y; });
    EXPECT_EQ(minX->x, -16.0f);
    EXPECT_EQ(maxX->x, 116.0f);
    EXPECT_EQ(minY->y, -16.0f);
    EXPECT_EQ(maxY->y, 16.0f);
    // Vertex 1 of the table: A - w d + w n.
    EXPECT_EQ(sink.vertices[0].x, -16.0f);
    EXPECT_EQ(sink.vertices[0].y, 16.0f);
    // Exactly two colour changes: A before the first vertex, B before the seventh.
    EXPECT_EQ(sink.colourChanges, 2);
}

TEST(BeamDrawTest, TwelveVertexTableUsesDirectionAndNormalByName)
{
    // Direction and normal differ from any simple rotation of each other, so
    // swapping them anywhere shows.
    const Beam beam = MakeBeam({3, -7}, {40, 21}, {0.6f, 0.8f}, {0.0f, -1.0f});
    RecordingDrawSink sink;
    EmitBeamQuads(sink, beam);
    ExpectBeamVertices(sink.vertices, 0, beam, beam.colourA, beam.colourB);
}

TEST(BeamDrawTest, FadeAndTintScaleBothColoursOnly)
{
    const Beam beam = MakeBeam({3, -7}, {40, 21}, {0.6f, 0.8f}, {0.8f, -0.6f});
    RecordingDrawSink faded;
    EmitBeamQuadsFaded(faded, beam, 0.5f);
    ExpectBeamVertices(faded.vertices, 0, beam, Rgb{0.5f, 0.25f, 0.125f}, Rgb{0.1f, 0.2f, 0.4f});

    RecordingDrawSink tinted;
    EmitBeamQuadsTinted(tinted, beam, 0.0f, 0.5f, 2.0f);
    ExpectBeamVertices(tinted.vertices, 0, beam, Rgb{0.0f, 0.25f, 0.5f}, Rgb{0.0f, 0.2f, 1.6f});
}

TEST(BeamDrawTest, ObjectIsOneQuadBatchInListOrder)
{
    const std::vector<Beam> beams = {MakeBeam({0, 0}, {10, 0}, {1, 0}, {0, -1}),
                                     MakeBeam({5, 5}, {5, 25}, {0, 1}, {1, 0})};
    RecordingDrawSink sink;
    DrawObject(sink, beams, false);
    ASSERT_EQ(sink.batches.size(), 1u);
    EXPECT_EQ(sink.batches[0].primitive, DrawSink::Primitive::Quads);
    EXPECT_TRUE(sink.batches[0].ended);
    EXPECT_EQ(sink.ends, 1);
    ASSERT_EQ(sink.batches[0].vertices.size(), 24u);
    ExpectBeamVertices(sink.batches[0].vertices, 0, beams[0], beams[0].colourA, beams[0].colourB);
    ExpectBeamVertices(sink.batches[0].vertices, 12, beams[1], beams[1].colourA, beams[1].colourB);

    RecordingDrawSink empty;
    DrawObject(empty, {}, true);
    ASSERT_EQ(empty.batches.size(), 1u);
    EXPECT_TRUE(empty.vertices.empty());
    EXPECT_EQ(empty.ends, 1);
}

TEST(BeamDrawTest, MirrorDrawsANegatedCopyAndKeepsTheModel)
{
    const std::vector<Beam> beams = {MakeBeam({10, 0}, {20, 5}, {0.894427f, 0.447214f}, {0.447214f, -0.894427f})};
    const Beam expected = MakeBeam({-10, 0}, {-20, 5}, {-0.894427f, 0.447214f}, {-0.447214f, -0.894427f});

    RecordingDrawSink plain;
    DrawObject(plain, beams, true);
    ExpectBeamVertices(plain.vertices, 0, expected, expected.colourA, expected.colourB);

    RecordingDrawSink faded;
    DrawObjectFaded(faded, beams, true, 0.5f);
    ExpectBeamVertices(faded.vertices, 0, expected, Rgb{0.5f, 0.25f, 0.125f}, Rgb{0.1f, 0.2f, 0.4f});

    RecordingDrawSink tinted;
    DrawObjectTinted(tinted, beams, true, 1.0f, 0.0f, 1.0f);
    ExpectBeamVertices(tinted.vertices, 0, expected, Rgb{1.0f, 0.0f, 0.25f}, Rgb{0.2f, 0.0f, 0.8f});

    EXPECT_EQ(beams[0].a, (Vec2{10, 0}));
    EXPECT_EQ(beams[0].normal.x, 0.447214f);

    // Unmirrored faded and tinted draws use the beam as stored.
    RecordingDrawSink straight;
    DrawObjectTinted(straight, beams, false, 1.0f, 1.0f, 1.0f);
    ExpectBeamVertices(straight.vertices, 0, beams[0], beams[0].colourA, beams[0].colourB);
}

} // namespace
