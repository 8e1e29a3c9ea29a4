// What a C++ sound plug-in needs beside Ombrel.dll's exports to derive from
// the decoder base: the base's table of slots, emitted here by defining its
// first out-of-line slot, whose body forwards to the library's export (found
// by name at run time: importing it would clash with this definition).
#include <windows.h>

#include "sound/cSoundDecoder.h"

void cSoundDecoder::SetOutputFormat(const SoundFormat* format) {
  using Fn = void(__attribute__((thiscall)) *)(cSoundDecoder*, const SoundFormat*);
  static const Fn library = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("Ombrel.dll"), "cSoundDecoder_SetOutputFormat")));
  if (library) library(this, format);
}
