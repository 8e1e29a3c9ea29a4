// A paint that tiles a pattern surface. The pattern handle is not owned:
// the caller keeps it alive while the paint may draw.
#pragma once

#include "paint/cPaintBase.h"

class cPaintTile : public cPaintBase {
 public:
  cPaintTile(cSurfaceHandle* pattern, int32_t offsetX, int32_t offsetY);
  cPaintTile(const cPaintTile&) = default;
  cPaintTile& operator=(const cPaintTile& other);

  // Stores the offsets.
  uint32_t SetOrigin(int32_t x, int32_t y) override OMB_EXPORT_AS(cPaintTile_SetOrigin);
  // Surface pixel (x, y) shows pattern pixel ((x + offset x) mod W,
  // (y + offset y) mod H), remainders floored into 0..W-1 and 0..H-1, drawn
  // with plain blits. 0 without a pattern or with an empty one.
  int32_t Fill(cSurfaceHandle* surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
               int32_t shape) override OMB_EXPORT_AS(cPaintTile_Fill);

  void SetPattern(cSurfaceHandle* pattern) OMB_EXPORT_AS(cPaintTile_SetPattern);

  cSurfaceHandle* pattern;
  int32_t offsetX;
  int32_t offsetY;
};
OMB_PIN_SIZE(cPaintTile, 16);
