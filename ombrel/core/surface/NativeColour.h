// Colours (0x00BBGGRR) and the native pixel values of the true-colour and
// high-colour formats. The 8-bit form goes through the surface's palette.
#pragma once

#include <cstdint>

// Native value at 15, 16, 24 or 32 bits; the top byte of the colour is ignored.
constexpr uint32_t ColourToNative(int32_t depth, uint32_t colour) {
  const uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  switch (depth) {
    case 15: return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    case 16: return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    default: return r << 16 | g << 8 | b;
  }
}

// The colour a native value shows: the kept top bits in place, the low bits 0.
constexpr uint32_t NativeToColour(int32_t depth, uint32_t value) {
  switch (depth) {
    case 15: return ((value >> 10) & 0x1F) << 3 | ((value >> 5) & 0x1F) << 11 | (value & 0x1F) << 19;
    case 16: return ((value >> 11) & 0x1F) << 3 | ((value >> 5) & 0x3F) << 10 | (value & 0x1F) << 19;
    default: return (value >> 16 & 0xFF) | (value & 0xFF00) | (value & 0xFF) << 16;
  }
}
