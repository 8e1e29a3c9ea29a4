// The handle's geometry members: stretches with both origins, the sized
// copy, and (below) the rotations.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "surface/SurfaceHandle.h"
#include "support/SurfaceHandleFixture.h"
#include "surface/SurfaceLibrary.h"

namespace {

class SurfaceHandleGeometry : public SurfaceHandleFixture {
 protected:

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

// Handle angles reduce modulo 360: quarter and half turns are exact
// permutations (-90 is 270, clockwise).
TEST_F(SurfaceHandleGeometry, RotateTurnsByQuartersExactly) {
  struct Case {
    int32_t degrees;
    int32_t turns;  // counter-clockwise quarter turns
  };
  const Case cases[] = {{90, 1}, {450, 1}, {180, 2}, {-180, 2}, {270, 3}, {-90, 3}, {0, 0}, {360, 0}};
  for (int32_t depth : {24, 32}) {
    cSurfaceHandle src;
    Numbered(src, depth, 5, 3, 0x300000);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.degrees);
      const bool swapped = c.turns % 2 == 1;
      cSurfaceHandle dest;
      ASSERT_NE(dest.Create(swapped ? 3 : 5, swapped ? 5 : 3, Prototype(depth)), nullptr);
      ASSERT_EQ(src.Rotate(&dest, c.degrees, 0, 0, 0), 1);
      cSurfaceHandle made;
      ASSERT_EQ(src.CreateRotated(&made, c.degrees, 0, 0, 0), 1);
      ASSERT_EQ(made.GetWidth(), dest.GetWidth());
      ASSERT_EQ(made.GetHeight(), dest.GetHeight());
      for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x) {
          // Counter-clockwise as shown: (x, y) -> (y, w - 1 - x), w = 5.
          int32_t tx = x, ty = y, w = 5, h = 3;
          for (int32_t t = 0; t < c.turns; ++t) {
            const int32_t nx = ty, ny = w - 1 - tx;
            tx = nx;
            ty = ny;
            std::swap(w, h);
          }
          const uint32_t want = 0x300000u + uint32_t(x | y << 8);
          EXPECT_EQ(At(dest, tx, ty), want) << x << ", " << y;
          EXPECT_EQ(At(made, tx, ty), want) << x << ", " << y;
        }
    }
  }
}

TEST_F(SurfaceHandleGeometry, CreateRotatedSizesTheDestination) {
  cSurfaceHandle src;
  Numbered(src, 24, 30, 10, 0);
  cSurfaceHandle dest;
  ASSERT_EQ(src.CreateRotated(&dest, 90, 0, 0, 0), 1);
  EXPECT_EQ(dest.GetWidth(), 10);
  EXPECT_EQ(dest.GetHeight(), 30);
  ASSERT_EQ(src.CreateRotated(&dest, 33, 1, 0x00FF00FF, 0), 1);
  int32_t w = 30, h = 10;
  cSurfaceHandle::GetRotatedSize(&w, &h, 33);
  EXPECT_EQ(dest.GetWidth(), w);
  EXPECT_EQ(dest.GetHeight(), h);
  EXPECT_EQ(At(dest, 0, 0), 0x00FF00FFu);  // a corner outside the turned picture
  // Radians truncate to whole degrees: 1 radian is 57 degrees.
  cSurfaceHandle viaRadians, viaDegrees;
  ASSERT_EQ(src.CreateRotatedRadians(&viaRadians, 1.0, 0, 0, 0), 1);
  ASSERT_EQ(src.CreateRotated(&viaDegrees, 57, 0, 0, 0), 1);
  ASSERT_EQ(viaRadians.GetWidth(), viaDegrees.GetWidth());
  for (int32_t y = 0; y < viaRadians.GetHeight(); ++y)
    for (int32_t x = 0; x < viaRadians.GetWidth(); ++x) ASSERT_EQ(At(viaRadians, x, y), At(viaDegrees, x, y));
  EXPECT_EQ(src.CreateRotated(&src, 33, 0, 0, 0), 0);
  EXPECT_EQ(src.CreateRotated(nullptr, 33, 0, 0, 0), 0);
  EXPECT_EQ(src.GetWidth(), 30);
}

TEST_F(SurfaceHandleGeometry, RotatedSizeTable) {
  struct Case {
    int32_t w, h, degrees, wantW, wantH;
  };
  const Case cases[] = {
      {30, 10, 90, 10, 30}, {30, 10, 270, 10, 30}, {30, 10, -90, 10, 30}, {30, 10, 180, 30, 10},
      {30, 10, 0, 30, 10},  {30, 10, 33, 30, 24},  {10, 10, 45, 14, 14},
  };
  for (const Case& c : cases) {
    int32_t w = c.w, h = c.h;
    cSurfaceHandle::GetRotatedSize(&w, &h, c.degrees);
    EXPECT_EQ(w, c.wantW) << c.degrees;
    EXPECT_EQ(h, c.wantH) << c.degrees;
  }
  int32_t w = 3;
  cSurfaceHandle::GetRotatedSize(&w, nullptr, 90);  // nothing to write into: unchanged
  EXPECT_EQ(w, 3);
}

}  // namespace
