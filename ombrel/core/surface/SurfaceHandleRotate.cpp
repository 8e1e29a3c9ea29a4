// The surface handle's rotations: quarter and half turns exactly, other
// angles through slot 42, and the sized forms that make the destination.
#include <cmath>

#include "surface/RotatedBounds.h"
#include "surface/SurfaceHandle.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951309679;

int32_t ReduceAngle(int32_t degrees) {
  const int32_t r = degrees % 360;
  return r < 0 ? r + 360 : r;
}

int32_t DegreesOf(double radians) {
  const double degrees = std::trunc(radians * kDegreesPerRadian);
  // Out-of-range values turn by whole turns: keep them inside int32.
  return std::isfinite(degrees) ? int32_t(std::fmod(degrees, 360.0)) : 0;
}

}  // namespace

int32_t cSurfaceHandle::RotateQuarter(cSurfaceHandle* dest, int32_t clockwise) {
  if (dest == nullptr) return 0;
  return Impl()->RotateQuarter(dest->Impl(), clockwise);
}

int32_t cSurfaceHandle::Rotate(cSurfaceHandle* dest, int32_t degrees, int32_t antiAlias,
                               uint32_t fillColour, int32_t keepTransparent) {
  if (dest == nullptr) return 0;
  const int32_t angle = ReduceAngle(degrees);
  if (angle == 90) return Impl()->RotateQuarter(dest->Impl(), 0);
  if (angle == 270) return Impl()->RotateQuarter(dest->Impl(), 1);
  if (angle == 180) {
    if (!CopyTo(dest)) return 0;
    dest->MirrorXAll();
    dest->MirrorYAll();
    return 1;
  }
  return Impl()->Rotate(dest->Impl(), angle, antiAlias, fillColour, keepTransparent);
}

int32_t cSurfaceHandle::RotateRadians(cSurfaceHandle* dest, double radians, int32_t antiAlias,
                                      uint32_t fillColour, int32_t) {
  return Rotate(dest, DegreesOf(radians), antiAlias, fillColour, 1);
}

int32_t cSurfaceHandle::CreateRotated(cSurfaceHandle* dest, int32_t degrees, int32_t antiAlias,
                                      uint32_t fillColour, int32_t) {
  // The destination is remade from this surface: it cannot be this surface.
  if (dest == nullptr || dest == this) return 0;
  const int32_t angle = ReduceAngle(degrees);
  const int32_t w = GetWidth(), h = GetHeight();
  if (angle == 90 || angle == 270) {
    if (dest->Create(h, w, this) == nullptr) return 0;
    return RotateQuarter(dest, angle == 270 ? 1 : 0);
  }
  if (angle == 180) {
    if (dest->Create(w, h, this) == nullptr) return 0;
    if (!Impl()->Blit(dest->Impl(), 0, 0, 0, 0, w, h, BlitOpaque, 0, 0, BlitWithAlpha)) {
      dest->Destroy();  // never an unpainted picture reported as turned
      return 0;
    }
    dest->Impl()->MirrorX(0, 0, w, h);
    dest->Impl()->MirrorY(0, 0, w, h);
    return 1;
  }
  int32_t rw = w, rh = h;
  GetRotatedSize(&rw, &rh, angle);
  if (rw <= 0 || rh <= 0) return 0;
  if (dest->Create(rw, rh, this) == nullptr) return 0;
  dest->FillAll(fillColour);
  return Rotate(dest, angle, antiAlias, fillColour, 1);
}

int32_t cSurfaceHandle::CreateRotatedRadians(cSurfaceHandle* dest, double radians,
                                             int32_t antiAlias, uint32_t fillColour,
                                             int32_t unused) {
  return CreateRotated(dest, DegreesOf(radians), antiAlias, fillColour, unused);
}

void cSurfaceHandle::GetRotatedSize(int32_t* width, int32_t* height, int32_t degrees) {
  if (width == nullptr || height == nullptr) return;
  const int32_t angle = ReduceAngle(degrees);
  if (angle == 90 || angle == 270) {
    const int32_t w = *width;
    *width = *height;
    *height = w;
    return;
  }
  if (angle == 180) return;
  RotatedRecord record{0, 0, *width, *height};
  RotatedBounds(&record, nullptr, nullptr, float(angle));
  *width = record.width;
  *height = record.height;
}
