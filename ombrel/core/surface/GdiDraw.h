// Small drawing helpers over a platform device context: a solid rectangle
// fill, and ellipses, polygons, rectangles and lines with a solid pen. Each
// makes its pen and brush, selects them, draws, puts the previous objects back
// and deletes what it made. Colours are 0x00BBGGRR (0x01000000 + n names
// palette index n). Where the platform has no device contexts they draw
// nothing and return 0.
//
// Pen and box rule of the ellipse and the rectangle: filled shapes take a
// solid brush of the fill colour (pen width 0: no pen at all), hollow ones no
// brush; the box shrinks so that a wide outline lies inside it: left + w / 2,
// top + w / 2, right - (w - 1) / 2, bottom - (w - 1) / 2 (width 0 and 1 keep
// the box). The polygon takes the same pen and brush without a box.
#pragma once

#include <cstdint>

#include "surface/SurfaceTypes.h"

// The box after the pen rule (exposed for the helpers' tests).
SurfaceRect GdiPenBox(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t penWidth);

// A rectangle (right and bottom exclusive) filled with one colour.
int32_t FillRectSolid(void* dc, const SurfaceRect* rect, uint32_t colour);
int32_t GdiEllipse(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   uint32_t fillColour, int32_t penWidth, uint32_t penColour, int32_t filled);
// `points` holds `count` pairs of 32-bit x, y.
int32_t GdiPolygon(void* dc, const int32_t* points, int32_t count, uint32_t fillColour,
                   int32_t penWidth, uint32_t penColour, int32_t filled);
int32_t GdiRectangle(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     uint32_t fillColour, int32_t penWidth, uint32_t penColour, int32_t filled);
// From (x1, y1) to (x2, y2) with a solid pen; the end point is not drawn.
int32_t GdiLine(void* dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t penWidth,
                uint32_t colour);
// Finishes drawing the platform may still hold back, before pixels drawn
// on a device context are read directly.
void FlushDrawing();
