// The per-pixel formulas of the ink effects on native true-colour values and
// the row loops built from them. Each effect is a type, so the row loops are
// instantiated per effect: no call and no effect test per pixel. Internal to
// pixel/.
#pragma once

#include <cstdint>

#include "pixel/InkEffects.h"
#include "pixel/PixelFormat.h"

namespace pixel {

// (s * (128 - p) + d * p) >> 7 per colour byte, byte 3 = 0; two lanes per
// multiply (each lane stays below 2^15).
inline uint32_t BlendWeighted(uint32_t s, uint32_t d, uint32_t p) {
  const uint32_t q = 128 - p;
  const uint32_t rb = ((s & 0xFF00FFu) * q + (d & 0xFF00FFu) * p) >> 7 & 0xFF00FFu;
  const uint32_t g = ((s & 0xFF00u) * q + (d & 0xFF00u) * p) >> 7 & 0xFF00u;
  return rb | g;
}

inline uint32_t MonoOf(uint32_t s) {
  const uint32_t g = (2 * (s & 0xFF) + 9 * (s >> 8 & 0xFF) + 5 * (s >> 16 & 0xFF)) >> 4;
  return g * 0x010101u;
}

inline uint32_t AddSaturated(uint32_t s, uint32_t d) {
  return PerByte(s, d, [](uint32_t a, uint32_t b) { return a + b > 255 ? 255 : a + b; });
}
inline uint32_t SubSaturated(uint32_t s, uint32_t d) {
  return PerByte(s, d, [](uint32_t a, uint32_t b) { return b > a ? b - a : 0; });
}

// Effect types: Pixel is InkPixel; SpanPixel what InkSpan and InkKeyFill
// store (differs for invert only); KeyFillLeaves tells when a key fill
// leaves the run as it is.
struct EffectBase {
  static bool KeyFillLeaves(uint32_t) { return false; }
};

// Not an ink effect: the plain source pixel, for the alpha-weighted copy.
struct InkCopy : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t) { return s; }
  static uint32_t SpanPixel(const InkState&, uint32_t s, uint32_t) { return s; }
};
struct InkBlend : EffectBase {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) {
    return BlendWeighted(s, d, st.destWeight);
  }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
};
struct InkInvert : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t) { return s ^ 0x00FFFFFFu; }
  static uint32_t SpanPixel(const InkState&, uint32_t s, uint32_t) { return ~s; }
};
struct InkXor : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t d) { return s ^ d; }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
  static bool KeyFillLeaves(uint32_t k) { return k == 0; }
};
struct InkAnd : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t d) { return s & d; }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
};
struct InkOr : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t d) { return s | d; }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
  static bool KeyFillLeaves(uint32_t k) { return k == 0; }
};
struct InkBlendOverColour : EffectBase {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) {
    return BlendWeighted(s, d == st.srcKey ? st.colour : d, st.destWeight);
  }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
};
struct InkAndNot : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t d) { return d & ~s; }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
  static bool KeyFillLeaves(uint32_t k) { return k == 0; }
};
struct InkAdd : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t d) { return AddSaturated(s, d); }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
  static bool KeyFillLeaves(uint32_t k) { return k == 0; }
};
struct InkMono : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t) { return MonoOf(s); }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
};
struct InkSub : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t d) { return SubSaturated(s, d); }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
  static bool KeyFillLeaves(uint32_t k) { return k == 0; }
};
struct InkBlendExceptColour : EffectBase {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) {
    return d == st.colour ? d : BlendWeighted(s, d, st.destWeight);
  }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
};

// ---- row loops ----

template <class F, class E>
uint32_t InkPixelOf(const InkState* st, uint32_t s, uint32_t d) {
  return E::Pixel(*st, s, d);
}

template <class F, class E>
void InkSpanOf(const InkState* st, const uint8_t* s, uint8_t* d, int32_t n) {
  for (; n > 0; --n, s += F::kBytes, d += F::kBytes)
    F::Store(d, E::SpanPixel(*st, F::Load(s), F::Load(d)));
}

template <class F, class E>
void InkKeyFillOf(const InkState* st, uint8_t* d, int32_t n) {
  const uint32_t k = st->srcKey;
  if (E::KeyFillLeaves(k)) return;
  for (; n > 0; --n, d += F::kBytes) F::Store(d, E::SpanPixel(*st, k, F::Load(d)));
}

template <class F, class E>
void InkKeyedSpanOf(const InkState* st, const uint8_t* s, uint8_t* d, int32_t n) {
  const uint32_t k = st->srcKey;
  for (; n > 0; --n, s += F::kBytes, d += F::kBytes) {
    const uint32_t sv = F::Load(s);
    if (sv != k) F::Store(d, E::Pixel(*st, sv, F::Load(d)));
  }
}

template <class F, class E>
void InkAlphaSpanOf(const InkState* st, const uint8_t* s, const uint8_t* a, uint8_t* d,
                    int32_t n) {
  for (; n > 0; --n, s += F::kBytes, d += F::kBytes, ++a) {
    const uint32_t av = *a;
    if (av == 0) continue;
    const uint32_t dv = F::Load(d);
    const uint32_t r = E::Pixel(*st, F::Load(s), dv);
    F::Store(d, av == 255 ? r : F::AlphaMix(r, dv, av));
  }
}

void InkSetupBlend(InkState* st);
void InkSetupWeightedColour(InkState* st);  // effect 6: colour taken as native
void InkSetupExceptColour(InkState* st);    // effect 12: colour converted to native

template <class F, class E>
void FillInkEntry(InkOps& ops, uint32_t effect) {
  ops.pixel[effect] = &InkPixelOf<F, E>;
  ops.span[effect] = &InkSpanOf<F, E>;
  ops.keyFill[effect] = &InkKeyFillOf<F, E>;
  ops.keyedSpan[effect] = &InkKeyedSpanOf<F, E>;
  ops.alphaSpan[effect] = &InkAlphaSpanOf<F, E>;
}

// The plain set of a true-colour format.
template <class F>
InkOps MakeTrueColourInkOps() {
  InkOps ops{};
  FillInkEntry<F, InkBlend>(ops, EffectBlend);
  FillInkEntry<F, InkInvert>(ops, EffectInvert);
  FillInkEntry<F, InkXor>(ops, EffectXor);
  FillInkEntry<F, InkAnd>(ops, EffectAnd);
  FillInkEntry<F, InkOr>(ops, EffectOr);
  FillInkEntry<F, InkBlendOverColour>(ops, EffectBlendOverColour);
  FillInkEntry<F, InkAndNot>(ops, EffectAndNot);
  FillInkEntry<F, InkAdd>(ops, EffectAdd);
  FillInkEntry<F, InkMono>(ops, EffectMono);
  FillInkEntry<F, InkSub>(ops, EffectSub);
  FillInkEntry<F, InkBlendExceptColour>(ops, EffectBlendExceptColour);
  ops.setup[EffectBlend] = &InkSetupBlend;
  ops.setup[EffectBlendOverColour] = &InkSetupWeightedColour;
  ops.setup[EffectBlendExceptColour] = &InkSetupExceptColour;
  return ops;
}

}  // namespace pixel
