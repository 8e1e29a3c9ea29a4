// Heap allocation with one retry after compaction, and the heap lock counter.
// The flat functions work on the process heap; the HeapBackend interface lets
// the retry and the lock be exercised against any allocator.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "OmbrelApi.h"

// The allocator under the library's allocation functions.
class HeapBackend {
 public:
  virtual void* Alloc(size_t size) = 0;
  virtual void* Calloc(size_t size) = 0;  // one zero-filled element of size bytes
  virtual void* Realloc(void* block, size_t size) = 0;
  virtual void Free(void* block) = 0;
  // Gives free heap memory back to the system; the C runtime's result (0 on success).
  virtual int Compact() = 0;
  virtual size_t UsableSize(void* block) = 0;

 protected:
  ~HeapBackend() = default;
};

// The process heap (the C runtime's heap), defined per platform.
HeapBackend& ProcessHeap();
// The heap under the flat allocation functions: the process heap unless a
// test has put another in its place.
HeapBackend& LibraryHeap();
// Puts `heap` under the flat allocation functions (null: the process heap
// again) and returns the one it replaces. Blocks are freed by the heap in
// place at the time, so a replacement must accept blocks of the one before.
HeapBackend* SetLibraryHeap(HeapBackend* heap);

// Allocation with exactly one retry after one compaction. HeapAllocate and
// HeapAllocateZeroed always store their outcome in *out (null on failure);
// HeapReallocate stores only on success, so a failure leaves the old block.
bool HeapAllocate(HeapBackend& heap, uint32_t size, void** out);
bool HeapAllocateZeroed(HeapBackend& heap, uint32_t size, void** out);
bool HeapReallocate(HeapBackend& heap, uint32_t size, void** block);

// Counts nested lock calls; every unlock compacts the heap.
class HeapLockCounter {
 public:
  void Lock();
  int Unlock(HeapBackend& heap);  // the compaction's result
  int32_t Count() const { return count_.load(); }

 private:
  std::atomic<int32_t> count_{0};
};

// The process-wide counter behind HeapLock and HeapUnlock.
HeapLockCounter& ProcessHeapLock();

OMB_FLAT int OMB_STDCALL MemAlloc(uint32_t size, void** out);
OMB_FLAT int OMB_STDCALL MemCalloc(uint32_t size, void** out);
OMB_FLAT int OMB_STDCALL MemRealloc(uint32_t size, void** block);
OMB_FLAT void OMB_STDCALL MemFree(void** block);
OMB_FLAT uint32_t OMB_STDCALL MemSize(void* block);
// kernel32 has functions of these names taking a heap handle: these are
// overloads without parameters, so both can be used in one source file.
int OMB_STDCALL HeapCompact() OMB_FLAT_SYMBOL("HeapCompact@0");
void OMB_STDCALL HeapLock() OMB_FLAT_SYMBOL("HeapLock@0");
int OMB_STDCALL HeapUnlock() OMB_FLAT_SYMBOL("HeapUnlock@0");

