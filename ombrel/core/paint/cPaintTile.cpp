#include "paint/cPaintTile.h"

#include <algorithm>
#include <cstring>

#include "ExportedTable.h"
#include "paint/PaintArea.h"
#include "paint/PaintColour.h"
#include "pixel/CopyKernels.h"
#include "surface/SurfaceAccess.h"
#include "surface/SurfaceHandle.h"
#include "surface/cSurfaceImpl.h"

OMB_EXPORT_VFTABLE(cPaintTile, "_ZTV10cPaintTile")

// The fields sit where callers built with another compiler expect them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
OMB_PIN_OFFSET(cPaintTile, pattern, 4);
OMB_PIN_OFFSET(cPaintTile, offsetX, 8);
OMB_PIN_OFFSET(cPaintTile, offsetY, 12);
#pragma GCC diagnostic pop

namespace {

// Small patterns are first repeated into a copy of at least this many pixels
// a side, so a fill takes few blits (a 1 x 1 pattern would take one a pixel).
constexpr int32_t kWideTile = 64;

// The remainder in 0..m-1 also for negative values.
int64_t FloorMod(int64_t v, int64_t m) {
  const int64_t r = v % m;
  return r < 0 ? r + m : r;
}

// `source` (w x h) repeated over r with plain blits, starting at source
// point (sx0, sy0).
void TileBlits(cSurfaceHandle& source, int32_t w, int32_t h, cSurfaceHandle& surface,
               const SurfaceRect& r, int32_t sx0, int32_t sy0) {
  int32_t sy = sy0;
  for (int32_t y = r.top; y < r.bottom; sy = 0) {
    const int32_t rows = std::min(h - sy, r.bottom - y);
    int32_t sx = sx0;
    for (int32_t x = r.left; x < r.right; sx = 0) {
      const int32_t columns = std::min(w - sx, r.right - x);
      source.Blit(&surface, x, y, sx, sy, columns, rows, BlitOpaque, 0, 0, 0);
      x += columns;
    }
    y += rows;
  }
}

// A copy of the pattern repeated to a whole number of periods, at least
// kWideTile a side, by doubling; false (nothing made) for patterns whose
// copies could draw differently (an origin, an alpha channel, compressed
// rows) or when the copy cannot be made.
bool Widen(cSurfaceHandle& pattern, int32_t w, int32_t h, cSurfaceHandle* wide, int32_t* wideW,
           int32_t* wideH) {
  if (pattern.originX != 0 || pattern.originY != 0 || pattern.HasAlpha() ||
      cSurfaceHandle::GetImpl(&pattern)->IsCompressed())
    return false;
  int32_t ww = w, hh = h;
  while (ww < kWideTile) ww *= 2;
  while (hh < kWideTile) hh *= 2;
  if (wide->Create(ww, hh, &pattern) == nullptr) return false;
  pattern.Blit(wide, 0, 0, 0, 0, w, h, BlitOpaque, 0, 0, 0);
  for (int32_t done = w; done < ww; done *= 2) wide->MoveRect(done, 0, 0, 0, done, h);
  for (int32_t done = h; done < hh; done *= 2) wide->MoveRect(0, done, 0, 0, ww, done);
  *wideW = ww;
  *wideH = hh;
  return true;
}

// A 1 x 1 pattern drawn by blits stores its pixel's bytes over the whole
// part: that is one fill of the stored value, when both surfaces have pixels
// of one depth and no blit rule of the pattern (origin, alpha, compressed
// rows) applies. False (nothing drawn) otherwise. r is in the surface
// handle's coordinates, inside its clip.
bool FillWithThePixel(cSurfaceHandle& pattern, cSurfaceHandle& surface, const SurfaceRect& r) {
  cSurfaceImpl* from = cSurfaceHandle::GetImpl(&pattern);
  cSurfaceImpl* to = cSurfaceHandle::GetImpl(&surface);
  if (pattern.originX != 0 || pattern.originY != 0 || pattern.HasAlpha() || from->IsCompressed() ||
      from->IsDCOnly() || to->IsCompressed() || to->IsDCOnly() || from->view.depth != to->view.depth ||
      from->view.bytesPerPixel != to->view.bytesPerPixel)
    return false;
  uint32_t value = 0;
  {
    SurfaceAccess access(*from);
    if (!access.ok()) return false;
    std::memcpy(&value, from->view.firstRow, size_t(from->view.bytesPerPixel));
  }
  SurfaceAccess access(*to);
  if (!access.ok()) return true;  // as the blits, which fail on the lock alike
  PixelView& v = to->view;
  // Handle to implementation coordinates as the blits take them, kept inside
  // the implementation's clip.
  const int64_t left = std::max<int64_t>(int32_t(uint32_t(r.left) - uint32_t(surface.originX)), v.clipLeft);
  const int64_t top = std::max<int64_t>(int32_t(uint32_t(r.top) - uint32_t(surface.originY)), v.clipTop);
  const int64_t right = std::min<int64_t>(left + (int64_t(r.right) - r.left), v.clipRight);
  const int64_t bottom = std::min<int64_t>(top + (int64_t(r.bottom) - r.top), v.clipBottom);
  if (left < right && top < bottom)
    FillRectStored(&v, int32_t(left), int32_t(top), int32_t(right - left), int32_t(bottom - top), value);
  return true;
}

}  // namespace

cPaintTile::cPaintTile(cSurfaceHandle* p, int32_t ox, int32_t oy) : pattern(p), offsetX(ox), offsetY(oy) {}

cPaintTile& cPaintTile::operator=(const cPaintTile& other) {
  pattern = other.pattern;
  offsetX = other.offsetX;
  offsetY = other.offsetY;
  return *this;
}

uint32_t cPaintTile::SetOrigin(int32_t x, int32_t y) {
  return ExchangeOrigin(&offsetX, &offsetY, x, y);
}

int32_t cPaintTile::Fill(cSurfaceHandle* surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                         int32_t) {
  if (surface == nullptr || pattern == nullptr) return 0;
  const int32_t w = pattern->GetWidth(), h = pattern->GetHeight();
  if (w <= 0 || h <= 0) return 0;
  // Only the visible part is tiled (the blits would cut the rest anyway).
  SurfaceRect r{};
  if (!VisiblePart(*surface, x1, y1, x2, y2, &r)) return 1;
  if (w == 1 && h == 1 && FillWithThePixel(*pattern, *surface, r)) return 1;
  cSurfaceHandle wide;
  cSurfaceHandle* source = pattern;
  int32_t sw = w, sh = h;
  if ((w < kWideTile || h < kWideTile) && Widen(*pattern, w, h, &wide, &sw, &sh)) source = &wide;
  TileBlits(*source, sw, sh, *surface, r, int32_t(FloorMod(int64_t(r.left) + offsetX, sw)),
            int32_t(FloorMod(int64_t(r.top) + offsetY, sh)));
  return 1;
}

void cPaintTile::SetPattern(cSurfaceHandle* p) { pattern = p; }
