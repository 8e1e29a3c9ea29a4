// A buffered reader over an operating-system file handle, optionally bounded
// to a range of the file. It reads at its own position, so sources sharing a
// handle never take each other's bytes. Exported: 40 bytes, fields in this
// order.
#pragma once

#include "stream/cByteSource.h"

class cFileSource : public cByteSource {
 public:
  static constexpr uint32_t kBufferSize = 16384;

  cFileSource();
  // A copy reads the same handle without owning it, from its own copy of the
  // buffer and name.
  cFileSource(const cFileSource& other);
  cFileSource& operator=(const cFileSource& other);
  ~cFileSource();

  static cFileSource* New() OMB_EXPORT_AS(cFileSource_New);

  LibError Open(const char* path) OMB_EXPORT_AS(cFileSource_Open);
  LibError OpenPart(const char* path, uint32_t start, uint32_t length) OMB_EXPORT_AS(cFileSource_OpenPart);
  LibError OpenHandle(OmbHandle file) OMB_EXPORT_AS(cFileSource_OpenHandle);
  LibError OpenHandlePart(OmbHandle file, uint32_t start, uint32_t length)
      OMB_EXPORT_AS(cFileSource_OpenHandlePart);
  LibError AttachRange(OmbHandle file, uint32_t start, uint32_t length)
      OMB_EXPORT_AS(cFileSource_AttachRange);

  void Destruct(uint32_t flags) override;
  LibError ReadCount(void* buffer, uint32_t n, uint32_t* count) override OMB_EXPORT_AS(cFileSource_ReadCount);
  LibError Read(void* buffer, uint32_t n) override OMB_EXPORT_AS(cFileSource_Read);
  LibError ReadByte(uint8_t* out) override OMB_EXPORT_AS(cFileSource_ReadByte);
  uint32_t Tell() override OMB_EXPORT_AS(cFileSource_Tell);
  uint32_t GetSize() override OMB_EXPORT_AS(cFileSource_GetSize);
  uint32_t Seek(int32_t offset, uint32_t origin) override OMB_EXPORT_AS(cFileSource_Seek);
  LibError AttachHandle(OmbHandle file) override OMB_EXPORT_AS(cFileSource_AttachHandle);
  OmbHandle Detach() override OMB_EXPORT_AS(cFileSource_Detach);
  const char* GetName() override OMB_EXPORT_AS(cFileSource_GetName);

  // Bytes read but not yet handed out (tests and benchmarks watch the buffer).
  uint32_t Buffered() const { return remaining_; }

 private:
  bool HasHandle() const { return handle_ != OmbInvalidHandle(); }
  void EmptyBuffer() {
    cursor_ = buffer_;
    remaining_ = 0;
  }
  void CloseOwnedHandle();
  LibError OpenAndAttach(const char* path, bool whole, uint32_t start, uint32_t length);
  bool EnsureBuffer();
  // How many of `want` bytes the range still allows (all when unbounded).
  uint32_t RangeAllows(uint32_t want) const;
  void CopyFrom(const cFileSource& other);
  void Release();
  static void CheckLayout();

  OmbHandle handle_;
  uint32_t position_ = 0;  // absolute file position of the caller's next byte
  uint8_t* buffer_ = nullptr;
  uint8_t* cursor_ = nullptr;
  uint32_t remaining_ = 0;
  int32_t ownsHandle_ = 0;
  char* name_ = nullptr;
  uint32_t rangeStart_ = 0;
  uint32_t rangeLength_ = 0;  // 0: reads are not bounded by a length
};
OMB_PIN_SIZE(cFileSource, 40);
