// The play tick (Game::UpdatePlay) on the stress map, in simulated ticks per
// second against real time (one tick stands for 20 ms), and the worst single
// tick, including the tick whose blast kills every visible actor and breaks
// every visible beam into debris.
//  - PlayTick: steady play with the camera over the middle of the level.
//  - EntityPassOnly: the reference measured in the same run: the entity
//    list's update pass alone (the work the tick adds around it is the
//    sector queries, the other lists and the stars).
//  - DetonationTick: a fresh level each iteration, run to the blast tick;
//    only the blast tick is timed.
// Ratios and the worst ticks are printed after the table.
#include "testing/HeadlessHost.h"
#include "Clock.h"
#include "Game.h"
#include "GameHost.h"
#include "PlayMode.h"
#include "Player.h"
#include "Random.h"
#include "TextInputMode.h"
#include "TextureLoader.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

struct StressPlay {
    HeadlessHost host{1}; // textures count as loaded
    std::unique_ptr<Game> game;
    bool ready = false;

    StressPlay()
    {
        Log::Instance().SetEnabled(false);
        game = std::make_unique<Game>(host);
        SeedRandom(1000);
        game->dataRoot = ZELV_DEMO_DATA_DIR;
        if (!game->resources.LoadResources(ZELV_DEMO_DATA_DIR))
            return;
        game->models = &game->storeModels;
        game->viewWidth = 854;
        game->viewHeight = 480;
        game->UpdateScreenSize();
        ready = game->LoadMap("stress");
        if (ready)
            Restart();
    }

    // A fresh level with the camera over its middle.
    void Restart()
    {
        game->StartLevel();
        game->bonusTime = 9999;
        Player& ship = *game->player;
        ship.position = ship.previousPosition = {game->WorldWidth() / 2.0f, game->sectorGrid.worldHeight / 2.0f};
        ship.camera = ship.previousCamera = ship.position - game->screenCentre;
        ship.zoom = 1.0f;
        host.audio.calls.clear();
    }

    // Keeps the camera in place (the ship stands still in the bench).
    void Tick()
    {
        game->UpdatePlay();
        game->tickCount += 1;
        if (host.audio.calls.size() > 4096)
            host.audio.calls.clear();
    }
};

StressPlay& Stress()
{
    static StressPlay* play = new StressPlay;
    return *play;
}

double worstSteadyMs = 0.0;
double worstBlastMs = 0.0;
double worstAroundBlastMs = 0.0;

double Ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void PlayTick(benchmark::State& state)
{
    StressPlay& play = Stress();
    if (!play.ready) {
        state.SkipWithError("stress map or resources missing");
        return;
    }
    play.Restart();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        play.Tick();
        worstSteadyMs = std::max(worstSteadyMs, Ms(std::chrono::steady_clock::now() - start));
    }
    state.counters["ticks_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate);
    state.counters["actors"] = static_cast<double>(play.game->entities.Size());
}
BENCHMARK(PlayTick)->Unit(benchmark::kMicrosecond);

void EntityPassOnly(benchmark::State& state)
{
    StressPlay& play = Stress();
    if (!play.ready) {
        state.SkipWithError("stress map or resources missing");
        return;
    }
    play.Restart();
    QueryPlaySectors(*play.game);
    for (auto _ : state)
        play.game->entities.Pass();
    state.counters["ticks_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate);
}
BENCHMARK(EntityPassOnly)->Unit(benchmark::kMicrosecond);

void DetonationTick(benchmark::State& state)
{
    StressPlay& play = Stress();
    if (!play.ready) {
        state.SkipWithError("stress map or resources missing");
        return;
    }
    std::size_t debris = 0;
    for (auto _ : state) {
        state.PauseTiming();
        play.Restart();
        Game::SelfDestruct& sd = play.game->selfDestruct;
        sd.running = true;
        sd.secondsLeft = 0.01f;
        play.Tick(); // detonates; the flash starts
        while (!(sd.flashTimer - play.game->simulationStep < 0.0f))
            play.Tick();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        play.Tick(); // the blast
        worstBlastMs = std::max(worstBlastMs, Ms(std::chrono::steady_clock::now() - start));
        state.PauseTiming();
        debris = play.game->entities.Size();
        // The tick after the blast deletes what it killed and moves the debris.
        const auto next = std::chrono::steady_clock::now();
        play.Tick();
        worstAroundBlastMs = std::max(worstAroundBlastMs, Ms(std::chrono::steady_clock::now() - next));
        state.ResumeTiming();
    }
    state.counters["actors_after"] = static_cast<double>(debris);
}
BENCHMARK(DetonationTick)->Unit(benchmark::kMicrosecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    StressPlay& play = Stress();
    if (!play.ready) {
        std::printf("stress map or resources missing under %s\n", ZELV_DEMO_DATA_DIR);
        return 0;
    }
    // Rates from a timed run of 2000 steady ticks, printed as ratios.
    play.Restart();
    const int ticks = 2000;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < ticks; ++i)
        play.Tick();
    const double seconds = Ms(std::chrono::steady_clock::now() - start) / 1000.0;
    const double tickRate = ticks / seconds;
    play.Restart();
    QueryPlaySectors(*play.game);
    const auto passStart = std::chrono::steady_clock::now();
    for (int i = 0; i < ticks; ++i)
        play.game->entities.Pass();
    const double passSeconds = Ms(std::chrono::steady_clock::now() - passStart) / 1000.0;

    std::printf("\nstress map: %zu live beams, %zu actors, world %.0f x %.0f\n", play.game->map.liveBeams.size(),
                play.game->entities.Size(), play.game->WorldWidth(), play.game->sectorGrid.worldHeight);
    std::printf("play tick: %.0f ticks/s = %.1f x real time (target >= 10 x, 500 ticks/s)\n", tickRate,
                tickRate * 0.02);
    std::printf("play tick against the entity pass alone: %.2f x its time\n", seconds / passSeconds);
    std::printf("worst steady tick: %.3f ms; blast tick: %.3f ms; tick after the blast: %.3f ms (budget 20 ms)\n",
                worstSteadyMs, worstBlastMs, worstAroundBlastMs);
    return 0;
}
