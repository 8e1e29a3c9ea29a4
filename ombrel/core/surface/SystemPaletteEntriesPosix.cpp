#include "surface/SystemPaletteEntries.h"

// No system palettes outside Windows (see CreateSystemPalette).
int32_t ReadSystemPaletteEntries(void*, PaletteEntry*) { return 0; }
