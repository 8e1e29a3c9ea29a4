#include "pixel/PixelVector32.h"

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "pixel/InkKernels.h"

#define OMB_SSE2 __attribute__((target("sse2")))

namespace pixel {
namespace {

constexpr uint32_t kColourBytes = 0x00FFFFFFu;

OMB_SSE2 inline __m128i Load4(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
OMB_SSE2 inline void Store4(uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
OMB_SSE2 inline __m128i Select(__m128i mask, __m128i ifSet, __m128i ifClear) {
  return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

// (s * q + d * p) >> 7 on eight 16-bit lanes.
OMB_SSE2 inline __m128i Blend16(__m128i s, __m128i d, __m128i q, __m128i p) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(s, q), _mm_mullo_epi16(d, p)), 7);
}

OMB_SSE2 inline __m128i Blend4(__m128i s, __m128i d, __m128i q, __m128i p, __m128i colourMask) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = Blend16(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), q, p);
  const __m128i hi = Blend16(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), q, p);
  return _mm_and_si128(_mm_packus_epi16(lo, hi), colourMask);
}

}  // namespace

OMB_SSE2 void FillRow32Vector(uint8_t* d, int32_t n, uint32_t value) {
  const __m128i v = _mm_set1_epi32(static_cast<int>(value));
  for (; n >= 8; n -= 8, d += 32) {
    Store4(d, v);
    Store4(d + 16, v);
  }
  for (; n >= 4; n -= 4, d += 16) Store4(d, v);
  for (; n > 0; --n, d += 4) StoreU32(d, value);
}

// Each row stored whole with aligned 16-byte stores (a copy of the first row
// would read as much as it writes; library fills switch to string
// instructions on long rows, slow on some processors).
OMB_SSE2 void FillRows32Vector(uint8_t* d, int32_t pitch, int32_t n, int32_t h, uint32_t value) {
  const __m128i v = _mm_set1_epi32(static_cast<int>(value));
  for (; h > 0; --h, d += pitch) {
    uint8_t* p = d;
    int32_t left = n;
    if ((reinterpret_cast<uintptr_t>(p) & 3) != 0) {
      FillRow32Vector(p, left, value);
      continue;
    }
    for (; left > 0 && (reinterpret_cast<uintptr_t>(p) & 15) != 0; --left, p += 4) StoreU32(p, value);
    for (; left >= 16; left -= 16, p += 64) {
      _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
      _mm_store_si128(reinterpret_cast<__m128i*>(p + 16), v);
      _mm_store_si128(reinterpret_cast<__m128i*>(p + 32), v);
      _mm_store_si128(reinterpret_cast<__m128i*>(p + 48), v);
    }
    for (; left >= 4; left -= 4, p += 16) _mm_store_si128(reinterpret_cast<__m128i*>(p), v);
    for (; left > 0; --left, p += 4) StoreU32(p, value);
  }
}

namespace {

struct CopyOp {
  OMB_SSE2 __m128i operator()(__m128i sv, __m128i) const { return sv; }
  uint32_t operator()(uint32_t sv, uint32_t) const { return sv; }
};

struct BlendOp {
  __m128i q, p, mask;
  uint32_t weight;
  OMB_SSE2 explicit BlendOp(const InkState* st)
      : q(_mm_set1_epi16(static_cast<short>(st->srcWeight))),
        p(_mm_set1_epi16(static_cast<short>(st->destWeight))),
        mask(_mm_set1_epi32(static_cast<int>(kColourBytes))),
        weight(st->destWeight) {}
  OMB_SSE2 __m128i operator()(__m128i sv, __m128i dv) const { return Blend4(sv, dv, q, p, mask); }
  uint32_t operator()(uint32_t sv, uint32_t dv) const { return BlendWeighted(sv, dv, weight); }
};

struct AddOp {
  __m128i mask;
  OMB_SSE2 AddOp() : mask(_mm_set1_epi32(static_cast<int>(kColourBytes))) {}
  OMB_SSE2 __m128i operator()(__m128i sv, __m128i dv) const {
    return _mm_and_si128(_mm_adds_epu8(sv, dv), mask);
  }
  uint32_t operator()(uint32_t sv, uint32_t dv) const { return AddSaturated(sv, dv); }
};

struct SubOp {
  __m128i mask;
  OMB_SSE2 SubOp() : mask(_mm_set1_epi32(static_cast<int>(kColourBytes))) {}
  OMB_SSE2 __m128i operator()(__m128i sv, __m128i dv) const {
    return _mm_and_si128(_mm_subs_epu8(dv, sv), mask);
  }
  uint32_t operator()(uint32_t sv, uint32_t dv) const { return SubSaturated(sv, dv); }
};

template <class Op>
OMB_SSE2 void SpanLoop(const uint8_t* s, uint8_t* d, int32_t n, const Op& op) {
  for (; n >= 4; n -= 4, s += 16, d += 16) Store4(d, op(Load4(s), Load4(d)));
  for (; n > 0; --n, s += 4, d += 4) StoreU32(d, op(LoadU32(s), LoadU32(d)));
}

template <class Op>
OMB_SSE2 void KeyedSpanLoop(const uint8_t* s, uint8_t* d, int32_t n, uint32_t key, const Op& op) {
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  for (; n >= 4; n -= 4, s += 16, d += 16) {
    const __m128i sv = Load4(s);
    const __m128i keyed = _mm_cmpeq_epi32(sv, k);
    if (_mm_movemask_epi8(keyed) == 0xFFFF) continue;
    const __m128i dv = Load4(d);
    Store4(d, Select(keyed, dv, op(sv, dv)));
  }
  for (; n > 0; --n, s += 4, d += 4) {
    const uint32_t sv = LoadU32(s);
    if (sv != key) StoreU32(d, op(sv, LoadU32(d)));
  }
}

}  // namespace

OMB_SSE2 void KeyedCopyRow32Vector(const uint8_t* s, uint8_t* d, int32_t n, uint32_t key) {
  KeyedSpanLoop(s, d, n, key, CopyOp{});
}

OMB_SSE2 void AlphaCopyRow32Vector(const uint8_t* s, const uint8_t* a, uint8_t* d, int32_t n) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i all = _mm_set1_epi32(-1);
  const __m128i v255 = _mm_set1_epi32(255);
  const __m128i v256 = _mm_set1_epi16(256);
  const __m128i colourMask = _mm_set1_epi32(static_cast<int>(kColourBytes));
  for (; n >= 4; n -= 4, s += 16, d += 16, a += 4) {
    const uint32_t a4 = LoadU32(a);
    if (a4 == 0) continue;
    const __m128i sv = Load4(s);
    if (a4 == 0xFFFFFFFFu) {
      Store4(d, sv);
      continue;
    }
    const __m128i dv = Load4(d);
    const __m128i a16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(a4)), zero);
    const __m128i a32 = _mm_unpacklo_epi16(a16, zero);  // one alpha per pixel lane
    const __m128i aw = _mm_unpacklo_epi16(a16, a16);     // a0 a0 a1 a1 a2 a2 a3 a3
    const __m128i aLo = _mm_unpacklo_epi32(aw, aw);      // a0 x4, a1 x4
    const __m128i aHi = _mm_unpackhi_epi32(aw, aw);      // a2 x4, a3 x4
    const __m128i lo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(sv, zero), aLo),
                      _mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), _mm_sub_epi16(v256, aLo))),
        8);
    const __m128i hi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(sv, zero), aHi),
                      _mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), _mm_sub_epi16(v256, aHi))),
        8);
    const __m128i mix = _mm_and_si128(_mm_packus_epi16(lo, hi), colourMask);
    const __m128i keep = _mm_cmpeq_epi32(a32, zero);
    const __m128i take = _mm_cmpeq_epi32(a32, v255);
    const __m128i blended = _mm_andnot_si128(_mm_or_si128(keep, take), all);
    Store4(d, _mm_or_si128(_mm_or_si128(_mm_and_si128(keep, dv), _mm_and_si128(take, sv)),
                           _mm_and_si128(blended, mix)));
  }
  for (; n > 0; --n, s += 4, d += 4, ++a) {
    const uint32_t av = *a;
    if (av == 0) continue;
    StoreU32(d, av == 255 ? LoadU32(s) : AlphaWeighted(LoadU32(s), LoadU32(d), av));
  }
}

namespace {

// Four pixels narrowed in their 32-bit lanes: red and blue are moved into
// place by one multiply-add of their masked bytes (blue by 2^(shift - 3),
// red by 2^13), green by its mask, then the lanes are cut to 16 bits with
// their sign so that the signed pack keeps them whole. shift is 5 for 5-6-5
// and 6 for 5-5-5.
template <int GreenBits>
OMB_SSE2 inline __m128i Narrow4(__m128i w) {
  constexpr int kShift = GreenBits == 6 ? 5 : 6;
  const __m128i rb = _mm_and_si128(w, _mm_set1_epi32(0x00F800F8));
  const __m128i multiplier = _mm_set1_epi32(0x20000000 | (1 << (kShift - 3)));
  const __m128i green = _mm_and_si128(w, _mm_set1_epi32(GreenBits == 6 ? 0xFC00 : 0xF800));
  const __m128i t = _mm_or_si128(_mm_madd_epi16(rb, multiplier), green);
  return _mm_srai_epi32(_mm_slli_epi32(t, 16 - kShift), 16);
}

// Eight pixels into eight words; a word of 0 from a pixel that is not 0
// (byte 3 included) becomes 1, looked at only when some word is 0.
template <int GreenBits>
OMB_SSE2 inline __m128i Narrow8(__m128i w0, __m128i w1) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i v = _mm_packs_epi32(Narrow4<GreenBits>(w0), Narrow4<GreenBits>(w1));
  const __m128i zeroWords = _mm_cmpeq_epi16(v, zero);
  if (_mm_movemask_epi8(zeroWords) == 0) return v;
  const __m128i zeroPixels = _mm_packs_epi32(_mm_cmpeq_epi32(w0, zero), _mm_cmpeq_epi32(w1, zero));
  return _mm_or_si128(v, _mm_srli_epi16(_mm_andnot_si128(zeroPixels, zeroWords), 15));
}

template <int GreenBits>
OMB_SSE2 inline void From32To16Row(const uint8_t* s, uint8_t* d, int32_t n) {
  for (; n >= 8; n -= 8, s += 32, d += 16) Store4(d, Narrow8<GreenBits>(Load4(s), Load4(s + 16)));
  for (; n > 0; --n, s += 4, d += 2) {
    const __m128i one = _mm_cvtsi32_si128(static_cast<int>(LoadU32(s)));
    const uint16_t w = static_cast<uint16_t>(_mm_cvtsi128_si32(Narrow8<GreenBits>(one, one)));
    std::memcpy(d, &w, 2);
  }
}

}  // namespace

OMB_SSE2 void From32To15RowSse2(const uint8_t* s, uint8_t* d, int32_t n) { From32To16Row<5>(s, d, n); }
OMB_SSE2 void From32To16RowSse2(const uint8_t* s, uint8_t* d, int32_t n) { From32To16Row<6>(s, d, n); }
void From32To15RowVector(const uint8_t* s, uint8_t* d, int32_t n) {
  if (CpuRunsAvx2()) From32To15RowAvx2(s, d, n);
  else From32To15RowSse2(s, d, n);
}
void From32To16RowVector(const uint8_t* s, uint8_t* d, int32_t n) {
  if (CpuRunsAvx2()) From32To16RowAvx2(s, d, n);
  else From32To16RowSse2(s, d, n);
}

OMB_SSE2 void BlendSpan32Vector(const InkState* st, const uint8_t* s, uint8_t* d, int32_t n) {
  SpanLoop(s, d, n, BlendOp(st));
}
OMB_SSE2 void BlendKeyedSpan32Vector(const InkState* st, const uint8_t* s, uint8_t* d,
                                     int32_t n) {
  KeyedSpanLoop(s, d, n, st->srcKey, BlendOp(st));
}
OMB_SSE2 void AddSpan32Vector(const InkState*, const uint8_t* s, uint8_t* d, int32_t n) {
  SpanLoop(s, d, n, AddOp());
}
OMB_SSE2 void AddKeyedSpan32Vector(const InkState* st, const uint8_t* s, uint8_t* d, int32_t n) {
  KeyedSpanLoop(s, d, n, st->srcKey, AddOp());
}
OMB_SSE2 void SubSpan32Vector(const InkState*, const uint8_t* s, uint8_t* d, int32_t n) {
  SpanLoop(s, d, n, SubOp());
}
OMB_SSE2 void SubKeyedSpan32Vector(const InkState* st, const uint8_t* s, uint8_t* d, int32_t n) {
  KeyedSpanLoop(s, d, n, st->srcKey, SubOp());
}

}  // namespace pixel
