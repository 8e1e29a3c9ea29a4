// The ink effects of the 8-bit format. Pixels are indices: the bitwise
// effects and invert work on the indices, the colour effects read both
// indices through the destination's palette and resolve their colour result
// through its inverse table (black gives index 0). Internal to pixel/.
#pragma once

#include <cstdint>

#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "pixel/InkKernels.h"

namespace pixel {

// Colour (0x00BBGGRR) of an index in the palette.
inline uint32_t IndexColour(const cPalette* palette, uint32_t index) {
  return EntryColour(palette->log.entries[index & 0xFF]);
}
inline uint32_t ResolveIndex(cPalette* palette, uint32_t colour) {
  return uint32_t(PaletteNearestIndex(palette, colour & 0x00FFFFFFu));
}

// Each effect: Pixel (InkPixel and InkSpan), KeyFillLeaves and KeyFillPixel
// (what a key fill stores; the key k is an index of the destination's
// palette).
struct Ink8Base : EffectBase {};

struct Ink8Blend : Ink8Base {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) {
    return ResolveIndex(st.destPalette, BlendWeighted(IndexColour(st.destPalette, s),
                                                      IndexColour(st.destPalette, d), st.destWeight));
  }
  static uint32_t KeyFillPixel(const InkState& st, uint32_t k, uint32_t d) { return Pixel(st, k, d); }
};
struct Ink8Invert : Ink8Base {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t) { return 255 - s; }
  static uint32_t KeyFillPixel(const InkState& st, uint32_t k, uint32_t d) { return Pixel(st, k, d); }
};
template <class Bitwise>
struct Ink8Bits : Ink8Base {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) { return Bitwise::Pixel(st, s, d) & 0xFF; }
  static uint32_t KeyFillPixel(const InkState& st, uint32_t k, uint32_t d) { return Pixel(st, k, d); }
  static bool KeyFillLeaves(uint32_t k) { return Bitwise::KeyFillLeaves(k); }
};
// Effect 6: a destination index 0 counts as the parameter's colour.
struct Ink8BlendOverColour : Ink8Base {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) {
    const uint32_t under = d == 0 ? st.colour : IndexColour(st.destPalette, d);
    return ResolveIndex(st.destPalette,
                        BlendWeighted(IndexColour(st.destPalette, s), under, st.destWeight));
  }
  static uint32_t KeyFillPixel(const InkState&, uint32_t, uint32_t d) { return d; }
  static bool KeyFillLeaves(uint32_t) { return true; }
};
// Effect 12: a destination whose colour is the parameter's stays.
struct Ink8BlendExceptColour : Ink8Base {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) {
    const uint32_t dc = IndexColour(st.destPalette, d);
    if (dc == st.colour) return d;
    return ResolveIndex(st.destPalette,
                        BlendWeighted(IndexColour(st.destPalette, s), dc, st.destWeight));
  }
  static uint32_t KeyFillPixel(const InkState&, uint32_t, uint32_t d) { return d; }
  static bool KeyFillLeaves(uint32_t) { return true; }
};
struct Ink8Add : Ink8Base {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) {
    return ResolveIndex(st.destPalette,
                        AddSaturated(IndexColour(st.destPalette, s), IndexColour(st.destPalette, d)));
  }
  static uint32_t KeyFillPixel(const InkState& st, uint32_t k, uint32_t d) { return Pixel(st, k, d); }
  static bool KeyFillLeaves(uint32_t k) { return k == 0; }
};
struct Ink8Sub : Ink8Base {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) {
    return ResolveIndex(st.destPalette,
                        SubSaturated(IndexColour(st.destPalette, s), IndexColour(st.destPalette, d)));
  }
  static uint32_t KeyFillPixel(const InkState& st, uint32_t k, uint32_t d) { return Pixel(st, k, d); }
  static bool KeyFillLeaves(uint32_t k) { return k == 0; }
};
// Grey of the source: (5 R + 9 G + 2 B) >> 4, the weights of every format.
struct Ink8Mono : Ink8Base {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t) {
    return ResolveIndex(st.destPalette, MonoOf(ColourToNative(IndexColour(st.destPalette, s))));
  }
  static uint32_t KeyFillPixel(const InkState& st, uint32_t k, uint32_t d) {
    return k == 0 ? 0 : Pixel(st, k, d);
  }
};

template <class E>
uint32_t Ink8PixelOf(const InkState* st, uint32_t s, uint32_t d) {
  return E::Pixel(*st, s, d);
}
template <class E>
void Ink8SpanOf(const InkState* st, const uint8_t* s, uint8_t* d, int32_t n) {
  for (; n > 0; --n, ++s, ++d) *d = uint8_t(E::Pixel(*st, *s, *d));
}
template <class E>
void Ink8KeyFillOf(const InkState* st, uint8_t* d, int32_t n) {
  const uint32_t k = st->srcKey;
  if (E::KeyFillLeaves(k)) return;
  for (; n > 0; --n, ++d) *d = uint8_t(E::KeyFillPixel(*st, k, *d));
}
template <class E>
void Ink8KeyedSpanOf(const InkState* st, const uint8_t* s, uint8_t* d, int32_t n) {
  const uint32_t k = st->srcKey;
  for (; n > 0; --n, ++s, ++d)
    if (*s != k) *d = uint8_t(E::Pixel(*st, *s, *d));
}
// Alpha-weighted: r = InkPixel; 255 stores r, others mix the colours of r
// and the destination (both indices of the destination's palette).
template <class E>
void Ink8AlphaSpanOf(const InkState* st, const uint8_t* s, const uint8_t* a, uint8_t* d,
                     int32_t n) {
  for (; n > 0; --n, ++s, ++d, ++a) {
    if (*a == 0) continue;
    const uint32_t r = E::Pixel(*st, *s, *d);
    *d = uint8_t(*a == 255 ? r
                           : ResolveIndex(st->destPalette,
                                          AlphaWeighted(IndexColour(st->destPalette, r),
                                                        IndexColour(st->destPalette, *d), *a)));
  }
}

template <class E>
void FillInk8Entry(InkOps& ops, uint32_t effect) {
  ops.pixel[effect] = &Ink8PixelOf<E>;
  ops.span[effect] = &Ink8SpanOf<E>;
  ops.keyFill[effect] = &Ink8KeyFillOf<E>;
  ops.keyedSpan[effect] = &Ink8KeyedSpanOf<E>;
  ops.alphaSpan[effect] = &Ink8AlphaSpanOf<E>;
}

inline InkOps MakeInk8Ops() {
  InkOps ops{};
  FillInk8Entry<Ink8Blend>(ops, EffectBlend);
  FillInk8Entry<Ink8Invert>(ops, EffectInvert);
  FillInk8Entry<Ink8Bits<InkXor>>(ops, EffectXor);
  FillInk8Entry<Ink8Bits<InkAnd>>(ops, EffectAnd);
  FillInk8Entry<Ink8Bits<InkOr>>(ops, EffectOr);
  FillInk8Entry<Ink8BlendOverColour>(ops, EffectBlendOverColour);
  FillInk8Entry<Ink8Bits<InkAndNot>>(ops, EffectAndNot);
  FillInk8Entry<Ink8Add>(ops, EffectAdd);
  FillInk8Entry<Ink8Mono>(ops, EffectMono);
  FillInk8Entry<Ink8Sub>(ops, EffectSub);
  FillInk8Entry<Ink8BlendExceptColour>(ops, EffectBlendExceptColour);
  ops.setup[EffectBlend] = &InkSetupBlend;
  // Effects 6 and 12 keep their colour in colour form: palettes hold 0x00BBGGRR.
  ops.setup[EffectBlendOverColour] = &InkSetupWeightedColour;
  ops.setup[EffectBlendExceptColour] = &InkSetupWeightedColour;
  return ops;
}

}  // namespace pixel
