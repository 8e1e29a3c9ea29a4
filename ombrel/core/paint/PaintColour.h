// The colour rules of paints: black kept away from 0 for painted shapes.
#pragma once

#include <cstdint>

// 0 becomes 8 (a dark red the shapes' transparent black never matches).
constexpr uint32_t NonBlack(uint32_t colour) { return colour == 0 ? 8 : colour; }

// When red, green and blue are all 7 or less, one of them becomes 8: blue
// when it is the greatest alone, else green when it is, else red.
constexpr uint32_t AwayFromBlack(uint32_t colour) {
  const uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  if (r > 7 || g > 7 || b > 7) return colour;
  if (b > r && b > g) return (colour & ~0xFF0000u) | 0x080000u;
  if (g > r && g > b) return (colour & ~0x00FF00u) | 0x000800u;
  return (colour & ~0x0000FFu) | 0x000008u;
}

// An origin as SetOrigin answers it: x in the low 16 bits, y in the high 16.
constexpr uint32_t PackOrigin(int32_t x, int32_t y) {
  return (uint32_t(x) & 0xFFFFu) | (uint32_t(y) << 16);
}

// Sets a paint's origin fields; answers the previous origin packed.
inline uint32_t ExchangeOrigin(int32_t* originX, int32_t* originY, int32_t x, int32_t y) {
  const uint32_t previous = PackOrigin(*originX, *originY);
  *originX = x;
  *originY = y;
  return previous;
}
