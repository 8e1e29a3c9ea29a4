// The device-context drawing helpers on a DIB section the test makes: where
// their pens and boxes put pixels, and that they leave the context's own pen
// and brush selected.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "surface/GdiDraw.h"

namespace {

constexpr int32_t kSize = 16;
constexpr uint32_t kPaper = 0x00FFFFFF;
constexpr uint32_t kPen = 0x000000FF;   // red
constexpr uint32_t kFill = 0x00FF0000;  // blue

class GdiDrawOnDib : public ::testing::Test {
 protected:
  void SetUp() override {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kSize;
    info.bmiHeader.biHeight = -kSize;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap_, nullptr);
    pixels_ = static_cast<uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc_, nullptr);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    Clear();
  }
  void Clear() {
    GdiFlush();
    for (int32_t i = 0; i < kSize * kSize; ++i) pixels_[i] = kPaper;
  }
  void TearDown() override {
    if (dc_ != nullptr) {
      SelectObject(dc_, oldBitmap_);
      DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
  }
  // The pixel as a COLORREF (the section stores 0x00RRGGBB).
  uint32_t At(int32_t x, int32_t y) {
    GdiFlush();
    const uint32_t p = pixels_[y * kSize + x];
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
  }
  // Every pixel outside [left, right) x [top, bottom) is still paper.
  void ExpectNothingOutside(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    for (int32_t y = 0; y < kSize; ++y)
      for (int32_t x = 0; x < kSize; ++x) {
        if (x < left || x >= right || y < top || y >= bottom) {
          EXPECT_EQ(At(x, y), kPaper) << "outside the box at " << x << ", " << y;
        }
      }
  }
  void ExpectEvery(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour) {
    for (int32_t y = top; y < bottom; ++y)
      for (int32_t x = left; x < right; ++x) EXPECT_EQ(At(x, y), colour) << "at " << x << ", " << y;
  }

  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  HDC dc_ = nullptr;
  uint32_t* pixels_ = nullptr;
};

TEST(GdiPenBox, ShrinksSoTheOutlineLiesInside) {
  struct Case {
    int32_t width;
    SurfaceRect expected;
  };
  const Case cases[] = {
      {0, {0, 0, 10, 10}}, {1, {0, 0, 10, 10}}, {2, {1, 1, 10, 10}},
      {3, {1, 1, 9, 9}},   {4, {2, 2, 9, 9}},   {5, {2, 2, 8, 8}},
  };
  for (const Case& c : cases) {
    const SurfaceRect box = GdiPenBox(0, 0, 10, 10, c.width);
    EXPECT_EQ(box.left, c.expected.left) << "width " << c.width;
    EXPECT_EQ(box.top, c.expected.top) << "width " << c.width;
    EXPECT_EQ(box.right, c.expected.right) << "width " << c.width;
    EXPECT_EQ(box.bottom, c.expected.bottom) << "width " << c.width;
  }
}

// Width 3 on (0, 0, 10, 10) strokes (1, 1, 9, 9): a 3-pixel band along the
// inside of the given box, nothing beyond it, the middle left alone.
TEST_F(GdiDrawOnDib, WideHollowRectangleStaysInsideItsBox) {
  ASSERT_TRUE(GdiRectangle(dc_, 0, 0, 10, 10, kFill, 3, kPen, 0));
  ExpectNothingOutside(0, 0, 10, 10);
  ExpectEvery(3, 3, 7, 7, kPaper);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(At(i, 5), kPen) << i;
    EXPECT_EQ(At(9 - i, 5), kPen) << i;
    EXPECT_EQ(At(5, i), kPen) << i;
    EXPECT_EQ(At(5, 9 - i), kPen) << i;
  }
}

TEST_F(GdiDrawOnDib, OutlineBandIsAsWideAsThePen) {
  for (int32_t w = 1; w <= 5; ++w) {
    Clear();
    ASSERT_TRUE(GdiRectangle(dc_, 2, 2, 14, 14, kFill, w, kPen, 1));
    ExpectNothingOutside(2, 2, 14, 14);
    for (int32_t x = 2; x < 14; ++x) {
      const bool band = x < 2 + w || x >= 14 - w;
      EXPECT_EQ(At(x, 8), band ? kPen : kFill) << "width " << w << " x " << x;
      EXPECT_EQ(At(8, x), band ? kPen : kFill) << "width " << w << " y " << x;
    }
  }
}

TEST_F(GdiDrawOnDib, FilledRectangleWithoutPenCoversTheWholeBox) {
  ASSERT_TRUE(GdiRectangle(dc_, 2, 3, 12, 9, kFill, 0, kPen, 1));
  ExpectNothingOutside(2, 3, 12, 9);
  ExpectEvery(2, 3, 12, 9, kFill);
}

TEST_F(GdiDrawOnDib, EllipsesStayInsideTheirBoxAndReachEachSide) {
  struct Case {
    int32_t width;
    int32_t filled;
    uint32_t centre;  // the colour at the box's centre
    uint32_t sides;   // the colour in the middle of each side
  };
  const Case cases[] = {
      {0, 1, kFill, kFill},
      {1, 1, kFill, kPen},
      {3, 0, kPaper, kPen},
      {3, 1, kFill, kPen},
  };
  for (const Case& c : cases) {
    Clear();
    ASSERT_TRUE(GdiEllipse(dc_, 0, 0, 11, 11, kFill, c.width, kPen, c.filled));
    ExpectNothingOutside(0, 0, 11, 11);
    EXPECT_EQ(At(5, 5), c.centre) << "width " << c.width;
    EXPECT_EQ(At(0, 5), c.sides) << "width " << c.width;
    EXPECT_EQ(At(10, 5), c.sides) << "width " << c.width;
    EXPECT_EQ(At(5, 0), c.sides) << "width " << c.width;
    EXPECT_EQ(At(5, 10), c.sides) << "width " << c.width;
    EXPECT_EQ(At(0, 0), kPaper) << "corner, width " << c.width;
  }
}

TEST_F(GdiDrawOnDib, PolygonsFollowThePenAndBrushRule) {
  const int32_t triangle[] = {1, 1, 13, 1, 1, 13};
  ASSERT_TRUE(GdiPolygon(dc_, triangle, 3, kFill, 0, kPen, 1));
  ExpectNothingOutside(1, 1, 14, 14);
  EXPECT_EQ(At(3, 3), kFill);
  EXPECT_EQ(At(1, 5), kFill);
  EXPECT_EQ(At(12, 12), kPaper);

  Clear();
  ASSERT_TRUE(GdiPolygon(dc_, triangle, 3, kFill, 1, kPen, 0));
  EXPECT_EQ(At(1, 5), kPen);
  EXPECT_EQ(At(5, 1), kPen);
  EXPECT_EQ(At(3, 3), kPaper) << "hollow";
  EXPECT_EQ(At(12, 12), kPaper);

  EXPECT_FALSE(GdiPolygon(dc_, nullptr, 3, kFill, 1, kPen, 1));
  EXPECT_FALSE(GdiPolygon(dc_, triangle, 1, kFill, 1, kPen, 1));
}

TEST_F(GdiDrawOnDib, LinesStopBeforeTheirEndPoint) {
  ASSERT_TRUE(GdiLine(dc_, 1, 1, 8, 1, 1, kPen));
  ExpectEvery(1, 1, 8, 2, kPen);
  EXPECT_EQ(At(8, 1), kPaper);
  EXPECT_EQ(At(0, 1), kPaper);
  ASSERT_TRUE(GdiLine(dc_, 3, 6, 12, 6, 3, kPen));
  ExpectEvery(3, 5, 12, 8, kPen);
  EXPECT_EQ(At(7, 4), kPaper);
  EXPECT_EQ(At(7, 8), kPaper);
}

TEST_F(GdiDrawOnDib, FillRectSolidFillsExactlyTheRectangle) {
  const SurfaceRect r{2, 3, 5, 7};
  ASSERT_TRUE(FillRectSolid(dc_, &r, kFill));
  ExpectNothingOutside(2, 3, 5, 7);
  ExpectEvery(2, 3, 5, 7, kFill);
  EXPECT_FALSE(FillRectSolid(dc_, nullptr, kFill));
}

TEST_F(GdiDrawOnDib, LeavesTheContextsPenAndBrushSelected) {
  HGDIOBJ pen = GetCurrentObject(dc_, OBJ_PEN), brush = GetCurrentObject(dc_, OBJ_BRUSH);
  const int32_t points[] = {1, 1, 5, 1, 1, 5};
  const SurfaceRect r{0, 0, 4, 4};
  EXPECT_TRUE(GdiRectangle(dc_, 0, 0, 8, 8, kFill, 2, kPen, 1));
  EXPECT_TRUE(GdiRectangle(dc_, 0, 0, 8, 8, kFill, 0, kPen, 1));
  EXPECT_TRUE(GdiEllipse(dc_, 0, 0, 8, 8, kFill, 2, kPen, 0));
  EXPECT_TRUE(GdiPolygon(dc_, points, 3, kFill, 2, kPen, 1));
  EXPECT_TRUE(GdiLine(dc_, 0, 0, 8, 8, 2, kPen));
  EXPECT_TRUE(FillRectSolid(dc_, &r, kFill));
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc_, OBJ_BRUSH), brush);
}

TEST(GdiDrawWithoutContext, DrawsNothingAndFails) {
  const int32_t points[] = {1, 1, 5, 1, 1, 5};
  const SurfaceRect r{0, 0, 4, 4};
  EXPECT_FALSE(FillRectSolid(nullptr, &r, kFill));
  EXPECT_FALSE(GdiEllipse(nullptr, 0, 0, 8, 8, kFill, 1, kPen, 1));
  EXPECT_FALSE(GdiPolygon(nullptr, points, 3, kFill, 1, kPen, 1));
  EXPECT_FALSE(GdiRectangle(nullptr, 0, 0, 8, 8, kFill, 1, kPen, 1));
  EXPECT_FALSE(GdiLine(nullptr, 0, 0, 8, 8, 1, kPen));
}

}  // namespace
