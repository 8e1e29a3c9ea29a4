// Creation, adoption, look-up and destruction of window records.
#include "window/SystemHeaders.h"

#include "HandleList.h"
#include "Memory.h"
#include "app/AppPalette.h"
#include "window/WindowApi.h"
#include "window/WindowAppLink.h"
#include "window/WindowDrawApi.h"
#include "window/WindowRecord.h"
#include "window/WindowRecordWin32.h"
#include "window/WindowSizing.h"


#include "window/WindowSprites.h"

namespace {

// The record whose window is being made on this thread: a failed creation
// that sends WM_DESTROY leaves it to `WindowCreate` to undo.
thread_local WindowObject* underConstruction = nullptr;

WindowObject* Result(uintptr_t code) { return reinterpret_cast<WindowObject*>(code); }

void FreeBlock(void* block) { MemFree(&block); }

// The dirty list and the sprite pool of a new record; false when either
// cannot be allocated.
bool MakeBuffers(WindowObject* window, int32_t mode) {
  if (mode == kWindowModeSprites) {
    void* list = nullptr;
    if (!MemCalloc(sizeof(UpdateList), &list)) return false;
    window->updates = static_cast<UpdateList*>(list);
    window->spritePool = SpritePoolCreate(kSpriteWindowPoolRecords);
  } else {
    window->spritePool = SpritePoolCreatePlain();
  }
  return window->spritePool != nullptr;
}

// The record as an MDICREATESTRUCT's lParam, which WM_CREATE reads back.
HWND MakeWindow(WindowObject* window, const WindowDescriptor& d, int32_t width, int32_t height) {
  MDICREATESTRUCTA params{};
  params.lParam = reinterpret_cast<LPARAM>(window);
  if (window->style & WindowStyleMdiChild) {
    WindowObject* frame = FindThreadWindow(d.parent);
    if (frame == nullptr || frame->mdiClient == nullptr) return nullptr;
    window->mdiClient = frame->mdiClient;
    params.szClass = d.className;
    params.szTitle = d.title;
    params.hOwner = static_cast<HINSTANCE>(d.instance);
    params.x = params.y = params.cx = params.cy = CW_USEDEFAULT;
    params.style = d.style;
    return reinterpret_cast<HWND>(SendMessageA(static_cast<HWND>(window->mdiClient), WM_MDICREATE,
                                               0, reinterpret_cast<LPARAM>(&params)));
  }
  return CreateWindowExA(d.exStyle, d.className, d.title, d.style, d.x, d.y, width, height,
                         static_cast<HWND>(d.parent), static_cast<HMENU>(d.menu),
                         static_cast<HINSTANCE>(d.instance), &params);
}

}  // namespace

OMB_FLAT WindowObject* OMB_STDCALL WindowCreate(AppObject* app, const WindowDescriptor* descriptor) {
  if (app == nullptr) return Result(kWindowNoApp);
  if (descriptor == nullptr) return Result(kWindowNotCreated);
  const WindowDescriptor& d = *descriptor;
  void* block = nullptr;
  if (!MemCalloc(sizeof(WindowObject), &block)) return Result(kWindowNoMemory);
  auto* window = static_cast<WindowObject*>(block);
  window->penWidthLess1 = 1;
  if (AppWindowList(app)->AddTail(window) == 0) {
    FreeBlock(window);
    return Result(kWindowNoMemory);
  }
  window->app = app;

  int32_t width = d.width, height = d.height;
  if (d.mode != kWindowModeAdopt && width != int32_t(CW_USEDEFAULT) &&
      height != int32_t(CW_USEDEFAULT) && width < 0) {
    RECT r{0, 0, -width, -height};
    AdjustWindowRectEx(&r, d.style, FALSE, d.exStyle);
    width = r.right - r.left;
    height = r.bottom - r.top;
  }
  window->depth = AppDepthWord(app);
  if (!MakeBuffers(window, d.mode)) {
    DestroyWindowRecord(window);
    return Result(kWindowNoMemory);
  }
  window->cursor = CursorOrArrow(d.cursor);
  const int32_t depthCode = window->depth & 0xF;
  window->background = d.background;
  if (d.mode == kWindowModeSprites) {
    const int32_t index = ColourToPaletteIndex(app, depthCode, d.background);
    if (index != -1) window->background = uint32_t(index);
  } else if (d.background == 1) {
    window->background = uint32_t(reinterpret_cast<uintptr_t>(GetStockObject(WHITE_BRUSH)));
  }
  window->backColour = 0xFFFFFF;
  const int32_t entries = AppCopyPalette(nullptr, depthCode, app);
  window->backIndex = int16_t(entries > 0 ? entries - 1 : 0);
  window->bkMode = OPAQUE;
  window->rop2 = R2_COPYPEN;
  window->update = 0;
  window->style = uint16_t((d.flags & 0xFFFF) | WindowStyleKeptDC);

  HWND hwnd = nullptr;
  bool created = false;
  if (d.mode == kWindowModeAdopt) {
    hwnd = static_cast<HWND>(d.parent);
    window->style |= WindowStyleAdopted;
  } else if (d.size >= kWindowDescriptorLong && d.existing != nullptr) {
    hwnd = static_cast<HWND>(d.existing);
    window->style = uint16_t((window->style & ~WindowStyleKeptDC) | WindowStyleForeign);
    window->parent = d.parent;
  } else {
    window->parent = d.parent;
    WindowObject* outer = underConstruction;
    underConstruction = window;
    hwnd = MakeWindow(window, d, width, height);
    underConstruction = outer;
    created = hwnd != nullptr;
  }
  if (hwnd == nullptr || !IsWindow(hwnd)) {
    DestroyWindowRecord(window);
    return Result(kWindowNotCreated);
  }
  window->hwnd = hwnd;
  if (created) SetWindowLongA(hwnd, 0, LONG(reinterpret_cast<uintptr_t>(window)));
  RECT outer, client;
  GetWindowRect(hwnd, &outer);
  GetClientRect(hwnd, &client);
  window->frameWidth = (outer.right - outer.left) - (client.right - client.left);
  window->frameHeight = (outer.bottom - outer.top) - (client.bottom - client.top);
  if (d.mode == kWindowModeAdopt) {
    window->bufferWidth = outer.right - outer.left;
    window->bufferHeight = outer.bottom - outer.top;
  } else {
    window->bufferWidth = BufferExtent(d.bufferWidth, window->frameWidth);
    window->bufferHeight = BufferExtent(d.bufferHeight, window->frameHeight);
  }
  window->dc = created ? GetDC(hwnd) : nullptr;
  if (AppHasPalette(app)) SelectAppPaletteIntoWindow(window);
  return window;
}

OMB_FLAT WindowObject* OMB_STDCALL WindowAttach(AppObject* app, void* hwnd) {
  if (app == nullptr) return Result(kWindowNoApp);
  WindowDescriptor d{};
  d.size = kWindowDescriptorShort;
  d.instance = AppInstanceHandle(app);
  d.parent = hwnd;
  d.cursor = reinterpret_cast<void*>(1);
  d.background = uint32_t(reinterpret_cast<uintptr_t>(GetStockObject(BLACK_BRUSH)));
  d.mode = kWindowModeAdopt;
  return WindowCreate(app, &d);
}

OMB_FLAT WindowObject* OMB_STDCALL WindowFromHandle(void* hwnd) {
  return hwnd == nullptr ? nullptr : FindThreadWindow(hwnd);
}

bool IsWindowUnderConstruction(const WindowObject* window) { return window == underConstruction; }

void ReleaseWindowGdi(WindowObject* window) {
  if (window->pen != nullptr) DeleteObject(window->pen);
  window->pen = nullptr;
  if (window->dc != nullptr && window->selectedPalette != nullptr) {
    SelectPalette(static_cast<HDC>(window->dc), static_cast<HPALETTE>(window->previousPalette), FALSE);
  }
  window->selectedPalette = nullptr;
}

OMB_FLAT void OMB_STDCALL WindowDestroy(WindowObject* window) {
  if (window == nullptr) return;
  DestroyChildWindows(window);
  HWND hwnd = static_cast<HWND>(window->hwnd);
  // Adopted windows stay; a record whose window is gone would never hear
  // of its end, so it ends here.
  if ((window->style & (WindowStyleAdopted | WindowStyleForeign)) || hwnd == nullptr ||
      !IsWindow(hwnd)) {
    DestroyWindowRecord(window);
    return;
  }
  if (window->style & WindowStyleMdiChild) {
    SendMessageA(static_cast<HWND>(window->mdiClient), WM_MDIDESTROY, WPARAM(hwnd), 0);
  } else {
    DestroyWindow(hwnd);
  }
}
