#include <windows.h>

#include "surface/SystemPaletteEntries.h"

int32_t ReadSystemPaletteEntries(void* handle, PaletteEntry* out) {
  if (handle == nullptr || out == nullptr) return 0;
  return int32_t(GetPaletteEntries(static_cast<HPALETTE>(handle), 0, kPaletteEntries,
                                   reinterpret_cast<PALETTEENTRY*>(out)));
}
