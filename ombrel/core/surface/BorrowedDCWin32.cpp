#include "surface/BorrowedDC.h"

#include <windows.h>

#include "surface/DCOrigin.h"
#include "surface/SurfaceTypes.h"
#include "surface/cDIBSurface.h"

BorrowedDC::BorrowedDC(cSurfaceImpl* surface) : surface_(surface), dc_(nullptr), release_(false) {
  if (surface == nullptr) return;
  // Only the on-demand DIB context is deleted by ReleaseDC; the others are
  // counted or kept, so giving them back is always right.
  const bool heldAlready = surface->GetKind() == SurfaceKindDIB &&
                           static_cast<cDIBSurface*>(surface)->HoldsDC();
  dc_ = surface->GetDC();
  release_ = dc_ != nullptr && !heldAlready;
}

BorrowedDC::~BorrowedDC() {
  if (release_) surface_->ReleaseDC(dc_);
}

void SurfaceDCOrigin(cSurfaceImpl* surface, int32_t* x, int32_t* y) {
  *x = *y = 0;
  if (surface == nullptr || !surface->HasDC()) return;
  const uint32_t packed = surface->GetDCOrigin();
  *x = DCOriginX(packed);
  *y = DCOriginY(packed);
}

int32_t GdiCopyToDCOnly(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                        void* sourceDC, int32_t sx, int32_t sy, int32_t sw, int32_t sh) {
  if (dest == nullptr || sourceDC == nullptr) return 0;
  BorrowedDC destDC(dest);
  if (destDC.get() == nullptr) return 0;
  int32_t ox = 0, oy = 0;
  SurfaceDCOrigin(dest, &ox, &oy);
  HDC to = static_cast<HDC>(destDC.get());
  HDC from = static_cast<HDC>(sourceDC);
  const BOOL done = dw == sw && dh == sh
                        ? ::BitBlt(to, dx + ox, dy + oy, dw, dh, from, sx, sy, SRCCOPY)
                        : ::StretchBlt(to, dx + ox, dy + oy, dw, dh, from, sx, sy, sw, sh, SRCCOPY);
  return done ? 1 : 0;
}
