// Shared pieces of the generic software blits: two-surface clipping, the
// routine check, plain copies of run-length sources and views of the alpha
// plane. Internal to surface/.
#pragma once

#include <cstdint>

#include "LibError.h"
#include "pixel/PixelView.h"
#include "surface/cSurfaceImpl.h"

// The per-pixel callback of `FilterBlit`: (background block, source block,
// user value) -> colour 0x00BBGGRR; a block is kernel width x kernel height
// colours 0x00BBGGRR in row order. Applications supply it, so the callee
// pops its arguments on i686. Slot 34 carries it as `FilterCallback`.
using FilterBlockFn = uint32_t(OMB_STDCALL*)(const uint32_t* background, const uint32_t* source,
                                             uint32_t user);

// Cuts the source rectangle to the source's whole area (a negative source
// position moves the destination position the other way), then the
// destination rectangle to the destination's clip rectangle (moving the
// source position alike). False when nothing is left. Inline: every blit
// call starts here.
inline bool ClipBlitRects(const PixelView& src, const PixelView& dest, int32_t& dx, int32_t& dy,
                          int32_t& sx, int32_t& sy, int32_t& width, int32_t& height) {
  // 64-bit throughout: callers may pass any 32-bit values.
  int64_t x = dx, y = dy, u = sx, v = sy, w = width, h = height;
  if (u < 0) {
    x -= u;
    w += u;
    u = 0;
  }
  if (u + w > src.width) w = src.width - u;
  if (v < 0) {
    y -= v;
    h += v;
    v = 0;
  }
  if (v + h > src.height) h = src.height - v;
  if (x < dest.clipLeft) {
    u += dest.clipLeft - x;
    w -= dest.clipLeft - x;
    x = dest.clipLeft;
  }
  if (x + w > dest.clipRight) w = dest.clipRight - x;
  if (y < dest.clipTop) {
    v += dest.clipTop - y;
    h -= dest.clipTop - y;
    y = dest.clipTop;
  }
  if (y + h > dest.clipBottom) h = dest.clipBottom - y;
  if (w <= 0 || h <= 0) return false;
  dx = int32_t(x);
  dy = int32_t(y);
  sx = int32_t(u);
  sy = int32_t(v);
  width = int32_t(w);
  height = int32_t(h);
  return true;
}

// LibOk when the pixel routines a `Blit` from `src` to `dest` in this mode
// and effect needs are there; ErrNotSupported when a format lacks one (the
// 8-, 15- and 16-bit rows are not complete yet). A blit refused for this
// reason returns 0; a caller that keeps a last error can report this code.
LibError BlitRoutineStatus(const cSurfaceImpl& src, const cSurfaceImpl& dest, int32_t mode,
                           uint32_t effect);

// An ordinary surface of `src`'s format holding the rectangle (sx, sy, w, h)
// of `src` at (0, 0), alpha included: how the generic code reads a source
// kept in the run-length form. Null when it cannot be made.
cSurfaceImpl* MakePlainCopy(cSurfaceImpl& src, int32_t sx, int32_t sy, int32_t width,
                            int32_t height);

// An 8-bit view of a surface's alpha plane (firstRow null when it has none),
// with the plane's size as clip and key 0.
PixelView AlphaPlaneView(const PixelView& view);

// Copies the alpha rectangle at (sx, sy) of `src` to (dx, dy) of `dest`,
// giving `dest` a plane first when it has none. False when that fails.
bool CopyAlphaRect(cSurfaceImpl& src, cSurfaceImpl& dest, int32_t dx, int32_t dy, int32_t sx,
                   int32_t sy, int32_t width, int32_t height);

// Builds the inverse colour table of an 8-bit surface's palette; true for
// other depths. False at 8 bits without a palette or when the table cannot
// be built.
bool InverseTableReady(const cSurfaceImpl& surface);
