// The logical origin of a surface's device context as slot `GetDCOrigin`
// reports it: x in the low 16 bits, y in the high 16. Both halves are signed:
// an origin of -1 must move a picture one pixel, not 65535.
#pragma once

#include <cstdint>

constexpr uint32_t PackDCOrigin(int32_t x, int32_t y) {
  return uint32_t(y) << 16 | (uint32_t(x) & 0xFFFFu);
}
constexpr int32_t DCOriginX(uint32_t packed) { return int16_t(uint16_t(packed & 0xFFFFu)); }
constexpr int32_t DCOriginY(uint32_t packed) { return int16_t(uint16_t(packed >> 16)); }
