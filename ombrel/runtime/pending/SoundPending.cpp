// Sound is not built yet: an app has nothing playing to stop.
#include "app/AppHooks.h"

OMB_FLAT int32_t OMB_STDCALL SoundStop(AppObject*, int32_t, const void*) { return 0; }
