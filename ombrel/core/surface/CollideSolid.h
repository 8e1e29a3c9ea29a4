// Which pixels count as solid for collisions, masks and the content box:
// those whose native value differs from the surface's transparent value (8
// bits: the index; 15 and 16: the 16-bit value; 24: the three bytes; 32: the
// whole word, so a key colour with a non-zero fourth byte is solid).
// Internal to surface/. The row walks pick the pixel size once per row, so
// the compiler sees a fixed-size load in the loop.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "pixel/PixelView.h"

namespace collide {

template <int N>
inline uint32_t NativeOf(const uint8_t* p) {
  uint32_t v = 0;
  std::memcpy(&v, p, size_t(N));  // little-endian: the low bytes
  return v;
}

inline uint32_t NativeAt(const uint8_t* p, int32_t bytesPerPixel) {
  switch (bytesPerPixel) {
    case 1:
      return p[0];
    case 2:
      return NativeOf<2>(p);
    case 3:
      return NativeOf<3>(p);
    case 4:
      return NativeOf<4>(p);
    default: {
      uint32_t v = 0;
      std::memcpy(&v, p, size_t(bytesPerPixel > 0 && bytesPerPixel < 4 ? bytesPerPixel : 4));
      return v;
    }
  }
}

inline const uint8_t* PixelAt(const PixelView& v, int32_t x, int32_t y) {
  return v.firstRow + int64_t(y) * v.pitch + int64_t(x) * v.bytesPerPixel;
}

// Runs body.template operator()<N>() with N the surface's bytes per pixel
// (1 to 4); false for another size.
template <class Body>
bool WithPixelSize(const PixelView& v, Body&& body) {
  switch (v.bytesPerPixel) {
    case 1:
      body(std::integral_constant<int, 1>());
      return true;
    case 2:
      body(std::integral_constant<int, 2>());
      return true;
    case 3:
      body(std::integral_constant<int, 3>());
      return true;
    case 4:
      body(std::integral_constant<int, 4>());
      return true;
    default:
      return false;
  }
}

// Calls solid(x) for every solid pixel x of row y, left to right.
template <class F>
void ForSolidInRow(const PixelView& v, int32_t y, F solid) {
  const uint8_t* row = PixelAt(v, 0, y);
  const uint32_t key = v.transparentValue;
  const bool sized = WithPixelSize(v, [&](auto size) {
    constexpr int N = decltype(size)::value;
    const uint8_t* p = row;
    for (int32_t x = 0; x < v.width; ++x, p += N)
      if (NativeOf<N>(p) != key) solid(x);
  });
  if (sized) return;
  const uint8_t* p = row;
  for (int32_t x = 0; x < v.width; ++x, p += v.bytesPerPixel)
    if (NativeAt(p, v.bytesPerPixel) != key) solid(x);
}

// ORs the solid pixels of row y into `bits`: bit x & 7 of byte x >> 3.
inline void OrSolidBits(const PixelView& v, int32_t y, uint8_t* bits) {
  const uint8_t* row = PixelAt(v, 0, y);
  const uint32_t key = v.transparentValue;
  const bool sized = WithPixelSize(v, [&](auto size) {
    constexpr int N = decltype(size)::value;
    const uint8_t* p = row;
    int32_t x = 0;
    for (; x + 8 <= v.width; x += 8, p += 8 * N) {
      uint32_t byte = 0;
      for (int32_t i = 0; i < 8; ++i) byte |= uint32_t(NativeOf<N>(p + i * N) != key) << i;
      bits[x >> 3] |= uint8_t(byte);
    }
    for (; x < v.width; ++x, p += N)
      if (NativeOf<N>(p) != key) bits[x >> 3] |= uint8_t(1u << (x & 7));
  });
  if (!sized) ForSolidInRow(v, y, [bits](int32_t x) { bits[x >> 3] |= uint8_t(1u << (x & 7)); });
}

// The first and last solid column of row y (first > last: none).
inline void SolidSpan(const PixelView& v, int32_t y, int32_t* first, int32_t* last) {
  const uint8_t* row = PixelAt(v, 0, y);
  const uint32_t key = v.transparentValue;
  *first = v.width;
  *last = -1;
  const bool sized = WithPixelSize(v, [&](auto size) {
    constexpr int N = decltype(size)::value;
    int32_t x = 0;
    while (x < v.width && NativeOf<N>(row + int64_t(x) * N) == key) ++x;
    if (x == v.width) return;
    *first = x;
    int32_t z = v.width - 1;
    while (NativeOf<N>(row + int64_t(z) * N) == key) --z;
    *last = z;
  });
  if (sized) return;
  ForSolidInRow(v, y, [&](int32_t x) {
    if (x < *first) *first = x;
    *last = x;
  });
}

}  // namespace collide
