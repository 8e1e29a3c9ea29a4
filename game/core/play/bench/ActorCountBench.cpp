// Load, play and teardown of a level against its actor count: the demo map
// Landfall with 1,000, 10,000 or 100,000 extra actors of every type spread
// over its hills, and Landfall as it is (0 extra) for the level's own cost.
//  - LoadLevel: Game::LoadMap (the templates) and Game::StartLevel (clones,
//    spawns, the grid, the warm-up updates).
//  - PlayPass: one update pass of the entity list.
//  - Teardown: Game::ClearLevel (every actor leaves its cells and goes) and
//    the templates going with the next map.
//  - CloneAndDelete: the reference measured in the same run: cloning every
//    template and deleting the clones, the memory work any load and teardown
//    does, with no grid and no update.
//  - LaserPass: one update pass of a laser-heavy crowd: every fourth extra
//    actor a laser and every fourth a switch (the rest of every type), the
//    lasers on from the start, each marching down to the hills through
//    cells full of switches.
// Ratios printed after the table, in processor time: each subject's time
// per extra actor at 10,000 and 100,000 against the same at 1,000 (1.0 is
// linear), and against the reference. Time per extra actor is
// (time - time at 0 extra) / extra:
// the level's fixed costs (terrain, grid, the map's own actors) are charged
// to Landfall as it is, not spread over the extra actors, where they made
// the cost per actor at 1,000 look high and the growth after it look small.
// The log is on, writing into the bench's own folder, so the per-actor log
// lines count as they do in the program.
#include "BenchFolder.h"
#include "RatioReporter.h"
#include "testing/DemoDataGame.h"
#include "testing/HeadlessHost.h"
#include "MapFile.h"
#include "Entity.h"
#include "Game.h"
#include "Log.h"
#include "MapWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kCounts[] = {0, 1000, 10000, 100000};

std::int32_t ReadInt32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

enum class Mix { EveryType, LaserHeavy };

// The type of the extra actor i of a mix.
std::int32_t MixedType(Mix mix, int i)
{
    static const std::int32_t types[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 22, 24};
    constexpr int kTypes = sizeof types / sizeof types[0];
    if (mix == Mix::EveryType)
        return types[i % kTypes];
    switch (i % 4) {
    case 0: return kMapTypeLaser;
    case 2: return kMapTypeSwitch;
    default: return types[(i / 2) % kTypes];
    }
}

// Landfall's file with `extra` actor records appended to its actor section.
std::vector<std::uint8_t> LandfallWithExtraActors(const std::vector<std::uint8_t>& landfall, int extra, Mix mix)
{
    const std::size_t actorsAt = 4 + 56 * static_cast<std::size_t>(ReadInt32(landfall, 0));
    const std::int32_t count = ReadInt32(landfall, actorsAt);
    std::size_t end = actorsAt + 4;
    for (std::int32_t i = 0; i < count; ++i)
        end += static_cast<std::size_t>(MapActorRecordBytes(ReadInt32(landfall, end)));

    MapWriter records;
    std::uint32_t seed = 7;
    for (int i = 0; i < extra; ++i) {
        seed = seed * 1664525u + 1013904223u;
        MapActor actor;
        actor.type = MixedType(mix, i);
        actor.position = {float(seed % 6400u), 300.0f + float((seed >> 13) % 650u)};
        actor.name = "N" + std::to_string(i % 64);
        actor.onTime = 1.0f;
        actor.startsOn = mix == Mix::LaserHeavy; // beams out in the passes timed
        actor.offTime = 1.0f;
        actor.halfWidth = 16.0f;
        actor.halfHeight = 16.0f;
        records.Actor(actor);
    }
    std::vector<std::uint8_t> bytes(landfall.begin(), landfall.begin() + static_cast<std::ptrdiff_t>(actorsAt));
    const std::int32_t total = count + extra;
    bytes.resize(bytes.size() + 4);
    std::memcpy(bytes.data() + actorsAt, &total, sizeof total);
    bytes.insert(bytes.end(), landfall.begin() + static_cast<std::ptrdiff_t>(actorsAt + 4),
                 landfall.begin() + static_cast<std::ptrdiff_t>(end));
    bytes.insert(bytes.end(), records.Bytes().begin(), records.Bytes().end());
    bytes.insert(bytes.end(), landfall.begin() + static_cast<std::ptrdiff_t>(end), landfall.end());
    return bytes;
}

// One game over the demo data whose maps folder holds "crowd<N>" and
// "lasers<N>" for each count; the log writes into the same folder.
struct Crowds {
    HeadlessHost host{1};
    std::unique_ptr<Game> game;
    std::filesystem::path root;
    bool ready = false;

    Crowds()
    {
        if (!OpenDemoDataGame(game, host, ZELV_DEMO_DATA_DIR))
            return;
        root = MakeBenchFolder("zelv_actorcount_bench");
        if (root.empty())
            return;
        std::filesystem::create_directories(root / "Data" / "Maps");
        std::vector<std::uint8_t> landfall;
        if (!ReadWholeFile(std::string(ZELV_DEMO_DATA_DIR) + "/Data/Maps/Landfall.map", landfall))
            return;
        for (int count : kCounts)
            if (!WriteMapBytes(MapPath(MapName(count)), LandfallWithExtraActors(landfall, count, Mix::EveryType)) ||
                !WriteMapBytes(MapPath(LaserMapName(count)), LandfallWithExtraActors(landfall, count, Mix::LaserHeavy)))
                return;
        game->dataRoot = root.string();
        log = std::make_unique<Log>((root / "Logfile.txt").string(), sink);
        log->SetEnabled(true);
        ready = true;
    }
    ~Crowds()
    {
        game.reset();
        std::error_code ignored;
        if (!root.empty())
            std::filesystem::remove_all(root, ignored);
    }

    std::string MapPath(const std::string& name) const
    {
        return (root / "Data" / "Maps" / (name + ".map")).string();
    }
    static std::string MapName(int count) { return "crowd" + std::to_string(count); }
    static std::string LaserMapName(int count) { return "lasers" + std::to_string(count); }

    // Loads and starts the map of the count; false when it would not load.
    bool Start(int count) { return StartMap(MapName(count)); }
    bool StartMap(const std::string& name)
    {
        if (!game->LoadMap(name.c_str(), *log))
            return false;
        game->StartLevel(*log);
        return true;
    }

    struct NullBuffer : std::streambuf {
        int overflow(int c) override { return c; }
        std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    };
    NullBuffer nothing;
    std::ostream sink{&nothing};
    std::unique_ptr<Log> log;
};

Crowds& TheCrowds()
{
    static Crowds crowds;
    return crowds;
}

void BM_LoadLevel(benchmark::State& state)
{
    Crowds& crowds = TheCrowds();
    if (!crowds.ready) {
        state.SkipWithError("demo data missing");
        return;
    }
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (!crowds.Start(count)) {
            state.SkipWithError("map did not load");
            break;
        }
        state.PauseTiming();
        crowds.game->ClearLevel(*crowds.log);
        state.ResumeTiming();
    }
    state.counters["actors"] = static_cast<double>(crowds.game->map.entityTemplates.size());
}

// One update pass over the level of the map named.
void UpdatePasses(benchmark::State& state, const std::string& mapName)
{
    Crowds& crowds = TheCrowds();
    if (!crowds.ready || !crowds.StartMap(mapName)) {
        state.SkipWithError("map did not load");
        return;
    }
    for (auto _ : state)
        crowds.game->entities.Pass();
    state.counters["live"] = static_cast<double>(crowds.game->entities.Size());
    crowds.game->ClearLevel(*crowds.log);
}

void BM_PlayPass(benchmark::State& state)
{
    UpdatePasses(state, Crowds::MapName(static_cast<int>(state.range(0))));
}

void BM_LaserPass(benchmark::State& state)
{
    UpdatePasses(state, Crowds::LaserMapName(static_cast<int>(state.range(0))));
}

void BM_Teardown(benchmark::State& state)
{
    Crowds& crowds = TheCrowds();
    if (!crowds.ready) {
        state.SkipWithError("demo data missing");
        return;
    }
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        if (!crowds.Start(count)) {
            state.SkipWithError("map did not load");
            break;
        }
        state.ResumeTiming();
        crowds.game->ClearLevel(*crowds.log);
        crowds.game->map.entityTemplates.clear();
    }
}

void BM_CloneAndDelete(benchmark::State& state)
{
    Crowds& crowds = TheCrowds();
    if (!crowds.ready || !crowds.game->LoadMap(Crowds::MapName(static_cast<int>(state.range(0))).c_str(), *crowds.log)) {
        state.SkipWithError("map did not load");
        return;
    }
    std::vector<Entity*> clones;
    for (auto _ : state) {
        clones.clear();
        for (const auto& source : crowds.game->map.entityTemplates)
            clones.push_back(source->Clone());
        for (Entity* clone : clones)
            delete clone;
    }
}

// The small counts are the baseline every growth figure divides by: they run
// ten times as many iterations, so one preempted iteration moves them little.
int IterationsAt(int count) { return count <= 1000 ? 30 : 3; }

std::string RunName(const std::string& name, int count)
{
    return name + "/" + std::to_string(count) + "/iterations:" + std::to_string(IterationsAt(count));
}

void SmallCounts(benchmark::internal::Benchmark* bench)
{
    bench->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(IterationsAt(1000));
}
void LargeCounts(benchmark::internal::Benchmark* bench)
{
    bench->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(IterationsAt(100000));
}
BENCHMARK(BM_LoadLevel)->Apply(SmallCounts);
BENCHMARK(BM_LoadLevel)->Apply(LargeCounts);
BENCHMARK(BM_PlayPass)->Apply(SmallCounts);
BENCHMARK(BM_PlayPass)->Apply(LargeCounts);
BENCHMARK(BM_LaserPass)->Apply(SmallCounts);
BENCHMARK(BM_LaserPass)->Apply(LargeCounts);
BENCHMARK(BM_Teardown)->Apply(SmallCounts);
BENCHMARK(BM_Teardown)->Apply(LargeCounts);
BENCHMARK(BM_CloneAndDelete)->Apply(SmallCounts);
BENCHMARK(BM_CloneAndDelete)->Apply(LargeCounts);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    reporter.nameWidth = 24;
    reporter.processorTime = true; // the ratios divide by small counts' times, which preemption inflates
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nPer extra actor at 10,000 and 100,000 against per extra actor at 1,000 (1.00x is linear),\n"
                "each less Landfall's own time (0 extra); processor time:\n");
    const auto at = [&reporter](const char* name, int count) { return reporter.Nanoseconds(RunName(name, count)); };
    for (const char* name : {"BM_LoadLevel", "BM_PlayPass", "BM_LaserPass", "BM_Teardown", "BM_CloneAndDelete"}) {
        const auto fixed = at(name, 0);
        const auto s = at(name, 1000);
        if (!fixed || !s || *s <= *fixed)
            continue;
        const double small = (*s - *fixed) / 1000.0;
        for (int count : {10000, 100000}) {
            const auto b = at(name, count);
            if (b)
                std::printf("  %-24s at %6d: %8.2fx per actor (%.1f ns vs %.1f ns; level alone %.2f ms)\n", name,
                            count, ((*b - *fixed) / count) / small, (*b - *fixed) / count, small, *fixed / 1e6);
        }
    }
    std::printf("Against cloning and deleting the same templates (processor time):\n");
    for (int count : {1000, 10000, 100000})
        for (const char* name : {"BM_LoadLevel", "BM_Teardown"})
            reporter.PrintRatio(RunName(name, count), RunName("BM_CloneAndDelete", count),
                                RatioReporter::TimeIn("ms", 1e6, 2));
    benchmark::Shutdown();
    return 0;
}
