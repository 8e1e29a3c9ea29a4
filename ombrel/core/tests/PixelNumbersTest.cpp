// Worked numbers of the 8-, 15- and 16-bit formats: single pixels through the
// real routines, each with the value the format's rules give by hand.
#include <gtest/gtest.h>

#include <vector>

#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "pixel/IndexRows.h"
#include "pixel/PixelView.h"
#include "pixel/RowConverters.h"
#include "support/PixelTestImage.h"

namespace {

struct InkCase {
  const char* what;
  int32_t depth;
  uint32_t effect, parameter, src, dest, expected;
  uint32_t key = 0xFFFF0;  // never equal to a 16-bit pixel unless given
};

uint32_t InkOnePixel(const InkCase& c, uint32_t flags) {
  PixelTestImage s(1, 1, c.depth, false, false, flags), d(1, 1, c.depth, false, false, flags);
  s.view.transparentValue = c.key;
  s.SetRaw(0, 0, c.src);
  d.SetRaw(0, 0, c.dest);
  EXPECT_EQ(s.view.ops->BlitInk(&d.view, 0, 0, &s.view, 0, 0, 1, 1, c.effect, c.parameter), 1);
  return d.Raw(0, 0);
}

TEST(PixelNumbers, SixteenBitInks) {
  const InkCase cases[] = {
      {"555 white over black at 64", 15, 1, 64, 0x7FFF, 0x0000, 0x3DEF},
      {"555 black over white at 64", 15, 1, 64, 0x0000, 0x7FFF, 0x3DEF},
      {"weight 0 gives the source", 15, 1, 0, 0x1234, 0x6543, 0x1234},
      {"weight 128 gives the destination", 16, 1, 128, 0x1234, 0x6543, 0x6543},
      {"555 add saturates per field", 15, 9, 0, 20u << 10 | 10u << 5 | 31, 20u << 10 | 25u << 5 | 1, 0x7FFF},
      {"555 sub floors per field", 15, 11, 0, 20u << 10 | 5u << 5 | 5, 10u << 10 | 20u << 5 | 5, 0x01E0},
      {"565 add keeps green's six bits", 16, 9, 0, 40u << 5, 30u << 5, 63u << 5},
      {"555 mono of red", 15, 10, 0, 0x7C00, 0, 0x2529},
      {"555 mono of green", 15, 10, 0, 0x03E0, 0, 0x4631},
      {"555 mono of blue", 15, 10, 0, 0x001F, 0, 0x0C63},
      {"555 mono of white", 15, 10, 0, 0x7FFF, 0, 0x7FFF},
      {"565 mono of red", 16, 10, 0, 0xF800, 0, 0x4A69},
      {"565 mono of white", 16, 10, 0, 0xFFFF, 0, 0xFFDF},
      {"555 invert takes all 16 bits", 15, 2, 0, 0x0000, 0x1234, 0xFFFF},
      {"565 except-colour keeps white", 16, 12, 64u << 24 | 0xFFFFFF, 0x0000, 0xFFFF, 0xFFFF},
      {"565 over-colour reads the key as full blue", 16, 6, 64u << 24 | 0xFF0000, 0x0000, 0x1234,
       0x000F, 0x1234},
  };
  for (const InkCase& c : cases)
    for (uint32_t flags : {0u, kPixelFlagVector}) EXPECT_EQ(InkOnePixel(c, flags), c.expected) << c.what;
}

TEST(PixelNumbers, SixteenBitPixelsAndReplace) {
  PixelTestImage a(1, 1, 15, false, false, 0), b(1, 1, 16, false, false, 0);
  a.SetRaw(0, 0, 0x7FFF);
  b.SetRaw(0, 0, 0xFFFF);
  EXPECT_EQ(a.view.ops->GetPixel(&a.view, 0, 0), 0x00F8F8F8u);
  EXPECT_EQ(b.view.ops->GetPixel(&b.view, 0, 0), 0x00F8FCF8u);
  a.view.ops->PutPixel(&a.view, 0, 0, 0x000000FF);
  b.view.ops->PutPixel(&b.view, 0, 0, 0x000000FF);
  EXPECT_EQ(a.Raw(0, 0), 0x7C00u);
  EXPECT_EQ(b.Raw(0, 0), 0xF800u);
  // A word differing from the old colour only in bit 15 is not replaced.
  a.SetRaw(0, 0, 0x8000 | 0x7C00);
  a.view.ops->ReplaceColour(&a.view, 0, 0, 1, 1, 2, 0x00FFFFFF, 0x000000FF);
  EXPECT_EQ(a.Raw(0, 0), 0xFC00u);
  a.SetRaw(0, 0, 0x7C00);
  a.view.ops->ReplaceColour(&a.view, 0, 0, 1, 1, 2, 0x00FFFFFF, 0x000000FF);
  EXPECT_EQ(a.Raw(0, 0), 0x7FFFu);
}

TEST(PixelNumbers, FillWritesExactlyTheWidthOnEveryRow) {
  for (int32_t depth : {8, 15, 16})
    for (int32_t width : {1, 3, 32, 33})
      for (uint32_t flags : {0u, kPixelFlagVector}) {
        PixelTestImage image(width + 2, 3, depth, false, false, flags);
        for (int32_t y = 0; y < 3; ++y)
          for (int32_t x = 0; x < width + 2; ++x) image.SetRaw(x, y, 0x5A);
        image.view.ops->FillRect(&image.view, 1, 0, image.view.pitch, width, 3,
                                 depth == 8 ? 0xC3 : 0x00FFFFFF);
        const uint32_t filled = depth == 8 ? 0xC3 : depth == 15 ? 0x7FFF : 0xFFFF;
        for (int32_t y = 0; y < 3; ++y)
          for (int32_t x = 0; x < width + 2; ++x)
            ASSERT_EQ(image.Raw(x, y), x >= 1 && x <= width ? filled : 0x5Au)
                << "depth " << depth << " width " << width << " at " << x << "," << y;
      }
}

TEST(PixelNumbers, SixteenBitConversions) {
  struct Case {
    int32_t from, to;
    uint32_t in, out;
  };
  const Case cases[] = {
      {16, 15, 0x0020, 0x0001}, {16, 15, 0x0000, 0x0000}, {16, 15, 0xFFFF, 0x7FFF},
      {16, 15, 0x07E0, 0x03E0}, {15, 16, 0x7FFF, 0xFFDF}, {15, 16, 0x8000, 0x0000},
      {15, 32, 0x7C00, 0x00F80000}, {16, 24, 0xFFFF, 0xF8FCF8}, {15, 24, 0x7FFF, 0xF8F8F8},
      {15, 32, 0x8000, 0x00000000},
  };
  for (const Case& c : cases) {
    const int32_t fromIndex = c.from == 15 ? 1 : 2;
    const int32_t toIndex = c.to == 15 ? 1 : c.to == 16 ? 2 : c.to == 24 ? 3 : 4;
    const uint8_t in[2] = {uint8_t(c.in), uint8_t(c.in >> 8)};
    uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    GetRowConverters(fromIndex)[toIndex](in, out, 1, nullptr);
    const int bytes = c.to <= 16 ? 2 : c.to == 24 ? 3 : 4;
    uint32_t got = 0;
    for (int i = 0; i < bytes; ++i) got |= uint32_t(out[i]) << (8 * i);
    EXPECT_EQ(got, c.out) << c.from << " to " << c.to << " of " << std::hex << c.in;
  }
}

class EightBitNumbers : public ::testing::Test {
 protected:
  void SetUp() override {
    defaultPalette_ = PaletteStartup();
    LogPalette log{};
    log.version = kLogPaletteVersion;
    log.count = 256;
    // Greys in steps of 8 (exact duplicates: every key has one colour).
    for (int i = 0; i < 256; ++i) log.entries[i] = EntryFromColour(uint32_t(i & ~7) * 0x010101u);
    log.entries[5] = EntryFromColour(0x000000FF);     // red
    log.entries[6] = EntryFromColour(0x00FF0000);     // blue
    log.entries[7] = EntryFromColour(0x00010000);     // darkest non-black
    log.entries[0] = EntryFromColour(0x00FF00FF);     // the transparent index
    palette_ = PaletteGetShared(&log);
    ASSERT_NE(palette_, nullptr);
    ASSERT_EQ(BuildInverseTable(palette_), 1);
  }
  void TearDown() override {
    ReleasePalette(palette_);
    ReleasePalette(defaultPalette_);
    PaletteShutdown();
  }
  uint32_t Ink(uint32_t effect, uint32_t parameter, uint32_t s, uint32_t d, uint32_t key = 300) {
    PixelTestImage src(1, 1, 8, false, false, 0), dest(1, 1, 8, false, false, 0);
    src.view.palette = dest.view.palette = palette_;
    src.view.transparentValue = key;
    src.SetRaw(0, 0, s);
    dest.SetRaw(0, 0, d);
    EXPECT_EQ(src.view.ops->BlitInk(&dest.view, 0, 0, &src.view, 0, 0, 1, 1, effect, parameter), 1);
    return dest.Raw(0, 0);
  }
  uint32_t Colour(uint32_t index) const { return EntryColour(palette_->log.entries[index]); }
  cPalette* defaultPalette_ = nullptr;
  cPalette* palette_ = nullptr;
};

TEST_F(EightBitNumbers, InksOnIndices) {
  // Mono with the weights of every format: red (255, 0, 0) -> (5 * 255) >> 4 =
  // 79, whose key cell holds grey 72.
  EXPECT_EQ(Colour(Ink(10, 0, 5, 9)), 0x484848u);
  // Blue -> (2 * 255) >> 4 = 31 -> grey 24.
  EXPECT_EQ(Colour(Ink(10, 0, 6, 9)), 0x181818u);
  EXPECT_EQ(Ink(2, 0, 5, 9), 250u);         // index complement
  EXPECT_EQ(Ink(3, 0, 0x0F, 0xF0), 0xFFu);  // xor on indices
  // Greys 200 and 96 at weight 64 -> 148 -> grey 144.
  EXPECT_EQ(Colour(Ink(1, 64, 200, 100)), 0x909090u);
  EXPECT_EQ(Ink(11, 0, 200, 100), 0u);  // black result: the transparent index
  // Effects 6 and 12 in a span: 6 blends over the colour where the destination is 0.
  EXPECT_EQ(Colour(Ink(6, 64u << 24 | 0x00C8C8C8, 100, 0)), 0x909090u);
  EXPECT_EQ(Ink(12, 64u << 24 | 0x00606060, 200, 100), 100u);
}

TEST_F(EightBitNumbers, PixelsAndConversions) {
  PixelTestImage image(2, 1, 8, false, false, 0);
  image.view.palette = palette_;
  image.view.ops->PutPixel(&image.view, 0, 0, 0x01000000 + 5);
  EXPECT_EQ(image.Raw(0, 0), 5u);
  EXPECT_EQ(image.view.ops->GetPixel(&image.view, 0, 0), 5u);
  // To 15/16 bits only an exactly black entry gives 0; a very dark one gives 1.
  const uint8_t indices[3] = {7, 5, 1};
  for (int32_t to : {1, 2}) {
    uint8_t out[6] = {};
    GetRowConverters(0)[to](indices, out, 3, palette_);
    EXPECT_EQ(out[0] | out[1] << 8, 1) << to;
    EXPECT_EQ(out[2] | out[3] << 8, to == 1 ? 0x7C00 : 0xF800) << to;
  }
  uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  GetRowConverters(0)[4](indices + 1, out, 1, palette_);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{0, 0, 0xFF, 0}));
}

TEST(PixelNumbers, FourBitImagesWidenToStaticIndices) {
  // Packed, width 3: source rows of 2 bytes; nibbles 9, 0, 3.
  const uint8_t packed[] = {0x90, 0x30, /* mask */ 0x08, 0x00};
  uint8_t dest[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  ASSERT_EQ(Packed4To8(dest, packed, 3, 1, 0, 0), 1);
  EXPECT_EQ(std::vector<uint8_t>(dest, dest + 4), (std::vector<uint8_t>{249, 0, 3, 0xEE}));
  // Mask: bit 3 of the second nibble set -> 0; a clear bit turns 0 into the replacement.
  ASSERT_EQ(Packed4To8(dest, packed, 3, 1, 1, 42), 1);
  EXPECT_EQ(std::vector<uint8_t>(dest, dest + 3), (std::vector<uint8_t>{249, 0, 3}));
  const uint8_t packedClear[] = {0x09, 0x00, 0x80, 0x00};
  ASSERT_EQ(Packed4To8(dest, packedClear, 3, 1, 1, 42), 1);
  EXPECT_EQ(std::vector<uint8_t>(dest, dest + 3), (std::vector<uint8_t>{0, 249, 42}));
  // Planar, width 2: planes of 2 bytes; pixel 0 = 9 (planes 0 and 3), pixel 1 = 6.
  const uint8_t planar[] = {0x80, 0, 0x40, 0, 0x40, 0, 0x80, 0, /* mask */ 0x40, 0};
  ASSERT_EQ(Planar4To8(dest, planar, 2, 1, 0, 0), 1);
  EXPECT_EQ(std::vector<uint8_t>(dest, dest + 2), (std::vector<uint8_t>{249, 6}));
  ASSERT_EQ(Planar4To8(dest, planar, 2, 1, 1, 42), 1);
  EXPECT_EQ(std::vector<uint8_t>(dest, dest + 2), (std::vector<uint8_t>{249, 0}));
  // Sizes of 2^31 bytes or more are refused.
  EXPECT_EQ(Packed4SourceBytes(0x7FFFFFFF, 4, 0), 0u);
  EXPECT_EQ(Packed4To8(dest, packed, 0x7FFFFFFF, 4, 0, 0), 0);
  EXPECT_EQ(Planar4SourceBytes(100000, 100000, 1), 0u);
  EXPECT_EQ(Packed4SourceBytes(3, 2, 1), 8u);
  EXPECT_EQ(Planar4SourceBytes(17, 1, 1), 20u);
}

TEST(PixelNumbers, RemapBytesRewritesTheRectangle) {
  PixelTestImage image(3, 2, 8, false, false, 0);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) image.SetRaw(x, y, uint32_t(x + 3 * y));
  uint8_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = uint8_t(255 - i);
  RemapBytes(&image.view, image.view.pitch, 2, 2, table);
  EXPECT_EQ(image.Raw(0, 0), 255u);
  EXPECT_EQ(image.Raw(1, 1), 251u);
  EXPECT_EQ(image.Raw(2, 0), 2u);  // outside the width
}

}  // namespace
