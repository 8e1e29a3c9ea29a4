// The process-wide sound device: the list of open players, the streaming
// timer, and the registry decoders are looked up in.
// Internal (made by the sound registry's built-in record); slots in this
// order: 0 `Destruct(flags)`, 1 `CreatePlayer`, 2 `StopAllPlayers`,
// 3 `GetFormat`, 4 `Delete`, 5 `UpdateAll`, then the library's own
// `NoPlayersLeft`.
//
// The device lives while it has players: `Delete` with players left only
// lets it go (it forgets its registry, so no new sound finds a decoder), and
// the last player's destruction deletes it. Players and their sounds never
// reach a freed device.
//
// The timer callback only tries the sound lock and skips the tick when a
// client holds it; clients hold the timer off with the lock itself. Stopping
// the timer, under the lock, unhooks the device from it at once; the timer is
// killed when the lock is let go (sound/SoundLock.h), so no thread waits for
// the timer's thread while it holds the lock, and no tick reaches a device
// whose timer was stopped.
#pragma once

#include <atomic>
#include <cstdint>

#include "HandleList.h"
#include "sound/SoundFormat.h"
#include "sound/SoundLock.h"
#include "sound/SoundTimerHost.h"

class cSoundPlayer;
class cSoundPluginRegistry;

class cSoundDevice {
 public:
  static constexpr uint32_t kTimerPeriodMs = 50;
  static constexpr uint32_t kTimerResolutionMs = 10;

  cSoundDevice(cSoundPluginRegistry* registry, SoundTimerHost& timer);
  cSoundDevice(const cSoundDevice&) = delete;
  cSoundDevice& operator=(const cSoundDevice&) = delete;

  // Destroys the device; bit 0 of flags frees its storage (slot 4 is Destruct(1)).
  virtual void Destruct(uint32_t flags) = 0;                                     // 0
  virtual cSoundPlayer* CreatePlayer(void* window) = 0;                          // 1
  // Stops every player's sounds (forced), under the sound lock.
  virtual void StopAllPlayers();                                                 // 2
  // The format the device plays for a source format.
  virtual void GetFormat(const SoundFormat* source, SoundFormat* out) = 0;       // 3
  // Deletes the device, or lets it go when players remain (see above).
  virtual void Delete() = 0;                                                     // 4
  // Every player's refill (the timer's work).
  virtual void UpdateAll();                                                      // 5

  // True when a sound of any player plays or is paused (under the sound lock).
  bool IsAnyPlaying();
  // The registry decoders are looked up in: the shared state's current one
  // while this is the process's device (it moves when its registry unloads).
  cSoundPluginRegistry* Registry() const;
  cHandleList& Players() { return players_; }
  // Players count in when made and out when destroyed; the count reaching 0
  // calls NoPlayersLeft, which may delete the device: a caller counting out
  // touches the device no more.
  void CountPlayer(int32_t delta);
  int32_t PlayerCount() const { return playerCount_; }

  // The streaming timer. Start: under the sound lock, when not running.
  bool StartTimer();
  // Hold: no refill runs until Release (the sound lock, recursive).
  void HoldTimer();
  void ReleaseTimer();
  // When the timer runs: no tick reaches the device from now on, and the
  // timer is killed once the calling thread lets go of the sound lock (at
  // once when it held it only here).
  void StopTimer();
  bool TimerRunning() const { return timerRunning_.load() != 0; }
  // One tick (the callback's body): the refills, when the timer runs and the
  // sound lock can be had at once; false when it refilled nothing.
  bool Tick();
  int32_t SkippedTicks() const { return skippedTicks_.load(); }

  static void OMB_STDCALL TimerCallback(uint32_t id, uint32_t message, uintptr_t user, uintptr_t, uintptr_t);

 protected:
  ~cSoundDevice() = default;
  // Slot 4's rule: true when the caller deletes the device now; false when
  // players remain, the device then being let go.
  bool DeleteNowOrLetGo();
  // The last player is gone: a device that was let go deletes itself.
  virtual void NoPlayersLeft();

 private:
  cHandleList players_;
  std::atomic<int32_t> timerRunning_{0};
  SoundTimerLink* timerLink_ = nullptr;  // the running timer's
  int32_t playerCount_ = 0;
  cSoundPluginRegistry* registry_;
  bool letGo_ = false;
  SoundTimerHost& timer_;
  std::atomic<int32_t> skippedTicks_{0};
};

// Holds the streaming timer for a scope.
class SoundTimerHold {
 public:
  SoundTimerHold(cSoundDevice* device, bool hold) : device_(hold ? device : nullptr) {
    if (device_) device_->HoldTimer();
  }
  ~SoundTimerHold() {
    if (device_) device_->ReleaseTimer();
  }
  SoundTimerHold(const SoundTimerHold&) = delete;
  SoundTimerHold& operator=(const SoundTimerHold&) = delete;

 private:
  cSoundDevice* device_;
};
