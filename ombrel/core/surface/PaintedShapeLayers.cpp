#include "surface/PaintedShapeLayers.h"

#include "paint/cPaintBase.h"
#include "pixel/InkEffects.h"
#include "surface/GdiDraw.h"
#include "surface/SurfaceLibraryApi.h"

bool PaintedShapeLayers::Make(cSurfaceHandle& target, int32_t width, int32_t height) {
  width_ = width;
  height_ = height;
  cSurfaceHandle* prototype = GetOwnDCPrototype(target.GetDepth());
  if (prototype == nullptr || !prototype->IsValid()) {
    target.lastError = ErrInvalidData;  // no back end that draws on device contexts
    return false;
  }
  for (cSurfaceHandle* layer : {&picture, &mask}) {
    if (layer->Create(width, height, prototype) == nullptr) {
      target.lastError = ErrOutOfMemory;
      return false;
    }
    if (target.GetDepth() == 8) layer->SetPaletteFrom(&target, 0);
    layer->SetTransparentColour(kMaskBlack);
  }
  void* dc = MaskDC();
  if (dc == nullptr) {
    target.lastError = ErrInvalidData;
    return false;
  }
  ReleaseMaskDC(dc);
  return true;
}

void PaintedShapeLayers::Picture(cPaintBase& paint, int32_t shapeWidth, int32_t shapeHeight,
                                 bool setOrigin, int32_t originX, int32_t originY) {
  picture.FillAll(kMaskBlack);
  const uint32_t previous = setOrigin ? paint.SetOrigin(originX, originY) : 0;
  paint.FillAll(&picture, shapeWidth, shapeHeight, 1);
  if (setOrigin) paint.SetOrigin(int16_t(previous & 0xFFFF), int16_t(previous >> 16));
}

void PaintedShapeLayers::Lay(cSurfaceHandle& target, int32_t x, int32_t y, uint32_t blitFlags,
                             uint32_t effect, uint32_t parameter) {
  picture.Blit(&mask, 0, 0, 0, 0, width_, height_, BlitOpaque, EffectAnd, 0, 0);
  mask.Blit(&target, x, y, 0, 0, width_, height_, BlitKeyed, effect, parameter, blitFlags);
}

void PaintedShapeLayers::LayPicture(cSurfaceHandle& target, int32_t x, int32_t y,
                                    uint32_t blitFlags, uint32_t effect, uint32_t parameter) {
  picture.Blit(&target, x, y, 0, 0, width_, height_, BlitKeyed, effect, parameter, blitFlags);
}

void* PaintedShapeLayers::MaskDC() { return cSurfaceHandle::GetImpl(&mask)->GetDC(); }

void PaintedShapeLayers::ReleaseMaskDC(void* dc) {
  FlushDrawing();  // the mask's pixels are read next
  cSurfaceHandle::GetImpl(&mask)->ReleaseDC(dc);
}
