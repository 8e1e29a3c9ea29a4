#include "PtrArray.h"

#include <cstring>

#include "Memory.h"
#include "PtrVector.h"

namespace {

constexpr int32_t kStep = 16;

bool Resize(void*** items, int32_t* capacity, int32_t newCapacity) {
  if (newCapacity == 0) {
    void* block = *items;
    MemFree(&block);
    *items = nullptr;
    *capacity = 0;
    return true;
  }
  // With 8-byte pointers the largest capacity would not fit the 32-bit request.
  const uint64_t bytes = uint64_t(uint32_t(newCapacity)) * sizeof(void*);
  void* block = *items;
  if (bytes > UINT32_MAX || !MemRealloc(uint32_t(bytes), &block)) return false;
  *items = static_cast<void**>(block);
  *capacity = newCapacity;
  return true;
}

bool ValidNeeded(int32_t needed) { return needed >= 0 && needed <= cPtrVector::kMaxCount; }

int32_t RoundUp(int32_t needed) { return (needed + kStep - 1) / kStep * kStep; }

}  // namespace

OMB_FLAT int OMB_STDCALL PtrArrayGrow(void*** items, int32_t, int32_t* capacity, int32_t needed) {
  if (!items || !capacity) return 0;
  if (needed < *capacity) return 1;
  if (!ValidNeeded(needed)) return 0;
  return Resize(items, capacity, RoundUp(needed));
}

OMB_FLAT int OMB_STDCALL PtrArrayShrink(void*** items, int32_t, int32_t* capacity, int32_t needed) {
  if (!items || !capacity || !ValidNeeded(needed)) return 0;
  const int32_t newCapacity = RoundUp(needed);
  if (newCapacity == *capacity) return 1;
  return Resize(items, capacity, newCapacity);
}

OMB_FLAT int32_t OMB_STDCALL PtrArrayRemoveAt(void*** items, int32_t* count, int32_t* capacity,
                                               int32_t index) {
  if (!items || !count || !capacity) return 0;
  void** array = *items;
  const int32_t n = *count;
  if (!array || index < 0 || index >= n || n > *capacity) return *capacity;
  std::memmove(array + index, array + index + 1, size_t(n - index - 1) * sizeof(void*));
  array[n - 1] = nullptr;
  *count = n - 1;
  if (*count == 0)
    Resize(items, capacity, 0);
  else if (*capacity - *count > kStep)
    Resize(items, capacity, *capacity - kStep);
  return *capacity;
}
