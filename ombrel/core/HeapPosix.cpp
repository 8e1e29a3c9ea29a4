// The process heap on glibc: malloc_trim stands in for the compaction.
#include <malloc.h>

#include <cstdlib>

#include "Memory.h"

namespace {

class PosixHeap final : public HeapBackend {
 public:
  void* Alloc(size_t size) override { return std::malloc(size); }
  void* Calloc(size_t size) override { return std::calloc(1, size); }
  void* Realloc(void* block, size_t size) override { return std::realloc(block, size); }
  void Free(void* block) override { std::free(block); }
  int Compact() override {
    malloc_trim(0);
    return 0;
  }
  size_t UsableSize(void* block) override { return malloc_usable_size(block); }
};

}  // namespace

HeapBackend& ProcessHeap() {
  static PosixHeap heap;
  return heap;
}
