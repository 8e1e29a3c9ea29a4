#include "pixel/PixelVectorKeyed.h"

#include <emmintrin.h>

#include <cstring>

#define OMB_SSE2 __attribute__((target("sse2")))

namespace pixel {
namespace {

// 16 bytes at a time: bytes of lanes equal to the key keep the destination.
// A block wholly transparent is skipped, a wholly opaque one stored.
template <class Equal>
OMB_SSE2 inline void KeyedBlocks(const uint8_t*& s, uint8_t*& d, int32_t& bytes, __m128i key,
                                 Equal equal) {
  for (; bytes >= 16; bytes -= 16, s += 16, d += 16) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i transparent = equal(sv, key);
    const int mask = _mm_movemask_epi8(transparent);
    if (mask == 0xFFFF) continue;
    if (mask == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d), sv);
      continue;
    }
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d),
                     _mm_or_si128(_mm_and_si128(transparent, dv), _mm_andnot_si128(transparent, sv)));
  }
}

struct EqualBytes {
  OMB_SSE2 __m128i operator()(__m128i a, __m128i b) const { return _mm_cmpeq_epi8(a, b); }
};
struct EqualWords {
  OMB_SSE2 __m128i operator()(__m128i a, __m128i b) const { return _mm_cmpeq_epi16(a, b); }
};

}  // namespace

OMB_SSE2 void KeyedCopyRow8Vector(const uint8_t* s, uint8_t* d, int32_t n, uint32_t key) {
  int32_t bytes = n;
  KeyedBlocks(s, d, bytes, _mm_set1_epi8(static_cast<char>(key)), EqualBytes{});
  for (; bytes > 0; --bytes, ++s, ++d)
    if (*s != uint8_t(key)) *d = *s;
}

OMB_SSE2 void KeyedCopyRow16Vector(const uint8_t* s, uint8_t* d, int32_t n, uint32_t key) {
  int32_t bytes = 2 * n;
  KeyedBlocks(s, d, bytes, _mm_set1_epi16(static_cast<short>(key)), EqualWords{});
  for (; bytes > 0; bytes -= 2, s += 2, d += 2) {
    uint16_t v;
    std::memcpy(&v, s, 2);
    if (v != uint16_t(key)) std::memcpy(d, &v, 2);
  }
}

}  // namespace pixel
