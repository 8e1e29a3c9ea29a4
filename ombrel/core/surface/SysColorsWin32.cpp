#include <windows.h>

#include <cstring>

#include "surface/SysColors.h"

namespace {

constexpr int kProbeWidth = 100;
constexpr int kProbeHeight = 8;

// The colours as a 15- or 16-bit display shows them: set as pixels of a
// compatible bitmap and read back as 24-bit rows.
void ReadBackThroughDisplay(HDC screen, uint32_t* table, int32_t count) {
  HDC memory = ::CreateCompatibleDC(screen);
  if (memory == nullptr) return;
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kProbeWidth, kProbeHeight);
  if (bitmap != nullptr) {
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    if (previous != nullptr && previous != HGDI_ERROR) {
      for (int32_t i = 0; i < count; ++i) ::SetPixel(memory, i, 0, table[i]);
      ::SelectObject(memory, previous);
      BITMAPINFOHEADER header{};
      header.biSize = sizeof header;
      header.biWidth = kProbeWidth;
      header.biHeight = kProbeHeight;
      header.biPlanes = 1;
      header.biBitCount = 24;
      constexpr int kRowBytes = (kProbeWidth * 3 + 3) / 4 * 4;
      uint8_t rows[7240] = {};
      static_assert(kRowBytes * kProbeHeight <= sizeof rows, "rows of the probe");
      if (::GetDIBits(memory, bitmap, 0, kProbeHeight, rows,
                      reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) != 0) {
        // Bottom-up: pixel row 0 is the last stored row.
        const uint8_t* row = rows + (kProbeHeight - 1) * kRowBytes;
        for (int32_t i = 0; i < count; ++i)
          table[i] = uint32_t(row[3 * i + 2]) | uint32_t(row[3 * i + 1]) << 8 |
                     uint32_t(row[3 * i]) << 16;
      }
    }
    ::DeleteObject(bitmap);
  }
  ::DeleteDC(memory);
}

class SystemColours final : public SysColorSource {
 public:
  uint32_t Colour(int32_t index) override { return ::GetSysColor(index); }
  int32_t ReduceToDisplay(uint32_t* table, int32_t count) override {
    HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) return 0;
    const int bits = ::GetDeviceCaps(screen, PLANES) * ::GetDeviceCaps(screen, BITSPIXEL);
    if (bits == 15 || bits == 16) ReadBackThroughDisplay(screen, table, count);
    return ::ReleaseDC(nullptr, screen);
  }
};

}  // namespace

SysColorSource* SystemSysColors() {
  static SystemColours colours;
  return &colours;
}
