// The two temporaries of a shape filled with a paint: the paint's picture
// and a white-on-black mask of the part being drawn. Both are instances of
// the own-DC prototype of the target's depth (the platform draws the masks
// on their device contexts), take the target's palette at 8 bits, and have
// black as their transparent colour. Each part is the picture ANDed into the
// mask, which is then laid on the target keyed on black.
#pragma once

#include <cstdint>

#include "surface/SurfaceHandle.h"

class PaintedShapeLayers {
 public:
  // width x height temporaries for `target`; false with the target's last
  // error set (ErrInvalidData: no device context to draw masks on;
  // ErrOutOfMemory: the temporaries could not be made).
  bool Make(cSurfaceHandle& target, int32_t width, int32_t height);

  // The paint's picture of a shapeWidth x shapeHeight shape, drawn with the
  // shape flag. With `setOrigin` the paint's origin is `origin` meanwhile
  // (the offset of the temporaries within the shape) and put back after.
  void Picture(cPaintBase& paint, int32_t shapeWidth, int32_t shapeHeight, bool setOrigin,
               int32_t originX, int32_t originY);
  // Clears the mask to black and hands its device context to draw(dc).
  template <class Draw>
  bool Mask(Draw draw);
  // The picture ANDed into the mask, laid on the target at (x, y).
  void Lay(cSurfaceHandle& target, int32_t x, int32_t y, uint32_t blitFlags, uint32_t effect,
           uint32_t parameter);
  // The picture alone laid on the target (a part that needs no mask).
  void LayPicture(cSurfaceHandle& target, int32_t x, int32_t y, uint32_t blitFlags,
                  uint32_t effect, uint32_t parameter);

  cSurfaceHandle picture;
  cSurfaceHandle mask;

 private:
  void* MaskDC();
  void ReleaseMaskDC(void* dc);
  int32_t width_ = 0;
  int32_t height_ = 0;
};

constexpr uint32_t kMaskWhite = 0x00FFFFFF;
constexpr uint32_t kMaskBlack = 0;

template <class Draw>
bool PaintedShapeLayers::Mask(Draw draw) {
  mask.FillAll(kMaskBlack);
  void* dc = MaskDC();
  if (dc == nullptr) return false;
  draw(dc);
  ReleaseMaskDC(dc);
  return true;
}
