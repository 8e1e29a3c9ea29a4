// `PixelCollide`: whether two surfaces have a solid pixel at the same place
// of two equal rectangles.
#include <cstdint>
#include <initializer_list>

#include "surface/BlitPaths.h"
#include "surface/CollideSolid.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

int32_t cSurfaceImpl::PixelCollide(cSurfaceImpl* other, int32_t otherX, int32_t otherY, int32_t x,
                                   int32_t y, int32_t width, int32_t height) {
  if (other == nullptr || width <= 0 || height <= 0) return 0;
  // Without a comparable pixel form the answer is the cautious one.
  if (other->view.bytesPerPixel != view.bytesPerPixel) return 1;
  // Callers pass rectangles inside both surfaces; anything else is refused
  // rather than read out of bounds.
  auto inside = [](const PixelView& v, int64_t px, int64_t py, int64_t w, int64_t h) {
    return px >= 0 && py >= 0 && px + w <= v.width && py + h <= v.height;
  };
  if (!inside(view, x, y, width, height) || !inside(other->view, otherX, otherY, width, height))
    return 0;
  // A compressed image answers through a plain copy of the rectangle.
  for (cSurfaceImpl* side : {static_cast<cSurfaceImpl*>(this), other}) {
    if (!side->IsCompressed()) continue;
    const bool self = side == this;
    cSurfaceImpl* plain = MakePlainCopy(*side, self ? x : otherX, self ? y : otherY, width, height);
    if (plain == nullptr) return 1;
    const int32_t hit = self ? plain->PixelCollide(other, otherX, otherY, 0, 0, width, height)
                             : PixelCollide(plain, 0, 0, x, y, width, height);
    DeleteSurface(plain);
    return hit;
  }
  SurfaceAccess access(*this);
  if (!access.ok()) return 1;
  SurfaceAccess otherAccess(*other);
  if (!otherAccess.ok()) return 1;
  const int32_t n = view.bytesPerPixel;
  const uint32_t key = view.transparentValue, otherKey = other->view.transparentValue;
  for (int32_t j = 0; j < height; ++j) {
    const uint8_t* a = collide::PixelAt(view, x, y + j);
    const uint8_t* b = collide::PixelAt(other->view, otherX, otherY + j);
    for (int32_t i = 0; i < width; ++i, a += n, b += n)
      if (collide::NativeAt(a, n) != key && collide::NativeAt(b, n) != otherKey) return 1;
  }
  return 0;
}
