// A doubly linked list of pointer values kept in one growable item array and
// addressed by 1-based handles (item indices). A handle stays valid until its
// item is removed; freed items go to the end of the free chain, so a handle
// number comes back as late as possible. Handle 0 means "no item".
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

struct HandleListItem {
  int32_t prev;
  int32_t next;
  void* value;
  int32_t inUse;
};
OMB_PIN_SIZE(HandleListItem, 16);

// Exported: its 32-byte layout is part of the interface. Copies are deep.
class cHandleList {
 public:
  static constexpr int32_t kDefaultGrowBy = 32;

  cHandleList();
  cHandleList(const cHandleList& other);
  ~cHandleList();
  cHandleList& operator=(const cHandleList& other);

  // Items added per growth; clamped to 2 or more (item 0 is never handed out).
  void SetGrowBy(int32_t step) OMB_EXPORT_AS(cHandleList_SetGrowBy);
  // True when a free item is available, growing the array if needed.
  int Grow() OMB_EXPORT_AS(cHandleList_Grow);

  int32_t AddTail(void* value) OMB_EXPORT_AS(cHandleList_AddTail);
  int32_t AddHead(void* value) OMB_EXPORT_AS(cHandleList_AddHead);
  // after 0: AddHead; after at or past the allocated count: AddTail; an
  // allocated item not in use (or a negative handle): 0.
  int32_t InsertAfter(int32_t after, void* value) OMB_EXPORT_AS(cHandleList_InsertAfter);
  int32_t InsertBefore(int32_t before, void* value) OMB_EXPORT_AS(cHandleList_InsertBefore);
  // Relinks handle right after `after` (0: as the first item).
  void MoveAfter(int32_t handle, int32_t after) OMB_EXPORT_AS(cHandleList_MoveAfter);
  void Remove(int32_t handle) OMB_EXPORT_AS(cHandleList_Remove);
  void RemoveAll() OMB_EXPORT_AS(cHandleList_RemoveAll);

  int32_t Find(void* value) const OMB_EXPORT_AS(cHandleList_Find);
  void* GetAt(int32_t handle) const OMB_EXPORT_AS(cHandleList_GetAt);
  void SetAt(int32_t handle, void* value) OMB_EXPORT_AS(cHandleList_SetAt);
  // Return the value of *handle and step *handle to the next (previous) item,
  // 0 at the end or when *handle is not an item in use.
  void* Next(int32_t* handle) const OMB_EXPORT_AS(cHandleList_Next);
  void* Prev(int32_t* handle) const OMB_EXPORT_AS(cHandleList_Prev);
  int32_t GetHead() const OMB_EXPORT_AS(cHandleList_GetHead);
  int32_t GetTail() const OMB_EXPORT_AS(cHandleList_GetTail);
  int32_t GetCount() const OMB_EXPORT_AS(cHandleList_GetCount);

 private:
  bool IsHandle(int32_t handle) const { return handle >= 1 && handle < allocated_; }
  bool InUse(int32_t handle) const { return IsHandle(handle) && items_[handle].inUse; }
  int32_t TakeFree(void* value);
  void LinkAfter(int32_t handle, int32_t after);  // after 0: at the head
  void Unlink(int32_t handle);
  bool CopyFrom(const cHandleList& other);
  static void CheckLayout();

  int32_t freeHead_ = 0;
  int32_t first_ = 0;
  int32_t freeTail_ = 0;
  int32_t last_ = 0;
  int32_t allocated_ = 0;
  int32_t freeCount_ = 0;  // counts item 0 too
  int32_t growBy_ = kDefaultGrowBy;
  HandleListItem* items_ = nullptr;
};
