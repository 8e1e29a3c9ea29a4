// Row 0 of `PixelOps`: 8-bit palette indices. Copies move indices as they
// stand (both surfaces are taken to share one palette); colours go through
// palettes and come back as indices through the destination's inverse table.
#include "pixel/InkKernels8.h"
#include "pixel/PixelFormat16.h"
#include "pixel/PixelRows.h"
#include "pixel/PixelVectorInk.h"
#include "pixel/PixelVectorKeyed.h"

namespace pixel {
namespace {

cPalette* ColourSource(const PixelView* src, const PixelView* dest) {
  return src->palette != nullptr ? src->palette : dest->palette;
}

void PutPixel8(PixelView* s, int32_t x, int32_t y, uint32_t colour) {
  // A colour with bit 24 set names its index in the low byte.
  *RowAt(s, x, y) = uint8_t((colour & 0x01000000u) ? colour & 0xFF
                                                   : uint32_t(PaletteNearestIndex(s->palette, colour)));
}

uint32_t GetPixel8(const PixelView* s, int32_t x, int32_t y) { return *RowAt(s, x, y); }

// With an alpha plane: S through the source's palette, D through the
// destination's, the mix resolved against the destination's palette.
void AlphaCopyRow8(const PixelView* src, const PixelView* dest, const uint8_t* s, const uint8_t* a,
                   uint8_t* d, int32_t n) {
  const cPalette* from = ColourSource(src, dest);
  for (; n > 0; --n, ++s, ++d, ++a) {
    if (*a == 0) continue;
    *d = *a == 255 ? *s
                   : uint8_t(ResolveIndex(dest->palette, AlphaWeighted(IndexColour(from, *s),
                                                                       IndexColour(dest->palette, *d), *a)));
  }
}

void BlitKeyed8(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                int32_t sy, int32_t w, int32_t h) {
  const uint8_t* s = RowAt(src, sx, sy);
  uint8_t* d = RowAt(dest, dx, dy);
  if (src->alphaFirstRow != nullptr) {
    const uint8_t* a = AlphaAt(src, sx, sy);
    for (; h > 0; --h, s += src->pitch, d += dest->pitch, a += src->alphaPitch)
      AlphaCopyRow8(src, dest, s, a, d, w);
    return;
  }
  const uint32_t key = Fmt8::KeyOf(src->transparentValue);
  const bool vector = (src->flags & kPixelFlagVector) != 0;
  for (; h > 0; --h, s += src->pitch, d += dest->pitch)
    if (vector)
      KeyedCopyRow8Vector(s, d, w, key);
    else
      KeyedCopyRowPlain<Fmt8>(s, d, w, key);
}

int32_t BlitKeyedInk8(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                      int32_t sy, int32_t w, int32_t h, uint32_t effect, uint32_t parameter) {
  if (effect == EffectNone) {
    BlitKeyed8(dest, dx, dy, src, sx, sy, w, h);
    return 1;
  }
  return KeyedInkRowsOf<Fmt8>(dest, dx, dy, src, sx, sy, w, h, effect, parameter);
}

template <bool Keyed>
void BlitCallback8(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                   int32_t sy, int32_t w, int32_t h, PixelCallback callback, uint32_t user) {
  const uint32_t key = Fmt8::KeyOf(src->transparentValue);
  cPalette* palette = dest->palette;
  const uint8_t* srow = RowAt(src, sx, sy);
  uint8_t* drow = RowAt(dest, dx, dy);
  for (; h > 0; --h, srow += src->pitch, drow += dest->pitch)
    for (int32_t i = 0; i < w; ++i) {
      if (Keyed && srow[i] == key) continue;
      const uint32_t r = callback(IndexColour(palette, drow[i]), IndexColour(palette, srow[i]), user);
      drow[i] = uint8_t(PaletteNearestIndex(palette, r));
    }
}

// Stores each source index's entry of `table` (the destination's pixel
// bytes, F::kBytes of them) along a row.
template <class F>
void LookUpRows(const uint8_t* s, int32_t sPitch, uint8_t* d, int32_t dPitch, int32_t w, int32_t h,
                const uint32_t* table) {
  for (; h > 0; --h, s += sPitch, d += dPitch)
    for (int32_t i = 0; i < w; ++i) F::Store(d + i * F::kBytes, table[s[i]]);
}

// The converters of an 8-bit source read its own palette. Every index is
// converted once, by the row converter itself, into a table of destination
// pixels; the rows are then table look-ups.
void ConvertRows8(PixelView* dest, int32_t dx, int32_t dy, int32_t, const PixelView* src, int32_t sx,
                  int32_t sy, int32_t w, int32_t h) {
  if (dest->depthIndex < 1 || dest->depthIndex > 4) return;
  const RowConverter convert = GetRowConverters(0)[dest->depthIndex];
  uint32_t table[256] = {};
  for (uint32_t i = 0; i < 256; ++i) {
    const uint8_t index = uint8_t(i);
    convert(&index, reinterpret_cast<uint8_t*>(&table[i]), 1, src->palette);
  }
  const uint8_t* s = RowAt(src, sx, sy);
  uint8_t* d = RowAt(dest, dx, dy);
  switch (dest->bytesPerPixel) {
    case 2:
      LookUpRows<Fmt565>(s, src->pitch, d, dest->pitch, w, h, table);
      break;
    case 3:
      LookUpRows<Fmt24>(s, src->pitch, d, dest->pitch, w, h, table);
      break;
    default:
      LookUpRows<Fmt32>(s, src->pitch, d, dest->pitch, w, h, table);
      break;
  }
}

constexpr PixelOps kPixelOps8 = {
    &PutPixel8,
    &GetPixel8,
    &FillRectOf<Fmt8, PlainRows>,
    &BlitKeyed8,
    &BlitKeyedInk8,
    &PixelOpsCopy,
    &BlitInkOf<Fmt8>,
    &BlitCallback8<true>,
    &BlitCallback8<false>,
    &MirrorRowsOf<1>,
    &ReplaceColourOf<Fmt8>,
    &ConvertRows8,
    &RleSizeOf<Fmt8>,
    &RleEncodeOf<Fmt8>,
};

const InkOps kInk8 = MakeInk8Ops();
const InkOps kInk8Vector = MakeVectorInk8Ops();

}  // namespace

const PixelOps* PixelOps8Row() { return &kPixelOps8; }
const InkOps* InkOps8Set(bool vector) { return vector ? &kInk8Vector : &kInk8; }

}  // namespace pixel
