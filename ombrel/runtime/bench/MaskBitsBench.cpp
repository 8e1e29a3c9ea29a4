// MaskBitsOverlap of two 64 x 64 masks at all 16 horizontal shifts against a
// plain loop over 32-bit words (shift B into A's words, AND) and against the
// per-pixel scan, on masks that never meet so every row is read. The ratios
// at the end are time / reference time (1.00: as fast).
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <algorithm>
#include <vector>

#include "mask/MaskBits.h"

namespace {

constexpr int32_t kSize = 64;
constexpr uint32_t kRowBytes = kSize / 8;

// A: every even row full; B: every odd row full. Placed on the same rows
// they never overlap.
struct Masks {
  std::vector<uint8_t> a, b;
  Masks() : a(kRowBytes * kSize, 0), b(kRowBytes * kSize, 0) {
    for (int32_t y = 0; y < kSize; ++y) std::memset((y % 2 ? b : a).data() + y * kRowBytes, 0xFF, kRowBytes);
  }
};

const Masks& TheMasks() {
  static const Masks m;
  return m;
}

uint32_t Word32(const uint8_t* row, int64_t index, int64_t words) {
  if (index < 0 || index >= words) return 0;
  uint32_t w;
  std::memcpy(&w, row + index * 4, 4);
  return w;
}

// The reference: B's bits shifted into each 32-bit word of A, with edge
// masks for the first and last words. Like the library's routine it takes
// the sizes at run time (rows of whole 32-pixel words here, so it reads
// rows as 32-bit words without further care) and is not inlined into the
// loop that calls it.
__attribute__((noinline)) int32_t WordLoopOverlap(const uint8_t* a, const uint8_t* b, int32_t xA, int32_t yA,
                                                  int32_t wA, int32_t hA, int32_t xB, int32_t yB, int32_t wB,
                                                  int32_t hB) {
  if (xB < xA) {
    std::swap(a, b);
    std::swap(xA, xB);
    std::swap(yA, yB);
    std::swap(wA, wB);
    std::swap(hA, hB);
  }
  const int64_t dx = int64_t(xB) - xA, dy = int64_t(yB) - yA;
  const int64_t x0 = dx, x1 = std::min<int64_t>(wA, dx + wB);
  const int64_t y0 = std::max<int64_t>(0, dy), y1 = std::min<int64_t>(hA, dy + hB);
  if (x0 >= x1 || y0 >= y1) return 0;
  const int64_t wordsA = (wA + 31) / 32, wordsB = (wB + 31) / 32;
  const unsigned s = unsigned(dx & 31);
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* ra = a + y * wordsA * 4;
    const uint8_t* rb = b + (y - dy) * wordsB * 4;
    for (int64_t w = x0 >> 5; w <= (x1 - 1) >> 5; ++w) {
      const int64_t q = w - (dx >> 5);
      const uint64_t pair = (uint64_t(Word32(rb, q, wordsB)) << 32) | Word32(rb, q - 1, wordsB);
      uint32_t bits = uint32_t(pair >> (32 - s)) & Word32(ra, w, wordsA);
      const int64_t lo = std::max<int64_t>(x0 - w * 32, 0), hi = std::min<int64_t>(x1 - w * 32, 32);
      const uint64_t edge = ((uint64_t(1) << hi) - 1) & ~((uint64_t(1) << lo) - 1);
      if (bits & uint32_t(edge)) return 1;
    }
  }
  return 0;
}

int32_t PixelOverlap(const uint8_t* a, const uint8_t* b, int32_t xA, int32_t yA, int32_t xB, int32_t yB) {
  for (int32_t y = 0; y < kSize; ++y)
    for (int32_t x = 0; x < kSize; ++x) {
      const int32_t bx = x + xA - xB, by = y + yA - yB;
      if (bx < 0 || by < 0 || bx >= kSize || by >= kSize) continue;
      if (((a[y * kRowBytes + (x >> 3)] >> (x & 7)) & 1) && ((b[by * kRowBytes + (bx >> 3)] >> (bx & 7)) & 1))
        return 1;
    }
  return 0;
}

template <typename Overlap>
void AllShifts(benchmark::State& state, Overlap overlap) {
  const Masks& m = TheMasks();
  for (auto _ : state) {
    int32_t hits = 0;
    for (int32_t shift = 0; shift < 16; ++shift) hits += overlap(m.a.data(), m.b.data(), 3, 0, 3 + shift, 0);
    benchmark::DoNotOptimize(hits);
    if (hits != 0) state.SkipWithError("the masks must not meet");
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 16 * kSize * kSize);
}

void MaskOverlap(benchmark::State& state) {
  AllShifts(state, [](const uint8_t* a, const uint8_t* b, int32_t xA, int32_t yA, int32_t xB, int32_t yB) {
    return MaskBitsOverlap(a, b, xA, yA, kSize, kSize, xB, yB, kSize, kSize);
  });
}
void WordLoop(benchmark::State& state) {
  AllShifts(state, [](const uint8_t* a, const uint8_t* b, int32_t xA, int32_t yA, int32_t xB, int32_t yB) {
    return WordLoopOverlap(a, b, xA, yA, kSize, kSize, xB, yB, kSize, kSize);
  });
}
void PerPixel(benchmark::State& state) { AllShifts(state, PixelOverlap); }

}  // namespace

BENCHMARK(MaskOverlap);
BENCHMARK(WordLoop);
BENCHMARK(PerPixel);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nTime / reference time (goal: MaskBitsOverlap <= 1.0x of the 32-bit word loop):\n");
  const auto us = RatioReporter::TimeIn("us", 1e3, 2);
  reporter.PrintRatio("MaskOverlap", "WordLoop", us);
  reporter.PrintRatio("MaskOverlap", "PerPixel", us);
  benchmark::Shutdown();
  return 0;
}
