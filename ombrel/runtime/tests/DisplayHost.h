#pragma once

// What the display test programs share: a visible top-level window of their
// own, a read-back of what a window shows (BitBlt into a 32-bit DIB section,
// then GetDIBits), and the display's depth.
#include <windows.h>

#include <cstdint>
#include <vector>

inline void PumpWindowMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// A plain window with no background brush, so nothing repaints over what a
// test draws; destroyed with the object.
class HostWindow {
 public:
  HostWindow(int width, int height) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OmbrelDisplayHost";
    RegisterClassA(&wc);  // a second registration fails harmlessly
    RECT r{0, 0, width, height};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    hwnd_ = CreateWindowA("OmbrelDisplayHost", "Ombrel display", WS_OVERLAPPEDWINDOW, 40, 40,
                          r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance,
                          nullptr);
    if (hwnd_ != nullptr) {
      ShowWindow(hwnd_, SW_SHOW);
      UpdateWindow(hwnd_);
      PumpWindowMessages();
    }
  }
  ~HostWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    PumpWindowMessages();
  }
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
