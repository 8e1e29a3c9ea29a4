// The radar and the HUD's text on the stress map at 854x480, through a sink
// and render state that do nothing:
//  - DrawRadarFrame against DrawWorldFrame of the same frame, per drawn item
//    (beams and actors, counted by the draws' own once-per-image rule) and
//    in total (the radar covers about 3.75 views, so a total near 4x is its
//    expected cost; above 4x is flagged).
//  - TallyHudFrame (the level-end tally over the countdown's level: the
//    HUD's most text) against GlyphReplay, its glyph quads sent again from
//    an array recorded beforehand (informative: the cost of formatting and
//    laying out the text).
// Ratios are printed after the table.
#include "testing/DemoDataGame.h"
#include "testing/HeadlessHost.h"
#include "testing/RecordingDrawSink.h"
#include "testing/SummingDrawSink.h"
#include "DrawSink.h"
#include "Entity.h"
#include "Game.h"
#include "PlayMode.h"
#include "Player.h"
#include "Random.h"
#include "ScreenCanvas.h"
#include "TextWriter.h"
#include "WorldDrawState.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <set>
#include <vector>

namespace {

class NullState : public WorldDrawState {
public:
    void BindTexture(unsigned int) override {}
    void SetBlend(int, int) override {}
    void Finish() override {}
    void Clear(float, float, float, float) override {}
    void FullViewport(int, int) override {}
    void Viewport(int, int, int, int) override {}
    void Setup2DView(float, float) override {}
    void PushMatrix() override {}
    void PopMatrix() override {}
    void Translate(float, float) override {}
    void Scale(float, float) override {}
    void Rotate(float) override {}
    void DisableBlend() override {}
    void DisableDepthTest() override {}
    void Present() override {}
};

// Beams and actors (the ship left out when asked) drawn once per image.
std::size_t ItemsOf(const std::vector<Sector*> (&images)[3], const Entity* skip)
{
    std::size_t items = 0;
    for (const std::vector<Sector*>& sectors : images) {
        std::set<const void*> seen;
        for (const Sector* sector : sectors) {
            for (const Beam* beam : sector->beams)
                seen.insert(beam);
            for (const Entity* entity : sector->Entities())
                if (entity != skip)
                    seen.insert(entity);
        }
        items += seen.size();
    }
    return items;
}

struct StressFrame {
    HeadlessHost host{1}; // textures count as loaded
    std::unique_ptr<Game> game;
    SummingDrawSink sink;
    NullState state;
    FontTextWriter writer{sink, state};
    ScreenCanvas canvas{sink, state, writer};
    bool ready = false;
    std::size_t radarItems = 0;
    std::size_t worldItems = 0;

    StressFrame()
    {
        if (!OpenDemoDataGame(game, host, ZELV_DEMO_DATA_DIR))
            return;
        game->viewWidth = 854;
        game->viewHeight = 480;
        game->windowWidth = 854;
        game->windowHeight = 480;
        game->UpdateScreenSize();
        if (!game->LoadMap("stress"))
            return;
        game->StartLevel();
        Player& ship = *game->player;
        const Vec2 middle{game->WorldWidth() / 2.0f, game->sectorGrid.worldHeight / 2.0f};
        ship.position = ship.previousPosition = middle;
        ship.camera = ship.previousCamera = middle - game->screenCentre;
        ship.spawnTimer = 0;
        ship.zoom = 1.0f;
        QueryPlaySectors(*game);
        radarItems = ItemsOf(game->activeSectors, game->player.get());
        worldItems = ItemsOf(game->visibleSectors, nullptr);
        ready = true;
    }
};

StressFrame& Stress()
{
    static StressFrame* frame = new StressFrame;
    return *frame;
}

void DrawRadarFrame(benchmark::State& state)
{
    StressFrame& f = Stress();
    if (!f.ready) {
        state.SkipWithError("stress map or resources missing");
        return;
    }
    for (auto _ : state)
        f.game->DrawRadar(1.0f, f.canvas);
    benchmark::DoNotOptimize(f.sink.sum);
    state.counters["items"] = static_cast<double>(f.radarItems);
}
BENCHMARK(DrawRadarFrame)->Unit(benchmark::kMicrosecond);

void DrawWorldFrame(benchmark::State& state)
{
    StressFrame& f = Stress();
    if (!f.ready) {
        state.SkipWithError("stress map or resources missing");
        return;
    }
    for (auto _ : state)
        f.game->DrawWorld(1.0f, f.sink, f.state);
    benchmark::DoNotOptimize(f.sink.sum);
    state.counters["items"] = static_cast<double>(f.worldItems);
}
BENCHMARK(DrawWorldFrame)->Unit(benchmark::kMicrosecond);

// The tally at its fullest with every row shown (the countdown's level:
// the radar is off while it runs).
void SetUpTally(Game& game)
{
    game.selfDestruct.running = true;
    game.selfDestruct.secondsLeft = 42.5f;
    game.missionState.completed = true;
    game.player->endTimer = 300;
    game.player->spawnTimer = 120;
}

void TallyHudFrame(benchmark::State& state)
{
    StressFrame& f = Stress();
    if (!f.ready) {
        state.SkipWithError("stress map or resources missing");
        return;
    }
    SetUpTally(*f.game);
    for (auto _ : state)
        f.game->DrawHud(1.0f, f.canvas);
    benchmark::DoNotOptimize(f.sink.sum);
    f.game->missionState.completed = false;
    f.game->selfDestruct.running = false;
}
BENCHMARK(TallyHudFrame)->Unit(benchmark::kMicrosecond);

void GlyphReplay(benchmark::State& state)
{
    StressFrame& f = Stress();
    if (!f.ready) {
        state.SkipWithError("stress map or resources missing");
        return;
    }
    SetUpTally(*f.game);
    RecordingDrawSink recorded;
    FontTextWriter writer(recorded, f.state);
    ScreenCanvas canvas{recorded, f.state, writer};
    f.game->DrawHud(1.0f, canvas);
    f.game->missionState.completed = false;
    f.game->selfDestruct.running = false;
    for (auto _ : state) {
        for (const RecordingDrawSink::Batch& batch : recorded.batches) {
            f.sink.Begin(batch.primitive);
            for (const RecordingDrawSink::RecordedVertex& v : batch.vertices) {
                f.sink.Colour(v.r, v.g, v.b, v.a);
                f.sink.TexCoord(v.u, v.v);
                f.sink.Vertex(v.x, v.y);
            }
            f.sink.End();
        }
    }
    benchmark::DoNotOptimize(f.sink.sum);
    state.counters["vertices"] = static_cast<double>(recorded.vertices.size());
}
BENCHMARK(GlyphReplay)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    StressFrame& f = Stress();
    if (!f.ready) {
        std::printf("stress map or resources missing under %s\n", ZELV_DEMO_DATA_DIR);
        return 0;
    }
    const auto radar = reporter.Nanoseconds("DrawRadarFrame");
    const auto world = reporter.Nanoseconds("DrawWorldFrame");
    std::printf("\nRatios (stress map, 854x480; radar %zu items, world %zu items):\n", f.radarItems, f.worldItems);
    reporter.PrintRatio("DrawRadarFrame", "DrawWorldFrame", RatioReporter::TimeIn("us", 1e3, 1));
    if (radar && world && f.radarItems > 0 && f.worldItems > 0) {
        const double perItem = (*radar / static_cast<double>(f.radarItems)) /
                               (*world / static_cast<double>(f.worldItems));
        std::printf("  radar per item / world per item = %.2fx (target 1.0x or less)%s\n", perItem,
                    perItem > 1.0 ? "  ABOVE TARGET" : "");
        if (*radar / *world > 4.0)
            std::printf("  radar total above 4x the world draw: FLAGGED\n");
    }
    reporter.PrintRatio("TallyHudFrame", "GlyphReplay", RatioReporter::TimeIn("us", 1e3, 1));
    benchmark::Shutdown();
    return 0;
}
