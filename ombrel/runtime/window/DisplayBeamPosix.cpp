// No display natively: nothing paces presents.
#include "window/DisplayBeam.h"
#include "window/WindowAppLink.h"

bool DisplayBeamUsable() { return false; }
bool PaceOnThreadBeam(int32_t, uint32_t*) { return false; }
