// A heap that counts the blocks it hands out and has not had back, put under
// the library's allocation functions for the life of the object; with a
// budget it refuses every request after that many. Blocks made before it was
// put in place go back to the heap they came from. A block of its own freed
// again is counted and not passed on, so a double free shows as a number.
#pragma once

#include <cstdlib>
#include <mutex>
#include <set>

#include "Memory.h"

class LiveBlockHeap final : public HeapBackend {
 public:
  LiveBlockHeap() : previous_(SetLibraryHeap(this)) {}
  ~LiveBlockHeap() { SetLibraryHeap(previous_ == &ProcessHeap() ? nullptr : previous_); }
  LiveBlockHeap(const LiveBlockHeap&) = delete;
  LiveBlockHeap& operator=(const LiveBlockHeap&) = delete;

  void* Alloc(size_t size) override { return Spend() ? Keep(previous_->Alloc(size)) : nullptr; }
  void* Calloc(size_t size) override { return Spend() ? Keep(previous_->Calloc(size)) : nullptr; }
  void* Realloc(void* block, size_t size) override {
    if (!Spend()) return nullptr;
    void* grown = previous_->Realloc(block, size);
    if (grown != nullptr && Forget(block)) Keep(grown);
    return grown;
  }
  void Free(void* block) override {
    if (!Forget(block) && Returned(block)) return;
    previous_->Free(block);
  }
  int Compact() override { return previous_->Compact(); }
  size_t UsableSize(void* block) override { return previous_->UsableSize(block); }

  // Requests granted from now on; negative: no limit.
  void SetBudget(int budget) { budget_ = budget; }

  size_t Live() {
    std::lock_guard<std::mutex> lock(mutex_);
    return live_.size();
  }
  // Frees of blocks this heap gave and had back already.
  size_t RepeatedFrees() {
    std::lock_guard<std::mutex> lock(mutex_);
    return repeatedFrees_;
  }

 private:
  bool Spend() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (budget_ < 0) return true;
    if (budget_ == 0) return false;
    --budget_;
    return true;
  }
  void* Keep(void* block) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (block != nullptr) {
      live_.insert(block);
      returned_.erase(block);
    }
    return block;
  }
  bool Forget(void* block) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (live_.erase(block) != 1) return false;
    returned_.insert(block);
    return true;
  }
  bool Returned(void* block) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (returned_.count(block) == 0) return false;
    ++repeatedFrees_;
    return true;
  }

  HeapBackend* previous_;
  std::mutex mutex_;
  std::set<void*> live_;
  std::set<void*> returned_;  // given and had back
  size_t repeatedFrees_ = 0;
  int budget_ = -1;
};
