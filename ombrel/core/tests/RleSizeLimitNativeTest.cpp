// RleSize refuses a run-length form of 2^31 bytes or more (all three sizes
// zero) where a 32-bit sum would have wrapped into a block too small for the
// encoder. The image is one opaque row repeated with a pitch of 0, so the
// form passes 2^31 bytes from 256 KiB of pixels. Native only: the scan of
// half a billion pixels is too slow for the emulated Windows run.
#include <gtest/gtest.h>

#include <vector>

#include "pixel/PixelRows.h"
#include "pixel/RunLengthEncode.h"

namespace {

TEST(RleSizeLimit, AFormOf2To31BytesOrMoreIsRefusedAndOneByteLessIsMeasured) {
  constexpr int32_t kWidth = 65536;
  constexpr uint32_t kKey = 0x00123456;
  const std::vector<uint32_t> row(kWidth, 0x00ABCDEF);  // no pixel is the key
  // Per row: its 8 table bytes, the codes (skip 0; a copy of 65536 is 257
  // pairs 255, 0 and a last 1) and 4 bytes per pixel.
  constexpr uint64_t kRowBytes = 8 + 1 + (1 + 2 * 257) + 4 * uint64_t{kWidth};
  constexpr int32_t kLastMeasured = int32_t((pixel::kRleMaxBlock - 4) / kRowBytes);
  static_assert(4 + kLastMeasured * kRowBytes < pixel::kRleMaxBlock);
  static_assert(4 + (kLastMeasured + 1) * kRowBytes >= pixel::kRleMaxBlock);

  const PixelOps* ops = GetPixelOps(4);  // 32 bits
  const auto* pixels = reinterpret_cast<const uint8_t*>(row.data());
  uint32_t size[3] = {1, 1, 1};
  ops->RleSize(size, pixels, kWidth, kLastMeasured, 0, kKey);
  EXPECT_EQ(size[0], 4 + kLastMeasured * kRowBytes);
  EXPECT_EQ(size[1], 8u * kLastMeasured);
  EXPECT_EQ(size[2], 8u * kLastMeasured + (1 + 515) * uint64_t{kLastMeasured});

  ops->RleSize(size, pixels, kWidth, kLastMeasured + 1, 0, kKey);
  EXPECT_EQ(size[0], 0u);
  EXPECT_EQ(size[1], 0u);
  EXPECT_EQ(size[2], 0u);
}

}  // namespace
