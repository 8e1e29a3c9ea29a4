// Per-call cost of drawing through the surface handle (origin arithmetic,
// the implementation's Blit slot with its clip, lock and dispatch) over the
// pixel routine it ends in, called directly on the same two views in the same
// run. The first table at the end gives handle time / routine time (medians
// with --benchmark_repetitions); 1.00 means no measurable overhead. On a
// shared machine those medians move by tens of percent, so a second, paired
// table times alternating batches of each side and keeps each side's fastest
// batch (other processes only ever add time).
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "palette/PaletteApi.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibrary.h"

namespace {

struct Size {
  int32_t w, h;
};
constexpr Size kSizes[] = {{640, 480}, {32, 32}};
constexpr int32_t kDepth = 32;
constexpr uint32_t kKey = 0x00FF00FF;

SurfaceLibrary& Library() {
  static SurfaceLibrary* library = [] {
    auto* l = new SurfaceLibrary;
    l->Init();
    return l;
  }();
  return *library;
}

// A sprite with about 40% key pixels in runs, and a destination, made from
// the memory prototype as a client makes them; both handles carry an origin.
struct Pair {
  cSurfaceHandle src, dest;
};

Pair& Get(Size s) {
  static std::map<std::tuple<int, int>, Pair> cache;
  Pair& p = cache[{s.w, s.h}];
  if (p.src.IsValid()) return p;
  cSurfaceHandle* prototype = nullptr;
  Library().GetPrototype(&prototype, kDepth, SurfaceTypeMemory, 0);
  p.src.Create(s.w, s.h, prototype);
  p.dest.Create(s.w, s.h, prototype);
  p.src.SetTransparentColour(kKey);
  std::mt19937 rng(uint32_t(s.w));
  for (int32_t y = 0; y < s.h; ++y)
    for (int32_t x = 0; x < s.w;) {
      const int32_t run = 1 + int32_t(rng() % 32);
      const bool key = rng() % 10 < 4;
      for (int32_t i = 0; i < run && x < s.w; ++i, ++x) {
        p.src.SetPixel(x, y, key ? kKey : rng() & 0x00FFFFFF);
        p.dest.SetPixel(x, y, rng() & 0x00FFFFFF);
      }
    }
  p.src.SetOrigin(3, 5);
  p.dest.SetOrigin(-7, 2);
  return p;
}

void Account(benchmark::State& st, Size s) {
  st.SetBytesProcessed(int64_t(st.iterations()) * s.w * s.h * (kDepth / 8));
}

void ThroughHandle(benchmark::State& st, Size s, int32_t mode) {
  Pair& p = Get(s);
  for (auto _ : st) {
    // Handle positions that map to implementation (0, 0) on both sides.
    benchmark::DoNotOptimize(p.src.Blit(&p.dest, -7, 2, 3, 5, s.w, s.h, mode, 0, 0, 0));
    benchmark::ClobberMemory();
  }
  Account(st, s);
}

// The implementation's slot called directly: separates the handle's own
// share (origin arithmetic, one more call) from the slot's clip and dispatch.
void ThroughSlot(benchmark::State& st, Size s, int32_t mode) {
  Pair& p = Get(s);
  cSurfaceImpl* src = cSurfaceHandle::GetImpl(&p.src);
  cSurfaceImpl* dest = cSurfaceHandle::GetImpl(&p.dest);
  for (auto _ : st) {
    benchmark::DoNotOptimize(src->Blit(dest, 0, 0, 0, 0, s.w, s.h, mode, 0, 0, 0));
    benchmark::ClobberMemory();
  }
  Account(st, s);
}

void RawRoutine(benchmark::State& st, Size s, int32_t mode) {
  Pair& p = Get(s);
  PixelView& src = cSurfaceHandle::GetImpl(&p.src)->view;
  PixelView& dest = cSurfaceHandle::GetImpl(&p.dest)->view;
  for (auto _ : st) {
    if (mode == 1)
      src.ops->BlitKeyed(&dest, 0, 0, &src, 0, 0, s.w, s.h);
    else
      src.ops->Copy(&dest, 0, 0, &src, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  Account(st, s);
}

std::string Name(const char* kind, int32_t mode, Size s) {
  return std::string(mode == 1 ? "keyed" : "opaque") + "/" + std::to_string(s.w) + "x" +
         std::to_string(s.h) + "/" + kind;
}

class RatioTable : public RatioReporter {
 public:
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n| blit | depth | size | handle / routine | overhead | goal | handle / slot |\n"
                "|---|---|---|---|---|---|---|\n");
    for (int32_t mode : {0, 1})
      for (Size s : kSizes) {
        const std::optional<double> handle = Nanoseconds(Name("handle", mode, s));
        const std::optional<double> raw = Nanoseconds(Name("routine", mode, s));
        const std::optional<double> slot = Nanoseconds(Name("slot", mode, s));
        if (!handle || !raw || !slot) continue;
        const double ratio = *handle / *raw;
        const double goal = s.w * s.h >= 640 * 480 ? 5.0 : 20.0;
        const double overhead = (ratio - 1.0) * 100.0;
        std::printf("| %s | %d | %dx%d | %.3f | %+.1f%% | < %.0f%% %s | %.3f |\n",
                    mode == 1 ? "keyed" : "opaque", kDepth, s.w, s.h, ratio, overhead, goal,
                    overhead < goal ? "met" : "MISSED", *handle / *slot);
      }
  }
};

// Mean nanoseconds per call over a batch of n calls.
template <typename F>
double BatchNs(F&& call, int n) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) {
    call();
    benchmark::ClobberMemory();
  }
  const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / n;
}

void PairedTable() {
  constexpr int kRounds = 400;
  constexpr double kBatchNs = 100000.0;  // about 100 microseconds a batch
  std::printf("\nPaired: fastest of %d alternating batches of about 100 us per side.\n\n"
              "| blit | depth | size | routine | slot | handle | handle / routine | goal | "
              "handle / slot |\n|---|---|---|---|---|---|---|---|---|\n",
              kRounds);
  for (int32_t mode : {0, 1})
    for (Size s : kSizes) {
      Pair& p = Get(s);
      cSurfaceImpl* si = cSurfaceHandle::GetImpl(&p.src);
      cSurfaceImpl* di = cSurfaceHandle::GetImpl(&p.dest);
      auto handle = [&] { p.src.Blit(&p.dest, -7, 2, 3, 5, s.w, s.h, mode, 0, 0, 0); };
      auto slot = [&] { si->Blit(di, 0, 0, 0, 0, s.w, s.h, mode, 0, 0, 0); };
      auto raw = [&] {
        if (mode == 1)
          si->view.ops->BlitKeyed(&di->view, 0, 0, &si->view, 0, 0, s.w, s.h);
        else
          si->view.ops->Copy(&di->view, 0, 0, &si->view, 0, 0, s.w, s.h);
      };
      const int n = std::max(1, int(kBatchNs / BatchNs(raw, 20)));
      double best[3] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                        std::numeric_limits<double>::max()};
      for (int round = 0; round < kRounds; ++round)
        for (int k = 0; k < 3; ++k) {
          const int which = (round + k) % 3;  // rotate which side goes first
          const double t = which == 0 ? BatchNs(raw, n) : which == 1 ? BatchNs(slot, n)
                                                                     : BatchNs(handle, n);
          best[which] = std::min(best[which], t);
        }
      const double ratio = best[2] / best[0];
      const double goal = s.w * s.h >= 640 * 480 ? 1.05 : 1.20;
      std::printf("| %s | %d | %dx%d | %.0f ns | %.0f ns | %.0f ns | %.3f | < %.2f %s | %.3f |\n",
                  mode == 1 ? "keyed" : "opaque", kDepth, s.w, s.h, best[0], best[1], best[2],
                  ratio, goal, ratio < goal ? "met" : "MISSED", best[2] / best[1]);
    }
}

}  // namespace

int main(int argc, char** argv) {
  for (int32_t mode : {0, 1})
    for (Size s : kSizes) {
      benchmark::RegisterBenchmark(Name("handle", mode, s).c_str(), ThroughHandle, s, mode);
      benchmark::RegisterBenchmark(Name("slot", mode, s).c_str(), ThroughSlot, s, mode);
      benchmark::RegisterBenchmark(Name("routine", mode, s).c_str(), RawRoutine, s, mode);
    }
  benchmark::Initialize(&argc, argv);
  RatioTable reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PairedTable();
  benchmark::Shutdown();
  return 0;
}
