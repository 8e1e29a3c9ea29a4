// Row converters between pixel formats: for each source format a table of
// five converters indexed by the destination's depth index.
#pragma once

#include <cstdint>

class cPalette;

// Converts n pixels from src to dest; `palette` is the destination's palette
// for 8-bit destinations and unused otherwise.
using RowConverter = void (*)(const uint8_t* src, uint8_t* dest, int32_t n,
                              const cPalette* palette);

// The five converters of a source depth index (1: 15, 2: 16, 3: 24, 4: 32 bits);
// null for a source format without converters. The same-format entry does
// nothing (same-format copies use `Copy`).
const RowConverter* GetRowConverters(int32_t srcDepthIndex);
