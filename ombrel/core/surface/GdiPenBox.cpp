#include "surface/GdiDraw.h"

SurfaceRect GdiPenBox(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t penWidth) {
  // Truncating division: widths 0 and 1 keep the box.
  const int32_t before = penWidth / 2, after = (penWidth - 1) / 2;
  return SurfaceRect{left + before, top + before, right - after, bottom - after};
}
