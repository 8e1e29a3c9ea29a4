// A surface laid over a caller's packed device-independent bitmap (header,
// colour table or masks, bits) without copying or owning it. A header it
// does not accept leaves the view empty (width 0): every drawing does nothing.
#pragma once

#include "surface/BitmapInfoHeader.h"
#include "surface/cSurfaceImpl.h"

class cDIBViewSurface final : public cSurfaceImpl {
 public:
  // `bits` null: the bits follow the colour table or masks.
  cDIBViewSurface(const BitmapInfoHeader* header, const void* bits);
  // Views are usually short-lived stack objects.
  ~cDIBViewSurface() { Detach(); }

  void Delete(uint32_t flags) override;
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override;
  int32_t SetDepthAndPalette(int32_t depth) override;

 private:
  void Detach();
};
OMB_PIN_SIZE(cDIBViewSurface, 96);
