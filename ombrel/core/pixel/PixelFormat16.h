// The 15-bit (5-5-5) and 16-bit (5-6-5) pixel formats: one little-endian
// word per pixel. Widening puts each field at the top of its byte with zero
// low bits (white reads 0xF8F8F8 or 0xF8FCF8); narrowing keeps the top bits of
// each byte without rounding. Values in between are native 0x00RRGGBB, so the
// true-colour byte formulas apply to them. Internal to pixel/.
#pragma once

#include <cstdint>
#include <cstring>

#include "pixel/PixelFormat.h"

namespace pixel {

template <int GreenBits>
struct Fmt16 {
  static constexpr int kBytes = 2;
  static constexpr int32_t kDepthIndex = GreenBits == 5 ? 1 : 2;
  static constexpr int kRedShift = 5 + GreenBits;
  static constexpr uint32_t kGreenMax = (1u << GreenBits) - 1;
  static constexpr uint32_t kCompareMask = 0xFFFFu;  // bit 15 of 5-5-5 included

  static uint32_t Load(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
  }
  static void Store(uint8_t* p, uint32_t v) {
    const uint16_t w = uint16_t(v);
    std::memcpy(p, &w, 2);
  }
  static uint32_t KeyOf(uint32_t key) { return key & 0xFFFFu; }

  static uint32_t Widen(uint32_t v) {
    const uint32_t r = (v >> kRedShift & 31) << 3;
    const uint32_t g = (v >> 5 & kGreenMax) << (8 - GreenBits);
    const uint32_t b = (v & 31) << 3;
    return r << 16 | g << 8 | b;
  }
  static uint32_t Narrow(uint32_t native) {
    return (native >> 19 & 31) << kRedShift | (native >> (16 - GreenBits) & kGreenMax) << 5 |
           (native >> 3 & 31);
  }

  static uint32_t FromColour(uint32_t colour) { return Narrow(ColourToNative(colour)); }
  static uint32_t ToColour(uint32_t v) { return NativeToColour(Widen(v)); }
  static void PutColour(uint8_t* p, uint32_t colour) { Store(p, FromColour(colour)); }
  static uint32_t AlphaMix(uint32_t r, uint32_t d, uint32_t a) {
    return Narrow(AlphaWeighted(Widen(r), Widen(d), a));
  }
};

using Fmt555 = Fmt16<5>;
using Fmt565 = Fmt16<6>;

}  // namespace pixel
