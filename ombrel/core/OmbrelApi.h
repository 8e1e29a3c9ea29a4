// Calling conventions and export naming at the library's exported edge.
// See docs/ABI.md: flat functions are __stdcall, members thiscall (GCC's
// default on i686), and exported members carry a plain assembler name so the
// ordinal table can bind them without C++ mangling.
#pragma once

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define OMB_I686 1
#define OMB_STDCALL __stdcall
// i686 Windows symbols carry a leading underscore; the .def names omit it.
#define OMB_EXPORT_AS(name) asm("_" #name)
#else
#define OMB_I686 0
#define OMB_STDCALL
#define OMB_EXPORT_AS(name)
#endif

// Declares a flat (C ABI, __stdcall) function of the library.
#define OMB_FLAT extern "C"

// Layout pins apply to the 32-bit Windows build only; the native build of the
// portable code has 8-byte pointers.
#if OMB_I686
#define OMB_PIN_SIZE(type, bytes) static_assert(sizeof(type) == (bytes), #type " layout")
#define OMB_PIN_OFFSET(type, field, off) \
  static_assert(offsetof(type, field) == (off), #type "::" #field " offset")
#else
#define OMB_PIN_SIZE(type, bytes) static_assert(true, "")
#define OMB_PIN_OFFSET(type, field, off) static_assert(true, "")
#endif

// A flat function whose name a Windows header also declares with other
// parameters (HeapLock, HeapUnlock, HeapCompact): it is declared as a C++
// overload, without OMB_FLAT, and given its stdcall linker name explicitly,
// e.g. `int OMB_STDCALL HeapLock() OMB_FLAT_SYMBOL("HeapLock@0");`.
#if OMB_I686
#define OMB_FLAT_SYMBOL(sym) asm("_" sym)
#else
#define OMB_FLAT_SYMBOL(sym)
#endif
