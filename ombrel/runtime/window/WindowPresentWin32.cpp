#include "window/SystemHeaders.h"

#include "window/DisplayBeam.h"
#include "window/PresentTargetWin32.h"
#include "window/WindowDrawApi.h"
#include "window/WindowPresentWin32.h"

namespace {

// The window's bottom edge on the screen, within the screen's height.
int32_t BottomEdgeOnScreen(HWND hwnd) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return 0;
  const int32_t screen = GetSystemMetrics(SM_CYSCREEN);
  return r.bottom > screen ? screen : (r.bottom < 0 ? 0 : r.bottom);
}

}  // namespace

OMB_FLAT void OMB_STDCALL WindowPresent(WindowObject* window) {
  if (window == nullptr || (window->update & WindowUpdateOff) || CurrentDrawImpl(window) == nullptr)
    return;
  GdiFlush();
  HWND hwnd = static_cast<HWND>(window->hwnd);
  if (window->update & WindowUpdatePaced) {
    uint32_t last = window->lastPresent;
    if (PaceOnThreadBeam(BottomEdgeOnScreen(hwnd), &last)) window->lastPresent = last;
  }
  WindowDCTarget target(hwnd, static_cast<HDC>(window->dc));
  PresentUpdates(*window, target);
}

void RepaintWindowRegion(WindowObject* window, int32_t x, int32_t y, int32_t width,
                         int32_t height) {
  if (window == nullptr || (window->update & WindowUpdateOff) || CurrentDrawImpl(window) == nullptr)
    return;
  GdiFlush();
  WindowDCTarget target(static_cast<HWND>(window->hwnd), static_cast<HDC>(window->dc));
  RepaintRegion(*window, target, x, y, width, height);
}
