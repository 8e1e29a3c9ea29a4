// The `PixelOps` routines of the 15-, 16-, 24- and 32-bit formats, written
// once over the pixel format type (PixelFormat.h, PixelFormat16.h). Internal
// to pixel/: Pixel16.cpp, Pixel24.cpp and Pixel32.cpp instantiate them and add
// their vector paths.
#pragma once

#include <cstdint>

#include "pixel/CopyKernels.h"
#include "pixel/InkEffects.h"
#include "pixel/InkKernels.h"
#include "pixel/PixelFormat.h"
#include "pixel/PixelView.h"
#include "pixel/RowConverters.h"
#include "pixel/RunLengthEncode.h"

namespace pixel {

// Row hooks a format may replace with vector code; the defaults are the
// plain formulas.
struct PlainRows {
  static bool FillRow(uint8_t*, int32_t, uint32_t, uint32_t) { return false; }
  // The whole rectangle: h rows of n pixels, pitch bytes apart.
  static bool FillRows(uint8_t*, int32_t, int32_t, int32_t, uint32_t, uint32_t) { return false; }
  static bool KeyedCopyRow(const uint8_t*, uint8_t*, int32_t, uint32_t, uint32_t) { return false; }
  static bool AlphaCopyRow(const uint8_t*, const uint8_t*, uint8_t*, int32_t, uint32_t) {
    return false;
  }
  // A row converted into the format of depth index `to`.
  static bool ConvertRow(const uint8_t*, uint8_t*, int32_t, int32_t, uint32_t) { return false; }
};

template <class F>
void PutPixelOf(PixelView* s, int32_t x, int32_t y, uint32_t colour) {
  F::PutColour(RowAt(s, x, y), colour);
}

template <class F>
uint32_t GetPixelOf(const PixelView* s, int32_t x, int32_t y) {
  return F::ToColour(F::Load(RowAt(s, x, y)));
}

inline void FillRowPlain(Fmt32, uint8_t* d, int32_t n, uint32_t v) {
  for (; n > 0; --n, d += 4) StoreU32(d, v);
}
inline void FillRowPlain(Fmt24, uint8_t* d, int32_t n, uint32_t v) {
  // Four pixels are three words.
  const uint32_t w0 = v | v << 24, w1 = v >> 8 | v << 16, w2 = v >> 16 | v << 8;
  for (; n >= 4; n -= 4, d += 12) {
    StoreU32(d, w0);
    StoreU32(d + 4, w1);
    StoreU32(d + 8, w2);
  }
  for (; n > 0; --n, d += 3) Fmt24::Store(d, v);
}
inline void FillRowPlain(Fmt8, uint8_t* d, int32_t n, uint32_t v) { std::memset(d, int(v), size_t(n)); }
template <class F16, class = decltype(F16::Widen(0))>
inline void FillRowPlain(F16, uint8_t* d, int32_t n, uint32_t v) {
  // Two pixels per word, an odd last pixel alone.
  const uint32_t pair = v | v << 16;
  for (; n >= 2; n -= 2, d += 4) StoreU32(d, pair);
  if (n == 1) F16::Store(d, v);
}

template <class F, class V>
void FillRectOf(PixelView* s, int32_t x, int32_t y, int32_t pitch, int32_t w, int32_t h,
                uint32_t colour) {
  const uint32_t v = F::FromColour(colour);
  uint8_t* row = s->firstRow + static_cast<intptr_t>(y) * pitch + static_cast<intptr_t>(x) * F::kBytes;
  if (h <= 0 || w <= 0) return;
  if (V::FillRows(row, pitch, w, h, v, s->flags)) return;
  if (!V::FillRow(row, w, v, s->flags)) FillRowPlain(F{}, row, w, v);
  // The other rows copy the first one: one cache-resident source, whole-line
  // moves, and the same bytes as filling each row.
  const uint8_t* first = row;
  const size_t bytes = static_cast<size_t>(w) * F::kBytes;
  for (row += pitch; --h > 0; row += pitch) std::memcpy(row, first, bytes);
}

// 8- and 16-bit rows a machine word of pixels at a time, in plain code: the
// word's lanes equal to the key are found with carries (the top bit of
// (lane & 0x7F..) + 0x7F.. or the lane itself is set unless the lane is
// 0), then a word without key pixels is stored, one of key pixels only is
// passed over, and a mixed one keeps the destination's lanes under its keys.
template <int Bytes>
inline void KeyedCopyWords(const uint8_t*& s, uint8_t*& d, int32_t& n, uint32_t key) {
  using Word = uintptr_t;
  constexpr int32_t kPer = int32_t(sizeof(Word)) / Bytes;
  constexpr Word kLaneOnes = Word(~Word(0)) / (Bytes == 1 ? 0xFFu : 0xFFFFu);  // 1 in each lane
  constexpr Word kTop = kLaneOnes << (8 * Bytes - 1);
  const Word keys = kLaneOnes * Word(key);
  for (; n >= kPer; n -= kPer, s += sizeof(Word), d += sizeof(Word)) {
    Word w;
    std::memcpy(&w, s, sizeof w);
    const Word x = w ^ keys;
    const Word shown = (((x & ~kTop) + ~kTop) | x) & kTop;  // top bit of each lane not the key
    if (shown == kTop) {
      std::memcpy(d, &w, sizeof w);
    } else if (shown != 0) {
      const Word keep = (shown >> (8 * Bytes - 1)) * (Bytes == 1 ? 0xFFu : 0xFFFFu);
      Word old;
      std::memcpy(&old, d, sizeof old);
      old = (w & keep) | (old & ~keep);
      std::memcpy(d, &old, sizeof old);
    }
  }
}

template <class F>
void KeyedCopyRowPlain(const uint8_t* s, uint8_t* d, int32_t n, uint32_t key) {
  if constexpr (F::kBytes <= 2) KeyedCopyWords<F::kBytes>(s, d, n, key);
  for (; n > 0; --n, s += F::kBytes, d += F::kBytes) {
    const uint32_t v = F::Load(s);
    if (v != key) F::Store(d, v);
  }
}

template <class F, class V>
void BlitKeyedOf(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                 int32_t sy, int32_t w, int32_t h) {
  const uint8_t* s = RowAt(src, sx, sy);
  uint8_t* d = RowAt(dest, dx, dy);
  if (src->alphaFirstRow != nullptr) {
    // The alpha plane replaces the key.
    const uint8_t* a = AlphaAt(src, sx, sy);
    const InkState none{};
    for (; h > 0; --h, s += src->pitch, d += dest->pitch, a += src->alphaPitch)
      if (!V::AlphaCopyRow(s, a, d, w, src->flags)) InkAlphaSpanOf<F, InkCopy>(&none, s, a, d, w);
    return;
  }
  const uint32_t key = F::KeyOf(src->transparentValue);
  for (; h > 0; --h, s += src->pitch, d += dest->pitch)
    if (!V::KeyedCopyRow(s, d, w, key, src->flags)) KeyedCopyRowPlain<F>(s, d, w, key);
}

template <class F>
const InkOps* InkOpsFor(const PixelView* dest) {
  return GetInkOps(F::kDepthIndex, (dest->flags & kPixelFlagVector) != 0);
}

// The keyed ink blit of an effect other than none: keyed spans, or alpha
// spans when the source has an alpha plane.
template <class F>
int32_t KeyedInkRowsOf(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                       int32_t sy, int32_t w, int32_t h, uint32_t effect, uint32_t parameter) {
  if (!InkRequestAccepted(effect, parameter)) return 0;
  const InkOps* ops = InkOpsFor<F>(dest);
  InkState st;
  InkBegin(&st, ops, effect, parameter, src->transparentColour, F::KeyOf(src->transparentValue),
           dest->palette);
  const uint8_t* s = RowAt(src, sx, sy);
  uint8_t* d = RowAt(dest, dx, dy);
  if (src->alphaFirstRow != nullptr) {
    const InkAlphaSpanFn span = ops->alphaSpan[effect];
    const uint8_t* a = AlphaAt(src, sx, sy);
    for (; h > 0; --h, s += src->pitch, d += dest->pitch, a += src->alphaPitch) span(&st, s, a, d, w);
    return 1;
  }
  const InkKeyedSpanFn span = ops->keyedSpan[effect];
  for (; h > 0; --h, s += src->pitch, d += dest->pitch) span(&st, s, d, w);
  return 1;
}

template <class F, class V>
int32_t BlitKeyedInkOf(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                       int32_t sy, int32_t w, int32_t h, uint32_t effect, uint32_t parameter) {
  if (effect == EffectNone) {
    BlitKeyedOf<F, V>(dest, dx, dy, src, sx, sy, w, h);
    return 1;
  }
  return KeyedInkRowsOf<F>(dest, dx, dy, src, sx, sy, w, h, effect, parameter);
}

template <class F>
int32_t BlitInkOf(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                  int32_t sy, int32_t w, int32_t h, uint32_t effect, uint32_t parameter) {
  if (effect == EffectNone) {
    PixelOpsCopy(dest, dx, dy, src, sx, sy, w, h);
    return 1;
  }
  if (!InkRequestAccepted(effect, parameter)) return 0;
  const InkOps* ops = InkOpsFor<F>(dest);
  InkState st;
  InkBegin(&st, ops, effect, parameter, src->transparentColour, F::KeyOf(src->transparentValue),
           dest->palette);
  const InkSpanFn span = ops->span[effect];
  const uint8_t* s = RowAt(src, sx, sy);
  uint8_t* d = RowAt(dest, dx, dy);
  for (; h > 0; --h, s += src->pitch, d += dest->pitch) span(&st, s, d, w);
  return 1;
}

template <class F, bool Keyed>
void BlitCallbackOf(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                    int32_t sy, int32_t w, int32_t h, PixelCallback callback, uint32_t user) {
  const uint32_t key = F::KeyOf(src->transparentValue);
  const uint8_t* srow = RowAt(src, sx, sy);
  uint8_t* drow = RowAt(dest, dx, dy);
  for (; h > 0; --h, srow += src->pitch, drow += dest->pitch) {
    const uint8_t* s = srow;
    uint8_t* d = drow;
    for (int32_t n = w; n > 0; --n, s += F::kBytes, d += F::kBytes) {
      const uint32_t sv = F::Load(s);
      if (Keyed && sv == key) continue;
      const uint32_t r = callback(F::ToColour(F::Load(d)), F::ToColour(sv), user);
      F::Store(d, F::FromColour(r));
    }
  }
}

// Whole pixels are exchanged (byte 3 included); N bytes per pixel.
template <int N>
void MirrorRowsOf(PixelView* s, int32_t x, int32_t y, int32_t pitch, int32_t w, int32_t h) {
  uint8_t* row = s->firstRow + static_cast<intptr_t>(y) * pitch + static_cast<intptr_t>(x) * N;
  for (; h > 0; --h, row += pitch) {
    uint8_t* l = row;
    uint8_t* r = row + static_cast<intptr_t>(w - 1) * N;
    for (; l < r; l += N, r -= N) {
      uint8_t t[N];
      std::memcpy(t, l, N);
      std::memcpy(l, r, N);
      std::memcpy(r, t, N);
    }
  }
}

template <class F>
void ReplaceColourOf(PixelView* s, int32_t x, int32_t y, int32_t w, int32_t h, int32_t,
                     uint32_t newColour, uint32_t oldColour) {
  const uint32_t from = F::FromColour(oldColour), to = F::FromColour(newColour);
  uint8_t* row = RowAt(s, x, y);
  for (; h > 0; --h, row += s->pitch) {
    uint8_t* p = row;
    for (int32_t n = w; n > 0; --n, p += F::kBytes)
      if ((F::Load(p) & F::kCompareMask) == from) F::Store(p, to);
  }
}

template <class F, class V>
void ConvertRowsOf(PixelView* dest, int32_t dx, int32_t dy, int32_t, const PixelView* src,
                   int32_t sx, int32_t sy, int32_t w, int32_t h) {
  if (dest->depthIndex < 0 || dest->depthIndex > 4) return;
  const RowConverter convert = GetRowConverters(F::kDepthIndex)[dest->depthIndex];
  const uint8_t* s = RowAt(src, sx, sy);
  uint8_t* d = RowAt(dest, dx, dy);
  for (; h > 0; --h, s += src->pitch, d += dest->pitch)
    if (!V::ConvertRow(s, d, w, dest->depthIndex, src->flags)) convert(s, d, w, dest->palette);
}

template <class F, class V>
constexpr PixelOps MakeTrueColourRow() {
  return PixelOps{
      &PutPixelOf<F>,
      &GetPixelOf<F>,
      &FillRectOf<F, V>,
      &BlitKeyedOf<F, V>,
      &BlitKeyedInkOf<F, V>,
      &PixelOpsCopy,
      &BlitInkOf<F>,
      &BlitCallbackOf<F, true>,
      &BlitCallbackOf<F, false>,
      &MirrorRowsOf<F::kBytes>,
      &ReplaceColourOf<F>,
      &ConvertRowsOf<F, V>,
      &RleSizeOf<F>,
      &RleEncodeOf<F>,
  };
}

}  // namespace pixel
