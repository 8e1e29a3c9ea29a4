#include "Memory.h"

namespace {

// A zero-byte request still yields a distinct block, as the C runtime does on
// Windows; it also keeps realloc from treating 0 as "free".
size_t RequestSize(uint32_t size) { return size == 0 ? 1 : size; }

std::atomic<HeapBackend*> g_libraryHeap{nullptr};

}  // namespace

HeapBackend& LibraryHeap() {
  HeapBackend* heap = g_libraryHeap.load();
  return heap != nullptr ? *heap : ProcessHeap();
}

HeapBackend* SetLibraryHeap(HeapBackend* heap) {
  HeapBackend* previous = g_libraryHeap.exchange(heap);
  return previous != nullptr ? previous : &ProcessHeap();
}

bool HeapAllocate(HeapBackend& heap, uint32_t size, void** out) {
  void* p = heap.Alloc(RequestSize(size));
  if (!p) {
    heap.Compact();
    p = heap.Alloc(RequestSize(size));
  }
  *out = p;
  return p != nullptr;
}

bool HeapAllocateZeroed(HeapBackend& heap, uint32_t size, void** out) {
  void* p = heap.Calloc(RequestSize(size));
  if (!p) {
    heap.Compact();
    p = heap.Calloc(RequestSize(size));
  }
  *out = p;
  return p != nullptr;
}

bool HeapReallocate(HeapBackend& heap, uint32_t size, void** block) {
  void* p = heap.Realloc(*block, RequestSize(size));
  if (!p) {
    heap.Compact();
    p = heap.Realloc(*block, RequestSize(size));
  }
  if (!p) return false;
  *block = p;
  return true;
}

void HeapLockCounter::Lock() { ++count_; }

int HeapLockCounter::Unlock(HeapBackend& heap) {
  int32_t c = count_.load();
  while (c > 0 && !count_.compare_exchange_weak(c, c - 1)) {
  }
  return heap.Compact();
}

HeapLockCounter& ProcessHeapLock() {
  static HeapLockCounter counter;
  return counter;
}

OMB_FLAT int OMB_STDCALL MemAlloc(uint32_t size, void** out) {
  if (!out) return 0;
  return HeapAllocate(LibraryHeap(), size, out);
}

OMB_FLAT int OMB_STDCALL MemCalloc(uint32_t size, void** out) {
  if (!out) return 0;
  return HeapAllocateZeroed(LibraryHeap(), size, out);
}

OMB_FLAT int OMB_STDCALL MemRealloc(uint32_t size, void** block) {
  if (!block) return 0;
  return HeapReallocate(LibraryHeap(), size, block);
}

OMB_FLAT void OMB_STDCALL MemFree(void** block) {
  if (!block || !*block) return;
  LibraryHeap().Free(*block);
  *block = nullptr;
}

OMB_FLAT uint32_t OMB_STDCALL MemSize(void* block) {
  if (!block) return 0;
  return static_cast<uint32_t>(LibraryHeap().UsableSize(block));
}

int OMB_STDCALL HeapCompact() { return LibraryHeap().Compact(); }

void OMB_STDCALL HeapLock() { ProcessHeapLock().Lock(); }

int OMB_STDCALL HeapUnlock() { return ProcessHeapLock().Unlock(LibraryHeap()); }
