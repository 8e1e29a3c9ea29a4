#include "sound/cSoundDevice.h"

#include <mutex>
#include <new>

#include "Memory.h"

#include "plugin/cSoundPluginRegistry.h"
#include "sound/cSoundPlayer.h"

cSoundDevice::cSoundDevice(cSoundPluginRegistry* registry, SoundTimerHost& timer)
    : registry_(registry), timer_(timer) {}

cSoundPluginRegistry* cSoundDevice::Registry() const {
  std::lock_guard<SoundMutex> hold(SoundLock());
  return SoundDevice() == static_cast<const void*>(this) ? SoundDeviceRegistry() : registry_;
}

void cSoundDevice::StopAllPlayers() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  int32_t h = players_.GetHead();
  while (h) static_cast<cSoundPlayer*>(players_.Next(&h))->StopAll(1);
}

void cSoundDevice::UpdateAll() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  int32_t h = players_.GetHead();
  while (h) static_cast<cSoundPlayer*>(players_.Next(&h))->UpdateAll();
}

bool cSoundDevice::IsAnyPlaying() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  int32_t h = players_.GetHead();
  while (h) {
    if (static_cast<cSoundPlayer*>(players_.Next(&h))->IsAnyPlaying()) return true;
  }
  return false;
}

void cSoundDevice::CountPlayer(int32_t delta) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  playerCount_ += delta;
  if (delta < 0 && playerCount_ <= 0) {
    playerCount_ = 0;
    NoPlayersLeft();  // last: may delete this
  }
}

bool cSoundDevice::DeleteNowOrLetGo() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (playerCount_ <= 0) return true;
  // The registry may go right after this: players of a device that was let
  // go find no decoders, so no new sound starts on it.
  registry_ = nullptr;
  letGo_ = true;
  return false;
}

void cSoundDevice::NoPlayersLeft() {
  if (letGo_) Delete();
}

bool cSoundDevice::StartTimer() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (timerRunning_.load()) return true;
  void* block = nullptr;
  if (!MemAlloc(sizeof(SoundTimerLink), &block)) return false;
  auto* link = new (block) SoundTimerLink{this, &timer_, 0, nullptr};
  link->id = timer_.StartPeriodic(kTimerPeriodMs, kTimerResolutionMs, &cSoundDevice::TimerCallback,
                                  reinterpret_cast<uintptr_t>(link));
  if (link->id == 0) {
    MemFree(&block);
    return false;
  }
  timerLink_ = link;
  timerRunning_.store(1);
  return true;
}

// Clients keep refills out with the sound lock, which a tick only tries.
void cSoundDevice::HoldTimer() { SoundLock().lock(); }

void cSoundDevice::ReleaseTimer() { SoundLock().unlock(); }

void cSoundDevice::StopTimer() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (!timerRunning_.load()) return;
  SoundLock().KillWhenUnlocked(timerLink_);  // from here on no tick reaches this device
  timerLink_ = nullptr;
  timerRunning_.store(0);
}

bool cSoundDevice::Tick() {
  std::unique_lock<SoundMutex> hold(SoundLock(), std::try_to_lock);
  if (!hold.owns_lock()) {
    skippedTicks_.fetch_add(1);
    return false;
  }
  if (!timerRunning_.load()) return false;  // stopped: a late tick refills nothing
  UpdateAll();
  return true;
}

// The link outlives the device until the timer is killed; the device it
// names, read under the lock, is null once the timer was stopped.
void OMB_STDCALL cSoundDevice::TimerCallback(uint32_t, uint32_t, uintptr_t user, uintptr_t, uintptr_t) {
  std::unique_lock<SoundMutex> hold(SoundLock(), std::try_to_lock);
  if (!hold.owns_lock()) return;  // a client holds the lock: the next tick refills
  if (cSoundDevice* device = reinterpret_cast<SoundTimerLink*>(user)->device) device->Tick();
}
