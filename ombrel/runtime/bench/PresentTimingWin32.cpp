// Present timing under Wine (informational, docs/PERFORMANCE.md): presents of
// dirty rectangles (from a back buffer of the surface type given as the
// argument, 2 by default) against one full 640 x 480 BitBlt to the same window,
// measured in one run with QueryPerformanceCounter. Loads Ombrel.dll and
// works by ordinal, as a host does. Prints a table; exits 0 unless the
// library or the window cannot be had.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kRounds = 300;

struct Handle {
  void* impl;
  int32_t originX, originY;
  uint32_t lastError;
};

struct Descriptor {
  int32_t size, reserved;
  HINSTANCE instance;
  HMENU menu;
  HWND parent;
  int32_t height, width, y, x;
  DWORD style;
  const char* title;
  const char* className;
  DWORD exStyle;
  int32_t bufferWidth, bufferHeight;
  HCURSOR cursor;
  uint32_t background;
  int32_t mode;
  uint32_t flags;
};

template <typename Fn>
Fn Bind(HMODULE lib, int ordinal) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, MAKEINTRESOURCEA(ordinal))));
}

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f) {
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

void PumpMessages() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

}  // namespace

int main(int argc, char** argv) {
  // Back buffer, as the surface type of GetSurfacePrototype: 0 a memory
  // surface, 1 a DIB section, 2 a DIB section with its own context (the default).
  const int32_t bufferType = argc > 1 ? std::atoi(argv[1]) : 2;
  HMODULE lib = LoadLibraryA("Ombrel.dll");
  if (lib == nullptr) {
    std::printf("Ombrel.dll not found\n");
    return 1;
  }
  auto appCreate = Bind<void*(WINAPI*)(HINSTANCE, HPALETTE)>(lib, 2);
  auto appDestroy = Bind<void(WINAPI*)(void*)>(lib, 4);
  auto windowCreate = Bind<void*(WINAPI*)(void*, const Descriptor*)>(lib, 12);
  auto proc = Bind<WNDPROC>(lib, 22);
  auto attach = Bind<int32_t(WINAPI*)(void*, Handle*)>(lib, 32);
  auto addUpdate = Bind<void(WINAPI*)(void*, int32_t, int32_t, int32_t, int32_t)>(lib, 51);
  auto clearUpdates = Bind<void*(WINAPI*)(void*)>(lib, 49);
  auto present = Bind<void(WINAPI*)(void*)>(lib, 62);
  auto getPrototype = Bind<int32_t(WINAPI*)(Handle**, int32_t, int32_t, int32_t)>(lib, 172);
  auto createHandle = Bind<Handle*(WINAPI*)()>(lib, 173);
  auto create = Bind<void*(__attribute__((thiscall))*)(Handle*, int32_t, int32_t, const Handle*)>(lib, 372);
  auto fillAll = Bind<int32_t(__attribute__((thiscall))*)(Handle*, uint32_t)>(lib, 445);

  WNDCLASSA c{};
  c.lpfnWndProc = proc;
  c.cbWndExtra = 4;
  c.hInstance = GetModuleHandleA(nullptr);
  c.lpszClassName = "PresentTiming";
  RegisterClassA(&c);
  void* app = appCreate(GetModuleHandleA(nullptr), nullptr);
  Descriptor d{};
  d.size = 76;
  d.instance = GetModuleHandleA(nullptr);
  d.width = -kWidth;
  d.height = -kHeight;
  d.style = WS_POPUP | WS_VISIBLE;
  d.title = "timing";
  d.className = c.lpszClassName;
  d.bufferWidth = -kWidth;
  d.bufferHeight = -kHeight;
  d.cursor = reinterpret_cast<HCURSOR>(1);
  d.background = 1;
  d.mode = 1;
  void* window = windowCreate(app, &d);
  if (reinterpret_cast<uintptr_t>(window) <= 2) {
    std::printf("no window\n");
    return 1;
  }
  HWND hwnd = *reinterpret_cast<HWND*>(static_cast<uint8_t*>(window) + 4);
  Handle* prototype = nullptr;
  getPrototype(&prototype, 32, bufferType, 0);
  Handle* buffer = createHandle();
  create(buffer, kWidth, kHeight, prototype);
  fillAll(buffer, 0x00336699);
  attach(window, buffer);
  PumpMessages();

  // The reference: one BitBlt of a 640 x 480 DIB section to the window.
  HDC windowDC = GetDC(hwnd);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(windowDC);
  HBITMAP section = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, section);

  struct Case {
    const char* name;
    std::vector<RECT> rects;
    double budget;
  };
  std::vector<Case> cases;
  cases.push_back({"one rectangle of 10 % area (202 x 152)", {{100, 100, 302, 252}}, 0.25});
  Case fifty{"fifty 32 x 32 rectangles", {}, 0.5};
  for (int i = 0; i < 50; ++i) {
    const int x = (i % 10) * 64, y = (i / 10) * 96;
    fifty.rects.push_back({x, y, x + 32, y + 32});
  }
  cases.push_back(fifty);
  Case many{"513 rectangles of 16 x 16", {}, 1.5};
  for (int i = 0; i < 513; ++i) {
    const int x = (i % 27) * 24, y = (i / 27) * 24;
    many.rects.push_back({x, y, x + 16, y + 16});
  }
  cases.push_back(many);

  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  // Warm both paths up once.
  BitBlt(windowDC, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
  addUpdate(window, 0, 0, kWidth, kHeight);
  present(window);
  GdiFlush();

  QueryPerformanceCounter(&a);
  for (int r = 0; r < kRounds; ++r) {
    BitBlt(windowDC, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
    GdiFlush();
  }
  GetPixel(windowDC, 0, 0);  // waits for the display
  QueryPerformanceCounter(&b);
  const double reference = Seconds(a, b, f) / kRounds;
  const char* kinds[] = {"memory surface", "DIB section", "DIB section with its own context"};
  std::printf("back buffer: %s\n", kinds[bufferType >= 0 && bufferType <= 2 ? bufferType : 0]);
  std::printf("%-44s %10s %8s %8s %10s\n", "case", "us/frame", "ratio", "budget", "us adding");
  std::printf("%-44s %10.1f %8.2f %8s\n", "full 640 x 480 BitBlt (reference)", reference * 1e6, 1.0, "");
  int missed = 0;
  for (const Case& c : cases) {
    QueryPerformanceCounter(&a);
    for (int r = 0; r < kRounds; ++r) {
      for (const RECT& rect : c.rects) addUpdate(window, rect.left, rect.top, rect.right, rect.bottom);
      present(window);
    }
    GetPixel(windowDC, 0, 0);
    QueryPerformanceCounter(&b);
    const double t = Seconds(a, b, f) / kRounds;
    const double ratio = t / reference;
    // The dirty list's own share: the same adds without the copies.
    QueryPerformanceCounter(&a);
    for (int r = 0; r < kRounds; ++r) {
      for (const RECT& rect : c.rects) addUpdate(window, rect.left, rect.top, rect.right, rect.bottom);
      clearUpdates(window);
    }
    QueryPerformanceCounter(&b);
    const double adds = Seconds(a, b, f) / kRounds;
    if (ratio > c.budget) ++missed;
    std::printf("%-44s %10.1f %8.2f %8.2f %10.1f%s\n", c.name, t * 1e6, ratio, c.budget, adds * 1e6,
                ratio > c.budget ? "  MISSED" : "");
  }
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(hwnd, windowDC);
  appDestroy(app);
  std::printf("%d of %zu budgets missed\n", missed, cases.size());
  return 0;
}
