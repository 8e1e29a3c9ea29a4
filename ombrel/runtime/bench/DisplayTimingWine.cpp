// Informational timing of the display back ends under the real platform (a
// cross-built Windows program that loads Ombrel.dll by ordinal), 640 x 480 at
// the display's depth. Each case pairs the library path with a reference
// doing the same work directly, timed in alternating batches with
// QueryPerformanceCounter; the fastest batch of each is kept, so load from
// other processes (which only adds time) falls out of the ratio.
//   DIB surface to a window      vs  BitBlt of the same section
//   DirectDraw screen copy       vs  IDirectDrawSurface::Blt to the primary
//   software blit on DIB         vs  the same blit on memory surfaces
// A ratio of 1.00 means the library adds nothing; below 0.95 is worth a look.
#include <windows.h>
#include <ddraw.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>

#define OMB_THISCALL __attribute__((thiscall))

namespace {

struct alignas(4) Handle {
  void* impl;
  int32_t originX;
  int32_t originY;
  uint32_t lastError;
};

constexpr int kW = 640, kH = 480;
constexpr int kRounds = 15, kBatch = 20;

HMODULE lib;
template <typename Fn>
Fn Get(int ordinal) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(lib, MAKEINTRESOURCEA(ordinal))));
}

double Now() {
  LARGE_INTEGER t, f;
  QueryPerformanceCounter(&t);
  QueryPerformanceFrequency(&f);
  return double(t.QuadPart) / double(f.QuadPart);
}

template <typename A, typename B>
void Pair(const char* name, A library, B reference) {
  double bestLibrary = 1e30, bestReference = 1e30;
  for (int r = 0; r < kRounds; ++r) {
    double t0 = Now();
    for (int i = 0; i < kBatch; ++i) library();
    GdiFlush();
    double t1 = Now();
    for (int i = 0; i < kBatch; ++i) reference();
    GdiFlush();
    double t2 = Now();
    if (t1 - t0 < bestLibrary) bestLibrary = t1 - t0;
    if (t2 - t1 < bestReference) bestReference = t2 - t1;
  }
  const double perLibrary = bestLibrary / kBatch * 1e6, perReference = bestReference / kBatch * 1e6;
  std::printf("%-34s library %9.1f us  reference %9.1f us  ratio %.2fx\n", name, perLibrary,
              perReference, perReference / perLibrary);
}

}  // namespace

int main() {
  lib = LoadLibraryA("Ombrel.dll");
  if (lib == nullptr) {
    std::printf("Ombrel.dll not found\n");
    return 1;
  }
  auto getPrototype = Get<int32_t(WINAPI*)(Handle**, int32_t, int32_t, int32_t)>(172);
  auto ctor = Get<Handle*(OMB_THISCALL*)(Handle*)>(264);
  auto dtor = Get<void(OMB_THISCALL*)(Handle*)>(286);
  auto create = Get<void*(OMB_THISCALL*)(Handle*, int32_t, int32_t, const Handle*)>(372);
  auto createOnWindow = Get<void*(OMB_THISCALL*)(Handle*, HWND, int32_t)>(374);
  auto fillAll = Get<int32_t(OMB_THISCALL*)(Handle*, uint32_t)>(445);
  auto blit = Get<int32_t(OMB_THISCALL*)(Handle*, Handle*, int32_t, int32_t, int32_t, int32_t,
                                         int32_t, int32_t, int32_t, uint32_t, uint32_t, uint32_t)>(343);
  auto getDC = Get<HDC(OMB_THISCALL*)(Handle*)>(484);
  auto releaseDC = Get<void(OMB_THISCALL*)(Handle*, HDC)>(682);
  auto attachWindow = Get<int32_t(OMB_THISCALL*)(Handle*, HWND)>(340);
  auto getDriverInfo = Get<int32_t(OMB_THISCALL*)(Handle*, void*)>(494);

  HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);

  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "OmbrelTiming";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("OmbrelTiming", "timing", WS_POPUP | WS_VISIBLE, 0, 0, kW, kH,
                              nullptr, nullptr, wc.hInstance, nullptr);
  std::printf("display %d bits, %dx%d, best of %d batches of %d\n", depth, kW, kH, kRounds, kBatch);

  Handle screenSurface{}, dib{}, dib2{}, mem{}, mem2{}, dd{};
  for (Handle* h : {&screenSurface, &dib, &dib2, &mem, &mem2, &dd}) ctor(h);
  createOnWindow(&screenSurface, window, 0);
  Handle* p = nullptr;
  getPrototype(&p, depth, 1, 0);
  create(&dib, kW, kH, p);
  create(&dib2, kW, kH, p);
  getPrototype(&p, depth, 0, 0);
  create(&mem, kW, kH, p);
  create(&mem2, kW, kH, p);
  for (Handle* h : {&dib, &dib2, &mem, &mem2}) fillAll(h, 0x336699);

  HDC windowDC = GetDC(window);
  HDC dibDC = getDC(&dib);  // a client's context: the library leaves it alone
  Pair("DIB surface to window", [&] { blit(&dib, &screenSurface, 0, 0, 0, 0, kW, kH, 0, 0, 0, 0); },
       [&] { BitBlt(windowDC, 0, 0, kW, kH, dibDC, 0, 0, SRCCOPY); });
  releaseDC(&dib, dibDC);

  Pair("keyed blit, DIB vs memory", [&] { blit(&dib, &dib2, 0, 0, 0, 0, kW, kH, 1, 0, 0, 0); },
       [&] { blit(&mem, &mem2, 0, 0, 0, 0, kW, kH, 1, 0, 0, 0); });
  Pair("opaque blit, DIB vs memory", [&] { blit(&dib, &dib2, 0, 0, 0, 0, kW, kH, 0, 0, 0, 0); },
       [&] { blit(&mem, &mem2, 0, 0, 0, 0, kW, kH, 0, 0, 0, 0); });
  Pair("opaque blit, memory vs memory", [&] { blit(&mem2, &mem, 0, 0, 0, 0, kW, kH, 0, 0, 0, 0); },
       [&] { blit(&mem, &mem2, 0, 0, 0, 0, kW, kH, 0, 0, 0, 0); });

  if (getPrototype(&p, depth, 1, 2) && create(&dd, kW, kH, p) != nullptr) {
    fillAll(&dd, 0x336699);
    attachWindow(&dd, window);
    uint32_t info[7] = {};
    getDriverInfo(&dd, info);
    auto* primary = reinterpret_cast<IDirectDrawSurface*>(uintptr_t(info[2]));
    auto* surface = reinterpret_cast<IDirectDrawSurface*>(uintptr_t(info[3]));
    RECT all{0, 0, kW, kH};
    Pair("DirectDraw screen copy", [&] { blit(&dd, &screenSurface, 0, 0, 0, 0, kW, kH, 0, 0, 0, 0); },
         [&] { primary->Blt(&all, surface, &all, 0, nullptr); });
  } else {
    std::printf("DirectDraw screen copy             not run: DirectDraw is not usable here\n");
  }
  ReleaseDC(window, windowDC);
  for (Handle* h : {&screenSurface, &dib, &dib2, &mem, &mem2, &dd}) dtor(h);
  DestroyWindow(window);
  return 0;
}
