// Slot 33 `BlitCallback` (each pixel computed by a caller's function) and
// slot 32 `MoveRect` (a rectangle moved inside one surface).
#include <cstdint>

#include "pixel/CopyKernels.h"
#include "surface/BlitPaths.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

int32_t cSurfaceImpl::BlitCallback(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx,
                                   int32_t sy, int32_t width, int32_t height, int32_t mode,
                                   PixelCallback callback, uint32_t user) {
  if (dest == nullptr || callback == nullptr) return 0;
  if (IsCompressed()) {
    // The routines read ordinary rows: draw from a plain copy of the rectangle.
    if (!ClipBlitRects(view, dest->view, dx, dy, sx, sy, width, height)) return 0;
    cSurfaceImpl* plain = MakePlainCopy(*this, sx, sy, width, height);
    if (plain == nullptr) return 0;
    const int32_t done = plain->BlitCallback(dest, dx, dy, 0, 0, width, height, mode, callback, user);
    DeleteSurface(plain);
    return done;
  }
  if (dest->IsDCOnly() || dest->IsCompressed() || dest->view.depth != view.depth) return 0;
  if (!InverseTableReady(*dest)) return 0;
  if (!ClipBlitRects(view, dest->view, dx, dy, sx, sy, width, height)) return 0;
  const auto routine = view.ops == nullptr                  ? nullptr
                       : mode == BlitKeyed ? view.ops->BlitCallbackKeyed
                                                            : view.ops->BlitCallback;
  if (routine == nullptr) return 0;  // not at this depth yet
  SurfaceAccess srcAccess(*this);
  if (!srcAccess.ok()) return 0;
  SurfaceAccess destAccess(*dest);
  if (!destAccess.ok()) return 0;
  routine(&dest->view, dx, dy, &view, sx, sy, width, height, callback, user);
  return 1;
}

int32_t cSurfaceImpl::MoveRect(int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width,
                               int32_t height) {
  // No clipping: both rectangles lie wholly inside the surface or nothing moves.
  auto inside = [this](int64_t x, int64_t y, int64_t w, int64_t h) {
    return x >= 0 && y >= 0 && x + w <= view.width && y + h <= view.height;
  };
  if (width <= 0 || height <= 0 || !inside(dx, dy, width, height) || !inside(sx, sy, width, height))
    return 0;
  if (IsCompressed()) return 0;  // run-length rows cannot be moved in place
  SurfaceAccess access(*this);
  if (!access.ok()) return 0;
  CopyRectOverlapSafe(&view, dx, dy, sx, sy, width, height);
  return 1;
}
