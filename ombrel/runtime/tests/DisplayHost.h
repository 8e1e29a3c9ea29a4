#pragma once

// What the display test programs share: a visible top-level window of their
// own, a read-back of what a window shows (BitBlt into a 32-bit DIB section,
// then GetDIBits), and the display's depth.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

inline void PumpWindowMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// The program's visible window: a popup with no background brush, so
// nothing repaints over what a test draws. One for the whole program, moved
// and sized for each test: under Xvfb without a window manager Wine waits two
// seconds for every window it hides or destroys.
class HostWindow {
 public:
  HostWindow(int width, int height) {
    static HWND shared = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "OmbrelDisplayHost";
      RegisterClassA(&wc);
      return CreateWindowA("OmbrelDisplayHost", "Ombrel display", WS_POPUP, 0, 0, 1, 1, nullptr,
                           nullptr, wc.hInstance, nullptr);
    }();
    hwnd_ = shared;
    if (hwnd_ != nullptr) {
      SetWindowLongA(hwnd_, GWL_STYLE, LONG(WS_POPUP | WS_VISIBLE));
      SetWindowPos(hwnd_, HWND_TOP, 40, 40, width, height, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
      UpdateWindow(hwnd_);
      PumpWindowMessages();
    }
  }
  ~HostWindow() { PumpWindowMessages(); }
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// Pixels of a device context's area as 0x00BBGGRR, row by row.
inline std::vector<uint32_t> ReadBackDC(HDC source, int x, int y, int width, int height) {
  std::vector<uint32_t> out;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC memory = CreateCompatibleDC(source);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory == nullptr || section == nullptr) return out;
  HGDIOBJ previous = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  SelectObject(memory, previous);
  std::vector<uint32_t> bgrx(size_t(width) * height);
  if (GetDIBits(memory, section, 0, UINT(height), bgrx.data(), &info, DIB_RGB_COLORS) ==
      height) {
    out.resize(bgrx.size());
    for (size_t i = 0; i < bgrx.size(); ++i) {
      const uint32_t p = bgrx[i];
      out[i] = (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
    }
  }
  DeleteObject(section);
  DeleteDC(memory);
  return out;
}

inline std::vector<uint32_t> ReadBackWindow(HWND window, int x, int y, int width, int height) {
  HDC dc = GetDC(window);
  std::vector<uint32_t> out = ReadBackDC(dc, x, y, width, height);
  ReleaseDC(window, dc);
  return out;
}

inline int DisplayBitsPerPixel() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return bits;
}

inline void PaintWindowBlack(HWND window) {
  HDC dc = GetDC(window);
  RECT all{};
  GetClientRect(window, &all);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(window, dc);
}

// What the window shows at (x, y) against the same picture drawn in memory:
// equal at 24 and 32 bits; at 15 and 16 bits equal in the bits each channel
// keeps (the read-back widens them); at 8 bits, where the system palette
// maps the colours, only that the area was drawn on (it started black).
inline void ExpectWindowShows(HWND window, int x, int y, int width, int height,
                              std::vector<uint32_t> expected) {
  std::vector<uint32_t> shown = ReadBackWindow(window, x, y, width, height);
  ASSERT_EQ(shown.size(), expected.size());
  const int depth = DisplayBitsPerPixel();
  if (depth == 8) {
    size_t drawn = 0;
    for (uint32_t p : shown) drawn += p != 0 ? 1 : 0;
    EXPECT_GT(drawn, shown.size() / 10) << "pixels drawn";
    return;
  }
  const uint32_t kept = depth == 16 ? 0xF8FCF8u : depth == 15 ? 0xF8F8F8u : 0xFFFFFFu;
  for (uint32_t& p : shown) p &= kept;
  for (uint32_t& p : expected) p &= kept;
  EXPECT_EQ(shown, expected);
}

// Nothing drawn outside the given areas of a window painted black.
inline void ExpectWindowBlackOutside(HWND window, int width, int height,
                                     std::initializer_list<RECT> areas) {
  const std::vector<uint32_t> shown = ReadBackWindow(window, 0, 0, width, height);
  ASSERT_EQ(shown.size(), size_t(width) * height);
  int outside = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      bool inside = false;
      for (const RECT& r : areas) inside = inside || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
      if (!inside && shown[size_t(y) * width + x] != 0) ++outside;
    }
  EXPECT_EQ(outside, 0) << "pixels drawn outside the copies";
}
