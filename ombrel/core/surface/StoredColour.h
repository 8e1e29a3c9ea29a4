// A pixel's colour (0x00BBGGRR) from its stored bytes and back, for any
// depth, without the per-format routine rows: 8 bits through the palette,
// 15 and 16 bits with the low bits 0, 24 and 32 bits as blue, green, red (a
// 32-bit pixel's fourth byte is neither read nor written).
#pragma once

#include <cstdint>

#include "palette/PaletteApi.h"
#include "surface/NativeColour.h"
#include "surface/cSurfaceImpl.h"

inline uint32_t ReadStoredColour(const PixelView& v, const uint8_t* p) {
  switch (v.depth) {
    case 8:
      return v.palette != nullptr ? EntryColour(v.palette->log.entries[*p]) : 0;
    case 15:
    case 16:
      return NativeToColour(v.depth, uint32_t(p[0]) | uint32_t(p[1]) << 8);
    default:
      return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
  }
}

// `index` is the 8-bit value to store (the caller's nearest palette index).
inline void WriteStoredColour(const PixelView& v, uint8_t* p, uint32_t colour, uint8_t index) {
  switch (v.depth) {
    case 8:
      *p = index;
      break;
    case 15:
    case 16: {
      const uint32_t n = ColourToNative(v.depth, colour);
      p[0] = uint8_t(n);
      p[1] = uint8_t(n >> 8);
      break;
    }
    default:
      p[0] = uint8_t(colour >> 16);
      p[1] = uint8_t(colour >> 8);
      p[2] = uint8_t(colour);
      break;
  }
}
