// What a C++ image plug-in needs beside Ombrel.dll's exports to derive from
// the filter base: the base's table of slots, built here around one slot body
// of the plug-in's own, so the table lives in the plug-in (MemAlloc and
// MemFree come from PluginMemory.cpp).
#include <cstdint>

#include "image/cImageFilter.h"

// The first slot with a body out of line: where this module's copy of the
// table is emitted.
uint32_t cImageFilter::GetSupportedDepths() { return kAllDepths; }
