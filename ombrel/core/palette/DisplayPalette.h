// The display's own palette, read once per palette start-up on a display
// that works through a palette.
#pragma once

#include "palette/PaletteTypes.h"

// Number of colours of a palette display (16 or 256, with its entries in
// `out`), or 0 when the display has no palette.
int ReadDisplayPalette(PaletteEntry (&out)[kPaletteEntries]);
