// The filter base's description and conversion rules: line bytes, the
// nearest-colour rule, output-format set-up with remap tables and the cache,
// and every one of the 25 row conversions pixel-exact.
#include <gtest/gtest.h>

#include <cstring>

#include "image/cImageFilter.h"

namespace {

// The smallest filter a plug-in could make: the base does the rest.
class BareFilter final : public cImageFilter {
 public:
  void Release() override { Destruct(0); }
  uint32_t GetID() override { return 0x54534554; }
  const char* GetName() override { return "Test"; }
  int32_t CanRead(cByteSource*) override { return 0; }
  int32_t Open(cByteSource*) override { return 0; }
  int32_t ReadFrame(cByteSource*, void*, int32_t, void*, int32_t) override { return 0; }
};

PaletteBlock MakePalette(std::initializer_list<PaletteEntry> entries) {
  PaletteBlock p{};
  p.version = 0x300;
  p.count = static_cast<uint16_t>(entries.size());
  int i = 0;
  for (const PaletteEntry& e : entries) p.entries[i++] = e;
  return p;
}

TEST(ImageFilterBase, LineBytesByDepth) {
  struct Row {
    int32_t width, depth, lineBytes, bytesPerPixel;
  } rows[] = {{17, 1, 4, 0}, {5, 4, 3, 0}, {5, 8, 5, 1}, {5, 15, 10, 2},
              {5, 16, 10, 2}, {5, 24, 15, 3}, {5, 32, 20, 4}, {5, 12, 5, 1}};
  for (const Row& r : rows) {
    BareFilter f;
    f.width = r.width;
    f.depth = r.depth;
    f.ComputeLineBytes();
    EXPECT_EQ(f.lineBytes, r.lineBytes) << "depth " << r.depth;
    EXPECT_EQ(f.bytesPerPixel, r.bytesPerPixel) << "depth " << r.depth;
  }
}

TEST(ImageFilterBase, NearestColourTiesGoToTheLowerIndexAndExactStopsAtOnce) {
  PaletteBlock p = MakePalette({{0, 0, 0, 0}, {200, 0, 0, 0}, {0, 200, 0, 0}, {12, 12, 14, 0},
                                {90, 90, 90, 0}, {50, 0, 0, 0}, {0, 0, 50, 0}, {8, 8, 6, 0}});
  // Entries 3 (12, 12, 14) and 7 (8, 8, 6) are both at distance 2 + 2 + 4.
  EXPECT_EQ(cImageFilter::NearestColour(&p, 10, 10, 10), 3);
  EXPECT_EQ(cImageFilter::NearestColour(&p, 90, 90, 90), 4);
  PaletteBlock empty = MakePalette({});
  EXPECT_EQ(cImageFilter::NearestColour(&empty, 1, 2, 3), 0);
  PaletteBlock overfull = p;
  overfull.count = 5000;  // a plug-in's count beyond the block is clamped
  EXPECT_EQ(cImageFilter::NearestColour(&overfull, 0, 0, 0), 0);
}

TEST(ImageFilterBase, OutputFormatOfAPalettedImage) {
  BareFilter f;
  f.depth = 8;
  ASSERT_TRUE(f.AllocPalette(3));
  f.palette->entries[0] = {0, 0, 0, 0};
  f.palette->entries[1] = {255, 0, 0, 0};
  f.palette->entries[2] = {0, 0, 255, 0};
  EXPECT_EQ(f.SetOutputFormat(8, f.palette), ImageOk);
  EXPECT_EQ(f.NeedsConversion(), 0);
  EXPECT_EQ(f.remap, nullptr);

  PaletteBlock same = *f.palette;
  same.entries[1].flags = 0x44;  // flags do not count
  EXPECT_EQ(f.SetOutputFormat(8, &same), ImageOk);
  EXPECT_EQ(f.NeedsConversion(), 0);
  EXPECT_EQ(f.remap, nullptr);

  PaletteBlock swapped = MakePalette({{0, 0, 250, 0}, {0, 0, 0, 0}, {250, 0, 0, 0}});
  EXPECT_EQ(f.SetOutputFormat(8, &swapped), ImageOk);
  EXPECT_EQ(f.NeedsConversion(), 1);
  ASSERT_NE(f.remap, nullptr);
  const uint8_t row[] = {0, 1, 2, 1};
  uint8_t out[4] = {};
  f.ConvertScanline(out, row, 4);
  EXPECT_EQ(0, std::memcmp(out, "\x01\x02\x00\x02", 4));

  PaletteBlock big = swapped;
  big.count = 300;
  EXPECT_EQ(f.SetOutputFormat(8, &big), ImageErrArgument);
  EXPECT_EQ(f.SetOutputFormat(8, nullptr), ImageErrArgument);
  EXPECT_EQ(f.SetOutputFormat(12, &swapped), ImageErrArgument);
}

// One source pixel per image depth, and the expected bytes per output depth.
struct Cell {
  int32_t from, to;
  std::vector<uint8_t> in, out;
};

TEST(ImageFilterBase, EveryConversionCellIsPixelExact) {
  // Palette entry 1 is (R 0x84, G 0x46, B 0x2A); the 15/16/24/32-bit pixels
  // carry the same colour rounded as each format keeps it.
  const PaletteBlock outPalette = MakePalette({{0, 0, 0, 0}, {0x80, 0x40, 0x28, 0}, {255, 255, 255, 0}});
  const uint16_t p15 = (0x84 >> 3) << 10 | (0x46 >> 3) << 5 | 0x2A >> 3;  // 0x4105
  const uint16_t p16 = (0x84 >> 3) << 11 | (0x46 >> 2) << 5 | 0x2A >> 3;  // 0x8225
  const std::vector<Cell> cells = {
      {8, 8, {1}, {1}},
      {15, 8, {0x05, 0x41}, {1}},
      {16, 8, {0x25, 0x82}, {1}},
      {24, 8, {0x2A, 0x46, 0x84}, {1}},
      {32, 8, {0x2A, 0x46, 0x84, 0x99}, {1}},
      {8, 15, {1}, {0x05, 0x41}},
      {15, 15, {0x05, 0x41}, {0x05, 0x41}},
      {16, 15, {0x25, 0x82}, {0x05, 0x41}},  // green's low bit dropped
      {24, 15, {0x2A, 0x46, 0x84}, {0x05, 0x41}},
      {32, 15, {0x2A, 0x46, 0x84, 0x99}, {0x05, 0x41}},
      {8, 16, {1}, {0x25, 0x82}},
      {15, 16, {0x05, 0x41}, {0x05, 0x82}},  // green shifted up, low bit 0
      {16, 16, {0x25, 0x82}, {0x25, 0x82}},
      {24, 16, {0x2A, 0x46, 0x84}, {0x25, 0x82}},
      {32, 16, {0x2A, 0x46, 0x84, 0x99}, {0x25, 0x82}},
      {8, 24, {1}, {0x2A, 0x46, 0x84}},
      {15, 24, {0x05, 0x41}, {0x28, 0x40, 0x80}},
      {16, 24, {0x25, 0x82}, {0x28, 0x44, 0x80}},
      {24, 24, {0x2A, 0x46, 0x84}, {0x2A, 0x46, 0x84}},
      {32, 24, {0x2A, 0x46, 0x84, 0x99}, {0x2A, 0x46, 0x84}},
      {8, 32, {1}, {0x2A, 0x46, 0x84, 0}},
      {15, 32, {0x05, 0x41}, {0x28, 0x40, 0x80, 0}},
      {16, 32, {0x25, 0x82}, {0x28, 0x44, 0x80, 0}},
      {24, 32, {0x2A, 0x46, 0x84}, {0x2A, 0x46, 0x84, 0}},
      {32, 32, {0x2A, 0x46, 0x84, 0x99}, {0x2A, 0x46, 0x84, 0x99}},
  };
  static_assert(p15 == 0x4105 && p16 == 0x8225, "the test's pixels");
  for (const Cell& c : cells) {
    SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
    BareFilter f;
    f.depth = c.from;
    ASSERT_TRUE(f.AllocPalette(2));
    f.palette->entries[1] = {0x84, 0x46, 0x2A, 0};
    ASSERT_EQ(f.SetOutputFormat(c.to, c.to == 8 ? &outPalette : nullptr), ImageOk);
    // 8 to 8 remaps: the output palette differs from the image's.
    EXPECT_EQ(f.NeedsConversion(), c.from != c.to || c.from == 8 ? 1 : 0);
    std::vector<uint8_t> out(c.out.size(), 0xEE);
    f.ConvertScanline(out.data(), c.in.data(), 1);
    EXPECT_EQ(out, c.out);
  }
}

TEST(ImageFilterBase, SixteenBitWhiteWidensWithLowBitsZero) {
  BareFilter f;
  f.depth = 16;
  ASSERT_EQ(f.SetOutputFormat(24, nullptr), ImageOk);
  const uint8_t white[] = {0xFF, 0xFF};
  uint8_t out[3];
  f.ConvertScanline(out, white, 1);
  EXPECT_EQ(out[0], 0xF8);
  EXPECT_EQ(out[1], 0xFC);
  EXPECT_EQ(out[2], 0xF8);
}

TEST(ImageFilterBase, CacheCellsAreComputedOnceExceptTheSentinel) {
  BareFilter f;
  f.depth = 24;
  PaletteBlock out = MakePalette({{0, 0, 0, 0}, {250, 250, 250, 0}});
  ASSERT_EQ(f.SetOutputFormat(8, &out), ImageOk);
  const uint8_t grey[] = {100, 100, 100, 200, 200, 200};
  uint8_t idx[2];
  f.ConvertScanline(idx, grey, 2);
  EXPECT_EQ(idx[0], 0);
  EXPECT_EQ(idx[1], 1);
  const uint32_t cell = CacheCell(100, 100, 100);
  EXPECT_EQ(f.cache[cell], 0) << "computed and kept";
  f.cache[cell] = 1;  // a kept answer is used as it is, not computed again
  f.ConvertScanline(idx, grey, 1);
  EXPECT_EQ(idx[0], 1);

  // A palette whose entry 253 is the nearest colour: the cell keeps the
  // sentinel, is computed again on each use, and still yields 253.
  PaletteBlock many{};
  many.version = 0x300;
  many.count = 256;
  for (int i = 0; i < 256; ++i) many.entries[i] = {0, 0, static_cast<uint8_t>(i == 253 ? 0 : 255), 0};
  many.entries[253] = {10, 20, 30, 0};
  BareFilter g;
  g.depth = 24;
  ASSERT_EQ(g.SetOutputFormat(8, &many), ImageOk);
  const uint8_t near253[] = {31, 21, 11};
  g.ConvertScanline(idx, near253, 1);
  EXPECT_EQ(idx[0], 253);
  EXPECT_EQ(g.cache[CacheCell(11, 21, 31)], cImageFilter::kCacheUnknown);
  g.ConvertScanline(idx, near253, 1);
  EXPECT_EQ(idx[0], 253);
}

TEST(ImageFilterBase, CopiesOwnTheirBlocks) {
  BareFilter f;
  f.depth = 24;
  ASSERT_TRUE(f.AllocPalette(2));
  PaletteBlock out = MakePalette({{0, 0, 0, 0}, {9, 9, 9, 0}});
  ASSERT_EQ(f.SetOutputFormat(8, &out), ImageOk);
  BareFilter copy(f);
  EXPECT_NE(copy.palette, f.palette);
  EXPECT_NE(copy.cache, f.cache);
  EXPECT_NE(copy.outputPalette, f.outputPalette);
  EXPECT_EQ(0, std::memcmp(copy.cache, f.cache, 65536));
  EXPECT_EQ(copy.frameCount, 1);
}

}  // namespace
