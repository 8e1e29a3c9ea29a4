// Exports a class's table of virtual operations as data: the exported symbol
// `<class>_vftable` is the address of slot 0 (GCC's vtable symbol points two
// words earlier, at the offset-to-top and type-info words). Placed in the
// class's own source file, where the table is emitted.
#pragma once

#include "OmbrelApi.h"

#if OMB_I686
#define OMB_EXPORT_VFTABLE(cls, vtableSymbol) \
  asm(".globl _" #cls "_vftable\n\t.set _" #cls "_vftable, _" vtableSymbol "+8");
#else
#define OMB_EXPORT_VFTABLE(cls, vtableSymbol)
#endif
