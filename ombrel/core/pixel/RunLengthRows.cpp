#include "pixel/RunLengthRows.h"

#include <cstring>

#include "pixel/InkEffects.h"
#include "pixel/PixelFormat.h"
#include "pixel/PixelFormat16.h"

namespace pixel {
namespace {

// Walks rows sy .. sy + h - 1 of the form run by run and hands the part of
// each run inside columns [sx, sx + w) to the drawer: Skip(dest, n) for
// transparent pixels, Copy(src, dest, n) for stored ones. Only row sy's pair
// is read; the following rows' codes and pixels follow it without gaps.
template <int N, class Draw>
void WalkRuns(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
              int32_t sy, int32_t w, int32_t h, Draw& draw) {
  const uint8_t* base = src->firstRow + 4;
  const uint8_t* codes = base + LoadU32(base + intptr_t(sy) * 8);
  const uint8_t* stored = base + LoadU32(base + intptr_t(sy) * 8 + 4);
  const int32_t width = src->width, left = sx, right = sx + w;
  uint8_t* drow = RowAt(dest, dx, dy);
  for (; h > 0; --h, drow += dest->pitch) {
    int32_t x = 0;
    while (x < width) {
      for (int kind = 0; kind < 2; ++kind) {  // a skip count, then a copy count
        const int32_t n = *codes++;
        const int32_t from = x < left ? left : x;
        const int32_t to = x + n > right ? right : x + n;
        if (from < to) {
          uint8_t* d = drow + intptr_t(from - left) * N;
          if (kind == 0)
            draw.Skip(d, to - from);
          else
            draw.Copy(stored + intptr_t(from - x) * N, d, to - from);
        }
        if (kind == 1) stored += intptr_t(n) * N;
        x += n;
      }
    }
  }
}

template <int N>
struct DrawKeyed {
  void Skip(uint8_t*, int32_t) {}
  void Copy(const uint8_t* s, uint8_t* d, int32_t n) { std::memcpy(d, s, size_t(n) * N); }
};

template <class F>
struct DrawOpaque {
  uint32_t key;
  void Skip(uint8_t* d, int32_t n) {
    for (; n > 0; --n, d += F::kBytes) F::Store(d, key);
  }
  void Copy(const uint8_t* s, uint8_t* d, int32_t n) { std::memcpy(d, s, size_t(n) * F::kBytes); }
};

struct DrawInk {
  const InkState* st;
  InkSpanFn span;
  InkKeyFillFn keyFill;  // null: transparent runs stay
  void Skip(uint8_t* d, int32_t n) {
    if (keyFill != nullptr) keyFill(st, d, n);
  }
  void Copy(const uint8_t* s, uint8_t* d, int32_t n) { span(st, s, d, n); }
};

template <class F>
void RleBlitKeyed(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                  int32_t sy, int32_t w, int32_t h) {
  DrawKeyed<F::kBytes> draw;
  WalkRuns<F::kBytes>(dest, dx, dy, src, sx, sy, w, h, draw);
}

template <class F>
void RleCopy(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx, int32_t sy,
             int32_t w, int32_t h) {
  DrawOpaque<F> draw{F::KeyOf(src->transparentValue)};
  WalkRuns<F::kBytes>(dest, dx, dy, src, sx, sy, w, h, draw);
}

template <class F, bool FillSkips>
int32_t RleInk(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
               int32_t sy, int32_t w, int32_t h, uint32_t effect, uint32_t parameter) {
  if (effect == EffectNone) {
    (FillSkips ? &RleCopy<F> : &RleBlitKeyed<F>)(dest, dx, dy, src, sx, sy, w, h);
    return 1;
  }
  if (!InkRequestAccepted(effect, parameter)) return 0;
  const InkOps* ops = GetInkOps(F::kDepthIndex, (dest->flags & kPixelFlagVector) != 0);
  if (ops == nullptr) return 0;
  InkState st;
  InkBegin(&st, ops, effect, parameter, src->transparentColour, F::KeyOf(src->transparentValue),
           dest->palette);
  // Slot 4 draws stored pixels as the keyed ink blit of the plain image does
  // (InkPixel: no stored pixel equals the key), so a compressed image looks
  // like its uncompressed one; slot 6 as the opaque ink blit (InkSpan).
  DrawInk draw{&st, FillSkips ? ops->span[effect] : ops->keyedSpan[effect],
               FillSkips ? ops->keyFill[effect] : nullptr};
  WalkRuns<F::kBytes>(dest, dx, dy, src, sx, sy, w, h, draw);
  return 1;
}

template <class F>
constexpr PixelOps MakeRleRow() {
  PixelOps row{};
  row.BlitKeyed = &RleBlitKeyed<F>;
  row.BlitKeyedInk = &RleInk<F, false>;
  row.Copy = &RleCopy<F>;
  row.BlitInk = &RleInk<F, true>;
  return row;
}

constexpr PixelOps kRleRows[5] = {MakeRleRow<Fmt8>(), MakeRleRow<Fmt555>(), MakeRleRow<Fmt565>(),
                                  MakeRleRow<Fmt24>(), MakeRleRow<Fmt32>()};

}  // namespace
}  // namespace pixel

const PixelOps* GetRlePixelOps(int32_t depthIndex) {
  if (depthIndex < 0 || depthIndex > 4) return nullptr;
  return &pixel::kRleRows[depthIndex];
}

int32_t RleValidate(const uint8_t* block, uint32_t bytes, int32_t width, int32_t height,
                    int32_t pixelBytes) {
  if (block == nullptr || bytes < 4 || width <= 0 || height <= 0 || pixelBytes < 1 ||
      pixelBytes > 4)
    return 0;
  const uint64_t total = pixel::LoadU32(block);
  const uint64_t table = uint64_t(8) * uint64_t(height);
  if (total > bytes || total < 4 + table) return 0;
  const uint8_t* base = block + 4;
  const uint64_t area = total - 4;  // offsets count from base
  const uint64_t pixelStart = pixel::LoadU32(base + 4);
  if (pixel::LoadU32(base) != table || pixelStart < table || pixelStart > area) return 0;
  uint64_t code = table, stored = pixelStart;
  for (int32_t y = 0; y < height; ++y) {
    // Each row's pair must be where the previous row ended: the blits read
    // on from the first row's pair.
    if (pixel::LoadU32(base + uint64_t(y) * 8) != code ||
        pixel::LoadU32(base + uint64_t(y) * 8 + 4) != stored)
      return 0;
    int64_t x = 0;
    do {
      if (code + 2 > pixelStart) return 0;
      const uint32_t skip = base[code], copy = base[code + 1];
      code += 2;
      x += int64_t(skip) + copy;
      if (x > width) return 0;
      stored += uint64_t(copy) * uint64_t(pixelBytes);
      if (stored > area) return 0;
    } while (x < width);
  }
  return code == pixelStart && stored == area ? 1 : 0;
}
