// The ink effects of the 5-5-5 and 5-6-5 formats. Blends and mono work on
// widened colours and narrow their result; invert, xor, and, or and and-not
// on the whole word (bit 15 of 5-5-5 included); add and sub on the native
// fields, each saturated to its own range. Internal to pixel/.
#pragma once

#include <cstdint>

#include "pixel/InkKernels.h"
#include "pixel/PixelFormat16.h"

namespace pixel {

template <class F>
struct Ink16Blend : EffectBase {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) {
    return F::Narrow(BlendWeighted(F::Widen(s), F::Widen(d), st.destWeight));
  }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
};

struct Ink16Invert : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t) { return ~s & 0xFFFFu; }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
};

// Effect 6: a destination pixel equal to the key counts as the parameter's
// colour with all eight bits of each byte.
template <class F>
struct Ink16BlendOverColour : EffectBase {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) {
    const uint32_t under = d == st.srcKey ? ColourToNative(st.colour) : F::Widen(d);
    return F::Narrow(BlendWeighted(F::Widen(s), under, st.destWeight));
  }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
  static bool KeyFillLeaves(uint32_t) { return true; }
};

// Effect 12: st.colour holds the protected colour narrowed in the format.
template <class F>
struct Ink16BlendExceptColour : EffectBase {
  static uint32_t Pixel(const InkState& st, uint32_t s, uint32_t d) {
    return d == st.colour ? d : F::Narrow(BlendWeighted(F::Widen(s), F::Widen(d), st.destWeight));
  }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
  static bool KeyFillLeaves(uint32_t) { return true; }
};

template <class F>
struct Ink16Add : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t d) {
    const uint32_t b = (s & 31) + (d & 31);
    const uint32_t g = (s >> 5 & F::kGreenMax) + (d >> 5 & F::kGreenMax);
    const uint32_t r = (s >> F::kRedShift & 31) + (d >> F::kRedShift & 31);
    return (r > 31 ? 31 : r) << F::kRedShift | (g > F::kGreenMax ? F::kGreenMax : g) << 5 |
           (b > 31 ? 31 : b);
  }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
  static bool KeyFillLeaves(uint32_t k) { return k == 0; }
};

template <class F>
struct Ink16Sub : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t d) {
    auto floor0 = [](uint32_t dv, uint32_t sv) { return dv > sv ? dv - sv : 0; };
    return floor0(d >> F::kRedShift & 31, s >> F::kRedShift & 31) << F::kRedShift |
           floor0(d >> 5 & F::kGreenMax, s >> 5 & F::kGreenMax) << 5 | floor0(d & 31, s & 31);
  }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
  static bool KeyFillLeaves(uint32_t k) { return k == 0; }
};

// g = (5 R + 9 G + 2 B) >> 4 of the widened source.
template <class F>
struct Ink16Mono : EffectBase {
  static uint32_t Pixel(const InkState&, uint32_t s, uint32_t) { return F::Narrow(MonoOf(F::Widen(s))); }
  static uint32_t SpanPixel(const InkState& st, uint32_t s, uint32_t d) { return Pixel(st, s, d); }
};

// The blend's key fill mixes in the source's transparent colour as given
// (0x00BBGGRR, all eight bits), not the narrowed key.
template <class F>
void Ink16BlendKeyFill(const InkState* st, uint8_t* d, int32_t n) {
  const uint32_t under = ColourToNative(st->srcTransparentColour);
  for (; n > 0; --n, d += F::kBytes)
    F::Store(d, F::Narrow(BlendWeighted(under, F::Widen(F::Load(d)), st->destWeight)));
}

void InkSetup16ExceptColour555(InkState* st);
void InkSetup16ExceptColour565(InkState* st);

template <class F>
InkOps MakeInk16Ops() {
  InkOps ops{};
  FillInkEntry<F, Ink16Blend<F>>(ops, EffectBlend);
  ops.keyFill[EffectBlend] = &Ink16BlendKeyFill<F>;
  FillInkEntry<F, Ink16Invert>(ops, EffectInvert);
  FillInkEntry<F, InkXor>(ops, EffectXor);
  FillInkEntry<F, InkAnd>(ops, EffectAnd);
  FillInkEntry<F, InkOr>(ops, EffectOr);
  FillInkEntry<F, Ink16BlendOverColour<F>>(ops, EffectBlendOverColour);
  FillInkEntry<F, InkAndNot>(ops, EffectAndNot);
  FillInkEntry<F, Ink16Add<F>>(ops, EffectAdd);
  FillInkEntry<F, Ink16Mono<F>>(ops, EffectMono);
  FillInkEntry<F, Ink16Sub<F>>(ops, EffectSub);
  FillInkEntry<F, Ink16BlendExceptColour<F>>(ops, EffectBlendExceptColour);
  ops.setup[EffectBlend] = &InkSetupBlend;
  ops.setup[EffectBlendOverColour] = &InkSetupWeightedColour;
  ops.setup[EffectBlendExceptColour] =
      F::kDepthIndex == 1 ? &InkSetup16ExceptColour555 : &InkSetup16ExceptColour565;
  return ops;
}

}  // namespace pixel
