// A surface's device context taken for one library drawing and given back
// afterwards, unless the surface already had it out: a client's context held
// across a library blit stays valid.
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
