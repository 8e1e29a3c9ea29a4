// Which pixels count as solid for collisions and masks: those whose native
// value differs from the surface's transparent value (8 bits: the index;
// 15 and 16: the 16-bit value; 24: the three bytes; 32: the whole word, so a
// key colour with a non-zero fourth byte is solid). Internal to surface/.
#pragma once

#include <cstdint>
#include <cstring>

#include "pixel/PixelView.h"

namespace collide {

inline uint32_t NativeAt(const uint8_t* p, int32_t bytesPerPixel) {
  uint32_t v = 0;
  std::memcpy(&v, p, size_t(bytesPerPixel));  // little-endian: the low bytes
  return v;
}

inline const uint8_t* PixelAt(const PixelView& v, int32_t x, int32_t y) {
  return v.firstRow + int64_t(y) * v.pitch + int64_t(x) * v.bytesPerPixel;
}

// Calls solid(x) for every solid pixel x of row y, left to right.
template <class F>
void ForSolidInRow(const PixelView& v, int32_t y, F solid) {
  const uint8_t* p = PixelAt(v, 0, y);
  const int32_t n = v.bytesPerPixel;
  const uint32_t key = v.transparentValue;
  for (int32_t x = 0; x < v.width; ++x, p += n)
    if (NativeAt(p, n) != key) solid(x);
}

}  // namespace collide
