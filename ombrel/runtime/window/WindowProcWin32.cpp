// The window procedure of the windows the library creates.
#include "window/SystemHeaders.h"

#include <algorithm>
#include <cstring>

#include "window/WindowApi.h"
#include "window/WindowAppLink.h"
#include "window/WindowPresentWin32.h"
#include "window/WindowRecord.h"
#include "window/WindowRecordWin32.h"
#include "window/WindowSizing.h"

namespace {

constexpr UINT kMdiClientStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL;  // 0x52300000
constexpr UINT kFirstMdiChildId = 50;

uint16_t MdiKind(const WindowObject* window) {
  return window->style & (WindowStyleMdiFrame | WindowStyleMdiChild);
}

LRESULT DefaultProcessing(WindowObject* window, HWND hwnd, UINT message, WPARAM wParam,
                          LPARAM lParam) {
  if (window != nullptr) {
    if (MdiKind(window) == WindowStyleMdiFrame)
      return DefFrameProcA(hwnd, static_cast<HWND>(window->mdiClient), message, wParam, lParam);
    if (MdiKind(window) == WindowStyleMdiChild)
      return DefMDIChildProcA(hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  char name[16] = {};
  GetClassNameA(GetParent(hwnd), name, sizeof name);
  if (lstrcmpiA(name, "mdiclient") == 0) return DefMDIChildProcA(hwnd, message, wParam, lParam);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void OnCreate(HWND hwnd, LPARAM lParam) {
  const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
  if (create == nullptr || create->lpCreateParams == nullptr) return;
  auto* window = reinterpret_cast<WindowObject*>(
      static_cast<const MDICREATESTRUCTA*>(create->lpCreateParams)->lParam);
  if (window == nullptr) return;
  window->hwnd = hwnd;
  if (MdiKind(window) != WindowStyleMdiFrame) return;
  CLIENTCREATESTRUCT client{nullptr, kFirstMdiChildId};
  window->mdiClient = CreateWindowExA(0, "mdiclient", nullptr, kMdiClientStyle, 0, 0, 600, 400,
                                      hwnd, reinterpret_cast<HMENU>(1),
                                      static_cast<HINSTANCE>(AppInstanceHandle(window->app)),
                                      &client);
}

// True when the size was corrected (the nested WM_SIZE clears the guard).
bool OnSize(WindowObject* window, HWND hwnd, LPARAM lParam) {
  if (window->style & (WindowStyleResizeGuard | WindowStyleStretch)) return false;
  window->style |= WindowStyleResizeGuard;
  int32_t w = 0, h = 0;
  if (CappedWindowSize(LOWORD(lParam), HIWORD(lParam), window->bufferWidth, window->bufferHeight,
                       window->frameWidth, window->frameHeight, &w, &h)) {
    SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    window->style &= uint16_t(~WindowStyleResizeGuard);
    return true;
  }
  window->style &= uint16_t(~WindowStyleResizeGuard);
  return false;
}

void OnEraseBackground(WindowObject* window, HWND hwnd, HDC dc) {
  if (IsIconic(hwnd)) return;
  RECT box;
  if (GetClipBox(dc, &box) == NULLREGION || IsRectEmpty(&box)) return;
  if (window->surfaceAttached) {
    RECT client;
    GetClientRect(hwnd, &client);
    RECT part;
    if (!IntersectRect(&part, &box, &client)) return;
    part.right = std::min<LONG>(part.right, part.left + window->bufferWidth);
    part.bottom = std::min<LONG>(part.bottom, part.top + window->bufferHeight);
    if (part.right > part.left && part.bottom > part.top)
      RepaintWindowRegion(window, part.left, part.top, part.right - part.left,
                          part.bottom - part.top);
    return;
  }
  if (window->background != 0)
    FillRect(dc, &box, reinterpret_cast<HBRUSH>(uintptr_t(window->background)));
}

}  // namespace

OMB_FLAT intptr_t OMB_STDCALL WindowProc(void* handle, uint32_t message, uintptr_t wParam,
                                         intptr_t lParam) {
  HWND hwnd = static_cast<HWND>(handle);
  if (message == WM_CREATE) OnCreate(hwnd, lParam);
  WindowObject* window = WindowFromHandle(hwnd);
  switch (message) {
    case WM_DESTROY:
    case WM_MDIDESTROY:
      if (window == nullptr) break;
      if (IsWindowUnderConstruction(window)) {
        window->hwnd = nullptr;
      } else {
        DestroyWindowRecord(window);
      }
      return 0;
    case WM_SIZE:
      if (window == nullptr || window->app == nullptr) break;
      if (OnSize(window, hwnd, lParam)) return 0;
      break;
    case WM_ERASEBKGND:
      if (window == nullptr || (window->style & WindowStyleDefaultErase)) break;
      OnEraseBackground(window, hwnd, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_GETMINMAXINFO:
      if (window == nullptr || window->bufferWidth <= 0 || window->bufferHeight <= 0) break;
      {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const LONG w = std::min<LONG>(info->ptMaxSize.x, window->bufferWidth + window->frameWidth);
        const LONG h = std::min<LONG>(info->ptMaxSize.y, window->bufferHeight + window->frameHeight);
        info->ptMaxSize = {w, h};
        info->ptMaxTrackSize = {w, h};
      }
      break;
    case WM_MOUSEMOVE:
      if (window == nullptr) break;
      SetCursor(static_cast<HCURSOR>(window->cursor));
      return 0;
    default:
      break;
  }
  return DefaultProcessing(window, hwnd, message, wParam, lParam);
}
