// Beams per second through the beam emission into a sink that does nothing,
// against a memcpy of the vertex bytes the emission describes (12 vertices of
// position, texture coordinate and colour: 336 bytes per beam). The ratio of
// the two is printed after the table.
#include "BeamDraw.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kBeamsPerModel = 1000;
constexpr std::size_t kVertexBytes = 12 * 7 * sizeof(float);

class NullSink : public DrawSink {
public:
    void Begin(Primitive) override {}
    void End() override {}
    void Colour(float, float, float) override {}
    void Colour(float, float, float, float) override {}
    void TexCoord(float, float) override {}
    void Vertex(float, float) override { ++vertices; }
    long long vertices = 0;
};

std::vector<Beam> MakeBeams()
{
    std::vector<Beam> beams(kBeamsPerModel);
    for (int i = 0; i < kBeamsPerModel; ++i) {
        Beam& beam = beams[static_cast<std::size_t>(i)];
        beam.a = {float(i), float(i % 37)};
        beam.b = {float(i + 20), float(i % 11)};
        beam.colourA = {1.0f, 0.5f, 0.25f};
        beam.colourB = {0.25f, 0.5f, 1.0f};
        beam.direction = {0.6f, 0.8f};
        beam.normal = {0.8f, -0.6f};
    }
    return beams;
}

void BM_EmitBeamQuads(benchmark::State& state)
{
    const std::vector<Beam> beams = MakeBeams();
    NullSink sink;
    for (auto _ : state) {
        for (const Beam& beam : beams)
            EmitBeamQuads(sink, beam);
        benchmark::DoNotOptimize(sink.vertices);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kBeamsPerModel);
}
BENCHMARK(BM_EmitBeamQuads);

void BM_DrawObjectMirrored(benchmark::State& state)
{
    const std::vector<Beam> beams = MakeBeams();
    NullSink sink;
    for (auto _ : state) {
        DrawObject(sink, beams, true);
        benchmark::DoNotOptimize(sink.vertices);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kBeamsPerModel);
}
BENCHMARK(BM_DrawObjectMirrored);

void BM_MemcpyVertexBytes(benchmark::State& state)
{
    std::vector<unsigned char> source(kBeamsPerModel * kVertexBytes, 0x3f);
    std::vector<unsigned char> destination(source.size());
    for (auto _ : state) {
        std::memcpy(destination.data(), source.data(), source.size());
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kBeamsPerModel);
}
BENCHMARK(BM_MemcpyVertexBytes);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    const RatioReporter::UnitText beamRate = [](double ns) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f Mbeams/s", kBeamsPerModel * 1e3 / ns);
        return std::string(text);
    };
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios against memcpy of the same vertex bytes (%zu bytes per beam):\n", kVertexBytes);
    reporter.PrintRatio("BM_EmitBeamQuads", "BM_MemcpyVertexBytes", beamRate);
    reporter.PrintRatio("BM_DrawObjectMirrored", "BM_MemcpyVertexBytes", beamRate);
    benchmark::Shutdown();
    return 0;
}
