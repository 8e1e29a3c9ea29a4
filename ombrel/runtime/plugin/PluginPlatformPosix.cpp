// Natively the registries load shared objects; "\" in the library's paths
// stands for the folder separator.
#include <dlfcn.h>
#include <glob.h>

#include <algorithm>

#include "plugin/PluginPlatform.h"

namespace {

std::string Native(const char* path) {
  std::string p(path);
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}

class PosixPlugins final : public PluginPlatform {
 public:
  void* Load(const char* path) override { return dlopen(Native(path).c_str(), RTLD_NOW | RTLD_LOCAL); }
  void* Symbol(void* module, const char* name) override { return dlsym(module, name); }
  void Free(void* module) override { dlclose(module); }
  std::vector<std::string> Find(const char* pattern) override {
    std::vector<std::string> names;
    glob_t found{};
    if (glob(Native(pattern).c_str(), 0, nullptr, &found) == 0) {
      for (size_t i = 0; i < found.gl_pathc; ++i) {
        const std::string path = found.gl_pathv[i];
        const size_t slash = path.find_last_of('/');
        names.push_back(slash == std::string::npos ? path : path.substr(slash + 1));
      }
    }
    globfree(&found);
    return names;
  }
};

}  // namespace

PluginPlatform& SystemPlugins() {
  static PosixPlugins plugins;
  return plugins;
}
