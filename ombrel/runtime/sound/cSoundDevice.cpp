#include "sound/cSoundDevice.h"

#include <mutex>

#include "plugin/cSoundPluginRegistry.h"
#include "sound/cSoundPlayer.h"

cSoundDevice::cSoundDevice(cSoundPluginRegistry* registry, SoundTimerHost& timer)
    : registry_(registry), timer_(timer) {}

cSoundPluginRegistry* cSoundDevice::Registry() const {
  std::lock_guard<std::recursive_mutex> hold(SoundLock());
  return SoundDevice() == static_cast<const void*>(this) ? SoundDeviceRegistry() : registry_;
}

void cSoundDevice::StopAllPlayers() {
  std::lock_guard<std::recursive_mutex> hold(SoundLock());
  int32_t h = players_.GetHead();
  while (h) static_cast<cSoundPlayer*>(players_.Next(&h))->StopAll(1);
}

void cSoundDevice::UpdateAll() {
  std::lock_guard<std::recursive_mutex> hold(SoundLock());
  int32_t h = players_.GetHead();
  while (h) static_cast<cSoundPlayer*>(players_.Next(&h))->UpdateAll();
}

bool cSoundDevice::IsAnyPlaying() {
  std::lock_guard<std::recursive_mutex> hold(SoundLock());
  int32_t h = players_.GetHead();
  while (h) {
    if (static_cast<cSoundPlayer*>(players_.Next(&h))->IsAnyPlaying()) return true;
  }
  return false;
}

void cSoundDevice::CountPlayer(int32_t delta) {
  std::lock_guard<std::recursive_mutex> hold(SoundLock());
  playerCount_ += delta;
  if (delta < 0 && playerCount_ <= 0) {
    playerCount_ = 0;
    NoPlayersLeft();  // last: may delete this
  }
}

bool cSoundDevice::DeleteNowOrLetGo() {
  std::lock_guard<std::recursive_mutex> hold(SoundLock());
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
  std::lock_guard<std::recursive_mutex> hold(SoundLock());
  if (timerRunning_.load()) return true;
  busy_.store(0);
  timerId_ = timer_.StartPeriodic(kTimerPeriodMs, kTimerResolutionMs, &cSoundDevice::TimerCallback,
                                  reinterpret_cast<uintptr_t>(this));
  timerRunning_.store(timerId_ != 0 ? 1 : 0);
  return timerId_ != 0;
}

void cSoundDevice::WaitForBusy() {
  while (busy_.exchange(1) != 0) timer_.Sleep(kHoldWaitMs);
}

// Clients keep refills out with the sound lock, which a tick only tries.
// Waiting for the busy flag here instead let two clients deadlock: one held
// the flag and waited for the lock, the other held the lock (closing a
// player) and waited for the flag.
void cSoundDevice::HoldTimer() { SoundLock().lock(); }

void cSoundDevice::ReleaseTimer() { SoundLock().unlock(); }

void cSoundDevice::StopTimer() {
  std::lock_guard<std::recursive_mutex> hold(SoundLock());
  if (!timerRunning_.load()) return;
  WaitForBusy();
  timer_.Kill(timerId_);
  timerId_ = 0;
  timerRunning_.store(0);
}

bool cSoundDevice::Tick() {
  if (busy_.exchange(1) != 0) {
    skippedTicks_.fetch_add(1);
    return false;
  }
  std::recursive_mutex& lock = SoundLock();
  if (!lock.try_lock()) {
    // A client holds the lock and may be waiting for the busy flag.
    busy_.store(0);
    skippedTicks_.fetch_add(1);
    return false;
  }
  UpdateAll();
  lock.unlock();
  busy_.store(0);
  return true;
}

void OMB_STDCALL cSoundDevice::TimerCallback(uint32_t, uint32_t, uintptr_t user, uintptr_t, uintptr_t) {
  reinterpret_cast<cSoundDevice*>(user)->Tick();
}
