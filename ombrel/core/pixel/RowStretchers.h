// Per-format row routines of the nearest-pixel stretch and the pixel scans,
// one entry per depth index (0..4: 8, 15, 16, 24, 32 bits).
#pragma once

#include <cstdint>

// Reads one pixel's native value and steps the address on by one pixel.
using ReadNextPixelFn = uint32_t (*)(const uint8_t*& src);
// Stretches srcCount pixels into destCount by the 16.16 step
// (destCount * 65536 / srcCount, rounded down). Every destination pixel is
// written.
using StretchRowFn = void (*)(const uint8_t* src, uint8_t* dest, int32_t destCount,
                              int32_t srcCount, uint32_t step);
// As StretchRowFn, starting from accumulator `acc` with the first output at
// destination x `destX` (dest addresses that pixel); writes only the
// positions with start <= x < end and stops at end.
using StretchRowClippedFn = void (*)(const uint8_t* src, uint8_t* dest, int32_t destCount,
                                     int32_t srcCount, uint32_t step, uint32_t acc,
                                     int32_t destX, int32_t start, int32_t end);

struct RowStretchers {
  ReadNextPixelFn readNextPixel[5];
  StretchRowFn stretchRow[5];
  StretchRowClippedFn stretchRowClipped[5];
};

const RowStretchers& GetRowStretchers();
