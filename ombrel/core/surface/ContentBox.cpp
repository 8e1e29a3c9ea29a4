// Slot 39 `GetContentBox`: the smallest box holding every pixel that is not
// transparent (by the alpha plane when there is one, else by the key).
#include <cstdint>

#include "pixel/CopyKernels.h"
#include "surface/BlitPaths.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

int32_t cSurfaceImpl::GetContentBox(SurfaceRect* out) {
  if (out == nullptr || (view.width <= 2 && view.height <= 2)) return 0;
  PixelRect box{};
  if (view.alphaFirstRow != nullptr) {
    const PixelView alpha = AlphaPlaneView(view);
    if (!FindContentBounds(&alpha, &box)) return 0;
  } else if (IsCompressed()) {
    cSurfaceImpl* plain = MakePlainCopy(*this, 0, 0, view.width, view.height);
    if (plain == nullptr) return 0;
    const int32_t done = plain->GetContentBox(out);
    DeleteSurface(plain);
    return done;
  } else {
    SurfaceAccess access(*this);
    if (!access.ok() || !FindContentBounds(&view, &box)) return 0;
  }
  *out = SurfaceRect{box.left, box.top, box.right, box.bottom};
  return 1;
}
