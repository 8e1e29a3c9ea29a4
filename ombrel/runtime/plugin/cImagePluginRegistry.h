// The registry of image filter plug-ins ("*.ift"). Exported; no fields of
// its own.
#pragma once

#include "plugin/cPluginRegistry.h"

class cImageFilter;

class cImagePluginRegistry : public cPluginRegistry {
 public:
  cImagePluginRegistry() = default;
  cImagePluginRegistry(const cImagePluginRegistry& other) = default;
  cImagePluginRegistry& operator=(const cImagePluginRegistry& other);
  ~cImagePluginRegistry();

  void Destruct(uint32_t flags) override;
  void Unload() override OMB_EXPORT_AS(cImagePluginRegistry_Unload);

  void LoadFilters(const char* folder, PluginUser user) OMB_EXPORT_AS(cImagePluginRegistry_LoadFilters);
  // Asks a filter made for the plug-in (then released); 0 when none was made.
  int32_t CanReadImages(int32_t index) OMB_EXPORT_AS(cImagePluginRegistry_CanReadImages);
  int32_t CanReadAnimations(int32_t index) OMB_EXPORT_AS(cImagePluginRegistry_CanReadAnimations);

  cImageFilter* CreateFilterAt(int32_t index) { return static_cast<cImageFilter*>(CreateAt(index)); }
};
OMB_PIN_SIZE(cImagePluginRegistry, 8);

OMB_FLAT cImagePluginRegistry* OMB_STDCALL CreateImagePluginRegistry();
