// The BMP and animation test plug-ins built into a native program (their
// sources compiled with the entry points renamed Bmp... and Anim..., see the
// runtime's and the fuzzers' CMake files), registered as built-in records.
#pragma once

#include "plugin/cImagePluginRegistry.h"

extern "C" {
void* BmpCreateFilter(uintptr_t);
const char* BmpGetFilterName();
uint32_t BmpGetFilterID();
int32_t BmpCanReadFile(cByteSource*);
void* AnimCreateFilter(uintptr_t);
const char* AnimGetFilterName();
uint32_t AnimGetFilterID();
int32_t AnimCanReadFile(cByteSource*);
}

// Gives the registry an empty list and the two plug-ins, BMP first.
inline bool AddBuiltInTestPlugins(cImagePluginRegistry& registry) {
  registry.LoadWith(SystemPlugins(), "", "", 0);
  PluginRecord bmp{};
  bmp.createFilter = reinterpret_cast<CreateFilterFn>(BmpCreateFilter);
  bmp.getFilterName = BmpGetFilterName;
  bmp.getFilterId = BmpGetFilterID;
  bmp.canReadFile = BmpCanReadFile;
  PluginRecord anim = bmp;
  anim.createFilter = reinterpret_cast<CreateFilterFn>(AnimCreateFilter);
  anim.getFilterName = AnimGetFilterName;
  anim.getFilterId = AnimGetFilterID;
  anim.canReadFile = AnimCanReadFile;
  return registry.InsertBuiltIn(0, bmp) && registry.InsertBuiltIn(1, anim);
}
