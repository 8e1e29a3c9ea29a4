#include "window/WindowDrawApi.h"

namespace {

// One window at a time holds the display; shared by the process without a
// lock, as every window call comes from the thread that owns the window.
WindowObject* fullScreenWindow = nullptr;

}  // namespace

WindowObject* FullScreenWindow() { return fullScreenWindow; }

OMB_FLAT int32_t OMB_STDCALL WindowEnterFullScreen(WindowObject* window, int32_t width,
                                                   int32_t height, int32_t bits) {
  if (window == nullptr || fullScreenWindow != nullptr || window->hwnd == nullptr ||
      CurrentDrawImpl(window) == nullptr)
    return 0;
  if (!window->drawSurface->EnterFullScreen(window->hwnd, width, height, bits)) return 0;
  fullScreenWindow = window;
  return bits;
}

OMB_FLAT int32_t OMB_STDCALL WindowLeaveFullScreen() {
  WindowObject* window = fullScreenWindow;
  if (window == nullptr) return 0;
  fullScreenWindow = nullptr;
  if (window->hwnd == nullptr || CurrentDrawImpl(window) == nullptr) return 0;
  window->drawSurface->LeaveFullScreen(window->hwnd);
  return 1;
}

void ReleaseFullScreen(WindowObject* window) {
  if (window != nullptr && window == fullScreenWindow) WindowLeaveFullScreen();
}
