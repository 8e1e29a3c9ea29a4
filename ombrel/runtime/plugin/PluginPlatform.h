// What the plug-in registries need of the platform: dynamic libraries and a
// folder search by pattern. The registry takes it as a parameter so tests can
// stand in for the system; `SystemPlugins` is the real one (Win32 in the DLL,
// dlopen and glob natively).
#pragma once

#include <string>
#include <vector>

class PluginPlatform {
 public:
  // The loaded library, or null.
  virtual void* Load(const char* path) = 0;
  virtual void* Symbol(void* module, const char* name) = 0;
  virtual void Free(void* module) = 0;
  // Names (without folder) of the files matching a search pattern, in the
  // order the system finds them.
  virtual std::vector<std::string> Find(const char* pattern) = 0;

 protected:
  ~PluginPlatform() = default;
};

PluginPlatform& SystemPlugins();

// Calls through a C++ object's table by slot (thiscall on i686).
#if defined(_WIN32) && !defined(_WIN64)
#define OMB_THISCALL __attribute__((thiscall))
#else
#define OMB_THISCALL
#endif
