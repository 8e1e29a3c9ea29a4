#include "surface/cNullSurface.h"
#include "window/WindowDrawApi.h"
#include "window/WindowSprites.h"

cSurfaceImpl* CurrentDrawImpl(WindowObject* window) {
  if (window->drawSurface == nullptr) {
    window->drawImpl = nullptr;
    return nullptr;
  }
  cSurfaceImpl* impl = cSurfaceHandle::GetImpl(window->drawSurface);
  window->drawImpl = impl == GetNullSurface() ? nullptr : impl;
  return window->drawImpl;
}

OMB_FLAT int32_t OMB_STDCALL WindowAttachSurface(WindowObject* window, cSurfaceHandle* surface) {
  if (window == nullptr || surface == nullptr || !surface->IsValid()) return 0;
  window->bufferWidth = surface->GetWidth();
  window->bufferHeight = surface->GetHeight();
  window->style |= WindowStyleSurfaceAttached;
  window->surfaceAttached = -1;
  // A background of another shape no longer fits the buffer.
  if (window->backSurface != nullptr &&
      (window->backSurface->GetWidth() != surface->GetWidth() ||
       window->backSurface->GetHeight() != surface->GetHeight() ||
       window->backSurface->GetDepth() != surface->GetDepth())) {
    DeleteSurfaceHandle(window->backSurface);
    window->backSurface = nullptr;
    window->backImpl = nullptr;
  }
  // A previous drawing surface goes back to the caller, not destroyed.
  window->drawSurface = surface;
  CurrentDrawImpl(window);
  surface->AttachWindow(window->hwnd);
  return 1;
}

OMB_FLAT void OMB_STDCALL WindowDetachSurfaces(WindowObject* window) {
  if (window == nullptr) return;
  window->drawSurface = nullptr;
  window->drawImpl = nullptr;
  DeleteSurfaceHandle(window->backSurface);
  window->backSurface = nullptr;
  window->backImpl = nullptr;
  WindowDeleteSprites(window);
  SpritePoolFree(window);
  window->style &= uint16_t(~WindowStyleSurfaceAttached);
  window->surfaceAttached = 0;
}

OMB_FLAT cSurfaceHandle* OMB_STDCALL WindowGetSurface(WindowObject* window, int32_t which) {
  if (window == nullptr) return nullptr;
  if (which == 0) return window->drawSurface;
  if (which == 1) return window->backSurface;
  return nullptr;
}

OMB_FLAT void OMB_STDCALL WindowSetClip(WindowObject* window, int32_t left, int32_t top,
                                        int32_t right, int32_t bottom) {
  if (window == nullptr || CurrentDrawImpl(window) == nullptr) return;
  window->drawSurface->SetClipRect(left, top, right - left, bottom - top);
}

OMB_FLAT void OMB_STDCALL WindowFillRect(WindowObject* window, int32_t left, int32_t top,
                                         int32_t right, int32_t bottom, uint32_t colour) {
  if (window == nullptr || CurrentDrawImpl(window) == nullptr) return;
  window->drawSurface->FillRect(left, top, right - left + 1, bottom - top + 1, colour);
  WindowAddUpdate(window, left, top, right + 1, bottom + 1);
}

OMB_FLAT int32_t OMB_STDCALL WindowScrollRect(WindowObject* window, int32_t dx, int32_t dy,
                                              int32_t sx, int32_t sy, int32_t width,
                                              int32_t height) {
  if (window == nullptr || CurrentDrawImpl(window) == nullptr) return 0;
  return window->drawSurface->MoveRect(dx, dy, sx, sy, width, height);
}

OMB_FLAT void OMB_STDCALL WindowGetBufferRect(WindowObject* window, SurfaceRect* out) {
  if (window == nullptr || out == nullptr) return;
  *out = {0, 0, window->bufferWidth, window->bufferHeight};
}
