#include "plugin/cImagePluginRegistry.h"

#include <new>

#include "ExportedTable.h"
#include "Memory.h"
#include "image/cImageFilter.h"

OMB_EXPORT_VFTABLE(cImagePluginRegistry, "_ZTV20cImagePluginRegistry")

cImagePluginRegistry& cImagePluginRegistry::operator=(const cImagePluginRegistry& other) {
  cPluginRegistry::operator=(other);
  return *this;
}

cImagePluginRegistry::~cImagePluginRegistry() = default;

void cImagePluginRegistry::Destruct(uint32_t flags) {
  this->~cImagePluginRegistry();
  if (flags & 1) FreeStorage(this);
}

void cImagePluginRegistry::Unload() { cPluginRegistry::Unload(); }

void cImagePluginRegistry::LoadFilters(const char* folder, PluginUser user) { Load(folder, "*.ift", user); }

int32_t cImagePluginRegistry::CanReadImages(int32_t index) {
  cImageFilter* filter = CreateFilterAt(index);
  if (!filter) return 0;
  const int32_t answer = filter->CanReadImages();
  filter->Release();
  return answer;
}

int32_t cImagePluginRegistry::CanReadAnimations(int32_t index) {
  cImageFilter* filter = CreateFilterAt(index);
  if (!filter) return 0;
  const int32_t answer = filter->CanReadAnimations();
  filter->Release();
  return answer;
}

OMB_FLAT cImagePluginRegistry* OMB_STDCALL CreateImagePluginRegistry() {
  void* block = nullptr;
  if (!MemAlloc(sizeof(cImagePluginRegistry), &block)) return nullptr;
  return new (block) cImagePluginRegistry();
}
