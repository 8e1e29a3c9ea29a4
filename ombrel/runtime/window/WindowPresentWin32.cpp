#include "window/SystemHeaders.h"

#include "window/PresentPacing.h"
#include "window/PresentTargetWin32.h"
#include "window/WindowDrawApi.h"
#include "window/WindowPresentWin32.h"

namespace {

// The thread's display beam, when the thread has a DirectDraw object that
// can report it; presents are not paced without one.
PacingSource* ThreadPacingSource() { return nullptr; }

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
    if (PacingSource* beam = ThreadPacingSource()) {
      window->lastPresent = PacePresent(*beam, BottomEdgeOnScreen(hwnd), window->lastPresent);
    }
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
