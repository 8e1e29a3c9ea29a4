// Native forms of the true-colour formats and the row addressing shared by
// the pixel routines. Internal to pixel/.
#pragma once

#include <cstdint>
#include <cstring>

#include "pixel/PixelView.h"

namespace pixel {

// 0x00BBGGRR <-> 0x00RRGGBB: swap bytes 0 and 2, byte 3 cleared.
constexpr uint32_t ColourToNative(uint32_t colour) {
  return (colour & 0xFFu) << 16 | (colour & 0xFF00u) | (colour >> 16 & 0xFFu);
}
constexpr uint32_t NativeToColour(uint32_t native) { return ColourToNative(native); }

inline uint8_t* RowAt(const PixelView* v, int32_t x, int32_t y) {
  return v->firstRow + static_cast<intptr_t>(y) * v->pitch +
         static_cast<intptr_t>(x) * v->bytesPerPixel;
}
inline uint8_t* AlphaAt(const PixelView* v, int32_t x, int32_t y) {
  return v->alphaFirstRow + static_cast<intptr_t>(y) * v->alphaPitch + x;
}

inline uint32_t LoadU32(const uint8_t* p) {
  uint32_t w;
  std::memcpy(&w, p, 4);
  return w;
}
inline void StoreU32(uint8_t* p, uint32_t w) { std::memcpy(p, &w, 4); }

// (s * a + d * (256 - a)) >> 8 per colour byte, byte 3 = 0 (lanes below 2^16).
inline uint32_t AlphaWeighted(uint32_t s, uint32_t d, uint32_t a) {
  const uint32_t b = 256 - a;
  const uint32_t rb = ((s & 0xFF00FFu) * a + (d & 0xFF00FFu) * b) >> 8 & 0xFF00FFu;
  const uint32_t g = ((s & 0xFF00u) * a + (d & 0xFF00u) * b) >> 8 & 0xFF00u;
  return rb | g;
}

// A format type gives: kBytes and kDepthIndex; Load and Store of one native
// value; KeyOf, the part of a surface's key that its transparency test
// compares; FromColour and ToColour between 0x00BBGGRR and native values;
// PutColour (a stored colour may keep bits outside the colour); AlphaMix of a
// new value over the old one by an alpha byte.
// The true-colour formats share the colour conversions: byte 3 is not colour.
struct TrueColourBase {
  static constexpr uint32_t kCompareMask = 0x00FFFFFFu;  // ReplaceColour compares these bits
  static uint32_t FromColour(uint32_t colour) { return ColourToNative(colour); }
  static uint32_t ToColour(uint32_t v) { return NativeToColour(v & 0x00FFFFFFu); }
  static void PutColour(uint8_t* p, uint32_t colour) {
    const uint32_t v = ColourToNative(colour);
    p[0] = uint8_t(v);  // byte 3 of a 32-bit pixel stays
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
  }
  static uint32_t AlphaMix(uint32_t r, uint32_t d, uint32_t a) { return AlphaWeighted(r, d, a); }
};

// 32 bits: four bytes blue, green, red, byte 3; the native value is the word.
struct Fmt32 : TrueColourBase {
  static constexpr int kBytes = 4;
  static constexpr int32_t kDepthIndex = 4;
  static constexpr uint32_t kColourMask = 0x00FFFFFFu;
  static uint32_t KeyOf(uint32_t key) { return key; }  // the whole word
  static uint32_t Load(const uint8_t* p) { return LoadU32(p); }
  static void Store(uint8_t* p, uint32_t v) { StoreU32(p, v); }
};

// 24 bits: three packed bytes; values never carry bits above 23. Loads read
// exactly three bytes so that nothing past a row's last pixel is touched.
struct Fmt24 : TrueColourBase {
  static constexpr int kBytes = 3;
  static constexpr int32_t kDepthIndex = 3;
  static constexpr uint32_t kColourMask = 0x00FFFFFFu;
  static uint32_t KeyOf(uint32_t key) { return key & 0x00FFFFFFu; }  // three bytes
  static uint32_t Load(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
  }
  static void Store(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
  }
};

// 8 bits: one palette index per pixel. Colours go through palettes, so the
// hooks here work on indices: where the other formats' fill and replace take
// colours, the 8-bit ones take indices (Pixel8.cpp has the palette paths).
struct Fmt8 {
  static constexpr int kBytes = 1;
  static constexpr int32_t kDepthIndex = 0;
  static constexpr uint32_t kCompareMask = 0xFFu;
  static uint32_t Load(const uint8_t* p) { return *p; }
  static void Store(uint8_t* p, uint32_t v) { *p = uint8_t(v); }
  static uint32_t KeyOf(uint32_t key) { return key & 0xFFu; }
  static uint32_t FromColour(uint32_t index) { return index & 0xFFu; }
};

// Per colour byte (blue, green, red) of two native values; byte 3 of the
// result is 0.
template <class F>
inline uint32_t PerByte(uint32_t a, uint32_t b, F f) {
  uint32_t r = 0;
  for (int shift = 0; shift < 24; shift += 8) r |= uint32_t(f(a >> shift & 0xFF, b >> shift & 0xFF)) << shift;
  return r;
}

// (s * a + d * (256 - a)) >> 8 per colour byte, byte 3 = 0.
inline uint32_t AlphaMix(uint32_t s, uint32_t d, uint32_t a) {
  return PerByte(s, d, [a](uint32_t sb, uint32_t db) { return (sb * a + db * (256 - a)) >> 8; });
}

}  // namespace pixel
