#include "plugin/cPluginRegistry.h"

#include <cstddef>
#include <cstring>
#include <mutex>
#include <new>
#include <set>

#include "ExportedTable.h"
#include "Memory.h"
#include "PtrArray.h"
#include "stream/cByteSource.h"

OMB_EXPORT_VFTABLE(cPluginRegistry, "_ZTV15cPluginRegistry")

namespace {

// What queries of absent optional exports return: an empty text and an empty
// list at once.
const char* const kEmptyList[2] = {nullptr, nullptr};
const char* EmptyText() { return reinterpret_cast<const char*>(kEmptyList); }

char* CopyText(const char* text, size_t length) {
  void* block = nullptr;
  if (!MemAlloc(static_cast<uint32_t>(length + 1), &block)) return nullptr;
  std::memcpy(block, text, length);
  static_cast<char*>(block)[length] = '\0';
  return static_cast<char*>(block);
}

PluginList* NewList() {
  void* block = nullptr;
  return MemCalloc(sizeof(PluginList), &block) ? static_cast<PluginList*>(block) : nullptr;
}

// Libraries that made a filter object stay loaded until the process ends:
// plug-in objects release themselves through their own code (slot 1), so the
// library never learns when the last one is gone, and a decoder refilled by
// the sound timer after its library was freed would run unmapped code.
struct KeptLibraries {
  std::mutex lock;
  std::set<void*> modules;
};
KeptLibraries& Kept() {
  static KeptLibraries* kept = new KeptLibraries();  // lives to process exit
  return *kept;
}
void KeepLoaded(void* module) {
  std::lock_guard<std::mutex> hold(Kept().lock);
  Kept().modules.insert(module);
}
bool IsKeptLoaded(void* module) {
  std::lock_guard<std::mutex> hold(Kept().lock);
  return Kept().modules.count(module) != 0;
}

// Without a platform the library stays loaded.
void FreeRecord(PluginRecord* record, PluginPlatform* platform) {
  if (record->module && platform && !IsKeptLoaded(record->module)) platform->Free(record->module);
  void* path = record->path;
  if (path) MemFree(&path);
  void* block = record;
  MemFree(&block);
}

}  // namespace

void cPluginRegistry::CheckLayout() { OMB_PIN_OFFSET(cPluginRegistry, list_, 4); }

cPluginRegistry::cPluginRegistry(const cPluginRegistry& other) { CopyFrom(other); }

cPluginRegistry& cPluginRegistry::operator=(const cPluginRegistry& other) {
  if (this != &other) {
    UnloadWith(SystemPlugins());
    CopyFrom(other);
  }
  return *this;
}

cPluginRegistry::~cPluginRegistry() { FreeList(nullptr); }

void cPluginRegistry::CopyFrom(const cPluginRegistry& other) {
  list_ = nullptr;
  if (!other.list_) return;
  list_ = NewList();
  if (!list_) return;
  for (int32_t i = 0; i < other.list_->count; ++i) {
    const PluginRecord& from = *other.list_->items[i];
    void* copy = nullptr;
    if (!MemAlloc(sizeof(PluginRecord), &copy)) continue;
    PluginRecord* record = static_cast<PluginRecord*>(copy);
    *record = from;
    if (from.path) {
      record->path = CopyText(from.path, std::strlen(from.path));
      record->module = record->path ? SystemPlugins().Load(record->path) : nullptr;
      if (!record->module) {
        FreeRecord(record, &SystemPlugins());
        continue;
      }
    }
    if (!Insert(list_->count, record)) FreeRecord(record, &SystemPlugins());
  }
}

void* cPluginRegistry::New(size_t size) {
  void* block = nullptr;
  return MemAlloc(static_cast<uint32_t>(size), &block) ? block : nullptr;
}

void cPluginRegistry::FreeStorage(void* self) { MemFree(&self); }

void cPluginRegistry::Destruct(uint32_t flags) {
  this->~cPluginRegistry();
  if (flags & 1) FreeStorage(this);
}

void cPluginRegistry::Delete() { Destruct(1); }

OMB_FLAT cPluginRegistry* OMB_STDCALL CreatePluginRegistry() {
  void* block = nullptr;
  if (!MemAlloc(sizeof(cPluginRegistry), &block)) return nullptr;
  return new (block) cPluginRegistry();
}

bool cPluginRegistry::JoinPath(const char* folder, const char* name, char (&out)[kMaxPattern]) {
  const size_t folderLength = std::strlen(folder);
  const size_t nameLength = std::strlen(name);
  const bool separator = folderLength != 0 && folder[folderLength - 1] != '\\';
  const size_t total = folderLength + (separator ? 1 : 0) + nameLength;
  if (total >= kMaxPattern) return false;
  std::memcpy(out, folder, folderLength);
  if (separator) out[folderLength] = '\\';
  std::memcpy(out + folderLength + (separator ? 1 : 0), name, nameLength);
  out[total] = '\0';
  return true;
}

PluginRecord* cPluginRegistry::At(int32_t index) const {
  if (!list_ || index < 0 || index >= list_->count) return nullptr;
  return list_->items[index];
}

bool cPluginRegistry::Insert(int32_t index, PluginRecord* record) {
  void** items = reinterpret_cast<void**>(list_->items);
  if (!PtrArrayGrow(&items, 0, &list_->capacity, list_->count + 1)) return false;
  list_->items = reinterpret_cast<PluginRecord**>(items);
  std::memmove(list_->items + index + 1, list_->items + index,
               sizeof(PluginRecord*) * static_cast<size_t>(list_->count - index));
  list_->items[index] = record;
  ++list_->count;
  return true;
}

bool cPluginRegistry::InsertBuiltIn(int32_t index, const PluginRecord& record) {
  if (!list_ || index < 0 || index > list_->count) return false;
  void* block = nullptr;
  if (!MemAlloc(sizeof(PluginRecord), &block)) return false;
  PluginRecord* copy = static_cast<PluginRecord*>(block);
  *copy = record;
  copy->module = nullptr;
  copy->path = nullptr;
  if (Insert(index, copy)) return true;
  MemFree(&block);
  return false;
}

void cPluginRegistry::Load(const char* folder, const char* pattern, PluginUser user) {
  LoadWith(SystemPlugins(), folder, pattern, user);
}

void cPluginRegistry::LoadWith(PluginPlatform& platform, const char* folder, const char* pattern,
                               PluginUser user) {
  // Virtually over the system's libraries, so a sound registry counts out.
  if (list_) {
    if (&platform == &SystemPlugins()) Unload();
    else UnloadWith(platform);
  }
  list_ = NewList();
  if (!list_ || !folder) return;
  char search[kMaxPattern];
  if (!JoinPath(folder, pattern ? pattern : "", search)) return;
  for (const std::string& name : platform.Find(search)) {
    char path[kMaxPattern];
    if (!JoinPath(folder, name.c_str(), path)) continue;
    void* module = platform.Load(path);
    if (!module) continue;
    PluginRecord record{};
    record.module = module;
    record.user = user;
    record.createFilter = reinterpret_cast<CreateFilterFn>(platform.Symbol(module, "CreateFilter"));
    record.getFilterName = reinterpret_cast<GetFilterNameFn>(platform.Symbol(module, "GetFilterName"));
    record.getFilterId = reinterpret_cast<GetFilterIdFn>(platform.Symbol(module, "GetFilterID"));
    record.getFilterExts = reinterpret_cast<GetFilterExtsFn>(platform.Symbol(module, "GetFilterExts"));
    record.getDependencies = reinterpret_cast<GetDependenciesFn>(platform.Symbol(module, "GetDependencies"));
    record.canReadFile = reinterpret_cast<CanReadFileFn>(platform.Symbol(module, "CanReadFile"));
    if (!record.createFilter || !record.getFilterName || !record.getFilterId) {
      platform.Free(module);
      continue;
    }
    const auto getPriority = reinterpret_cast<GetPriorityFn>(platform.Symbol(module, "GetPriority"));
    record.priority = getPriority ? getPriority() : kDefaultPluginPriority;
    record.path = CopyText(path, std::strlen(path));
    void* recordBlock = nullptr;
    if (!record.path || !MemAlloc(sizeof(PluginRecord), &recordBlock)) {
      if (recordBlock) MemFree(&recordBlock);
      platform.Free(module);
      void* path = record.path;
      if (path) MemFree(&path);
      continue;
    }
    PluginRecord* kept = static_cast<PluginRecord*>(recordBlock);
    *kept = record;
    // Before the first record of greater or equal priority: ascending, and a
    // newcomer goes before its equals.
    int32_t at = 0;
    while (at < list_->count && list_->items[at]->priority < kept->priority) ++at;
    if (!Insert(at, kept)) FreeRecord(kept, &platform);
  }
}

void cPluginRegistry::Unload() { UnloadWith(SystemPlugins()); }

void cPluginRegistry::UnloadWith(PluginPlatform& platform) { FreeList(&platform); }

void cPluginRegistry::FreeList(PluginPlatform* platform) {
  if (!list_) return;
  for (int32_t i = 0; i < list_->count; ++i) FreeRecord(list_->items[i], platform);
  void* items = list_->items;
  if (items) MemFree(&items);
  void* block = list_;
  MemFree(&block);
  list_ = nullptr;
}

void cPluginRegistry::Remove(int32_t index) { RemoveWith(SystemPlugins(), index); }

void cPluginRegistry::RemoveWith(PluginPlatform& platform, int32_t index) {
  PluginRecord* record = At(index);
  if (!record) return;
  FreeRecord(record, &platform);
  void** items = reinterpret_cast<void**>(list_->items);
  PtrArrayRemoveAt(&items, &list_->count, &list_->capacity, index);
  list_->items = reinterpret_cast<PluginRecord**>(items);
}

int32_t cPluginRegistry::GetCount() { return list_ ? list_->count : 0; }

const char* cPluginRegistry::GetName(int32_t index) {
  const PluginRecord* r = At(index);
  return r && r->getFilterName ? r->getFilterName() : EmptyText();
}

const char* cPluginRegistry::GetPath(int32_t index) {
  const PluginRecord* r = At(index);
  return r && r->path ? r->path : EmptyText();
}

uint32_t cPluginRegistry::GetID(int32_t index) {
  const PluginRecord* r = At(index);
  return r && r->getFilterId ? r->getFilterId() : 0;
}

int32_t cPluginRegistry::FindByID(uint32_t id) {
  for (int32_t i = 0; i < GetCount(); ++i)
    if (list_->items[i]->getFilterId && list_->items[i]->getFilterId() == id) return i;
  return -1;
}

const char* const* cPluginRegistry::GetExts(int32_t index) {
  const PluginRecord* r = At(index);
  if (!r || !r->getFilterExts) return kEmptyList;
  const char* const* exts = r->getFilterExts();
  return exts ? exts : kEmptyList;
}

void* cPluginRegistry::GetDependencies(int32_t index) {
  const PluginRecord* r = At(index);
  return r && r->getDependencies ? r->getDependencies() : const_cast<char**>(kEmptyList);
}

int32_t cPluginRegistry::CanRead(int32_t index, cByteSource* source) {
  const PluginRecord* r = At(index);
  if (!r || !r->canReadFile || !source) return 0;
  const uint32_t at = source->Tell();
  const int32_t answer = r->canReadFile(source);
  if (source->Tell() != at) source->Seek(static_cast<int32_t>(at), SeekStart);
  return answer;
}

void* cPluginRegistry::CreateForStream(cByteSource* source) {
  if (!source) return nullptr;
  for (int32_t i = 0; i < GetCount(); ++i) {
    if (!CanRead(i, source)) continue;
    if (void* filter = CreateAt(i)) return filter;
  }
  return nullptr;
}

void* cPluginRegistry::CreateByID(uint32_t id) {
  for (int32_t i = 0; i < GetCount(); ++i) {
    const PluginRecord* r = list_->items[i];
    if (!r->getFilterId || r->getFilterId() != id) continue;
    if (void* filter = CreateAt(i)) return filter;
  }
  return nullptr;
}

void* cPluginRegistry::CreateAt(int32_t index) {
  const PluginRecord* r = At(index);
  if (!r || !r->createFilter) return nullptr;
  void* filter = r->createFilter(r->user);
  if (filter && r->module) KeepLoaded(r->module);
  return filter;
}
