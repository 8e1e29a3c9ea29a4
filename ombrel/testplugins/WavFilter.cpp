// wav.sft: the sound decoder plug-in for RIFF/WAVE files (PCM, 8 or 16 bits,
// mono or stereo), a C++ plug-in built against the decoder base's header.
#include "StreamCalls.h"
#include "WavDecoder.h"

extern "C" {

PLUGIN_EXPORT int32_t PLUGIN_STDCALL CanReadFile(void* source) { return WavLooksLike(source); }
PLUGIN_EXPORT void* PLUGIN_STDCALL CreateFilter(uintptr_t) { return WavDecoder::New(); }
PLUGIN_EXPORT const char* PLUGIN_STDCALL GetFilterName(void) { return "WAV"; }
PLUGIN_EXPORT uint32_t PLUGIN_STDCALL GetFilterID(void) { return 0x20564157u; /* "WAV " */ }
static const char* const kExts[] = {"wav", nullptr};
PLUGIN_EXPORT const char* const* PLUGIN_STDCALL GetFilterExts(void) { return kExts; }

}  // extern "C"
