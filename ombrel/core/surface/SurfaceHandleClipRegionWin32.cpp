// Narrowing a device context's clip to the handle's clip rectangle around
// platform drawing, and putting the context's own clip back afterwards.
#include <windows.h>

#include "surface/SurfaceHandle.h"

void* cSurfaceHandle::SetupClipRegion(void* dc) {
  if (dc == nullptr) return nullptr;
  HDC context = static_cast<HDC>(dc);
  HRGN saved = CreateRectRgn(0, 0, 0, 0);
  if (saved != nullptr && GetClipRgn(context, saved) != 1) {
    DeleteObject(saved);  // the context had no clip region
    saved = nullptr;
  }
  int32_t x = 0, y = 0, w = 0, h = 0;
  GetClipRect(&x, &y, &w, &h);
  // In the drawing's coordinates: the origin comes off unless the context
  // applies it itself.
  if (!Impl()->HasDC()) {
    x -= originX;
    y -= originY;
  }
  IntersectClipRect(context, x, y, x + w, y + h);
  return saved;
}

void cSurfaceHandle::RestoreClipRegion(void* dc, void* region) {
  if (dc != nullptr) SelectClipRgn(static_cast<HDC>(dc), static_cast<HRGN>(region));
  if (region != nullptr) DeleteObject(static_cast<HRGN>(region));
}
