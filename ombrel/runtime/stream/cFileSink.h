// A buffered writer over an operating-system file handle. Exported: 36 bytes,
// fields in this order.
#pragma once

#include "FileIo.h"
#include "stream/cByteSink.h"

class cFileSink : public cByteSink {
 public:
  cFileSink();
  // A copy writes to the same handle without owning it, through an empty
  // buffer of its own: bytes held by the original are written once, by it.
  cFileSink(const cFileSink& other);
  cFileSink& operator=(const cFileSink& other);
  ~cFileSink();

  // A heap object (MemAlloc block) released through Destruct(1).
  static cFileSink* New();

  LibError Create(const char* path, uint32_t bufferSize) OMB_EXPORT_AS(cFileSink_Create);
  LibError Attach(OmbHandle file, uint32_t bufferSize) OMB_EXPORT_AS(cFileSink_Attach);
  // Forgets the handle without closing it (the caller closes it).
  OmbHandle ReleaseHandle();
  uint32_t Held() const { return held_; }
  bool Buffering() const { return bufferingOn_ != 0; }

  void Destruct(uint32_t flags) override;
  LibError Write(const void* buffer, uint32_t n) override OMB_EXPORT_AS(cFileSink_Write);
  LibError Flush() override OMB_EXPORT_AS(cFileSink_Flush);
  uint32_t GetSize() override OMB_EXPORT_AS(cFileSink_GetSize);
  uint32_t Tell() override OMB_EXPORT_AS(cFileSink_Tell);
  uint32_t Seek(int32_t offset, uint32_t origin) override OMB_EXPORT_AS(cFileSink_Seek);
  const char* GetName() override OMB_EXPORT_AS(cFileSink_GetName);

 private:
  bool HasHandle() const { return handle_ != OmbInvalidHandle(); }
  void Start(OmbHandle file, uint32_t bufferSize);
  void Release();
  void FreeBuffer();
  void CopyFrom(const cFileSink& other);
  static void CheckLayout();

  OmbHandle handle_;
  int32_t ownsHandle_ = 0;
  uint8_t* buffer_ = nullptr;
  uint8_t* cursor_ = nullptr;
  uint32_t held_ = 0;
  uint32_t bufferSize_ = 0;  // set by an attach
  int32_t bufferingOn_ = 1;
  char* name_ = nullptr;
};
OMB_PIN_SIZE(cFileSink, 36);
