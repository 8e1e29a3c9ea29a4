// A pixel's colour (0x00BBGGRR) from its stored bytes and back, for any
// depth, without the per-format routine rows: 8 bits through the palette,
// 15 and 16 bits with the low bits 0, 24 and 32 bits as blue, green, red (a
// 32-bit pixel's fourth byte is neither read nor written). The templates
// serve loops of one depth; the plain forms pick the depth per call.
#pragma once

#include <cstdint>

#include "palette/PaletteApi.h"
#include "surface/NativeColour.h"
#include "surface/cSurfaceImpl.h"

template <int Depth>
inline uint32_t ReadStoredColourAt(const cPalette* palette, const uint8_t* p) {
  if constexpr (Depth == 8) {
    return palette != nullptr ? EntryColour(palette->log.entries[*p]) : 0;
  } else if constexpr (Depth == 15 || Depth == 16) {
    return NativeToColour(Depth, uint32_t(p[0]) | uint32_t(p[1]) << 8);
  } else {
    return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
  }
}

// `index` is the 8-bit value to store (the caller's nearest palette index).
template <int Depth>
inline void WriteStoredColourAt(uint8_t* p, uint32_t colour, uint8_t index) {
  if constexpr (Depth == 8) {
    *p = index;
  } else if constexpr (Depth == 15 || Depth == 16) {
    const uint32_t n = ColourToNative(Depth, colour);
    p[0] = uint8_t(n);
    p[1] = uint8_t(n >> 8);
  } else {
    p[0] = uint8_t(colour >> 16);
    p[1] = uint8_t(colour >> 8);
    p[2] = uint8_t(colour);
  }
}

inline uint32_t ReadStoredColour(const PixelView& v, const uint8_t* p) {
  switch (v.depth) {
    case 8:
      return ReadStoredColourAt<8>(v.palette, p);
    case 15:
      return ReadStoredColourAt<15>(v.palette, p);
    case 16:
      return ReadStoredColourAt<16>(v.palette, p);
    default:
      return ReadStoredColourAt<24>(v.palette, p);
  }
}

inline void WriteStoredColour(const PixelView& v, uint8_t* p, uint32_t colour, uint8_t index) {
  switch (v.depth) {
    case 8:
      WriteStoredColourAt<8>(p, colour, index);
      break;
    case 15:
      WriteStoredColourAt<15>(p, colour, index);
      break;
    case 16:
      WriteStoredColourAt<16>(p, colour, index);
      break;
    default:
      WriteStoredColourAt<24>(p, colour, index);
      break;
  }
}
