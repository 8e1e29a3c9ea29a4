#include "plugin/cSoundPluginRegistry.h"

#include <new>
#include <set>

#include "ExportedTable.h"
#include "Memory.h"

OMB_EXPORT_VFTABLE(cSoundPluginRegistry, "_ZTV20cSoundPluginRegistry")

namespace {

struct SoundShared {
  SoundMutex lock;
  std::set<cSoundPluginRegistry*> members;  // registries that counted in
  cPluginRegistry shared;
  void* device = nullptr;
  cSoundPluginRegistry* deviceRegistry = nullptr;
  SoundDeviceFactory factory = nullptr;
};

SoundShared& Shared() {
  static SoundShared* state = new SoundShared();  // lives to process exit
  return *state;
}

// Slot 4 of the device deletes it.
void DeleteDevice(void* device) {
  using DeleteFn = void(OMB_THISCALL*)(void*);
  reinterpret_cast<DeleteFn>((*static_cast<void***>(device))[4])(device);
}

// A member that leaves: the last one takes the device (which lives on while
// it has players) and the shared registry with it; otherwise the device moves
// to a member that stays.
void CountOut(cSoundPluginRegistry* registry) {
  SoundShared& s = Shared();
  std::lock_guard<SoundMutex> hold(s.lock);
  if (s.members.erase(registry) == 0) return;
  if (s.members.empty()) {
    if (s.device) DeleteDevice(s.device);
    s.device = nullptr;
    s.deviceRegistry = nullptr;
    s.shared.UnloadWith(SystemPlugins());
  } else if (s.deviceRegistry == registry) {
    // The device looks decoders up in a registry that stays.
    s.deviceRegistry = *s.members.begin();
  }
}

}  // namespace

void SetSoundDeviceFactory(SoundDeviceFactory factory) {
  std::lock_guard<SoundMutex> hold(Shared().lock);
  Shared().factory = factory;
}
SoundMutex& SoundLock() { return Shared().lock; }
void* SoundDevice() { return Shared().device; }
cSoundPluginRegistry* SoundDeviceRegistry() { return Shared().deviceRegistry; }
cPluginRegistry& SharedSoundRegistry() { return Shared().shared; }
int32_t SoundRegistryUsers() { return static_cast<int32_t>(Shared().members.size()); }

cSoundPluginRegistry& cSoundPluginRegistry::operator=(const cSoundPluginRegistry& other) {
  cPluginRegistry::operator=(other);
  return *this;
}

// Destroyed without Unload, a registry still leaves the shared set: the
// device must not look decoders up in a freed registry.
cSoundPluginRegistry::~cSoundPluginRegistry() { CountOut(this); }

void cSoundPluginRegistry::Destruct(uint32_t flags) {
  this->~cSoundPluginRegistry();
  if (flags & 1) FreeStorage(this);
}

void cSoundPluginRegistry::LoadFilters(const char* folder, PluginUser user) {
  SoundShared& s = Shared();
  std::lock_guard<SoundMutex> hold(s.lock);
  // A reload keeps this registry counted in: only its records are replaced.
  cPluginRegistry::UnloadWith(SystemPlugins());
  Load(folder, "*.sft", user);
  if (!s.members.insert(this).second) return;
  if (s.members.size() != 1) return;
  s.shared.LoadWith(SystemPlugins(), "", "", 0);
  PluginRecord device{};
  device.priority = kDefaultPluginPriority;
  device.createFilter = s.factory;
  s.shared.InsertBuiltIn(0, device);
  s.deviceRegistry = this;
  s.device = s.factory ? s.factory(reinterpret_cast<PluginUser>(this)) : nullptr;
}

void cSoundPluginRegistry::Unload() {
  CountOut(this);
  cPluginRegistry::Unload();
}

OMB_FLAT cSoundPluginRegistry* OMB_STDCALL CreateSoundPluginRegistry() {
  void* block = nullptr;
  if (!MemAlloc(sizeof(cSoundPluginRegistry), &block)) return nullptr;
  return new (block) cSoundPluginRegistry();
}
