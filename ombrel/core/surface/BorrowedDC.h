// A surface's device context taken for one library drawing and given back
// afterwards, unless the surface already had it out: a client's context held
// across a library blit stays valid. And the GDI copy onto a surface that has
// only a device context.
#pragma once

#include "surface/cSurfaceImpl.h"

class BorrowedDC {
 public:
  explicit BorrowedDC(cSurfaceImpl* surface);
  ~BorrowedDC();
  BorrowedDC(const BorrowedDC&) = delete;
  BorrowedDC& operator=(const BorrowedDC&) = delete;
  void* get() const { return dc_; }

 private:
  cSurfaceImpl* surface_;
  void* dc_;
  bool release_;
};

// The device-context origin of a surface that has one, as signed halves; (0, 0) otherwise.
void SurfaceDCOrigin(cSurfaceImpl* surface, int32_t* x, int32_t* y);

// GDI's copy onto a surface without pixels of its own: (sx, sy, sw, sh) of
// `sourceDC` (logical coordinates) to (dx, dy, dw, dh) of the destination
// plus its context origin; BitBlt when the sizes are equal, else StretchBlt,
// always SRCCOPY. 0 when either context is missing or GDI fails.
int32_t GdiCopyToDCOnly(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                        void* sourceDC, int32_t sx, int32_t sy, int32_t sw, int32_t sh);
