#include "stream/cFileSink.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "ExportedTable.h"
#include "Memory.h"

OMB_EXPORT_VFTABLE(cFileSink, "_ZTV9cFileSink")

cFileSink::cFileSink() : handle_(OmbInvalidHandle()) {}

cFileSink::cFileSink(const cFileSink& other) : cByteSink(other), handle_(OmbInvalidHandle()) {
  CopyFrom(other);
}

cFileSink& cFileSink::operator=(const cFileSink& other) {
  if (this != &other) {
    Release();
    CopyFrom(other);
  }
  return *this;
}

cFileSink::~cFileSink() { Release(); }

void cFileSink::CopyFrom(const cFileSink& other) {
  handle_ = other.handle_;
  ownsHandle_ = 0;
  bufferSize_ = other.bufferSize_;
  bufferingOn_ = other.bufferingOn_;
  held_ = 0;
  buffer_ = cursor_ = nullptr;
  if (other.buffer_) {
    void* block = nullptr;
    if (MemAlloc(bufferSize_, &block)) buffer_ = cursor_ = static_cast<uint8_t*>(block);
    else bufferingOn_ = 0;
  }
  name_ = CopyStreamName(other.name_);
}

void cFileSink::Release() {
  Flush();
  if (ownsHandle_ && HasHandle()) FileClose(handle_);
  ownsHandle_ = 0;
  handle_ = OmbInvalidHandle();
  FreeBuffer();
  FreeStreamName(name_);
}

void cFileSink::FreeBuffer() {
  if (buffer_) {
    void* block = buffer_;
    MemFree(&block);
  }
  buffer_ = cursor_ = nullptr;
  held_ = 0;
}

void cFileSink::CheckLayout() {
  OMB_PIN_OFFSET(cFileSink, handle_, 4);
  OMB_PIN_OFFSET(cFileSink, ownsHandle_, 8);
  OMB_PIN_OFFSET(cFileSink, buffer_, 12);
  OMB_PIN_OFFSET(cFileSink, cursor_, 16);
  OMB_PIN_OFFSET(cFileSink, held_, 20);
  OMB_PIN_OFFSET(cFileSink, bufferSize_, 24);
  OMB_PIN_OFFSET(cFileSink, bufferingOn_, 28);
  OMB_PIN_OFFSET(cFileSink, name_, 32);
}

cFileSink* cFileSink::New() {
  void* block = nullptr;
  if (!MemAlloc(sizeof(cFileSink), &block)) return nullptr;
  return new (block) cFileSink();
}

void cFileSink::Destruct(uint32_t flags) {
  this->~cFileSink();
  if (flags & 1) FreeStorage(this);
}

// A sink attached again first finishes with what it held: its bytes are
// flushed, an owned handle closed and the old buffer freed.
void cFileSink::Start(OmbHandle file, uint32_t bufferSize) {
  Release();
  handle_ = file;
  bufferSize_ = bufferSize;
  void* block = nullptr;
  // A buffer of no bytes could never take a byte: such a sink writes through.
  if (bufferSize != 0 && MemAlloc(bufferSize, &block)) {
    buffer_ = cursor_ = static_cast<uint8_t*>(block);
    bufferingOn_ = 1;
  } else {
    bufferingOn_ = 0;
  }
  held_ = 0;
}

LibError cFileSink::Create(const char* path, uint32_t bufferSize) {
  const OmbHandle file = FileCreate(path);
  if (file == OmbInvalidHandle()) return ErrCreate;
  Start(file, bufferSize);
  ownsHandle_ = 1;
  name_ = CopyStreamName(path);
  return LibOk;
}

LibError cFileSink::Attach(OmbHandle file, uint32_t bufferSize) {
  Start(file, bufferSize);
  return LibOk;
}

OmbHandle cFileSink::ReleaseHandle() {
  const OmbHandle file = handle_;
  handle_ = OmbInvalidHandle();
  ownsHandle_ = 0;
  return file;
}

LibError cFileSink::Write(const void* buffer, uint32_t n) {
  if (!bufferingOn_ || !buffer_) return FileWrite(handle_, buffer, n);
  const uint8_t* in = static_cast<const uint8_t*>(buffer);
  while (uint64_t{held_} + n > bufferSize_) {
    const uint32_t take = bufferSize_ - held_;
    if (take) std::memcpy(buffer_ + held_, in, take);
    in += take;
    n -= take;
    held_ = bufferSize_;
    const LibError e = FileWrite(handle_, buffer_, bufferSize_);
    if (e != LibOk) return e;
    held_ = 0;
  }
  if (n) std::memcpy(buffer_ + held_, in, n);
  held_ += n;
  cursor_ = buffer_ + held_;
  return LibOk;
}

LibError cFileSink::Flush() {
  if (!bufferingOn_ || held_ == 0 || !buffer_) return LibOk;
  const LibError e = FileWrite(handle_, buffer_, held_);
  if (e != LibOk) return e;
  held_ = 0;
  cursor_ = buffer_;
  return LibOk;
}

uint32_t cFileSink::GetSize() {
  if (!HasHandle()) return held_;
  return FileGetSize(handle_) + held_;
}

uint32_t cFileSink::Tell() {
  if (!HasHandle()) return held_;
  return FileTell(handle_) + held_;
}

uint32_t cFileSink::Seek(int32_t offset, uint32_t origin) {
  const int64_t current = Tell();
  const int64_t size = GetSize();
  int64_t target = current;
  if (origin == SeekStart) target = offset;
  else if (origin == SeekCurrent) target = current + offset;
  else if (origin == SeekEnd) target = size + offset;
  target = std::clamp<int64_t>(target, 0, size);
  if (!HasHandle()) return static_cast<uint32_t>(target);
  if (target < size) {
    // Writes inside the file overwrite it in place, unbuffered.
    Flush();
    bufferingOn_ = 0;
    FileSeek(handle_, static_cast<int32_t>(target));
  } else {
    Flush();
    bufferingOn_ = buffer_ ? 1 : 0;
    FileSeekEnd(handle_, 0);
  }
  return static_cast<uint32_t>(target);
}

const char* cFileSink::GetName() { return name_; }
