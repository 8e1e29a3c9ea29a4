// Per-format row routines of the nearest-pixel stretch and the pixel scans,
// one entry per depth index (0..4: 8, 15, 16, 24, 32 bits). The row stretch
// is the accumulator walk that defines the nearest-pixel stretch; the
// rectangle stretch (StretchRect.cpp) gives its pixels from a closed form.
#pragma once

#include <cstdint>

// Reads one pixel's native value and steps the address on by one pixel.
using ReadNextPixelFn = uint32_t (*)(const uint8_t*& src);
// Stretches srcCount pixels into destCount by the 16.16 step
// (destCount * 65536 / srcCount, rounded down). Every destination pixel is
// written.
using StretchRowFn = void (*)(const uint8_t* src, uint8_t* dest, int32_t destCount,
                              int32_t srcCount, uint32_t step);
struct RowStretchers {
  ReadNextPixelFn readNextPixel[5];
  StretchRowFn stretchRow[5];
};

const RowStretchers& GetRowStretchers();
