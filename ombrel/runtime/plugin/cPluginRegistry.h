// The list of plug-in libraries found in a folder by a file pattern, in
// ascending priority order, answering questions about each plug-in and
// creating filter objects by index, identifier or stream content. Exported
// (8 bytes: table pointer and list), slot order below (MSVC object model:
// slot 0 `Destruct(flags)`, slot 3 `Delete()`).
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "plugin/PluginPlatform.h"
#include "plugin/PluginRecord.h"

class cByteSource;

class cPluginRegistry {
 public:
  static constexpr size_t kMaxPattern = 260;

  cPluginRegistry() = default;
  // A copy loads its libraries again by path, so each copy's Unload frees
  // only its own references.
  cPluginRegistry(const cPluginRegistry& other);
  cPluginRegistry& operator=(const cPluginRegistry& other);
  // Frees the list but leaves the libraries loaded: owners call Unload first.
  ~cPluginRegistry();

  virtual void Destruct(uint32_t flags);                                                       // 0
  virtual void Load(const char* folder, const char* pattern, PluginUser user) OMB_EXPORT_AS(cPluginRegistry_Load);  // 1
  // Frees the records and their libraries, except libraries that ever made
  // a filter object (`CreateAt`): those stay loaded until the process ends.
  virtual void Unload() OMB_EXPORT_AS(cPluginRegistry_Unload);                                 // 2
  virtual void Delete() OMB_EXPORT_AS(cPluginRegistry_Delete);                                 // 3
  virtual int32_t GetCount() OMB_EXPORT_AS(cPluginRegistry_GetCount);                          // 4
  virtual const char* GetName(int32_t index) OMB_EXPORT_AS(cPluginRegistry_GetName);           // 5
  virtual const char* GetPath(int32_t index) OMB_EXPORT_AS(cPluginRegistry_GetPath);           // 6
  virtual uint32_t GetID(int32_t index) OMB_EXPORT_AS(cPluginRegistry_GetID);                  // 7
  virtual int32_t FindByID(uint32_t id) OMB_EXPORT_AS(cPluginRegistry_FindByID);               // 8
  virtual const char* const* GetExts(int32_t index) OMB_EXPORT_AS(cPluginRegistry_GetExts);    // 9
  virtual void* GetDependencies(int32_t index) OMB_EXPORT_AS(cPluginRegistry_GetDependencies); // 10
  virtual int32_t CanRead(int32_t index, cByteSource* source) OMB_EXPORT_AS(cPluginRegistry_CanRead);  // 11
  virtual void* CreateForStream(cByteSource* source) OMB_EXPORT_AS(cPluginRegistry_CreateForStream);  // 12
  virtual void* CreateByID(uint32_t id) OMB_EXPORT_AS(cPluginRegistry_CreateByID);             // 13
  virtual void* CreateAt(int32_t index) OMB_EXPORT_AS(cPluginRegistry_CreateAt);               // 14
  virtual void Remove(int32_t index) OMB_EXPORT_AS(cPluginRegistry_Remove);                    // 15

  // Load and Unload over a given platform (the slots use the system's).
  void LoadWith(PluginPlatform& platform, const char* folder, const char* pattern, PluginUser user);
  void UnloadWith(PluginPlatform& platform);
  void RemoveWith(PluginPlatform& platform, int32_t index);
  // Puts a record made by the library itself (no module, no path) at index.
  bool InsertBuiltIn(int32_t index, const PluginRecord& record);
  bool HasList() const { return list_ != nullptr; }

 protected:
  // The search pattern: folder, one "\" when the folder is not empty and does
  // not end in one, then the pattern; false when it would not fit MAX_PATH.
  static bool JoinPath(const char* folder, const char* name, char (&out)[kMaxPattern]);
  PluginRecord* At(int32_t index) const;
  bool Insert(int32_t index, PluginRecord* record);
  void CopyFrom(const cPluginRegistry& other);
  static void* New(size_t size);
  static void FreeStorage(void* self);

 private:
  static void CheckLayout();
  // Frees the records and the list; the libraries through the platform, or
  // none without one.
  void FreeList(PluginPlatform* platform);

  PluginList* list_ = nullptr;
};
OMB_PIN_SIZE(cPluginRegistry, 8);

// A new empty registry on the heap (released through its Delete), or null.
OMB_FLAT cPluginRegistry* OMB_STDCALL CreatePluginRegistry();
