// What a C++ plug-in needs beside Ombrel.dll's exports to derive from the
// filter base: the base's table of slots (built here, around one slot body
// of the plug-in's own, so the table lives in the plug-in) and the library's
// MemAlloc and MemFree under the decorated names the headers declare, called
// through the import entries of their plain export names.
#include <cstdint>

#include "image/cImageFilter.h"

extern "C" void* const OmbrelMemAllocEntry asm("__imp__MemAlloc");
extern "C" void* const OmbrelMemFreeEntry asm("__imp__MemFree");

OMB_FLAT int OMB_STDCALL MemAlloc(uint32_t size, void** out) {
  return reinterpret_cast<int(OMB_STDCALL*)(uint32_t, void**)>(OmbrelMemAllocEntry)(size, out);
}

OMB_FLAT void OMB_STDCALL MemFree(void** block) {
  reinterpret_cast<void(OMB_STDCALL*)(void**)>(OmbrelMemFreeEntry)(block);
}

// The first slot with a body out of line: where this module's copy of the
// table is emitted.
uint32_t cImageFilter::GetSupportedDepths() { return kAllDepths; }
