// Slots 37 `MirrorX` and 38 `MirrorY`: a rectangle reversed left to right or
// top to bottom in place, its alpha bytes with it.
#include <algorithm>
#include <cstdint>

#include "pixel/CopyKernels.h"
#include "surface/BlitPaths.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

namespace {

// The rectangle cut to the clip; 0 when nothing is left, -1 when the
// reversed dimension is a single pixel (nothing to do), else 1.
int32_t MirrorRect(const PixelView& v, int32_t& x, int32_t& y, int32_t& w, int32_t& h,
                   bool horizontal) {
  int64_t x0 = x, y0 = y, x1 = int64_t(x) + w, y1 = int64_t(y) + h;
  if (x1 <= 0 || y1 <= 0 || x0 >= v.width || y0 >= v.height) return 0;
  x0 = std::max<int64_t>(x0, v.clipLeft);
  y0 = std::max<int64_t>(y0, v.clipTop);
  x1 = std::min<int64_t>(x1, v.clipRight);
  y1 = std::min<int64_t>(y1, v.clipBottom);
  if (x1 <= x0 || y1 <= y0) return 0;
  x = int32_t(x0);
  y = int32_t(y0);
  w = int32_t(x1 - x0);
  h = int32_t(y1 - y0);
  return (horizontal ? w : h) <= 1 ? -1 : 1;
}

}  // namespace

int32_t cSurfaceImpl::MirrorX(int32_t x, int32_t y, int32_t width, int32_t height) {
  const int32_t state = MirrorRect(view, x, y, width, height, true);
  if (state <= 0) return state == 0 ? 0 : 1;
  if (IsCompressed() || view.ops == nullptr || view.ops->MirrorRows == nullptr) return 0;
  SurfaceAccess access(*this);
  if (!access.ok()) return 0;
  view.ops->MirrorRows(&view, x, y, view.pitch, width, height);
  if (view.alphaFirstRow != nullptr) {
    PixelView alpha = AlphaPlaneView(view);
    alpha.ops->MirrorRows(&alpha, x, y, alpha.pitch, width, height);
  }
  return 1;
}

int32_t cSurfaceImpl::MirrorY(int32_t x, int32_t y, int32_t width, int32_t height) {
  const int32_t state = MirrorRect(view, x, y, width, height, false);
  if (state <= 0) return state == 0 ? 0 : 1;
  if (IsCompressed()) return 0;
  SurfaceAccess access(*this);
  if (!access.ok()) return 0;
  FlipRowsVertical(&view, x, y, view.pitch, 0, height, uint32_t(width) * view.bytesPerPixel);
  if (view.alphaFirstRow != nullptr) {
    PixelView alpha = AlphaPlaneView(view);
    FlipRowsVertical(&alpha, x, y, alpha.pitch, 0, height, uint32_t(width));
  }
  return 1;
}
