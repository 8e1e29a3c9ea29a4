// The per-thread app lists natively: a thread_local pointer. Threads give
// their list back with AppListThreadDetach, as the library's thread-end
// notification does on Windows.
#include "app/AppLists.h"
#include "app/AppListsCommon.h"

namespace {

thread_local cHandleList* t_list = nullptr;

}  // namespace

cHandleList* CurrentAppList() { return t_list; }

cHandleList* CurrentAppListOrCreate() {
  if (t_list == nullptr) t_list = NewAppList();
  return t_list;
}

void AppListThreadAttach() { CurrentAppListOrCreate(); }

void AppListThreadDetach() {
  DeleteAppList(t_list);
  t_list = nullptr;
}

void EnsureThreadStarted() {}

void AppListProcessDetach() {}
