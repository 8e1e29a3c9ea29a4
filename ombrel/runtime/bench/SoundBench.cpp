// Sound conversions against a plain per-sample loop that applies the same
// rules with run-time branches (the reference), on one second of sound
// converted per iteration; and one timer tick refilling 32 streamed sounds
// (50 ms of 16-bit stereo 44100 Hz each, through the fake output) against
// memcpy of the same bytes. The ratios at the end are time / reference time
// (goals: converters 1.0x or better, the tick 1 / 0.7 = 1.43x or better).
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "FakeSoundSystem.h"
#include "SoundTestData.h"
#include "sound/SampleConverters.h"
#include "sound/cDSound.h"
#include "sound/cDSoundDevice.h"
#include "sound/cDSoundPlayer.h"
#include "stream/cMemorySource.h"

namespace {

struct Pair {
  const char* name;
  SoundFormat from, to;
};

const Pair kPairs[] = {
    {"8m_to_16s", MakePcmFormat(1, 22050, 8), MakePcmFormat(2, 22050, 16)},
    {"16s_to_8m", MakePcmFormat(2, 44100, 16), MakePcmFormat(1, 44100, 8)},
    {"16s_22k_to_44k", MakePcmFormat(2, 22050, 16), MakePcmFormat(2, 44100, 16)},
    {"16s_to_16m_half", MakePcmFormat(2, 44100, 16), MakePcmFormat(1, 22050, 16)},
    {"8s_11k_to_16m_44k", MakePcmFormat(2, 11025, 8), MakePcmFormat(1, 44100, 16)},
};

uint32_t Step(const Pair& p) {
  return p.to.samplesPerSec < p.from.samplesPerSec ? p.from.samplesPerSec / p.to.samplesPerSec : 1;
}
uint32_t Repeat(const Pair& p) {
  return p.to.samplesPerSec > p.from.samplesPerSec ? p.to.samplesPerSec / p.from.samplesPerSec : 1;
}

std::vector<uint8_t> Input(const Pair& p) {
  std::vector<uint8_t> in(p.from.avgBytesPerSec);
  std::mt19937 rng(5);
  for (uint8_t& b : in) b = static_cast<uint8_t>(rng());
  return in;
}

// The reference: one sample at a time, every rule decided at run time.
uint32_t PlainLoop(const SoundFormat& from, const SoundFormat& to, const uint8_t* in, uint32_t frames, uint8_t* out,
                   uint32_t step, uint32_t repeat) {
  uint8_t* start = out;
  for (uint32_t f = 0; f < frames; f += step) {
    int32_t v[2];
    for (int c = 0; c < from.channels; ++c) {
      const uint8_t* p = in + f * from.blockAlign + c * (from.bitsPerSample / 8);
      v[c] = from.bitsPerSample == 8 ? p[0] : static_cast<int16_t>(p[0] | p[1] << 8);
    }
    int n = from.channels;
    if (from.channels == 2 && to.channels == 1) v[0] = (v[0] + v[1]) / 2, n = 1;
    if (from.channels == 1 && to.channels == 2) v[1] = v[0], n = 2;
    for (uint32_t r = 0; r < repeat; ++r) {
      for (int c = 0; c < n; ++c) {
        int32_t s = v[c];
        if (from.bitsPerSample == 8 && to.bitsPerSample == 16) s = (s - 128) * 256;
        if (from.bitsPerSample == 16 && to.bitsPerSample == 8) s = ((static_cast<uint16_t>(s) >> 8) ^ 0x80);
        if (to.bitsPerSample == 8) {
          *out++ = static_cast<uint8_t>(s);
        } else {
          *out++ = static_cast<uint8_t>(s & 0xFF);
          *out++ = static_cast<uint8_t>((s >> 8) & 0xFF);
        }
      }
    }
  }
  return static_cast<uint32_t>(out - start);
}

void Converter(benchmark::State& state) {
  const Pair& p = kPairs[state.range(0)];
  const std::vector<uint8_t> in = Input(p);
  const uint32_t frames = static_cast<uint32_t>(in.size() / p.from.blockAlign);
  std::vector<uint8_t> out(ConvertedBytes(frames, Step(p), Repeat(p), p.to.blockAlign));
  const SampleConverter c = FindSampleConverter(p.from, p.to);
  for (auto _ : state) {
    benchmark::DoNotOptimize(c(in.data(), frames, out.data(), Step(p), Repeat(p)));
    benchmark::ClobberMemory();
  }
  state.SetLabel(p.name);
}

void Plain(benchmark::State& state) {
  const Pair& p = kPairs[state.range(0)];
  const std::vector<uint8_t> in = Input(p);
  const uint32_t frames = static_cast<uint32_t>(in.size() / p.from.blockAlign);
  std::vector<uint8_t> out(ConvertedBytes(frames, Step(p), Repeat(p), p.to.blockAlign));
  for (auto _ : state) {
    benchmark::DoNotOptimize(PlainLoop(p.from, p.to, in.data(), frames, out.data(), Step(p), Repeat(p)));
    benchmark::ClobberMemory();
  }
  state.SetLabel(p.name);
}

constexpr int kStreams = 32;
constexpr uint32_t kTickBytes = 8820;  // 50 ms of 16-bit stereo 44100 Hz

void Tick32Streams(benchmark::State& state) {
  const SoundFormat f = MakePcmFormat(2, 44100, 16);
  const SoundBytes file = WavFile(f, RampData(f, f.avgBytesPerSec * 3));
  cSoundPluginRegistry registry;
  AddWavDecoder(registry);
  FakeSoundSystem system;
  cDSoundDevice* device = cDSoundDevice::New(&registry, system);
  cSoundPlayer* player = device->CreatePlayer(nullptr);
  player->Open(nullptr);
  std::vector<FakeSoundBuffer*> buffers;
  for (int i = 0; i < kStreams; ++i) {
    cMemorySource* source = cMemorySource::New();
    source->Attach(file.data(), static_cast<uint32_t>(file.size()));
    auto* sound = static_cast<cDSound*>(player->CreateSound(source, 1, SoundOpenStreamed));
    sound->SetLoop(1, 0);
    sound->Play();
    buffers.push_back(static_cast<FakeSoundBuffer*>(sound->Buffer()));
  }
  for (auto _ : state) {
    for (FakeSoundBuffer* b : buffers) b->Move(kTickBytes);  // 32 stores: the cursors move
    device->Tick();
  }
  player->Delete();
  device->Delete();
  registry.Unload();
}

// The same bytes between the same kind of memory: from one 3-second sound
// into 32 rings of 1.2 seconds, 50 ms at a time at advancing offsets.
void MemcpyOfTheSameBytes(benchmark::State& state) {
  const SoundFormat f = MakePcmFormat(2, 44100, 16);
  const uint32_t ring = RingBytes(f);
  const uint32_t length = f.avgBytesPerSec * 3;
  const SoundBytes data = RampData(f, length);
  std::vector<std::vector<uint8_t>> rings(kStreams, std::vector<uint8_t>(ring));
  uint32_t at = 0, from = 0;
  for (auto _ : state) {
    for (auto& r : rings) {
      const uint32_t a = std::min(kTickBytes, ring - at);
      std::memcpy(&r[at], &data[from], a);
      std::memcpy(&r[0], &data[from + a], kTickBytes - a);
    }
    at = (at + kTickBytes) % ring;
    from = (from + kTickBytes) % (length - kTickBytes);
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(Tick32Streams)->Unit(benchmark::kMicrosecond);
BENCHMARK(MemcpyOfTheSameBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(Converter)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK(Plain)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nTime / reference time (goal: converters <= 1.0x of the plain per-sample loop):\n");
  const auto us = RatioReporter::TimeIn("us", 1e3, 1);
  for (int i = 0; i < 5; ++i) {
    const std::string arg = std::to_string(i);
    std::printf("%s\n", kPairs[i].name);
    reporter.PrintRatio("Converter/" + arg, "Plain/" + arg, us);
  }
  std::printf("one tick, 32 streams\n");
  reporter.PrintRatio("Tick32Streams", "MemcpyOfTheSameBytes", us);
  benchmark::Shutdown();
  return 0;
}
