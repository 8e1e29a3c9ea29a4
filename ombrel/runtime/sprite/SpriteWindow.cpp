#include "sprite/SpriteWindow.h"

#include "imagebank/ImageBank.h"

bool BankSpriteImages::Geometry(uint32_t image, ImageGeometry* out) {
  const ImageEntry* e = FindImage(app_, image);
  if (e == nullptr) return false;
  *out = {e->width, e->height, e->hotX, e->hotY};
  return true;
}
