#include "pixel/RowStretchers.h"

#include <cstring>

namespace {

template <int N>
uint32_t LoadN(const uint8_t* p) {
  uint32_t v = 0;
  for (int i = 0; i < N; ++i) v |= uint32_t(p[i]) << (8 * i);
  return v;
}
template <>
uint32_t LoadN<4>(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

template <int N>
uint32_t ReadNext(const uint8_t*& p) {
  const uint32_t v = LoadN<N>(p);
  p += N;
  return v;
}

// The pixel size is a constant so each copy is one move, not a call.
template <int N>
struct PlainWriter {
  uint8_t* dest;
  bool Put(const uint8_t* pixel) {
    std::memcpy(dest, pixel, N);
    dest += N;
    return true;
  }
};

template <int N, class Writer>
void StretchWith(Writer& out, const uint8_t* src, int32_t destCount, int32_t srcCount,
                 uint32_t step, uint32_t acc) {
  if (destCount <= 0 || srcCount <= 0) return;
  const uint8_t* last = src + (srcCount - 1) * N;
  if (acc >= 0x10000u) {
    // Enlarging: each source pixel is written acc >> 16 times.
    const uint8_t* p = src;
    for (int32_t i = 0; i < srcCount && destCount > 0; ++i, p += N) {
      for (uint32_t k = acc >> 16; k > 0 && destCount > 0; --k, --destCount)
        if (!out.Put(p)) return;
      acc = (acc & 0xFFFFu) + step;
    }
    for (; destCount > 0; --destCount)
      if (!out.Put(last)) return;
    return;
  }
  // Shrinking: source pixels form groups; each finished group gives its
  // first pixel.
  const uint8_t* group = src;
  const uint8_t* p = src;
  for (int32_t i = 0; i < srcCount && destCount > 0; ++i, p += N) {
    if (acc >= 0x10000u) {
      if (!out.Put(group)) return;
      --destCount;
      group = p + N;
      acc &= 0xFFFFu;
    }
    acc += step;
  }
  // An open group gives its first pixel; past the last group the row ends on
  // the last source pixel, so no destination pixel is left unwritten.
  for (; destCount > 0; --destCount) {
    if (!out.Put(group <= last ? group : last)) return;
    group = last;
  }
}

template <int N>
void StretchRow(const uint8_t* src, uint8_t* dest, int32_t destCount, int32_t srcCount,
                uint32_t step) {
  PlainWriter<N> out{dest};
  StretchWith<N>(out, src, destCount, srcCount, step, step);
}

const RowStretchers kStretchers = {
    {&ReadNext<1>, &ReadNext<2>, &ReadNext<2>, &ReadNext<3>, &ReadNext<4>},
    {&StretchRow<1>, &StretchRow<2>, &StretchRow<2>, &StretchRow<3>, &StretchRow<4>},
};

}  // namespace

const RowStretchers& GetRowStretchers() { return kStretchers; }
