// A reader over a memory block, owned (freed with `free`) or the caller's.
// Exported: 24 bytes, fields in this order.
#pragma once

#include "stream/cByteSource.h"

class cMemorySource : public cByteSource {
 public:
  cMemorySource() = default;
  // A copy of a source that owns its block reads its own copy of the block.
  cMemorySource(const cMemorySource& other);
  cMemorySource& operator=(const cMemorySource& other);
  ~cMemorySource();

  static cMemorySource* New() OMB_EXPORT_AS(cMemorySource_New);

  LibError Attach(const void* data, uint32_t size) OMB_EXPORT_AS(cMemorySource_Attach);
  // An owned block of `size` bytes for the caller to fill, then read back.
  LibError Allocate(uint32_t size) OMB_EXPORT_AS(cMemorySource_Allocate);
  uint8_t* Data() const { return base_; }

  void Destruct(uint32_t flags) override;
  LibError ReadCount(void* buffer, uint32_t n, uint32_t* count) override OMB_EXPORT_AS(cMemorySource_ReadCount);
  LibError Read(void* buffer, uint32_t n) override OMB_EXPORT_AS(cMemorySource_Read);
  LibError ReadByte(uint8_t* out) override OMB_EXPORT_AS(cMemorySource_ReadByte);
  uint32_t Tell() override OMB_EXPORT_AS(cMemorySource_Tell);
  uint32_t GetSize() override OMB_EXPORT_AS(cMemorySource_GetSize);
  uint32_t Seek(int32_t offset, uint32_t origin) override OMB_EXPORT_AS(cMemorySource_Seek);
  LibError AttachHandle(OmbHandle file) override OMB_EXPORT_AS(cMemorySource_AttachHandle);
  OmbHandle Detach() override OMB_EXPORT_AS(cMemorySource_Detach);
  // The block is read in place: the result points into it.
  void* ReadAlloc(uint32_t n) override OMB_EXPORT_AS(cMemorySource_ReadAlloc);
  void FreeAlloc(void* block) override OMB_EXPORT_AS(cMemorySource_FreeAlloc);
  const char* GetName() override OMB_EXPORT_AS(cMemorySource_GetName);

 private:
  void Release();
  void CopyFrom(const cMemorySource& other);
  static void CheckLayout();

  uint8_t* base_ = nullptr;
  uint8_t* cursor_ = nullptr;
  uint32_t position_ = 0;   // bytes already read
  uint32_t remaining_ = 0;
  int32_t ownsBlock_ = 0;
};
OMB_PIN_SIZE(cMemorySource, 24);
