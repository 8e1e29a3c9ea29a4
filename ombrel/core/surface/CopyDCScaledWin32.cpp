#include "surface/CopyDCScaled.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

// The header and the largest colour table GetDIBits may write.
struct DibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
  uint32_t spare;  // the block is 1068 bytes
};
static_assert(sizeof(DibInfo) == 1068, "the header block");

void PumpMessages() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

// At 8 bits or fewer: a palette of the bitmap's colours selected into the
// destination as a background palette. Null when none is needed or made.
HPALETTE SelectBitmapPalette(HDC dest, const DibInfo& info, HPALETTE* previous) {
  const int bits = info.header.biBitCount;
  if (bits > 8) return nullptr;
  const int count = 1 << bits;
  struct {
    WORD version;
    WORD entries;
    PALETTEENTRY colours[256];
  } log{};
  log.version = 0x300;
  log.entries = WORD(count);
  for (int i = 0; i < count; ++i)
    log.colours[i] = PALETTEENTRY{info.colours[i].rgbRed, info.colours[i].rgbGreen,
                                  info.colours[i].rgbBlue, 0};
  HPALETTE palette = ::CreatePalette(reinterpret_cast<const LOGPALETTE*>(&log));
  if (palette == nullptr) return nullptr;
  *previous = ::SelectPalette(dest, palette, TRUE);
  ::RealizePalette(dest);
  return palette;
}

}  // namespace

int32_t CopyDCScaledImpl(void* sourceDC, void* destDC, int32_t sx, int32_t sy, int32_t dx,
                         int32_t dy, int32_t sw, int32_t sh, int32_t dw, int32_t dh,
                         int32_t pumpMessages, int32_t keepAspect) {
  if (pumpMessages) PumpMessages();
  HDC source = static_cast<HDC>(sourceDC);
  HDC dest = static_cast<HDC>(destDC);
  if (source == nullptr || dest == nullptr || sw <= 0 || sh <= 0) return 0;
  if (keepAspect) KeepAspectSize(sw, sh, &dw, &dh);

  HDC memory = ::CreateCompatibleDC(source);
  if (memory == nullptr) return 0;
  HBITMAP bitmap = ::CreateCompatibleBitmap(source, sw, sh);
  if (bitmap == nullptr) {
    ::DeleteDC(memory);
    return 0;
  }
  HGDIOBJ previousBitmap = ::SelectObject(memory, bitmap);
  int32_t result = 0;
  // The area asked for, captured at (0, 0) of the bitmap.
  if (::BitBlt(memory, 0, 0, sw, sh, source, sx, sy, SRCCOPY)) {
    DibInfo* info = static_cast<DibInfo*>(std::calloc(1, sizeof(DibInfo)));
    if (info != nullptr) {
      info->header.biSize = sizeof(BITMAPINFOHEADER);
      info->header.biWidth = sw;
      info->header.biHeight = sh;
      info->header.biPlanes = WORD(::GetDeviceCaps(source, PLANES));
      info->header.biBitCount = WORD(::GetDeviceCaps(source, BITSPIXEL));
      // Reading the bits needs the bitmap out of the context.
      ::SelectObject(memory, previousBitmap);
      // Sized here in 64 bits, not taken from what the driver reports.
      const int64_t rowBytes = (int64_t(sw) * info->header.biBitCount + 31) / 32 * 4;
      const int64_t total = rowBytes * sh;
      void* pixels = total > 0 && total < (int64_t(1) << 31) ? std::malloc(size_t(total)) : nullptr;
      if (pixels != nullptr &&
          ::GetDIBits(memory, bitmap, 0, UINT(sh), pixels, reinterpret_cast<BITMAPINFO*>(info),
                      DIB_RGB_COLORS) != 0) {
        HPALETTE previousPalette = nullptr;
        HPALETTE palette = SelectBitmapPalette(dest, *info, &previousPalette);
        result = ::StretchDIBits(dest, dx, dy, dw, dh, 0, 0, sw, sh, pixels,
                                 reinterpret_cast<const BITMAPINFO*>(info), DIB_RGB_COLORS,
                                 SRCCOPY) != 0
                     ? 1
                     : 0;
        if (palette != nullptr) {
          // Put back, so the destination keeps its own palette and none leaks.
          ::SelectPalette(dest, previousPalette, TRUE);
          ::RealizePalette(dest);
          ::DeleteObject(palette);
        }
      }
      std::free(pixels);
      std::free(info);
      previousBitmap = nullptr;  // already put back
    }
  }
  if (previousBitmap != nullptr) ::SelectObject(memory, previousBitmap);
  ::DeleteDC(memory);
  ::DeleteObject(bitmap);
  return result;
}

OMB_FLAT int32_t OMB_STDCALL CopyDCScaled(void* sourceDC, void* destDC, int32_t sx, int32_t sy,
                                          int32_t dx, int32_t dy, int32_t sw, int32_t sh,
                                          int32_t dw, int32_t dh, int32_t pumpMessages,
                                          int32_t keepAspect) {
  return CopyDCScaledImpl(sourceDC, destDC, sx, sy, dx, dy, sw, sh, dw, dh, pumpMessages,
                          keepAspect);
}

int32_t SetDCBackgroundMode(void* dc, int32_t mode) {
  return ::SetBkMode(static_cast<HDC>(dc), mode);
}
