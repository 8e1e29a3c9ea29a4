#include "PtrVector.h"

#include <cstddef>
#include <cstring>

#include "Memory.h"

namespace {

constexpr int32_t kStep = 16;

int32_t CapacityFor(int32_t count) { return (count + kStep - 1) / kStep * kStep; }

// Bytes of an array of `slots` pointers; false when they do not fit the
// 32-bit request (only possible with 8-byte pointers).
bool SlotBytes(int32_t slots, uint32_t* bytes) {
  const uint64_t total = uint64_t(uint32_t(slots)) * sizeof(void*);
  if (total > UINT32_MAX) return false;
  *bytes = uint32_t(total);
  return true;
}

}  // namespace

void cPtrVector::CheckLayout() {
  OMB_PIN_SIZE(cPtrVector, 8);
  OMB_PIN_OFFSET(cPtrVector, count_, 0);
  OMB_PIN_OFFSET(cPtrVector, items_, 4);
}

cPtrVector::cPtrVector() = default;

cPtrVector::cPtrVector(const cPtrVector& other) { CopyFrom(other); }

cPtrVector::~cPtrVector() { RemoveAll(); }

cPtrVector& cPtrVector::operator=(const cPtrVector& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

// Builds the copy first, so a failed allocation leaves *this as it was.
bool cPtrVector::CopyFrom(const cPtrVector& other) {
  void* copy = nullptr;
  if (other.items_ && other.count_ > 0) {
    uint32_t bytes = 0;
    if (!SlotBytes(CapacityFor(other.count_), &bytes) || !MemCalloc(bytes, &copy)) return false;
    std::memcpy(copy, other.items_, size_t(other.count_) * sizeof(void*));
  }
  RemoveAll();
  items_ = static_cast<void**>(copy);
  count_ = copy ? other.count_ : 0;
  return true;
}

int cPtrVector::SetSize(int32_t n) {
  if (n < 0 || n > kMaxCount) return 0;
  if (n == 0) {
    RemoveAll();
    return 1;
  }
  const int32_t capacity = CapacityFor(n);
  if (!items_) {
    void* block = nullptr;
    uint32_t bytes = 0;
    if (!SlotBytes(capacity, &bytes) || !MemCalloc(bytes, &block)) return 0;
    items_ = static_cast<void**>(block);
    count_ = n;
    return 1;
  }
  const int32_t oldCount = count_;
  // The array holds at least the old capacity; a reallocation gives one step
  // of slack past the new one.
  int32_t slots = CapacityFor(oldCount);
  if (capacity != slots) {
    slots = capacity + kStep;
    void* block = items_;
    uint32_t bytes = 0;
    if (!SlotBytes(slots, &bytes) || !MemRealloc(bytes, &block)) return 0;
    items_ = static_cast<void**>(block);
  }
  if (n > oldCount) {
    std::memset(items_ + oldCount, 0, size_t(capacity - oldCount) * sizeof(void*));
  } else {
    // Null what falls out, so growing again never exposes stale pointers.
    const int32_t end = oldCount < slots ? oldCount : slots;
    std::memset(items_ + n, 0, size_t(end - n) * sizeof(void*));
  }
  count_ = n;
  return 1;
}

int32_t cPtrVector::Add(void* value) {
  if (count_ >= kMaxCount || !SetSize(count_ + 1)) return -1;
  items_[count_ - 1] = value;
  return count_ - 1;
}

void* cPtrVector::GetAt(int32_t index) const { return InRange(index) ? items_[index] : nullptr; }

void* cPtrVector::ElementAt(int32_t index) const { return InRange(index) ? items_[index] : nullptr; }

void cPtrVector::SetAt(int32_t index, void* value) {
  if (InRange(index)) items_[index] = value;
}

int cPtrVector::SetAtGrow(int32_t index, void* value) {
  if (index < 0 || index >= kMaxCount) return 0;
  if (index >= count_ && !SetSize(index + 1)) return 0;
  items_[index] = value;
  return 1;
}

int cPtrVector::InsertAt(int32_t index, void* value, int32_t n) {
  if (static_cast<uint32_t>(index) > static_cast<uint32_t>(count_)) return 0;
  if (n < 0 || n > kMaxCount - count_) return 0;
  if (n == 0) return 1;
  const int32_t oldCount = count_;
  if (!SetSize(oldCount + n)) return 0;
  std::memmove(items_ + index + n, items_ + index, size_t(oldCount - index) * sizeof(void*));
  for (int32_t i = 0; i < n; ++i) items_[index + i] = value;
  return 1;
}

int32_t cPtrVector::RemoveRange(int32_t index, int32_t n) {
  if (!InRange(index) || n <= 0) return count_;
  if (n > count_ - index) n = count_ - index;
  const int32_t tail = count_ - index - n;
  std::memmove(items_ + index, items_ + index + n, size_t(tail) * sizeof(void*));
  std::memset(items_ + count_ - n, 0, size_t(n) * sizeof(void*));
  count_ -= n;
  return count_;
}

int32_t cPtrVector::ClearAt(int32_t index) {
  if (InRange(index)) items_[index] = nullptr;
  return index;
}

void cPtrVector::RemoveAll() {
  void* block = items_;
  MemFree(&block);
  items_ = nullptr;
  count_ = 0;
}

int32_t cPtrVector::GetCount() const { return count_; }

void** cPtrVector::GetData() const { return items_; }

int32_t cPtrVector::GetMaxCount() { return kMaxCount; }
