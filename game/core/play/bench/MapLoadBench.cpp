// Map loading against one buffered read of the same file. Three subjects:
// the whole-file read alone (the reference), decoding and checking every
// record of bytes already in memory, the read plus the decoding, and
// Game::LoadMap (which also makes the entity
// templates). The map is the demo data's stress map when the build folder's
// data set holds it (data/Data/Maps/stress.map), else a
// generated one of 20000 beams and 3000 records of every other kind. It is
// loaded under the name "home", which writes no saved game, so every round
// measures only the load. Ratios are printed after the table.
#include "Entity.h"
#include "Game.h"
#include "MapFile.h"
#include "MapWriter.h"
#include "Player.h"

#include "BenchFolder.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

MapContents GeneratedMap()
{
    MapContents map;
    for (int i = 0; i < 20000; ++i) {
        Beam beam;
        const float x = float(i % 400) * 50.0f, y = float(i / 400) * 60.0f;
        beam.a = {x, y};
        beam.b = {x + 40.0f, y + 20.0f};
        beam.colourA = {1.0f, 0.5f, 0.25f};
        beam.colourB = {0.25f, 0.5f, 1.0f};
        beam.direction = {0.894f, 0.447f};
        beam.normal = {0.447f, -0.894f};
        map.beams.push_back(beam);
    }
    const std::int32_t types[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 14, 15, 16, 17, 18, 19, 20, 22, 24};
    for (int i = 0; i < 2000; ++i) {
        MapActor actor;
        actor.type = types[i % (sizeof types / sizeof types[0])];
        actor.position = {float(i * 7 % 20000), float(i * 13 % 3000)};
        actor.name = "Name" + std::to_string(i % 50);
        actor.halfWidth = 30.0f;
        actor.halfHeight = 20.0f;
        map.actors.push_back(actor);
    }
    for (int i = 0; i < 250; ++i) {
        map.targets.push_back({{float(i * 80), 500.0f}, "T" + std::to_string(i)});
        MapRotator rotator;
        rotator.position = {float(i * 80), 900.0f};
        rotator.radius = 60.0f;
        map.rotators.push_back(rotator);
        MapMover mover;
        mover.position = {float(i * 80), 1300.0f};
        mover.halfWidth = 40.0f;
        mover.halfHeight = 10.0f;
        map.movers.push_back(mover);
        MapTrigger trigger;
        trigger.position = {float(i * 80), 1700.0f};
        trigger.halfWidth = 40.0f;
        trigger.halfHeight = 40.0f;
        map.triggers.push_back(trigger);
    }
    return map;
}

struct BenchMap {
    std::filesystem::path root;
    std::string path;
    std::string source;
    std::size_t bytes = 0;

    BenchMap()
    {
        root = MakeBenchFolder("zelv_mapload_bench");
        if (root.empty())
            return; // no file: the reads fail and say so
        std::filesystem::create_directories(root / "Data" / "Maps");
        path = (root / "Data" / "Maps" / "home.map").string();
        const std::filesystem::path stress = std::filesystem::path(ZELV_DEMO_DATA_DIR) / "Data" / "Maps" / "stress.map";
        std::error_code error;
        if (std::filesystem::exists(stress, error)) {
            std::filesystem::copy_file(stress, path, std::filesystem::copy_options::overwrite_existing, error);
            source = "stress.map";
        }
        if (source.empty() || error) {
            WriteMapFile(path, GeneratedMap());
            source = "generated map";
        }
        bytes = static_cast<std::size_t>(std::filesystem::file_size(path));
    }
    ~BenchMap()
    {
        std::error_code ignored;
        if (!root.empty())
            std::filesystem::remove_all(root, ignored);
    }
};

BenchMap& TheMap()
{
    static BenchMap map;
    return map;
}

void BM_ReadFileOnce(benchmark::State& state)
{
    const BenchMap& map = TheMap(); // written before the timed loop
    std::vector<std::uint8_t> bytes;
    for (auto _ : state) {
        if (!ReadWholeFile(map.path, bytes))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TheMap().bytes));
}
BENCHMARK(BM_ReadFileOnce)->MinWarmUpTime(0.05);

void BM_ReadAndDecodeMap(benchmark::State& state)
{
    const BenchMap& map = TheMap();
    for (auto _ : state) {
        MapFileContents contents;
        std::string reason;
        if (!ReadMapFile(map.path, contents, reason))
            state.SkipWithError(reason.c_str());
        benchmark::DoNotOptimize(contents.beams.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TheMap().bytes));
}
BENCHMARK(BM_ReadAndDecodeMap)->MinWarmUpTime(0.05);

// Decoding alone, from bytes already in memory, into a reused result.
void BM_DecodeInMemory(benchmark::State& state)
{
    std::vector<std::uint8_t> bytes;
    ReadWholeFile(TheMap().path, bytes);
    MapFileContents contents;
    for (auto _ : state) {
        std::string reason;
        if (!DecodeMapFile(bytes.data(), bytes.size(), contents, reason))
            state.SkipWithError(reason.c_str());
        benchmark::DoNotOptimize(contents.beams.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TheMap().bytes));
}
BENCHMARK(BM_DecodeInMemory)->MinWarmUpTime(0.05);

void BM_LoadMap(benchmark::State& state)
{
    Game game;
    game.dataRoot = TheMap().root.string();
    for (auto _ : state) {
        if (!game.LoadMap("home"))
            state.SkipWithError("LoadMap failed");
        benchmark::DoNotOptimize(game.map.entityTemplates.data());
    }
    state.counters["templates"] = static_cast<double>(game.map.entityTemplates.size());
    state.counters["beams"] = static_cast<double>(game.map.mapBeams.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * TheMap().bytes));
}
BENCHMARK(BM_LoadMap)->MinWarmUpTime(0.05);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    reporter.nameWidth = 20;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nMap: %s, %zu bytes. Ratios against one buffered read of the file:\n", TheMap().source.c_str(),
                TheMap().bytes);
    reporter.PrintRatio("BM_DecodeInMemory", "BM_ReadFileOnce", RatioReporter::TimeIn("us", 1e3, 1));
    reporter.PrintRatio("BM_ReadAndDecodeMap", "BM_ReadFileOnce", RatioReporter::TimeIn("us", 1e3, 1));
    reporter.PrintRatio("BM_LoadMap", "BM_ReadFileOnce", RatioReporter::TimeIn("us", 1e3, 1));
    benchmark::Shutdown();
    return 0;
}
