// Row converters between pixel formats: for each source format a table of
// five converters indexed by the destination's depth index.
#pragma once

#include <cstdint>

class cPalette;

// Converts n pixels from src to dest. `palette`: for an 8-bit source the
// source's palette (its entries give the colours), for an 8-bit destination
// the destination's (colours become its nearest indices); unused otherwise.
using RowConverter = void (*)(const uint8_t* src, uint8_t* dest, int32_t n,
                              const cPalette* palette);

// The five converters of a source depth index (0..4: 8, 15, 16, 24, 32
// bits); null outside. The same-format entry does
// nothing (same-format copies use `Copy`).
const RowConverter* GetRowConverters(int32_t srcDepthIndex);
