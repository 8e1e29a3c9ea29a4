#include <gtest/gtest.h>

#include "surface/DepthCode.h"
#include "surface/SurfaceSize.h"
#include "surface/cMemSurface.h"
#include "palette/PaletteApi.h"

namespace {

TEST(SurfaceDepth, CodeAndIndexTables) {
  struct Row {
    int32_t code, bits, dibBits;
  };
  const Row rows[] = {{0, 0, 0},  {1, 1, 1},   {2, 4, 4},   {3, 8, 8},  {4, 24, 24},
                      {5, 4, 4},  {6, 15, 16}, {7, 16, 16}, {8, 32, 32}, {9, 0, 0}, {-1, 0, 0}};
  for (const Row& r : rows) {
    EXPECT_EQ(DepthCodeToBits(r.code), r.bits) << r.code;
    EXPECT_EQ(DepthCodeToDibBits(r.code), r.dibBits) << r.code;
  }
  for (int bits = 0; bits <= 32; ++bits) {
    const int expected = bits <= 8 ? 0 : bits <= 15 ? 1 : bits == 16 ? 2 : bits <= 24 ? 3 : 4;
    EXPECT_EQ(DepthIndexFromBits(bits), expected) << bits;
  }
  EXPECT_EQ(DepthIndexFromBits(33), -1);
  EXPECT_EQ(DepthIndexFromBits(-1), -1);
  const int32_t back[5] = {8, 15, 16, 24, 32};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(DepthFromIndex(i), back[i]);
    EXPECT_EQ(DepthIndexFromBits(back[i]), i);
  }
  EXPECT_EQ(DepthFromIndex(5), 0);
}

TEST(SurfaceSize, RowsPaddedTo4AndHugeSizesRefused) {
  struct Row {
    int32_t width, height, depth;
    LibError result;
    uint32_t rowBytes;
  };
  const Row rows[] = {
      {33, 2, 15, LibOk, 68},  // 15-bit counted as 16
      {3, 1, 24, LibOk, 12},
      {5, 1, 8, LibOk, 8},
      {0, 5, 32, LibOk, 0},
      {1, 1, 32, LibOk, 4},
      {65536, 8192, 32, LibOk, 262144},            // exactly 2^31 bytes in all
      {65536, 8193, 32, ErrOutOfMemory, 0},        // just above
      {0x40000000, 1, 32, ErrOutOfMemory, 0},      // a 4 GiB row would wrap in 32 bits
      {0x7FFFFFFF, 0x7FFFFFFF, 24, ErrOutOfMemory, 0},
      {20000, 30000, 32, ErrOutOfMemory, 0},       // 2.4e9 bytes
      {-1, 10, 32, ErrInvalidData, 0},
      {10, -1, 32, ErrInvalidData, 0},
      {10, 10, 0, ErrInvalidData, 0},
  };
  for (const Row& r : rows) {
    uint32_t rowBytes = 0, total = 0;
    EXPECT_EQ(ComputeSurfaceSize(r.width, r.height, r.depth, &rowBytes, &total), r.result)
        << r.width << "x" << r.height << "x" << r.depth;
    if (r.result == LibOk) {
      EXPECT_EQ(rowBytes, r.rowBytes);
      EXPECT_EQ(uint64_t(total), uint64_t(r.rowBytes) * uint64_t(r.height));
    }
  }
}

TEST(SurfaceSize, MemSurfaceRefusesWrappingSizesWithoutAllocating) {
  cMemSurface* prototype = cMemSurface::CreatePrototype(32);
  ASSERT_NE(prototype, nullptr);
  EXPECT_EQ(prototype->MakeInstance(0x40000000, 4), nullptr);
  EXPECT_EQ(prototype->MakeInstance(20000, 30000), nullptr);
  EXPECT_EQ(prototype->MakeInstance(-5, 5), nullptr);
  cSurfaceImpl* small = prototype->MakeInstance(7, 3);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->Reallocate(0x40000000, 4), 0);  // refused, surface unchanged
  EXPECT_EQ(small->view.width, 7);
  EXPECT_EQ(small->view.rowBytes, 28u);
  small->Delete(1);
  prototype->Delete(1);
}

}  // namespace
