#include "paint/PaintArea.h"

#include <algorithm>

#include "surface/SurfaceHandle.h"

bool VisiblePart(cSurfaceHandle& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                 SurfaceRect* out) {
  int32_t cx = 0, cy = 0, cw = 0, ch = 0;
  surface.GetClipRect(&cx, &cy, &cw, &ch);
  const int64_t left = std::max<int64_t>(x1, cx), top = std::max<int64_t>(y1, cy);
  const int64_t right = std::min<int64_t>(x2, int64_t(cx) + cw);
  const int64_t bottom = std::min<int64_t>(y2, int64_t(cy) + ch);
  if (left >= right || top >= bottom) return false;
  *out = SurfaceRect{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
  return true;
}
