#include <windows.h>

#include "palette/PaletteHandle.h"

static_assert(sizeof(PALETTEENTRY) == sizeof(PaletteEntry), "entry layout");

void* CreateSystemPalette(const LogPalette& log) {
  // LOGPALETTE declares one entry; the record is laid out with room for 256.
  return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&log));
}

void DeleteSystemPalette(void* handle) {
  if (handle != nullptr) DeleteObject(static_cast<HPALETTE>(handle));
}
