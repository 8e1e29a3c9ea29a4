// One loaded plug-in library and its seven entry points (all __stdcall,
// looked up by their plain names), and the growable list of records a
// registry keeps in ascending priority order.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

class cByteSource;

// The value a registry hands to every CreateFilter call.
using PluginUser = uintptr_t;

using CreateFilterFn = void*(OMB_STDCALL*)(PluginUser user);
using GetFilterNameFn = const char*(OMB_STDCALL*)();
using GetFilterIdFn = uint32_t(OMB_STDCALL*)();
using GetFilterExtsFn = const char* const*(OMB_STDCALL*)();
using GetDependenciesFn = void*(OMB_STDCALL*)();
using CanReadFileFn = int32_t(OMB_STDCALL*)(cByteSource* source);
using GetPriorityFn = uint32_t(OMB_STDCALL*)();

inline constexpr uint32_t kDefaultPluginPriority = 8192;

struct PluginRecord {
  void* module;  // null for a built-in record
  char* path;    // heap text; null for a built-in record
  uint32_t priority;
  PluginUser user;
  CreateFilterFn createFilter;
  GetFilterNameFn getFilterName;
  GetFilterIdFn getFilterId;
  GetFilterExtsFn getFilterExts;    // optional
  CanReadFileFn canReadFile;        // optional
  GetDependenciesFn getDependencies;  // optional
};
OMB_PIN_SIZE(PluginRecord, 40);

struct PluginList {
  PluginRecord** items;
  int32_t count;
  int32_t capacity;
};
