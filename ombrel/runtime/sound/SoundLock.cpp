#include "sound/SoundLock.h"

#include "Memory.h"
#include "sound/SoundTimerHost.h"

void SoundMutex::lock() {
  mutex_.lock();
  ++depth_;
}

bool SoundMutex::try_lock() {
  if (!mutex_.try_lock()) return false;
  ++depth_;
  return true;
}

void SoundMutex::unlock() {
  if (--depth_ > 0) {
    mutex_.unlock();
    return;
  }
  SoundTimerLink* kill = toKill_;
  toKill_ = nullptr;
  mutex_.unlock();
  // Outside the lock. A tick still running meanwhile finds no device.
  while (kill) {
    SoundTimerLink* next = kill->next;
    kill->host->Kill(kill->id);
    void* block = kill;
    MemFree(&block);
    kill = next;
  }
}

void SoundMutex::KillWhenUnlocked(SoundTimerLink* link) {
  link->device = nullptr;
  link->next = toKill_;
  toKill_ = link;
}
