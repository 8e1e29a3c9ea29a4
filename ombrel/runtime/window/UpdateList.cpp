#include "window/UpdateList.h"

#include <algorithm>

#include "pixel/CpuFeatures.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define OMB_UPDATE_LIST_SSE2 1
#endif

namespace {

bool Holds(const SurfaceRect& outer, const SurfaceRect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

SurfaceRect Union(const SurfaceRect& a, const SurfaceRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

SurfaceRect Sorted(const SurfaceRect& r) {
  return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
          std::max(r.top, r.bottom)};
}

// The first entry from `from` on that overlaps `rect`, or the count. Most
// adds overlap nothing and read the whole list, so each test is branch-free:
// an entry overlaps when the four differences below are all non-negative,
// that is when none of them has its sign bit set (64 bits: no overflow).
int32_t FirstOverlapPlain(const SurfaceRect* e, int32_t count, const SurfaceRect& rect, int32_t from) {
  const int64_t left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  auto miss = [&](const SurfaceRect& b) {
    return uint64_t((b.right - left - 1) | (right - 1 - b.left) | (b.bottom - top - 1) | (bottom - 1 - b.top)) >> 63;
  };
  int32_t i = from;
  for (; i + 4 <= count; i += 4)
    if ((miss(e[i]) & miss(e[i + 1]) & miss(e[i + 2]) & miss(e[i + 3])) == 0) break;
  for (; i < count; ++i)
    if (miss(e[i]) == 0) return i;
  return count;
}

#ifdef OMB_UPDATE_LIST_SSE2
// The same with one rectangle per SSE2 register: (new left, new top, left,
// top) < (right, bottom, new right, new bottom) in all four lanes.
#define OMB_SSE2 __attribute__((target("sse2")))
OMB_SSE2 inline __m128i Hit(__m128i n, const SurfaceRect& b) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&b));
  return _mm_cmplt_epi32(_mm_unpacklo_epi64(n, v), _mm_unpackhi_epi64(v, n));
}

OMB_SSE2 int32_t FirstOverlapSse2(const SurfaceRect* e, int32_t count, const SurfaceRect& rect, int32_t from) {
  const __m128i n = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&rect));
  int32_t i = from;
  for (; i + 4 <= count; i += 4) {
    // A lane of each rectangle is clear unless it overlaps: AND the lanes
    // within each, OR the four.
    const __m128i h0 = Hit(n, e[i]), h1 = Hit(n, e[i + 1]), h2 = Hit(n, e[i + 2]), h3 = Hit(n, e[i + 3]);
    const __m128i a = _mm_unpacklo_epi32(h0, h1), b = _mm_unpackhi_epi32(h0, h1);  // h0.0 h1.0 h0.1 h1.1 | .2 .3
    const __m128i c = _mm_unpacklo_epi32(h2, h3), d = _mm_unpackhi_epi32(h2, h3);
    const __m128i ab = _mm_and_si128(a, b), cd = _mm_and_si128(c, d);  // lanes 0/2 and 1/3 joined
    const __m128i all = _mm_and_si128(_mm_unpacklo_epi64(ab, cd), _mm_unpackhi_epi64(ab, cd));  // h0 h1 h2 h3
    if (_mm_movemask_epi8(all) != 0) break;
  }
  for (; i < count; ++i)
    if (_mm_movemask_epi8(Hit(n, e[i])) == 0xFFFF) return i;
  return count;
}
#endif

int32_t FirstOverlap(const UpdateList& list, const SurfaceRect& rect, int32_t from) {
#ifdef OMB_UPDATE_LIST_SSE2
  static const bool sse2 = (CpuFeatures() & 4) != 0;
  if (sse2) return FirstOverlapSse2(list.rects, list.count, rect, from);
#endif
  return FirstOverlapPlain(list.rects, list.count, rect, from);
}

// Folds every overlapped entry into `rect`, always the first one in list
// order: the last entry takes the folded one's slot, and the scan starts
// again from the first entry when the rectangle grew (it may now reach
// entries already passed). An entry inside the rectangle leaves it as it
// was, so the entries before it still miss it and the scan goes on there.
void MergeInto(UpdateList& list, SurfaceRect& rect) {
  for (int32_t i = FirstOverlap(list, rect, 0); i < list.count; i = FirstOverlap(list, rect, i)) {
    const SurfaceRect grown = Union(rect, list.rects[i]);
    list.rects[i] = list.rects[list.count - 1];
    --list.count;
    if (Holds(rect, grown)) continue;
    rect = grown;
    i = 0;
  }
}

// True when the call is settled without appending.
bool KeepApart(UpdateList& list, const SurfaceRect& rect) {
  for (int32_t i = 0; i < list.count; ++i) {
    if (Holds(list.rects[i], rect)) return true;
    if (Holds(rect, list.rects[i])) {
      list.rects[i] = rect;
      return true;
    }
  }
  return false;
}

}  // namespace

int32_t UpdateListFirstOverlapPlain(const SurfaceRect* rects, int32_t count, const SurfaceRect& rect, int32_t from) {
  return FirstOverlapPlain(rects, count, rect, from);
}

int32_t UpdateListFirstOverlapVector(const SurfaceRect* rects, int32_t count, const SurfaceRect& rect, int32_t from) {
#ifdef OMB_UPDATE_LIST_SSE2
  if (CpuFeatures() & 4) return FirstOverlapSse2(rects, count, rect, from);
#endif
  return FirstOverlapPlain(rects, count, rect, from);
}

int32_t UpdateListCount(const UpdateList& list) {
  return std::clamp(list.count, int32_t{0}, UpdateList::kCapacity);
}

void UpdateListAdd(UpdateList& list, SurfaceRect rect, bool keepApart) {
  list.count = UpdateListCount(list);
  rect = Sorted(rect);
  if (keepApart) {
    if (KeepApart(list, rect)) return;
  } else {
    MergeInto(list, rect);
  }
  if (list.count < UpdateList::kCapacity) {
    list.rects[list.count++] = rect;
  } else {
    list.rects[0] = Union(list.rects[0], rect);
  }
}

void UpdateListSetWhole(UpdateList& list, int32_t width, int32_t height) {
  list.count = 1;
  list.rects[0] = {0, 0, width, height};
}
