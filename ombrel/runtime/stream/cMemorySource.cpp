#include "stream/cMemorySource.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

#include "ExportedTable.h"
#include "Memory.h"

OMB_EXPORT_VFTABLE(cMemorySource, "_ZTV13cMemorySource")

cMemorySource::cMemorySource(const cMemorySource& other) : cByteSource(other) { CopyFrom(other); }

cMemorySource& cMemorySource::operator=(const cMemorySource& other) {
  if (this != &other) {
    Release();
    CopyFrom(other);
  }
  return *this;
}

cMemorySource::~cMemorySource() { Release(); }

void cMemorySource::Release() {
  if (ownsBlock_) std::free(base_);
  base_ = cursor_ = nullptr;
  position_ = remaining_ = 0;
  ownsBlock_ = 0;
}

void cMemorySource::CopyFrom(const cMemorySource& other) {
  position_ = other.position_;
  remaining_ = other.remaining_;
  base_ = other.base_;
  ownsBlock_ = 0;
  if (other.ownsBlock_) {
    const size_t size = size_t{other.position_} + other.remaining_;
    base_ = static_cast<uint8_t*>(std::malloc(size ? size : 1));
    if (base_) {
      if (size) std::memcpy(base_, other.base_, size);
      ownsBlock_ = 1;
    } else {
      position_ = remaining_ = 0;
    }
  }
  cursor_ = base_ ? base_ + position_ : nullptr;
}

void cMemorySource::CheckLayout() {
  OMB_PIN_OFFSET(cMemorySource, base_, 4);
  OMB_PIN_OFFSET(cMemorySource, cursor_, 8);
  OMB_PIN_OFFSET(cMemorySource, position_, 12);
  OMB_PIN_OFFSET(cMemorySource, remaining_, 16);
  OMB_PIN_OFFSET(cMemorySource, ownsBlock_, 20);
}

cMemorySource* cMemorySource::New() {
  void* block = nullptr;
  if (!MemAlloc(sizeof(cMemorySource), &block)) return nullptr;
  return new (block) cMemorySource();
}

void cMemorySource::Destruct(uint32_t flags) {
  this->~cMemorySource();
  if (flags & 1) FreeStorage(this);
}

LibError cMemorySource::Attach(const void* data, uint32_t size) {
  Release();
  base_ = cursor_ = static_cast<uint8_t*>(const_cast<void*>(data));
  remaining_ = data ? size : 0;
  return LibOk;
}

LibError cMemorySource::Allocate(uint32_t size) {
  Release();
  base_ = static_cast<uint8_t*>(std::malloc(size ? size : 1));
  if (!base_) return ErrOutOfMemory;
  cursor_ = base_;
  remaining_ = size;
  ownsBlock_ = 1;
  return LibOk;
}

LibError cMemorySource::Read(void* buffer, uint32_t n) {
  if (n == 0) return LibOk;
  const uint32_t take = std::min(n, remaining_);
  if (take) std::memcpy(buffer, cursor_, take);
  cursor_ += take;
  position_ += take;
  remaining_ -= take;
  return take == n ? LibOk : ErrEndOfFile;
}

LibError cMemorySource::ReadCount(void* buffer, uint32_t n, uint32_t* count) {
  const uint32_t before = position_;
  const LibError e = Read(buffer, n);
  if (count) *count = position_ - before;
  return e;
}

LibError cMemorySource::ReadByte(uint8_t* out) { return Read(out, 1); }

uint32_t cMemorySource::Tell() { return position_; }

uint32_t cMemorySource::GetSize() { return position_ + remaining_; }

uint32_t cMemorySource::Seek(int32_t offset, uint32_t origin) {
  const int64_t size = int64_t{position_} + remaining_;
  int64_t target = position_;
  if (origin == SeekStart) target = offset;
  else if (origin == SeekCurrent) target = int64_t{position_} + offset;
  else if (origin == SeekEnd) target = size + offset;
  target = std::clamp<int64_t>(target, 0, size);
  position_ = static_cast<uint32_t>(target);
  remaining_ = static_cast<uint32_t>(size - target);
  cursor_ = base_ ? base_ + position_ : nullptr;
  return position_;
}

LibError cMemorySource::AttachHandle(OmbHandle) { return LibOk; }

OmbHandle cMemorySource::Detach() { return OmbInvalidHandle(); }

void* cMemorySource::ReadAlloc(uint32_t n) {
  if (n == 0 || remaining_ < n) return nullptr;
  void* at = cursor_;
  cursor_ += n;
  position_ += n;
  remaining_ -= n;
  return at;
}

void cMemorySource::FreeAlloc(void*) {}

const char* cMemorySource::GetName() { return nullptr; }
