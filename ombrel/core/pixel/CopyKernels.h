// Format-independent rectangle kernels of the software surfaces. They never
// clip, lock or allocate: rectangles lie inside the views.
#pragma once

#include <cstdint>

#include "pixel/PixelView.h"

struct PixelRect {
  int32_t left;
  int32_t top;
  int32_t right;   // exclusive
  int32_t bottom;  // exclusive
};

// Copies rowCount rows of rowBytes bytes; after each row the addresses move
// on by rowBytes plus their advance (pitch - rowBytes). Backward: src and
// dest point one past the end of the first row to copy and the rows are
// walked upwards (each row's start minus the advance and row bytes).
void CopyRows(const uint8_t* src, uint8_t* dest, uint32_t rowBytes, int32_t srcAdvance,
              int32_t destAdvance, int32_t rowCount, bool backward);

// Opaque copy between two views of one format (slot 5 `Copy`); the
// rectangles must not overlap in memory.
void PixelOpsCopy(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                  int32_t sy, int32_t width, int32_t height);

// Moves a rectangle inside one view; overlapping rectangles are safe.
void CopyRectOverlapSafe(PixelView* view, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                         int32_t width, int32_t height);

// Exchanges rows y + i and y + height - 1 - i of the rectangle starting at
// column x; rowBytes bytes per row. `unused` is kept for the slot's shape.
void FlipRowsVertical(PixelView* view, int32_t x, int32_t y, int32_t rowStep, int32_t unused,
                      int32_t height, uint32_t rowBytes);

// 1 when every pixel equals the key (transparent value), else 0.
int32_t IsUniformColour(const PixelView* view);

// Box of the pixels that differ from the key; 0 for an empty view. A view
// whose pixels all equal the key gives (width - 1, height - 1, 1, 1).
int32_t FindContentBounds(const PixelView* view, PixelRect* out);

// Stores `value` (the view's bytes per pixel of it, little-endian) in every
// pixel of the rectangle, a 32-bit pixel's fourth byte included.
void FillRectStored(PixelView* view, int32_t x, int32_t y, int32_t width, int32_t height,
                    uint32_t value);

// Nearest-pixel stretch of (sx, sy, sw, sh) of src onto (dx, dy, dw, dh) of
// dest; both of one format.
void StretchRectNearest(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                        int32_t sy, int32_t dw, int32_t dh, int32_t sw, int32_t sh);
// The same, writing only inside the destination's clip rectangle.
void StretchRectNearestClipped(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src,
                               int32_t sx, int32_t sy, int32_t dw, int32_t dh, int32_t sw,
                               int32_t sh);
