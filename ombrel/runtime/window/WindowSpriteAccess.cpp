#include "window/WindowSpriteAccess.h"

#include "surface/SurfaceHandle.h"
#include "surface/cNullSurface.h"
#include "window/WindowDrawApi.h"

SpritePool* WindowSpriteAccess::Pool() { return static_cast<SpritePool*>(window_->spritePool); }

AppObject* WindowSpriteAccess::App() { return window_->app; }

cSurfaceImpl* WindowSpriteAccess::Drawing() { return CurrentDrawImpl(window_); }

cSurfaceImpl* WindowSpriteAccess::Background() {
  if (window_->backSurface == nullptr) return nullptr;
  cSurfaceImpl* impl = cSurfaceHandle::GetImpl(window_->backSurface);
  return impl == GetNullSurface() ? nullptr : impl;
}

cSurfaceImpl* WindowSpriteAccess::MakeBackground() {
  if (window_->backSurface != nullptr) return Background();
  if ((window_->update & WindowUpdateOwnSaves) || window_->drawSurface == nullptr) return nullptr;
  cSurfaceHandle* handle = CreateSurfaceHandle();
  if (handle == nullptr) return nullptr;
  if (handle->Create(window_->drawSurface->GetWidth(), window_->drawSurface->GetHeight(), window_->drawSurface) ==
      nullptr) {
    DeleteSurfaceHandle(handle);
    return nullptr;
  }
  window_->backSurface = handle;
  window_->backImpl = cSurfaceHandle::GetImpl(handle);
  return Background();
}

void WindowSpriteAccess::AddDirty(const SurfaceRect& r) { WindowAddUpdate(window_, r.left, r.top, r.right, r.bottom); }

int32_t WindowSpriteAccess::PixelCollision() { return window_->pixelCollision; }

WindowMask LoadWindowMask(const WindowObject& w) {
  WindowMask m;
  m.bits = w.maskBits;
  m.plane0 = w.plane0;
  m.plane1 = w.plane1;
  m.planeSize = uint32_t(w.planeSize);
  m.rowBytes = uint16_t(w.maskRowBytes);
  m.rect = {w.maskLeft, w.maskRight, w.maskTop, w.maskBottom};
  m.clip = {w.maskClipLeft, w.maskClipTop, w.maskClipRight, w.maskClipBottom};
  m.originX = w.maskOriginX;
  m.originY = w.maskOriginY;
  return m;
}

void StoreWindowMask(WindowObject& w, const WindowMask& m) {
  w.maskBits = m.bits;
  w.plane0 = m.plane0;
  w.plane1 = m.plane1;
  w.planeSize = int32_t(m.planeSize);
  w.maskRowBytes = int16_t(uint16_t(m.rowBytes));
  w.maskLeft = m.rect.left;
  w.maskRight = m.rect.right;
  w.maskTop = m.rect.top;
  w.maskBottom = m.rect.bottom;
  w.maskClipLeft = m.clip.left;
  w.maskClipTop = m.clip.top;
  w.maskClipRight = m.clip.right;
  w.maskClipBottom = m.clip.bottom;
  w.maskOriginX = m.originX;
  w.maskOriginY = m.originY;
}
