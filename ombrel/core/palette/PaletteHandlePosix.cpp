#include "palette/PaletteHandle.h"

// No system palettes outside Windows: callers see a null handle.
void* CreateSystemPalette(const LogPalette&) { return nullptr; }
void DeleteSystemPalette(void*) {}
