// Small rules of the display back ends: the packed device-context origin and
// the keep-aspect size of the scaled device-context copy.
#include <gtest/gtest.h>

#include "surface/CopyDCScaled.h"
#include "surface/DCOrigin.h"

namespace {

TEST(DisplayRules, DCOriginPacksAndUnpacksSignedHalves) {
  struct Case {
    int32_t x, y;
    uint32_t packed;
  };
  const Case cases[] = {{0, 0, 0},           {-1, 2, 0x0002FFFF},    {5, -3, 0xFFFD0005},
                        {-1, -1, 0xFFFFFFFF}, {32767, -32768, 0x80007FFF}};
  for (const Case& c : cases) {
    EXPECT_EQ(PackDCOrigin(c.x, c.y), c.packed) << c.x << "," << c.y;
    EXPECT_EQ(DCOriginX(c.packed), c.x) << c.x << "," << c.y;
    EXPECT_EQ(DCOriginY(c.packed), c.y) << c.x << "," << c.y;
  }
}

TEST(DisplayRules, KeepAspectSizeUsesTheSmallerRatio) {
  struct Case {
    int32_t sw, sh, dw, dh, wantW, wantH;
  };
  const Case cases[] = {
      {200, 100, 100, 100, 100, 50},  // width limits
      {100, 200, 100, 100, 50, 100},  // height limits
      {100, 100, 300, 300, 300, 300},
      {3, 7, 10, 10, 4, 10},          // 10/7 on both, truncated
      {640, 480, 320, 100, 133, 100},
  };
  for (const Case& c : cases) {
    int32_t w = c.dw, h = c.dh;
    ASSERT_TRUE(KeepAspectSize(c.sw, c.sh, &w, &h));
    EXPECT_EQ(w, c.wantW) << c.sw << "x" << c.sh;
    EXPECT_EQ(h, c.wantH) << c.sw << "x" << c.sh;
  }
  int32_t w = 10, h = 10;
  EXPECT_FALSE(KeepAspectSize(0, 10, &w, &h));
  EXPECT_FALSE(KeepAspectSize(10, -1, &w, &h));
  EXPECT_EQ(w, 10);
}

}  // namespace
