// Creating and destroying application objects, and the library's build.
#include <new>

#include "Memory.h"
#include "app/AppApi.h"
#include "app/AppHooks.h"
#include "app/AppLists.h"
#include "app/AppPalette.h"
#include "bank/BankStore.h"
#include "palette/PaletteApi.h"
#include "surface/DepthCode.h"
#include "surface/cMemSurface.h"

namespace {

void SetInitialFields(AppObject* app, void* instance) {
  app->instance = instance;
  app->depth = kAppInitialDepth;
  app->mainVolume = kAppInitialVolume;
  app->channelCount = kAppChannels;
  for (SoundChannel& channel : app->channels) channel.volume = kAppInitialVolume;
  app->midiDevice = kNoMidiDevice;
}

void FreeRecord(AppObject* app) {
  app->~AppObject();
  void* block = app;
  MemFree(&block);
}

// Destroys every window of the app. A window's destruction may take other
// windows of the list with it (its children), so the walk starts again from
// the head whenever the list changed; windows whose records stay (their class
// bypasses the library's window procedure) are passed over.
void DestroyWindows(AppObject* app) {
  cHandleList& windows = app->windows;
  bool changed = true;
  while (changed) {
    changed = false;
    for (int32_t handle = windows.GetHead(); handle != 0;) {
      int32_t next = handle;
      void* window = windows.Next(&next);
      const int32_t before = windows.GetCount();
      WindowDestroy(static_cast<WindowObject*>(window));
      if (windows.GetCount() != before || windows.GetAt(handle) != window) {
        changed = true;
        break;
      }
      handle = next;
    }
  }
}

void Unlist(AppObject* app) {
  cHandleList* list = CurrentAppList();
  if (list == nullptr) return;
  const int32_t handle = list->Find(app);
  if (handle == 0) return;
  list->Remove(handle);
  if (list->GetCount() == 0) list->RemoveAll();
}

}  // namespace

cSurfaceImpl* MakeFormatPrototype(const AppObject* app, int32_t depthCode) {
  cMemSurface* prototype = cMemSurface::CreatePrototype(DepthCodeToBits(depthCode));
  if (prototype == nullptr) return nullptr;
  if (app->palette != nullptr && prototype->view.depth == 8) prototype->SetPalette(app->palette, 0);
  return prototype;
}

OMB_FLAT AppObject* OMB_STDCALL AppCreate(void* instance, void* palette) {
  EnsureThreadStarted();
  void* block = nullptr;
  if (!MemCalloc(sizeof(AppObject), &block)) return nullptr;
  auto* app = new (block) AppObject();
  SetInitialFields(app, instance);
  BuildAppPalette(app, palette, nullptr);
  app->formatPrototype = MakeFormatPrototype(app, app->DepthCode());
  cHandleList* list = app->formatPrototype != nullptr ? CurrentAppListOrCreate() : nullptr;
  if (list == nullptr || list->AddTail(app) == 0) {
    DeleteSurface(app->formatPrototype);
    ReleasePalette(app->palette);
    FreeRecord(app);
    return nullptr;
  }
  return app;
}

OMB_FLAT void OMB_STDCALL AppDestroy(AppObject* app) {
  // A destroy that comes back through a window's destruction does nothing.
  if (app == nullptr || (app->flags & kAppBeingDestroyed) != 0) return;
  app->flags |= kAppBeingDestroyed;
  SoundStop(app, kSoundKindMidi, nullptr);
  SoundStop(app, kSoundKindSamples, nullptr);
  DestroyWindows(app);
  HeapLock();
  // Row 0 takes the image masks of rows 2 and 3 with it.
  BankFreeRow(app, BankRowImages);
  BankFreeRow(app, BankRowFonts);
  BankFreeRow(app, BankRowSounds);
  HeapUnlock();
  ReleasePalette(app->palette);
  app->palette = nullptr;
  DeleteSurface(app->formatPrototype);
  app->formatPrototype = nullptr;
  Unlist(app);
  app->flags &= uint16_t(~kAppBeingDestroyed);
  FreeRecord(app);
}

OMB_FLAT int32_t OMB_STDCALL LibraryGetBuild() { return kLibraryBuild; }
