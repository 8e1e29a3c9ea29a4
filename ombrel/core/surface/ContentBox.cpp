// Slot 39 `GetContentBox`: the smallest box holding every pixel that is not
// transparent (by the alpha plane when there is one, else by the key).
#include <algorithm>
#include <cstdint>

#include "pixel/CopyKernels.h"
#include "surface/BlitPaths.h"
#include "surface/CollideSolid.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

namespace {

// The bounds of the pixels that differ from the view's key, each row scanned
// from both ends; with none, the inverted box {width - 1, height - 1, 1, 1}
// that FindContentBounds gives.
int32_t SolidBounds(const PixelView& v, PixelRect* out) {
  if (v.width <= 0 || v.height <= 0 || v.depthIndex < 0 || v.depthIndex > 4) return 0;
  int32_t minX = v.width - 1, minY = v.height - 1, maxX = 0, maxY = 0;
  for (int32_t y = 0; y < v.height; ++y) {
    int32_t first = 0, last = 0;
    collide::SolidSpan(v, y, &first, &last);
    if (first > last) continue;
    minX = std::min(minX, first);
    maxX = std::max(maxX, last);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  *out = PixelRect{minX, minY, maxX + 1, maxY + 1};
  return 1;
}

}  // namespace

int32_t cSurfaceImpl::GetContentBox(SurfaceRect* out) {
  if (out == nullptr || (view.width <= 2 && view.height <= 2)) return 0;
  PixelRect box{};
  if (view.alphaFirstRow != nullptr) {
    const PixelView alpha = AlphaPlaneView(view);
    if (!SolidBounds(alpha, &box)) return 0;
  } else if (IsCompressed()) {
    cSurfaceImpl* plain = MakePlainCopy(*this, 0, 0, view.width, view.height);
    if (plain == nullptr) return 0;
    const int32_t done = plain->GetContentBox(out);
    DeleteSurface(plain);
    return done;
  } else {
    SurfaceAccess access(*this);
    if (!access.ok() || !SolidBounds(view, &box)) return 0;
  }
  *out = SurfaceRect{box.left, box.top, box.right, box.bottom};
  return 1;
}
