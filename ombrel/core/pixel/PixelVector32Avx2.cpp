// AVX2 narrowing of 32-bit rows to 15- and 16-bit words: the SSE2 routine's
// formula on sixteen pixels a step, for processors (and systems) that run
// AVX2. Internal to pixel/.
#include <immintrin.h>

#include <cstring>

#include "pixel/PixelVector32.h"

#define OMB_AVX2 __attribute__((target("avx2")))

namespace pixel {
namespace {

template <int GreenBits>
OMB_AVX2 inline __m256i Narrow8Lanes(__m256i w) {
  constexpr int kShift = GreenBits == 6 ? 5 : 6;
  const __m256i rb = _mm256_and_si256(w, _mm256_set1_epi32(0x00F800F8));
  const __m256i multiplier = _mm256_set1_epi32(0x20000000 | (1 << (kShift - 3)));
  const __m256i green = _mm256_and_si256(w, _mm256_set1_epi32(GreenBits == 6 ? 0xFC00 : 0xF800));
  const __m256i t = _mm256_or_si256(_mm256_madd_epi16(rb, multiplier), green);
  return _mm256_srai_epi32(_mm256_slli_epi32(t, 16 - kShift), 16);
}

// The signed pack works within each 128-bit half: the quarters are put back
// in pixel order.
OMB_AVX2 inline __m256i PackInOrder(__m256i a, __m256i b) {
  return _mm256_permute4x64_epi64(_mm256_packs_epi32(a, b), 0xD8);
}

template <int GreenBits>
OMB_AVX2 void Narrow16Row(const uint8_t* s, uint8_t* d, int32_t n) {
  const __m256i zero = _mm256_setzero_si256();
  for (; n >= 16; n -= 16, s += 64, d += 32) {
    const __m256i w0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
    const __m256i w1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 32));
    __m256i v = PackInOrder(Narrow8Lanes<GreenBits>(w0), Narrow8Lanes<GreenBits>(w1));
    const __m256i zeroWords = _mm256_cmpeq_epi16(v, zero);
    if (_mm256_movemask_epi8(zeroWords) != 0) {
      const __m256i zeroPixels = PackInOrder(_mm256_cmpeq_epi32(w0, zero), _mm256_cmpeq_epi32(w1, zero));
      v = _mm256_or_si256(v, _mm256_srli_epi16(_mm256_andnot_si256(zeroPixels, zeroWords), 15));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), v);
  }
  _mm256_zeroupper();
  if (n > 0) {
    if (GreenBits == 6)
      From32To16RowSse2(s, d, n);
    else
      From32To15RowSse2(s, d, n);
  }
}

}  // namespace

void From32To15RowAvx2(const uint8_t* s, uint8_t* d, int32_t n) { Narrow16Row<5>(s, d, n); }
void From32To16RowAvx2(const uint8_t* s, uint8_t* d, int32_t n) { Narrow16Row<6>(s, d, n); }

bool CpuRunsAvx2() {
  static const bool runs = __builtin_cpu_supports("avx2");
  return runs;
}

}  // namespace pixel
