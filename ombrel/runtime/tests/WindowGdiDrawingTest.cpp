// The window functions that draw through the back buffer's device context
// (frames, polylines, brush fills, text) and what they list as dirty. They
// need the system's GDI, so the cases exist only in the Windows build (run
// under Wine), over a back buffer whose device context is a DIB section.
#include <gtest/gtest.h>

#ifdef _WIN32
#include "window/SystemHeaders.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "surface/SurfaceHandle.h"
#include "window/WindowDrawApi.h"

namespace {

// A 64 x 48 back buffer drawn through a memory DC on a 32-bit DIB section;
// records the text calls it is asked for.
class DCBuffer final : public cSurfaceImpl {
 public:
  DCBuffer() {
    view.width = 64;
    view.height = 48;
    view.depth = 32;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 64, -48, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    std::memset(bits_, 0, 64 * 48 * 4);
  }
  ~DCBuffer() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  void Delete(uint32_t) override {}
  cSurfaceImpl* MakeInstance(int32_t, int32_t) override { return nullptr; }
  int32_t HasDC() override { return 1; }
  void* GetDC() override {
    ++gets;
    return dc_;
  }
  void ReleaseDC(void* dc) override {
    if (dc == dc_) ++releases;
  }
  int32_t DrawText(const char* text, int32_t length, SurfaceRect* rect, uint32_t format,
                   uint32_t, void* font, uint32_t, uint32_t, uint32_t, uint32_t, int32_t leftMargin,
                   int32_t rightMargin, int32_t tabLength) override {
    texts.push_back({text, length, format, font, leftMargin, rightMargin, tabLength});
    rect->right += 100;  // as a measure that widens the rectangle would
    rect->bottom = rect->top + 13;
    return 13;
  }
  // 0x00RRGGBB as the section holds it.
  uint32_t Pixel(int x, int y) const {
    GdiFlush();
    return bits_[y * 64 + x] & 0xFFFFFF;
  }

  struct Text {
    const char* text;
    int32_t length;
    uint32_t format;
    void* font;
    int32_t leftMargin, rightMargin, tabLength;
  };
  std::vector<Text> texts;
  int gets = 0;
  int releases = 0;

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint32_t* bits_ = nullptr;
};

class WindowGdiDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(&window_, 0, sizeof window_);
    updates_.count = 0;
    window_.updates = &updates_;
    window_.penWidthLess1 = 0;
    window_.bkMode = OPAQUE;
    window_.rop2 = R2_COPYPEN;
    window_.backColour = 0xFFFFFF;
    cSurfaceHandle::AttachImpl(&handle_, &buffer_);
    window_.drawSurface = &handle_;
  }
  void TearDown() override {
    handle_.impl = nullptr;  // the buffer is the test's
    if (window_.pen != nullptr) DeleteObject(window_.pen);
  }
  void UsePen(int width, COLORREF colour) {
    if (window_.pen != nullptr) DeleteObject(window_.pen);
    window_.pen = CreatePen(PS_SOLID, width, colour);
    window_.penWidthLess1 = width - 1;
  }
  std::vector<SurfaceRect> Listed() const {
    return std::vector<SurfaceRect>(updates_.rects, updates_.rects + updates_.count);
  }
  static bool Same(const SurfaceRect& a, const SurfaceRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }

  DCBuffer buffer_;
  cSurfaceHandle handle_;
  WindowObject window_;
  UpdateList updates_;
};

TEST_F(WindowGdiDrawing, AFrameIsDrawnWithTheWindowPenAndListedWhole) {
  UsePen(3, RGB(255, 0, 0));
  const SurfaceRect r{10, 10, 50, 40};
  EXPECT_NE(WindowFrameRect(&window_, &r), 0);
  EXPECT_EQ(buffer_.Pixel(10, 10), 0xFF0000u);  // the outline
  EXPECT_EQ(buffer_.Pixel(30, 25), 0u);         // no fill
  ASSERT_EQ(updates_.count, 1);                 // the edge bands lie inside it
  EXPECT_TRUE(Same(updates_.rects[0], r));
  EXPECT_EQ(buffer_.gets, buffer_.releases);

  // Kept apart, the bands are held by the whole rectangle too.
  updates_.count = 0;
  window_.style = WindowStyleKeepApart;
  WindowFrameRect(&window_, &r);
  EXPECT_EQ(updates_.count, 1);
}

TEST_F(WindowGdiDrawing, AnXorFrameOfWidthOneIsAFocusRectangle) {
  window_.rop2 = R2_XORPEN;
  const SurfaceRect r{4, 4, 20, 20};
  EXPECT_NE(WindowFrameRect(&window_, &r), 0);
  EXPECT_NE(buffer_.Pixel(4, 4) | buffer_.Pixel(5, 4), 0u);  // the dotted edge
  EXPECT_EQ(buffer_.Pixel(12, 12), 0u);
}

TEST_F(WindowGdiDrawing, AFrameFromSixteenBitValuesTakesRightAndBottomInclusive) {
  EXPECT_NE(WindowFrameRect16(&window_, 1, 2, 3, 4), 0);
  ASSERT_EQ(updates_.count, 1);
  EXPECT_TRUE(Same(updates_.rects[0], SurfaceRect{1, 2, 4, 5}));
}

TEST_F(WindowGdiDrawing, APolylineListsItsBoxWithTheLastColumnAndThePensReach) {
  const SurfacePoint points[] = {{5, 5}, {20, 5}, {20, 30}};
  UsePen(1, RGB(0, 255, 0));
  WindowPolyline(&window_, points, 2);
  EXPECT_EQ(buffer_.Pixel(12, 5), 0x00FF00u);
  EXPECT_EQ(buffer_.Pixel(20, 29), 0x00FF00u);
  ASSERT_EQ(updates_.count, 1);
  EXPECT_TRUE(Same(updates_.rects[0], SurfaceRect{5, 5, 21, 31}));

  updates_.count = 0;
  UsePen(3, RGB(0, 0, 255));
  WindowPolyline(&window_, points, 2);
  ASSERT_EQ(updates_.count, 1);
  EXPECT_TRUE(Same(updates_.rects[0], SurfaceRect{3, 3, 23, 33}));
  EXPECT_EQ(buffer_.Pixel(12, 4), 0x0000FFu);  // a wide pen reaches above the points
}

TEST_F(WindowGdiDrawing, ABrushFillCoversItsRectangleExclusive) {
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  WindowFillRectBrush(&window_, 0, 0, 8, 8, brush);
  DeleteObject(brush);
  EXPECT_EQ(buffer_.Pixel(7, 7), 0x0000FFu);
  EXPECT_EQ(buffer_.Pixel(8, 8), 0u);
  ASSERT_EQ(updates_.count, 1);
  EXPECT_TRUE(Same(updates_.rects[0], SurfaceRect{0, 0, 8, 8}));
}

TEST_F(WindowGdiDrawing, MeasuringTextChangesOnlyTheBottomAndListsNothing) {
  struct Row {
    int32_t format;
    uint32_t passed;
  };
  const Row rows[] = {
      {0x8000 | DT_CENTER | DT_VCENTER | DT_NOCLIP, DT_CENTER | DT_VCENTER | 0x50 | 0x400 | 0x800},
      {0x8000 | 0x4000 | DT_RIGHT | DT_SINGLELINE, DT_RIGHT | DT_SINGLELINE | 0x50 | 0x400},
  };
  for (const Row& r : rows) {
    buffer_.texts.clear();
    SurfaceRect rect{2, 3, 40, 30};
    const int32_t result = WindowDrawText(&window_, nullptr, &rect, "measure me", 0, r.format);
    EXPECT_EQ(result, 13);
    ASSERT_EQ(buffer_.texts.size(), 1u);
    EXPECT_EQ(buffer_.texts[0].format, r.passed) << std::hex << r.format;
    EXPECT_EQ(buffer_.texts[0].length, -1);
    EXPECT_EQ(buffer_.texts[0].tabLength, 8);
    EXPECT_EQ(rect.right, 40);
    EXPECT_EQ(rect.bottom, 16);
    EXPECT_EQ(updates_.count, 0);
  }
}

TEST_F(WindowGdiDrawing, DrawnTextKeepsTheFormatAndListsTheRectangle) {
  SurfaceRect rect{2, 3, 40, 30};
  HFONT font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(WindowDrawText(&window_, font, &rect, "shown", 0xFFFFFF, DT_LEFT | DT_TOP), 13);
  ASSERT_EQ(buffer_.texts.size(), 1u);
  EXPECT_EQ(buffer_.texts[0].format, uint32_t(DT_LEFT | DT_TOP));
  EXPECT_EQ(buffer_.texts[0].font, font);
  ASSERT_EQ(updates_.count, 1);
  EXPECT_TRUE(Same(updates_.rects[0], rect));
}

TEST_F(WindowGdiDrawing, TheSurfaceDCIsLentAndGivenBack) {
  void* dc = WindowGetSurfaceDC(&window_);
  EXPECT_NE(dc, nullptr);
  WindowReleaseSurfaceDC(&window_, dc);
  EXPECT_EQ(buffer_.releases, 1);
}

TEST_F(WindowGdiDrawing, WithoutASurfaceNothingIsDrawnOrListed) {
  window_.drawSurface = nullptr;
  const SurfaceRect r{0, 0, 10, 10};
  const SurfacePoint points[] = {{0, 0}, {5, 5}};
  SurfaceRect text{0, 0, 10, 10};
  EXPECT_EQ(WindowFrameRect(&window_, &r), 0);
  EXPECT_EQ(WindowFrameRect16(&window_, 0, 0, 5, 5), 0);
  WindowPolyline(&window_, points, 1);
  WindowFillRectBrush(&window_, 0, 0, 5, 5, GetStockObject(BLACK_BRUSH));
  EXPECT_EQ(WindowDrawText(&window_, nullptr, &text, "x", 0, 0), 0);
  EXPECT_EQ(WindowGetSurfaceDC(&window_), nullptr);
  EXPECT_EQ(WindowGrabScreen(nullptr), 0);
  EXPECT_EQ(updates_.count, 0);
  EXPECT_EQ(buffer_.gets, 0);
}

}  // namespace
#endif  // _WIN32
