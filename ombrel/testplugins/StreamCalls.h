/* Plain-C calls into the library's stream objects through their tables by
   slot number, as a plug-in built by any compiler makes them (thiscall on
   i686). Sources: 2 ReadCount, 3 Read, 17 Tell, 18 GetSize, 19 Seek. Sinks: 1 Write,
   4 Tell, 5 Seek. */
#ifndef OMBREL_TESTPLUGINS_STREAMCALLS_H
#define OMBREL_TESTPLUGINS_STREAMCALLS_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define PLUGIN_THISCALL __attribute__((thiscall))
#define PLUGIN_STDCALL __stdcall
#define PLUGIN_EXPORT __declspec(dllexport)
#else
#define PLUGIN_THISCALL
#define PLUGIN_STDCALL
#define PLUGIN_EXPORT
#endif

static inline void* StreamSlot(void* object, int slot) { return (*(void***)object)[slot]; }

static inline uint32_t SourceReadCount(void* source, void* buffer, uint32_t n, uint32_t* count) {
  return ((uint32_t(PLUGIN_THISCALL*)(void*, void*, uint32_t, uint32_t*))StreamSlot(source, 2))(source, buffer, n,
                                                                                               count);
}
static inline uint32_t SourceRead(void* source, void* buffer, uint32_t n) {
  return ((uint32_t(PLUGIN_THISCALL*)(void*, void*, uint32_t))StreamSlot(source, 3))(source, buffer, n);
}
static inline uint32_t SourceTell(void* source) {
  return ((uint32_t(PLUGIN_THISCALL*)(void*))StreamSlot(source, 17))(source);
}
static inline uint32_t SourceSeek(void* source, int32_t offset, uint32_t origin) {
  return ((uint32_t(PLUGIN_THISCALL*)(void*, int32_t, uint32_t))StreamSlot(source, 19))(source, offset, origin);
}
static inline uint32_t SinkWrite(void* sink, const void* buffer, uint32_t n) {
  return ((uint32_t(PLUGIN_THISCALL*)(void*, const void*, uint32_t))StreamSlot(sink, 1))(sink, buffer, n);
}
static inline uint32_t SinkTell(void* sink) { return ((uint32_t(PLUGIN_THISCALL*)(void*))StreamSlot(sink, 4))(sink); }
static inline uint32_t SinkSeek(void* sink, int32_t offset, uint32_t origin) {
  return ((uint32_t(PLUGIN_THISCALL*)(void*, int32_t, uint32_t))StreamSlot(sink, 5))(sink, offset, origin);
}

#endif
