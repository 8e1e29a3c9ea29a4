#include "sound/cDSoundDevice.h"

#include <mutex>
#include <new>

#include "Memory.h"
#include "plugin/cSoundPluginRegistry.h"
#include "sound/SoundSystemPlatform.h"
#include "sound/cDSoundPlayer.h"

cDSoundDevice::cDSoundDevice(cSoundPluginRegistry* registry, SoundSystem& system)
    : cSoundDevice(registry, system), system_(system) {}

cDSoundDevice::~cDSoundDevice() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  StopTimer();
  ReleaseOutput();
  if (ownWindow_ && cooperativeWindow_) system_.DestroySoundWindow(cooperativeWindow_);
  cooperativeWindow_ = nullptr;
}

cDSoundDevice* cDSoundDevice::New(cSoundPluginRegistry* registry, SoundSystem& system) {
  void* block = nullptr;
  if (!MemAlloc(sizeof(cDSoundDevice), &block)) return nullptr;
  return new (block) cDSoundDevice(registry, system);
}

void cDSoundDevice::Destruct(uint32_t flags) {
  this->~cDSoundDevice();
  if (flags & 1) {
    void* self = this;
    MemFree(&self);
  }
}

cSoundPlayer* cDSoundDevice::CreatePlayer(void* window) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (!cooperativeWindow_) {
    if (window) {
      cooperativeWindow_ = window;
      ownWindow_ = 0;
    } else {
      cooperativeWindow_ = system_.CreateSoundWindow();
      ownWindow_ = 1;
    }
  }
  void* block = nullptr;
  if (!MemAlloc(sizeof(cDSoundPlayer), &block)) return nullptr;
  return new (block) cDSoundPlayer(this, window);
}

void cDSoundDevice::StopAllPlayers() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  for (int32_t h = Players().GetHead(); h;) {
    auto* player = static_cast<cDSoundPlayer*>(Players().Next(&h));
    player->StopAll(1);
    player->ReleasePrimary();
  }
  ReleaseOutput();
}

void cDSoundDevice::GetFormat(const SoundFormat* source, SoundFormat* out) {
  if (source && out) *out = *source;
}

SoundOutput* cDSoundDevice::EnsureOutput(void* window) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (!output_) output_ = system_.CreateOutput(window ? window : cooperativeWindow_);
  return output_;
}

void cDSoundDevice::ReleaseOutput() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (output_) output_->Release();
  output_ = nullptr;
}

bool cDSoundDevice::CountInDirectSound() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (directSoundUsers_ <= 0 && !system_.Probe()) return false;
  ++directSoundUsers_;
  return true;
}

void cDSoundDevice::CountOutDirectSound() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  --directSoundUsers_;
}

void cDSoundDevice::CountOpen(int32_t delta) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  openPlayers_ += delta;
  if (openPlayers_ <= 0) {
    openPlayers_ = 0;
    ReleaseOutput();
  }
}

void cDSoundDevice::Delete() {
  if (DeleteNowOrLetGo()) Destruct(1);
}

void cDSoundDevice::NoPlayersLeft() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (ownWindow_ && cooperativeWindow_) {
    system_.DestroySoundWindow(cooperativeWindow_);
    cooperativeWindow_ = nullptr;
  }
  cSoundDevice::NoPlayersLeft();  // may delete this
}

void* OMB_STDCALL CreateDSoundDevice(PluginUser registry) {
  cDSoundDevice* device = cDSoundDevice::New(reinterpret_cast<cSoundPluginRegistry*>(registry), PlatformSoundSystem());
  return static_cast<cSoundDevice*>(device);
}
