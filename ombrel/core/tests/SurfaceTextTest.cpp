// Text rules that hold without a platform text renderer: the effect path's
// key colour, and surfaces without a device context draw no text.
#include <gtest/gtest.h>

#include "surface/SurfaceHandle.h"
#include "surface/SurfaceText.h"
#include "surface/cMemSurface.h"

namespace {

TEST(SurfaceText, KeyIsTheInvertedColourAndEightForBlackDrawText) {
  struct Case {
    uint32_t colour;
    bool drawText;
    uint32_t key;
  };
  const Case cases[] = {{0x0000FF, false, 0xFFFF00}, {0x000000, false, 0xFFFFFF},
                        {0x000000, true, 0x000008},  {0x123456, true, 0xEDCBA9},
                        {0xFF123456, false, 0xEDCBA9}};
  for (const Case& c : cases)
    EXPECT_EQ(TextKeyColour(c.colour, c.drawText), c.key) << std::hex << c.colour;
}

TEST(SurfaceText, MemorySurfacesDrawNoText) {
  cMemSurface* prototype = cMemSurface::CreatePrototype(32);
  ASSERT_NE(prototype, nullptr);
  cSurfaceHandle proto, h;
  cSurfaceHandle::AttachImpl(&proto, prototype);
  ASSERT_NE(h.Create(20, 10, &proto), nullptr);
  ASSERT_TRUE(h.FillAll(0x808080));
  SurfaceRect clip{0, 0, 20, 10};
  EXPECT_EQ(h.TextOut("Hi", 2, 1, 1, 0, &clip, 0xFF, nullptr, 0, 0, 0, 0), 0);
  EXPECT_EQ(h.TextOut("Hi", 2, 1, 1, 0, &clip, 0xFF, nullptr, 0, 2, 0, 0), 0);
  EXPECT_EQ(h.DrawText("Hi", 2, &clip, 0, 0, nullptr, 0, 2, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(h.DrawText(nullptr, 2, &clip, 0, 0, nullptr, 0, 0, 0, 0, 0, 0, 0), 0);
  // The effect path's temporary never reaches the surface.
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      uint32_t c = 0;
      ASSERT_TRUE(h.GetPixel(x, y, &c));
      ASSERT_EQ(c, 0x808080u) << x << "," << y;
    }
}

}  // namespace
