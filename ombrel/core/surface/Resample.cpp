#include "surface/Resample.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "Memory.h"
#include "palette/PaletteApi.h"
#include "surface/NativeColour.h"
#include "surface/ResampleWeights.h"
#include "surface/SurfaceAccess.h"
#include "surface/cMemSurface.h"

namespace {

// Pixels of `step` bytes each (3 or 4 for colours, 1 for alpha), the first
// `channels` of them mixed: width x height from `first`, rows `pitch` apart.
// A fourth byte of a colour pixel is written 0, as a 24-bit result
// converted to 32 bits shows it.
struct Plane {
  uint8_t* first;
  int32_t pitch;
  int32_t width;
  int32_t height;
  int32_t step;
};

// What makes a contributor transparent: its bytes equal the key's, or its
// alpha byte is 0 when the pass reads a source with an alpha plane.
struct KeyRule {
  uint8_t bgr[3];
  const uint8_t* alpha;  // alpha of the plane's (0, 0), or null
  int32_t alphaPitch;
};

constexpr uint32_t kRounding = 0x8000;
constexpr int32_t kKeyWeight = 0xB000;  // 0.6875

inline uint8_t Narrow(uint32_t sum) { return uint8_t(std::min<uint32_t>(sum, 0xFF0000u) >> 16); }

template <int C>
inline void Store(const uint32_t* sum, uint8_t* out) {
  for (int c = 0; c < C; ++c) out[c] = Narrow(sum[c]);
}

// One output pixel from n contributors `step` bytes apart.
template <int C>
inline void Mix(const uint8_t* p, ptrdiff_t step, const int32_t* w, int32_t n, uint8_t* out) {
  uint32_t sum[C];
  for (int c = 0; c < C; ++c) sum[c] = kRounding;
  for (int32_t j = 0; j < n; ++j, p += step)
    for (int c = 0; c < C; ++c) sum[c] += uint32_t(w[j]) * p[c];
  Store<C>(sum, out);
}

// The keyed form: a transparent contributor lends its weight to the key and
// stands in with a neighbouring contributor's colour, never one outside the
// list (a lone transparent contributor keeps its own).
inline void MixKeyed(const uint8_t* p, ptrdiff_t step, const uint8_t* a, ptrdiff_t alphaStep,
                     const int32_t* w, int32_t n, const KeyRule& key, uint8_t* out) {
  auto pixel = [&](int32_t j) { return p + j * step; };
  auto transparent = [&](int32_t j) {
    const uint8_t* q = pixel(j);
    if (q[0] == key.bgr[0] && q[1] == key.bgr[1] && q[2] == key.bgr[2]) return true;
    return a != nullptr && a[j * alphaStep] == 0;
  };
  uint32_t sum[3] = {kRounding, kRounding, kRounding};
  int32_t keyWeight = 0;
  for (int32_t j = 0; j < n; ++j) {
    const uint8_t* from = pixel(j);
    if (transparent(j)) {
      keyWeight += w[j];
      int32_t k = j;
      if (j > 0) {
        k = j - 1;
        if (transparent(k) && j + 1 < n) k = j + 1;
      } else if (n > 1) {
        k = 1;
        if (transparent(1) && n >= 3) k = 2;
      }
      from = pixel(k);
    }
    for (int c = 0; c < 3; ++c) sum[c] += uint32_t(w[j]) * from[c];
  }
  if (keyWeight >= kKeyWeight) {
    out[0] = key.bgr[0];
    out[1] = key.bgr[1];
    out[2] = key.bgr[2];
    return;
  }
  Store<3>(sum, out);
}

// The byte past the colour channels of each pixel of an output row (the
// fourth byte of a 32-bit pixel).
template <int C>
inline void ClearPadding(uint8_t* out, int32_t width, int32_t step) {
  if (C != 3 || step != 4) return;
  for (int32_t x = 0; x < width; ++x) out[4 * x + 3] = 0;
}

// Row y of the source resampled across into `out` (dest.width pixels).
template <int C>
void HorizontalRow(const Plane& src, int32_t y, uint8_t* out, const Plane& dest,
                   const ResampleWeights& weights, const KeyRule* key) {
  const uint8_t* row = src.first + int64_t(y) * src.pitch;
  const uint8_t* alpha = key != nullptr && key->alpha != nullptr ? key->alpha + int64_t(y) * key->alphaPitch : nullptr;
  uint8_t* to = out;
  for (int32_t i = 0; i < dest.width; ++i, to += dest.step) {
    const ResampleWeights::Entry& e = weights[i];
    const int32_t n = e.last - e.first + 1;
    if (key != nullptr)
      MixKeyed(row + int64_t(e.first) * src.step, src.step, alpha != nullptr ? alpha + e.first : nullptr,
               1, e.weights, n, *key, to);
    else
      Mix<C>(row + int64_t(e.first) * src.step, src.step, e.weights, n, to);
  }
  ClearPadding<C>(out, dest.width, dest.step);
}

// Output row `out` of the pass down the rows from its contributing rows,
// which start at `top` and lie `pitch` apart, pixels `srcStep` bytes each.
// Unkeyed rows of one pixel layout are summed a block of bytes at a time,
// contributor by contributor: every byte of the output is the weighted sum
// of the same byte of its rows (plain loops the compiler turns into vector
// code where it can). Otherwise pixel by pixel.
template <int C>
void VerticalRow(const uint8_t* top, int32_t pitch, int32_t srcStep, const ResampleWeights::Entry& e,
                 uint8_t* out, const Plane& dest, const KeyRule* key) {
  const int32_t n = e.last - e.first + 1;
  if (key == nullptr && srcStep == dest.step) {
    constexpr int32_t kBlock = 512;
    uint32_t sum[kBlock];
    const int32_t bytes = dest.width * dest.step;
    for (int32_t b0 = 0; b0 < bytes; b0 += kBlock) {
      const int32_t m = std::min(kBlock, bytes - b0);
      // An empty list (no contributor) gives 0.
      const uint32_t w0 = n > 0 ? uint32_t(e.weights[0]) : 0;
      const uint8_t* first = n > 0 ? top + b0 : nullptr;
      for (int32_t b = 0; b < m; ++b) sum[b] = kRounding + (first != nullptr ? w0 * first[b] : 0);
      for (int32_t j = 1; j < n; ++j) {
        const uint8_t* row = top + int64_t(j) * pitch + b0;
        const uint32_t w = uint32_t(e.weights[j]);
        for (int32_t b = 0; b < m; ++b) sum[b] += w * row[b];
      }
      for (int32_t b = 0; b < m; ++b) out[b0 + b] = Narrow(sum[b]);
    }
  } else {
    const uint8_t* alphaTop =
        key != nullptr && key->alpha != nullptr ? key->alpha + int64_t(e.first) * key->alphaPitch : nullptr;
    uint8_t* to = out;
    for (int32_t x = 0; x < dest.width; ++x, to += dest.step) {
      if (key != nullptr)
        MixKeyed(top + int64_t(x) * srcStep, pitch, alphaTop != nullptr ? alphaTop + x : nullptr,
                 key->alphaPitch, e.weights, n, *key, to);
      else
        Mix<C>(top + int64_t(x) * srcStep, pitch, e.weights, n, to);
    }
  }
  ClearPadding<C>(out, dest.width, dest.step);
}

// Heap block of a pass's intermediate rows.
class ScratchRows {
 public:
  ~ScratchRows() { MemFree(&block_); }
  uint8_t* Make(uint64_t bytes) {
    if (bytes == 0 || bytes > (uint64_t(1) << 31) || !MemAlloc(uint32_t(bytes), &block_)) return nullptr;
    return static_cast<uint8_t*>(block_);
  }

 private:
  void* block_ = nullptr;
};

// src (sw x sh) onto dest (dw x dh), C channels each; the key applies to the
// pass that reads the source (its alpha) and, by colour, to the second pass.
// The intermediate rows take the destination's pixel layout. Each output row
// needs at most `Support()` consecutive intermediate rows, and the rows
// needed move only downwards, so only those are kept: row r at slots r mod
// k and k + r mod k of 2k slots, where any k consecutive rows lie in order,
// one pitch apart.
template <int C>
bool ResamplePlanes(const Plane& src, const Plane& dest, const KeyRule* key) {
  const int32_t sw = src.width, sh = src.height, dw = dest.width, dh = dest.height;
  ResampleWeights across, down;
  if (dw != sw && !across.Build(dw, sw, double(dw) / double(sw))) return false;
  if (dh != sh && !down.Build(dh, sh, double(dh) / double(sh))) return false;
  if (dh == sh) {
    for (int32_t y = 0; y < sh; ++y)
      HorizontalRow<C>(src, y, dest.first + int64_t(y) * dest.pitch, dest, across, key);
    return true;
  }
  if (dw == sw) {
    for (int32_t i = 0; i < dh; ++i)
      VerticalRow<C>(src.first + int64_t(down[i].first) * src.pitch, src.pitch, src.step, down[i],
                     dest.first + int64_t(i) * dest.pitch, dest, key);
    return true;
  }
  const int32_t kept = std::max(1, std::min(down.Support(), sh));
  const bool ring = 2 * int64_t(kept) < sh;
  const int32_t slots = ring ? 2 * kept : sh;
  const int32_t pitch = dw * dest.step;
  // With the ring, the row each of the first `kept` slots holds; then the rows.
  const uint64_t heldBytes = ring ? uint64_t(kept) * sizeof(int32_t) : 0;
  ScratchRows scratch;
  uint8_t* block = scratch.Make(heldBytes + uint64_t(pitch) * uint64_t(slots));
  if (block == nullptr) return false;
  int32_t* held = reinterpret_cast<int32_t*>(block);
  std::fill(held, held + heldBytes / sizeof(int32_t), -1);
  uint8_t* rows = block + heldBytes;
  const Plane middle{rows, pitch, dw, sh, dest.step};
  KeyRule byColour{};
  if (key != nullptr) byColour = KeyRule{{key->bgr[0], key->bgr[1], key->bgr[2]}, nullptr, 0};
  int32_t made = 0;  // without the ring: rows made so far, in order
  for (int32_t i = 0; i < dh; ++i) {
    const ResampleWeights::Entry& e = down[i];
    const uint8_t* top = rows;
    if (ring) {
      for (int32_t r = e.first; r <= e.last; ++r) {
        const int32_t slot = r % kept;
        if (held[slot] == r) continue;
        uint8_t* at = rows + int64_t(slot) * pitch;
        HorizontalRow<C>(src, r, at, middle, across, key);
        std::memcpy(at + int64_t(kept) * pitch, at, size_t(pitch));
        held[slot] = r;
      }
      if (e.last >= e.first) top = rows + int64_t(e.first % kept) * pitch;
    } else {
      for (; made <= e.last; ++made)
        HorizontalRow<C>(src, made, rows + int64_t(made) * pitch, middle, across, key);
      if (e.last >= e.first) top = rows + int64_t(e.first) * pitch;
    }
    VerticalRow<C>(top, pitch, dest.step, e, dest.first + int64_t(i) * dest.pitch, dest,
                   key != nullptr ? &byColour : nullptr);
  }
  return true;
}

// A 24-bit memory surface of w x h, or null.
cSurfaceImpl* MakeRgbSurface(int32_t width, int32_t height) {
  cMemSurface* prototype = cMemSurface::CreatePrototype(24);
  if (prototype == nullptr) return nullptr;
  cSurfaceImpl* made = prototype->MakeInstance(width, height);
  prototype->Delete(1);
  return made;
}

Plane PlaneOf(const PixelView& v, int32_t x, int32_t y, int32_t width, int32_t height) {
  return Plane{v.firstRow + int64_t(y) * v.pitch + int64_t(x) * v.bytesPerPixel, v.pitch, width,
               height, v.bytesPerPixel};
}

// 24- and 32-bit rows are read and written in place; a 32-bit pixel's
// fourth byte is not a colour.
bool ResamplesInPlace(cSurfaceImpl& s) {
  return (s.view.depth == 24 || s.view.depth == 32) && !s.IsCompressed();
}

}  // namespace

uint32_t KeyColourAt24(const cSurfaceImpl& src) {
  const PixelView& v = src.view;
  switch (v.depth) {
    case 8:
      return v.palette != nullptr ? EntryColour(v.palette->log.entries[v.transparentValue & 0xFF]) : 0;
    case 15:
    case 16:
      return NativeToColour(v.depth, v.transparentValue);
    default:
      return v.transparentColour & 0x00FFFFFFu;
  }
}

bool Resample(cSurfaceImpl& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
              cSurfaceImpl& dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, bool keyed) {
  dw = std::max(dw, 1);
  dh = std::max(dh, 1);
  if (dw == sw && dh == sh)
    return src.Blit(&dest, dx, dy, sx, sy, sw, sh, BlitOpaque, 0, 0, 0) != 0;
  // Both ends are seen as 24- or 32-bit rows; other depths go through
  // 24-bit copies.
  cSurfaceImpl* wideSource = nullptr;
  cSurfaceImpl* wideDest = nullptr;
  bool done = false;
  do {
    cSurfaceImpl* from = &src;
    int32_t fx = sx, fy = sy;
    if (!ResamplesInPlace(src)) {
      wideSource = MakeRgbSurface(sw, sh);
      if (wideSource == nullptr ||
          !src.Blit(wideSource, 0, 0, sx, sy, sw, sh, BlitOpaque, 0, 0, 0))
        break;
      from = wideSource;
      fx = fy = 0;
    }
    cSurfaceImpl* to = &dest;
    int32_t tx = dx, ty = dy;
    if (!ResamplesInPlace(dest)) {
      wideDest = MakeRgbSurface(dw, dh);
      if (wideDest == nullptr) break;
      to = wideDest;
      tx = ty = 0;
    }
    SurfaceAccess fromAccess(*from);
    SurfaceAccess toAccess(*to);
    if (!fromAccess.ok() || !toAccess.ok()) break;
    KeyRule key{};
    if (keyed) {
      const uint32_t colour = KeyColourAt24(src);
      key.bgr[0] = uint8_t(colour >> 16);
      key.bgr[1] = uint8_t(colour >> 8);
      key.bgr[2] = uint8_t(colour);
      if (src.view.alphaFirstRow != nullptr) {
        key.alpha = src.view.alphaFirstRow + int64_t(sy) * src.view.alphaPitch + sx;
        key.alphaPitch = src.view.alphaPitch;
      }
    }
    if (!ResamplePlanes<3>(PlaneOf(from->view, fx, fy, sw, sh), PlaneOf(to->view, tx, ty, dw, dh),
                           keyed ? &key : nullptr))
      break;
    done = to == &dest || wideDest->Blit(&dest, dx, dy, 0, 0, dw, dh, BlitOpaque, 0, 0, 0) != 0;
  } while (false);
  DeleteSurface(wideSource);
  DeleteSurface(wideDest);
  return done;
}

bool ResampleAlpha(const cSurfaceImpl& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                   cSurfaceImpl& dest, int32_t dw, int32_t dh) {
  const PixelView& a = src.view;
  const PixelView& b = dest.view;
  if (a.alphaFirstRow == nullptr || b.alphaFirstRow == nullptr) return false;
  const Plane from{a.alphaFirstRow + int64_t(sy) * a.alphaPitch + sx, a.alphaPitch, sw, sh, 1};
  const Plane to{b.alphaFirstRow, b.alphaPitch, std::max(dw, 1), std::max(dh, 1), 1};
  if (to.width == sw && to.height == sh) {
    for (int32_t y = 0; y < sh; ++y)
      std::copy_n(from.first + int64_t(y) * from.pitch, sw, to.first + int64_t(y) * to.pitch);
    return true;
  }
  return ResamplePlanes<1>(from, to, nullptr);
}
