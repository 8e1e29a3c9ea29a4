// Constructors of the exported classes as the MSVC object model has them:
// thiscall, building the object in the caller's storage and returning `this`
// in EAX (GCC's own constructors return nothing, so callers compiled with
// MSVC would read a stale register). The ordinal table binds these.
#include <new>

#include "HandleList.h"
#include "PtrVector.h"
#include "surface/SurfaceHandle.h"

#define OMB_CTOR(cls)                                                              \
  extern "C" cls* __attribute__((thiscall)) cls##_ctor(cls* self) asm("_" #cls "_ctor"); \
  extern "C" cls* __attribute__((thiscall)) cls##_ctor(cls* self) { return self ? new (self) cls() : nullptr; }

OMB_CTOR(cHandleList)
OMB_CTOR(cPtrVector)
OMB_CTOR(cSurfaceHandle)
