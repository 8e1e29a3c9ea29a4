#include "window/ScreenModes.h"

// No display natively.
int32_t DisplayBitsPerPixel() { return 0; }
