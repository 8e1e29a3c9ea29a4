#include <algorithm>

#include "palette/cPalette.h"
#include "support/PixelReference.h"

namespace pixref {
namespace {

uint32_t Byte(uint32_t c, int i) { return c >> (8 * i) & 0xFF; }
uint32_t Key15(uint32_t c) { return (Byte(c, 0) >> 3) << 10 | (Byte(c, 1) >> 3) << 5 | Byte(c, 2) >> 3; }
uint32_t Distance(uint32_t a, uint32_t b) {
  uint32_t sum = 0;
  for (int i = 0; i < 3; ++i) {
    const int32_t d = int32_t(Byte(a, i)) - int32_t(Byte(b, i));
    sum += uint32_t(d * d);
  }
  return sum;
}
template <class F>
uint32_t PerByte(uint32_t a, uint32_t b, F f) {
  uint32_t r = 0;
  for (int i = 0; i < 3; ++i) r |= f(Byte(a, i), Byte(b, i)) << (8 * i);
  return r;
}
uint32_t BlendColours(uint32_t s, uint32_t d, uint32_t p) {
  return PerByte(s, d, [p](uint32_t a, uint32_t b) { return (a * (128 - p) + b * p) >> 7; });
}

}  // namespace

uint32_t KeyCentre15(uint32_t key) {
  auto middle = [](uint32_t v) { return v << 3 | 4u; };
  return middle(key >> 10 & 31) | middle(key >> 5 & 31) << 8 | middle(key & 31) << 16;
}

Palette8 ColoursOf(const cPalette* palette) {
  Palette8 out{};
  for (int i = 0; i < 256; ++i) out.colour[i] = EntryColour(palette->log.entries[i]);
  return out;
}

uint32_t Resolve8(const Palette8& p, uint32_t colour) {
  colour &= 0xFFFFFF;
  if (colour == 0) return 0;
  for (int i = 255; i >= 1; --i)
    if (p.colour[i] == colour) return uint32_t(i);
  const uint32_t key = Key15(colour);
  for (int i = 255; i >= 1; --i)
    if (Key15(p.colour[i]) == key) return uint32_t(i);
  const uint32_t target = KeyCentre15(key);
  uint32_t best = 1;
  for (uint32_t i = 1; i < 256; ++i)
    if (Distance(p.colour[i], target) <= Distance(p.colour[best], target)) best = i;
  return best;
}

uint32_t Ink8(const Palette8& p, uint32_t effect, uint32_t parameter, uint32_t s, uint32_t d) {
  const uint32_t cs = p.colour[s & 0xFF], cd = p.colour[d & 0xFF];
  switch (effect) {
    case 1:
      return Resolve8(p, BlendColours(cs, cd, parameter));
    case 2:
      return 255 - s;
    case 3:
      return s ^ d;
    case 4:
      return s & d;
    case 5:
      return s | d;
    case 6:
      return Resolve8(p, BlendColours(cs, d == 0 ? parameter & 0xFFFFFF : cd, parameter >> 24));
    case 8:
      return d & ~s & 0xFF;
    case 9:
      return Resolve8(p, PerByte(cs, cd, [](uint32_t a, uint32_t b) { return std::min(a + b, 255u); }));
    case 10: {
      const uint32_t g = (5 * Byte(cs, 0) + 9 * Byte(cs, 1) + 2 * Byte(cs, 2)) >> 4;
      return Resolve8(p, g * 0x010101u);
    }
    case 11:
      return Resolve8(p, PerByte(cs, cd, [](uint32_t a, uint32_t b) { return b > a ? b - a : 0; }));
    case 12:
      return cd == (parameter & 0xFFFFFF) ? d : Resolve8(p, BlendColours(cs, cd, parameter >> 24));
    default:
      return d;
  }
}

uint32_t InkKeyFill8(const Palette8& p, uint32_t effect, uint32_t parameter, uint32_t d,
                     uint32_t key) {
  switch (effect) {
    case 6:
    case 12:
      return d;
    case 3:
    case 5:
    case 8:
    case 9:
    case 11:
      if (key == 0) return d;
      break;
    case 4:
    case 10:
      if (key == 0) return 0;
      break;
    default:
      break;
  }
  return Ink8(p, effect, parameter, key, d);
}

uint32_t ConvertTo8(int32_t srcDepth, const cPalette* srcPalette, uint32_t srcPixel,
                    const cPalette* destPalette) {
  const uint32_t colour = srcDepth == 8 ? ColoursOf(srcPalette).colour[srcPixel & 0xFF]
                                        : ColourOfNative(srcDepth, srcPixel);
  return Resolve8(ColoursOf(destPalette), colour);
}

uint32_t ConvertFrom8(const cPalette* srcPalette, uint32_t index, int32_t destDepth) {
  const uint32_t colour = ColoursOf(srcPalette).colour[index & 0xFF];
  if (destDepth == 15 || destDepth == 16) {
    const uint32_t v = Pixel16Of(destDepth, colour);
    return v == 0 && colour != 0 ? 1 : v;
  }
  return (colour & 0xFF) << 16 | (colour & 0xFF00) | colour >> 16;  // bytes B, G, R (, 0)
}

}  // namespace pixref
