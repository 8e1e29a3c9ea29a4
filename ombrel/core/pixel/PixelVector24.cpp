// SSE2 spans of the 24-bit format. Every byte of a 24-bit row is a colour
// byte, so the byte-wise effects (blend, add, sub) run over the row as one
// byte stream, sixteen bytes at a time, with the same per-byte formulas.
#include <emmintrin.h>

#include "pixel/InkEffects.h"
#include "pixel/PixelVector32.h"

#define OMB_SSE2 __attribute__((target("sse2")))

namespace pixel {
namespace {

OMB_SSE2 inline __m128i Load16(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
OMB_SSE2 inline void Store16(uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

struct BlendBytes {
  __m128i q, p;
  uint32_t qs, ps;
  OMB_SSE2 explicit BlendBytes(const InkState* st)
      : q(_mm_set1_epi16(static_cast<short>(st->srcWeight))),
        p(_mm_set1_epi16(static_cast<short>(st->destWeight))),
        qs(st->srcWeight),
        ps(st->destWeight) {}
  OMB_SSE2 __m128i operator()(__m128i s, __m128i d) const {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), q),
                      _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), p)),
        7);
    const __m128i hi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), q),
                      _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), p)),
        7);
    return _mm_packus_epi16(lo, hi);
  }
  uint8_t operator()(uint32_t s, uint32_t d) const { return uint8_t((s * qs + d * ps) >> 7); }
};

struct AddBytes {
  OMB_SSE2 __m128i operator()(__m128i s, __m128i d) const { return _mm_adds_epu8(s, d); }
  uint8_t operator()(uint32_t s, uint32_t d) const { return uint8_t(s + d > 255 ? 255 : s + d); }
};

struct SubBytes {
  OMB_SSE2 __m128i operator()(__m128i s, __m128i d) const { return _mm_subs_epu8(d, s); }
  uint8_t operator()(uint32_t s, uint32_t d) const { return uint8_t(d > s ? d - s : 0); }
};

template <class Op>
OMB_SSE2 void ByteSpan(const uint8_t* s, uint8_t* d, int32_t pixels, const Op& op) {
  int32_t n = pixels * 3;
  for (; n >= 16; n -= 16, s += 16, d += 16) Store16(d, op(Load16(s), Load16(d)));
  for (; n > 0; --n, ++s, ++d) *d = op(uint32_t(*s), uint32_t(*d));
}

}  // namespace

OMB_SSE2 void BlendSpan24Vector(const InkState* st, const uint8_t* s, uint8_t* d, int32_t n) {
  ByteSpan(s, d, n, BlendBytes(st));
}
OMB_SSE2 void AddSpan24Vector(const InkState*, const uint8_t* s, uint8_t* d, int32_t n) {
  ByteSpan(s, d, n, AddBytes());
}
OMB_SSE2 void SubSpan24Vector(const InkState*, const uint8_t* s, uint8_t* d, int32_t n) {
  ByteSpan(s, d, n, SubBytes());
}

}  // namespace pixel
