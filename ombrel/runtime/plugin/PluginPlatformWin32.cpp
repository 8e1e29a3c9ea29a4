#include <windows.h>

#include "plugin/PluginPlatform.h"

namespace {

class Win32Plugins final : public PluginPlatform {
 public:
  void* Load(const char* path) override { return LoadLibraryA(path); }
  void* Symbol(void* module, const char* name) override {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
  }
  void Free(void* module) override { FreeLibrary(static_cast<HMODULE>(module)); }
  std::vector<std::string> Find(const char* pattern) override {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }
};

}  // namespace

PluginPlatform& SystemPlugins() {
  static Win32Plugins plugins;
  return plugins;
}
