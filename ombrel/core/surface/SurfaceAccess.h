// Brackets pixel work with Lock/Unlock unless the pixels are reachable already.
#pragma once

#include "surface/cSurfaceImpl.h"

class SurfaceAccess {
 public:
  explicit SurfaceAccess(cSurfaceImpl& surface) : surface_(surface) {
    if (surface.view.buffer != nullptr) {
      ok_ = true;
    } else {
      ok_ = surface.Lock() != 0;
      locked_ = ok_;
    }
  }
  ~SurfaceAccess() {
    if (locked_) surface_.Unlock();
  }
  SurfaceAccess(const SurfaceAccess&) = delete;
  SurfaceAccess& operator=(const SurfaceAccess&) = delete;
  bool ok() const { return ok_ && surface_.view.firstRow != nullptr; }

 private:
  cSurfaceImpl& surface_;
  bool ok_ = false;
  bool locked_ = false;
};

inline uint8_t* PixelRow(const PixelView& view, int32_t y) {
  return view.firstRow + int64_t(y) * view.pitch;
}
