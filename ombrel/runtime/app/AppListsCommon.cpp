#include "app/AppListsCommon.h"

#include <new>

#include "Memory.h"

cHandleList* NewAppList() {
  void* block = nullptr;
  if (!MemAlloc(sizeof(cHandleList), &block)) return nullptr;
  return new (block) cHandleList();
}

void DeleteAppList(cHandleList* list) {
  if (list == nullptr) return;
  list->~cHandleList();
  void* block = list;
  MemFree(&block);
}
