// The process heap on Windows: the C runtime's heap and its compaction.
#include <malloc.h>

#include <cstdlib>

#include "Memory.h"

namespace {

class CrtHeap final : public HeapBackend {
 public:
  void* Alloc(size_t size) override { return std::malloc(size); }
  void* Calloc(size_t size) override { return std::calloc(1, size); }
  void* Realloc(void* block, size_t size) override { return std::realloc(block, size); }
  void Free(void* block) override { std::free(block); }
  int Compact() override { return _heapmin(); }
  size_t UsableSize(void* block) override { return _msize(block); }
};

}  // namespace

HeapBackend& ProcessHeap() {
  static CrtHeap heap;
  return heap;
}
