// Per-call cost of the generic blit (clip, lock, dispatch) over the pixel
// routine it ends in: cSurfaceImpl::Blit against the source row's routine
// called directly on the same two views, in the same run. Google Benchmark
// reports the throughput of each; the table at the end comes from a paired
// measurement: rounds that time a batch of Blit calls and then a batch of
// routine calls, the fastest batch of each kept, so that load from other
// processes (which only ever adds time) falls out of the ratio.
// 1.00 means no measurable overhead.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <tuple>

#include "surface/cMemSurface.h"

namespace {

struct Size {
  int32_t w, h;
};
constexpr Size kSizes[] = {{640, 480}, {32, 32}};
constexpr int32_t kDepths[] = {32, 24};
constexpr uint32_t kKey = 0x00FF00FF;

// A source sprite (about 40% key pixels in runs) and a destination of one
// size and depth, made through the memory prototype as the library does.
struct Surfaces {
  cMemSurface* prototype = nullptr;
  cSurfaceImpl* src = nullptr;
  cSurfaceImpl* dest = nullptr;
};

Surfaces& Get(Size s, int32_t depth) {
  static std::map<std::tuple<int, int, int>, Surfaces> cache;
  Surfaces& p = cache[{s.w, s.h, depth}];
  if (p.src != nullptr) return p;
  p.prototype = cMemSurface::CreatePrototype(depth);
  p.src = p.prototype->MakeInstance(s.w, s.h);
  p.dest = p.prototype->MakeInstance(s.w, s.h);
  p.src->SetTransparentColour(kKey);
  std::mt19937 rng(uint32_t(s.w * 7 + depth));
  const int32_t bpp = p.src->view.bytesPerPixel;
  for (int32_t y = 0; y < s.h; ++y)
    for (int32_t x = 0; x < s.w;) {
      const int32_t run = 1 + int32_t(rng() % 32);
      const bool key = rng() % 10 < 4;
      for (int32_t i = 0; i < run && x < s.w; ++i, ++x) {
        const uint32_t v = key ? p.src->view.transparentValue : rng() & 0x00FFFFFF;
        std::memcpy(p.src->view.firstRow + y * p.src->view.pitch + x * bpp, &v, size_t(bpp));
        const uint32_t d = rng();
        std::memcpy(p.dest->view.firstRow + y * p.dest->view.pitch + x * bpp, &d, size_t(bpp));
      }
    }
  return p;
}

void Account(benchmark::State& st, Size s, int32_t depth) {
  st.SetBytesProcessed(int64_t(st.iterations()) * s.w * s.h * (depth / 8));
}

void ThroughBlit(benchmark::State& st, Size s, int32_t depth, int32_t mode) {
  Surfaces& p = Get(s, depth);
  cSurfaceImpl* src = p.src;
  for (auto _ : st) {
    benchmark::DoNotOptimize(src->Blit(p.dest, 0, 0, 0, 0, s.w, s.h, mode, 0, 0, 0));
    benchmark::ClobberMemory();
  }
  Account(st, s, depth);
}

void RawRoutine(benchmark::State& st, Size s, int32_t depth, int32_t mode) {
  Surfaces& p = Get(s, depth);
  const PixelOps* ops = p.src->view.ops;
  for (auto _ : st) {
    if (mode == 1)
      ops->BlitKeyed(&p.dest->view, 0, 0, &p.src->view, 0, 0, s.w, s.h);
    else
      ops->Copy(&p.dest->view, 0, 0, &p.src->view, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  }
  Account(st, s, depth);
}

std::string Name(const char* kind, int32_t mode, int32_t depth, Size s) {
  return std::string(mode == 1 ? "keyed" : "copy") + "/" + std::to_string(depth) + "/" +
         std::to_string(s.w) + "x" + std::to_string(s.h) + "/" + kind;
}

// Fastest batch of `calls` calls of each, over `rounds` alternating rounds.
struct Paired {
  double blitNs, routineNs;
};

template <class F>
double BatchNs(F body, int32_t calls) {
  const auto start = std::chrono::steady_clock::now();
  for (int32_t i = 0; i < calls; ++i) body();
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
         calls;
}

Paired MeasurePaired(Size s, int32_t depth, int32_t mode, int32_t rounds) {
  Surfaces& p = Get(s, depth);
  cSurfaceImpl* src = p.src;
  const PixelOps* ops = src->view.ops;
  // About 100 microseconds per batch.
  const int32_t calls = std::max(1, 400000 / (s.w * s.h));
  auto blit = [&] {
    benchmark::DoNotOptimize(src->Blit(p.dest, 0, 0, 0, 0, s.w, s.h, mode, 0, 0, 0));
    benchmark::ClobberMemory();
  };
  auto routine = [&] {
    if (mode == 1)
      ops->BlitKeyed(&p.dest->view, 0, 0, &src->view, 0, 0, s.w, s.h);
    else
      ops->Copy(&p.dest->view, 0, 0, &src->view, 0, 0, s.w, s.h);
    benchmark::ClobberMemory();
  };
  Paired best{1e30, 1e30};
  for (int32_t r = 0; r < rounds; ++r) {
    // Alternate which goes first, so neither always meets warm caches.
    if (r & 1) {
      best.routineNs = std::min(best.routineNs, BatchNs(routine, calls));
      best.blitNs = std::min(best.blitNs, BatchNs(blit, calls));
    } else {
      best.blitNs = std::min(best.blitNs, BatchNs(blit, calls));
      best.routineNs = std::min(best.routineNs, BatchNs(routine, calls));
    }
  }
  return best;
}

void PrintPairedTable(int32_t rounds) {
  std::printf("\n| blit | depth | size | routine ns | Blit ns | Blit / routine | overhead | goal |\n");
  std::printf("|---|---|---|---|---|---|---|---|\n");
  for (int32_t mode : {0, 1})
    for (int32_t depth : kDepths)
      for (Size s : kSizes) {
        const Paired m = MeasurePaired(s, depth, mode, rounds);
        const double ratio = m.blitNs / m.routineNs;
        const double goal = s.w * s.h >= 640 * 480 ? 5.0 : 20.0;
        const double overhead = (ratio - 1.0) * 100.0;
        std::printf("| %s | %d | %dx%d | %.0f | %.0f | %.3f | %+.1f%% | < %.0f%% %s |\n",
                    mode == 1 ? "keyed" : "opaque", depth, s.w, s.h, m.routineNs, m.blitNs, ratio,
                    overhead, goal, overhead < goal ? "met" : "MISSED");
      }
}

}  // namespace

int main(int argc, char** argv) {
  for (int32_t mode : {0, 1})
    for (int32_t depth : kDepths)
      for (Size s : kSizes) {
        benchmark::RegisterBenchmark(Name("Blit", mode, depth, s).c_str(),
                                     [=](benchmark::State& st) { ThroughBlit(st, s, depth, mode); });
        benchmark::RegisterBenchmark(Name("routine", mode, depth, s).c_str(),
                                     [=](benchmark::State& st) { RawRoutine(st, s, depth, mode); });
      }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintPairedTable(400);
  return 0;
}
