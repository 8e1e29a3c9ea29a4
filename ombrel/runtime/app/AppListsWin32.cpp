// The per-thread app lists in a system thread-local storage slot, allocated
// on first need (process attach or the first list made).
#include <windows.h>

#include "app/AppLists.h"
#include "app/AppListsCommon.h"
#include "palette/PaletteApi.h"
#include "palette/PaletteContext.h"

namespace {

DWORD g_slot = TLS_OUT_OF_INDEXES;

bool EnsureSlot() {
  if (g_slot == TLS_OUT_OF_INDEXES) g_slot = TlsAlloc();
  return g_slot != TLS_OUT_OF_INDEXES;
}

}  // namespace

cHandleList* CurrentAppList() {
  if (g_slot == TLS_OUT_OF_INDEXES) return nullptr;
  return static_cast<cHandleList*>(TlsGetValue(g_slot));
}

cHandleList* CurrentAppListOrCreate() {
  if (!EnsureSlot()) return nullptr;
  if (cHandleList* list = CurrentAppList()) return list;
  cHandleList* list = NewAppList();
  if (list == nullptr) return nullptr;
  if (!TlsSetValue(g_slot, list)) {
    DeleteAppList(list);
    return nullptr;
  }
  return list;
}

void AppListThreadAttach() { CurrentAppListOrCreate(); }

void EnsureThreadStarted() {
  bool started = false;
  {
    std::lock_guard<std::mutex> guard(PaletteLock());
    started = FindThreadContext() != nullptr;
  }
  // The same palette start as the library's thread notification; the
  // thread's end notification, which every thread gets, balances it. The
  // list is made with the first app.
  if (!started) ReleasePalette(PaletteStartup());
}

void AppListThreadDetach() {
  cHandleList* list = CurrentAppList();
  if (list == nullptr) return;
  TlsSetValue(g_slot, nullptr);
  DeleteAppList(list);
}

void AppListProcessDetach() {
  if (g_slot == TLS_OUT_OF_INDEXES) return;
  TlsFree(g_slot);
  g_slot = TLS_OUT_OF_INDEXES;
}
