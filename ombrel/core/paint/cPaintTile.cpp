#include "paint/cPaintTile.h"

#include <algorithm>

#include "ExportedTable.h"
#include "paint/PaintArea.h"
#include "paint/PaintColour.h"
#include "surface/SurfaceHandle.h"

OMB_EXPORT_VFTABLE(cPaintTile, "_ZTV10cPaintTile")

// The fields sit where callers built with another compiler expect them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
OMB_PIN_OFFSET(cPaintTile, pattern, 4);
OMB_PIN_OFFSET(cPaintTile, offsetX, 8);
OMB_PIN_OFFSET(cPaintTile, offsetY, 12);
#pragma GCC diagnostic pop

namespace {
// The remainder in 0..m-1 also for negative values.
int64_t FloorMod(int64_t v, int64_t m) {
  const int64_t r = v % m;
  return r < 0 ? r + m : r;
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
  const uint32_t previous = PackOrigin(offsetX, offsetY);
  offsetX = x;
  offsetY = y;
  return previous;
}

int32_t cPaintTile::Fill(cSurfaceHandle* surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                         int32_t) {
  if (surface == nullptr || pattern == nullptr) return 0;
  const int32_t w = pattern->GetWidth(), h = pattern->GetHeight();
  if (w <= 0 || h <= 0) return 0;
  // Only the visible part is tiled (the blits would cut the rest anyway).
  SurfaceRect r{};
  if (!VisiblePart(*surface, x1, y1, x2, y2, &r)) return 1;
  const int32_t sx0 = int32_t(FloorMod(int64_t(r.left) + offsetX, w));
  int32_t sy = int32_t(FloorMod(int64_t(r.top) + offsetY, h));
  for (int32_t y = r.top; y < r.bottom; sy = 0) {
    const int32_t rows = std::min(h - sy, r.bottom - y);
    int32_t sx = sx0;
    for (int32_t x = r.left; x < r.right; sx = 0) {
      const int32_t columns = std::min(w - sx, r.right - x);
      pattern->Blit(surface, x, y, sx, sy, columns, rows, BlitOpaque, 0, 0, 0);
      x += columns;
    }
    y += rows;
  }
  return 1;
}

void cPaintTile::SetPattern(cSurfaceHandle* p) { pattern = p; }
