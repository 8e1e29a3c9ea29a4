// The surface handle's fills with a paint.
#include "paint/PaintArea.h"
#include "paint/cPaintBase.h"
#include "surface/SurfaceHandle.h"

namespace {
// start + length, held at the ends of the 32-bit range instead of wrapping.
int32_t EndOf(int32_t start, int32_t length) { return ClampToInt32(int64_t(start) + length); }
}  // namespace

int32_t cSurfaceHandle::FillRectPaint(int32_t x, int32_t y, int32_t width, int32_t height,
                                      cPaintBase* paint) {
  // A compressed image's block has no pixel rows to fill.
  if (paint == nullptr || Impl()->IsCompressed()) return 0;
  return paint->Fill(this, x, y, EndOf(x, width), EndOf(y, height), 0);
}

int32_t cSurfaceHandle::FillAllPaint(cPaintBase* paint) {
  if (paint == nullptr || Impl()->IsCompressed()) return 0;
  return paint->FillAll(this, GetWidth(), GetHeight(), 0);
}
