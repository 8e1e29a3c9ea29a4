// The dirty list's add, the hot path of every window drawing call: a frame's
// worth of rectangles added to an empty list, against a brute-force merger
// (append everything, then fold overlapping pairs until none is left) and
// against bare appends (the floor: no overlap test at all).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "RatioReporter.h"
#include "window/UpdateList.h"

namespace {

// 0: 513 disjoint 16 x 16 squares on a grid; 1: fifty 32 x 32; 2: 200
// random rectangles that overlap often.
std::vector<SurfaceRect> Frame(int kind) {
  std::vector<SurfaceRect> out;
  if (kind == 0) {
    for (int i = 0; i < 513; ++i) out.push_back({(i % 27) * 24, (i / 27) * 24, (i % 27) * 24 + 16, (i / 27) * 24 + 16});
  } else if (kind == 1) {
    for (int i = 0; i < 50; ++i) out.push_back({(i % 10) * 64, (i / 10) * 96, (i % 10) * 64 + 32, (i / 10) * 96 + 32});
  } else {
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
      const int x = int(rng() % 600), y = int(rng() % 440);
      out.push_back({x, y, x + 8 + int(rng() % 40), y + 8 + int(rng() % 40)});
    }
  }
  return out;
}

bool Overlap(const SurfaceRect& a, const SurfaceRect& b) {
  return a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
}

void UpdateListAddFrame(benchmark::State& state) {
  const std::vector<SurfaceRect> frame = Frame(int(state.range(0)));
  auto list = std::make_unique<UpdateList>();
  for (auto _ : state) {
    list->count = 0;
    for (const SurfaceRect& r : frame) UpdateListAdd(*list, r, false);
    benchmark::DoNotOptimize(list->count);
  }
}

void BruteForceMerge(benchmark::State& state) {
  const std::vector<SurfaceRect> frame = Frame(int(state.range(0)));
  std::vector<SurfaceRect> list;
  list.reserve(frame.size());
  for (auto _ : state) {
    list.assign(frame.begin(), frame.end());
    for (bool merged = true; merged;) {
      merged = false;
      for (size_t i = 0; i < list.size() && !merged; ++i)
        for (size_t j = i + 1; j < list.size(); ++j)
          if (Overlap(list[i], list[j])) {
            list[i] = {std::min(list[i].left, list[j].left), std::min(list[i].top, list[j].top),
                       std::max(list[i].right, list[j].right), std::max(list[i].bottom, list[j].bottom)};
            list.erase(list.begin() + std::ptrdiff_t(j));
            merged = true;
            break;
          }
    }
    benchmark::DoNotOptimize(list.data());
  }
}

void AppendOnly(benchmark::State& state) {
  const std::vector<SurfaceRect> frame = Frame(int(state.range(0)));
  auto list = std::make_unique<UpdateList>();
  for (auto _ : state) {
    list->count = 0;
    for (const SurfaceRect& r : frame) list->rects[list->count++] = r;
    benchmark::DoNotOptimize(list->count);
  }
}

}  // namespace

BENCHMARK(UpdateListAddFrame)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BruteForceMerge)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(AppendOnly)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  reporter.nameWidth = 22;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nTime / reference time (frames: 0 = 513 disjoint squares, 1 = fifty squares, "
              "2 = 200 overlapping; goal: at most the brute-force merger):\n");
  const auto us = RatioReporter::TimeIn("us", 1e3, 2);
  for (const char* frame : {"0", "1", "2"}) {
    reporter.PrintRatio(std::string("UpdateListAddFrame/") + frame, std::string("BruteForceMerge/") + frame, us);
    reporter.PrintRatio(std::string("UpdateListAddFrame/") + frame, std::string("AppendOnly/") + frame, us);
  }
  benchmark::Shutdown();
  return 0;
}
