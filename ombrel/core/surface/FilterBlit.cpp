// Slot 34 `FilterBlit`: a callback computes each destination pixel from a
// block of the destination as it was before the pass and the matching block
// of the source. Colours are 0x00BBGGRR at every depth.
//
// Both surfaces are read once into colour copies (the destination's with its
// edges repeated, the source's with the key outside its clip), so a block is
// a few loads from them; the routine rows of the library's formats are read
// and written inline. The edge smoothing callbacks of `Blit` are recognised
// and computed in place, without building their blocks.
#include <algorithm>
#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "Memory.h"
#include "palette/PaletteApi.h"
#include "pixel/PixelFormat.h"
#include "pixel/PixelFormat16.h"
#include "surface/BlitPaths.h"
#include "surface/FilterSmoothEdges.h"
#include "surface/Resample.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

namespace {

// A MemAlloc block of 32-bit colours, freed on scope exit.
class ColourBlock {
 public:
  explicit ColourBlock(uint64_t count) {
    if (count > 0 && count <= 0x3FFFFFFFu) MemAlloc(uint32_t(count * 4), &block_);
  }
  ~ColourBlock() { MemFree(&block_); }
  ColourBlock(const ColourBlock&) = delete;
  ColourBlock& operator=(const ColourBlock&) = delete;
  uint32_t* data() const { return static_cast<uint32_t*>(block_); }

 private:
  void* block_ = nullptr;
};

bool ReadsColours(const cSurfaceImpl& s) {
  return s.view.depth == 8 || (s.view.ops != nullptr && s.view.ops->GetPixel != nullptr);
}

// The library's own routine row of the surface's format: its pixel read and
// write are the format's formulas, done inline here.
bool PlainRow(const PixelView& v) {
  if (v.depth == 8) return v.ops != nullptr && v.ops->GetPixel != nullptr && v.palette != nullptr;
  return v.ops != nullptr && v.ops == GetPixelOps(v.depthIndex);
}

template <class F>
void ReadFormatRow(const PixelView& v, int32_t x, int32_t y, int32_t n, uint32_t* out) {
  const uint8_t* p = pixel::RowAt(&v, x, y);
  for (int32_t i = 0; i < n; ++i, p += F::kBytes) out[i] = F::ToColour(F::Load(p)) & 0x00FFFFFFu;
}

// n colours of row y from x on, as GetPixelFast gives them (without byte 3).
void ReadRow(cSurfaceImpl& s, int32_t x, int32_t y, int32_t n, uint32_t* out) {
  const PixelView& v = s.view;
  if (!PlainRow(v)) {
    for (int32_t i = 0; i < n; ++i) out[i] = s.GetPixelFast(x + i, y) & 0x00FFFFFFu;
    return;
  }
  switch (v.depth) {
    case 8: {
      const uint8_t* p = pixel::RowAt(&v, x, y);
      const PaletteEntry* entries = v.palette->log.entries;
      for (int32_t i = 0; i < n; ++i) out[i] = EntryColour(entries[p[i]]) & 0x00FFFFFFu;
      return;
    }
    case 15:
      return ReadFormatRow<pixel::Fmt555>(v, x, y, n, out);
    case 16:
      return ReadFormatRow<pixel::Fmt565>(v, x, y, n, out);
    case 24:
      return ReadFormatRow<pixel::Fmt24>(v, x, y, n, out);
    default:
      return ReadFormatRow<pixel::Fmt32>(v, x, y, n, out);
  }
}

// The bytes a view's rows span.
void RowSpan(const PixelView& v, uintptr_t* first, uintptr_t* end) {
  const uintptr_t top = reinterpret_cast<uintptr_t>(v.firstRow);
  const intptr_t last = intptr_t(v.height > 0 ? v.height - 1 : 0) * v.pitch;
  *first = last < 0 ? top + uintptr_t(last) : top;
  *end = (last < 0 ? top : top + uintptr_t(last)) + uintptr_t(v.width > 0 ? v.width : 0) * uintptr_t(v.bytesPerPixel);
}

bool SharePixels(const PixelView& a, const PixelView& b) {
  uintptr_t a0 = 0, a1 = 0, b0 = 0, b1 = 0;
  RowSpan(a, &a0, &a1);
  RowSpan(b, &b0, &b1);
  return a0 < b1 && b0 < a1;
}

// The keyed smoothing of FilterSmoothEdges.h at one point, on the copies:
// b and s point at the block's top-left entry, rows `bPitch` and `sPitch`
// apart. OverColour: background zeros count as `colour`, the key is 0.
template <bool OverColour>
inline uint32_t SmoothAt(const uint32_t* b, int64_t bPitch, const uint32_t* s, int64_t sPitch, uint32_t key,
                         uint32_t colour) {
  const uint32_t* s0 = s;
  const uint32_t* s1 = s + sPitch;
  const uint32_t* s2 = s1 + sPitch;
  auto back = [&](int32_t i, int32_t j) {
    const uint32_t v = b[j * bPitch + i];
    return OverColour && v == 0 && colour != 0 ? colour : v;
  };
  if (s1[1] != key || (s0[1] == key && s2[1] == key) || (s1[0] == key && s1[2] == key)) return back(1, 1);
  static constexpr uint64_t kWeight[9] = {1, 2, 1, 2, 12, 2, 1, 2, 1};
  const uint32_t* rows[3] = {s0, s1, s2};
  const uint32_t centre = back(1, 1);
  // The three channels side by side in 21-bit fields of one word: a sum of
  // weights 24 times 255 fits, so one multiply-add per entry.
  auto spread = [](uint32_t c) { return uint64_t(c & 0xFF) | uint64_t(c & 0xFF00) << 13 | uint64_t(c & 0xFF0000) << 26; };
  uint64_t sum = 0;
  for (int32_t j = 0; j < 3; ++j)
    for (int32_t i = 0; i < 3; ++i) {
      const uint32_t c = (i != 1 || j != 1) && rows[j][i] == key ? centre : back(i, j);
      sum += kWeight[j * 3 + i] * spread(c);
    }
  const uint32_t red = uint32_t(sum & 0x1FFFFF) / 24, green = uint32_t(sum >> 21 & 0x1FFFFF) / 24,
                 blue = uint32_t(sum >> 42 & 0x1FFFFF) / 24;
  return red | green << 8 | blue << 16;
}

// The first x from `x` on below `end` whose entry is the key (end if none).
inline int64_t NextKey(const uint32_t* entries, int64_t x, int64_t end, uint32_t key) {
#ifdef __SSE2__
  const __m128i k = _mm_set1_epi32(int32_t(key));
  for (; x + 4 <= end; x += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entries + x));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(v, k)) != 0) break;
  }
#endif
  while (x < end && entries[x] != key) ++x;
  return x;
}

// What a pass computes at each point.
enum class PassKind { Callback, SmoothKeyed, SmoothOverColour };

struct PassInput {
  const uint32_t* background;  // the copy, rows cw apart
  const uint32_t* source;      // rows sw apart
  int64_t cw, sw;
  int64_t xFirst, xEnd, yFirst, yEnd;  // destination points of the pass
  int64_t shiftX, shiftY;              // copy column / row of a point's block = point - shift
  int32_t kw, kh;
  FilterBlockFn filter;
  uint32_t user;
  uint32_t* backBlock;
  uint32_t* srcBlock;
  int32_t clipLeft, clipTop, clipRight, clipBottom;  // the destination's clip
};

// The pass over every point. put(x, y, colour) writes one destination pixel
// inside the clip; with SkipUnchanged a smoothing result equal to the pixel's
// own colour is not written (the write would store the same bytes).
template <PassKind Kind, bool SkipUnchanged, class Put>
void RunPass(const PassInput& in, Put put) {
  for (int64_t y = in.yFirst; y < in.yEnd; ++y) {
    const int64_t by = y - in.shiftY;
    const uint32_t* bRow = in.background + by * in.cw;
    const uint32_t* sRow = in.source + by * in.sw;
    const bool rowInClip = y >= in.clipTop && y < in.clipBottom;
    if (Kind != PassKind::Callback) {
      // The smoothing callbacks are pure: points outside the clip are not computed.
      if (!rowInClip) continue;
      const int64_t xFirst = std::max<int64_t>(in.xFirst, in.clipLeft), xEnd = std::min<int64_t>(in.xEnd, in.clipRight);
      const int64_t cw = in.cw, sw = in.sw;
      const uint32_t key = Kind == PassKind::SmoothKeyed ? in.user : 0, colour = in.user;
      const uint32_t* centres = sRow + sw + 1 - in.shiftX;  // source centre of point x: centres[x]
      for (int64_t x = xFirst; x < xEnd; ++x) {
        if (Kind == PassKind::SmoothKeyed && SkipUnchanged) {
          // Keyed, an opaque source centre keeps the background's own colour.
          x = NextKey(centres, x, xEnd, key);
          if (x == xEnd) break;
        }
        const int64_t bx = x - in.shiftX;
        const uint32_t r = Kind == PassKind::SmoothKeyed ? SmoothAt<false>(bRow + bx, cw, sRow + bx, sw, key, 0)
                                                         : SmoothAt<true>(bRow + bx, cw, sRow + bx, sw, 0, colour);
        if (SkipUnchanged && r == bRow[bx + cw + 1]) continue;
        put(int32_t(x), int32_t(y), r);
      }
      continue;
    }
    for (int64_t x = in.xFirst; x < in.xEnd; ++x) {
      const int64_t bx = x - in.shiftX;
      uint32_t* b = in.backBlock;
      uint32_t* s = in.srcBlock;
      for (int32_t j = 0; j < in.kh; ++j) {
        const uint32_t* bFrom = bRow + int64_t(j) * in.cw + bx;
        const uint32_t* sFrom = sRow + int64_t(j) * in.sw + bx;
        for (int32_t i = 0; i < in.kw; ++i) {
          *b++ = bFrom[i];
          *s++ = sFrom[i];
        }
      }
      const uint32_t r = in.filter(in.backBlock, in.srcBlock, in.user);
      if (rowInClip && x >= in.clipLeft && x < in.clipRight) put(int32_t(x), int32_t(y), r);
    }
  }
}

template <PassKind Kind, class Put>
void RunPassOn(const PassInput& in, bool skipUnchanged, Put put) {
  if (skipUnchanged)
    RunPass<Kind, true>(in, put);
  else
    RunPass<Kind, false>(in, put);
}

template <class Put>
void RunAnyPass(const PassInput& in, PassKind kind, bool skipUnchanged, Put put) {
  switch (kind) {
    case PassKind::SmoothKeyed:
      return RunPassOn<PassKind::SmoothKeyed>(in, skipUnchanged, put);
    case PassKind::SmoothOverColour:
      return RunPassOn<PassKind::SmoothOverColour>(in, skipUnchanged, put);
    default:
      return RunPass<PassKind::Callback, false>(in, put);
  }
}

}  // namespace

int32_t cSurfaceImpl::FilterBlit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx,
                                 int32_t sy, int32_t width, int32_t height, int32_t kernelWidth,
                                 int32_t kernelHeight, int32_t anchorX, int32_t anchorY,
                                 int32_t marginX, int32_t marginY, FilterCallback callback,
                                 uint32_t user) {
  const auto filter = reinterpret_cast<FilterBlockFn>(callback);
  if (dest == nullptr || dest->IsDCOnly() || view.depth != dest->view.depth || filter == nullptr)
    return 0;
  if (dest->IsCompressed()) return 0;  // its block is no pixel rows
  if (!ReadsColours(*this) || !ReadsColours(*dest)) return 0;  // no pixel routines at this depth
  if (view.depth == 8 && (view.palette == nullptr || !InverseTableReady(*dest))) return 0;
  if (!ClipBlitRects(view, dest->view, dx, dy, sx, sy, width, height)) return 0;
  if (kernelWidth <= 0 || kernelHeight <= 0 || marginX < 0 || marginY < 0) return 0;
  // The kernel, anchors and margins come from callers: sizes in 64 bits,
  // refused when a block could not be allocated anyway.
  const int64_t copyWidth = int64_t(width) + kernelWidth + 2 * int64_t(marginX);
  const int64_t copyHeight = int64_t(height) + kernelHeight + 2 * int64_t(marginY);
  const int64_t kernelCount = int64_t(kernelWidth) * kernelHeight;
  // Each side first: margins near 2^31 make sides near 2^32, whose product
  // would overflow 64 bits.
  if (copyWidth > 0x3FFFFFFF || copyHeight > 0x3FFFFFFF || copyWidth * copyHeight > 0x3FFFFFFF ||
      kernelCount > 0x3FFFFFFF)
    return 0;
  // Destination position of the copy's (0, 0); positions are 64-bit, so
  // far anchors only read edge pixels.
  const int64_t originX = int64_t(dx) - anchorX - marginX;
  const int64_t originY = int64_t(dy) - anchorY - marginY;

  SurfaceAccess srcAccess(*this);
  if (!srcAccess.ok()) return 0;
  SurfaceAccess destAccess(*dest);
  if (!destAccess.ok()) return 0;

  // The background copy; beyond the destination it repeats the nearest edge
  // pixel, so every block is defined.
  const int32_t cw = int32_t(copyWidth), ch = int32_t(copyHeight);
  ColourBlock background{uint64_t(cw) * uint64_t(ch)};
  ColourBlock backBlock{uint64_t(kernelCount)};
  ColourBlock srcBlock{uint64_t(kernelCount)};
  if (background.data() == nullptr || backBlock.data() == nullptr || srcBlock.data() == nullptr)
    return 0;
  const PixelView& d = dest->view;
  {
    // Columns inside the destination are read as one run; the rest repeat an edge.
    const int64_t inFirst = std::clamp<int64_t>(-originX, 0, cw), inEnd = std::clamp<int64_t>(d.width - originX, 0, cw);
    for (int32_t j = 0; j < ch; ++j) {
      const int32_t y = int32_t(std::clamp<int64_t>(originY + j, 0, d.height - 1));
      uint32_t* row = background.data() + int64_t(j) * cw;
      if (inEnd > inFirst) ReadRow(*dest, int32_t(originX + inFirst), y, int32_t(inEnd - inFirst), row + inFirst);
      for (int64_t i = 0; i < inFirst; ++i) row[i] = dest->GetPixelFast(0, y) & 0x00FFFFFFu;
      for (int64_t i = std::max(inEnd, inFirst); i < cw; ++i) row[i] = dest->GetPixelFast(d.width - 1, y) & 0x00FFFFFFu;
    }
  }

  // Outside the source's clip: the colour its key pixels read as (at 8 bits
  // the key index's palette colour).
  const uint32_t key = view.depth == 8 ? KeyColourAt24(*this) : view.transparentColour & 0x00FFFFFFu;

  // The destination pixel written as the base SetPixel does (the back ends
  // that write pixels otherwise are refused above), under the lock held here.
  const bool plainDest = PlainRow(d);
  auto write = [&](int32_t x, int32_t y, uint32_t colour) {
    if (!dest->InClip(x, y)) return;
    if (d.depth == 8) {
      pixel::RowAt(&d, x, y)[0] = uint8_t(dest->ColourToIndex(colour));
      return;
    }
    if (plainDest) {
      uint8_t* p = pixel::RowAt(&d, x, y);
      switch (d.depth) {
        case 15:
          return pixel::Fmt555::PutColour(p, colour);
        case 16:
          return pixel::Fmt565::PutColour(p, colour);
        case 24:
          return pixel::Fmt24::PutColour(p, colour);
        default:
          return pixel::Fmt32::PutColour(p, colour);
      }
    }
    if (d.ops != nullptr && d.ops->PutPixel != nullptr) dest->view.ops->PutPixel(&dest->view, x, y, colour);
  };

  const int64_t xFirst = int64_t(dx) - marginX, xEnd = int64_t(dx) + width + marginX;
  const int64_t yFirst = int64_t(dy) - marginY, yEnd = int64_t(dy) + height + marginY;

  // Writing into pixels it reads (the same surface, or two sharing rows),
  // the source is read as the pass goes.
  if (dest == this || SharePixels(view, d)) {
    for (int64_t y = yFirst; y < yEnd; ++y) {
      for (int64_t x = xFirst; x < xEnd; ++x) {
        const int64_t bx = x - anchorX - originX, by = y - anchorY - originY;
        uint32_t* b = backBlock.data();
        for (int32_t j = 0; j < kernelHeight; ++j)
          for (int32_t i = 0; i < kernelWidth; ++i) *b++ = background.data()[(by + j) * cw + bx + i];
        const int64_t px = sx + x - dx - anchorX, py = sy + y - dy - anchorY;
        uint32_t* s = srcBlock.data();
        for (int32_t j = 0; j < kernelHeight; ++j) {
          const int64_t v = py + j;
          const bool rowInside = v >= view.clipTop && v < view.clipBottom;
          for (int32_t i = 0; i < kernelWidth; ++i) {
            const int64_t u = px + i;
            *s++ = rowInside && u >= view.clipLeft && u < view.clipRight
                       ? GetPixelFast(int32_t(u), int32_t(v)) & 0x00FFFFFFu
                       : key;
          }
        }
        write(int32_t(x), int32_t(y), filter(backBlock.data(), srcBlock.data(), user));
      }
    }
    return 1;
  }

  // The source copy: block entry (i, j) of the point whose background block
  // starts at copy column bx, row by is source entry (bx + i, by + j).
  const int32_t sw = cw - 1, sh = ch - 1;
  ColourBlock source{uint64_t(sw) * uint64_t(sh)};
  if (source.data() == nullptr) return 0;
  {
    const int64_t u0 = int64_t(sx) - marginX - anchorX, v0 = int64_t(sy) - marginY - anchorY;
    const int64_t inFirst = std::clamp<int64_t>(view.clipLeft - u0, 0, sw);
    const int64_t inEnd = std::clamp<int64_t>(view.clipRight - u0, 0, sw);
    for (int32_t j = 0; j < sh; ++j) {
      uint32_t* row = source.data() + int64_t(j) * sw;
      const int64_t v = v0 + j;
      const bool rowInside = v >= view.clipTop && v < view.clipBottom && inEnd > inFirst;
      std::fill(row, row + sw, key);
      if (rowInside) ReadRow(*this, int32_t(u0 + inFirst), int32_t(v), int32_t(inEnd - inFirst), row + inFirst);
    }
  }

  PassInput in{};
  in.background = background.data();
  in.source = source.data();
  in.cw = cw;
  in.sw = sw;
  in.xFirst = xFirst;
  in.xEnd = xEnd;
  in.yFirst = yFirst;
  in.yEnd = yEnd;
  in.shiftX = anchorX + originX;
  in.shiftY = anchorY + originY;
  in.kw = kernelWidth;
  in.kh = kernelHeight;
  in.filter = filter;
  in.user = user;
  in.backBlock = backBlock.data();
  in.srcBlock = srcBlock.data();
  in.clipLeft = d.clipLeft;
  in.clipTop = d.clipTop;
  in.clipRight = d.clipRight;
  in.clipBottom = d.clipBottom;
  // The smoothing callbacks as Blit calls them: a 3 x 3 block around each point.
  const bool smoothing = kernelWidth == 3 && kernelHeight == 3 && anchorX == 1 && anchorY == 1;
  const PassKind kind = smoothing && filter == &SmoothEdgeKeyed         ? PassKind::SmoothKeyed
                        : smoothing && filter == &SmoothEdgeOverColour ? PassKind::SmoothOverColour
                                                                       : PassKind::Callback;
  PixelView& dv = dest->view;
  auto at = [&dv](int32_t x, int32_t y) { return pixel::RowAt(&dv, x, y); };
  if (d.depth == 8) {
    RunAnyPass(in, kind, false, [&](int32_t x, int32_t y, uint32_t c) { at(x, y)[0] = uint8_t(dest->ColourToIndex(c)); });
  } else if (!plainDest) {
    if (dv.ops != nullptr && dv.ops->PutPixel != nullptr)
      RunAnyPass(in, kind, false, [&](int32_t x, int32_t y, uint32_t c) { dv.ops->PutPixel(&dv, x, y, c); });
  } else if (d.depth == 15) {
    RunAnyPass(in, kind, false, [&](int32_t x, int32_t y, uint32_t c) { pixel::Fmt555::PutColour(at(x, y), c); });
  } else if (d.depth == 16) {
    // 5-6-5: every bit is colour, so a pixel's own colour stores its bits
    // again (at 5-5-5 bit 15 would be cleared: written).
    RunAnyPass(in, kind, true, [&](int32_t x, int32_t y, uint32_t c) { pixel::Fmt565::PutColour(at(x, y), c); });
  } else if (d.depth == 24) {
    // Writing a pixel's own colour back stores the bytes it holds (at 32
    // bits byte 3 is not written).
    RunAnyPass(in, kind, true, [&](int32_t x, int32_t y, uint32_t c) { pixel::Fmt24::PutColour(at(x, y), c); });
  } else {
    RunAnyPass(in, kind, true, [&](int32_t x, int32_t y, uint32_t c) { pixel::Fmt32::PutColour(at(x, y), c); });
  }
  return 1;
}
