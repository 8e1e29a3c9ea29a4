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
//  - LaserMarch / LaserBruteForceRay: every laser of the level on and
//    updated (its grid march, switch and ship tests, registration) against a
//    plain ray from the same start to the same end over every live beam.
//  - TurningPlatforms: 10 rotators turning 50 carried beams each, one entity
//    pass, as a share of the steady tick.
// Ratios and the worst ticks are printed after the table.
#include "RatioReporter.h"
#include "testing/DemoDataGame.h"
#include "testing/HeadlessHost.h"
#include "Clock.h"
#include "Collision.h"
#include "Game.h"
#include "Laser.h"
#include "Line.h"
#include "GameHost.h"
#include "MathUtil.h"
#include "PlayMode.h"
#include "Player.h"
#include "Projectile.h"
#include "Random.h"
#include "Rotator.h"
#include "TextInputMode.h"
#include "TextureLoader.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

struct StressPlay {
    HeadlessHost host{1}; // textures count as loaded
    std::unique_ptr<Game> game;
    bool ready = false;

    StressPlay()
    {
        if (!OpenDemoDataGame(game, host, ZELV_DEMO_DATA_DIR))
            return;
        game->viewWidth = 854;
        game->viewHeight = 480;
        game->UpdateScreenSize();
        ready = game->LoadMap("stress");
        if (ready)
            Restart();
    }

    Vec2 hover;
    Vec2 camera;
    double lastCpuMs = 0.0; // the thread's processor time of the last tick

    // Processor time of this thread: a tick's own work, without the time the
    // machine's other jobs took the core away.
    static double ThreadCpuMs()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    }

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
        const double cpuStart = ThreadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        game->UpdatePlay();
        const auto spent = std::chrono::steady_clock::now() - start;
        lastCpuMs = ThreadCpuMs() - cpuStart;
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

// The stress level, or null after marking the benchmark skipped.
StressPlay* ReadyStress(benchmark::State& state)
{
    StressPlay& play = Stress();
    if (!play.ready) {
        state.SkipWithError("stress map or resources missing");
        return nullptr;
    }
    return &play;
}

double worstSteadyMs = 0.0;
double worstSteadyCpuMs = 0.0;
double worstFiringMs = 0.0;
double worstBlastMs = 0.0;
double worstAroundBlastMs = 0.0;
std::size_t blastDebris = 0;

double Ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void PlayTick(benchmark::State& state)
{
    StressPlay* ready = ReadyStress(state);
    if (ready == nullptr)
        return;
    StressPlay& play = *ready;
    play.Restart();
    for (auto _ : state) {
        const auto spent = play.Tick();
        worstSteadyMs = std::max(worstSteadyMs, Ms(spent));
        worstSteadyCpuMs = std::max(worstSteadyCpuMs, play.lastCpuMs);
        state.SetIterationTime(std::chrono::duration<double>(spent).count());
    }
    state.counters["ticks_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate);
    state.counters["actors"] = static_cast<double>(play.game->entities.Size());
}
BENCHMARK(PlayTick)->Unit(benchmark::kMicrosecond)->UseManualTime();

void FiringTick(benchmark::State& state)
{
    StressPlay* ready = ReadyStress(state);
    if (ready == nullptr)
        return;
    StressPlay& play = *ready;
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
    StressPlay* ready = ReadyStress(state);
    if (ready == nullptr)
        return;
    StressPlay& play = *ready;
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
    StressPlay* ready = ReadyStress(state);
    if (ready == nullptr)
        return;
    StressPlay& play = *ready;
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


// Every laser of the level, switched on for good.
std::vector<Laser*> LasersOn(Game& game)
{
    std::vector<Laser*> lasers;
    for (Entity* e : game.entities) {
        if (e->type != EntityTypes::Laser)
            continue;
        auto* laser = static_cast<Laser*>(e);
        laser->on = true;
        laser->onTime = 0.0f;
        lasers.push_back(laser);
    }
    return lasers;
}

void LaserMarch(benchmark::State& state)
{
    StressPlay* ready = ReadyStress(state);
    if (ready == nullptr)
        return;
    StressPlay& play = *ready;
    play.Restart();
    const std::vector<Laser*> lasers = LasersOn(*play.game);
    for (auto _ : state) {
        for (Laser* laser : lasers)
            laser->Update();
    }
    state.counters["lasers"] = static_cast<double>(lasers.size());
}
BENCHMARK(LaserMarch)->Unit(benchmark::kMicrosecond);

// The same beams found without the grid: the ray from each laser's start to
// where its march ended, against every live beam, nearest hit kept.
void LaserBruteForceRay(benchmark::State& state)
{
    StressPlay* ready = ReadyStress(state);
    if (ready == nullptr)
        return;
    StressPlay& play = *ready;
    play.Restart();
    const std::vector<Laser*> lasers = LasersOn(*play.game);
    std::vector<Line> rays;
    for (Laser* laser : lasers) {
        laser->Update();
        rays.emplace_back(laser->beam.a, laser->beam.a + 1.0e4f * laser->beam.direction);
    }
    std::vector<Beam>& beams = play.game->map.liveBeams;
    std::size_t hits = 0;
    for (auto _ : state) {
        for (const Line& ray : rays) {
            float best = 9999.0f;
            for (const Beam& beam : beams) {
                Vec2 p;
                if (SegmentsIntersect(Line(beam.a, beam.b), ray, &p) && Length(p - ray.p0) < best) {
                    best = Length(p - ray.p0);
                    ++hits;
                }
            }
        }
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(LaserBruteForceRay)->Unit(benchmark::kMicrosecond);

// Ten platforms of 50 carried beams each, turning a degree a tick.
struct TurningLevel {
    HeadlessHost host{1};
    std::unique_ptr<Game> game;

    TurningLevel()
    {
        game = std::make_unique<Game>(host);
        std::vector<Beam>& beams = game->map.mapBeams;
        auto beam = [&beams](Vec2 a, Vec2 b) {
            Beam made;
            made.a = a;
            made.b = b;
            made.direction = Normalize(b.x - a.x, b.y - a.y);
            made.normal = {made.direction.y, -made.direction.x};
            beams.push_back(made);
        };
        beam({0, 1000}, {6000, 1000});
        beam({0, 3000}, {6000, 3000});
        for (int p = 0; p < 10; ++p) {
            const Vec2 c{300.0f + 500.0f * static_cast<float>(p), 2000.0f};
            for (int i = 0; i < 50; ++i) {
                const float a = static_cast<float>(i) * 7.2f;
                Vec2 f;
                Vec2 s;
                AngleToVectors(a, f, s);
                beam(c + 20.0f * f, c + 150.0f * f);
            }
            auto* r = new Rotator();
            r->def.area = HullCircle(160.0f, c.x, c.y);
            r->def.stepAngle = 0;
            r->def.speed = 1.0f;
            r->def.loops = true;
            r->position = r->previousPosition = c;
            game->map.entityTemplates.emplace_back(r);
        }
        game->StartLevel();
    }
};

void TurningPlatforms(benchmark::State& state)
{
    static TurningLevel* level = new TurningLevel;
    std::size_t carried = 0;
    for (Entity* e : level->game->entities)
        carried += static_cast<Rotator*>(e)->carriedBeams.size();
    for (auto _ : state)
        level->game->entities.Pass();
    state.counters["carried_beams"] = static_cast<double>(carried);
}
BENCHMARK(TurningPlatforms)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    reporter.PrintRatio("LaserMarch", "LaserBruteForceRay", RatioReporter::TimeIn("us", 1e3, 1));
    if (const auto turning = reporter.Nanoseconds("TurningPlatforms")) {
        const auto tick = reporter.Nanoseconds("PlayTick/manual_time");
        if (tick && *tick > 0.0)
            std::printf("10 turning platforms x 50 carried beams: %.1f us = %.0f %% of the steady tick (%.1f us)\n",
                        *turning / 1e3, 100.0 * *turning / *tick, *tick / 1e3);
    }
    StressPlay& play = Stress();
    if (!play.ready) {
        std::printf("stress map or resources missing under %s\n", ZELV_DEMO_DATA_DIR);
        return 0;
    }
    // Rates from a timed run of 2000 steady ticks, printed as ratios.
    play.Restart();
    const int ticks = 2000;
    std::chrono::steady_clock::duration steady{};
    for (int i = 0; i < ticks; ++i) {
        steady += play.Tick();
        worstSteadyCpuMs = std::max(worstSteadyCpuMs, play.lastCpuMs);
    }
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
    std::printf("worst steady tick in processor time: %.3f ms (target < 4 ms)\n", worstSteadyCpuMs);
    std::printf("worst steady tick: %.3f ms; worst firing tick: %.3f ms; blast tick (%zu actors and debris after): "
                "%.3f ms; tick after the blast: %.3f ms (target < 4 ms each)\n",
                worstSteadyMs, worstFiringMs, blastDebris, worstBlastMs, worstAroundBlastMs);
    return 0;
}
