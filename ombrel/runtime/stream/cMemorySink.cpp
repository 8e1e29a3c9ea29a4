#include "stream/cMemorySink.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "ExportedTable.h"
#include "Memory.h"

OMB_EXPORT_VFTABLE(cMemorySink, "_ZTV11cMemorySink")

cMemorySink::cMemorySink(const cMemorySink& other) : cByteSink(other) { CopyFrom(other); }

cMemorySink& cMemorySink::operator=(const cMemorySink& other) {
  if (this != &other) {
    Release();
    CopyFrom(other);
  }
  return *this;
}

cMemorySink::~cMemorySink() { Release(); }

void cMemorySink::Release() {
  if (ownedGrowable_ && base_) {
    void* block = base_;
    MemFree(&block);
  }
  base_ = cursor_ = nullptr;
  capacity_ = size_ = 0;
}

void cMemorySink::CopyFrom(const cMemorySink& other) {
  growth_ = other.growth_;
  ownedGrowable_ = other.ownedGrowable_;
  capacity_ = other.capacity_;
  size_ = other.size_;
  base_ = other.base_;
  if (other.ownedGrowable_ && other.base_) {
    void* block = nullptr;
    if (MemAlloc(capacity_, &block)) {
      std::memcpy(block, other.base_, capacity_);
      base_ = static_cast<uint8_t*>(block);
    } else {
      base_ = nullptr;
      capacity_ = size_ = 0;
    }
  }
  cursor_ = base_ ? base_ + (other.cursor_ - other.base_) : nullptr;
}

void cMemorySink::CheckLayout() {
  OMB_PIN_OFFSET(cMemorySink, base_, 4);
  OMB_PIN_OFFSET(cMemorySink, cursor_, 8);
  OMB_PIN_OFFSET(cMemorySink, capacity_, 12);
  OMB_PIN_OFFSET(cMemorySink, size_, 16);
  OMB_PIN_OFFSET(cMemorySink, growth_, 20);
  OMB_PIN_OFFSET(cMemorySink, ownedGrowable_, 24);
}

cMemorySink* cMemorySink::New() {
  void* block = nullptr;
  if (!MemAlloc(sizeof(cMemorySink), &block)) return nullptr;
  return new (block) cMemorySink();
}

void cMemorySink::Destruct(uint32_t flags) {
  this->~cMemorySink();
  if (flags & 1) FreeStorage(this);
}

LibError cMemorySink::Allocate(uint32_t size) {
  Release();
  ownedGrowable_ = 1;
  // A growth block of 0 could never grow the block: the default stays.
  growth_ = size ? size : kDefaultGrowth;
  void* block = nullptr;
  if (!MemAlloc(size, &block)) return ErrOutOfMemory;
  base_ = cursor_ = static_cast<uint8_t*>(block);
  capacity_ = size;
  return LibOk;
}

LibError cMemorySink::AttachFixed(void* buffer, uint32_t size) {
  Release();
  ownedGrowable_ = 0;
  base_ = cursor_ = static_cast<uint8_t*>(buffer);
  capacity_ = buffer ? size : 0;
  growth_ = size;
  return LibOk;
}

bool cMemorySink::Resize(uint32_t bytes) {
  void* block = base_;
  if (!(block ? MemRealloc(bytes, &block) : MemAlloc(bytes, &block))) return false;
  base_ = static_cast<uint8_t*>(block);
  return true;
}

LibError cMemorySink::Write(const void* buffer, uint32_t n) {
  if (n == 0) return LibOk;
  const uint32_t offset = static_cast<uint32_t>(cursor_ - base_);
  const uint64_t end = uint64_t{offset} + n;
  if (end > capacity_) {
    if (!ownedGrowable_) return ErrBufferFull;
    const uint64_t grown = (end + growth_ - 1) / growth_ * growth_;
    if (grown > UINT32_MAX) return ErrOutOfMemory;
    // The capacity follows the growth block; the block itself grows by half
    // again at least, so a long run of small writes moves each byte a
    // bounded number of times. When the larger block cannot be had, the
    // exact one is asked for.
    const uint64_t held = base_ ? MemSize(base_) : 0;
    if (grown > held) {
      const uint64_t ahead = std::min<uint64_t>(std::max(grown, held + held / 2), UINT32_MAX);
      if (!Resize(static_cast<uint32_t>(ahead)) && (ahead == grown || !Resize(static_cast<uint32_t>(grown))))
        return ErrOutOfMemory;
      cursor_ = base_ + offset;
    }
    capacity_ = static_cast<uint32_t>(grown);
  }
  std::memcpy(cursor_, buffer, n);
  cursor_ += n;
  size_ = std::max(size_, static_cast<uint32_t>(end));
  return LibOk;
}

LibError cMemorySink::Flush() { return LibOk; }

uint32_t cMemorySink::GetSize() { return size_; }

uint32_t cMemorySink::Tell() { return static_cast<uint32_t>(cursor_ - base_); }

uint32_t cMemorySink::Seek(int32_t offset, uint32_t origin) {
  int64_t target = cursor_ - base_;
  if (origin == SeekStart) target = offset;
  else if (origin == SeekCurrent) target += offset;
  else if (origin == SeekEnd) target = int64_t{size_} + offset;
  target = std::clamp<int64_t>(target, 0, size_);
  cursor_ = base_ + target;
  return static_cast<uint32_t>(target);
}

const char* cMemorySink::GetName() { return nullptr; }

void* cMemorySink::DetachBuffer() {
  void* block = base_;
  // Also when the block runs ahead of the capacity: the caller gets the
  // written bytes only.
  if (block && size_ != 0 && ownedGrowable_ && (size_ < capacity_ || MemSize(block) > size_))
    MemRealloc(size_, &block);
  base_ = cursor_ = nullptr;
  size_ = capacity_ = 0;
  return block;
}

void cMemorySink::FreeBuffer(void* block) {
  if (block) MemFree(&block);
}
