// Seeded mutations of run-length blocks and byte-run packed data: every
// truncated block is refused by the validator, every block it accepts draws
// through all four run-length routines without a sanitizer report, and
// unpacking never writes past its capacity. Deterministic: a failing
// iteration is reproduced by its number.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "pixel/RunLengthPack.h"
#include "pixel/RunLengthRows.h"
#include "support/PixelTestImage.h"
#include "support/RandomPalettes.h"
#include "support/RunLengthImage.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Draws a block (exactly sized, so any read past it is reported) with all
// four routines through a window into an exactly sized destination.
void DrawAll(const RunLengthImage& rle, const Bytes& block, std::mt19937& rng) {
  Bytes exact(block);
  PixelView src = rle.view;
  src.buffer = src.firstRow = exact.data();
  const int32_t w = src.width, h = src.height;
  const int32_t sx = int32_t(rng() % uint32_t(w)), sy = int32_t(rng() % uint32_t(h));
  const int32_t cw = 1 + int32_t(rng() % uint32_t(w - sx)), ch = 1 + int32_t(rng() % uint32_t(h - sy));
  PixelTestImage dest(cw, ch, src.depth, false, false, rng() % 2);
  dest.guard = 0;
  dest.view.palette = src.palette;
  const uint32_t effect = rng() % 14, parameter = rng();
  src.ops->BlitKeyed(&dest.view, 0, 0, &src, sx, sy, cw, ch);
  src.ops->Copy(&dest.view, 0, 0, &src, sx, sy, cw, ch);
  src.ops->BlitKeyedInk(&dest.view, 0, 0, &src, sx, sy, cw, ch, effect, parameter);
  src.ops->BlitInk(&dest.view, 0, 0, &src, sx, sy, cw, ch, effect, parameter);
}

TEST(FuzzRunLength, MutatedBlocksAreRefusedOrDrawCleanly) {
  const RandomPalettes palettes(152);
  std::mt19937 rng(1520);
  int accepted = 0, refused = 0;
  for (int iteration = 0; iteration < 3000; ++iteration) {
    const int32_t depth = std::vector<int32_t>{8, 15, 16, 24, 32}[iteration % 5];
    const int32_t w = 1 + int32_t(rng() % 300), h = 1 + int32_t(rng() % 4);
    PixelTestImage image(w, h, depth, false, false, 0);
    image.view.palette = palettes[iteration];
    image.view.transparentValue = rng() % 3 == 0 ? 0 : rng() & 0xFF;
    image.Randomise(rng, image.view.transparentValue, 1 + int(rng() % 3));
    const RunLengthImage rle(image, 0);
    const int32_t bpp = image.view.bytesPerPixel;
    ASSERT_EQ(RleValidate(rle.block.data(), uint32_t(rle.block.size()), w, h, bpp), 1) << iteration;
    // Every truncation is refused.
    const uint32_t cut = uint32_t(rng() % rle.block.size());
    ASSERT_EQ(RleValidate(rle.block.data(), cut, w, h, bpp), 0) << "truncated to " << cut << ", iteration " << iteration;
    // A wrong width or height is refused.
    ASSERT_EQ(RleValidate(rle.block.data(), uint32_t(rle.block.size()), w + 1, h, bpp), 0) << iteration;
    // Corruptions: refused, or drawn without a sanitizer report.
    Bytes block = rle.block;
    for (uint32_t k = 1 + rng() % 4; k > 0; --k) {
      const size_t at = rng() % block.size();
      block[at] = rng() % 2 ? uint8_t(rng()) : uint8_t(block[at] + (rng() % 2 ? 1 : -1));
    }
    if (RleValidate(block.data(), uint32_t(block.size()), w, h, bpp)) {
      ++accepted;
      DrawAll(rle, block, rng);
    } else {
      ++refused;
    }
  }
  // Both outcomes occur: the mutations reach the drawing code.
  EXPECT_GT(accepted, 100);
  EXPECT_GT(refused, 100);
}

TEST(FuzzRunLength, MutatedPackedDataNeverOverruns) {
  std::mt19937 rng(1720);
  for (int iteration = 0; iteration < 3000; ++iteration) {
    const uint32_t unit = std::vector<uint32_t>{1, 2, 4}[iteration % 3];
    Bytes src(rng() % 400);
    for (size_t i = 0; i < src.size(); ++i) src[i] = rng() % 3 && i > 0 ? src[i - 1] : uint8_t(rng());
    Bytes packed(RlePackedSize(src.data(), uint32_t(src.size()), unit));
    RlePack(packed.data(), src.data(), uint32_t(src.size()), unit);
    const uint32_t cut = uint32_t(rng() % packed.size());
    Bytes out(src.size() + 8, 0xEE);
    // A truncated stream lacks its terminator.
    ASSERT_EQ(RleUnpack(out.data(), uint32_t(src.size()), packed.data(), cut, unit), 0u) << iteration;
    for (uint32_t k = 1 + rng() % 3; k > 0; --k) packed[rng() % packed.size()] = uint8_t(rng());
    const uint32_t capacity = uint32_t(rng() % (src.size() + 1));
    out.assign(src.size() + 8, 0xEE);
    const uint32_t n = RleUnpack(out.data(), capacity, packed.data(), uint32_t(packed.size()), unit);
    ASSERT_LE(n, capacity) << iteration;
    for (size_t i = capacity; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << "wrote past the capacity, iteration " << iteration;
  }
}

}  // namespace
