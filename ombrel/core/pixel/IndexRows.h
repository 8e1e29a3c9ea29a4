// 8-bit routines that other parts call directly: an index remap over a
// rectangle and the two 4-bit image forms widened to 8-bit indices.
#pragma once

#include <cstdint>

#include "pixel/PixelView.h"

// Every byte of the width x height rectangle at the view's top-left corner
// becomes table[byte] (256 bytes); rows `rowStep` bytes apart.
void RemapBytes(PixelView* view, int32_t rowStep, int32_t width, int32_t height,
                const uint8_t* table);

// A 4-bit pixel v becomes index v below 8 and v + 240 otherwise (the lower
// and upper static colours). With a mask (rows of the same layout after the
// pixel rows, bit 3 of each nibble): a set bit makes the pixel 0, a clear
// bit turns a pixel of 0 into `replacement`. Destination rows are
// (width + 1) & ~1 bytes; only the width's pixels are written.
// Both return 0 (writing nothing) for a size of 2^31 bytes or more or a
// width or height below 1, else 1.
//
// Packed: two pixels a byte, high nibble first, source rows of
// ((width + 3) & ~3) / 2 bytes.
int32_t Packed4To8(uint8_t* dest, const uint8_t* src, int32_t width, int32_t height,
                   int32_t hasMask, uint8_t replacement);
// Planar: four bit planes a row of ((width + 15) & ~15) / 8 bytes each,
// plane 0 first, most significant bit first; the mask one plane a row.
int32_t Planar4To8(uint8_t* dest, const uint8_t* src, int32_t width, int32_t height,
                   int32_t hasMask, uint8_t replacement);

// Bytes of the source of Packed4To8 / Planar4To8 (mask rows included), or 0
// when that is 2^31 or more or a side is below 1.
uint32_t Packed4SourceBytes(int32_t width, int32_t height, int32_t hasMask);
uint32_t Planar4SourceBytes(int32_t width, int32_t height, int32_t hasMask);
