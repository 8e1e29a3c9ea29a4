#include "pixel/PixelVectorInk.h"

#include <emmintrin.h>

#include <cstring>

#include "pixel/InkKernels16.h"
#include "pixel/InkKernels8.h"

#define OMB_SSE2 __attribute__((target("sse2")))

namespace pixel {
namespace {

OMB_SSE2 inline __m128i Load16(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
OMB_SSE2 inline void Store16(uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
OMB_SSE2 inline __m128i Select(__m128i mask, __m128i ifSet, __m128i ifClear) {
  return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

// One pixel per byte lane (8 bits) or per word lane (15, 16 bits).
struct ByteLanes {
  static constexpr int kBytes = 1;
  static uint32_t Load(const uint8_t* p) { return *p; }
  static void Store(uint8_t* p, uint32_t v) { *p = uint8_t(v); }
  OMB_SSE2 static __m128i Splat(uint32_t v) { return _mm_set1_epi8(static_cast<char>(v)); }
  OMB_SSE2 static __m128i Equal(__m128i a, __m128i b) { return _mm_cmpeq_epi8(a, b); }
};
struct WordLanes {
  static constexpr int kBytes = 2;
  static uint32_t Load(const uint8_t* p) { return Fmt565::Load(p); }
  static void Store(uint8_t* p, uint32_t v) { Fmt565::Store(p, v); }
  OMB_SSE2 static __m128i Splat(uint32_t v) { return _mm_set1_epi16(static_cast<short>(v)); }
  OMB_SSE2 static __m128i Equal(__m128i a, __m128i b) { return _mm_cmpeq_epi16(a, b); }
};

// A vector effect V on 16 bytes of lanes, with the plain effect E for the
// pixels after the last whole block.
template <class E, class V>
struct LaneOp {
  const InkState* st;
  V v;
  OMB_SSE2 explicit LaneOp(const InkState* state) : st(state), v(state) {}
  OMB_SSE2 __m128i operator()(__m128i s, __m128i d) const { return v(s, d); }
  uint32_t Scalar(uint32_t s, uint32_t d) const { return E::Pixel(*st, s, d); }
};

template <class L, class Op>
OMB_SSE2 void VectorSpan(const InkState* st, const uint8_t* s, uint8_t* d, int32_t n) {
  const Op op(st);
  int32_t bytes = n * L::kBytes;
  for (; bytes >= 32; bytes -= 32, s += 32, d += 32) {
    const __m128i r0 = op(Load16(s), Load16(d)), r1 = op(Load16(s + 16), Load16(d + 16));
    Store16(d, r0);
    Store16(d + 16, r1);
  }
  for (; bytes >= 16; bytes -= 16, s += 16, d += 16) Store16(d, op(Load16(s), Load16(d)));
  for (; bytes > 0; bytes -= L::kBytes, s += L::kBytes, d += L::kBytes)
    L::Store(d, op.Scalar(L::Load(s), L::Load(d)));
}

// Lanes equal to the key keep the destination; a wholly transparent block is
// not touched.
template <class L, class Op>
OMB_SSE2 void VectorKeyedSpan(const InkState* st, const uint8_t* s, uint8_t* d, int32_t n) {
  const Op op(st);
  const uint32_t key = st->srcKey;
  const __m128i k = L::Splat(key);
  int32_t bytes = n * L::kBytes;
  for (; bytes >= 16; bytes -= 16, s += 16, d += 16) {
    const __m128i sv = Load16(s);
    const __m128i keyed = L::Equal(sv, k);
    const int mask = _mm_movemask_epi8(keyed);
    if (mask == 0xFFFF) continue;
    const __m128i dv = Load16(d);
    const __m128i r = op(sv, dv);
    Store16(d, mask == 0 ? r : Select(keyed, dv, r));
  }
  for (; bytes > 0; bytes -= L::kBytes, s += L::kBytes, d += L::kBytes) {
    const uint32_t v = L::Load(s);
    if (v != key) L::Store(d, op.Scalar(v, L::Load(d)));
  }
}

// ---- whole-lane effects (8-bit indices, 16-bit words) ----

struct InvertV {
  OMB_SSE2 explicit InvertV(const InkState*) {}
  OMB_SSE2 __m128i operator()(__m128i s, __m128i) const {
    return _mm_xor_si128(s, _mm_set1_epi32(-1));
  }
};
struct XorV {
  OMB_SSE2 explicit XorV(const InkState*) {}
  OMB_SSE2 __m128i operator()(__m128i s, __m128i d) const { return _mm_xor_si128(s, d); }
};
struct AndV {
  OMB_SSE2 explicit AndV(const InkState*) {}
  OMB_SSE2 __m128i operator()(__m128i s, __m128i d) const { return _mm_and_si128(s, d); }
};
struct OrV {
  OMB_SSE2 explicit OrV(const InkState*) {}
  OMB_SSE2 __m128i operator()(__m128i s, __m128i d) const { return _mm_or_si128(s, d); }
};
struct AndNotV {
  OMB_SSE2 explicit AndNotV(const InkState*) {}
  OMB_SSE2 __m128i operator()(__m128i s, __m128i d) const { return _mm_andnot_si128(s, d); }
};

// ---- field effects of 5-5-5 and 5-6-5 words ----
//
// Widening puts a field at the top of its byte with zero low bits and
// narrowing drops the low bits, so a byte formula (x * u + y * v) >> k
// followed by narrowing equals the same formula on the fields themselves:
// every step below works on the 5- or 6-bit fields in 16-bit lanes.

template <int GreenBits>
struct Fields {
  static constexpr int kRedShift = 5 + GreenBits;
  OMB_SSE2 static __m128i Blue(__m128i v) { return _mm_and_si128(v, _mm_set1_epi16(31)); }
  OMB_SSE2 static __m128i Green(__m128i v) {
    return _mm_and_si128(_mm_srli_epi16(v, 5), _mm_set1_epi16((1 << GreenBits) - 1));
  }
  // Bit 15 of 5-5-5 is not colour.
  OMB_SSE2 static __m128i Red(__m128i v) {
    return _mm_and_si128(_mm_srli_epi16(v, kRedShift), _mm_set1_epi16(31));
  }
  OMB_SSE2 static __m128i Pack(__m128i r, __m128i g, __m128i b) {
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(r, kRedShift), _mm_slli_epi16(g, 5)), b);
  }
};

// (s * (128 - p) + d * p) >> 7 per field (at most 63 x 128 per lane).
template <int GreenBits>
struct BlendV {
  using F = Fields<GreenBits>;
  __m128i q, p;
  OMB_SSE2 explicit BlendV(const InkState* st)
      : q(_mm_set1_epi16(static_cast<short>(st->srcWeight))),
        p(_mm_set1_epi16(static_cast<short>(st->destWeight))) {}
  OMB_SSE2 __m128i Mix(__m128i s, __m128i d) const {
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(s, q), _mm_mullo_epi16(d, p)), 7);
  }
  OMB_SSE2 __m128i operator()(__m128i s, __m128i d) const {
    return F::Pack(Mix(F::Red(s), F::Red(d)), Mix(F::Green(s), F::Green(d)), Mix(F::Blue(s), F::Blue(d)));
  }
};

// Each field's sum, saturated to the field's range.
template <int GreenBits>
struct AddV {
  using F = Fields<GreenBits>;
  OMB_SSE2 explicit AddV(const InkState*) {}
  OMB_SSE2 __m128i operator()(__m128i s, __m128i d) const {
    const __m128i max5 = _mm_set1_epi16(31), maxG = _mm_set1_epi16((1 << GreenBits) - 1);
    return F::Pack(_mm_min_epi16(_mm_add_epi16(F::Red(s), F::Red(d)), max5),
                   _mm_min_epi16(_mm_add_epi16(F::Green(s), F::Green(d)), maxG),
                   _mm_min_epi16(_mm_add_epi16(F::Blue(s), F::Blue(d)), max5));
  }
};

// Each field of the destination less the source's, floored at 0.
template <int GreenBits>
struct SubV {
  using F = Fields<GreenBits>;
  OMB_SSE2 explicit SubV(const InkState*) {}
  OMB_SSE2 __m128i operator()(__m128i s, __m128i d) const {
    return F::Pack(_mm_subs_epu16(F::Red(d), F::Red(s)), _mm_subs_epu16(F::Green(d), F::Green(s)),
                   _mm_subs_epu16(F::Blue(d), F::Blue(s)));
  }
};

template <class L, class E, class V>
void SetVector(InkOps& ops, uint32_t effect) {
  ops.span[effect] = &VectorSpan<L, LaneOp<E, V>>;
  ops.keyedSpan[effect] = &VectorKeyedSpan<L, LaneOp<E, V>>;
}

// (x * a + y * b) >> 8 per lane, b = 256 - a (at most 63 x 256 per lane).
OMB_SSE2 inline __m128i AlphaMix8(__m128i x, __m128i y, __m128i a, __m128i b) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(x, a), _mm_mullo_epi16(y, b)), 8);
}

template <int GreenBits>
OMB_SSE2 inline __m128i AlphaFields(__m128i s, __m128i d, __m128i a, __m128i b) {
  using F = Fields<GreenBits>;
  return F::Pack(AlphaMix8(F::Red(s), F::Red(d), a, b), AlphaMix8(F::Green(s), F::Green(d), a, b),
                 AlphaMix8(F::Blue(s), F::Blue(d), a, b));
}

template <int GreenBits>
OMB_SSE2 void AlphaCopyRow16(const uint8_t* s, const uint8_t* a, uint8_t* d, int32_t n) {
  using F = Fmt16<GreenBits>;
  const __m128i zero = _mm_setzero_si128();
  const __m128i v255 = _mm_set1_epi16(255), v256 = _mm_set1_epi16(256);
  for (; n >= 8; n -= 8, s += 16, d += 16, a += 8) {
    uint64_t a8;
    std::memcpy(&a8, a, 8);
    if (a8 == 0) continue;
    const __m128i sv = Load16(s);
    if (a8 == ~uint64_t(0)) {
      Store16(d, sv);
      continue;
    }
    const __m128i dv = Load16(d);
    const __m128i aw = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a)), zero);
    const __m128i mixed = AlphaFields<GreenBits>(sv, dv, aw, _mm_sub_epi16(v256, aw));
    // Alpha 0 keeps the destination word and 255 takes the source word whole
    // (bit 15 of 5-5-5 with it); only the others are mixed.
    Store16(d, Select(_mm_cmpeq_epi16(aw, zero), dv, Select(_mm_cmpeq_epi16(aw, v255), sv, mixed)));
  }
  for (; n > 0; --n, s += 2, d += 2, ++a) {
    const uint32_t av = *a;
    if (av == 0) continue;
    F::Store(d, av == 255 ? F::Load(s) : F::AlphaMix(F::Load(s), F::Load(d), av));
  }
}

}  // namespace

InkOps MakeVectorInk8Ops() {
  InkOps ops = MakeInk8Ops();
  SetVector<ByteLanes, Ink8Invert, InvertV>(ops, EffectInvert);
  SetVector<ByteLanes, Ink8Bits<InkXor>, XorV>(ops, EffectXor);
  SetVector<ByteLanes, Ink8Bits<InkAnd>, AndV>(ops, EffectAnd);
  SetVector<ByteLanes, Ink8Bits<InkOr>, OrV>(ops, EffectOr);
  SetVector<ByteLanes, Ink8Bits<InkAndNot>, AndNotV>(ops, EffectAndNot);
  return ops;
}

template <int GreenBits>
InkOps MakeVectorInk16Ops() {
  using F = Fmt16<GreenBits>;
  InkOps ops = MakeInk16Ops<F>();
  SetVector<WordLanes, Ink16Blend<F>, BlendV<GreenBits>>(ops, EffectBlend);
  SetVector<WordLanes, Ink16Invert, InvertV>(ops, EffectInvert);
  SetVector<WordLanes, InkXor, XorV>(ops, EffectXor);
  SetVector<WordLanes, InkAnd, AndV>(ops, EffectAnd);
  SetVector<WordLanes, InkOr, OrV>(ops, EffectOr);
  SetVector<WordLanes, InkAndNot, AndNotV>(ops, EffectAndNot);
  SetVector<WordLanes, Ink16Add<F>, AddV<GreenBits>>(ops, EffectAdd);
  SetVector<WordLanes, Ink16Sub<F>, SubV<GreenBits>>(ops, EffectSub);
  return ops;
}

template InkOps MakeVectorInk16Ops<5>();
template InkOps MakeVectorInk16Ops<6>();

OMB_SSE2 void AlphaCopyRow555Vector(const uint8_t* s, const uint8_t* a, uint8_t* d, int32_t n) {
  AlphaCopyRow16<5>(s, a, d, n);
}
OMB_SSE2 void AlphaCopyRow565Vector(const uint8_t* s, const uint8_t* a, uint8_t* d, int32_t n) {
  AlphaCopyRow16<6>(s, a, d, n);
}

}  // namespace pixel
