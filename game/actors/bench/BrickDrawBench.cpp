// A brick's draw in the settled view (854x480 at zoom 0.75), through a sink
// that only sums and a render state that follows its matrices as the OpenGL
// one does (the placement state, its placements unused):
//  - LargestBrickDraw (1024 x 1024 cells, more than 16000 units a side,
//    over the whole view) against ScreenBrickDraw (a brick just the size of
//    the view): the target is 1.0x, a cost bounded by the screen;
//  - LargestBrickDrawnWhole, the largest brick through a state that does not
//    tell the view (every cell drawn, as before), for the saving.
// Ratios are printed after the table.
#include "Brick.h"
#include "Game.h"
#include "Log.h"
#include "RatioReporter.h"
#include "testing/ScreenPlacement.h"
#include "testing/SummingDrawSink.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr float kZoom = 0.75f;
constexpr float kViewWidth = 854.0f;
constexpr float kViewHeight = 480.0f;

// One brick centred on the view's middle, drawn as the world draw would.
void DrawBrick(benchmark::State& state, float halfWidth, float halfHeight, bool tells)
{
    Log::Instance().SetEnabled(false);
    Game game;
    Brick brick;
    brick.halfWidth = halfWidth;
    brick.halfHeight = halfHeight;
    const float cx = 5000.0f, cy = 800.0f;
    brick.Spawn(cx, cy, 0.0f);
    SummingDrawSink sink;
    ScreenPlacementState view;
    view.tellsShownBox = tells;
    game.drawSink = &sink;
    game.drawState = &view;
    for (auto _ : state) {
        view.Setup2DView(kViewWidth, kViewHeight);
        view.Scale(kZoom, kZoom);
        view.Translate(-0.5f * 0.5f * kViewWidth * (kZoom - 1.0f), -0.5f * 0.5f * kViewHeight * (kZoom - 1.0f));
        view.Translate(-(cx - 0.5f * kViewWidth), -(cy - 0.5f * kViewHeight));
        brick.Draw(1.0f);
    }
    game.drawSink = nullptr;
    game.drawState = nullptr;
    benchmark::DoNotOptimize(sink.sum);
}

void LargestBrickDraw(benchmark::State& state) { DrawBrick(state, 8192.0f, 8192.0f, true); }
BENCHMARK(LargestBrickDraw)->Unit(benchmark::kMicrosecond);

// The view's size at the zoom: as many cells as the largest brick shows.
void ScreenBrickDraw(benchmark::State& state)
{
    DrawBrick(state, 0.5f * kViewWidth / kZoom, 0.5f * kViewHeight / kZoom, true);
}
BENCHMARK(ScreenBrickDraw)->Unit(benchmark::kMicrosecond);

void LargestBrickDrawnWhole(benchmark::State& state) { DrawBrick(state, 8192.0f, 8192.0f, false); }
BENCHMARK(LargestBrickDrawnWhole)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    reporter.processorTime = true; // one thread on a shared machine
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (854x480 at zoom 0.75):\n");
    reporter.PrintRatio("LargestBrickDraw", "ScreenBrickDraw", RatioReporter::TimeIn("us", 1e3, 1));
    reporter.PrintRatio("LargestBrickDrawnWhole", "LargestBrickDraw", RatioReporter::TimeIn("us", 1e3, 1));
    benchmark::Shutdown();
    return 0;
}
