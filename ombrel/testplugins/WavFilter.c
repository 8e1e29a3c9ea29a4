/* wav.sft: recognises RIFF/WAVE sound files. Its decoder object comes with
   the sound driver; until then CreateFilter makes none. */
#include <string.h>

#include "StreamCalls.h"

PLUGIN_EXPORT int32_t PLUGIN_STDCALL CanReadFile(void* source) {
  uint8_t h[12];
  if (SourceRead(source, h, 12) != 0) return 0;
  return memcmp(h, "RIFF", 4) == 0 && memcmp(h + 8, "WAVE", 4) == 0;
}
PLUGIN_EXPORT void* PLUGIN_STDCALL CreateFilter(uintptr_t user) { return NULL; }
PLUGIN_EXPORT const char* PLUGIN_STDCALL GetFilterName(void) { return "WAV"; }
PLUGIN_EXPORT uint32_t PLUGIN_STDCALL GetFilterID(void) { return 0x20564157u; /* "WAV " */ }
static const char* const kExts[] = {"wav", NULL};
PLUGIN_EXPORT const char* const* PLUGIN_STDCALL GetFilterExts(void) { return kExts; }
