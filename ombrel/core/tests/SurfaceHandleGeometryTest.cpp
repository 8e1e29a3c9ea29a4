// The handle's geometry members: stretches with both origins, the sized
// copy, and (below) the rotations.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibrary.h"

namespace {

class SurfaceHandleGeometry : public ::testing::Test {
 protected:
  void SetUp() override { library_.Init(); }
  void TearDown() override { library_.Exit(); }

  cSurfaceHandle* Prototype(int32_t depth) {
    cSurfaceHandle* prototype = nullptr;
    library_.GetPrototype(&prototype, depth, SurfaceTypeMemory, 0);
    return prototype;
  }
  static uint32_t At(cSurfaceHandle& h, int32_t x, int32_t y) {
    uint32_t c = 0xDEADBEEF;
    cSurfaceHandle::GetImpl(&h)->GetPixel(x, y, &c);
    return c & 0x00FFFFFFu;
  }
  // Pixel (x, y) is a colour of its own: 0x00yyxx plus the seed.
  void Numbered(cSurfaceHandle& h, int32_t depth, int32_t w, int32_t hh, uint32_t seed) {
    ASSERT_NE(h.Create(w, hh, Prototype(depth)), nullptr);
    for (int32_t y = 0; y < hh; ++y)
      for (int32_t x = 0; x < w; ++x)
        cSurfaceHandle::GetImpl(&h)->SetPixel(x, y, seed + uint32_t(x | y << 8));
  }

  SurfaceLibrary library_;
};

// Doubling a 3 x 2 picture: each source pixel becomes a 2 x 2 block; the
// alpha channel follows.
TEST_F(SurfaceHandleGeometry, CopyFromWithASizeStretchesThePicture) {
  for (int32_t depth : {24, 32}) {
    cSurfaceHandle src;
    Numbered(src, depth, 3, 2, 0x100000);
    uint8_t* alpha = src.CreateAlpha();
    ASSERT_NE(alpha, nullptr);
    for (int32_t y = 0; y < 2; ++y)
      for (int32_t x = 0; x < 3; ++x) alpha[y * src.GetAlphaPitch() + x] = uint8_t(10 * x + 100 * y);
    cSurfaceHandle copy;
    ASSERT_EQ(copy.CopyFrom(&src, 6, 4), 1);
    ASSERT_EQ(copy.GetWidth(), 6);
    ASSERT_EQ(copy.GetHeight(), 4);
    ASSERT_TRUE(copy.HasAlpha());
    for (int32_t y = 0; y < 4; ++y)
      for (int32_t x = 0; x < 6; ++x) {
        EXPECT_EQ(At(copy, x, y), 0x100000u + uint32_t(x / 2 | (y / 2) << 8)) << x << ", " << y;
        EXPECT_EQ(copy.GetAlphaRows()[y * copy.GetAlphaPitch() + x], 10 * (x / 2) + 100 * (y / 2));
      }
    // Shrinking onto itself: the copy is made before the old picture goes.
    ASSERT_EQ(copy.CopyFrom(&copy, 3, 2), 1);
    for (int32_t y = 0; y < 2; ++y)
      for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(At(copy, x, y), 0x100000u + uint32_t(x | y << 8));
  }
}

TEST_F(SurfaceHandleGeometry, StretchMembersSubtractBothOrigins) {
  cSurfaceHandle src, dest;
  Numbered(src, 24, 4, 4, 0x200000);
  ASSERT_NE(dest.Create(20, 20, Prototype(24)), nullptr);
  ASSERT_EQ(dest.FillAll(0x00ABCDEF), 1);
  src.SetOrigin(-1, -2);   // handle (x, y) reads implementation (x + 1, y + 2)
  dest.SetOrigin(5, 5);    // handle (x, y) writes implementation (x - 5, y - 5)
  // Source handle rectangle (-1, -2, 2, 2) is implementation (0, 0, 2, 2).
  ASSERT_EQ(src.Stretch(&dest, 7, 8, 4, 4, -1, -2, 2, 2, BlitOpaque, 0, 0, 0), 1);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x)
      EXPECT_EQ(At(dest, 2 + x, 3 + y), 0x200000u + uint32_t(x / 2 | (y / 2) << 8)) << x << ", " << y;
  EXPECT_EQ(At(dest, 6, 3), 0x00ABCDEFu);
  // The whole surface from the handle's (0, 0): origin applies to it too.
  src.SetOrigin(0, 0);
  ASSERT_EQ(src.StretchTo(&dest, 5, 5, 8, 8, BlitOpaque, 0, 0, 0), 1);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x)
      EXPECT_EQ(At(dest, x, y), 0x200000u + uint32_t(x / 2 | (y / 2) << 8)) << x << ", " << y;
  // StretchAll covers the destination's whole surface.
  dest.SetOrigin(0, 0);
  ASSERT_EQ(src.StretchAll(&dest, 0), 1);
  EXPECT_EQ(At(dest, 19, 19), 0x200303u);
  EXPECT_EQ(At(dest, 0, 0), 0x200000u);
  EXPECT_EQ(src.Stretch(nullptr, 0, 0, 4, 4, 0, 0, 2, 2, 0, 0, 0, 0), 0);
  EXPECT_EQ(src.StretchAll(nullptr, 0), 0);
}

}  // namespace
