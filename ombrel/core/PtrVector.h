// A growable array of pointers: a count and a heap array whose capacity is the
// count rounded up to 16. Slots past the count always hold null.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

// Exported: its 8-byte layout is part of the interface. Copies are deep.
class cPtrVector {
 public:
  static constexpr int32_t kMaxCount = 0x1FFFFFFF;

  cPtrVector();
  cPtrVector(const cPtrVector& other);
  ~cPtrVector();
  cPtrVector& operator=(const cPtrVector& other);

  // Count n in 0..GetMaxCount(); 0 frees the items. False leaves the vector as it was.
  int SetSize(int32_t n) OMB_EXPORT_AS(cPtrVector_SetSize);
  // The new item's index, -1 when the vector cannot grow.
  int32_t Add(void* value) OMB_EXPORT_AS(cPtrVector_Add);
  // Null for an index outside 0..count-1.
  void* GetAt(int32_t index) const OMB_EXPORT_AS(cPtrVector_GetAt);
  void* ElementAt(int32_t index) const OMB_EXPORT_AS(cPtrVector_ElementAt);
  void SetAt(int32_t index, void* value) OMB_EXPORT_AS(cPtrVector_SetAt);
  // Grows the count to index + 1 when needed; false for a negative index.
  int SetAtGrow(int32_t index, void* value) OMB_EXPORT_AS(cPtrVector_SetAtGrow);
  // Inserts n copies of value before index (index may equal the count).
  int InsertAt(int32_t index, void* value, int32_t n) OMB_EXPORT_AS(cPtrVector_InsertAt);
  // Removes up to n items from index on; returns the new count.
  int32_t RemoveRange(int32_t index, int32_t n) OMB_EXPORT_AS(cPtrVector_RemoveRange);
  // Stores null at index when it is below the count; returns index.
  int32_t ClearAt(int32_t index) OMB_EXPORT_AS(cPtrVector_ClearAt);
  void RemoveAll() OMB_EXPORT_AS(cPtrVector_RemoveAll);
  int32_t GetCount() const OMB_EXPORT_AS(cPtrVector_GetCount);
  void** GetData() const OMB_EXPORT_AS(cPtrVector_GetData);
  static int32_t GetMaxCount() OMB_EXPORT_AS(cPtrVector_GetMaxCount);

 private:
  bool InRange(int32_t index) const { return static_cast<uint32_t>(index) < static_cast<uint32_t>(count_); }
  bool CopyFrom(const cPtrVector& other);
  static void CheckLayout();

  int32_t count_ = 0;
  void** items_ = nullptr;
};

// The typed form of cPtrVector for sprite links: same layout, same members.
class cSpriteVector : public cPtrVector {};
OMB_PIN_SIZE(cSpriteVector, 8);
