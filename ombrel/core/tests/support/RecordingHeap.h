// A heap for the file-reader mutation tests: records every live block and
// the largest request, refuses requests above a cap, and fails the test on
// a free of a block it did not give.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "Memory.h"

class RecordingHeap final : public HeapBackend {
 public:
  static constexpr size_t kCap = 1 << 20;

  void* Alloc(size_t size) override { return Keep(size > kCap ? nullptr : std::malloc(size), size); }
  void* Calloc(size_t size) override { return Keep(size > kCap ? nullptr : std::calloc(1, size), size); }
  void* Realloc(void*, size_t) override { return nullptr; }  // the readers never grow a block
  void Free(void* block) override {
    if (block == nullptr) return;
    ASSERT_EQ(live.erase(block), 1u) << "freed a block this heap did not give";
    std::free(block);
  }
  int Compact() override {
    ++compactions;
    return 0;
  }
  size_t UsableSize(void* block) override {
    const auto it = live.find(block);
    return it == live.end() ? 0 : it->second;
  }

  std::map<void*, size_t> live;
  int compactions = 0;
  size_t largestRequest = 0;

 private:
  void* Keep(void* block, size_t size) {
    largestRequest = std::max(largestRequest, size);
    if (block) live[block] = size;
    return block;
  }
};
