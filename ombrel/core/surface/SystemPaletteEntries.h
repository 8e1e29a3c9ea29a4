// Reads the 256 entries of a system palette handle (Windows only).
#pragma once

#include "palette/PaletteTypes.h"

// Fills `out` (256 entries) from the handle; entries the handle does not
// have stay as they are. Returns the number read (0 natively or for null).
int32_t ReadSystemPaletteEntries(void* handle, PaletteEntry* out);
