// No device contexts outside Windows: nothing to clip or restore.
#include "surface/SurfaceHandle.h"

void* cSurfaceHandle::SetupClipRegion(void*) { return nullptr; }

void cSurfaceHandle::RestoreClipRegion(void*, void*) {}
