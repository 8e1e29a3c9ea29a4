#include "stream/cFileSource.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#include "ExportedTable.h"
#include "Memory.h"

OMB_EXPORT_VFTABLE(cFileSource, "_ZTV11cFileSource")

cFileSource::cFileSource() : handle_(OmbInvalidHandle()) {}

cFileSource::cFileSource(const cFileSource& other) : cByteSource(other), handle_(OmbInvalidHandle()) {
  CopyFrom(other);
}

cFileSource& cFileSource::operator=(const cFileSource& other) {
  if (this != &other) {
    Release();
    CopyFrom(other);
  }
  return *this;
}

cFileSource::~cFileSource() { Release(); }

void cFileSource::Release() {
  if (buffer_) {
    void* block = buffer_;
    MemFree(&block);
  }
  buffer_ = cursor_ = nullptr;
  remaining_ = 0;
  FreeStreamName(name_);
  CloseOwnedHandle();
  handle_ = OmbInvalidHandle();
}

void cFileSource::CopyFrom(const cFileSource& other) {
  handle_ = other.handle_;
  position_ = other.position_;
  ownsHandle_ = 0;
  rangeStart_ = other.rangeStart_;
  rangeLength_ = other.rangeLength_;
  name_ = CopyStreamName(other.name_);
  buffer_ = cursor_ = nullptr;
  remaining_ = 0;
  if (other.buffer_ && EnsureBuffer()) {
    std::memcpy(buffer_, other.buffer_, kBufferSize);
    cursor_ = buffer_ + (other.cursor_ - other.buffer_);
    remaining_ = other.remaining_;
  }
}

void cFileSource::CheckLayout() {
  OMB_PIN_OFFSET(cFileSource, handle_, 4);
  OMB_PIN_OFFSET(cFileSource, position_, 8);
  OMB_PIN_OFFSET(cFileSource, buffer_, 12);
  OMB_PIN_OFFSET(cFileSource, cursor_, 16);
  OMB_PIN_OFFSET(cFileSource, remaining_, 20);
  OMB_PIN_OFFSET(cFileSource, ownsHandle_, 24);
  OMB_PIN_OFFSET(cFileSource, name_, 28);
  OMB_PIN_OFFSET(cFileSource, rangeStart_, 32);
  OMB_PIN_OFFSET(cFileSource, rangeLength_, 36);
}

cFileSource* cFileSource::New() {
  void* block = nullptr;
  if (!MemAlloc(sizeof(cFileSource), &block)) return nullptr;
  return new (block) cFileSource();
}

void cFileSource::Destruct(uint32_t flags) {
  this->~cFileSource();
  if (flags & 1) FreeStorage(this);
}

void cFileSource::CloseOwnedHandle() {
  if (ownsHandle_ && HasHandle()) FileClose(handle_);
  ownsHandle_ = 0;
}

bool cFileSource::EnsureBuffer() {
  if (buffer_) return true;
  void* block = nullptr;
  if (!MemAlloc(kBufferSize, &block)) return false;
  buffer_ = cursor_ = static_cast<uint8_t*>(block);
  remaining_ = 0;
  return true;
}

LibError cFileSource::AttachHandle(OmbHandle file) {
  rangeStart_ = rangeLength_ = 0;
  if (file == OmbInvalidHandle()) return LibOk;
  if (!EnsureBuffer()) return ErrOutOfMemory;
  if (file != handle_) CloseOwnedHandle();
  handle_ = file;
  rangeStart_ = position_ = FileTell(file);
  rangeLength_ = FileGetSize(file);
  EmptyBuffer();
  ownsHandle_ = 0;
  return LibOk;
}

LibError cFileSource::AttachRange(OmbHandle file, uint32_t start, uint32_t length) {
  rangeStart_ = start;
  rangeLength_ = length;
  if (file == OmbInvalidHandle()) return LibOk;
  if (!EnsureBuffer()) return ErrOutOfMemory;
  if (file != handle_) CloseOwnedHandle();
  handle_ = file;
  position_ = start;
  FileSeek(file, static_cast<int32_t>(start));
  EmptyBuffer();
  ownsHandle_ = 0;
  return LibOk;
}

// Opens path and attaches it whole (through slot 20) or a range of it; the object then owns the handle and keeps the name.
LibError cFileSource::OpenAndAttach(const char* path, bool whole, uint32_t start, uint32_t length) {
  const OmbHandle file = FileOpen(path, 0);
  if (file == OmbInvalidHandle()) return ErrOpen;
  const LibError e = whole ? AttachHandle(file) : AttachRange(file, start, length);
  if (e != LibOk) {
    FileClose(file);
    return e;
  }
  FreeStreamName(name_);
  name_ = CopyStreamName(path);
  ownsHandle_ = 1;
  return LibOk;
}

LibError cFileSource::Open(const char* path) { return OpenAndAttach(path, true, 0, 0); }

LibError cFileSource::OpenPart(const char* path, uint32_t start, uint32_t length) {
  return OpenAndAttach(path, false, start, length);
}

LibError cFileSource::OpenHandle(OmbHandle file) { return AttachHandle(file); }

LibError cFileSource::OpenHandlePart(OmbHandle file, uint32_t start, uint32_t length) {
  const LibError e = AttachRange(file, start, length);
  if (e == LibOk) FreeStreamName(name_);
  return e;
}

OmbHandle cFileSource::Detach() {
  if (!HasHandle()) return OmbInvalidHandle();
  const OmbHandle file = handle_;
  FileSeek(file, static_cast<int32_t>(rangeStart_));
  EmptyBuffer();
  ownsHandle_ = 0;
  handle_ = OmbInvalidHandle();
  return file;
}

uint32_t cFileSource::RangeAllows(uint32_t want) const {
  if (rangeLength_ == 0) return want;
  const uint64_t end = uint64_t{rangeStart_} + rangeLength_;
  const uint64_t left = end > position_ ? end - position_ : 0;
  return static_cast<uint32_t>(std::min<uint64_t>(want, left));
}

LibError cFileSource::Read(void* buffer, uint32_t n) {
  if (n == 0) return LibOk;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  if (remaining_ >= n) {
    std::memcpy(out, cursor_, n);
    cursor_ += n;
    remaining_ -= n;
    position_ += n;
    return LibOk;
  }
  if (remaining_ != 0) {
    std::memcpy(out, cursor_, remaining_);
    out += remaining_;
    n -= remaining_;
    position_ += remaining_;
  }
  EmptyBuffer();
  if (!buffer_ || !HasHandle()) return ErrEndOfFile;
  // Reads are positional (at position_, not at the handle's current
  // position): two sources over one handle, such as two channels streaming
  // one file, would otherwise read each other's bytes. Large requests go
  // straight to the caller's buffer in whole chunks (all of them in one
  // platform read: the same bytes and result as one chunk at a time, with
  // fewer calls).
  while (n >= kBufferSize) {
    const uint32_t whole = std::min<uint32_t>(n / kBufferSize, 1u << 14) * kBufferSize;
    const uint32_t chunk = RangeAllows(whole);
    if (chunk == 0) return ErrEndOfFile;
    const int32_t got = std::max(FileReadAt(handle_, out, chunk, position_), 0);
    position_ += static_cast<uint32_t>(got);
    out += got;
    n -= static_cast<uint32_t>(got);
    if (static_cast<uint32_t>(got) < whole) return ErrEndOfFile;
  }
  if (n == 0) return LibOk;
  const uint32_t chunk = RangeAllows(kBufferSize);
  if (chunk == 0) return ErrEndOfFile;
  const uint32_t got = static_cast<uint32_t>(std::max(FileReadAt(handle_, buffer_, chunk, position_), 0));
  if (got < n) {
    std::memcpy(out, buffer_, got);
    position_ += got;
    return ErrEndOfFile;
  }
  std::memcpy(out, buffer_, n);
  cursor_ = buffer_ + n;
  remaining_ = got - n;
  position_ += n;
  return LibOk;
}

LibError cFileSource::ReadCount(void* buffer, uint32_t n, uint32_t* count) {
  const uint32_t before = position_;
  const LibError e = Read(buffer, n);
  if (count) *count = position_ - before;
  return e;
}

LibError cFileSource::ReadByte(uint8_t* out) {
  if (remaining_ == 0) return Read(out, 1);
  *out = *cursor_++;
  --remaining_;
  ++position_;
  return LibOk;
}

uint32_t cFileSource::Tell() { return position_ - rangeStart_; }

uint32_t cFileSource::GetSize() { return rangeLength_; }

uint32_t cFileSource::Seek(int32_t offset, uint32_t origin) {
  int64_t target = 0;
  switch (origin) {
    case SeekStart:
      target = int64_t{rangeStart_} + offset;
      break;
    case SeekCurrent:
      if (offset == 0) return Tell();
      if (offset > 0 && remaining_ >= static_cast<uint32_t>(offset)) {
        cursor_ += offset;
        remaining_ -= static_cast<uint32_t>(offset);
        position_ += static_cast<uint32_t>(offset);
        return Tell();
      }
      if (offset < 0 && remaining_ != 0 && cursor_ - buffer_ >= -int64_t{offset}) {
        cursor_ += offset;
        remaining_ += static_cast<uint32_t>(-int64_t{offset});
        position_ -= static_cast<uint32_t>(-int64_t{offset});
        return Tell();
      }
      target = int64_t{position_} + offset;
      break;
    case SeekEnd:
      target = int64_t{rangeStart_} + rangeLength_ + offset;
      break;
    default:
      // An unknown origin keeps the position: moving the handle while the
      // buffer still held bytes would hand them out as if read from there.
      return Tell();
  }
  EmptyBuffer();
  target = std::max<int64_t>(target, rangeStart_);
  if (rangeLength_ != 0) target = std::min<int64_t>(target, int64_t{rangeStart_} + rangeLength_);
  target = std::min<int64_t>(target, INT32_MAX);
  if (!HasHandle()) return Tell();
  const uint32_t at = FileSeek(handle_, static_cast<int32_t>(target));
  if (at != UINT32_MAX) position_ = at;
  return Tell();
}

const char* cFileSource::GetName() { return name_; }
