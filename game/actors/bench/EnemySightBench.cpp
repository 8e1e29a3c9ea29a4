// The two searches that enemies run every tick while they wait, on the
// stress map: the lander's look down for ground and a scientist (up to five
// passes over nine cells) and the missile's line of sight toward the ship.
// Each is measured against a brute-force version of the same probes over
// every live beam (and every actor), in the same run; the ratios follow the
// table. Probes stand on a lattice over the whole world.
#include "testing/DemoDataGame.h"
#include "testing/HeadlessHost.h"
#include "Collision.h"
#include "Game.h"
#include "Lander.h"
#include "Line.h"
#include "MathUtil.h"
#include "Missile.h"
#include "Player.h"
#include "Random.h"
#include "RatioReporter.h"
#include "Scientist.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Stress {
    HeadlessHost host{1};
    std::unique_ptr<Game> game;
    std::vector<std::unique_ptr<Lander>> landers;
    std::vector<std::unique_ptr<Missile>> missiles;
    bool ready = false;

    Stress()
    {
        if (!OpenDemoDataGame(game, host, ZELV_DEMO_DATA_DIR))
            return;
        if (!game->LoadMap("stress"))
            return;
        game->StartLevel();
        const float w = game->WorldWidth();
        const float h = game->sectorGrid.worldHeight;
        game->player->position = {w / 2.0f, h / 2.0f};
        game->player->spawnTimer = 0;
        for (float y = 200.0f; y < h - 200.0f; y += 400.0f) {
            for (float x = 100.0f; x < w; x += 500.0f) {
                landers.push_back(std::make_unique<Lander>());
                landers.back()->Spawn(x, y, 0.0f);
                missiles.push_back(std::make_unique<Missile>());
                missiles.back()->Spawn(x, y, 0.0f);
            }
        }
        ready = !landers.empty();
    }
};

Stress& TheStress()
{
    static Stress* stress = new Stress;
    return *stress;
}

// Whether the stress game is there; else the case reports why it cannot run.
bool StressReady(benchmark::State& state)
{
    if (TheStress().ready)
        return true;
    state.SkipWithError("stress map or resources missing");
    return false;
}

// The lander's look down with every beam and every scientist of the level.
bool BruteLanderSearch(const Game& game, Vec2 at)
{
    Vec2 q{at.x, at.y - 10.0f};
    while (game.sectorGrid.SectorAt(q.x, q.y) != nullptr) {
        const Line probe(Vec2{at.x, at.y + 5.0f}, q);
        float best = 500.0f;
        bool found = false;
        Vec2 ground;
        for (const Beam& beam : game.map.liveBeams) {
            Vec2 p;
            if (SegmentsIntersect(probe, Line(beam.a, beam.b), &p) && Length(p - at) < best) {
                best = Length(p - at);
                ground = p;
                found = true;
            }
        }
        if (found) {
            const Line column(at, ground);
            for (Entity* e : game.entities)
                if (e->type == EntityTypes::Scientist && !static_cast<Scientist*>(e)->claimed &&
                    PointNearSegment(column, HullCircle(15.0f, e->position.x, e->position.y)))
                    return true;
            return false;
        }
        q.y += 125.0f;
        if (!(Length(q - at) <= 500.0f))
            return false;
    }
    return false;
}

// The missile's line of sight with every beam of the level.
bool BruteSightBlocked(const Game& game, Vec2 at, Vec2 d, float range)
{
    Vec2 q = at + 10.0f * d;
    while (game.sectorGrid.SectorAt(q.x, q.y) != nullptr) {
        const Line probe(at + 5.0f * d, q);
        for (const Beam& beam : game.map.liveBeams) {
            Vec2 p;
            if (SegmentsIntersect(probe, Line(beam.a, beam.b), &p) && Length(p - at) < range)
                return true;
        }
        q += 125.0f * d;
        if (!(Length(q - at) <= 600.0f))
            return false;
    }
    return false;
}

void LanderSearch(benchmark::State& state)
{
    if (!StressReady(state))
        return;
    Stress& s = TheStress();
    int chosen = 0;
    for (auto _ : state) {
        for (auto& lander : s.landers) {
            chosen += lander->Search() ? 1 : 0;
            if (Scientist* scientist = lander->target.Get())
                scientist->claimed = false;
            lander->abducting = false;
            lander->target = nullptr;
        }
    }
    benchmark::DoNotOptimize(chosen);
    state.counters["probes"] = static_cast<double>(s.landers.size());
}
BENCHMARK(LanderSearch)->Unit(benchmark::kMicrosecond);

void LanderSearchBruteForce(benchmark::State& state)
{
    if (!StressReady(state))
        return;
    Stress& s = TheStress();
    int chosen = 0;
    for (auto _ : state)
        for (auto& lander : s.landers)
            chosen += BruteLanderSearch(*s.game, lander->position) ? 1 : 0;
    benchmark::DoNotOptimize(chosen);
}
BENCHMARK(LanderSearchBruteForce)->Unit(benchmark::kMicrosecond);

void MissileSight(benchmark::State& state)
{
    if (!StressReady(state))
        return;
    Stress& s = TheStress();
    int blocked = 0;
    const Vec2 d = Normalize(0.5f, -0.8f);
    for (auto _ : state)
        for (auto& missile : s.missiles)
            blocked += missile->SightBlocked(d, 299.0f) ? 1 : 0;
    benchmark::DoNotOptimize(blocked);
    state.counters["probes"] = static_cast<double>(s.missiles.size());
}
BENCHMARK(MissileSight)->Unit(benchmark::kMicrosecond);

void MissileSightBruteForce(benchmark::State& state)
{
    if (!StressReady(state))
        return;
    Stress& s = TheStress();
    int blocked = 0;
    const Vec2 d = Normalize(0.5f, -0.8f);
    for (auto _ : state)
        for (auto& missile : s.missiles)
            blocked += BruteSightBlocked(*s.game, missile->position, d, 299.0f) ? 1 : 0;
    benchmark::DoNotOptimize(blocked);
}
BENCHMARK(MissileSightBruteForce)->Unit(benchmark::kMicrosecond);

// Probes on which the grid searches and the brute-force ones agree. The
// lander's grid search checks the scientists of each cell against the
// ground found so far, so a probe near cell edges may differ.
struct Agreement {
    std::size_t lander = 0;
    std::size_t missile = 0;
};

Agreement Agree(Stress& s)
{
    Agreement a;
    const Vec2 d = Normalize(0.5f, -0.8f);
    for (std::size_t i = 0; i < s.landers.size(); ++i) {
        Lander& lander = *s.landers[i];
        const bool grid = lander.Search();
        if (Scientist* scientist = lander.target.Get())
            scientist->claimed = false;
        lander.abducting = false;
        lander.target = nullptr;
        a.lander += grid == BruteLanderSearch(*s.game, lander.position) ? 1 : 0;
        a.missile += s.missiles[i]->SightBlocked(d, 299.0f) ==
                             BruteSightBlocked(*s.game, s.missiles[i]->position, d, 299.0f)
                         ? 1
                         : 0;
    }
    return a;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Stress& s = TheStress();
    if (s.ready) {
        const Agreement a = Agree(s);
        std::printf("stress map: %zu live beams, %zu actors, %zu probes; answers as brute force: lander %zu, "
                    "missile %zu\n",
                    s.game->map.liveBeams.size(), s.game->entities.Size(), s.landers.size(), a.lander, a.missile);
    }
    RatioReporter reporter;
    reporter.nameWidth = 24;
    const RatioReporter::UnitText us = RatioReporter::TimeIn("us", 1e3, 1);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (target >= 10x):\n");
    reporter.PrintSpeedup("LanderSearch", "LanderSearchBruteForce", us);
    reporter.PrintSpeedup("MissileSight", "MissileSightBruteForce", us);
    return 0;
}
