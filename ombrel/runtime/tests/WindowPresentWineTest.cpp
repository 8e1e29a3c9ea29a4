// A host program drawing into a window's back buffer by ordinal and
// presenting it: the client area read back through the window's device
// context shows the buffer exactly where the dirty list said, and keeps a
// sentinel colour everywhere else.
#include <windows.h>

#include "DisplayHost.h"
#include "WindowHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace window_offsets;

constexpr COLORREF kSentinel = RGB(0x12, 0xEE, 0x34);

struct Rect {
  int32_t left, top, right, bottom;
  bool Holds(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The client area as 0x00BBGGRR; all zeros, with a failure, when it cannot
// be read back.
std::vector<uint32_t> ReadClient(HWND hwnd, int32_t width, int32_t height) {
  std::vector<uint32_t> shown = ReadBackWindow(hwnd, 0, 0, width, height);
  if (shown.empty()) ADD_FAILURE() << "the client area could not be read back";
  shown.resize(size_t(width) * height);
  return shown;
}

void PaintSentinel(HWND hwnd) {
  HDC dc = GetDC(hwnd);
  RECT r;
  GetClientRect(hwnd, &r);
  HBRUSH brush = CreateSolidBrush(kSentinel);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  GdiFlush();
  ReleaseDC(hwnd, dc);
}

// Parameter: the back buffer's surface type (0 memory, 1 DIB section).
class WindowPresentHost : public LibraryWindowTest<::testing::TestWithParam<int32_t>> {
 protected:
  WindowPresentHost() : LibraryWindowTest("OmbrelPresentWindow") {}
  // A sprite window at the screen's top-left with a client of w x h and a
  // buffer of bw x bh painted with a pattern.
  void Open(int32_t w, int32_t h, int32_t bw, int32_t bh, uint32_t flags) {
    WindowDescriptor76 d = Descriptor(className_, -w, -h, -bw, -bh, 1);
    d.style = WS_POPUP;
    d.x = d.y = 0;
    d.flags = flags;
    window_ = api_.create(app_, &d);
    ASSERT_GT(reinterpret_cast<uintptr_t>(window_), 2u);
    hwnd_ = Field<HWND>(window_, kHwnd);
    // Shown without taking the focus: the end of an active window waits
    // seconds for the display server without a window manager.
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    buffer_ = api_.NewBuffer(bw, bh, 0x00404040, GetParam());
    ASSERT_NE(buffer_, nullptr);
    for (int32_t y = 0; y < bh; y += 8)
      for (int32_t x = 0; x < bw; x += 8) api_.surfaceFillRect(buffer_, x, y, 8, 8, Pattern(x, y));
    ASSERT_EQ(api_.attachSurface(window_, buffer_), 1);
    Pump();
    PaintSentinel(hwnd_);
  }
  // The buffer's picture before drawing: 8 x 8 blocks of distinct colours.
  static uint32_t Pattern(int32_t x, int32_t y) {
    x -= x % 8;
    y -= y % 8;
    return uint32_t(x * 3 % 256) | uint32_t(y * 5 % 256) << 8 | 0x800000;
  }
  uint32_t BufferPixel(int32_t x, int32_t y) {
    uint32_t c = 0xDEADBEEF;
    api_.getPixel(buffer_, x, y, &c);
    return c;
  }
  std::vector<Rect> Listed() {
    const int32_t* list = api_.getUpdateList(window_);
    std::vector<Rect> out;
    for (int32_t i = 0; i < list[0]; ++i)
      out.push_back({list[1 + 4 * i], list[2 + 4 * i], list[3 + 4 * i], list[4 + 4 * i]});
    return out;
  }
  // Expects the client area's width x height pixels to be expected(x, y).
  template <class Expected>
  void ExpectClient(int32_t width, int32_t height, Expected expected) {
    const std::vector<uint32_t> shown = ReadClient(hwnd_, width, height);
    int wrong = 0;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) {
        const uint32_t want = expected(x, y);
        if (shown[size_t(y) * width + x] != want && ++wrong <= 5)
          ADD_FAILURE() << "pixel " << x << "," << y << " shows " << std::hex
                        << shown[size_t(y) * width + x] << ", expected " << want;
      }
    EXPECT_EQ(wrong, 0);
  }
  // The 320 x 240 client shows the buffer inside the listed rectangles and
  // keeps the sentinel everywhere else.
  void ExpectBufferOnlyInside(const std::vector<Rect>& listed) {
    ExpectClient(320, 240, [&](int32_t x, int32_t y) {
      bool dirty = false;
      for (const Rect& r : listed) dirty = dirty || r.Holds(x, y);
      return dirty ? BufferPixel(x, y) : uint32_t(kSentinel);
    });
  }

  void* window_ = nullptr;
  HWND hwnd_ = nullptr;
  Handle* buffer_ = nullptr;  // the window's from attachment on
};

TEST_P(WindowPresentHost, PresentShowsTheBufferInsideTheDirtyRectanglesOnly) {
  Open(320, 240, 320, 240, 0);
  api_.clearUpdates(window_);
  api_.fillRect(window_, 10, 10, 59, 39, 0x000000FF);
  api_.fillRect(window_, 40, 30, 99, 79, 0x0000FF00);  // overlaps: merged
  api_.fillRect(window_, 200, 150, 209, 159, 0x00FF0000);
  api_.addUpdate(window_, 300, 220, 340, 260);           // reaches past the client
  const std::vector<Rect> listed = Listed();
  ASSERT_EQ(listed.size(), 3u);
  api_.present(window_);
  EXPECT_EQ(Listed().size(), 0u);
  ExpectBufferOnlyInside(listed);
}

TEST_P(WindowPresentHost, AStretchedPresentDoublesEveryPixelAndKeepsTheWholeBufferListed) {
  Open(640, 480, 320, 240, 0x0002);
  api_.clearUpdates(window_);
  api_.fillRect(window_, 5, 5, 6, 6, 0x00FFFFFF);
  api_.present(window_);
  const std::vector<Rect> listed = Listed();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].right, 320);
  EXPECT_EQ(listed[0].bottom, 240);
  ExpectClient(640, 480, [&](int32_t x, int32_t y) { return BufferPixel(x / 2, y / 2); });
}

TEST_P(WindowPresentHost, AnInvalidatedWindowIsRepaintedFromTheBuffer) {
  Open(320, 240, 320, 240, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
  GdiFlush();
  ExpectClient(320, 240, [&](int32_t x, int32_t y) { return BufferPixel(x, y); });
}

TEST_P(WindowPresentHost, PresentsSwitchedOffShowNothingAndKeepTheList) {
  Open(320, 240, 320, 240, 0);
  api_.clearUpdates(window_);
  api_.fillRect(window_, 0, 0, 9, 9, 0x00FFFFFF);
  auto enable = lib_.Get<void*(WINAPI*)(void*, int32_t)>(63);
  EXPECT_EQ(enable(window_, 0), window_);
  api_.present(window_);
  EXPECT_EQ(Listed().size(), 1u);
  EXPECT_EQ(ReadClient(hwnd_, 320, 240)[0], uint32_t(kSentinel));
  enable(window_, 1);
  api_.present(window_);
  EXPECT_EQ(Listed().size(), 0u);
  EXPECT_EQ(ReadClient(hwnd_, 320, 240)[0], 0x00FFFFFFu);
}

TEST_P(WindowPresentHost, GrabbingTheScreenCopiesTheClientAreaIntoTheBuffer) {
  Open(320, 240, 320, 240, 0);
  Pump();
  PaintSentinel(hwnd_);  // what the screen shows there now
  auto grab = lib_.Get<int32_t(WINAPI*)(void*)>(35);
  EXPECT_NE(grab(window_), 0);
  EXPECT_EQ(BufferPixel(0, 0), uint32_t(kSentinel));
  EXPECT_EQ(BufferPixel(319, 239), uint32_t(kSentinel));
  EXPECT_EQ(grab(nullptr), 0);
}

TEST_P(WindowPresentHost, FramesPolylinesAndTextArePresentedWhereTheyWereListed) {
  Open(320, 240, 320, 240, 0);
  api_.clearUpdates(window_);
  auto setPen = lib_.Get<void(WINAPI*)(void*, uint32_t, int32_t, int32_t)>(37);
  auto frameRect = lib_.Get<int32_t(WINAPI*)(void*, const RECT*)>(48);
  auto polyline = lib_.Get<void(WINAPI*)(void*, const POINT*, int32_t)>(45);
  auto drawText = lib_.Get<int32_t(WINAPI*)(void*, HFONT, RECT*, const char*, uint32_t, int32_t)>(40);
  setPen(window_, 0x0000FFFF, PS_SOLID, 3);
  const RECT frame{20, 20, 120, 90};
  frameRect(window_, &frame);
  const POINT points[] = {{150, 30}, {250, 60}, {200, 120}};
  polyline(window_, points, 2);
  HFONT font = CreateFontA(-14, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Arial");
  RECT text{30, 150, 300, 200};
  drawText(window_, font, &text, "Present me", 0x00FFFFFF, DT_LEFT | DT_TOP);
  const std::vector<Rect> listed = Listed();
  ASSERT_GE(listed.size(), 1u);
  if (GetParam() == 1) {
    // GDI drew into the DIB section: the frame's outline is in the buffer.
    EXPECT_EQ(BufferPixel(20, 20), 0x0000FFFFu);
    EXPECT_EQ(BufferPixel(70, 55), Pattern(70, 55));  // not filled
  }
  api_.present(window_);
  EXPECT_EQ(Listed().size(), 0u);
  ExpectBufferOnlyInside(listed);
  DeleteObject(font);
}

TEST_P(WindowPresentHost, APacedPresentWaitsOnTheThreadsDisplayBeamAndStillShowsTheList) {
  Open(320, 240, 320, 240, 0);
  // A DirectDraw surface gives the thread its DirectDraw object.
  Handle* prototype = nullptr;
  api_.getPrototype(&prototype, 32, 1, 2);
  Handle* directDraw = api_.createHandle();
  ASSERT_NE(directDraw, nullptr);
  auto getDriver = lib_.Get<int32_t(OMB_THISCALL*)(const Handle*)>(493);
  const bool usable = api_.createSurface(directDraw, 16, 16, prototype) != nullptr &&
                      getDriver(directDraw) == 2;  // DirectDraw, not the DIB that stands in
  EXPECT_EQ(api_.control(window_, 10, 0x08, 0), 1);
  const bool paced = (api_.control(window_, 9, 0, 0) & 0x08) != 0;
  EXPECT_EQ(paced, usable);
  api_.clearUpdates(window_);
  api_.fillRect(window_, 0, 0, 9, 9, 0x00FFFFFF);
  api_.present(window_);
  EXPECT_EQ(Listed().size(), 0u);
  EXPECT_EQ(ReadClient(hwnd_, 320, 240)[0], 0x00FFFFFFu);
  if (paced) {
    EXPECT_NE(Field<uint32_t>(window_, kLastPresent), 0u);  // the time of the paced present
  }
  auto deleteHandle = lib_.Get<void(WINAPI*)(Handle*)>(174);
  deleteHandle(directDraw);
}

INSTANTIATE_TEST_SUITE_P(BufferTypes, WindowPresentHost, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int32_t>& info) {
                           return info.param == 0 ? std::string("Memory") : std::string("DibSection");
                         });

}  // namespace
