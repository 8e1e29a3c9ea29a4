// Polygon points moved for drawing on a context with another origin.
#pragma once

#include <cstdint>
#include <new>
#include <vector>

// `count` x, y pairs moved by (-dx, -dy) into `out`, with the 32-bit
// wrap-around of the platform's coordinates; the caller's points stay as they
// are. False when the copy cannot be allocated.
inline bool ShiftedPoints(const int32_t* points, int32_t count, int32_t dx, int32_t dy,
                          std::vector<int32_t>* out) {
  try {
    out->resize(size_t(count) * 2);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (size_t i = 0; i < size_t(count); ++i) {
    (*out)[2 * i] = int32_t(uint32_t(points[2 * i]) - uint32_t(dx));
    (*out)[2 * i + 1] = int32_t(uint32_t(points[2 * i + 1]) - uint32_t(dy));
  }
  return true;
}
