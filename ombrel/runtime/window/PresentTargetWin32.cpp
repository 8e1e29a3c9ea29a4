#include "window/PresentTargetWin32.h"

#include <cstdlib>

#include "palette/cPalette.h"
#include "surface/DibLayout.h"

uint8_t* DescribeRows(const PixelView& view, int32_t top, int32_t rows, DibHeader* out) {
  if (view.firstRow == nullptr || rows <= 0) return nullptr;
  const int32_t rowBytes = std::abs(view.pitch);
  if (DibRowBytes64(view.width, view.depth) != rowBytes) return nullptr;
  BITMAPINFOHEADER& h = out->header;
  h = {};
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = view.width;
  h.biPlanes = 1;
  h.biBitCount = WORD(view.depth == 15 ? 16 : view.depth);
  h.biCompression = BI_RGB;
  if (view.depth == 16) {
    auto* masks = reinterpret_cast<DWORD*>(out->colours);
    masks[0] = 0xF800;
    masks[1] = 0x07E0;
    masks[2] = 0x001F;
    h.biCompression = BI_BITFIELDS;
  } else if (view.depth == 8 && view.palette != nullptr) {
    for (int i = 0; i < 256; ++i) {
      const PaletteEntry& e = view.palette->log.entries[i];
      out->colours[i] = RGBQUAD{e.blue, e.green, e.red, 0};
    }
    h.biClrUsed = 256;
  }
  // Top-down rows are a DIB of negative height starting at the rectangle's
  // first row; bottom-up rows start at its last.
  if (view.pitch > 0) {
    h.biHeight = -rows;
    return view.firstRow + intptr_t(top) * view.pitch;
  }
  h.biHeight = rows;
  return view.firstRow + intptr_t(top + rows - 1) * view.pitch;
}

bool WindowDCTarget::ClientSize(int32_t* width, int32_t* height) {
  RECT client;
  if (!GetClientRect(window_, &client)) return false;
  *width = client.right - client.left;
  *height = client.bottom - client.top;
  return dc_ != nullptr;
}

void WindowDCTarget::Copy(cSurfaceImpl& buffer, const SurfaceRect& r) {
  const int32_t w = r.right - r.left, h = r.bottom - r.top;
  if (buffer.HasDC()) {
    if (HDC source = static_cast<HDC>(buffer.GetDC())) {
      BitBlt(dc_, r.left, r.top, w, h, source, r.left, r.top, SRCCOPY);
      buffer.ReleaseDC(source);
      return;
    }
  }
  if (!buffer.Lock()) return;
  DibHeader info;
  if (const uint8_t* bits = DescribeRows(buffer.view, r.top, h, &info)) {
    SetDIBitsToDevice(dc_, r.left, r.top, DWORD(w), DWORD(h), r.left, 0, 0, UINT(h), bits,
                      reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  }
  buffer.Unlock();
}

void WindowDCTarget::StretchAll(cSurfaceImpl& buffer, int32_t clientWidth, int32_t clientHeight) {
  const int32_t w = buffer.view.width, h = buffer.view.height;
  SetStretchBltMode(dc_, COLORONCOLOR);
  if (buffer.HasDC()) {
    if (HDC source = static_cast<HDC>(buffer.GetDC())) {
      StretchBlt(dc_, 0, 0, clientWidth, clientHeight, source, 0, 0, w, h, SRCCOPY);
      buffer.ReleaseDC(source);
      return;
    }
  }
  if (!buffer.Lock()) return;
  DibHeader info;
  if (const uint8_t* bits = DescribeRows(buffer.view, 0, h, &info)) {
    StretchDIBits(dc_, 0, 0, clientWidth, clientHeight, 0, 0, w, h, bits,
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
  }
  buffer.Unlock();
}
