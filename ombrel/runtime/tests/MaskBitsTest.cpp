// The 1-bit mask tests against a per-pixel reading of the same masks: random
// masks of widths 1 to 70 at every horizontal shift, with the padding at the
// rows' ends filled with garbage (it must never count), hostile sizes, and
// rectangles clipped at every edge. Seeded: a failure names its seed.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "mask/MaskBits.h"

namespace {

struct TestMask {
  int32_t width = 0, height = 0;
  uint32_t rowBytes = 0;
  std::vector<uint8_t> bits;

  // Pixels set with the given density; every padding bit set.
  TestMask(int32_t w, int32_t h, double density, std::mt19937& rng) : width(w), height(h) {
    rowBytes = uint32_t(((w + 15) & ~15) / 8);
    bits.assign(size_t(rowBytes) * h, 0);
    std::bernoulli_distribution on(density);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < int32_t(rowBytes) * 8; ++x)
        if (x >= w || on(rng)) bits[size_t(y) * rowBytes + (x >> 3)] |= uint8_t(1u << (x & 7));
  }
  bool Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return false;
    return (bits[size_t(y) * rowBytes + (x >> 3)] >> (x & 7)) & 1;
  }
};

bool NaiveOverlap(const TestMask& a, int32_t xA, int32_t yA, const TestMask& b, int32_t xB, int32_t yB) {
  for (int32_t y = 0; y < a.height; ++y)
    for (int32_t x = 0; x < a.width; ++x)
      if (a.Pixel(x, y) && b.Pixel(x + xA - xB, y + yA - yB)) return true;
  return false;
}

bool NaiveRect(const TestMask& m, int32_t x, int32_t y, int32_t w, int32_t h) {
  for (int32_t yy = y; yy < y + h; ++yy)
    for (int32_t xx = x; xx < x + w; ++xx)
      if (m.Pixel(xx, yy)) return true;
  return false;
}

TEST(MaskBits, OverlapEqualsPerPixelOverlapAtEveryWidthAndShift) {
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    std::mt19937 rng(seed);
    int hits = 0, misses = 0;
    for (int32_t wA = 1; wA <= 70; ++wA) {
      std::uniform_int_distribution<int32_t> width(1, 70), height(1, 9);
      const TestMask a(wA, height(rng), 0.06, rng);
      const TestMask b(width(rng), height(rng), 0.06, rng);
      const int32_t xA = std::uniform_int_distribution<int32_t>(-40, 40)(rng);
      const int32_t yA = std::uniform_int_distribution<int32_t>(-5, 5)(rng);
      for (int32_t shift = 0; shift < 16; ++shift) {
        // B starts `shift` pixels into some column of A, left or right of it.
        for (int32_t columns : {-4, -2, -1, 0, 1, 2}) {
          const int32_t xB = xA + columns * 16 + shift;
          const int32_t yB = yA + std::uniform_int_distribution<int32_t>(-b.height, a.height)(rng);
          const bool expected = NaiveOverlap(a, xA, yA, b, xB, yB);
          (expected ? hits : misses)++;
          ASSERT_EQ(MaskBitsOverlap(a.bits.data(), b.bits.data(), xA, yA, a.width, a.height, xB, yB, b.width,
                                    b.height),
                    expected ? 1 : 0)
              << "seed " << seed << " wA " << wA << " wB " << b.width << " shift " << shift << " columns "
              << columns;
          // The order of the two masks does not matter.
          ASSERT_EQ(MaskBitsOverlap(b.bits.data(), a.bits.data(), xB, yB, b.width, b.height, xA, yA, a.width,
                                    a.height),
                    expected ? 1 : 0);
        }
      }
    }
    // Both answers were exercised, not only one of them.
    EXPECT_GT(hits, 250) << "seed " << seed;
    EXPECT_GT(misses, 250) << "seed " << seed;
  }
}

TEST(MaskBits, EverySinglePixelOfOneMaskIsSeenUnderAFullOne) {
  // A full mask A at x 0 and a mask B holding one pixel: they meet exactly
  // when that pixel lies over A, wherever it falls in A's 64-pixel reads.
  std::mt19937 rng(1);
  for (int32_t wA = 1; wA <= 70; ++wA) {
    const TestMask a(wA, 3, 1.0, rng);
    for (int32_t xB = -70; xB < 70; ++xB)
      for (int32_t px = 0; px < 70; ++px) {
        std::vector<uint8_t> b(size_t(((70 + 15) & ~15) / 8) * 2, 0);
        b[size_t(b.size() / 2) + (px >> 3)] = uint8_t(1u << (px & 7));  // row 1
        const int expected = xB + px >= 0 && xB + px < wA ? 1 : 0;
        ASSERT_EQ(MaskBitsOverlap(a.bits.data(), b.data(), 0, 0, wA, 3, xB, 0, 70, 2), expected)
            << "wA " << wA << " xB " << xB << " px " << px;
      }
  }
}

TEST(MaskBits, MasksMeetingOnlyInRowPaddingDoNotOverlap) {
  std::mt19937 rng(9);
  // Every pixel and every padding bit set: A's padding (pixels 17..31)
  // reaches over B, which starts right after A's last pixel.
  const TestMask a(17, 4, 1.0, rng), b(20, 4, 1.0, rng);
  EXPECT_EQ(MaskBitsOverlap(a.bits.data(), b.bits.data(), 0, 0, 17, 4, 17, 0, 20, 4), 0);
  EXPECT_EQ(MaskBitsOverlap(b.bits.data(), a.bits.data(), 17, 0, 20, 4, 0, 0, 17, 4), 0);
  EXPECT_EQ(MaskBitsOverlap(a.bits.data(), b.bits.data(), 0, 0, 17, 4, 16, 0, 20, 4), 1);
  // Rows that only touch vertically do not meet either.
  EXPECT_EQ(MaskBitsOverlap(a.bits.data(), b.bits.data(), 0, 0, 17, 4, 0, 4, 20, 4), 0);
}

TEST(MaskBits, EmptyOrNegativeSizesAndNullBitsNeverOverlap) {
  std::mt19937 rng(3);
  const TestMask m(32, 8, 1.0, rng);
  const uint8_t* p = m.bits.data();
  struct Row { int32_t wA, hA, wB, hB; } rows[] = {{0, 8, 32, 8}, {32, 0, 32, 8}, {32, 8, 0, 8},
                                                   {32, 8, 32, 0}, {-32, 8, 32, 8}, {32, 8, 32, -1}};
  for (const Row& r : rows) EXPECT_EQ(MaskBitsOverlap(p, p, 0, 0, r.wA, r.hA, 0, 0, r.wB, r.hB), 0);
  EXPECT_EQ(MaskBitsOverlap(nullptr, p, 0, 0, 32, 8, 0, 0, 32, 8), 0);
  EXPECT_EQ(MaskBitsOverlap(p, nullptr, 0, 0, 32, 8, 0, 0, 32, 8), 0);
  // Positions far apart do not wrap around.
  EXPECT_EQ(MaskBitsOverlap(p, p, INT32_MIN, 0, 32, 8, INT32_MAX - 8, 0, 32, 8), 0);
  EXPECT_EQ(MaskBitsOverlap(p, p, INT32_MAX - 4, INT32_MAX - 4, 32, 8, INT32_MAX - 8, INT32_MAX - 2, 32, 8), 1);
}

TEST(MaskBits, RectTestEqualsPerPixelScanIncludingClippedRectangles) {
  std::mt19937 rng(21);
  for (int32_t width = 1; width <= 70; ++width) {
    const TestMask m(width, 7, 0.03, rng);
    std::uniform_int_distribution<int32_t> pos(-20, width + 5), size(-2, 40), ypos(-4, 9), ysize(-1, 6);
    for (int i = 0; i < 200; ++i) {
      const int32_t x = pos(rng), y = ypos(rng), w = size(rng), h = ysize(rng);
      ASSERT_EQ(MaskBitsTestRect(m.bits.data(), m.width, m.height, x, y, w, h), NaiveRect(m, x, y, w, h) ? 1 : 0)
          << "width " << width << " rect " << x << "," << y << " " << w << "x" << h;
    }
  }
}

TEST(MaskBits, PointTestReadsTheBitInsideAndZeroOutside) {
  std::mt19937 rng(5);
  const TestMask m(21, 5, 0.5, rng);
  for (int32_t y = -1; y <= 5; ++y)
    for (int32_t x = -1; x <= 33; ++x)
      ASSERT_EQ(MaskBitsTestPoint(m.bits.data(), x, y, m.width, m.height), m.Pixel(x, y) ? 1 : 0) << x << "," << y;
  const TestMask full(21, 5, 1.0, rng);
  EXPECT_EQ(MaskBitsTestPoint(full.bits.data(), 0, 4, 21, 5), 1);
  EXPECT_EQ(MaskBitsTestPoint(full.bits.data(), 0, 5, 21, 5), 0);  // y = height
  EXPECT_EQ(MaskBitsTestPoint(full.bits.data(), 21, 0, 21, 5), 0);  // x = width, in the padding
  EXPECT_EQ(MaskBitsTestPoint(nullptr, 0, 0, 21, 5), 0);
}

}  // namespace
