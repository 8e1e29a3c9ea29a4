// Position, size, menu, cursor, device context, pen and colours of a window.
#include "window/SystemHeaders.h"

#include "app/AppPalette.h"
#include "window/WindowApi.h"
#include "window/WindowAppLink.h"
#include "window/WindowRecordWin32.h"
#include "window/WindowSizing.h"

namespace {

constexpr UINT kKeepOrder = SWP_NOACTIVATE | SWP_NOZORDER;

int16_t IndexOf(WindowObject* window, uint32_t colour) {
  if (window->app == nullptr) return 0;
  return int16_t(ColourToPaletteIndex(window->app, window->depth & 0xF, colour));
}

}  // namespace

HCURSOR CursorOrArrow(void* cursor) {
  return cursor == reinterpret_cast<void*>(1) ? LoadCursorA(nullptr, IDC_ARROW)
                                              : static_cast<HCURSOR>(cursor);
}

OMB_FLAT void OMB_STDCALL WindowMove(WindowObject* window, int32_t x, int32_t y) {
  if (window == nullptr) return;
  HWND hwnd = static_cast<HWND>(window->hwnd);
  RECT r{};
  GetWindowRect(hwnd, &r);
  // The window's own position in its parent's client area, as SetWindowPos takes it.
  POINT at{r.left, r.top};
  if (HWND parent = GetParent(hwnd); parent != nullptr && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
    ScreenToClient(parent, &at);
  SetWindowPos(hwnd, nullptr, x == kWindowKeep ? at.x : x, y == kWindowKeep ? at.y : y, 0, 0,
               kKeepOrder | SWP_NOSIZE);
}

OMB_FLAT void OMB_STDCALL WindowResize(WindowObject* window, int32_t width, int32_t height) {
  if (window == nullptr) return;
  HWND hwnd = static_cast<HWND>(window->hwnd);
  RECT r{};
  GetWindowRect(hwnd, &r);
  SetWindowPos(hwnd, nullptr, 0, 0, ResizeExtent(width, r.right - r.left, window->frameWidth),
               ResizeExtent(height, r.bottom - r.top, window->frameHeight), kKeepOrder | SWP_NOMOVE);
}

OMB_FLAT void* OMB_STDCALL WindowSetMenu(WindowObject* window, void* menu, int32_t option) {
  if (window == nullptr) return nullptr;
  const int32_t bar = GetSystemMetrics(SM_CYMENU);
  if (window->menu != nullptr) window->frameHeight -= bar;
  SetMenu(static_cast<HWND>(window->hwnd), static_cast<HMENU>(menu));
  if (menu != nullptr) window->frameHeight += bar;
  window->menu = menu;
  window->menuOption = option;
  return menu;
}

OMB_FLAT void* OMB_STDCALL WindowSetCursor(WindowObject* window, void* cursor) {
  if (window == nullptr) return nullptr;
  void* previous = window->cursor;
  window->cursor = CursorOrArrow(cursor);
  window->waitDepth = 0;
  SetCursor(static_cast<HCURSOR>(window->cursor));
  return previous;
}

OMB_FLAT void OMB_STDCALL WindowBeginWaitCursor(WindowObject* window) {
  if (window == nullptr) return;
  if (window->waitDepth == 0) window->savedCursor = window->cursor;
  window->cursor = LoadCursorA(nullptr, IDC_WAIT);
  SetCursor(static_cast<HCURSOR>(window->cursor));
  ++window->waitDepth;
}

OMB_FLAT void OMB_STDCALL WindowEndWaitCursor(WindowObject* window) {
  if (window == nullptr || window->waitDepth <= 0) return;
  if (--window->waitDepth > 0) return;
  window->cursor = window->savedCursor;
  SetCursor(static_cast<HCURSOR>(window->cursor));
  window->savedCursor = nullptr;
}

OMB_FLAT void* OMB_STDCALL WindowGetDC(WindowObject* window) {
  if (window == nullptr) return nullptr;
  if (window->style & WindowStyleKeptDC) return window->dc;
  HDC dc = GetDC(static_cast<HWND>(window->hwnd));
  if (dc != nullptr) window->dc = dc;
  return dc;
}

OMB_FLAT void OMB_STDCALL WindowReleaseDC(WindowObject* window, void* dc) {
  if (window == nullptr || (window->style & WindowStyleKeptDC) || dc == nullptr) return;
  ReleaseDC(static_cast<HWND>(window->hwnd), static_cast<HDC>(dc));
  window->dc = nullptr;
}

OMB_FLAT void OMB_STDCALL WindowSetBackColour(WindowObject* window, uint32_t colour) {
  if (window == nullptr) return;
  window->backColour = colour;
  window->backIndex = IndexOf(window, colour);
}

OMB_FLAT void OMB_STDCALL WindowSetPen(WindowObject* window, uint32_t colour, int32_t penStyle,
                                       int32_t width) {
  if (window == nullptr) return;
  window->penColour = colour;
  window->penIndex = IndexOf(window, colour);
  window->penWidthLess1 = width > 0 ? width - 1 : width;
  HPEN pen = CreatePen(penStyle, width, colour);
  if (pen == nullptr) return;
  if (window->pen != nullptr) DeleteObject(window->pen);
  window->pen = pen;
}
