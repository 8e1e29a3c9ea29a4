#include <windows.h>

#include "palette/DisplayPalette.h"

int ReadDisplayPalette(PaletteEntry (&out)[kPaletteEntries]) {
  HDC screen = ::GetDC(nullptr);
  if (screen == nullptr) return 0;
  int colours = 0;
  if (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) {
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    colours = bits >= 1 && bits < 16 ? (1 << bits) & 0xFFFF : 0;
    if (colours == 16 || colours == 256) {
      if (GetSystemPaletteEntries(screen, 0, UINT(colours), reinterpret_cast<PALETTEENTRY*>(out)) !=
          UINT(colours))
        colours = 0;
    } else {
      colours = 0;
    }
  }
  ::ReleaseDC(nullptr, screen);
  return colours;
}
