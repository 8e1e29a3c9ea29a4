// The scan-line seed fill of the surface handle, in implementation
// coordinates, over the stored pixels (locked once).
#pragma once

#include <cstdint>

#include "LibError.h"
#include "surface/cSurfaceImpl.h"

struct FloodFillBox {
  int32_t left, top, right, bottom;  // inclusive while filling
};

// Fills, in `target` (the surface itself or a same-sized stand-in), every
// pixel connected to (x, y) through pixels of `surface` whose red, green and
// blue each differ from the seed's by at most `tolerance` and that are
// inside `surface`'s clip rectangle. `colour` is what the surface stores
// (already reduced); `index` its 8-bit value. Segments live on a growable
// stack. LibOk; ErrInvalidData when the seed is outside the clip or already
// the colour; ErrOutOfMemory when the stack cannot grow.
LibError ScanLineFill(cSurfaceImpl& surface, cSurfaceImpl& target, int32_t x, int32_t y,
                      uint32_t colour, uint8_t index, int32_t tolerance, FloodFillBox* box);
