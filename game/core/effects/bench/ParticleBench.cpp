// Particle updates per second for every kind against a plain loop over an
// array of the same records doing the same steps, and a full list of 20,000
// live particles updated as the play pass does. Every iteration restores the
// particles from one template and runs 50 ticks (one second) on them, so no
// particle dies and the copy weighs the same on both sides. Ratios are
// printed after the table.
#include "DebrisParticles.h"
#include "ExplosionParticles.h"
#include "FuelStreamParticles.h"
#include "Game.h"
#include "JetParticles.h"
#include "LanderParticles.h"
#include "MathUtil.h"
#include "ParticleList.h"
#include "ParticleTerrain.h"
#include "Player.h"
#include "PuffParticles.h"
#include "Random.h"
#include "SmokeParticles.h"
#include "SmokeTrailParticles.h"
#include "SparkParticles.h"
#include "SpawnInParticles.h"
#include "ThrustParticles.h"
#include "Timer.h"
#include "WrapFrame.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kTicks = 50;
constexpr int kCount = 20000;
constexpr float kTick = 0.02f;

// A level with a terrain floor, the view over the particles' area.
struct World {
    Game game;
    Vec2 centre;
    World()
    {
        SeedRandom(1000);
        std::vector<Beam> beams;
        for (int i = 0; i < 40; ++i) { // a jagged floor across 4000 units
            Beam b;
            b.a = {100.0f * i, 600.0f + 20.0f * (i % 3)};
            b.b = {100.0f * (i + 1), 600.0f + 20.0f * ((i + 1) % 3)};
            const Vec2 d = Normalize(b.b.x - b.a.x, b.b.y - b.a.y);
            b.direction = d;
            b.normal = {d.y, -d.x};
            beams.push_back(b);
        }
        game.map.liveBeams = beams;
        game.sectorGrid.Build(game.map.liveBeams, game.entities);
        game.gravity = {0.0f, 0.04f};
        const float floorY = game.map.liveBeams[0].a.y;
        centre = {2000.0f, floorY - 200.0f};
        game.player->camera = {centre.x - 320.0f, centre.y - 240.0f};
        game.player->position = centre;
        game.player->spawnTimer = 10;
    }
};

World& TheWorld()
{
    static World world;
    return world;
}

// kCount particles over the view, some of them near the floor, with lives
// long enough to outlast the 50 ticks.
const std::vector<Particle>& Template()
{
    static const std::vector<Particle> particles = [] {
        const Vec2 c = TheWorld().centre;
        std::vector<Particle> out(kCount);
        for (Particle& p : out) {
            p.position = p.previousPosition = {c.x + RandomFloat(600.0f) - 300.0f,
                                               c.y + RandomFloat(400.0f) - 100.0f};
            p.velocity = {RandomFloat(4.0f) - 2.0f, RandomFloat(4.0f) - 2.0f};
            p.colour[0] = p.colour[1] = p.colour[2] = 1.0f;
            p.life = p.maxLife = RandomFloat(1.0f) + 1.5f;
            p.size = 8.0f;
        }
        return out;
    }();
    return particles;
}

// ---- The kinds --------------------------------------------------------------

template <typename Kind>
void RunKind(benchmark::State& state, Kind& kind)
{
    kind.particles.reserve(kCount * 16);
    Template(); // built before the timed loop, which only copies it
    for (auto _ : state) {
        kind.particles = Template();
        for (int t = 0; t < kTicks; ++t)
            kind.Update();
        benchmark::DoNotOptimize(kind.particles.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kTicks * kCount);
}

template <typename Kind>
void BM_Kind(benchmark::State& state)
{
    const Vec2 c = TheWorld().centre;
    Kind kind(c.x, c.y, 1.0f, 0.0f);
    RunKind(state, kind);
}

void BM_KindExplosion(benchmark::State& state)
{
    const Vec2 c = TheWorld().centre;
    ExplosionParticles kind(c.x, c.y, 0, 0);
    kind.Start(c.x, c.y, 0, 0, 1, 1, 0, 1, 0, 0, 30);
    RunKind(state, kind);
}

void BM_KindLander(benchmark::State& state)
{
    const Vec2 c = TheWorld().centre;
    LanderParticles kind(c.x, c.y, 0, 0);
    kind.Start(c.x, c.y, 0, 0, 0, 1, 0, 1, 0, 0, 30);
    RunKind(state, kind);
}

void BM_KindSpawnIn(benchmark::State& state)
{
    const Vec2 c = TheWorld().centre;
    SpawnInParticles kind(c.x, c.y, 0, 0, TheWorld().game.frameTimer);
    kind.countdown = 0; // no more batches: the same count on both sides
    RunKind(state, kind);
}

void BM_KindDebris(benchmark::State& state)
{
    const Vec2 c = TheWorld().centre;
    DebrisParticles kind(c.x, c.y, 0, 0);
    kind.colour[0] = 1.0f;
    RunKind(state, kind);
}

// ---- The plain loops ------------------------------------------------------------

// The same steps written straight over a vector: age and swap-remove, then
// the kind's steps.
template <typename Step>
void RunPlain(benchmark::State& state, Step step)
{
    std::vector<Particle> ps;
    ps.reserve(kCount * 16);
    Template();
    for (auto _ : state) {
        ps = Template();
        for (int t = 1; t <= kTicks; ++t) {
            for (std::size_t i = 0; i < ps.size();) {
                Particle& p = ps[i];
                p.life -= kTick;
                if (p.life <= 0.0f) {
                    p = ps.back();
                    ps.pop_back();
                    continue;
                }
                step(p, ps, t);
                ++i;
            }
        }
        benchmark::DoNotOptimize(ps.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kTicks * kCount);
}

struct PlainSteps {
    float width = TheWorld().game.sectorGrid.worldWidth;
    const SectorGrid& grid = TheWorld().game.sectorGrid;
    Vec2 gravity = TheWorld().game.gravity;

    static void Move(Particle& p, float damping)
    {
        p.velocity.x *= damping;
        p.velocity.y *= damping;
        p.previousPosition = p.position;
        p.position.x += p.velocity.x;
        p.position.y += p.velocity.y;
    }
    void Wrap(Particle& p) const
    {
        if (p.position.x < 0.0f) {
            p.position.x += width;
            p.previousPosition.x += width;
        } else if (p.position.x >= width) {
            p.position.x -= width;
            p.previousPosition.x -= width;
        }
    }
    void Bounce(Particle& p)
    {
        const Sector* s = grid.SectorAt(p.position.x, p.position.y);
        if (s == nullptr)
            return;
        if (const Beam* beam = ParticleBeamAt(*s, p.position.x, p.position.y)) {
            const Vec2 n = beam->normal;
            const float d = 2.0f * (p.velocity.x * n.x + p.velocity.y * n.y);
            p.velocity.x -= d * n.x;
            p.velocity.y -= d * n.y;
        }
    }
};

void BM_PlainThrust(benchmark::State& state)
{
    PlainSteps s;
    RunPlain(state, [&](Particle& p, std::vector<Particle>&, int) {
        PlainSteps::Move(p, 0.985f);
        s.Wrap(p);
        const float age = p.maxLife - p.life;
        p.colour[0] = Interpolate(1.0f, 0.0f, p.maxLife - 1.5f, p.maxLife, age);
        p.colour[1] = Interpolate(0.75f, 0.0f, 0.0f, 1.0f, age);
        p.size += 0.2f;
        s.Bounce(p);
    });
}

void BM_PlainSmokeTrail(benchmark::State& state)
{
    PlainSteps s;
    RunPlain(state, [&](Particle& p, std::vector<Particle>&, int) {
        PlainSteps::Move(p, 0.985f);
        s.Wrap(p);
        const float age = p.maxLife - p.life;
        p.colour[2] = Interpolate(1.0f, 0.0f, p.maxLife - 1.5f, p.maxLife, age);
        p.colour[1] = Interpolate(0.75f, 0.0f, 0.0f, 1.0f, age);
        p.size += 0.2f;
        s.Bounce(p);
    });
}

void BM_PlainExplosion(benchmark::State& state)
{
    const float start[3] = {1, 1, 0};
    const float end[3] = {1, 0, 0};
    RunPlain(state, [&](Particle& p, std::vector<Particle>& ps, int tick) {
        PlainSteps::Move(p, 0.985f);
        const float age = p.maxLife - p.life;
        for (int c = 0; c < 3; ++c)
            p.colour[c] = Interpolate(start[c], end[c], 0.0f, p.maxLife, age);
        if (tick % 3 == 0 && (p.velocity.x != 0.0f || p.velocity.y != 0.0f)) {
            Particle trail;
            trail.position = trail.previousPosition = p.previousPosition;
            trail.life = trail.maxLife = 0.15f * p.life;
            trail.size = 16.0f;
            std::copy(p.colour, p.colour + 3, trail.colour);
            ps.push_back(trail);
        }
    });
}

void BM_PlainFuelStream(benchmark::State& state)
{
    const WrapFrame frame{TheWorld().game.player->position, TheWorld().game.sectorGrid.worldWidth};
    RunPlain(state, [&](Particle& p, std::vector<Particle>&, int) {
        const Vec2 target = NearestPlayerPosition(p.position.x, p.position.y, frame);
        p.velocity.x -= (p.position.x - target.x) * (p.life * 0.005f);
        p.velocity.y -= (p.position.y - target.y) * (p.life * 0.005f);
        PlainSteps::Move(p, 0.9285f);
        const float m = std::min(p.life, 1.0f);
        if (static_cast<int>(p.maxLife) == 0) {
            p.colour[0] = 0.5f * m;
            p.colour[1] = p.colour[2] = m;
        } else {
            p.colour[0] = p.colour[2] = m;
            p.colour[1] = 0.5f * m;
        }
        p.size -= 0.25f;
    });
}

void BM_PlainJet(benchmark::State& state)
{
    PlainSteps s;
    RunPlain(state, [&](Particle& p, std::vector<Particle>&, int) {
        PlainSteps::Move(p, 0.985f);
        s.Wrap(p);
        p.colour[0] = 0.1f * p.life;
        p.colour[1] = 0.5f * p.life;
        p.colour[2] = 0.1f * p.life;
        s.Bounce(p);
    });
}

// Sparks, puffs (gravity off) and debris (no bounce; tinted): the blink.
template <bool kGravity, bool kBounce>
void PlainBlink(benchmark::State& state)
{
    PlainSteps s;
    std::int32_t counter = 0;
    const float tint[3] = {1.0f, 0.0f, 0.0f};
    RunPlain(state, [&](Particle& p, std::vector<Particle>&, int) {
        ++counter; // counted before the ageing in the kinds; the same work
        p.velocity.x *= 0.985f;
        p.velocity.y *= 0.985f;
        if (kGravity) {
            p.velocity.x += s.gravity.x;
            p.velocity.y += s.gravity.y;
        }
        p.previousPosition = p.position;
        p.position.x += p.velocity.x;
        p.position.y += p.velocity.y;
        s.Wrap(p);
        const float k = (counter % 2 == 0 && p.life < 1.5f) ? 0.0f : 0.5f * p.life;
        if (kBounce) {
            p.colour[0] = p.colour[1] = p.colour[2] = k;
            s.Bounce(p);
        } else {
            for (int c = 0; c < 3; ++c)
                p.colour[c] = k * tint[c];
        }
    });
}
void BM_PlainSpark(benchmark::State& state) { PlainBlink<true, true>(state); }
void BM_PlainPuff(benchmark::State& state) { PlainBlink<false, true>(state); }
void BM_PlainDebris(benchmark::State& state) { PlainBlink<false, false>(state); }

void BM_PlainSmoke(benchmark::State& state)
{
    PlainSteps s;
    RunPlain(state, [&](Particle& p, std::vector<Particle>&, int) {
        PlainSteps::Move(p, 0.985f);
        s.Wrap(p);
        p.colour[0] = 0.5f * p.life;
        p.colour[1] = 0.375f * p.life;
        p.colour[2] = 0.0f;
        s.Bounce(p);
    });
}

void BM_PlainSpawnIn(benchmark::State& state)
{
    const Player& ship = *TheWorld().game.player;
    const float theta = static_cast<float>(TheWorld().game.frameTimer.elapsed * 0.5);
    const Vec2 swirl{std::sin(theta), std::cos(theta)};
    RunPlain(state, [&](Particle& p, std::vector<Particle>&, int) {
        p.velocity.x += swirl.x * (p.life * 0.001f);
        p.velocity.y += swirl.y * (p.life * 0.001f);
        p.velocity.x -= (p.position.x - ship.position.x) * 0.01f;
        p.velocity.y -= (p.position.y - ship.position.y) * 0.01f;
        PlainSteps::Move(p, 0.985f);
        const float age = p.maxLife - p.life;
        const float fade = Interpolate(1.0f, 0.0f, 0.0f, p.maxLife, age);
        p.colour[0] = Interpolate(0.5f, 0.0f, 0.0f, p.maxLife, age);
        p.colour[1] = p.colour[2] = fade;
        p.size += 0.25f;
    });
}

#define KIND_PAIR(K, KindBench)                                                  \
    BENCHMARK(KindBench)->Name("Kind/" #K)->Unit(benchmark::kMillisecond);        \
    BENCHMARK(BM_Plain##K)->Name("Plain/" #K)->Unit(benchmark::kMillisecond);

KIND_PAIR(Thrust, BM_Kind<ThrustParticles>)
KIND_PAIR(Explosion, BM_KindExplosion)
KIND_PAIR(FuelStream, BM_Kind<FuelStreamParticles>)
KIND_PAIR(Jet, BM_Kind<JetParticles>)
KIND_PAIR(SmokeTrail, BM_Kind<SmokeTrailParticles>)
KIND_PAIR(Spark, BM_Kind<SparkParticles>)
KIND_PAIR(Puff, BM_Kind<PuffParticles>)
KIND_PAIR(Smoke, BM_Kind<SmokeParticles>)
KIND_PAIR(SpawnIn, BM_KindSpawnIn)
KIND_PAIR(Debris, BM_KindDebris)
BENCHMARK(BM_KindLander)->Name("Kind/Lander")->Unit(benchmark::kMillisecond);

// ---- A full list: 20,000 live particles in 40 systems of mixed kinds ----------

void BM_ListOf20000(benchmark::State& state)
{
    const Vec2 c = TheWorld().centre;
    ParticleList list;
    std::vector<ParticleKind*> systems;
    for (int i = 0; i < 40; ++i) {
        switch (i % 5) {
        case 0: systems.push_back(list.Add(std::make_unique<ThrustParticles>(c.x, c.y, 0, 0))); break;
        case 1: systems.push_back(list.Add(std::make_unique<JetParticles>(c.x, c.y, 1, 0))); break;
        case 2: systems.push_back(list.Add(std::make_unique<SparkParticles>(c.x, c.y, 1, 0))); break;
        case 3: systems.push_back(list.Add(std::make_unique<SmokeParticles>(c.x, c.y, 1, 0))); break;
        default: systems.push_back(list.Add(std::make_unique<FuelStreamParticles>(c.x, c.y, 0, 0))); break;
        }
    }
    const std::vector<Particle>& all = Template();
    const std::size_t share = all.size() / systems.size();
    auto refill = [&] {
        for (std::size_t i = 0; i < systems.size(); ++i)
            systems[i]->particles.assign(all.begin() + static_cast<std::ptrdiff_t>(i * share),
                                         all.begin() + static_cast<std::ptrdiff_t>((i + 1) * share));
    };
    int tick = 0;
    refill();
    for (auto _ : state) {
        if (++tick == kTicks) { // before any particle dies
            state.PauseTiming();
            refill();
            tick = 0;
            state.ResumeTiming();
        }
        list.Update();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kCount);
    state.counters["live"] = static_cast<double>(share * systems.size());
}
BENCHMARK(BM_ListOf20000)->Name("List/20000 live")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TheWorld();
    Template();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const char* kinds[] = {"Thrust", "Explosion", "FuelStream", "Jet", "SmokeTrail",
                           "Spark", "Puff", "Smoke", "SpawnIn", "Debris"};
    std::printf("\nParticles updated per second (50 ticks of %d particles per iteration):\n", kCount);
    for (const char* kind : kinds) {
        const std::optional<double> k = reporter.Nanoseconds(std::string("Kind/") + kind);
        const std::optional<double> p = reporter.Nanoseconds(std::string("Plain/") + kind);
        if (!k || !p || *k <= 0.0 || *p <= 0.0)
            continue;
        const double items = static_cast<double>(kTicks) * kCount;
        std::printf("  %-11s kind %7.1f M/s   plain loop %7.1f M/s   kind / plain time %.2fx\n", kind,
                    items / *k * 1e3, items / *p * 1e3, *k / *p);
    }
    const std::optional<double> lander = reporter.Nanoseconds("Kind/Lander");
    if (lander && *lander > 0.0)
        std::printf("  %-11s kind %7.1f M/s   (the explosion's update; compare Plain/Explosion)\n",
                    "Lander", static_cast<double>(kTicks) * kCount / *lander * 1e3);
    const std::optional<double> list = reporter.Nanoseconds("List/20000 live");
    if (list)
        std::printf("  One update of a list holding 20,000 live particles: %.3f ms\n", *list * 1e-6);
    return 0;
}
