// Glyph measurement, text width and glyph quad placement, recorded without a
// window.
#include "FontSet.h"
#include "GlyphMetrics.h"

#include "testing/RecordingDrawSink.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Vertex = RecordingDrawSink::RecordedVertex;

// Texture names here are made up: the font must not hand them to OpenGL.
struct TestFont : FontSet {
    TestFont()
    {
        texture = 7;
        shadowTexture = 9;
        for (Glyph& glyph : glyphs)
            glyph.width = 16;
    }
    ~TestFont()
    {
        texture = 0;
        shadowTexture = 0;
    }
};

// Records the state calls and how many batches the sink had when each came.
class RecordingTextState : public TextDrawState {
public:
    explicit RecordingTextState(const RecordingDrawSink& sink) : sink(sink) {}
    struct Call {
        std::string what;
        unsigned int a;
        int b;
        std::size_t batchesBefore;
    };
    void BindTexture(unsigned int texture) override { calls.push_back({"bind", texture, 0, sink.batches.size()}); }
    void SetBlend(int source, int destination) override
    {
        calls.push_back({"blend", static_cast<unsigned int>(source), destination, sink.batches.size()});
    }
    void Finish() override { calls.push_back({"finish", 0, 0, sink.batches.size()}); }

    std::vector<Call> calls;

private:
    const RecordingDrawSink& sink;
};

// An RGBA sheet of 16 x 16 cells of cell x cell pixels, no ink.
std::vector<std::uint8_t> Sheet(int cell)
{
    return std::vector<std::uint8_t>(static_cast<std::size_t>(cell * 16 * cell * 16 * 4), 0);
}

void Ink(std::vector<std::uint8_t>& sheet, int cell, int glyph, int x, int y, std::uint8_t alpha = 255)
{
    const int width = cell * 16;
    const int px = (glyph % 16) * cell + x;
    const int py = (glyph / 16) * cell + y;
    sheet[static_cast<std::size_t>((py * width + px) * 4 + 3)] = alpha;
}

TEST(GlyphMetricsTest, CountsInkedColumnsPerCell)
{
    const int cell = 8;
    std::vector<std::uint8_t> sheet = Sheet(cell);
    // Columns 2, 3 and 7 of 'A', on different rows: 3 wide, not 6.
    Ink(sheet, cell, 'A', 2, 0);
    Ink(sheet, cell, 'A', 3, 7);
    Ink(sheet, cell, 'A', 7, 4, 1);
    // Two pixels in one column count once.
    Ink(sheet, cell, 'B', 5, 1);
    Ink(sheet, cell, 'B', 5, 6);
    // Colour without alpha is no ink.
    sheet[static_cast<std::size_t>((('C' / 16) * cell * cell * 16 + ('C' % 16) * cell) * 4)] = 255;
    // Every column of the last glyph.
    for (int x = 0; x < cell; ++x)
        Ink(sheet, cell, 255, x, cell - 1);

    const auto widths = MeasureGlyphs(sheet.data(), cell * 16, cell * 16);
    EXPECT_EQ(widths['A'], 3);
    EXPECT_EQ(widths['B'], 1);
    EXPECT_EQ(widths['C'], 0);
    EXPECT_EQ(widths[255], cell);
    int total = 0;
    for (int w : widths)
        total += w;
    EXPECT_EQ(total, 3 + 1 + cell); // nothing leaks into neighbouring cells
}

TEST(GlyphMetricsTest, SheetsThatAreNotMultiplesOfTheGridUseWholeCells)
{
    // 33 x 17: cells of 2 x 1, the last column and row belong to no cell.
    const int width = 33;
    const int height = 17;
    std::vector<std::uint8_t> sheet(static_cast<std::size_t>(width * height * 4), 0);
    sheet[static_cast<std::size_t>((0 * width + 32) * 4 + 3)] = 255; // outside every cell
    sheet[static_cast<std::size_t>((16 * width + 0) * 4 + 3)] = 255; // outside every cell
    sheet[static_cast<std::size_t>((1 * width + 3) * 4 + 3)] = 255;  // glyph 17, column 1
    const auto widths = MeasureGlyphs(sheet.data(), width, height);
    EXPECT_EQ(widths[17], 1);
    EXPECT_EQ(widths[0], 0);
    EXPECT_EQ(widths[15], 0);
}

TEST(GlyphMetricsTest, UnusableSheetsMeasureZero)
{
    std::vector<std::uint8_t> tiny(15 * 15 * 4, 255);
    for (const auto& widths : {MeasureGlyphs(nullptr, 512, 512), MeasureGlyphs(tiny.data(), 15, 15),
                               MeasureGlyphs(tiny.data(), -16, 16)})
        for (int w : widths)
            EXPECT_EQ(w, 0);
}

TEST(FontSetTest, DefaultsAndGrid)
{
    FontSet font;
    EXPECT_EQ(font.texture, 0u);
    EXPECT_EQ(font.shadowTexture, 0u);
    EXPECT_EQ(font.blendSource, GL_SRC_ALPHA);
    EXPECT_EQ(font.blendDest, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(font.align, 1);
    EXPECT_TRUE(font.shadow);
    EXPECT_FALSE(font.fixedPitch);
    EXPECT_FLOAT_EQ(font.glyphs['A'].u, 1 * 0.0625f);
    EXPECT_FLOAT_EQ(font.glyphs['A'].v, 4 * 0.0625f);
    EXPECT_FLOAT_EQ(font.glyphs[255].u, 15 * 0.0625f);
    EXPECT_FLOAT_EQ(font.glyphs[255].v, 15 * 0.0625f);
    EXPECT_EQ(font.glyphs['A'].width, 0);
}

struct WidthCase {
    const char* text;
    float scale;
    bool fixed;
    float expected;
};

TEST(FontSetTest, TextWidth)
{
    TestFont font;
    font.glyphs['A'].width = 12;
    font.glyphs['i'].width = 2; // too narrow to draw, yet counted with its own width
    const WidthCase cases[] = {
        {"ABC", 0.5f, true, 30.0f},
        {"A", 1.0f, false, 12.0f},
        {"A A", 2.0f, false, 24.0f + 20.0f + 24.0f},
        {"i", 1.0f, false, 2.0f},
        {"i", 1.0f, true, 20.0f},
        {" ", 0.5f, true, 5.0f},
        {"\x80\xff\t", 1.0f, false, 30.0f},
        {"", 1.0f, false, 0.0f},
        {nullptr, 1.0f, false, 0.0f},
    };
    for (const WidthCase& c : cases) {
        font.SetScale(c.scale, 3.0f);
        c.fixed ? font.EnableFixedPitch() : font.DisableFixedPitch();
        EXPECT_FLOAT_EQ(font.TextWidth(c.text), c.expected) << (c.text ? c.text : "(null)");
    }
}

// One quad: top-left corner, size, and the cell it samples.
void ExpectQuad(const std::vector<Vertex>& v, std::size_t first, float x, float y, float w, float h, int glyph)
{
    ASSERT_GE(v.size(), first + 4);
    const float u = static_cast<float>(glyph % 16) * 0.0625f;
    const float t = static_cast<float>(glyph / 16) * 0.0625f;
    const float corners[4][4] = {{x, y, u, t}, {x + w, y, u + 0.0625f, t}, {x + w, y + h, u + 0.0625f, t + 0.0625f},
                                 {x, y + h, u, t + 0.0625f}};
    for (std::size_t i = 0; i < 4; ++i) {
        const Vertex& vertex = v[first + i];
        EXPECT_FLOAT_EQ(vertex.x, corners[i][0]) << "quad at " << first << " corner " << i;
        EXPECT_FLOAT_EQ(vertex.y, corners[i][1]) << "quad at " << first << " corner " << i;
        EXPECT_FLOAT_EQ(vertex.u, corners[i][2]) << "quad at " << first << " corner " << i;
        EXPECT_FLOAT_EQ(vertex.v, corners[i][3]) << "quad at " << first << " corner " << i;
    }
}

TEST(FontSetTest, GlyphQuadsAdvanceByWidthSpaceAndNarrowGlyphs)
{
    TestFont font;
    font.glyphs['A'].width = 12;
    font.glyphs['B'].width = 3;
    font.glyphs['i'].width = 2;
    font.DisableShadow();
    font.SetAlign(0);
    font.SetScale(2.0f, 0.5f);
    font.SetColour(0.25f, 0.5f, 0.75f, 0.125f);
    RecordingDrawSink sink;
    RecordingTextState state(sink);

    // A, space, narrow i, a byte above 127, B.
    font.DrawText("A i\xe9" "B", 10.0f, 20.0f, sink, state);

    ASSERT_EQ(sink.batches.size(), 1u);
    EXPECT_EQ(sink.batches[0].primitive, DrawSink::Primitive::Quads);
    EXPECT_TRUE(sink.batches[0].ended);
    const std::vector<Vertex>& v = sink.batches[0].vertices;
    ASSERT_EQ(v.size(), 8u);
    ExpectQuad(v, 0, 10.0f, 20.0f, 64.0f, 16.0f, 'A');
    // 10 + 12*2, then three 10*2 advances.
    ExpectQuad(v, 4, 10.0f + 24.0f + 60.0f, 20.0f, 64.0f, 16.0f, 'B');
    for (const Vertex& vertex : v) {
        EXPECT_FLOAT_EQ(vertex.r, 0.25f);
        EXPECT_FLOAT_EQ(vertex.g, 0.5f);
        EXPECT_FLOAT_EQ(vertex.b, 0.75f);
        EXPECT_FLOAT_EQ(vertex.a, 0.125f);
    }

    ASSERT_EQ(state.calls.size(), 3u);
    EXPECT_EQ(state.calls[0].what, "bind");
    EXPECT_EQ(state.calls[0].a, 7u);
    EXPECT_EQ(state.calls[1].what, "blend");
    EXPECT_EQ(state.calls[1].a, static_cast<unsigned int>(GL_SRC_ALPHA));
    EXPECT_EQ(state.calls[1].b, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(state.calls[2].what, "finish");
}

TEST(FontSetTest, FixedPitchAdvancesTwentyButNarrowGlyphsStillTen)
{
    TestFont font;
    font.glyphs['i'].width = 1;
    font.DisableShadow();
    font.SetAlign(0);
    font.EnableFixedPitch();
    RecordingDrawSink sink;
    RecordingTextState state(sink);
    font.DrawText("AiA", 0.0f, 0.0f, sink, state);
    ASSERT_EQ(sink.vertices.size(), 8u);
    ExpectQuad(sink.vertices, 0, 0.0f, 0.0f, 32.0f, 32.0f, 'A');
    ExpectQuad(sink.vertices, 4, 30.0f, 0.0f, 32.0f, 32.0f, 'A');
}

struct AlignCase {
    int align;
    float firstX;
};

TEST(FontSetTest, AlignmentMovesTheStart)
{
    // Five glyphs of 20: 100 wide.
    const AlignCase cases[] = {{0, 320.0f}, {1, 270.0f}, {2, 220.0f}, {7, 320.0f}, {-1, 320.0f}};
    for (const AlignCase& c : cases) {
        TestFont font;
        for (char g : std::string("HELLO"))
            font.glyphs[static_cast<std::size_t>(g)].width = 20;
        font.DisableShadow();
        font.SetAlign(c.align);
        RecordingDrawSink sink;
        RecordingTextState state(sink);
        font.DrawText("HELLO", 320.0f, 40.0f, sink, state);
        ASSERT_EQ(sink.vertices.size(), 20u);
        EXPECT_FLOAT_EQ(sink.vertices[0].x, c.firstX) << "align " << c.align;
        EXPECT_FLOAT_EQ(sink.vertices[16].x, c.firstX + 80.0f) << "align " << c.align;
    }
}

TEST(FontSetTest, ShadowPassComesFirstFromTheShadowTextureOffsetByFourScaled)
{
    TestFont font;
    font.SetScale(0.5f, 2.0f);
    font.SetAlign(0);
    font.SetBlend(GL_ONE, GL_ONE);
    font.SetColour(1.0f, 0.0f, 0.0f, 0.5f);
    RecordingDrawSink sink;
    RecordingTextState state(sink);
    font.DrawText("AB", 100.0f, 50.0f, sink, state);

    ASSERT_EQ(sink.batches.size(), 2u);
    const auto& shadowQuads = sink.batches[0].vertices;
    const auto& textQuads = sink.batches[1].vertices;
    ASSERT_EQ(shadowQuads.size(), 8u);
    ASSERT_EQ(textQuads.size(), 8u);
    ExpectQuad(textQuads, 0, 100.0f, 50.0f, 16.0f, 64.0f, 'A');
    ExpectQuad(textQuads, 4, 108.0f, 50.0f, 16.0f, 64.0f, 'B');
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_FLOAT_EQ(shadowQuads[i].x, textQuads[i].x + 2.0f);
        EXPECT_FLOAT_EQ(shadowQuads[i].y, textQuads[i].y + 8.0f);
        EXPECT_FLOAT_EQ(shadowQuads[i].u, textQuads[i].u);
        EXPECT_FLOAT_EQ(shadowQuads[i].v, textQuads[i].v);
        EXPECT_FLOAT_EQ(shadowQuads[i].r, 1.0f); // both passes in the font's colour
        EXPECT_FLOAT_EQ(shadowQuads[i].a, 0.5f);
        EXPECT_FLOAT_EQ(textQuads[i].a, 0.5f);
    }

    // bind glyph, blend, bind shadow, [shadow batch], bind glyph, [text batch], finish.
    ASSERT_EQ(state.calls.size(), 5u);
    EXPECT_EQ(state.calls[0].what, "bind");
    EXPECT_EQ(state.calls[0].a, 7u);
    EXPECT_EQ(state.calls[1].what, "blend");
    EXPECT_EQ(state.calls[1].a, static_cast<unsigned int>(GL_ONE));
    EXPECT_EQ(state.calls[2].what, "bind");
    EXPECT_EQ(state.calls[2].a, 9u);
    EXPECT_EQ(state.calls[2].batchesBefore, 0u);
    EXPECT_EQ(state.calls[3].what, "bind");
    EXPECT_EQ(state.calls[3].a, 7u);
    EXPECT_EQ(state.calls[3].batchesBefore, 1u);
    EXPECT_EQ(state.calls[4].what, "finish");
    EXPECT_EQ(state.calls[4].batchesBefore, 2u);
}

TEST(FontSetTest, NoShadowPassWithoutAShadowTextureOrOnceDisabled)
{
    for (int variant = 0; variant < 2; ++variant) {
        TestFont font;
        if (variant == 0)
            font.shadowTexture = 0;
        else
            font.DisableShadow();
        RecordingDrawSink sink;
        RecordingTextState state(sink);
        font.DrawText("AB", 0.0f, 0.0f, sink, state);
        EXPECT_EQ(sink.batches.size(), 1u) << variant;
        for (const auto& call : state.calls)
            EXPECT_NE(call.a, 9u) << variant;
    }
}

TEST(FontSetTest, NullOrBlankTextDrawsNoQuads)
{
    TestFont font;
    RecordingDrawSink sink;
    RecordingTextState state(sink);
    font.DrawText(nullptr, 0.0f, 0.0f, sink, state);
    EXPECT_TRUE(sink.batches.empty());
    EXPECT_TRUE(state.calls.empty());
    font.DrawText(" \x01\xff", 0.0f, 0.0f, sink, state);
    EXPECT_TRUE(sink.vertices.empty());
    for (const auto& batch : sink.batches)
        EXPECT_TRUE(batch.ended);
}

} // namespace
