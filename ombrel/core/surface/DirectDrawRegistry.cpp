#include "surface/DirectDrawRegistry.h"

#include <mutex>
#include <vector>

#include "surface/SurfaceLibraryApi.h"

namespace {

std::vector<DirectDrawRecord>& Records() {
  // Never destroyed: threads may still ask while the process unloads.
  static auto* records = new std::vector<DirectDrawRecord>;
  return *records;
}

DirectDrawRecord* Find(uint32_t id) {
  for (DirectDrawRecord& r : Records())
    if (r.threadId == id) return &r;
  return nullptr;
}

}  // namespace

void RegisterThreadDirectDraw(void* directDraw, void* primary) {
  std::lock_guard<std::recursive_mutex> guard(SurfaceLibraryLock());
  const uint32_t id = CurrentThreadId();
  if (DirectDrawRecord* r = Find(id)) {
    r->directDraw = directDraw;
    r->primary = primary;
    return;
  }
  Records().push_back(DirectDrawRecord{id, directDraw, primary});
}

void UnregisterThreadDirectDraw() {
  std::lock_guard<std::recursive_mutex> guard(SurfaceLibraryLock());
  std::vector<DirectDrawRecord>& records = Records();
  const uint32_t id = CurrentThreadId();
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].threadId == id) {
      records.erase(records.begin() + std::ptrdiff_t(i));
      break;
    }
  }
  if (records.empty()) records.shrink_to_fit();
}

void* GetThreadDirectDraw() {
  std::lock_guard<std::recursive_mutex> guard(SurfaceLibraryLock());
  const DirectDrawRecord* r = Find(CurrentThreadId());
  return r != nullptr ? r->directDraw : nullptr;
}

void* GetThreadPrimary() {
  std::lock_guard<std::recursive_mutex> guard(SurfaceLibraryLock());
  const DirectDrawRecord* r = Find(CurrentThreadId());
  return r != nullptr ? r->primary : nullptr;
}

int32_t DirectDrawRecordCount() {
  std::lock_guard<std::recursive_mutex> guard(SurfaceLibraryLock());
  return int32_t(Records().size());
}
