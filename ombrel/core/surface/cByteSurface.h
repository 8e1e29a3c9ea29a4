// An 8-bit grey surface: a view over caller bytes (every alpha channel is
// drawn through one) or, made by MakeInstance, the owner of its buffer.
#pragma once

#include "surface/cSurfaceImpl.h"

class cByteSurface final : public cSurfaceImpl {
 public:
  cByteSurface();  // empty, owns nothing; used by MakeInstance
  // View over caller memory; the caller keeps it alive for the view's life.
  cByteSurface(uint8_t* firstRow, int32_t width, int32_t height, int32_t pitch);
  ~cByteSurface() { Release(); }

  void Delete(uint32_t flags) override;
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override;
  int32_t Reallocate(int32_t width, int32_t height) override;

  int32_t ownsBuffer = 0;

 private:
  void Release();
};
OMB_PIN_SIZE(cByteSurface, 100);
