#include "window/PresentTargetWin32.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

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

WindowDCTarget::~WindowDCTarget() { DeleteSurface(destination_); }

cDCSurface* WindowDCTarget::Destination() {
  if (destination_ == nullptr && dc_ != nullptr) destination_ = cDCSurface::MakeOnDC(dc_);
  return destination_;
}

void WindowDCTarget::Copy(cSurfaceImpl& buffer, const SurfaceRect& r) {
  const int32_t w = r.right - r.left, h = r.bottom - r.top;
  if (buffer.HasDC()) {
    cDCSurface* window = Destination();
    if (window != nullptr && buffer.Blit(window, r.left, r.top, r.left, r.top, w, h, 0, 0, 0, 0))
      return;
  }
  CopyPixels(buffer, r);
}

void WindowDCTarget::StretchAll(cSurfaceImpl& buffer, int32_t clientWidth, int32_t clientHeight) {
  const int32_t w = buffer.view.width, h = buffer.view.height;
  SetStretchBltMode(dc_, COLORONCOLOR);
  if (buffer.HasDC()) {
    cDCSurface* window = Destination();
    if (window != nullptr &&
        buffer.Stretch(window, 0, 0, clientWidth, clientHeight, 0, 0, w, h, 0, 0, 0, 0))
      return;
  }
  StretchPixels(buffer, clientWidth, clientHeight);
}

void WindowDCTarget::CopyPixels(cSurfaceImpl& buffer, const SurfaceRect& r) {
  const int32_t w = r.right - r.left, h = r.bottom - r.top;
  if (!buffer.Lock()) return;
  DibHeader info;
  if (const uint8_t* bits = DescribeRows(buffer.view, r.top, h, &info)) {
    SetDIBitsToDevice(dc_, r.left, r.top, DWORD(w), DWORD(h), r.left, 0, 0, UINT(h), bits,
                      reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  }
  buffer.Unlock();
}

void WindowDCTarget::StretchPixels(cSurfaceImpl& buffer, int32_t clientWidth,
                                   int32_t clientHeight) {
  const int32_t w = buffer.view.width, h = buffer.view.height;
  if (!buffer.Lock()) return;
  DibHeader info;
  if (const uint8_t* bits = DescribeRows(buffer.view, 0, h, &info)) {
    StretchDIBits(dc_, 0, 0, clientWidth, clientHeight, 0, 0, w, h, bits,
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY);
  }
  buffer.Unlock();
}

void WindowDCTarget::CopyList(cSurfaceImpl& buffer, const SurfaceRect* rects, int32_t count) {
  if (count == 1) {
    Copy(buffer, rects[0]);
    return;
  }
  static_assert(sizeof(SurfaceRect) == sizeof(RECT), "rectangles pass to the system as they are");
  std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + sizeof(RECT) * size_t(count));
  auto* region = reinterpret_cast<RGNDATA*>(data.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = DWORD(count);
  SurfaceRect box = rects[0];
  for (int32_t i = 1; i < count; ++i) {
    box.left = std::min(box.left, rects[i].left);
    box.top = std::min(box.top, rects[i].top);
    box.right = std::max(box.right, rects[i].right);
    box.bottom = std::max(box.bottom, rects[i].bottom);
  }
  region->rdh.rcBound = {box.left, box.top, box.right, box.bottom};
  std::copy(rects, rects + count, reinterpret_cast<SurfaceRect*>(region->Buffer));
  HRGN clip = ExtCreateRegion(nullptr, DWORD(data.size()), region);
  HRGN saved = CreateRectRgn(0, 0, 0, 0);
  const int hadClip = saved != nullptr ? GetClipRgn(dc_, saved) : -1;
  if (clip == nullptr || hadClip < 0 || ExtSelectClipRgn(dc_, clip, RGN_AND) == ERROR) {
    // Without a region, one copy per rectangle.
    for (int32_t i = 0; i < count; ++i) Copy(buffer, rects[i]);
  } else {
    Copy(buffer, box);
    SelectClipRgn(dc_, hadClip == 1 ? saved : nullptr);
  }
  if (clip != nullptr) DeleteObject(clip);
  if (saved != nullptr) DeleteObject(saved);
}
