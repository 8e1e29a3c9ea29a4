#include "surface/cDCSurface.h"

#include <windows.h>
// The slot names, not the system's A/W macros.
#undef TextOut
#undef DrawText

#include "surface/BorrowedDC.h"
#include "surface/DCOrigin.h"
#include "surface/SurfaceAlloc.h"

namespace {

HDC AsDC(void* dc) { return static_cast<HDC>(dc); }

}  // namespace

cDCSurface* cDCSurface::MakeOnDC(void* dc) {
  HDC used = AsDC(dc);
  const bool own = used == nullptr;
  if (own && (used = ::GetDC(nullptr)) == nullptr) return nullptr;
  cDCSurface* surface = NewSurfaceObject<cDCSurface>();
  if (surface == nullptr) {
    if (own) ::ReleaseDC(nullptr, used);
    return nullptr;
  }
  surface->dc_ = used;
  surface->owned_ = own ? 1 : 0;
  return surface;
}

cDCSurface* cDCSurface::MakeOnWindow(void* window, int32_t wholeWindow) {
  const HWND hwnd = static_cast<HWND>(window);
  HDC dc = wholeWindow ? ::GetWindowDC(hwnd) : ::GetDC(hwnd);
  if (dc == nullptr) return nullptr;
  cDCSurface* surface = NewSurfaceObject<cDCSurface>();
  if (surface == nullptr) {
    ::ReleaseDC(hwnd, dc);
    return nullptr;
  }
  surface->dc_ = dc;
  surface->window_ = window;
  surface->owned_ = 1;
  return surface;
}

void cDCSurface::Release() {
  if (owned_ && dc_ != nullptr) ::ReleaseDC(static_cast<HWND>(window_), AsDC(dc_));
  owned_ = 0;
  window_ = nullptr;
  dc_ = nullptr;
}

void cDCSurface::SetDC(void* dc) {
  Release();
  dc_ = dc;
}

void cDCSurface::Delete(uint32_t flags) {
  Release();
  cSurfaceImpl::Delete(flags);
}

cSurfaceImpl* cDCSurface::MakeInstance(int32_t, int32_t) { return nullptr; }
int32_t cDCSurface::SetDepthAndPalette(int32_t) { return 1; }
int32_t cDCSurface::GetKind() { return SurfaceKindDC; }

void cDCSurface::SetDCOrigin(int32_t x, int32_t y) {
  originX_ = x;
  originY_ = y;
  if (dc_ != nullptr) ::SetWindowOrgEx(AsDC(dc_), x, y, nullptr);
}

uint32_t cDCSurface::GetDCOrigin() { return PackDCOrigin(originX_, originY_); }
int32_t cDCSurface::HasDC() { return 1; }
int32_t cDCSurface::IsDCOnly() { return 1; }
void* cDCSurface::GetDC() { return dc_; }
void cDCSurface::ReleaseDC(void*) {}

void cDCSurface::GetClipRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
  RECT box{};
  const int kind = dc_ != nullptr ? ::GetClipBox(AsDC(dc_), &box) : ERROR;
  const bool region = kind == SIMPLEREGION || kind == COMPLEXREGION;
  if (x != nullptr) *x = region ? box.left : 0;
  if (y != nullptr) *y = region ? box.top : 0;
  if (width != nullptr) *width = region ? box.right - box.left : 0x7FFF;
  if (height != nullptr) *height = region ? box.bottom - box.top : 0x7FFF;
}

void cDCSurface::SetClipRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  // The context's clip region can only shrink.
  if (dc_ != nullptr) ::IntersectClipRect(AsDC(dc_), x, y, x + width, y + height);
}

void cDCSurface::ResetClipRect() {}

void cDCSurface::PutIndex(int32_t x, int32_t y, uint32_t index) {
  // 0x01000000 plus an index is GDI's own palette-index form.
  if (dc_ != nullptr) ::SetPixel(AsDC(dc_), x, y, index);
}

void cDCSurface::SetPixel(int32_t x, int32_t y, uint32_t colour) {
  if (dc_ != nullptr) ::SetPixel(AsDC(dc_), x, y, colour);
}

int32_t cDCSurface::GetPixelNative(int32_t, int32_t, uint32_t*) { return 0; }
int32_t cDCSurface::GetPixel(int32_t, int32_t, uint32_t*) { return 0; }

int32_t cDCSurface::BlitFromDC(int32_t dx, int32_t dy, void* dc, int32_t sx, int32_t sy,
                               int32_t width, int32_t height, int32_t, uint32_t, uint32_t) {
  if (dc_ == nullptr || dc == nullptr) return 0;
  return ::BitBlt(AsDC(dc_), dx, dy, width, height, AsDC(dc), sx, sy, SRCCOPY) ? 1 : 0;
}

int32_t cDCSurface::StretchFromDC(int32_t dx, int32_t dy, int32_t dw, int32_t dh, void* dc,
                                  int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t,
                                  uint32_t, uint32_t) {
  if (dc_ == nullptr || dc == nullptr) return 0;
  return ::StretchBlt(AsDC(dc_), dx, dy, dw, dh, AsDC(dc), sx, sy, sw, sh, SRCCOPY) ? 1 : 0;
}

// Mode, ink effect, parameter and flags never reach GDI: every copy is SRCCOPY.
int32_t cDCSurface::Blit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                         int32_t width, int32_t height, int32_t mode, uint32_t effect,
                         uint32_t parameter, uint32_t) {
  if (dest == nullptr) return 0;
  if (!dest->IsDCOnly()) {
    if (dc_ == nullptr) return 0;
    return dest->BlitFromDC(dx, dy, dc_, sx, sy, width, height, mode, effect, parameter);
  }
  return GdiCopyToDCOnly(dest, dx, dy, width, height, dc_, sx + originX_, sy + originY_, width,
                         height);
}

int32_t cDCSurface::Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                            int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t mode,
                            uint32_t effect, uint32_t parameter, uint32_t) {
  if (dest == nullptr) return 0;
  if (!dest->IsDCOnly()) {
    if (dc_ == nullptr) return 0;
    return dest->StretchFromDC(dx, dy, dw, dh, dc_, sx, sy, sw, sh, mode, effect, parameter);
  }
  return GdiCopyToDCOnly(dest, dx, dy, dw, dh, dc_, sx + originX_, sy + originY_, sw, sh);
}

// Operations on pixels the library cannot reach.
int32_t cDCSurface::BlitCallback(cSurfaceImpl*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                 int32_t, int32_t, PixelCallback, uint32_t) {
  return 0;
}
int32_t cDCSurface::MirrorX(int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t cDCSurface::MirrorY(int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t cDCSurface::FillRectIndex(int32_t, int32_t, int32_t, int32_t, uint32_t) { return 0; }
int32_t cDCSurface::FillRect(int32_t, int32_t, int32_t, int32_t, uint32_t) { return 0; }
int32_t cDCSurface::TextOut(const char*, int32_t, int32_t, int32_t, int32_t, const SurfaceRect*,
                            uint32_t, void*, uint32_t, uint32_t, uint32_t, uint32_t) {
  return 0;
}
int32_t cDCSurface::DrawText(const char*, int32_t, SurfaceRect*, uint32_t, uint32_t, void*,
                             uint32_t, uint32_t, uint32_t, uint32_t, int32_t, int32_t, int32_t) {
  return 0;
}
int32_t cDCSurface::ReplaceColour(uint32_t, uint32_t) { return 0; }
int32_t cDCSurface::SetLogPalette(const LogPalette*, int32_t) { return 0; }
int32_t cDCSurface::GetLogPalette(LogPalette*) { return 0; }
