// The sound lock: one recursive lock over the sound device, its players and
// sounds, the shared sound registry and every walk of the sound lists. The
// streaming timer's callback only tries it, so a tick never waits for a
// client.
//
// A streaming timer stopped under the lock is killed only when its holder
// lets go of the lock for the last time. Killing waits for the multimedia
// timer's thread, which runs the host's own timer callbacks too; one of them
// may be waiting for this lock (playing or stopping a sound), and killing
// while holding it would wait for ever.
#pragma once

#include <cstdint>
#include <mutex>

class cSoundDevice;
class SoundTimerHost;

// What a running streaming timer's callback is given in place of its device:
// a tick reaches the device only through it, under the sound lock, so a tick
// that comes after the stop (a kill is not instant) does nothing.
struct SoundTimerLink {
  cSoundDevice* device;  // null once the timer is stopped
  SoundTimerHost* host;
  uint32_t id;
  SoundTimerLink* next;  // in the list of timers to kill
};

class SoundMutex {
 public:
  void lock();
  bool try_lock();
  void unlock();

  // Under the lock: the link's timer is killed, and the link freed, once the
  // lock is let go by its holder.
  void KillWhenUnlocked(SoundTimerLink* link);

 private:
  std::recursive_mutex mutex_;
  int32_t depth_ = 0;                 // the holder's nesting
  SoundTimerLink* toKill_ = nullptr;  // changed under the lock only
};
