#include "window/WindowAppLink.h"

#include "HandleList.h"
#include "app/AppHooks.h"
#include "app/AppLists.h"
#include "app/AppObject.h"

cHandleList* AppWindowList(AppObject* app) { return &app->windows; }
uint16_t AppDepthWord(const AppObject* app) { return app->depth; }
void* AppInstanceHandle(const AppObject* app) { return app->instance; }
uint16_t* AppFlagsWord(AppObject* app) { return &app->flags; }
bool AppHasPalette(const AppObject* app) { return app->palette != nullptr; }

WindowObject* FindThreadWindow(void* hwnd) {
  cHandleList* apps = CurrentAppList();
  if (apps == nullptr || hwnd == nullptr) return nullptr;
  for (int32_t a = apps->GetHead(); a != 0;) {
    auto* app = static_cast<AppObject*>(apps->Next(&a));
    if (app == nullptr) continue;
    for (int32_t w = app->windows.GetHead(); w != 0;) {
      auto* window = static_cast<WindowObject*>(app->windows.Next(&w));
      if (window != nullptr && window->hwnd == hwnd) return window;
    }
  }
  return nullptr;
}


void WindowFollowAppDepth(WindowObject* window, uint16_t depth) {
  if (window != nullptr) window->depth = depth;
}
