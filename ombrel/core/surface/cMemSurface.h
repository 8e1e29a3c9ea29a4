// A surface that owns a heap pixel buffer: rows padded to 4 bytes, top-down,
// the first row aligned to 8 bytes. Every plain off-screen surface is one.
#pragma once

#include "surface/cSurfaceImpl.h"

class cMemSurface final : public cSurfaceImpl {
 public:
  cMemSurface() = default;

  // An empty prototype of a depth (8, 15, 16, 24 or 32; at 8 bits with the
  // shared default palette), from which sized surfaces are made; null for
  // another depth or out of memory.
  static cMemSurface* CreatePrototype(int32_t depth);

  void Delete(uint32_t flags) override;
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override;
  int32_t Reallocate(int32_t width, int32_t height) override;
  int32_t ReadPixels(void* file) override;
  int32_t WritePixels(void* file) override;

 private:
  void FreeBuffer();
};
OMB_PIN_SIZE(cMemSurface, 96);
