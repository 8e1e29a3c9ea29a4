// The flat functions that create, adopt, find, configure and destroy library
// windows, and the window procedure of the windows the library creates.
// Every function taking a `WindowObject*` returns at once (null, 0 or
// nothing) when it is null.
#pragma once

#include <cstddef>
#include <cstdint>

#include "OmbrelApi.h"
#include "window/WindowObject.h"

// The input of `WindowCreate`: 76 bytes, or 80 with `existing`.
struct WindowDescriptor {
  int32_t size;  // 76 or 80; `existing` is read only from 80 on
  int32_t reserved;
  void* instance;
  void* menu;     // HMENU or child id
  void* parent;   // in mode 3 the window to adopt
  int32_t height; // or CW_USEDEFAULT
  int32_t width;  // or CW_USEDEFAULT; negative: a client area of -width x -height
  int32_t y;
  int32_t x;
  uint32_t style;
  const char* title;
  const char* className;
  uint32_t exStyle;
  int32_t bufferWidth;   // negative: that many pixels; else a window width less the frame
  int32_t bufferHeight;
  void* cursor;      // 1: the standard arrow
  uint32_t background;  // HBRUSH (1: the white stock brush); in mode 1 a colour
  int32_t mode;      // 1 sprite window, 3 adopt `parent`, else plain
  uint32_t flags;    // low 16 bits to the style word
  void* existing;    // a window to adopt
};
OMB_PIN_SIZE(WindowDescriptor, 80);
OMB_PIN_OFFSET(WindowDescriptor, parent, 16);
OMB_PIN_OFFSET(WindowDescriptor, width, 24);
OMB_PIN_OFFSET(WindowDescriptor, bufferWidth, 52);
OMB_PIN_OFFSET(WindowDescriptor, mode, 68);
OMB_PIN_OFFSET(WindowDescriptor, existing, 76);

constexpr int32_t kWindowDescriptorShort = 76;
constexpr int32_t kWindowDescriptorLong = 80;
constexpr int32_t kWindowModeSprites = 1;
constexpr int32_t kWindowModeAdopt = 3;

// `WindowCreate`'s small failure results.
constexpr uintptr_t kWindowNoMemory = 0;
constexpr uintptr_t kWindowNoApp = 1;
constexpr uintptr_t kWindowNotCreated = 2;

// `WindowMove` and `WindowResize`: keep the current value on that axis.
constexpr int32_t kWindowKeep = 0x8000;

OMB_FLAT WindowObject* OMB_STDCALL WindowCreate(AppObject* app, const WindowDescriptor* descriptor);
OMB_FLAT WindowObject* OMB_STDCALL WindowAttach(AppObject* app, void* hwnd);
OMB_FLAT void OMB_STDCALL WindowDestroy(WindowObject* window);
OMB_FLAT WindowObject* OMB_STDCALL WindowFromHandle(void* hwnd);
OMB_FLAT int32_t OMB_STDCALL WindowGetStyleFlags(WindowObject* window);
OMB_FLAT WindowObject* OMB_STDCALL WindowSetStyleFlags(WindowObject* window, int32_t flags);
OMB_FLAT void* OMB_STDCALL WindowGetHandle(WindowObject* window);
OMB_FLAT void* OMB_STDCALL WindowGetMDIClient(WindowObject* window);
OMB_FLAT void OMB_STDCALL WindowMove(WindowObject* window, int32_t x, int32_t y);
OMB_FLAT void OMB_STDCALL WindowResize(WindowObject* window, int32_t width, int32_t height);
OMB_FLAT intptr_t OMB_STDCALL WindowProc(void* hwnd, uint32_t message, uintptr_t wParam,
                                         intptr_t lParam);
OMB_FLAT void* OMB_STDCALL WindowSetMenu(WindowObject* window, void* menu, int32_t option);
OMB_FLAT void* OMB_STDCALL WindowSetCursor(WindowObject* window, void* cursor);
OMB_FLAT void OMB_STDCALL WindowBeginWaitCursor(WindowObject* window);
OMB_FLAT void OMB_STDCALL WindowEndWaitCursor(WindowObject* window);
OMB_FLAT void* OMB_STDCALL WindowGetDC(WindowObject* window);
OMB_FLAT void OMB_STDCALL WindowReleaseDC(WindowObject* window, void* dc);
OMB_FLAT int32_t OMB_STDCALL WindowControl(WindowObject* window, int32_t operation, int32_t value,
                                           int32_t count);
OMB_FLAT void OMB_STDCALL WindowSetBackColour(WindowObject* window, uint32_t colour);
OMB_FLAT void OMB_STDCALL WindowSetPen(WindowObject* window, uint32_t colour, int32_t penStyle,
                                       int32_t width);
OMB_FLAT WindowObject* OMB_STDCALL WindowSetBackMode(WindowObject* window, int32_t mode);

// Tears the record down (sprites, pool, surfaces, dirty list, mask, pen,
// palette, full screen) without touching the window or the app's list.
void TeardownWindowRecord(WindowObject* window);
