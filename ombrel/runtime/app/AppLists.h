// Each thread's list of its application objects, kept in thread-local
// storage. A window is found by its handle only among the calling thread's
// applications, so apps and windows stay with the thread that made them.
#pragma once

class cHandleList;

// The calling thread's list, or null when it has none yet.
cHandleList* CurrentAppList();
// The calling thread's list, made (empty) and stored when it has none; null
// only when memory runs out.
cHandleList* CurrentAppListOrCreate();

// Thread start: gives the thread an empty list. Thread end: destroys and
// frees its list (apps still listed are not destroyed) and clears the slot.
void AppListThreadAttach();
void AppListThreadDetach();
// A thread that was running before the library loaded never had its start
// notification, so it has no palette context: it gets one here, on its first
// app. Natively there is no thread start to miss.
void EnsureThreadStarted();
// Library unload: gives the storage slot back.
void AppListProcessDetach();
