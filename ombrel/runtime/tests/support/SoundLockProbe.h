// Asks whether the sound lock is free at a given moment: another thread tries
// it (the lock is recursive, so the asking thread could always take it).
// LockProbeHeap asks at each library allocation of a watched size, so a test
// sees which steps of a call ran with the lock held.
#pragma once

#include <algorithm>
#include <future>
#include <mutex>
#include <vector>

#include "Memory.h"
#include "plugin/cSoundPluginRegistry.h"

inline bool SoundLockIsFree() {
  return std::async(std::launch::async, [] {
           if (!SoundLock().try_lock()) return false;
           SoundLock().unlock();
           return true;
         }).get();
}

class LockProbeHeap final : public HeapBackend {
 public:
  explicit LockProbeHeap(std::vector<size_t> watched)
      : watched_(std::move(watched)), previous_(SetLibraryHeap(this)) {}
  ~LockProbeHeap() { SetLibraryHeap(previous_ == &ProcessHeap() ? nullptr : previous_); }
  LockProbeHeap(const LockProbeHeap&) = delete;
  LockProbeHeap& operator=(const LockProbeHeap&) = delete;

  void* Alloc(size_t size) override {
    Probe(size);
    return previous_->Alloc(size);
  }
  void* Calloc(size_t size) override {
    Probe(size);
    return previous_->Calloc(size);
  }
  void* Realloc(void* block, size_t size) override { return previous_->Realloc(block, size); }
  void Free(void* block) override { previous_->Free(block); }
  int Compact() override { return previous_->Compact(); }
  size_t UsableSize(void* block) override { return previous_->UsableSize(block); }

  // Watched allocations seen, and how many of them found the lock held.
  int seen = 0;
  int underLock = 0;

 private:
  void Probe(size_t size) {
    if (std::find(watched_.begin(), watched_.end(), size) == watched_.end()) return;
    ++seen;
    if (!SoundLockIsFree()) ++underLock;
  }

  std::vector<size_t> watched_;
  HeapBackend* previous_;
};
