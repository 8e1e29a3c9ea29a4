// A sound registry for the sound tests whose plug-in is wav.sft's decoder
// compiled into the test program, and the WAV files they play.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "WavBytes.h"
#include "WavDecoder.h"
#include "plugin/cSoundPluginRegistry.h"
#include "sound/SoundFormat.h"

inline void* OMB_STDCALL TestWavCreate(PluginUser) { return WavDecoder::New(); }
inline int32_t OMB_STDCALL TestWavCanRead(cByteSource* source) { return WavLooksLike(source); }
inline const char* OMB_STDCALL TestWavName() { return "WAV"; }

// Gives a sound registry an empty list and the WAV decoder record (plus any
// records given first).
inline bool AddWavDecoder(cSoundPluginRegistry& registry) {
  if (!registry.HasList()) registry.LoadWith(SystemPlugins(), "", "", 0);
  PluginRecord wav{};
  wav.createFilter = TestWavCreate;
  wav.canReadFile = TestWavCanRead;
  wav.getFilterName = TestWavName;
  return registry.InsertBuiltIn(registry.GetCount(), wav);
}
