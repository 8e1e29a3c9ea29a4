// The shapes and gradients that draw through a device context, on the
// library's DIB-section surfaces and on a stand-in back end (a surface laid
// over a DIB section with a memory device context and no origin of its own,
// installed as the own-DC prototype so that the painted shapes' temporaries
// are made of it too). Checked: the handle's origin applied once, the
// handle's clip and the context's own clip put back, gradient bands, and
// painted shapes' parts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "paint/cPaintGradient.h"
#include "paint/cPaintSolid.h"
#include "paint/cPaintTile.h"
#include "support/SurfaceHandleFixture.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceLibraryApi.h"
#include "surface/cSurfaceImpl.h"

// After the surface headers: its TextOut and DrawText macros would rename
// the table's slots.
#include <windows.h>

namespace {

// A 32-bit surface over a top-down DIB section selected into a memory device
// context. The context has no origin of its own (HasDC false), so the handle
// translates positions.
class DibStandIn final : public cSurfaceImpl {
 public:
  static DibStandIn* CreatePrototype() {
    DibStandIn* p = NewSurfaceObject<DibStandIn>();
    if (p != nullptr) p->SetDepthAndPalette(32);
    return p;
  }
  void Delete(uint32_t flags) override {
    if (dc_ != nullptr) {
      SelectObject(dc_, oldBitmap_);
      DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (counted_) --live;
    view.buffer = view.firstRow = nullptr;
    cSurfaceImpl::Delete(flags);
  }
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override {
    DibStandIn* s = NewSurfaceObject<DibStandIn>();
    if (s == nullptr) return nullptr;
    s->InitFrom(this, width, height, uint32_t(width) * 4);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    s->bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    s->dc_ = CreateCompatibleDC(nullptr);
    if (s->bitmap_ == nullptr || s->dc_ == nullptr) {
      s->Delete(1);
      return nullptr;
    }
    s->oldBitmap_ = SelectObject(s->dc_, s->bitmap_);
    s->view.bottomUp = 0;
    s->view.pitch = width * 4;
    s->view.buffer = s->view.firstRow = static_cast<uint8_t*>(bits);
    s->counted_ = true;
    ++made;
    ++live;
    return s;
  }
  void* GetDC() override { return dc_; }
  void ReleaseDC(void*) override {}

  static int made;  // instances made and still alive
  static int live;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  bool counted_ = false;
};
int DibStandIn::made = 0;
int DibStandIn::live = 0;

constexpr int32_t kSize = 24;
constexpr uint32_t kBack = 0x00101010;
constexpr uint32_t kRed = 0x000000FF, kGreen = 0x0000FF00, kBlue = 0x00FF0000;

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

// What the drawn-on surfaces are: the stand-in (which also makes the painted
// shapes' temporaries), the library's own DIB sections with their own
// context, or its DIB sections that make a context when asked (these apply
// the handle's origin in the context themselves).
enum class Backing { StandIn, OwnContext, ContextOnDemand };

std::string BackingName(const ::testing::TestParamInfo<Backing>& info) {
  switch (info.param) {
    case Backing::StandIn: return "StandIn";
    case Backing::OwnContext: return "OwnContext";
    default: return "ContextOnDemand";
  }
}

class DeviceShapesOnDib : public SurfaceHandleFixture, public ::testing::WithParamInterface<Backing> {
 protected:
  // The stand-in takes the place of whatever own-DC prototype the library
  // has, which comes back afterwards (other tests of the process may use it).
  void SetUp() override {
    SurfaceHandleFixture::SetUp();
    SurfaceLibraryInit();
    if (GetParam() == Backing::StandIn) {
      cSurfaceHandle* prototype = GetOwnDCPrototype(32);
      kept_ = prototype->impl;
      prototype->impl = DibStandIn::CreatePrototype();
      ASSERT_NE(prototype->impl, nullptr);
    }
    Make(surface_, kSize, kSize);
  }
  void TearDown() override {
    surface_.Destroy();
    if (GetParam() == Backing::StandIn) {
      cSurfaceHandle* prototype = GetOwnDCPrototype(32);
      if (prototype->impl != nullptr) prototype->impl->Delete(1);
      prototype->impl = kept_;
    }
    SurfaceLibraryExit();
    SurfaceHandleFixture::TearDown();
  }
  cSurfaceHandle* SurfacePrototype() {
    if (GetParam() != Backing::ContextOnDemand) return GetOwnDCPrototype(32);
    cSurfaceHandle* prototype = nullptr;
    GetSurfacePrototype(&prototype, 32, SurfaceTypeScreen, 0);
    return prototype;
  }
  void Make(cSurfaceHandle& h, int32_t w, int32_t hh) {
    ASSERT_NE(h.Create(w, hh, SurfacePrototype()), nullptr);
    ASSERT_EQ(h.FillAll(kBack), 1);
  }
  // The pixel at implementation (x, y), as a colour.
  uint32_t At(int32_t x, int32_t y) {
    GdiFlush();
    return surface_.GetBufferPixel(x, y);
  }
  HDC Dc() { return static_cast<HDC>(cSurfaceHandle::GetImpl(&surface_)->GetDC()); }
  // Every pixel outside [left, right) x [top, bottom) (implementation
  // coordinates) is still the background.
  void ExpectNothingOutside(int32_t left, int32_t top, int32_t right, int32_t bottom, const std::string& what) {
    for (int32_t y = 0; y < kSize; ++y)
      for (int32_t x = 0; x < kSize; ++x) {
        if (x < left || x >= right || y < top || y >= bottom) {
          ASSERT_EQ(At(x, y), kBack) << what << " outside at " << x << ", " << y;
        }
      }
  }
  cSurfaceHandle surface_;
  cSurfaceImpl* kept_ = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Backings, DeviceShapesOnDib,
                         ::testing::Values(Backing::StandIn, Backing::OwnContext, Backing::ContextOnDemand),
                         BackingName);

TEST_P(DeviceShapesOnDib, ShapesMoveWithTheOriginAndStayInTheClip) {
  surface_.SetOrigin(-3, -2);  // handle (x, y) is implementation (x + 3, y + 2)
  ASSERT_EQ(surface_.Ellipse(9, 9, 1, 1, kRed, 0, 0, 1), 1);  // corners sorted
  ExpectNothingOutside(4, 3, 12, 11, "ellipse");
  EXPECT_EQ(At(8, 7), kRed);
  EXPECT_EQ(At(4, 7), kRed);
  EXPECT_EQ(At(4, 3), kBack);

  surface_.FillAll(kBack);
  surface_.SetClipRect(0, 0, 5, 30);  // handle x 0..4: implementation x 3..7
  ASSERT_EQ(surface_.Line(-2, 5, 15, 5, 3, kGreen), 1);
  ExpectNothingOutside(3, 6, 8, 9, "clipped wide line");
  for (int32_t x = 3; x < 8; ++x)
    for (int32_t y = 6; y < 9; ++y) EXPECT_EQ(At(x, y), kGreen) << x << ", " << y;
  // The context's own clip is back: none.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(Dc(), region), 0);
  DeleteObject(region);
}

// Surfaces that keep their context: what the context had selected stays.
class DeviceShapesKeepingContexts : public DeviceShapesOnDib {};
INSTANTIATE_TEST_SUITE_P(Backings, DeviceShapesKeepingContexts,
                         ::testing::Values(Backing::StandIn, Backing::OwnContext), BackingName);

TEST_P(DeviceShapesKeepingContexts, TheContextsOwnClipRegionIsPutBack) {
  HRGN own = CreateRectRgn(2, 2, 20, 20);
  SelectClipRgn(Dc(), own);
  ASSERT_EQ(surface_.Ellipse(0, 0, 24, 24, kRed, 0, 0, 1), 1);
  ExpectNothingOutside(2, 2, 20, 20, "own clip");
  HRGN after = CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(GetClipRgn(Dc(), after), 1);
  EXPECT_TRUE(EqualRgn(own, after));
  DeleteObject(own);
  DeleteObject(after);
}

TEST_P(DeviceShapesOnDib, PolygonsDrawAShiftedCopyOfThePoints) {
  surface_.SetOrigin(4, 0);
  const int32_t points[] = {6, 2, 16, 2, 6, 12};
  ASSERT_EQ(surface_.Polygon(points, 3, kBlue, 0, 0, 1), 1);
  EXPECT_EQ(points[0], 6);  // the caller's points are left alone
  ExpectNothingOutside(2, 2, 13, 13, "polygon");
  EXPECT_EQ(At(3, 4), kBlue);
  EXPECT_EQ(At(11, 10), kBack);
  surface_.PolygonOutline(points, 3, 1, kRed);
  EXPECT_EQ(At(2, 8), kRed);
}

// Vertical bands of a 30-band gradient over 60 rows: band k is rows 2k and
// 2k + 1 in colour (10 + k, 20, 30 - k), across the rectangle's width.
TEST_P(DeviceShapesOnDib, GradientBandsFillTheirRowsAcrossTheRectangle) {
  cSurfaceHandle tall;
  Make(tall, 8, 64);
  tall.SetOrigin(0, -2);
  cPaintGradient paint(Rgb(10, 20, 30), Rgb(40, 20, 0), 1, 0, 0);
  ASSERT_EQ(tall.FillRectPaint(1, 0, 5, 60, &paint), 1);
  for (int32_t y = 0; y < 64; ++y)
    for (int32_t x = 0; x < 8; ++x) {
      const bool inside = x >= 1 && x < 6 && y >= 2 && y < 62;
      const uint32_t k = uint32_t(y - 2) / 2;
      GdiFlush();
      ASSERT_EQ(tall.GetBufferPixel(x, y), inside ? Rgb(10 + k, 20, 30 - k) : kBack) << x << ", " << y;
    }
  // Across: the bands run left to right.
  cPaintGradient across(Rgb(0, 10, 0), Rgb(0, 13, 0), 0, 0, 0);
  ASSERT_EQ(surface_.FillRectPaint(0, 0, 9, 2, &across), 1);
  for (int32_t x = 0; x < 9; ++x) EXPECT_EQ(At(x, 1), Rgb(0, 10 + uint32_t(x / 3), 0)) << x;
}

TEST_P(DeviceShapesOnDib, PaintedRectanglesDrawOutlineAndInside) {
  cPaintSolid inside(kBlue), outline(0);  // black is stored as 8 and stays visible
  ASSERT_EQ(surface_.PaintRectangle(14, 12, 2, 2, &inside, 2, &outline, 0, 0, 0, 0, 1), 1);
  for (int32_t y = 0; y < kSize; ++y)
    for (int32_t x = 0; x < kSize; ++x) {
      const bool in = x >= 2 && x < 14 && y >= 2 && y < 12;
      const bool band = in && (x < 4 || x >= 12 || y < 4 || y >= 10);
      ASSERT_EQ(At(x, y), !in ? kBack : band ? 8u : kBlue) << x << ", " << y;
    }
}

// A tile inside a clipped painted rectangle is anchored at the shape's
// top-left, and the paint's own offsets come back afterwards.
TEST_P(DeviceShapesOnDib, PaintedShapesAnchorThePaintAtTheShape) {
  cSurfaceHandle pattern;
  Make(pattern, 3, 2);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) pattern.SetPixel(x, y, Rgb(40 * (x + 1), 50 * (y + 1), 7));
  cPaintTile tile(&pattern, 5, 9);
  surface_.SetClipRect(6, 4, 30, 30);
  ASSERT_EQ(surface_.PaintRectangle(3, 2, 13, 11, &tile, 0, nullptr, 0, 0, 0, 0, 1), 1);
  EXPECT_EQ(tile.offsetX, 5);
  EXPECT_EQ(tile.offsetY, 9);
  for (int32_t y = 0; y < kSize; ++y)
    for (int32_t x = 0; x < kSize; ++x) {
      const bool in = x >= 6 && x < 13 && y >= 4 && y < 11;
      ASSERT_EQ(At(x, y), in ? Rgb(40 * ((x - 3) % 3 + 1), 50 * ((y - 2) % 2 + 1), 7) : kBack)
          << x << ", " << y;
    }
}

// A gradient in a clipped painted rectangle: the visible rows keep the
// colours of their rows in the whole shape.
TEST_P(DeviceShapesOnDib, PaintedGradientsContinueFromTheVisibleRow) {
  cPaintGradient gradient(Rgb(0, 10, 0), Rgb(0, 13, 0), 1, 7, 1);  // 3 bands
  surface_.SetClipRect(0, 4, 30, 30);
  ASSERT_EQ(surface_.PaintRectangle(2, 0, 6, 9, &gradient, 0, nullptr, 0, 0, 0, 0, 1), 1);
  EXPECT_EQ(gradient.originX, 7);
  EXPECT_EQ(gradient.originY, 1);
  for (int32_t y = 0; y < kSize; ++y)
    for (int32_t x = 0; x < kSize; ++x) {
      const bool in = x >= 2 && x < 6 && y >= 4 && y < 9;
      ASSERT_EQ(At(x, y), in ? Rgb(0, 10 + uint32_t(y / 3), 0) : kBack) << x << ", " << y;
    }
}

TEST_P(DeviceShapesOnDib, PaintedEllipsePolygonAndLineKeepToTheirShapes) {
  cPaintSolid inside(kBlue), outline(kRed);
  ASSERT_EQ(surface_.PaintEllipse(0, 0, 15, 15, &inside, 3, &outline, 0, 0, 0, 0, 1), 1);
  ExpectNothingOutside(0, 0, 15, 15, "painted ellipse");
  EXPECT_EQ(At(7, 7), kBlue);
  EXPECT_EQ(At(0, 7), kRed);
  EXPECT_EQ(At(7, 14), kRed);
  EXPECT_EQ(At(0, 0), kBack);

  surface_.FillAll(kBack);
  const int32_t points[] = {2, 2, 20, 2, 2, 20};
  ASSERT_EQ(surface_.PaintPolygon(points, 3, &inside, 1, &outline, 0, 0, 0, 0, 1), 1);
  ExpectNothingOutside(2, 2, 21, 21, "painted polygon");
  EXPECT_EQ(At(2, 10), kRed);
  EXPECT_EQ(At(10, 2), kRed);
  EXPECT_EQ(At(6, 6), kBlue);
  EXPECT_EQ(At(18, 18), kBack);

  // Width 1 is the Bresenham walk; wider lines are the platform's pen.
  surface_.FillAll(kBack);
  ASSERT_EQ(surface_.PaintLine(1, 1, 6, 3, 1, &outline, 0, 0, 0, 0), 1);
  const int32_t walk[][2] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 3}};
  int32_t red = 0;
  for (int32_t y = 0; y < kSize; ++y)
    for (int32_t x = 0; x < kSize; ++x) red += At(x, y) == kRed ? 1 : 0;
  EXPECT_EQ(red, 6);
  for (const auto& p : walk) EXPECT_EQ(At(p[0], p[1]), kRed) << p[0] << ", " << p[1];
  surface_.FillAll(kBack);
  ASSERT_EQ(surface_.PaintLine(2, 10, 18, 10, 3, &inside, 0, 0, 0, 0), 1);
  ExpectNothingOutside(0, 8, 21, 13, "painted wide line");
  EXPECT_EQ(At(10, 9), kBlue);
  EXPECT_EQ(At(10, 11), kBlue);
}

// The stand-in counts its instances.
class DeviceShapesOnStandIn : public DeviceShapesOnDib {};
INSTANTIATE_TEST_SUITE_P(Backings, DeviceShapesOnStandIn, ::testing::Values(Backing::StandIn), BackingName);

TEST_P(DeviceShapesOnStandIn, PaintedShapesGiveTheirTemporariesBack) {
  cPaintSolid paint(kRed);
  const int made = DibStandIn::made, live = DibStandIn::live;
  ASSERT_EQ(surface_.PaintEllipse(0, 0, 9, 9, &paint, 1, &paint, 0, 0, 0, 0, 1), 1);
  EXPECT_EQ(DibStandIn::made, made + 2);  // picture and mask, made once for both parts
  EXPECT_EQ(DibStandIn::live, live);
}

}  // namespace

namespace {

// A memory surface has no context, but the painted shapes only need one on
// their temporaries, which the library's own DIB sections have.
class PaintedShapesOnMemory : public SurfaceHandleFixture, public ::testing::WithParamInterface<int32_t> {
 protected:
  void SetUp() override {
    SurfaceHandleFixture::SetUp();
    SurfaceLibraryInit();
  }
  void TearDown() override {
    SurfaceLibraryExit();
    SurfaceHandleFixture::TearDown();
  }
};
INSTANTIATE_TEST_SUITE_P(Depths, PaintedShapesOnMemory, ::testing::Values(8, 16, 24, 32));

TEST_P(PaintedShapesOnMemory, DrawThroughTheirTemporaries) {
  cSurfaceHandle* prototype = nullptr;
  GetSurfacePrototype(&prototype, GetParam(), SurfaceTypeMemory, 0);
  cSurfaceHandle h;
  ASSERT_NE(h.Create(16, 16, prototype), nullptr);
  uint32_t back = 0, inside = 0, outline = 0;  // the colours as the surface stores them
  ASSERT_EQ(h.FillAll(kBlue), 1);
  h.GetPixel(0, 0, &inside);
  ASSERT_EQ(h.FillAll(kRed), 1);
  h.GetPixel(0, 0, &outline);
  ASSERT_EQ(h.FillAll(0x00FFFFFF), 1);
  h.GetPixel(0, 0, &back);
  cPaintSolid insidePaint(inside), outlinePaint(outline);
  ASSERT_EQ(h.PaintRectangle(2, 3, 12, 14, &insidePaint, 2, &outlinePaint, 0, 0, 0, 0, 1), 1);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x) {
      const bool in = x >= 2 && x < 12 && y >= 3 && y < 14;
      const bool band = in && (x < 4 || x >= 10 || y < 5 || y >= 12);
      uint32_t got = 0;
      h.GetPixel(x, y, &got);
      ASSERT_EQ(got, !in ? back : band ? outline : inside) << x << ", " << y;
    }
}

}  // namespace
