// The play tick (Game::UpdatePlay) on the stress map, in simulated ticks per
// second against real time (one tick stands for 20 ms), and the worst single
// tick, including the tick whose blast kills every visible actor and breaks
// every visible beam into debris.
// The ship hovers mid-map, alive: its pose, velocity, hull and fuel are put
// back after every tick, outside the timed part, so the actors see a live
// ship and no restart falls in a measured tick.
//  - PlayTick: steady play with the camera over the middle of the level.
//  - FiringTick: the same with FIRE held and 100 live shots in the air
//    (topped up between ticks, untimed).
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
#include "MathUtil.h"
#include "PlayMode.h"
#include "Player.h"
#include "Projectile.h"
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

    Vec2 hover;
    Vec2 camera;

    // A fresh level with the live ship hovering over its middle.
    void Restart()
    {
        game->StartLevel();
        game->bonusTime = 9999;
        Player& ship = *game->player;
        hover = {game->WorldWidth() / 2.0f, game->sectorGrid.worldHeight / 2.0f};
        camera = hover - game->screenCentre;
        ship.spawnTimer = 0;
        ship.zoom = 1.0f;
        Hover();
        host.audio.calls.clear();
    }

    // Puts the ship back where it hovers, unhurt (not timed).
    void Hover()
    {
        Player& ship = *game->player;
        ship.position = ship.previousPosition = hover;
        ship.camera = ship.previousCamera = camera;
        ship.velocity = {};
        ship.angle = ship.previousAngle = 0.0f;
        ship.hull = 100.0f;
        ship.fuel = 300.0f;
        ship.dying = false;
        ship.landed = false;
        ship.landedBeam = nullptr;
        if (host.audio.calls.size() > 4096)
            host.audio.calls.clear();
    }

    // One play tick, timed alone; the ship is put back afterwards.
    std::chrono::steady_clock::duration Tick()
    {
        const auto start = std::chrono::steady_clock::now();
        game->UpdatePlay();
        const auto spent = std::chrono::steady_clock::now() - start;
        game->tickCount += 1;
        Hover();
        return spent;
    }

    // Shots fanned out around the ship until there are `count` in the air.
    void TopUpShots(std::size_t count)
    {
        while (game->playerShots.size() < count) {
            const float k = static_cast<float>(game->playerShots.size());
            Projectile* shot = CreateProjectile(0);
            shot->owner = game->player.get();
            Vec2 f;
            Vec2 s;
            AngleToVectors(k * 37.0f, f, s);
            shot->Spawn(hover.x + 20.0f * f.x, hover.y + 20.0f * f.y, 10.0f * f.x, 10.0f * f.y, k * 37.0f);
            game->playerShots.push_back(shot);
        }
    }
};

StressPlay& Stress()
{
    static StressPlay* play = new StressPlay;
    return *play;
}

double worstSteadyMs = 0.0;
double worstFiringMs = 0.0;
double worstBlastMs = 0.0;
double worstAroundBlastMs = 0.0;
std::size_t blastDebris = 0;

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
        const auto spent = play.Tick();
        worstSteadyMs = std::max(worstSteadyMs, Ms(spent));
        state.SetIterationTime(std::chrono::duration<double>(spent).count());
    }
    state.counters["ticks_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate);
    state.counters["actors"] = static_cast<double>(play.game->entities.Size());
}
BENCHMARK(PlayTick)->Unit(benchmark::kMicrosecond)->UseManualTime();

void FiringTick(benchmark::State& state)
{
    StressPlay& play = Stress();
    if (!play.ready) {
        state.SkipWithError("stress map or resources missing");
        return;
    }
    play.Restart();
    play.game->input.Button(ButtonFire).key.state = KeyState::Held;
    for (auto _ : state) {
        play.TopUpShots(100);
        const auto spent = play.Tick();
        worstFiringMs = std::max(worstFiringMs, Ms(spent));
        state.SetIterationTime(std::chrono::duration<double>(spent).count());
    }
    play.game->input.Button(ButtonFire).key.state = KeyState::Up;
    state.counters["shots"] = static_cast<double>(play.game->playerShots.size());
}
BENCHMARK(FiringTick)->Unit(benchmark::kMicrosecond)->UseManualTime();

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
        play.Restart();
        Game::SelfDestruct& sd = play.game->selfDestruct;
        sd.running = true;
        sd.secondsLeft = 0.01f;
        play.Tick(); // detonates; the flash starts
        while (!(sd.flashTimer - play.game->simulationStep < 0.0f))
            play.Tick();
        const auto blast = play.Tick(); // the blast, with the debris' first update
        worstBlastMs = std::max(worstBlastMs, Ms(blast));
        debris = play.game->entities.Size();
        // The tick after the blast deletes what it killed and moves the debris.
        const auto next = play.Tick();
        worstAroundBlastMs = std::max(worstAroundBlastMs, Ms(next));
        blastDebris = debris;
        state.SetIterationTime(std::chrono::duration<double>(blast).count());
    }
    state.counters["actors_after"] = static_cast<double>(debris);
}
BENCHMARK(DetonationTick)->Unit(benchmark::kMicrosecond)->Iterations(20)->UseManualTime();

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
    std::chrono::steady_clock::duration steady{};
    for (int i = 0; i < ticks; ++i)
        steady += play.Tick();
    const double seconds = Ms(steady) / 1000.0;
    const double tickRate = ticks / seconds;
    play.Restart();
    play.game->input.Button(ButtonFire).key.state = KeyState::Held;
    std::chrono::steady_clock::duration firing{};
    for (int i = 0; i < ticks; ++i) {
        play.TopUpShots(100);
        firing += play.Tick();
    }
    play.game->input.Button(ButtonFire).key.state = KeyState::Up;
    const double firingSeconds = Ms(firing) / 1000.0;
    const double firingRate = ticks / firingSeconds;
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
    std::printf("firing tick (FIRE held, 100 live shots): %.0f ticks/s = %.1f x real time (target >= 10 x); "
                "%.2f x the steady tick's time\n",
                firingRate, firingRate * 0.02, firingSeconds / seconds);
    std::printf("worst steady tick: %.3f ms; worst firing tick: %.3f ms; blast tick (%zu actors and debris after): "
                "%.3f ms; tick after the blast: %.3f ms (budget 20 ms)\n",
                worstSteadyMs, worstFiringMs, blastDebris, worstBlastMs, worstAroundBlastMs);
    return 0;
}
