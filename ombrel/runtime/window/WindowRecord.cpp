#include "window/WindowRecord.h"

#include <algorithm>
#include <vector>

#include "HandleList.h"
#include "Memory.h"
#include "window/WindowApi.h"
#include "window/WindowAppLink.h"
#include "window/WindowDrawApi.h"
#include "window/WindowSprites.h"

namespace {

void FreeBlock(void* block) { MemFree(&block); }

}  // namespace

void TeardownWindowRecord(WindowObject* window) {
  ReleaseFullScreen(window);
  WindowDeleteSprites(window);
  SpritePoolFree(window);
  DeleteSurfaceHandle(window->backSurface);
  window->backSurface = nullptr;
  window->backImpl = nullptr;
  DeleteSurfaceHandle(window->drawSurface);
  window->drawSurface = nullptr;
  window->drawImpl = nullptr;
  window->surfaceAttached = 0;
  FreeBlock(window->updates);
  window->updates = nullptr;
  FreeBlock(window->maskBits);
  window->maskBits = nullptr;
  ReleaseWindowGdi(window);
}

void DestroyWindowRecord(WindowObject* window) {
  TeardownWindowRecord(window);
  if (window->app != nullptr) {
    cHandleList* list = AppWindowList(window->app);
    if (int32_t handle = list->Find(window)) list->Remove(handle);
  }
  FreeBlock(window);
}

void DestroyChildWindows(WindowObject* window) {
  if (window->app == nullptr || window->hwnd == nullptr) return;
  // A child's destruction may take others with it, so the walk starts again
  // after each one; a child whose record outlives its destruction (its
  // class bypasses the window procedure) is not tried twice.
  cHandleList* list = AppWindowList(window->app);
  std::vector<WindowObject*> tried;
  for (bool again = true; again;) {
    again = false;
    for (int32_t h = list->GetHead(); h != 0;) {
      auto* other = static_cast<WindowObject*>(list->Next(&h));
      if (other == window || other == nullptr || other->parent != window->hwnd) continue;
      if (std::find(tried.begin(), tried.end(), other) != tried.end()) continue;
      tried.push_back(other);
      WindowDestroy(other);
      again = true;
      break;
    }
  }
}
