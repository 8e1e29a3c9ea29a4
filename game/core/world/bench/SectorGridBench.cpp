// The sector grid against brute force over every beam:
//  - circle query: the cells of a circle (SectorsForCircle) and the beam hits
//    in them (Sector::CollideCircle), against SegmentCircleIntersection with
//    every beam of the map;
//  - CollideCircle of the circle's own cell alone, against the same brute force;
//  - SectorGrid::Build at 1k, 5k and 20k beams against the scan that tests
//    every beam for every cell (the bucketing the build replaced; both give
//    identical cell lists, checked before the timings).
// The map is the stress map when ZELV_STRESS_MAP names its file, else a
// random map of 6000 beams. Ratios are printed after the table.
#include "Collision.h"
#include "EntityList.h"
#include "Line.h"
#include "MapFile.h"
#include "Sector.h"
#include "SectorGrid.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<Beam> RandomBeams(int count, unsigned seed)
{
    // A long world like the game's: about 5 units of width per beam.
    std::mt19937 rng(seed);
    const float width = static_cast<float>(count) * 5.0f;
    std::uniform_real_distribution<float> x(0, width), y(0, 1500), d(-150, 150);
    std::vector<Beam> beams;
    Beam ground;
    ground.a = {0, 1500};
    ground.b = {width, 1500};
    beams.push_back(ground);
    for (int i = 1; i < count; ++i) {
        Beam b;
        b.a = {x(rng), y(rng)};
        b.b = {b.a.x + d(rng), b.a.y + d(rng)};
        beams.push_back(b);
    }
    return beams;
}

struct World {
    std::string source;
    std::vector<Beam> beams;
    EntityList entities;
    SectorGrid grid;
    std::vector<HullCircle> queries;
};

World& TheWorld()
{
    static World* world = [] {
        auto* w = new World;
        MapFileContents map;
        std::string reason;
        const char* path = std::getenv("ZELV_STRESS_MAP");
        if (path != nullptr && ReadMapFile(path, map, reason) && !map.beams.empty()) {
            w->beams = map.beams;
            w->source = std::string("stress map ") + path;
        } else {
            w->beams = RandomBeams(6000, 7);
            w->source = "random map";
        }
        w->grid.Build(w->beams, w->entities);
        std::mt19937 rng(11);
        std::uniform_real_distribution<float> x(0, w->grid.worldWidth), y(1000, w->grid.worldHeight - 1000),
            r(10, 60);
        for (int i = 0; i < 1024; ++i)
            w->queries.emplace_back(r(rng), x(rng), y(rng));
        return w;
    }();
    return *world;
}

void BM_GridCircleQuery(benchmark::State& state)
{
    World& w = TheWorld();
    std::vector<Sector*> cells;
    std::vector<BeamHit> hits;
    for (auto _ : state) {
        std::size_t total = 0;
        for (const HullCircle& c : w.queries) {
            cells.clear();
            hits.clear();
            w.grid.SectorsForCircle(c, cells);
            for (Sector* s : cells)
                s->CollideCircle(c, hits);
            total += hits.size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1024);
}
BENCHMARK(BM_GridCircleQuery);

void BM_CellCollideCircle(benchmark::State& state)
{
    World& w = TheWorld();
    std::vector<Sector*> own;
    for (const HullCircle& c : w.queries)
        own.push_back(w.grid.SectorAt(c.x, c.y));
    std::vector<BeamHit> hits;
    for (auto _ : state) {
        std::size_t total = 0;
        for (std::size_t i = 0; i < w.queries.size(); ++i) {
            hits.clear();
            if (own[i] != nullptr)
                own[i]->CollideCircle(w.queries[i], hits);
            total += hits.size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1024);
}
BENCHMARK(BM_CellCollideCircle);

void BM_BruteForceCircle(benchmark::State& state)
{
    World& w = TheWorld();
    std::vector<BeamHit> hits;
    for (auto _ : state) {
        std::size_t total = 0;
        for (const HullCircle& c : w.queries) {
            hits.clear();
            for (Beam& beam : w.beams) {
                Vec2 p;
                if (SegmentCircleIntersection(Line(beam.a, beam.b), c, &p))
                    hits.push_back({&beam, p});
            }
            total += hits.size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 1024);
}
BENCHMARK(BM_BruteForceCircle)->Unit(benchmark::kMillisecond);

// ---- Build ------------------------------------------------------------------

// The bucketing the build replaced: every beam tested against every cell.
std::unique_ptr<Sector[]> ScanEveryCell(std::vector<Beam>& beams, int& columns, int& rows)
{
    float minX = 1e30f, minY = 1e30f, maxX = -1e30f, maxY = -1e30f;
    for (const Beam& b : beams)
        for (const Vec2& p : {b.a, b.b}) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    maxY += 1000.0f;
    minY -= 1000.0f;
    const Vec2 offset{-minX, -minY};
    columns = static_cast<int>((maxX - minX) * kSectorScale + 1.0f);
    rows = static_cast<int>((maxY - minY) * kSectorScale + 1.0f);
    std::unique_ptr<Sector[]> cells(new Sector[static_cast<std::size_t>(columns) * rows]);
    for (Beam& b : beams) {
        b.a += offset;
        b.b += offset;
    }
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) {
            Sector& cell = cells[static_cast<std::size_t>(r) * columns + c];
            cell.centre = {125.0f + 250.0f * c, 125.0f + 250.0f * r};
            for (Beam& b : beams)
                if (cell.IntersectsSegment(b))
                    cell.beams.push_back(&b);
        }
    return cells;
}

bool SameBuckets(int count)
{
    std::vector<Beam> a = RandomBeams(count, 3);
    std::vector<Beam> b = a;
    EntityList none;
    SectorGrid grid;
    grid.Build(a, none);
    int columns = 0, rows = 0;
    auto reference = ScanEveryCell(b, columns, rows);
    if (columns != grid.columns || rows != grid.rows)
        return false;
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) {
            const auto& got = grid.Cell(c, r)->beams;
            const auto& want = reference[static_cast<std::size_t>(r) * columns + c].beams;
            if (got.size() != want.size())
                return false;
            for (std::size_t i = 0; i < got.size(); ++i)
                if (got[i] - a.data() != want[i] - b.data())
                    return false;
        }
    return true;
}

void BM_Build(benchmark::State& state)
{
    std::vector<Beam> beams = RandomBeams(static_cast<int>(state.range(0)), 3);
    EntityList none;
    SectorGrid grid;
    for (auto _ : state) {
        grid.Build(beams, none); // idempotent after the first move
        benchmark::DoNotOptimize(grid.Cell(0, 0));
    }
}
BENCHMARK(BM_Build)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_BuildScanEveryCell(benchmark::State& state)
{
    std::vector<Beam> beams = RandomBeams(static_cast<int>(state.range(0)), 3);
    for (auto _ : state) {
        int columns = 0, rows = 0;
        auto cells = ScanEveryCell(beams, columns, rows);
        benchmark::DoNotOptimize(cells.get());
    }
}
BENCHMARK(BM_BuildScanEveryCell)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    World& w = TheWorld();
    std::printf("Map: %s, %zu beams, %d x %d cells\n", w.source.c_str(), w.beams.size(), w.grid.columns,
                w.grid.rows);
    for (int count : {1000, 5000, 20000})
        std::printf("Build buckets identical to the every-cell scan at %d beams: %s\n", count,
                    SameBuckets(count) ? "yes" : "NO");
    RatioReporter reporter;
    reporter.nameWidth = 28;
    const RatioReporter::UnitText ms = RatioReporter::TimeIn("ms", 1e6, 3);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (1024 circles of radius 10..60 per iteration):\n");
    reporter.PrintSpeedup("BM_GridCircleQuery", "BM_BruteForceCircle", ms);
    reporter.PrintSpeedup("BM_CellCollideCircle", "BM_BruteForceCircle", ms);
    for (const char* n : {"1000", "5000", "20000"})
        reporter.PrintSpeedup(std::string("BM_Build/") + n, std::string("BM_BuildScanEveryCell/") + n, ms);
    return 0;
}
