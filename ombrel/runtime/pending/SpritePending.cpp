// Sprites and window masks are not built yet: a window has none to free.
#include "app/AppHooks.h"

OMB_FLAT void OMB_STDCALL WindowDeleteSprites(WindowObject*) {}
OMB_FLAT void OMB_STDCALL MaskFree(WindowObject*) {}
