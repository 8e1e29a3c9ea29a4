#include "window/WindowDrawApi.h"

OMB_FLAT UpdateList* OMB_STDCALL WindowClearUpdates(WindowObject* window) {
  if (window == nullptr || window->updates == nullptr) return nullptr;
  window->updates->count = 0;
  return window->updates;
}

OMB_FLAT void OMB_STDCALL WindowAddUpdateRect(WindowObject* window, const SurfaceRect* rect) {
  if (window == nullptr || window->updates == nullptr) return;
  if (rect == nullptr) {
    UpdateListSetWhole(*window->updates, window->bufferWidth, window->bufferHeight);
    return;
  }
  UpdateListAdd(*window->updates, *rect, (window->style & WindowStyleKeepApart) != 0);
}

OMB_FLAT void OMB_STDCALL WindowAddUpdate(WindowObject* window, int32_t left, int32_t top,
                                          int32_t right, int32_t bottom) {
  const SurfaceRect rect{left, top, right, bottom};
  WindowAddUpdateRect(window, &rect);
}

OMB_FLAT UpdateList* OMB_STDCALL WindowGetUpdateList(WindowObject* window) {
  return window == nullptr ? nullptr : window->updates;
}

OMB_FLAT WindowObject* OMB_STDCALL WindowEnableUpdates(WindowObject* window, int32_t enable) {
  if (window == nullptr) return nullptr;
  if (enable != 0) {
    window->update &= uint16_t(~WindowUpdateOff);
  } else {
    window->update |= WindowUpdateOff;
  }
  return window;
}
