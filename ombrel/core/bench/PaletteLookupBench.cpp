// Colour-to-index conversion of whole images: the inverse colour table
// against the plain nearest-entry search over the same colours, measured in
// the same run. The closing line prints table / search throughput.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "palette/DefaultPalettes.h"
#include "palette/NearestPaletteEntry.h"
#include "palette/PaletteApi.h"

namespace {

std::vector<uint32_t> Colours() {
  std::mt19937 rng(5);
  std::vector<uint32_t> c(64 * 64);  // one sprite's worth
  for (auto& v : c) v = rng() & 0xFFFFFF;
  return c;
}

double searchNsPerPixel = 0, tableNsPerPixel = 0;

void BM_NearestEntrySearch(benchmark::State& state) {
  const auto colours = Colours();
  const LogPalette& log = DefaultPalette256();
  for (auto _ : state) {
    uint32_t sum = 0;
    for (uint32_t c : colours) sum += uint32_t(NearestPaletteEntry(log.entries, 256, c));
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(colours.size()));
  const auto start = std::chrono::steady_clock::now();
  uint32_t sum = 0;
  for (uint32_t c : colours) sum += uint32_t(NearestPaletteEntry(log.entries, 256, c));
  benchmark::DoNotOptimize(sum);
  searchNsPerPixel = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / double(colours.size());
}

void BM_InverseTable(benchmark::State& state) {
  const auto colours = Colours();
  cPalette* palette = PaletteStartup();
  BuildInverseTable(palette);
  for (uint32_t c : colours) PaletteNearestIndex(palette, c);  // warm: misses filled once
  for (auto _ : state) {
    uint32_t sum = 0;
    for (uint32_t c : colours) sum += uint32_t(PaletteNearestIndex(palette, c));
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(colours.size()));
  const auto start = std::chrono::steady_clock::now();
  uint32_t sum = 0;
  for (uint32_t c : colours) sum += uint32_t(PaletteNearestIndex(palette, c));
  benchmark::DoNotOptimize(sum);
  tableNsPerPixel = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / double(colours.size());
  ReleasePalette(palette);
  PaletteShutdown();
}

BENCHMARK(BM_NearestEntrySearch);
BENCHMARK(BM_InverseTable);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  if (tableNsPerPixel > 0)
    std::printf("inverse table / nearest-entry search throughput: %.1fx\n", searchNsPerPixel / tableNsPerPixel);
  benchmark::Shutdown();
  return 0;
}
