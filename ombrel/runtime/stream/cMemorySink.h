// A writer into a memory block: an owned block that grows in steps of the
// growth block, or a caller's fixed block. Exported: 28 bytes, fields in
// this order.
#pragma once

#include "stream/cByteSink.h"

class cMemorySink : public cByteSink {
 public:
  static constexpr uint32_t kDefaultGrowth = 512;

  cMemorySink() = default;
  // A copy of a sink that owns its block writes into its own copy of it.
  cMemorySink(const cMemorySink& other);
  cMemorySink& operator=(const cMemorySink& other);
  ~cMemorySink();

  static cMemorySink* New();

  LibError Allocate(uint32_t size) OMB_EXPORT_AS(cMemorySink_Allocate);
  LibError AttachFixed(void* buffer, uint32_t size) OMB_EXPORT_AS(cMemorySink_AttachFixed);
  void* DetachBuffer() OMB_EXPORT_AS(cMemorySink_DetachBuffer);
  static void FreeBuffer(void* block) OMB_EXPORT_AS(cMemorySink_FreeBuffer);
  uint8_t* Data() const { return base_; }
  uint32_t Capacity() const { return capacity_; }

  void Destruct(uint32_t flags) override;
  LibError Write(const void* buffer, uint32_t n) override OMB_EXPORT_AS(cMemorySink_Write);
  LibError Flush() override OMB_EXPORT_AS(cMemorySink_Flush);
  uint32_t GetSize() override OMB_EXPORT_AS(cMemorySink_GetSize);
  uint32_t Tell() override OMB_EXPORT_AS(cMemorySink_Tell);
  uint32_t Seek(int32_t offset, uint32_t origin) override OMB_EXPORT_AS(cMemorySink_Seek);
  const char* GetName() override OMB_EXPORT_AS(cMemorySink_GetName);

 private:
  void Release();
  // The owned block made or resized to `bytes`; false (nothing changed) when it cannot be.
  bool Resize(uint32_t bytes);
  void CopyFrom(const cMemorySink& other);
  static void CheckLayout();

  uint8_t* base_ = nullptr;
  uint8_t* cursor_ = nullptr;
  uint32_t capacity_ = 0;
  uint32_t size_ = 0;  // the highest end ever written
  uint32_t growth_ = kDefaultGrowth;
  int32_t ownedGrowable_ = 1;
};
OMB_PIN_SIZE(cMemorySink, 28);
