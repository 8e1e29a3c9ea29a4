// How long the refills of a streaming channel wait while a sound kept in a
// file (type 0x10) loads on its first play: an 8 MiB sound, compressed, read
// and inflated by the host's thread while a ticker thread runs the timer's
// refill pass every millisecond (the real timer's 50 ms would hide gaps
// shorter than that). An iteration's time is the longest gap between two
// refills over the load; the reference is the longest gap over the same time
// with no load (the ticker's own spacing). The ratio at the end is gap during
// the load / gap without (goal: near 1x, the refills go on during the load).
#include <benchmark/benchmark.h>

#include "BenchFolder.h"
#include "RatioReporter.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "FakeSoundSystem.h"
#include "SoundTestData.h"
#include "app/AppApi.h"
#include "app/AppLists.h"
#include "compress/Compression.h"
#include "palette/PaletteApi.h"
#include "sound/SoundBank.h"
#include "sound/SoundChannels.h"
#include "sound/cDSound.h"
#include "sound/cDSoundDevice.h"
#include "sound/cSoundPlayer.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kLoadBytes = 8u << 20;

// A channel streaming a looped sound, and a thread that refills it every
// millisecond, keeping the longest gap between two refills while asked.
class StreamingChannel {
 public:
  StreamingChannel() {
    ReleasePalette(PaletteStartup());
    AddWavDecoder(registry_);
    device_ = cDSoundDevice::New(&registry_, system_);
    player_ = device_->CreatePlayer(nullptr);
    player_->Open(nullptr);
    app_ = AppCreate(nullptr, nullptr);
    const SoundFormat f = MakePcmFormat(2, 44100, 16);
    const SoundBytes wav = WavFile(f, RampData(f, f.avgBytesPerSec * 2));
    const int32_t id = SoundAdd(app_, SoundKindSample, "stream", wav.data(), static_cast<uint32_t>(wav.size()));
    SoundPlay(player_, app_, static_cast<uintptr_t>(id), nullptr, SoundPlayLoop, 0, 1);
    buffer_ = static_cast<FakeSoundBuffer*>(static_cast<cDSound*>(app_->channels[0].sound)->Buffer());
    ticker_ = std::thread([this] { Run(); });
  }
  ~StreamingChannel() {
    quit_ = true;
    ticker_.join();
    AppDestroy(app_);
    player_->Delete();
    device_->Delete();
    registry_.Unload();
    AppListThreadDetach();
    PaletteShutdown();
  }

  AppObject* App() { return app_; }

  void BeginWatch() {
    longest_ = Clock::duration::zero();
    closing_ = false;
    watching_ = true;
  }
  // Ends the watch at the next refill (a gap that spans the end counts).
  Clock::duration EndWatch() {
    closing_ = true;
    while (watching_) std::this_thread::yield();
    return longest_;
  }

 private:
  void Run() {
    Clock::time_point previous = Clock::now();
    while (!quit_) {
      buffer_->Advance(441 * 4);  // 10 ms of sound played
      if (device_->Tick()) {
        const Clock::time_point now = Clock::now();
        if (watching_) {
          if (now - previous > longest_) longest_ = now - previous;
          if (closing_) watching_ = false;
        }
        previous = now;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  cSoundPluginRegistry registry_;
  FakeSoundSystem system_;
  cDSoundDevice* device_ = nullptr;
  cSoundPlayer* player_ = nullptr;
  AppObject* app_ = nullptr;
  FakeSoundBuffer* buffer_ = nullptr;
  std::thread ticker_;
  std::atomic<bool> quit_{false};
  std::atomic<bool> watching_{false};
  std::atomic<bool> closing_{false};
  Clock::duration longest_{};  // the ticker's while watching
};

// A file holding a 4-byte packed length and the zlib stream of a name and
// 8 MiB of sound (a sine with noise in its low bits, which packs to a few MiB).
struct PackedSoundFile {
  PackedSoundFile() : folder(MakeBenchFolder("ombrel-lazyload")), path((folder / "packed.bin").string()) {
    SoundBytes named = {'b', 'i', 'g', '!'};
    std::mt19937 rng(7);
    for (uint32_t i = 0; i < kLoadBytes / 2; ++i) {
      const auto v = static_cast<int16_t>(8000 * std::sin(i * 0.01) + static_cast<int>(rng() % 64));
      named.push_back(static_cast<uint8_t>(v & 0xFF));
      named.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    count = static_cast<uint32_t>(named.size());
    OmbHandle out = FileCreate(path.c_str());
    FileWrite(out, "\0\0\0\0", 4);
    DeflateMemToFile(out, named.data(), count, 6);
    packed = FileTell(out) - 4;
    FileSeek(out, 0);
    FileWrite(out, &packed, 4);
    FileClose(out);
    handle = FileOpen(path.c_str(), 0);
  }
  ~PackedSoundFile() {
    FileClose(handle);
    std::filesystem::remove_all(folder);
  }
  std::filesystem::path folder;
  std::string path;
  OmbHandle handle = nullptr;
  uint32_t count = 0;
  uint32_t packed = 0;
};

StreamingChannel* channel = nullptr;
PackedSoundFile* file = nullptr;
Clock::duration lastLoad{};

void RefillGapWhileALazySoundLoads(benchmark::State& state) {
  for (auto _ : state) {
    SoundFileBlock block{reinterpret_cast<uintptr_t>(file->handle), 0, file->count, 4, 1};
    const int32_t id =
        SoundAdd(channel->App(), SoundKindSample | SoundTypeInFile, "big", &block, sizeof block);
    channel->BeginWatch();
    const Clock::time_point start = Clock::now();
    if (SoundPlay(nullptr, channel->App(), static_cast<uintptr_t>(id), nullptr, 0, 0, 0) != 0)
      state.SkipWithError("the lazy load failed");
    lastLoad = Clock::now() - start;
    const Clock::duration gap = channel->EndWatch();
    state.SetIterationTime(std::chrono::duration<double>(gap).count());
    SoundRelease(channel->App(), id);
  }
  state.counters["load_ms"] = std::chrono::duration<double, std::milli>(lastLoad).count();
}

void RefillGapWithoutALoad(benchmark::State& state) {
  for (auto _ : state) {
    channel->BeginWatch();
    std::this_thread::sleep_for(lastLoad);
    const Clock::duration gap = channel->EndWatch();
    state.SetIterationTime(std::chrono::duration<double>(gap).count());
  }
}

}  // namespace

BENCHMARK(RefillGapWhileALazySoundLoads)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(RefillGapWithoutALoad)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  PackedSoundFile packed;
  StreamingChannel streaming;
  file = &packed;
  channel = &streaming;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nLongest gap between refills / the same without a load (goal: near 1x):\n");
  reporter.nameWidth = 42;
  reporter.PrintRatio("RefillGapWhileALazySoundLoads/manual_time", "RefillGapWithoutALoad/manual_time",
                      RatioReporter::TimeIn("ms", 1e6, 2));
  benchmark::Shutdown();
  return 0;
}
