#include "surface/BorrowedDC.h"

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
