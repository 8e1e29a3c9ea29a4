// The system palette handle behind a palette: made from its entries on the
// Windows build, absent (null) natively.
#pragma once

#include "palette/PaletteTypes.h"

// A new system palette of the 256 entries; null when none can be made.
void* CreateSystemPalette(const LogPalette& log);
void DeleteSystemPalette(void* handle);
