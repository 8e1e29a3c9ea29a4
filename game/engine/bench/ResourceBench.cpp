// The start-up load of the resource store on the demo data set against
// reading the same bytes plainly: one whole-file read per file, and one read
// of all of them from a single file. Textures go through a stand-in that
// reads the picture's bytes (no OpenGL here); samples through the real mixer
// on SDL's dummy audio driver. Ratios are printed after the table; without
// the data set the benchmark says so and exits.
#include "MixerAudioBackend.h"
#include "ModelFile.h"
#include "ResourceStore.h"

#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The data set's folder: the environment's ZELV_DEMO_DATA_DIR, else the
// build's own when it passes one, else "data" under the working directory
// (where the build writes it, seen from the build folder).
std::string DataRoot()
{
    if (const char* env = std::getenv("ZELV_DEMO_DATA_DIR"); env != nullptr && *env != '\0')
        return env;
#ifdef ZELV_DEMO_DATA_DIR
    return ZELV_DEMO_DATA_DIR;
#else
    return "data";
#endif
}

std::string kRoot;

std::vector<std::string> ResourceFiles()
{
    std::vector<std::string> files;
    for (const TextureEntry& t : TextureTable())
        files.push_back(kRoot + "/Data/Gfx/" + t.name + ".png");
    for (const ModelEntry& m : ModelTable())
        files.push_back(kRoot + "/Data/Objects/" + m.name + ".obj");
    for (const char* s : SampleFiles())
        files.push_back(kRoot + "/Data/Sound/" + s);
    return files;
}

std::vector<char> ReadWhole(const std::string& path)
{
    std::vector<char> bytes;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fseek(f, 0, SEEK_END);
        const long size = std::ftell(f);
        std::fseek(f, 0, SEEK_SET);
        bytes.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    return bytes;
}

// Reads the picture's bytes as an upload would, then hands out a name.
class ReadingTextureLoader : public TextureLoader {
public:
    void SetSmoothShading() override {}
    unsigned LoadTexture(const std::string& path, int, int, int, int) override
    {
        const std::vector<char> bytes = ReadWhole(path);
        benchmark::DoNotOptimize(bytes.data());
        return bytes.empty() ? 0u : 1u;
    }
};

std::ostringstream quietConsole;
Log quietLog{"", quietConsole}; // never enabled: the load's log lines cost nothing here
MixerAudioBackend mixer;
Audio audio{mixer, quietLog};
std::int64_t totalBytes = 0;

void BM_LoadResources(benchmark::State& state)
{
    ReadingTextureLoader textures;
    ResourceStore store{textures, audio, quietLog};
    for (auto _ : state) {
        if (!store.LoadResources(kRoot)) {
            state.SkipWithError("LoadResources failed");
            break;
        }
        state.PauseTiming();
        store.FreeSamples();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * totalBytes);
}
BENCHMARK(BM_LoadResources)->MinWarmUpTime(0.05)->Unit(benchmark::kMillisecond);

void BM_LoadModelsOnly(benchmark::State& state)
{
    std::vector<Beam> beams;
    std::vector<HullCircle> circles;
    for (auto _ : state) {
        for (const ModelEntry& m : ModelTable())
            LoadObjectModelFile(beams, circles, kRoot + "/Data/Objects/" + m.name + ".obj", m.name, quietLog);
        benchmark::DoNotOptimize(beams.data());
    }
}
BENCHMARK(BM_LoadModelsOnly)->MinWarmUpTime(0.05)->Unit(benchmark::kMillisecond);

void BM_ReadEachFileWhole(benchmark::State& state)
{
    kRoot = DataRoot();
    const std::vector<std::string> files = ResourceFiles();
    for (auto _ : state) {
        for (const std::string& path : files) {
            const std::vector<char> bytes = ReadWhole(path);
            benchmark::DoNotOptimize(bytes.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * totalBytes);
}
BENCHMARK(BM_ReadEachFileWhole)->MinWarmUpTime(0.05)->Unit(benchmark::kMillisecond);

std::string blobPath;

void BM_ReadOneBufferedBlob(benchmark::State& state)
{
    for (auto _ : state) {
        const std::vector<char> bytes = ReadWhole(blobPath);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * totalBytes);
}
BENCHMARK(BM_ReadOneBufferedBlob)->MinWarmUpTime(0.05)->Unit(benchmark::kMillisecond);

// Opens the model reader makes for one file: the test open, then one per
// field it reads (origin, count, six fields per beam, count, two per circle).
std::int64_t ModelFileOpens()
{
    std::int64_t opens = 0;
    for (const ModelEntry& m : ModelTable()) {
        std::vector<Beam> beams;
        std::vector<HullCircle> circles;
        LoadObjectModelFile(beams, circles, kRoot + "/Data/Objects/" + m.name + ".obj", m.name, quietLog);
        opens += 1 + 2 + 6 * static_cast<std::int64_t>(beams.size()) + 1 +
                 2 * static_cast<std::int64_t>(circles.size());
    }
    return opens;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    kRoot = DataRoot();
    const std::vector<std::string> files = ResourceFiles();
    for (const std::string& path : files) {
        if (!fs::is_regular_file(path)) {
            std::printf("ResourceBench: demo data set absent or incomplete (no %s); nothing measured.\n",
                        path.c_str());
            return 0;
        }
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!audio.InitAudio(128)) {
        std::printf("ResourceBench: audio could not start (%s); nothing measured.\n", mixer.ErrorText().c_str());
        return 0;
    }

    blobPath = (fs::temp_directory_path() / ("zelv-resource-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))).string();
    {
        std::ofstream blob(blobPath, std::ios::binary | std::ios::trunc);
        for (const std::string& path : files) {
            const std::vector<char> bytes = ReadWhole(path);
            blob.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            totalBytes += static_cast<std::int64_t>(bytes.size());
        }
    }

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nDemo data: %zu files, %lld bytes. File opens per load: textures %zu, models %lld (the model\n"
                "reader opens its file for every field it reads), samples %zu.\n",
                files.size(), static_cast<long long>(totalBytes), kTextureCount,
                static_cast<long long>(ModelFileOpens()), kSampleCount);
    std::printf("Ratios against plain reads of the same bytes:\n");
    reporter.PrintRatio("BM_LoadResources", "BM_ReadEachFileWhole", RatioReporter::TimeIn("ms", 1e6, 3));
    reporter.PrintRatio("BM_LoadResources", "BM_ReadOneBufferedBlob", RatioReporter::TimeIn("ms", 1e6, 3));
    reporter.PrintRatio("BM_LoadModelsOnly", "BM_ReadEachFileWhole", RatioReporter::TimeIn("ms", 1e6, 3));

    std::remove(blobPath.c_str());
    audio.ShutdownAudio();
    SDL_Quit();
    benchmark::Shutdown();
    return 0;
}
