// Windows are not built yet: an app has no windows to destroy or re-format.
#include "app/AppHooks.h"

OMB_FLAT void OMB_STDCALL WindowDestroy(WindowObject*) {}
void WindowFollowAppDepth(WindowObject*, uint16_t) {}
