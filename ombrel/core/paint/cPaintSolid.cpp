#include "paint/cPaintSolid.h"

#include "ExportedTable.h"
#include "paint/PaintArea.h"
#include "paint/PaintColour.h"
#include "surface/SurfaceHandle.h"

OMB_EXPORT_VFTABLE(cPaintSolid, "_ZTV11cPaintSolid")

// The fields sit where callers built with another compiler expect them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
OMB_PIN_OFFSET(cPaintSolid, colour, 4);
#pragma GCC diagnostic pop

cPaintSolid::cPaintSolid(uint32_t c) : colour(NonBlack(c)) {}

cPaintSolid& cPaintSolid::operator=(const cPaintSolid& other) {
  colour = other.colour;
  return *this;
}

int32_t cPaintSolid::Fill(cSurfaceHandle* surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                          int32_t shape) {
  if (surface == nullptr) return 0;
  SurfaceRect r{};
  if (VisiblePart(*surface, x1, y1, x2, y2, &r))
    surface->FillRect(r.left, r.top, r.right - r.left, r.bottom - r.top, shape ? NonBlack(colour) : colour);
  return 1;
}

uint32_t cPaintSolid::SetColour(uint32_t c) { return colour = c; }

uint32_t cPaintSolid::GetColour() const { return colour; }
