// Rules of the text paths that do not need the platform.
#pragma once

#include <cstdint>

// The key colour of the effect path: the text colour with its 24 bits
// inverted; for DrawText a text colour of 0 uses 8.
uint32_t TextKeyColour(uint32_t colour, bool forDrawText);
