#pragma once

// What the window host programs bind of Ombrel.dll by ordinal, their window
// class (routed through the library's window procedure, one extra slot for
// the record) and readers of the records' fields at their published offsets.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "HostHandle.h"
#include "OrdinalLibrary.h"

struct WindowDescriptor76 {
  int32_t size;
  int32_t reserved;
  HINSTANCE instance;
  HMENU menu;
  HWND parent;
  int32_t height;
  int32_t width;
  int32_t y;
  int32_t x;
  DWORD style;
  const char* title;
  const char* className;
  DWORD exStyle;
  int32_t bufferWidth;
  int32_t bufferHeight;
  HCURSOR cursor;
  uint32_t background;
  int32_t mode;
  uint32_t flags;
  HWND existing;
};
static_assert(sizeof(WindowDescriptor76) == 80, "descriptor with the adopted window");

// Reads a field of a library record at its published offset.
template <typename T>
T Field(const void* record, size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
  return value;
}

namespace window_offsets {
constexpr size_t kHwnd = 4, kParent = 8, kMdiClient = 12, kDc = 16, kStyle = 28, kUpdate = 30,
                 kDrawSurface = 46, kUpdates = 102, kBufferWidth = 106, kBufferHeight = 110,
                 kFrameWidth = 114, kFrameHeight = 118, kCursor = 154, kWaitDepth = 162, kLastPresent = 198;
constexpr size_t kAppWindows = 992;
}  // namespace window_offsets

struct WindowApi {
  explicit WindowApi(const OrdinalLibrary& lib)
      : appCreate(lib.Get<void*(WINAPI*)(HINSTANCE, HPALETTE)>(2)),
        appDestroy(lib.Get<void(WINAPI*)(void*)>(4)),
        create(lib.Get<void*(WINAPI*)(void*, const WindowDescriptor76*)>(12)),
        attach(lib.Get<void*(WINAPI*)(void*, HWND)>(13)),
        destroy(lib.Get<void(WINAPI*)(void*)>(14)),
        fromHandle(lib.Get<void*(WINAPI*)(HWND)>(15)),
        move(lib.Get<void(WINAPI*)(void*, int32_t, int32_t)>(20)),
        resize(lib.Get<void(WINAPI*)(void*, int32_t, int32_t)>(21)),
        proc(lib.Get<WNDPROC>(22)),
        setCursor(lib.Get<HCURSOR(WINAPI*)(void*, HCURSOR)>(24)),
        beginWait(lib.Get<void(WINAPI*)(void*)>(25)),
        endWait(lib.Get<void(WINAPI*)(void*)>(26)),
        control(lib.Get<int32_t(WINAPI*)(void*, int32_t, int32_t, int32_t)>(31)),
        attachSurface(lib.Get<int32_t(WINAPI*)(void*, Handle*)>(32)),
        fillRect(lib.Get<void(WINAPI*)(void*, int32_t, int32_t, int32_t, int32_t, uint32_t)>(43)),
        clearUpdates(lib.Get<int32_t*(WINAPI*)(void*)>(49)),
        addUpdate(lib.Get<void(WINAPI*)(void*, int32_t, int32_t, int32_t, int32_t)>(51)),
        getUpdateList(lib.Get<int32_t*(WINAPI*)(void*)>(52)),
        listModes(lib.Get<int32_t(WINAPI*)(int32_t*, int32_t, int32_t)>(55)),
        present(lib.Get<void(WINAPI*)(void*)>(62)),
        getPrototype(lib.Get<int32_t(WINAPI*)(Handle**, int32_t, int32_t, int32_t)>(172)),
        createHandle(lib.Get<Handle*(WINAPI*)()>(173)),
        createSurface(lib.Get<void*(OMB_THISCALL*)(Handle*, int32_t, int32_t, const Handle*)>(372)),
        fillAll(lib.Get<int32_t(OMB_THISCALL*)(Handle*, uint32_t)>(445)),
        surfaceFillRect(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, int32_t, int32_t,
                                                       uint32_t)>(443)),
        getPixel(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t*)>(554)),
        listCount(lib.Get<int32_t(OMB_THISCALL*)(const void*)>(564)) {}

  void*(WINAPI* appCreate)(HINSTANCE, HPALETTE);
  void(WINAPI* appDestroy)(void*);
  void*(WINAPI* create)(void*, const WindowDescriptor76*);
  void*(WINAPI* attach)(void*, HWND);
  void(WINAPI* destroy)(void*);
  void*(WINAPI* fromHandle)(HWND);
  void(WINAPI* move)(void*, int32_t, int32_t);
  void(WINAPI* resize)(void*, int32_t, int32_t);
  WNDPROC proc;
  HCURSOR(WINAPI* setCursor)(void*, HCURSOR);
  void(WINAPI* beginWait)(void*);
  void(WINAPI* endWait)(void*);
  int32_t(WINAPI* control)(void*, int32_t, int32_t, int32_t);
  int32_t(WINAPI* attachSurface)(void*, Handle*);
  void(WINAPI* fillRect)(void*, int32_t, int32_t, int32_t, int32_t, uint32_t);
  int32_t*(WINAPI* clearUpdates)(void*);
  void(WINAPI* addUpdate)(void*, int32_t, int32_t, int32_t, int32_t);
  int32_t*(WINAPI* getUpdateList)(void*);
  int32_t(WINAPI* listModes)(int32_t*, int32_t, int32_t);
  void(WINAPI* present)(void*);
  int32_t(WINAPI* getPrototype)(Handle**, int32_t, int32_t, int32_t);
  Handle*(WINAPI* createHandle)();
  void*(OMB_THISCALL* createSurface)(Handle*, int32_t, int32_t, const Handle*);
  int32_t(OMB_THISCALL* fillAll)(Handle*, uint32_t);
  int32_t(OMB_THISCALL* surfaceFillRect)(Handle*, int32_t, int32_t, int32_t, int32_t, uint32_t);
  int32_t(OMB_THISCALL* getPixel)(Handle*, int32_t, int32_t, uint32_t*);
  int32_t(OMB_THISCALL* listCount)(const void*);

  int32_t WindowCount(void* app) const {
    return listCount(static_cast<uint8_t*>(app) + window_offsets::kAppWindows);
  }
  // A 32-bit surface of the library's heap (type 0 memory, 1 a DIB section
  // that GDI can draw on), filled with `colour`.
  Handle* NewBuffer(int32_t width, int32_t height, uint32_t colour, int32_t type = 0) const {
    Handle* prototype = nullptr;
    getPrototype(&prototype, 32, type, 0);
    Handle* h = createHandle();
    if (h == nullptr || createSurface(h, width, height, prototype) == nullptr) return nullptr;
    fillAll(h, colour);
    return h;
  }
};

// A window class whose windows route every message through the library.
inline const char* RegisterLibraryClass(WNDPROC proc, const char* name) {
  WNDCLASSA c{};
  c.lpfnWndProc = proc;
  c.cbWndExtra = 4;
  c.hInstance = GetModuleHandleA(nullptr);
  c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  c.lpszClassName = name;
  RegisterClassA(&c);
  return name;
}

// A 76-byte descriptor for a visible window of the class.
inline WindowDescriptor76 Descriptor(const char* className, int32_t width, int32_t height,
                                     int32_t bufferWidth, int32_t bufferHeight, int32_t mode) {
  WindowDescriptor76 d{};
  d.size = 76;
  d.instance = GetModuleHandleA(nullptr);
  d.width = width;
  d.height = height;
  d.x = 10;
  d.y = 10;
  d.style = WS_OVERLAPPEDWINDOW;  // hidden: the end of an active window waits seconds without a window manager
  d.title = "host";
  d.className = className;
  d.bufferWidth = bufferWidth;
  d.bufferHeight = bufferHeight;
  d.cursor = reinterpret_cast<HCURSOR>(1);
  d.background = 1;
  d.mode = mode;
  return d;
}

inline void Pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

// A host program's fixture: the library bound by ordinal, its window class
// registered under `windowClass`, and an app made before each test and
// destroyed after it. `Base` is ::testing::Test or a TestWithParam.
template <class Base>
class LibraryWindowTest : public Base {
 protected:
  explicit LibraryWindowTest(const char* windowClass) : windowClass_(windowClass) {}
  void SetUp() override {
    ASSERT_TRUE(lib_.Loaded());
    className_ = RegisterLibraryClass(api_.proc, windowClass_);
    app_ = api_.appCreate(GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(app_, nullptr);
  }
  void TearDown() override {
    api_.appDestroy(app_);
    Pump();
  }

  OrdinalLibrary lib_;
  WindowApi api_{lib_};
  const char* className_ = nullptr;
  void* app_ = nullptr;

 private:
  const char* windowClass_;
};
