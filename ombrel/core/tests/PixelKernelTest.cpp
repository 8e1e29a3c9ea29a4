// Copy and flip kernels, row stretchers, pixel scans, converters and the
// routine table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <vector>

#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "pixel/CopyKernels.h"
#include "pixel/CpuFeatures.h"
#include "pixel/PixelVector32.h"
#include "pixel/RowConverters.h"
#include "pixel/RowStretchers.h"
#include "support/PixelCompare.h"
#include "support/PixelTestImage.h"

namespace {

TEST(PixelCopy, CopyRowsMovesExactlyTheRowAtEveryAlignment) {
  for (uint32_t rowBytes = 1; rowBytes <= 13; ++rowBytes)
    for (int srcOff = 0; srcOff < 4; ++srcOff)
      for (int destOff = 0; destOff < 4; ++destOff) {
        std::vector<uint8_t> src(64), dest(64, 0xEE), want(64, 0xEE);
        for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t(i * 7 + 1);
        // Two rows, pitch 20 on both sides.
        for (int r = 0; r < 2; ++r)
          std::memcpy(&want[destOff + 20 * r], &src[srcOff + 20 * r], rowBytes);
        CopyRows(src.data() + srcOff, dest.data() + destOff, rowBytes, 20 - rowBytes, 20 - rowBytes,
                 2, false);
        ASSERT_EQ(FirstDifference(dest, want), "") << rowBytes << " bytes, offsets " << srcOff << "/"
                                                  << destOff;
      }
}

// Moving a rectangle inside one view equals a copy through a temporary
// buffer, for every direction, both pitch signs and several pixel sizes.
TEST(PixelCopy, OverlapSafeMoveEqualsACopyThroughATemporary) {
  struct Move {
    int32_t dx, dy, sx, sy;
  };
  const Move moves[] = {{2, 1, 1, 1}, {1, 2, 1, 1}, {1, 1, 2, 1}, {1, 1, 1, 2},
                        {2, 2, 1, 1}, {0, 0, 1, 1}, {1, 1, 1, 1}};
  std::mt19937 rng(5);
  for (int32_t depth : {8, 16, 24, 32})
    for (bool bottomUp : {false, true})
      for (const Move& m : moves) {
        PixelTestImage img(9, 7, depth, bottomUp, false, 0);
        img.Randomise(rng, 0, 0);
        PixelTestImage want(img);
        std::vector<uint32_t> temp;
        for (int32_t y = 0; y < 5; ++y)
          for (int32_t x = 0; x < 6; ++x) temp.push_back(img.Raw(m.sx + x, m.sy + y));
        for (int32_t y = 0; y < 5; ++y)
          for (int32_t x = 0; x < 6; ++x) want.SetRaw(m.dx + x, m.dy + y, temp[y * 6 + x]);
        CopyRectOverlapSafe(&img.view, m.dx, m.dy, m.sx, m.sy, 6, 5);
        ASSERT_EQ(FirstDifference(img.pixels, want.pixels), "")
            << "depth " << depth << " bottomUp " << bottomUp << " move " << m.sx << "," << m.sy
            << " -> " << m.dx << "," << m.dy;
      }
}

TEST(PixelCopy, FlipRowsVerticalExchangesOuterRowsAndKeepsTheMiddle) {
  for (int32_t height : {3, 4}) {
    PixelTestImage img(5, height, 24, false, false, 0);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < 5; ++x) img.SetRaw(x, y, 0x010101u * (y + 1) + x);
    PixelTestImage before(img);
    FlipRowsVertical(&img.view, 1, 0, img.view.pitch, 0, height, 3 * 3);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < 5; ++x) {
        const bool inside = x >= 1 && x < 4;
        EXPECT_EQ(img.Raw(x, y), before.Raw(x, inside ? height - 1 - y : y)) << x << "," << y;
      }
  }
}

TEST(PixelScan, UniformColourAndContentBounds) {
  PixelTestImage img(8, 10, 32, true, false, 0);
  std::fill(img.pixels.begin(), img.pixels.end(), 0);
  EXPECT_EQ(IsUniformColour(&img.view), 1);
  PixelRect r{};
  EXPECT_EQ(FindContentBounds(&img.view, &r), 1);
  EXPECT_EQ(r.left, 7);  // all pixels equal the key: (w - 1, h - 1, 1, 1)
  EXPECT_EQ(r.top, 9);
  EXPECT_EQ(r.right, 1);
  EXPECT_EQ(r.bottom, 1);

  img.SetRaw(3, 5, 0x01000000);  // differs from key 0 only in byte 3
  EXPECT_EQ(IsUniformColour(&img.view), 0);
  EXPECT_EQ(FindContentBounds(&img.view, &r), 1);
  EXPECT_EQ(r.left, 3);
  EXPECT_EQ(r.top, 5);
  EXPECT_EQ(r.right, 4);
  EXPECT_EQ(r.bottom, 6);

  PixelTestImage rgb(4, 3, 24, false, false, 0);
  rgb.view.transparentValue = 0x00102030;
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) rgb.SetRaw(x, y, 0x102030);
  EXPECT_EQ(IsUniformColour(&rgb.view), 1);  // padding bytes (0xA5) are not pixels
  rgb.SetRaw(0, 2, 0x102031);
  rgb.SetRaw(2, 1, 0x000000);
  EXPECT_EQ(IsUniformColour(&rgb.view), 0);
  EXPECT_EQ(FindContentBounds(&rgb.view, &r), 1);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 1);
  EXPECT_EQ(r.right, 3);
  EXPECT_EQ(r.bottom, 3);

  PixelTestImage empty(0, 0, 32, false, false, 0);
  EXPECT_EQ(FindContentBounds(&empty.view, &r), 0);
}

std::vector<uint32_t> Stretch(int32_t from, int32_t to) {
  std::vector<uint32_t> src(from), dest(to, 0xDEADBEEF);
  for (int32_t i = 0; i < from; ++i) src[i] = i;
  const uint32_t step = static_cast<uint32_t>((uint64_t(to) << 16) / from);
  GetRowStretchers().stretchRow[4](reinterpret_cast<const uint8_t*>(src.data()),
                                   reinterpret_cast<uint8_t*>(dest.data()), to, from, step);
  return dest;
}

TEST(PixelStretch, RowStretchPicksTheNearestPixels) {
  using V = std::vector<uint32_t>;
  EXPECT_EQ(Stretch(2, 4), (V{0, 0, 1, 1}));
  EXPECT_EQ(Stretch(2, 3), (V{0, 1, 1}));
  EXPECT_EQ(Stretch(3, 7), (V{0, 0, 1, 1, 2, 2, 2}));
  EXPECT_EQ(Stretch(4, 2), (V{0, 2}));
  EXPECT_EQ(Stretch(3, 2), (V{0, 2}));
  EXPECT_EQ(Stretch(7, 3), (V{0, 3, 5}));
  EXPECT_EQ(Stretch(5, 5), (V{0, 1, 2, 3, 4}));
  const V shrunk = Stretch(273, 272);
  EXPECT_EQ(shrunk.back(), 272u) << "the last destination pixel is written";
}

// Every destination pixel is written for any pair of sizes, for each pixel
// size.
TEST(PixelStretch, EveryPixelWritten) {
  const RowStretchers& rs = GetRowStretchers();
  const int bytes[5] = {1, 2, 2, 3, 4};
  for (int idx = 0; idx < 5; ++idx) {
    const int n = bytes[idx];
    for (int32_t from = 1; from <= 40; from += 3)
      for (int32_t to = 1; to <= 45; to += 2) {
        std::vector<uint8_t> src(from * n), full(to * n, 0xFF);
        for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t(i % 251);  // never 0xFF
        const uint32_t step = static_cast<uint32_t>((uint64_t(to) << 16) / from);
        rs.stretchRow[idx](src.data(), full.data(), to, from, step);
        for (uint8_t b : full) ASSERT_NE(b, 0xFF) << from << " -> " << to << " bytes " << n;
      }
  }
  const uint8_t one[4] = {1, 2, 3, 4};
  uint32_t v;
  const uint8_t* p = one;
  v = rs.readNextPixel[3](p);
  EXPECT_EQ(v, 0x030201u);
  EXPECT_EQ(p, one + 3);
}

// The rectangle stretch against the plain walk it replaces: each destination
// row is the row stretcher's result for the source row the accumulator walk
// down the rows gives it (rows left over repeat the last row made). Random
// sizes, odd widths, halvings and doublings, rows wider than the column table, both pitch
// signs, clipped and not, with the source's vector flag set and cleared.
TEST(PixelStretch, RectangleStretchEqualsThePlainRowWalk) {
  std::mt19937 rng(21);
  const RowStretchers& rs = GetRowStretchers();
  const int32_t depths[5] = {8, 15, 16, 24, 32};
  for (int round = 0; round < 600; ++round) {
    const int32_t idx = round % 5, depth = depths[idx];
    const int32_t sw = 1 + rng() % 70, sh = 1 + rng() % 20;
    int32_t dw = round % 100 == 7 ? 4000 + rng() % 5000 : 1 + rng() % 150;
    if (round % 4 == 1) dw = std::max(1, sw / 2);  // halving
    if (round % 4 == 3) dw = 2 * sw;  // doubling
    const int32_t dh = 1 + rng() % 30;
    PixelTestImage src(sw + 3, sh + 2, depth, rng() % 2 != 0, false, (round / 5) % 2 ? CpuFeatures() : 0);
    src.Randomise(rng, 0, 0);
    PixelTestImage dest(dw + 4, dh + 4, depth, rng() % 2 != 0, false, 0);
    dest.Randomise(rng, 0, 0);
    const bool clip = round % 3 != 0;
    if (clip) {
      dest.view.clipLeft = rng() % (dw + 4);
      dest.view.clipTop = rng() % (dh + 4);
      dest.view.clipRight = dest.view.clipLeft + rng() % (dw + 5 - dest.view.clipLeft);
      dest.view.clipBottom = dest.view.clipTop + rng() % (dh + 5 - dest.view.clipTop);
    }
    const int32_t dx = 2, dy = 1, sx = 1 + rng() % 3, sy = 1 + rng() % 2;
    PixelTestImage want(dest);
    // Rows of the plain walk, each stretched by the row stretcher.
    std::vector<int32_t> rowSource;
    const uint32_t ystep = uint32_t((uint64_t(dh) << 16) / uint32_t(sh));
    uint32_t a = ystep;
    for (int32_t i = 0; i < sh && int32_t(rowSource.size()) < dh; ++i, a += ystep)
      for (; a >= 0x10000u && int32_t(rowSource.size()) < dh; a -= 0x10000u) rowSource.push_back(i);
    while (int32_t(rowSource.size()) < dh) rowSource.push_back(rowSource.empty() ? sh - 1 : rowSource.back());
    const uint32_t xstep = uint32_t((uint64_t(dw) << 16) / uint32_t(sw));
    std::vector<uint8_t> row(size_t(dw) * 4);
    for (int32_t j = 0; j < dh; ++j) {
      const uint8_t* from = src.view.firstRow + int64_t(sy + rowSource[size_t(j)]) * src.view.pitch +
                            sx * src.view.bytesPerPixel;
      rs.stretchRow[idx](from, row.data(), dw, sw, xstep);
      const int32_t y = dy + j;
      for (int32_t i = 0; i < dw; ++i) {
        const int32_t x = dx + i;
        if (clip && (x < dest.view.clipLeft || x >= dest.view.clipRight || y < dest.view.clipTop ||
                     y >= dest.view.clipBottom))
          continue;
        uint32_t v = 0;
        std::memcpy(&v, &row[size_t(i) * src.view.bytesPerPixel], size_t(src.view.bytesPerPixel));
        want.SetRaw(x, y, v);
      }
    }
    if (clip)
      StretchRectNearestClipped(&dest.view, dx, dy, &src.view, sx, sy, dw, dh, sw, sh);
    else
      StretchRectNearest(&dest.view, dx, dy, &src.view, sx, sy, dw, dh, sw, sh);
    ASSERT_EQ(FirstDifference(dest.pixels, want.pixels), "")
        << "round " << round << ", " << depth << " bits, " << sw << "x" << sh << " to " << dw << "x" << dh;
  }
}

TEST(PixelStretch, RectangleStretchRepeatsAndSkipsRows) {
  for (int32_t depth : {24, 32}) {
    PixelTestImage src(3, 4, depth, false, false, 0);
    for (int32_t y = 0; y < 4; ++y)
      for (int32_t x = 0; x < 3; ++x) src.SetRaw(x, y, 0x10u * y + x);
    PixelTestImage up(3, 8, depth, true, false, 0);
    StretchRectNearest(&up.view, 0, 0, &src.view, 0, 0, 3, 8, 3, 4);
    for (int32_t y = 0; y < 8; ++y) EXPECT_EQ(up.Raw(2, y), 0x10u * (y / 2) + 2) << y;
    PixelTestImage down(3, 2, depth, false, false, 0);
    StretchRectNearest(&down.view, 0, 0, &src.view, 0, 0, 3, 2, 3, 4);
    EXPECT_EQ(down.Raw(0, 0), 0x10u);  // source rows 1 and 3
    EXPECT_EQ(down.Raw(0, 1), 0x30u);
  }
}

// A clipped stretch writes exactly the unclipped stretch's pixels inside its
// clip and nothing outside, shrinking and enlarging, at every pixel size and
// both pitch signs (1200 random cases; a shrink once drew another last row
// when the row above it lay outside the clip).
TEST(PixelStretch, ClippedRectangleStretchWritesOnlyInsideTheClip) {
  std::mt19937 rng(9);
  const int32_t depths[5] = {8, 15, 16, 24, 32};
  for (int round = 0; round < 1200; ++round) {
    const int32_t depth = depths[round % 5];
    const int32_t sw = 1 + rng() % 9, sh = 1 + rng() % 9, dw = 1 + rng() % 14, dh = 1 + rng() % 14;
    PixelTestImage src(sw, sh, depth, (round / 5) % 2 != 0, false, 0);
    src.Randomise(rng, 0, 0);
    PixelTestImage full(dw + 2, dh + 2, depth, (round / 10) % 2 != 0, false, 0);
    full.Randomise(rng, 0, 0);
    PixelTestImage clipped(full);
    StretchRectNearest(&full.view, 1, 1, &src.view, 0, 0, dw, dh, sw, sh);
    clipped.view.clipLeft = rng() % (dw + 2);
    clipped.view.clipTop = rng() % (dh + 2);
    clipped.view.clipRight = clipped.view.clipLeft + rng() % (dw + 3 - clipped.view.clipLeft);
    clipped.view.clipBottom = clipped.view.clipTop + rng() % (dh + 3 - clipped.view.clipTop);
    PixelTestImage untouched(clipped);
    StretchRectNearestClipped(&clipped.view, 1, 1, &src.view, 0, 0, dw, dh, sw, sh);
    for (int32_t y = 0; y < dh + 2; ++y)
      for (int32_t x = 0; x < dw + 2; ++x) {
        const bool inside = x >= clipped.view.clipLeft && x < clipped.view.clipRight &&
                            y >= clipped.view.clipTop && y < clipped.view.clipBottom;
        ASSERT_EQ(clipped.Raw(x, y), inside ? full.Raw(x, y) : untouched.Raw(x, y))
            << "round " << round << ", " << depth << " bits, " << sw << "x" << sh << " to " << dw
            << "x" << dh << " at " << x << "," << y;
      }
  }
}

TEST(PixelStretch, ClippedShrinkKeepsTheLastRowOfTheUnclippedOne) {
  // Rows 11, 22, 33 to two rows give 22, 22; clipped to the second row alone
  // it is still 22.
  PixelTestImage src(1, 3, 8, false, false, 0);
  for (int32_t y = 0; y < 3; ++y) src.SetRaw(0, y, 11u * (y + 1));
  PixelTestImage full(1, 2, 8, false, false, 0);
  StretchRectNearest(&full.view, 0, 0, &src.view, 0, 0, 1, 2, 1, 3);
  EXPECT_EQ(full.Raw(0, 0), 22u);
  EXPECT_EQ(full.Raw(0, 1), 22u);
  PixelTestImage clipped(1, 2, 8, false, false, 0);
  clipped.SetRaw(0, 0, 99);
  clipped.view.clipTop = 1;
  StretchRectNearestClipped(&clipped.view, 0, 0, &src.view, 0, 0, 1, 2, 1, 3);
  EXPECT_EQ(clipped.Raw(0, 0), 99u);
  EXPECT_EQ(clipped.Raw(0, 1), 22u);
}

// The stored-value fill writes the value's bytes (a 32-bit fourth byte too)
// into exactly the rectangle, plain and vector, every pixel size, both pitch
// signs, 4-aligned rows and rows of odd length.
TEST(PixelFill, StoredValueFillsExactlyTheRectangle) {
  std::mt19937 rng(12);
  const int32_t depths[5] = {8, 15, 16, 24, 32};
  for (int round = 0; round < 300; ++round) {
    const int32_t depth = depths[round % 5], bpp = (depth + 7) / 8;
    const int32_t w = 1 + rng() % 70, h = 1 + rng() % 6;
    const uint32_t rowBytes = round % 3 == 0 ? uint32_t(w + 3) * bpp + 1 : 0;
    const uint32_t flags = (round / 5) % 2 ? CpuFeatures() : 0;
    PixelTestImage image(w + 3, h + 2, depth, (round / 10) % 2 != 0, false, flags, rowBytes);
    image.Randomise(rng, 0, 0);
    PixelTestImage want(image);
    const uint32_t value = rng() & (bpp == 4 ? 0xFFFFFFFFu : (1u << (8 * bpp)) - 1);
    const int32_t x = rng() % 3, y = rng() % 2, fw = 1 + rng() % (w + 3 - x), fh = 1 + rng() % (h + 2 - y);
    for (int32_t j = 0; j < fh; ++j)
      for (int32_t i = 0; i < fw; ++i) want.SetRaw(x + i, y + j, value);
    FillRectStored(&image.view, x, y, fw, fh, value);
    ASSERT_EQ(FirstDifference(image.pixels, want.pixels), "") << "round " << round << ", " << depth << " bits";
  }
}

TEST(PixelConvert, ZeroOnlyFromZeroAndByteOrder) {
  struct Case {
    int32_t srcIndex;
    uint32_t src;
    int32_t destIndex;
    uint32_t expected;
  };
  const Case cases[] = {
      {3, 0x070000, 1, 1},  // red 7 shifts away: stored as 1
      {3, 0x070000, 2, 1},  {3, 0, 1, 0},          {3, 0, 2, 0},
      {4, 0xFF000000, 1, 1}, {4, 0xFF000000, 2, 1}, {4, 0, 1, 0},
      {3, 0xFFFFFF, 1, 0x7FFF}, {3, 0xFFFFFF, 2, 0xFFFF},
      {4, 0xAB102030, 3, 0x102030}, {3, 0x102030, 4, 0x00102030},
  };
  for (const Case& c : cases) {
    uint8_t in[4], out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    std::memcpy(in, &c.src, 4);
    GetRowConverters(c.srcIndex)[c.destIndex](in, out, 1, nullptr);
    uint32_t got = 0;
    const int outBytes = c.destIndex <= 2 ? 2 : c.destIndex == 3 ? 3 : 4;
    std::memcpy(&got, out, outBytes);
    EXPECT_EQ(got, c.expected) << "from " << c.srcIndex << " to " << c.destIndex << " of " << c.src;
    if (outBytes < 4) {
      EXPECT_EQ(out[outBytes], 0xEE) << "wrote past the pixel";
    }
  }
  EXPECT_EQ(GetRowConverters(5), nullptr);
  EXPECT_EQ(GetRowConverters(-1), nullptr);
}

// Rows full of the cases that matter to the 32-bit to 5-5-5 and 5-6-5
// narrowings: black, pixels too dark to show (stored as 1), pixels with only
// a fourth byte, random ones.
std::vector<std::vector<uint32_t>> NarrowingRows() {
  std::mt19937 rng(16);
  std::vector<std::vector<uint32_t>> rows;
  for (int round = 0; round < 400; ++round) {
    std::vector<uint32_t> row(1 + rng() % 70);
    for (uint32_t& p : row) {
      switch (rng() % 4) {
        case 0: p = 0; break;
        case 1: p = rng() & 0x07070707u; break;
        case 2: p = rng() & 0xFF000000u; break;
        default: p = rng(); break;
      }
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

using NarrowRow = void (*)(const uint8_t*, uint8_t*, int32_t);

// Each row through the vector narrowing equals the plain converter's words
// and writes nothing past the row.
void ExpectNarrowingEqualsThePlainConverters(const char* name, NarrowRow to15, NarrowRow to16) {
  const std::vector<std::vector<uint32_t>> rows = NarrowingRows();
  for (size_t round = 0; round < rows.size(); ++round) {
    const std::vector<uint32_t>& row = rows[round];
    const int32_t n = int32_t(row.size());
    const auto* src = reinterpret_cast<const uint8_t*>(row.data());
    for (int32_t to : {1, 2}) {
      std::vector<uint16_t> plain(n + 1, 0xEEEE), vector(n + 1, 0xEEEE);
      GetRowConverters(4)[to](src, reinterpret_cast<uint8_t*>(plain.data()), n, nullptr);
      (to == 1 ? to15 : to16)(src, reinterpret_cast<uint8_t*>(vector.data()), n);
      ASSERT_EQ(vector, plain) << name << ", round " << round << " to depth index " << to;
    }
  }
}

TEST(PixelConvert, Sse2NarrowingEqualsThePlainConverters) {
  ExpectNarrowingEqualsThePlainConverters("SSE2", pixel::From32To15RowSse2, pixel::From32To16RowSse2);
}

// On a processor without AVX2 the kernels cannot run: the check says it did
// not run instead of passing.
TEST(PixelConvert, Avx2NarrowingEqualsThePlainConverters) {
  if (!pixel::CpuRunsAvx2()) GTEST_SKIP() << "the processor does not run AVX2: its narrowing kernels were not checked";
  ExpectNarrowingEqualsThePlainConverters("AVX2", pixel::From32To15RowAvx2, pixel::From32To16RowAvx2);
}

// Long 24- and 32-bit rows (several blocks of keys) to 8 bits give each
// pixel's PaletteColourToIndex answer: black, runs, colours of keys several
// entries share, misses.
TEST(PixelConvert, LongRowsToEightBitsAnswerAsTheLookup) {
  cPalette* palette = PaletteStartup();
  ASSERT_NE(palette, nullptr);
  ASSERT_EQ(BuildInverseTable(palette), 1);
  std::mt19937 rng(8);
  for (int32_t bytes : {3, 4}) {
    const int32_t n = 700;
    std::vector<uint8_t> row(size_t(n) * bytes + 1);
    for (int32_t i = 0; i < n; ++i) {
      uint32_t colour = rng() % 5 == 0 ? 0 : rng() % 5 == 1 ? EntryColour(palette->log.entries[rng() % 256]) : rng();
      if (i > 0 && rng() % 3 == 0) std::memcpy(&colour, &row[size_t(i - 1) * bytes], 3);  // runs
      else colour = (colour & 0xFFu) << 16 | (colour & 0xFF00u) | (colour >> 16 & 0xFFu);  // to native
      std::memcpy(&row[size_t(i) * bytes], &colour, size_t(bytes));
    }
    std::vector<uint8_t> got(n + 1, 0xEE), want(n + 1, 0xEE);
    for (int32_t i = 0; i < n; ++i) {
      uint32_t native = 0;
      std::memcpy(&native, &row[size_t(i) * bytes], 3);
      const uint32_t colour = (native & 0xFFu) << 16 | (native & 0xFF00u) | (native >> 16 & 0xFFu);
      want[size_t(i)] = uint8_t(PaletteColourToIndex(palette, colour));
    }
    GetRowConverters(bytes == 3 ? 3 : 4)[0](row.data(), got.data(), n, palette);
    EXPECT_EQ(got, want) << bytes << " bytes a pixel";
  }
  ReleasePalette(palette);
  PaletteShutdown();
}

TEST(PixelConvert, ToEightBitsLooksUpTheColourForm) {
  cPalette* def = PaletteStartup();
  LogPalette log{};
  log.version = kLogPaletteVersion;
  log.count = 3;
  log.entries[0] = EntryFromColour(0);
  log.entries[1] = EntryFromColour(0x0000F0);  // red
  log.entries[2] = EntryFromColour(0xF00000);  // blue
  cPalette* pal = PaletteGetShared(&log);
  ASSERT_NE(pal, nullptr);
  const uint8_t px32[8] = {0x10, 0x20, 0xF0, 0x00, 0xF0, 0x20, 0x10, 0xFF};  // reddish, bluish
  const uint8_t px24[6] = {0x10, 0x20, 0xF0, 0xF0, 0x20, 0x10};
  uint8_t idx[2] = {};
  GetRowConverters(4)[0](px32, idx, 2, pal);
  EXPECT_EQ(idx[0], 1);
  EXPECT_EQ(idx[1], 2);
  GetRowConverters(3)[0](px24, idx, 2, pal);
  EXPECT_EQ(idx[0], 1);
  EXPECT_EQ(idx[1], 2);
  ReleasePalette(pal);
  if (def != nullptr) ReleasePalette(def);
  PaletteShutdown();
}

// Which routines each row has today. Callers test a slot before calling it,
// so a routine that goes missing would only show as a refused operation: this
// table names every slot of every row, and changes when a routine arrives.
TEST(PixelTable, RowsByDepthIndex) {
  EXPECT_EQ(GetPixelOps(-1), nullptr);
  EXPECT_EQ(GetPixelOps(5), nullptr);
  struct Row {
    int32_t depthIndex;
    const char* slots;  // one letter per slot in table order: P present, - absent
  };
  // Slots: PutPixel GetPixel FillRect BlitKeyed BlitKeyedInk Copy BlitInk
  // BlitCallbackKeyed BlitCallback MirrorRows ReplaceColour ConvertRows
  // RleSize RleEncode.
  const Row rows[] = {
      {0, "PPPPPPPPPPPPPP"},  // 8 bits
      {1, "PPPPPPPPPPPPPP"},  // 15 bits
      {2, "PPPPPPPPPPPPPP"},  // 16 bits
      {3, "PPPPPPPPPPPPPP"},  // 24 bits
      {4, "PPPPPPPPPPPPPP"},  // 32 bits
  };
  for (const Row& r : rows) {
    const PixelOps* row = GetPixelOps(r.depthIndex);
    ASSERT_NE(row, nullptr) << r.depthIndex;
    const void* slots[] = {
        reinterpret_cast<const void*>(row->PutPixel),     reinterpret_cast<const void*>(row->GetPixel),
        reinterpret_cast<const void*>(row->FillRect),     reinterpret_cast<const void*>(row->BlitKeyed),
        reinterpret_cast<const void*>(row->BlitKeyedInk), reinterpret_cast<const void*>(row->Copy),
        reinterpret_cast<const void*>(row->BlitInk),      reinterpret_cast<const void*>(row->BlitCallbackKeyed),
        reinterpret_cast<const void*>(row->BlitCallback), reinterpret_cast<const void*>(row->MirrorRows),
        reinterpret_cast<const void*>(row->ReplaceColour), reinterpret_cast<const void*>(row->ConvertRows),
        reinterpret_cast<const void*>(row->RleSize),      reinterpret_cast<const void*>(row->RleEncode),
    };
    static_assert(sizeof(slots) / sizeof(slots[0]) * sizeof(void*) == sizeof(PixelOps), "every slot named");
    ASSERT_EQ(std::strlen(r.slots), std::size(slots));
    for (size_t i = 0; i < std::size(slots); ++i)
      EXPECT_EQ(slots[i] != nullptr, r.slots[i] == 'P') << "depth index " << r.depthIndex << " slot " << i;
  }
  // The 8-bit row's generic slots work on byte pixels.
  PixelTestImage img(4, 2, 8, false, false, 0);
  for (int32_t x = 0; x < 4; ++x) img.SetRaw(x, 0, x + 1);
  img.view.ops->MirrorRows(&img.view, 0, 0, img.view.pitch, 4, 1);
  img.view.ops->Copy(&img.view, 0, 1, &img.view, 0, 0, 4, 1);
  EXPECT_EQ(img.Raw(0, 1), 4u);
  EXPECT_EQ(img.Raw(3, 1), 1u);
}

TEST(PixelTable, VectorBitFollowsSse2) {
  const uint32_t f = CpuFeatures();
  EXPECT_EQ((f & 1) != 0, (f & 4) != 0);
  EXPECT_EQ(CpuFeatures(), f);
}

}  // namespace
