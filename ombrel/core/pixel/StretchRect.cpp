// The nearest-pixel rectangle stretch. The 16.16 accumulator walk of the row
// stretchers (RowStretchers.cpp, the reference) has a closed form, so each
// destination column and row finds its source directly: a clipped stretch
// costs what its clip holds, and a row is a gather through a column table
// built once, not a walk over every source pixel.
#include <emmintrin.h>

#include <algorithm>
#include <cstring>

#include "pixel/CopyKernels.h"
#include "pixel/PixelFormat.h"

using pixel::RowAt;

namespace {

// Source column of destination column j of a row stretched from srcCount
// pixels by `step` (destCount * 65536 / srcCount, rounded down), as the
// accumulator walk gives it. Enlarging, after source pixel i the walk has
// written floor((i + 1) * step / 65536) pixels; shrinking, it gives each
// group's first pixel and a group starts at ceil(k * 65536 / step). Past the
// walk the row ends on the last source pixel.
int64_t ColumnSource(int64_t j, uint32_t step, int32_t srcCount) {
  const int64_t last = srcCount - 1;
  if (step >= 0x10000u) return std::min(last, ((j + 1) * 0x10000 - 1) / step);
  if (step == 0) return j == 0 ? 0 : last;
  return std::min(last, (j * 0x10000 + step - 1) / step);
}

// Source row of destination row m: the rows walk as the enlarging columns do
// (a source row gives rows while the accumulator holds 65536); rows the walk
// leaves over repeat the last row it made, or the last source row when it
// made none.
struct RowSources {
  uint32_t step;
  int64_t made;  // rows the walk makes
  int32_t lastSource;
  RowSources(int32_t dh, int32_t sh)
      : step(uint32_t((uint64_t(dh) << 16) / uint32_t(sh))),
        made(std::min<int64_t>(dh, int64_t(uint64_t(sh) * step >> 16))),
        lastSource(sh - 1) {}
  int64_t At(int64_t m) const {
    if (made == 0) return lastSource;
    return ((std::min(m, made - 1) + 1) * 0x10000 - 1) / step;
  }
};

// Columns [c0, c0 + kChunk) of the destination are done together from one
// table on the stack.
constexpr int32_t kChunk = 4096;

template <int N>
void GatherRow(const uint8_t* s, uint8_t* d, const int32_t* table, int32_t n) {
  if constexpr (N == 4) {
    for (int32_t j = 0; j < n; ++j) pixel::StoreU32(d + 4 * j, pixel::LoadU32(s + 4 * int64_t(table[j])));
  } else {
    for (int32_t j = 0; j < n; ++j) std::memcpy(d + N * j, s + N * int64_t(table[j]), N);
  }
}

// A 32-bit row halved: every second source pixel from `s`, four a step
// (SSE2, on the source's flag bit 0). A block reads one pixel past the last
// it keeps, so the last block is left to single moves.
__attribute__((target("sse2"))) void HalveRow32(const uint8_t* s, uint8_t* d, int32_t n) {
  for (; n > 4; n -= 4, s += 32, d += 16) {
    const __m128 a = _mm_loadu_ps(reinterpret_cast<const float*>(s));
    const __m128 b = _mm_loadu_ps(reinterpret_cast<const float*>(s + 16));
    _mm_storeu_ps(reinterpret_cast<float*>(d), _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
  }
  for (; n > 0; --n, s += 8, d += 4) std::memcpy(d, s, 4);
}

// A 32-bit row doubled: each source pixel twice, four a step (SSE2).
__attribute__((target("sse2"))) void DoubleRow32(const uint8_t* s, uint8_t* d, int32_t n) {
  for (; n >= 8; n -= 8, s += 16, d += 32) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_unpacklo_epi32(a, a));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16), _mm_unpackhi_epi32(a, a));
  }
  for (int32_t j = 0; j < n; ++j) std::memcpy(d + 4 * j, s + 4 * (j / 2), 4);
}

// The column tables the vector rows serve: every second source pixel, or
// each one twice, from the table's first.
enum class Pattern { kOther, kHalving, kDoubling };
Pattern PatternOf(const int32_t* table, int32_t n) {
  bool halving = true, doubling = true;
  for (int32_t j = 1; j < n && (halving || doubling); ++j) {
    halving = halving && table[j] == table[0] + 2 * j;
    doubling = doubling && table[j] == table[0] + j / 2;
  }
  return halving ? Pattern::kHalving : doubling ? Pattern::kDoubling : Pattern::kOther;
}

// Destination columns [left, right) and rows [top, bottom) of the stretch of
// (sx, sy, sw, sh) onto (dx, dy, dw, dh); the range lies inside both.
template <int N>
void StretchPart(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                 int32_t sy, int32_t dw, int32_t dh, int32_t sw, int32_t sh, int32_t left,
                 int32_t top, int32_t right, int32_t bottom) {
  const uint32_t xstep = uint32_t((uint64_t(dw) << 16) / uint32_t(sw));
  const RowSources rows(dh, sh);
  int32_t table[kChunk];
  for (int32_t c0 = left; c0 < right; c0 += kChunk) {
    const int32_t n = std::min(kChunk, right - c0);
    for (int32_t j = 0; j < n; ++j) table[j] = int32_t(ColumnSource(int64_t(c0) - dx + j, xstep, sw));
    const size_t bytes = size_t(n) * N;
    const Pattern pattern =
        N == 4 && (src->flags & kPixelFlagVector) != 0 ? PatternOf(table, n) : Pattern::kOther;
    int64_t previous = -1;
    for (int32_t y = top; y < bottom; ++y) {
      const int64_t from = rows.At(int64_t(y) - dy);
      uint8_t* out = RowAt(dest, c0, y);
      // A repeated source row copies the row above, which holds it.
      if (from == previous)
        std::memcpy(out, out - dest->pitch, bytes);
      else if (pattern == Pattern::kHalving)
        HalveRow32(RowAt(src, sx + table[0], sy + int32_t(from)), out, n);
      else if (pattern == Pattern::kDoubling)
        DoubleRow32(RowAt(src, sx + table[0], sy + int32_t(from)), out, n);
      else
        GatherRow<N>(RowAt(src, sx, sy + int32_t(from)), out, table, n);
      previous = from;
    }
  }
}

void StretchRect(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                 int32_t sy, int32_t dw, int32_t dh, int32_t sw, int32_t sh, bool clipped) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (src->depthIndex < 0 || src->depthIndex > 4) return;
  int64_t left = dx, top = dy, right = int64_t(dx) + dw, bottom = int64_t(dy) + dh;
  if (clipped) {
    left = std::max<int64_t>(left, dest->clipLeft);
    top = std::max<int64_t>(top, dest->clipTop);
    right = std::min<int64_t>(right, dest->clipRight);
    bottom = std::min<int64_t>(bottom, dest->clipBottom);
    if (left >= right || top >= bottom) return;
  }
  const auto part = [&](auto bytes) {
    StretchPart<decltype(bytes)::value>(dest, dx, dy, src, sx, sy, dw, dh, sw, sh, int32_t(left),
                                        int32_t(top), int32_t(right), int32_t(bottom));
  };
  switch (src->bytesPerPixel) {
    case 1:
      part(std::integral_constant<int, 1>{});
      break;
    case 2:
      part(std::integral_constant<int, 2>{});
      break;
    case 3:
      part(std::integral_constant<int, 3>{});
      break;
    case 4:
      part(std::integral_constant<int, 4>{});
      break;
    default:
      break;
  }
}

}  // namespace

void StretchRectNearest(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                        int32_t sy, int32_t dw, int32_t dh, int32_t sw, int32_t sh) {
  StretchRect(dest, dx, dy, src, sx, sy, dw, dh, sw, sh, false);
}

void StretchRectNearestClipped(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src,
                               int32_t sx, int32_t sy, int32_t dw, int32_t dh, int32_t sw,
                               int32_t sh) {
  StretchRect(dest, dx, dy, src, sx, sy, dw, dh, sw, sh, true);
}
