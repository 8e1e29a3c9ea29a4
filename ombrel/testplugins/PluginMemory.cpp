// The library's MemAlloc and MemFree for a C++ plug-in, under the decorated
// names the headers declare, called through the import entries of their
// plain export names.
#include <cstdint>

#include "Memory.h"

extern "C" void* const OmbrelMemAllocEntry asm("__imp__MemAlloc");
extern "C" void* const OmbrelMemFreeEntry asm("__imp__MemFree");

OMB_FLAT int OMB_STDCALL MemAlloc(uint32_t size, void** out) {
  return reinterpret_cast<int(OMB_STDCALL*)(uint32_t, void**)>(OmbrelMemAllocEntry)(size, out);
}

OMB_FLAT void OMB_STDCALL MemFree(void** block) {
  reinterpret_cast<void(OMB_STDCALL*)(void**)>(OmbrelMemFreeEntry)(block);
}
