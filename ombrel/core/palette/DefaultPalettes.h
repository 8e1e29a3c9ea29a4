// The library's default palettes per depth code and the twenty static
// colours of a 256-colour display.
#pragma once

#include <cstdint>

#include "palette/PaletteTypes.h"

// Entries 0-9 and 246-255 of a 256-colour palette belong to the display.
constexpr int kLowerStaticCount = 10;
constexpr int kUpperStaticFirst = 246;

// The library's default palette of a depth code without an application
// palette (code 1: 2 entries, codes 2 and 5: 16, code 3: 256); null for the
// true-colour codes and for codes outside 0..8. The 256-entry palette is
// process-wide and can be changed by PaletteCreateFromDIB and
// ApplySystemStaticColours; read it under PaletteLock().
LogPalette* DefaultLogPalette(int32_t depthCode);
LogPalette& DefaultPalette256();

// Puts the display's entries into the defaults (flags cleared): 16 entries
// for a 16-colour display, or the twenty static ones for a 256-colour one.
// Callers hold PaletteLock().
void ApplySystemColours16(const PaletteEntry* first16);
void ApplySystemStaticColours(const PaletteEntry* lower10, const PaletteEntry* upper10);
