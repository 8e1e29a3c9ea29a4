// The drawing helpers on a DIB surface's device context give the pixels the
// same calls give on a DIB section the test makes itself: the surface's pixel
// view (bottom-up rows, its format) is what GDI drew.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "surface/GdiDraw.h"
#include "surface/cDIBSurface.h"

namespace {

constexpr int kW = 64, kH = 48;

// The shapes: a filled ellipse with a wide outline, a hollow polygon, a wide
// line and a filled rectangle without a pen.
void DrawShapes(HDC dc) {
  const int32_t star[] = {32, 2, 40, 20, 60, 22, 44, 32, 50, 46, 32, 36, 14, 46, 20, 32, 4, 22, 24, 20};
  GdiEllipse(dc, 3, 4, 30, 26, 0x0000FF, 3, 0x00FF00, 1);
  GdiPolygon(dc, star, 10, 0xFF0000, 2, 0x800080, 0);
  GdiLine(dc, 2, 44, 60, 30, 5, 0x008080);
  GdiRectangle(dc, 40, 4, 58, 14, 0x404040, 0, 0, 1);
}

class SectionDC {
 public:
  SectionDC(int bits) {
    struct {
      BITMAPINFOHEADER header;
      DWORD masks[3];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = kW;
    info.header.biHeight = kH;
    info.header.biPlanes = 1;
    info.header.biBitCount = WORD(bits);
    if (bits == 16) {
      info.header.biCompression = BI_BITFIELDS;
      info.masks[0] = 0xF800;
      info.masks[1] = 0x07E0;
      info.masks[2] = 0x001F;
    }
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    section_ = CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits_,
                                nullptr, 0);
    previous_ = SelectObject(dc_, section_);
  }
  ~SectionDC() {
    SelectObject(dc_, previous_);
    DeleteObject(section_);
    DeleteDC(dc_);
  }
  SectionDC(const SectionDC&) = delete;
  SectionDC& operator=(const SectionDC&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP section_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
};

TEST(DibShapes, HelpersOnTheSurfaceEqualTheSameCallsOnASection) {
  for (int depth : {32, 24, 16}) {
    SCOPED_TRACE(depth);
    cDIBSurface* prototype = cDIBSurface::CreatePrototype(depth, false);
    ASSERT_NE(prototype, nullptr);
    cSurfaceImpl* surface = prototype->MakeInstance(kW, kH);
    ASSERT_NE(surface, nullptr);
    ASSERT_TRUE(surface->FillRect(0, 0, kW, kH, 0xFFFFFF));
    HDC dc = static_cast<HDC>(surface->GetDC());
    ASSERT_NE(dc, nullptr);
    DrawShapes(dc);
    surface->ReleaseDC(dc);

    SectionDC reference(depth);
    RECT all{0, 0, kW, kH};
    FillRect(reference.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawShapes(reference.dc());
    GdiFlush();

    int drawn = 0, differ = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        uint32_t ours = 0;
        ASSERT_TRUE(surface->GetPixel(x, y, &ours));
        const COLORREF theirs = GetPixel(reference.dc(), x, y);
        const uint32_t kept = depth == 16 ? 0xF8FCF8u : 0xFFFFFFu;
        if ((theirs & kept) != (ours & kept)) ++differ;
        if ((ours & kept) != (0xFFFFFFu & kept)) ++drawn;
      }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(drawn, 500);  // the shapes are there
    surface->Delete(1);
    prototype->Delete(1);
  }
}

}  // namespace
