// The registry of sound decoder plug-ins ("*.sft"). Every registry that
// loaded its filters counts as a user of the process-wide sound device and
// shared sound registry, under the sound lock. Exported; no fields of its own.
#pragma once

#include <mutex>

#include "plugin/cPluginRegistry.h"
#include "sound/SoundLock.h"

class cSoundPluginRegistry : public cPluginRegistry {
 public:
  cSoundPluginRegistry() = default;
  // A copy has its own libraries and is not a user of the device.
  cSoundPluginRegistry(const cSoundPluginRegistry& other) = default;
  cSoundPluginRegistry& operator=(const cSoundPluginRegistry& other);
  ~cSoundPluginRegistry();

  void Destruct(uint32_t flags) override;
  // Counts this registry out (when it had counted in), then unloads its records.
  void Unload() override OMB_EXPORT_AS(cSoundPluginRegistry_Unload);

  void LoadFilters(const char* folder, PluginUser user) OMB_EXPORT_AS(cSoundPluginRegistry_LoadFilters);
};
OMB_PIN_SIZE(cSoundPluginRegistry, 8);

OMB_FLAT cSoundPluginRegistry* OMB_STDCALL CreateSoundPluginRegistry();

// The process-wide sound state this file manages. The device factory is set by
// the sound driver; until it is, no device is made.
using SoundDeviceFactory = CreateFilterFn;
void SetSoundDeviceFactory(SoundDeviceFactory factory);
SoundMutex& SoundLock();
// Under the sound lock: the device (or null), the registry it looks decoders
// up in, the shared registry and the number of registries counted in.
void* SoundDevice();
cSoundPluginRegistry* SoundDeviceRegistry();
cPluginRegistry& SharedSoundRegistry();
int32_t SoundRegistryUsers();
