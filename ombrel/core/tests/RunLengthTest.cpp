// The transparency run-length form in all five formats: the codes and sizes
// that slots 12 and 13 write, the validator, and the four run-length blits
// against the ordinary rows (or the reference) on random clip windows.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "pixel/InkEffects.h"
#include "pixel/RunLengthRows.h"
#include "support/PixelCompare.h"
#include "support/PixelReference.h"
#include "support/PixelTestImage.h"
#include "support/RandomPalettes.h"
#include "support/RunLengthImage.h"

namespace {

constexpr int32_t kDepths[] = {8, 15, 16, 24, 32};

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}

// A key of the format and an opaque value that differs from it.
uint32_t KeyFor(int32_t depth) { return depth == 8 ? 7 : depth == 32 ? 0x00123456 : 0x1234; }
uint32_t OpaqueFor(int32_t depth, uint32_t i) {
  const uint32_t mask = depth == 8 ? 0xFF : depth <= 16 ? 0xFFFF : 0xFFFFFF;
  const uint32_t v = (0x9E3779B9u * (i + 1)) & mask;
  return v == KeyFor(depth) ? v ^ 1 : v;
}

struct PixelRun {
  bool opaque;
  int32_t n;
};

TEST(RunLength, CodesAndSizesOfOneRow) {
  struct Case {
    std::vector<PixelRun> runs;
    std::vector<uint8_t> codes;
  };
  const Case cases[] = {
      {{{false, 10}}, {10, 0}},
      {{{true, 3}}, {0, 3}},
      {{{false, 255}}, {255, 0}},
      {{{false, 256}}, {255, 0, 1, 0}},
      {{{false, 510}}, {255, 0, 255, 0}},
      {{{true, 256}}, {0, 255, 0, 1}},
      {{{true, 600}}, {0, 255, 0, 255, 0, 90}},
      {{{false, 300}, {true, 10}}, {255, 0, 45, 10}},
      {{{true, 2}, {false, 3}, {true, 1}}, {0, 2, 3, 1}},
      {{{false, 1}}, {1, 0}},
      {{{true, 1}}, {0, 1}},
  };
  for (int32_t depth : kDepths)
    for (const Case& c : cases) {
      int32_t width = 0, opaque = 0;
      for (const PixelRun& r : c.runs) width += r.n;
      PixelTestImage image(width, 1, depth, false, false, 0);
      image.view.transparentValue = KeyFor(depth);
      std::vector<uint32_t> stored;
      int32_t x = 0;
      for (const PixelRun& r : c.runs)
        for (int32_t i = 0; i < r.n; ++i, ++x) {
          const uint32_t v = r.opaque ? OpaqueFor(depth, uint32_t(x)) : KeyFor(depth);
          image.SetRaw(x, 0, v);
          if (r.opaque) stored.push_back(v), ++opaque;
        }
      const RunLengthImage rle(image);
      const uint32_t bpp = uint32_t(image.view.bytesPerPixel);
      const std::string tag = "depth " + std::to_string(depth) + " width " + std::to_string(width);
      const uint32_t total = 4 + 8 + uint32_t(c.codes.size()) + uint32_t(opaque) * bpp;
      ASSERT_EQ(rle.size[0], total) << tag;
      EXPECT_EQ(rle.size[1], 8u) << tag;
      EXPECT_EQ(rle.size[2], 8u + c.codes.size()) << tag;
      EXPECT_EQ(Le32(rle.block, 0), total) << tag;
      EXPECT_EQ(Le32(rle.block, 4), 8u) << tag;
      EXPECT_EQ(Le32(rle.block, 8), 8u + c.codes.size()) << tag;
      EXPECT_EQ(std::vector<uint8_t>(rle.block.begin() + 12, rle.block.begin() + 12 + c.codes.size()),
                c.codes)
          << tag;
      for (size_t i = 0; i < stored.size(); ++i) {
        uint32_t v = 0;
        for (uint32_t b = 0; b < bpp; ++b) v |= uint32_t(rle.block[12 + c.codes.size() + i * bpp + b]) << (8 * b);
        ASSERT_EQ(v, stored[i]) << tag << " stored pixel " << i;
      }
      EXPECT_EQ(rle.block[total], 0xC3) << tag << ": wrote past the measured size";
      EXPECT_EQ(RleValidate(rle.block.data(), uint32_t(rle.block.size()), width, 1, int32_t(bpp)), 1)
          << tag;
    }
}

TEST(RunLength, OnePixelBlocks) {
  // A transparent pixel: 4 + 8 + 2; an opaque one adds its bytes.
  const std::pair<int32_t, uint32_t> opaqueSizes[] = {{8, 15}, {15, 16}, {16, 16}, {24, 17}, {32, 18}};
  for (const auto& [depth, opaqueSize] : opaqueSizes) {
    PixelTestImage image(1, 1, depth, false, false, 0);
    image.view.transparentValue = KeyFor(depth);
    image.SetRaw(0, 0, KeyFor(depth));
    EXPECT_EQ(RunLengthImage(image).size[0], 14u) << depth;
    image.SetRaw(0, 0, OpaqueFor(depth, 0));
    EXPECT_EQ(RunLengthImage(image).size[0], opaqueSize) << depth;
  }
}

// One transparency test per format: the key's low byte at 8 bits, its low
// word at 15 and 16 bits, three bytes at 24 bits, the whole word at 32 bits.
// Size and writer agree whatever the key's other bits hold.
TEST(RunLength, TransparencyTestPerFormat) {
  struct Case {
    int32_t depth;
    uint32_t key, pixel;
    bool transparent;
  };
  const Case cases[] = {
      {8, 0x00000005, 5, true},       {8, 0xABCDEF05, 5, true},      {8, 0x105, 5, true},
      {15, 0x0000, 0x0000, true},     {15, 0xFFFF, 0xFFFF, true},    {16, 0xABCD1234, 0x1234, true},
      {15, 0x1234, 0x9234, false},    {24, 0xFF123456, 0x123456, true}, {32, 0x00123456, 0x00123456, true},
      {32, 0x00123456, 0xFF123456, false},
  };
  for (const Case& c : cases) {
    PixelTestImage image(3, 2, c.depth, false, false, 0);
    image.view.transparentValue = c.key;
    for (int32_t y = 0; y < 2; ++y)
      for (int32_t x = 0; x < 3; ++x) image.SetRaw(x, y, c.pixel);
    const RunLengthImage rle(image);
    const uint32_t bpp = uint32_t(image.view.bytesPerPixel);
    const uint32_t expected = 4 + 16 + 4 + (c.transparent ? 0 : 6 * bpp);
    EXPECT_EQ(rle.size[0], expected) << c.depth << " key " << std::hex << c.key;
    EXPECT_EQ(RleValidate(rle.block.data(), uint32_t(rle.block.size()), 3, 2, int32_t(bpp)), 1);
  }
}

// An image of alternating runs of random lengths (some beyond 255).
void FillRuns(PixelTestImage& image, std::mt19937& rng, uint32_t key) {
  const uint32_t mask = image.view.bytesPerPixel == 4 ? 0xFFFFFFFFu : (1u << (8 * image.view.bytesPerPixel)) - 1;
  bool opaque = rng() % 2;
  int32_t left = 0;
  const uint32_t maxRun = rng() % 3 == 0 ? 300 : 6;
  for (int32_t y = 0; y < image.view.height; ++y)
    for (int32_t x = 0; x < image.view.width; ++x) {
      if (left == 0) {
        opaque = !opaque;
        left = 1 + int32_t(rng() % maxRun);
      }
      --left;
      uint32_t v = key;
      if (opaque)
        do v = rng() & mask;
        while ((v & mask) == (key & mask));
      image.SetRaw(x, y, v);
    }
}

constexpr uint32_t kEffects[] = {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12};

uint32_t PickParameter(std::mt19937& rng, uint32_t effect, uint32_t colourKey) {
  const uint32_t p = rng() % 129;
  if (effect == 1) return p;
  if (effect == 6 || effect == 12) return p << 24 | (rng() % 2 ? colourKey : rng() & 0xFFFFFF);
  return rng();
}

// Slots 3, 4 and 5 from the form equal the ordinary row's BlitKeyed,
// BlitKeyedInk and Copy of the same image; slot 6 equals the reference.
TEST(RunLength, BlitsMatchTheUncompressedImage) {
  std::mt19937 rng(1552);
  const RandomPalettes palettes(1552);
  for (int32_t depth : kDepths)
    for (int round = 0; round < 60; ++round) {
      const int32_t w = 1 + int32_t(rng() % (round % 4 == 0 ? 600 : 40)), h = 1 + int32_t(rng() % 4);
      PixelTestImage image(w, h, depth, rng() % 2, false, 0);
      const uint32_t colourKey = rng() % 4 == 0 ? 0 : rng() & 0xFFFFFF;
      image.view.transparentColour = colourKey;
      image.view.transparentValue = pixref::NativeOf(depth, colourKey);
      if (depth == 8) {
        image.view.palette = palettes[round];
        image.view.transparentValue = rng() % 4 == 0 ? 0 : rng() % 256;
      }
      FillRuns(image, rng, image.view.transparentValue);
      const RunLengthImage rle(image);
      ASSERT_EQ(RleValidate(rle.block.data(), uint32_t(rle.block.size()), w, h,
                            image.view.bytesPerPixel),
                1);
      const int32_t sx = int32_t(rng() % uint32_t(w)), sy = int32_t(rng() % uint32_t(h));
      const int32_t cw = 1 + int32_t(rng() % uint32_t(w - sx)), ch = 1 + int32_t(rng() % uint32_t(h - sy));
      const int32_t dx = int32_t(rng() % 3), dy = int32_t(rng() % 2);
      PixelTestImage dest(cw + dx + 2, ch + dy + 1, depth, rng() % 2, false, rng() % 2 ? kPixelFlagVector : 0);
      dest.view.palette = image.view.palette;
      dest.Randomise(rng, image.view.transparentValue, 5);
      const std::string tag = "depth " + std::to_string(depth) + " round " + std::to_string(round) +
                              " window " + std::to_string(sx) + "," + std::to_string(sy) + " " +
                              std::to_string(cw) + "x" + std::to_string(ch);
      const PixelOps* plain = image.view.ops;
      const PixelOps* runs = rle.view.ops;
      {
        PixelTestImage got(dest), want(dest);
        runs->BlitKeyed(&got.view, dx, dy, &rle.view, sx, sy, cw, ch);
        plain->BlitKeyed(&want.view, dx, dy, &image.view, sx, sy, cw, ch);
        ASSERT_EQ(FirstDifference(got.pixels, want.pixels), "") << "BlitKeyed " << tag;
      }
      {
        PixelTestImage got(dest), want(dest);
        runs->Copy(&got.view, dx, dy, &rle.view, sx, sy, cw, ch);
        plain->Copy(&want.view, dx, dy, &image.view, sx, sy, cw, ch);
        ASSERT_EQ(FirstDifference(got.pixels, want.pixels), "") << "Copy " << tag;
      }
      for (uint32_t effect : kEffects) {
        const uint32_t param = PickParameter(rng, effect, colourKey);
        const std::string what = tag + " effect " + std::to_string(effect) + " param " + std::to_string(param);
        PixelTestImage got(dest), want(dest);
        ASSERT_EQ(runs->BlitKeyedInk(&got.view, dx, dy, &rle.view, sx, sy, cw, ch, effect, param), 1);
        plain->BlitKeyedInk(&want.view, dx, dy, &image.view, sx, sy, cw, ch, effect, param);
        ASSERT_EQ(FirstDifference(got.pixels, want.pixels), "") << "BlitKeyedInk " << what;
        PixelTestImage gotInk(dest), wantInk(dest);
        ASSERT_EQ(runs->BlitInk(&gotInk.view, dx, dy, &rle.view, sx, sy, cw, ch, effect, param), 1);
        pixref::RunLengthInk(wantInk, dx, dy, image, sx, sy, cw, ch, effect, param);
        ASSERT_EQ(FirstDifference(gotInk.Comparable(), wantInk.Comparable()), "") << "BlitInk " << what;
      }
    }
}

TEST(RunLength, RefusedInksDrawNothing) {
  for (int32_t depth : {15, 16, 24, 32}) {
    PixelTestImage image(4, 2, depth, false, false, 0);
    std::mt19937 rng(depth);
    FillRuns(image, rng, 0);
    const RunLengthImage rle(image);
    PixelTestImage dest(4, 2, depth, false, false, 0);
    const std::vector<uint8_t> before = dest.pixels;
    for (const auto& [effect, param] : std::vector<std::pair<uint32_t, uint32_t>>{
             {7, 0}, {13, 0}, {1, 129}, {6, 129u << 24}, {12, 200u << 24}}) {
      EXPECT_EQ(rle.view.ops->BlitInk(&dest.view, 0, 0, &rle.view, 0, 0, 4, 2, effect, param), 0);
      EXPECT_EQ(rle.view.ops->BlitKeyedInk(&dest.view, 0, 0, &rle.view, 0, 0, 4, 2, effect, param), 0);
    }
    EXPECT_EQ(FirstDifference(dest.pixels, before), "") << depth;
  }
}

// Index formats without palettes: the keyed and opaque draws move bytes.
TEST(RunLength, EightBitKeyedAndOpaqueDraws) {
  std::mt19937 rng(126);
  for (int round = 0; round < 40; ++round) {
    const int32_t w = 1 + int32_t(rng() % 400), h = 1 + int32_t(rng() % 3);
    PixelTestImage image(w, h, 8, rng() % 2, false, 0);
    image.view.transparentValue = rng() % 256;
    FillRuns(image, rng, image.view.transparentValue);
    const RunLengthImage rle(image);
    const int32_t sx = int32_t(rng() % uint32_t(w)), cw = 1 + int32_t(rng() % uint32_t(w - sx));
    PixelTestImage dest(cw + 1, h, 8, false, false, 0);
    dest.Randomise(rng, 0, 0);
    PixelTestImage got(dest), want(dest);
    rle.view.ops->BlitKeyed(&got.view, 1, 0, &rle.view, sx, 0, cw, h);
    pixref::BlitKeyed(want, 1, 0, image, sx, 0, cw, h);
    ASSERT_EQ(FirstDifference(got.pixels, want.pixels), "") << "keyed round " << round;
    rle.view.ops->Copy(&got.view, 1, 0, &rle.view, sx, 0, cw, h);
    pixref::Copy(want, 1, 0, image, sx, 0, cw, h);
    ASSERT_EQ(FirstDifference(got.pixels, want.pixels), "") << "copy round " << round;
  }
}

}  // namespace
