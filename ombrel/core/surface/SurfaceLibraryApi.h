// The surface library's start-up, shut-down and prototype look-up as the
// library's exported edge has them. Free of class definitions so that the
// entry point can include it next to the system headers.
#pragma once

#include <cstdint>
#include <mutex>

#include "OmbrelApi.h"

class cSurfaceHandle;
class cSurfaceImpl;

// Counted: the first call builds the prototype set, later ones only count.
// Each call also starts the calling thread's palette context.
OMB_FLAT void OMB_STDCALL SurfaceLibraryInit();
// The call that matches the first start-up destroys the prototype set; a
// call without a matching start-up does nothing.
OMB_FLAT void OMB_STDCALL SurfaceLibraryExit();
// Sets *out to the prototype for a depth in bits (rounded up to 8, 15, 16, 24
// or 32), a `SurfaceType` and an option (0 plain, 2 DirectDraw when usable,
// other values the own-DC DIB). True when a prototype was found and its depth
// equals the depth asked; a type outside 0..3 leaves *out null; 0 for a null out.
OMB_FLAT int32_t OMB_STDCALL GetSurfacePrototype(cSurfaceHandle** out, int32_t depth,
                                                 int32_t type, int32_t option);

// The own-DC DIB prototype of a depth (whatever GetSurfacePrototype reports).
cSurfaceHandle* GetOwnDCPrototype(int32_t depth);
// While DirectDraw holds the full screen, a surface for its back buffer; else null.
cSurfaceImpl* MakeScreenBackBuffer();
// Start-up calls not yet matched by SurfaceLibraryExit.
int32_t SurfaceLibraryUsers();
// The library lock: start-up and shut-down, and the per-thread DirectDraw registry.
std::recursive_mutex& SurfaceLibraryLock();
