#include "HandleList.h"

#include <cstddef>
#include <cstring>

#include "Memory.h"

namespace {

constexpr uint64_t kMaxArrayBytes = UINT32_MAX;

}  // namespace

void cHandleList::CheckLayout() {
  OMB_PIN_SIZE(cHandleList, 32);
  OMB_PIN_OFFSET(cHandleList, freeHead_, 0);
  OMB_PIN_OFFSET(cHandleList, first_, 4);
  OMB_PIN_OFFSET(cHandleList, freeTail_, 8);
  OMB_PIN_OFFSET(cHandleList, last_, 12);
  OMB_PIN_OFFSET(cHandleList, allocated_, 16);
  OMB_PIN_OFFSET(cHandleList, freeCount_, 20);
  OMB_PIN_OFFSET(cHandleList, growBy_, 24);
  OMB_PIN_OFFSET(cHandleList, items_, 28);
}

cHandleList::cHandleList() = default;

cHandleList::cHandleList(const cHandleList& other) { CopyFrom(other); }

cHandleList::~cHandleList() {
  if (items_) RemoveAll();
}

cHandleList& cHandleList::operator=(const cHandleList& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

// Builds the copy's array first, so a failed allocation leaves *this as it was.
bool cHandleList::CopyFrom(const cHandleList& other) {
  HandleListItem* copy = nullptr;
  if (other.items_) {
    const uint32_t bytes = static_cast<uint32_t>(other.allocated_) * sizeof(HandleListItem);
    void* block = nullptr;
    if (!MemAlloc(bytes, &block)) return false;
    copy = static_cast<HandleListItem*>(block);
    std::memcpy(copy, other.items_, bytes);
  }
  void* old = items_;
  MemFree(&old);
  freeHead_ = other.freeHead_;
  first_ = other.first_;
  freeTail_ = other.freeTail_;
  last_ = other.last_;
  allocated_ = other.allocated_;
  freeCount_ = other.freeCount_;
  growBy_ = other.growBy_;
  items_ = copy;
  return true;
}

void cHandleList::SetGrowBy(int32_t step) { growBy_ = step < 2 ? 2 : step; }

int cHandleList::Grow() {
  if (items_ && freeHead_ != 0) return 1;
  const int32_t step = growBy_ < 2 ? 2 : growBy_;
  const uint64_t total = uint64_t(uint32_t(allocated_)) + uint32_t(step);
  if (total > INT32_MAX || total * sizeof(HandleListItem) > kMaxArrayBytes) return 0;
  const uint32_t bytes = static_cast<uint32_t>(total * sizeof(HandleListItem));

  int32_t firstNew = 0;
  if (!items_) {
    void* block = nullptr;
    if (!MemCalloc(bytes, &block)) return 0;
    items_ = static_cast<HandleListItem*>(block);
    firstNew = 1;  // item 0 is never handed out
  } else {
    void* block = items_;
    if (!MemRealloc(bytes, &block)) return 0;
    items_ = static_cast<HandleListItem*>(block);
    std::memset(items_ + allocated_, 0, size_t(step) * sizeof(HandleListItem));
    firstNew = allocated_;
  }
  const int32_t lastNew = static_cast<int32_t>(total) - 1;
  for (int32_t i = firstNew; i <= lastNew; ++i) {
    items_[i].prev = i > firstNew ? i - 1 : 0;
    items_[i].next = i < lastNew ? i + 1 : 0;
  }
  freeHead_ = firstNew;
  freeTail_ = lastNew;
  allocated_ = static_cast<int32_t>(total);
  freeCount_ += step;
  return 1;
}

int32_t cHandleList::TakeFree(void* value) {
  if (!Grow()) return 0;
  const int32_t h = freeHead_;
  HandleListItem& item = items_[h];
  freeHead_ = item.next;
  if (freeHead_)
    items_[freeHead_].prev = 0;
  else
    freeTail_ = 0;
  item.prev = item.next = 0;
  item.inUse = 1;
  item.value = value;
  --freeCount_;
  return h;
}

void cHandleList::LinkAfter(int32_t handle, int32_t after) {
  HandleListItem& item = items_[handle];
  const int32_t next = after ? items_[after].next : first_;
  item.prev = after;
  item.next = next;
  if (after)
    items_[after].next = handle;
  else
    first_ = handle;
  if (next)
    items_[next].prev = handle;
  else
    last_ = handle;
}

void cHandleList::Unlink(int32_t handle) {
  HandleListItem& item = items_[handle];
  if (item.prev)
    items_[item.prev].next = item.next;
  else
    first_ = item.next;
  if (item.next)
    items_[item.next].prev = item.prev;
  else
    last_ = item.prev;
  item.prev = item.next = 0;
}

int32_t cHandleList::AddTail(void* value) {
  const int32_t h = TakeFree(value);
  if (h) LinkAfter(h, last_);
  return h;
}

int32_t cHandleList::AddHead(void* value) {
  const int32_t h = TakeFree(value);
  if (h) LinkAfter(h, 0);
  return h;
}

int32_t cHandleList::InsertAfter(int32_t after, void* value) {
  if (after == 0) return AddHead(value);
  if (after < 0) return 0;
  if (after >= allocated_) return AddTail(value);
  if (!items_[after].inUse) return 0;
  const int32_t h = TakeFree(value);  // may move items_, not the handle
  if (h) LinkAfter(h, after);
  return h;
}

int32_t cHandleList::InsertBefore(int32_t before, void* value) {
  if (!InUse(before)) return 0;
  const int32_t prev = items_[before].prev;
  return prev ? InsertAfter(prev, value) : AddHead(value);
}

void cHandleList::MoveAfter(int32_t handle, int32_t after) {
  if (handle == after || !InUse(handle)) return;
  if (after == 0) {
    if (first_ == handle) return;
  } else if (!InUse(after) || items_[handle].prev == after) {
    return;
  }
  Unlink(handle);
  LinkAfter(handle, after);
}

void cHandleList::Remove(int32_t handle) {
  if (!IsHandle(handle)) return;
  HandleListItem& item = items_[handle];
  item.value = nullptr;
  if (!item.inUse) return;
  Unlink(handle);
  item.inUse = 0;
  item.prev = freeTail_;
  if (freeTail_)
    items_[freeTail_].next = handle;
  else
    freeHead_ = handle;
  freeTail_ = handle;
  ++freeCount_;
}

void cHandleList::RemoveAll() {
  void* block = items_;
  MemFree(&block);
  items_ = nullptr;
  freeHead_ = first_ = freeTail_ = last_ = allocated_ = freeCount_ = 0;
}

int32_t cHandleList::Find(void* value) const {
  for (int32_t h = first_; h > 0 && h < allocated_; h = items_[h].next)
    if (items_[h].value == value) return h;
  return 0;
}

void* cHandleList::GetAt(int32_t handle) const { return InUse(handle) ? items_[handle].value : nullptr; }

void cHandleList::SetAt(int32_t handle, void* value) {
  if (InUse(handle)) items_[handle].value = value;
}

void* cHandleList::Next(int32_t* handle) const {
  if (!handle) return nullptr;
  if (!InUse(*handle)) {
    *handle = 0;
    return nullptr;
  }
  const HandleListItem& item = items_[*handle];
  *handle = item.next;
  return item.value;
}

void* cHandleList::Prev(int32_t* handle) const {
  if (!handle) return nullptr;
  if (!InUse(*handle)) {
    *handle = 0;
    return nullptr;
  }
  const HandleListItem& item = items_[*handle];
  *handle = item.prev;
  return item.value;
}

int32_t cHandleList::GetHead() const { return first_; }

int32_t cHandleList::GetTail() const { return last_; }

int32_t cHandleList::GetCount() const { return allocated_ - freeCount_; }
