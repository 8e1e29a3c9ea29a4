#include "palette/DisplayPalette.h"

// No palette displays outside Windows: the library's defaults stand.
int ReadDisplayPalette(PaletteEntry (&)[kPaletteEntries]) { return 0; }
