// The 1-bit mask tests that every collision test ends in: a point, a
// rectangle, and two masks at two positions. Masks are rows of 16-pixel
// columns (see MaskBitRows.h); only pixels inside the given widths count, so
// whatever lies in the padding at a row's end never collides.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

// 1 when (x, y) lies inside width x height and its bit is set.
OMB_FLAT int32_t OMB_STDCALL MaskBitsTestPoint(const uint8_t* bits, int32_t x, int32_t y, int32_t width,
                                               int32_t height);

// 1 when any pixel of [x, x + w) x [y, y + h), clipped to the mask, is set.
OMB_FLAT int32_t OMB_STDCALL MaskBitsTestRect(const uint8_t* bits, int32_t width, int32_t height, int32_t x,
                                              int32_t y, int32_t w, int32_t h);

// 1 when mask A placed at (xA, yA) and mask B placed at (xB, yB) have a set
// pixel at the same place.
OMB_FLAT int32_t OMB_STDCALL MaskBitsOverlap(const uint8_t* a, const uint8_t* b, int32_t xA, int32_t yA,
                                             int32_t wA, int32_t hA, int32_t xB, int32_t yB, int32_t wB,
                                             int32_t hB);

// The mask family's reserved entry: takes two arguments and does nothing.
OMB_FLAT void OMB_STDCALL MaskReserved(int32_t, int32_t);
