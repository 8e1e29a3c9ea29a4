// The library's one nearest-colour rule.
#pragma once

#include <cstdint>

#include "palette/PaletteTypes.h"

// Index of the entry nearest to `colour` (0x00BBGGRR) by squared distance
// over red, green and blue; ties go to the later entry, the first exact
// match wins. Over 256 entries entry 0 (the transparent index) answers only
// black and is left out of every other search. A count below 1 gives 0.
int NearestPaletteEntry(const PaletteEntry* entries, int count, uint32_t colour);
