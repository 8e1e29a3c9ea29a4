// Text drawing per frame: glyph quads of one line with its shadow pass into a
// sink that does nothing, against a memcpy of the vertex bytes the quads
// describe (position and texture coordinate per vertex). Also the glyph
// measurement of a 512 x 512 sheet against a memcpy of the sheet. Ratios are
// printed after the table.
#include "FontSet.h"
#include "GlyphMetrics.h"

#include "RatioReporter.h"
#include "testing/SummingDrawSink.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kLine[] = "SCORE 0001234500  LIVES 3  FUEL 87.5%  SCIENTISTS 4/6  LEVEL 12  TIME 01:23";
constexpr std::size_t kGlyphs = sizeof kLine - 1;
// Two passes of four vertices of four floats per glyph.
constexpr std::size_t kVertexBytes = kGlyphs * 2 * 4 * 4 * sizeof(float);
constexpr int kSheet = 512;

class NullState : public TextDrawState {
public:
    void BindTexture(unsigned int) override {}
    void SetBlend(int, int) override {}
    void Finish() override {}
};

// Texture names are made up; cleared before the font would delete them.
struct BenchFont : FontSet {
    BenchFont()
    {
        texture = 1;
        shadowTexture = 2;
        for (Glyph& glyph : glyphs)
            glyph.width = 14;
    }
    ~BenchFont()
    {
        texture = 0;
        shadowTexture = 0;
    }
};

void BM_DrawTextWithShadow(benchmark::State& state)
{
    BenchFont font;
    SummingDrawSink sink;
    NullState textState;
    for (auto _ : state) {
        font.DrawText(kLine, 320.0f, 20.0f, sink, textState);
        benchmark::DoNotOptimize(sink.sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kGlyphs));
}
BENCHMARK(BM_DrawTextWithShadow);

void BM_MemcpyTextVertexBytes(benchmark::State& state)
{
    std::vector<unsigned char> source(kVertexBytes, 0x3f);
    std::vector<unsigned char> destination(source.size());
    for (auto _ : state) {
        std::memcpy(destination.data(), source.data(), source.size());
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kGlyphs));
}
BENCHMARK(BM_MemcpyTextVertexBytes);

std::vector<std::uint8_t> MakeSheet()
{
    std::vector<std::uint8_t> sheet(static_cast<std::size_t>(kSheet * kSheet * 4), 0);
    for (std::size_t i = 3; i < sheet.size(); i += 4 * 7)
        sheet[i] = 200;
    return sheet;
}

void BM_MeasureGlyphs(benchmark::State& state)
{
    const std::vector<std::uint8_t> sheet = MakeSheet();
    for (auto _ : state) {
        auto widths = MeasureGlyphs(sheet.data(), kSheet, kSheet);
        benchmark::DoNotOptimize(widths);
    }
}
BENCHMARK(BM_MeasureGlyphs);

void BM_MemcpySheet(benchmark::State& state)
{
    const std::vector<std::uint8_t> sheet = MakeSheet();
    std::vector<std::uint8_t> destination(sheet.size());
    for (auto _ : state) {
        std::memcpy(destination.data(), sheet.data(), sheet.size());
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpySheet);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (a %zu-glyph line with shadow = %zu vertex bytes; a %dx%d RGBA sheet):\n", kGlyphs,
                kVertexBytes, kSheet, kSheet);
    reporter.PrintRatio("BM_DrawTextWithShadow", "BM_MemcpyTextVertexBytes", RatioReporter::TimeIn("ns", 1.0, 0));
    reporter.PrintRatio("BM_MeasureGlyphs", "BM_MemcpySheet", RatioReporter::TimeIn("ns", 1.0, 0));
    benchmark::Shutdown();
    return 0;
}
