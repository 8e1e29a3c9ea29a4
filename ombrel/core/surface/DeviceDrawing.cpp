#include "surface/DeviceDrawing.h"

#include "surface/GdiDraw.h"
#include "surface/SurfaceHandle.h"

DeviceDrawing::DeviceDrawing(cSurfaceHandle& surface)
    : surface_(surface), impl_(cSurfaceHandle::GetImpl(&surface)) {
  dc_ = impl_ != nullptr ? impl_->GetDC() : nullptr;
  if (dc_ == nullptr) {
    surface.lastError = ErrInvalidData;
    return;
  }
  if (!impl_->HasDC()) {
    shiftX_ = surface.originX;
    shiftY_ = surface.originY;
  }
  savedClip_ = surface.SetupClipRegion(dc_);
}

DeviceDrawing::~DeviceDrawing() {
  if (dc_ == nullptr) return;
  FlushDrawing();
  surface_.RestoreClipRegion(dc_, savedClip_);
  impl_->ReleaseDC(dc_);
}
