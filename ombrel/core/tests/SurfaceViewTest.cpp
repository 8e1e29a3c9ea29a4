#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "palette/PaletteApi.h"
#include "surface/cByteSurface.h"
#include "surface/cDIBViewSurface.h"
#include "surface/cNullSurface.h"

namespace {

class SurfaceView : public ::testing::Test {
 protected:
  void SetUp() override { defaultPalette_ = PaletteStartup(); }
  void TearDown() override {
    ReleasePalette(defaultPalette_);
    PaletteShutdown();
  }
  cPalette* defaultPalette_ = nullptr;
};

// A packed bitmap in one block: header, `extra` 32-bit words, then pixels.
struct Dib {
  Dib(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
      std::vector<uint32_t> extra, size_t pixelBytes) {
    block.resize(sizeof(BitmapInfoHeader) + 4 * extra.size() + pixelBytes);
    BitmapInfoHeader h{};
    h.size = 40;
    h.width = width;
    h.height = height;
    h.planes = 1;
    h.bitCount = bits;
    h.compression = compression;
    std::memcpy(block.data(), &h, sizeof h);
    if (!extra.empty()) std::memcpy(block.data() + sizeof h, extra.data(), 4 * extra.size());
    pixels = block.data() + sizeof h + 4 * extra.size();
  }
  BitmapInfoHeader* header() { return reinterpret_cast<BitmapInfoHeader*>(block.data()); }
  std::vector<uint8_t> block;
  uint8_t* pixels;
};

TEST_F(SurfaceView, DIBAcceptanceTable) {
  struct Row {
    const char* what;
    int32_t width, height;
    uint16_t bits;
    uint32_t compression;
    std::vector<uint32_t> masks;
    int32_t depth;  // 0: the view stays empty
  };
  const std::vector<uint32_t> m555 = {0x7C00, 0x3E0, 0x1F}, m565 = {0xF800, 0x7E0, 0x1F},
                              m888 = {0xFF0000, 0xFF00, 0xFF};
  const Row rows[] = {
      {"8-bit", 4, 4, 8, kBiRgb, {}, 8},
      {"16-bit plain is 5-5-5", 4, 4, 16, kBiRgb, {}, 15},
      {"24-bit", 4, -4, 24, kBiRgb, {}, 24},
      {"32-bit", 4, 4, 32, kBiRgb, {}, 32},
      {"5-6-5 masks", 4, 4, 16, kBiBitfields, m565, 16},
      {"5-5-5 masks", 4, 4, 16, kBiBitfields, m555, 15},
      {"8-8-8 masks", 4, 4, 32, kBiBitfields, m888, 32},
      {"odd masks", 4, 4, 16, kBiBitfields, {0xF800, 0x7E0, 0x3F}, 0},
      {"32-bit 5-6-5 masks", 4, 4, 32, kBiBitfields, m565, 0},
      {"bit fields at 24", 4, 4, 24, kBiBitfields, m888, 0},
      {"1-bit not widened", 8, 4, 1, kBiRgb, {}, 0},
      {"4-bit not widened", 8, 4, 4, kBiRgb, {}, 0},
      {"12-bit", 4, 4, 12, kBiRgb, {}, 0},
      {"run-length compressed", 4, 4, 8, 1, {}, 0},
      {"zero width", 0, 4, 32, kBiRgb, {}, 0},
      {"negative width", -4, 4, 32, kBiRgb, {}, 0},
      {"zero height", 4, 0, 32, kBiRgb, {}, 0},
      {"most negative height", 4, INT32_MIN, 32, kBiRgb, {}, 0},
      {"row above 2^31 bytes", 0x7FFFFFFF, 1, 32, kBiRgb, {}, 0},
  };
  for (const Row& r : rows) {
    Dib dib(r.width, r.height, r.bits, r.compression, r.masks, 1024);  // room for a full colour table
    std::vector<uint8_t> bits(4096);
    cDIBViewSurface view(dib.header(), bits.data());
    EXPECT_EQ(view.view.width, r.depth ? r.width : 0) << r.what;
    if (r.depth != 0) {
      EXPECT_EQ(view.view.depth, r.depth) << r.what;
    }
    if (r.depth == 0) {
      EXPECT_EQ(view.FillRect(0, 0, 4, 4, 0x123456), 0) << r.what;  // an empty view draws nothing
      EXPECT_EQ(view.GetPalette(), nullptr) << r.what;
    }
  }
  // Too many colour entries for the bit count.
  Dib many(2, 2, 8, kBiRgb, {}, 16);
  many.header()->clrUsed = 257;
  cDIBViewSurface refused(many.header(), many.pixels);
  EXPECT_EQ(refused.view.width, 0);
  cDIBViewSurface none(nullptr, nullptr);
  EXPECT_EQ(none.view.width, 0);
}

TEST_F(SurfaceView, DIBRowsAndOrientation) {
  // 24-bit, 3 wide: rows of 12 bytes; a positive height is bottom-up.
  Dib up(3, 2, 24, kBiRgb, {}, 24);
  cDIBViewSurface bottomUp(up.header(), nullptr);  // bits right after the header
  EXPECT_EQ(bottomUp.view.rowBytes, 12u);
  EXPECT_EQ(bottomUp.view.pitch, -12);
  EXPECT_EQ(bottomUp.view.firstRow, up.pixels + 12);
  EXPECT_EQ(bottomUp.view.bottomUp, 1);
  ASSERT_NE(bottomUp.view.ops->PutPixel, nullptr);
  bottomUp.SetPixel(0, 0, 0x00332211);  // top row lives last in memory
  EXPECT_EQ(up.pixels[12], 0x33);
  EXPECT_EQ(up.pixels[14], 0x11);
  Dib down(3, -2, 24, kBiRgb, {}, 24);
  cDIBViewSurface topDown(down.header(), nullptr);
  EXPECT_EQ(topDown.view.pitch, 12);
  EXPECT_EQ(topDown.view.firstRow, down.pixels);

  // Bit fields: the bits follow the three masks.
  Dib fields(2, 2, 16, kBiBitfields, {0xF800, 0x7E0, 0x1F}, 8);
  cDIBViewSurface v565(fields.header(), nullptr);
  EXPECT_EQ(v565.view.depth, 16);
  EXPECT_EQ(v565.view.firstRow, fields.pixels + 4);
  EXPECT_EQ(v565.GetKind(), SurfaceKindMemory);
  EXPECT_EQ(v565.MakeInstance(2, 2), nullptr);
  EXPECT_EQ(v565.SetDepthAndPalette(8), 0);
}

TEST_F(SurfaceView, EightBitDIBTakesItsColourTable) {
  // 16 colour entries (blue, green, red, 0), then 4 x 2 pixels of 8 bits.
  std::vector<uint32_t> table(16);
  for (uint32_t i = 0; i < 16; ++i) table[i] = 0x00000010u * i + 0x00010000u * (i & 1);  // blue ramp, odd ones get red
  Dib dib(4, -2, 8, kBiRgb, table, 8);
  dib.header()->clrUsed = 16;
  for (int i = 0; i < 8; ++i) dib.pixels[i] = uint8_t(i);
  cDIBViewSurface view(dib.header(), nullptr);
  ASSERT_EQ(view.view.width, 4);
  EXPECT_EQ(view.view.firstRow, dib.pixels);  // right after 16 entries
  ASSERT_NE(view.GetPalette(), nullptr);
  EXPECT_EQ(view.IndexToRGB(3), 0x00300001u);  // red 1, blue 0x30
  uint32_t c = 0;
  ASSERT_EQ(view.GetPixel(1, 1, &c), 1);
  EXPECT_EQ(c, 0x00500001u);  // pixel 5
  // The same table twice shares one palette.
  cDIBViewSurface second(dib.header(), nullptr);
  EXPECT_EQ(second.GetPalette(), view.GetPalette());
  EXPECT_EQ(PaletteRefCount(view.GetPalette()), 2);
}

TEST_F(SurfaceView, ByteSurfaces) {
  uint8_t bytes[3][8] = {};
  {
    cByteSurface grey(&bytes[2][0], 5, 3, -8);  // bottom-up over caller memory
    EXPECT_EQ(grey.view.depth, 8);
    EXPECT_EQ(grey.view.bottomUp, 1);
    EXPECT_EQ(grey.view.rowBytes, 8u);
    ASSERT_NE(grey.GetPalette(), nullptr);
    EXPECT_EQ(grey.IndexToRGB(200), 0x00C8C8C8u);
    // Its colour table is built at once. Eight greys share each key of the
    // table, yet every grey answers its own value; another colour answers
    // the grey nearest to it.
    ASSERT_NE(grey.GetPalette()->inverse, nullptr);
    for (uint32_t v = 0; v < 256; ++v) ASSERT_EQ(grey.NearestIndex(v * 0x010101), int32_t(v));
    EXPECT_EQ(grey.NearestIndex(0x00102030), 0x20);
    grey.SetPixel(1, 0, 0x00404040);
    EXPECT_EQ(bytes[2][1], 0x40);
    EXPECT_EQ(grey.FillRectIndex(0, 2, 2, 1, 9), 1);
    EXPECT_EQ(bytes[0][1], 9);
    EXPECT_EQ(grey.GetTransparentNative(), 0u);

    cSurfaceImpl* owned = grey.MakeInstance(5, 2);
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(owned->view.rowBytes, 8u);
    EXPECT_EQ(owned->view.pitch, 8);
    EXPECT_EQ(static_cast<cByteSurface*>(owned)->ownsBuffer, 1);
    EXPECT_EQ(owned->GetPalette(), grey.GetPalette());
    owned->FillRectIndex(0, 0, 5, 2, 1);
    owned->Delete(1);  // frees its buffer (checked by the address sanitizer)
    EXPECT_EQ(grey.Reallocate(9, 9), 0);
  }
  EXPECT_EQ(bytes[2][1], 0x40);  // the view left the caller's memory alone
}

TEST(SurfaceNull, DoesNothingAndReportsZeros) {
  cNullSurface* null = GetNullSurface();
  ASSERT_NE(null, nullptr);
  EXPECT_EQ(null, GetNullSurface());
  int32_t x = 7, y = 7, w = 7, h = 7;
  null->GetClipRect(&x, &y, &w, &h);
  EXPECT_EQ(x | y | w | h, 0);
  null->GetClipRect(nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(null->GetKind(), SurfaceKindMemory);
  EXPECT_EQ(null->GetBlackIndex(), 0);
  EXPECT_EQ(null->IsEmpty(), 0);
  EXPECT_EQ(null->MakeInstance(10, 10), nullptr);
  EXPECT_EQ(null->Lock(), 0);
  EXPECT_EQ(null->FillRect(0, 0, 10, 10, 0xFFFFFF), 0);
  uint32_t c = 5;
  EXPECT_EQ(null->GetPixel(0, 0, &c), 0);
  EXPECT_EQ(c, 5u);
  null->SetPixel(0, 0, 0);
  EXPECT_EQ(null->GetPalette(), nullptr);
  EXPECT_EQ(null->GetScanLine(), 0);
  // The transparent colour is kept by the one shared object.
  null->SetTransparentColour(0x00123456);
  EXPECT_EQ(GetNullSurface()->GetTransparentColour(), 0x00123456u);
  null->SetTransparentColour(0);
  null->Delete(1);  // never freed
  EXPECT_EQ(GetNullSurface()->GetKind(), SurfaceKindMemory);
}

}  // namespace
