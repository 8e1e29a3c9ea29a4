#include "window/SystemHeaders.h"

#include "surface/SurfaceTypes.h"
#include "window/ScreenModes.h"

int32_t DisplayBitsPerPixel() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 0;
  const int32_t bits = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
}

// The rectangle of every monitor together; the primary screen's size where
// the system knows no virtual screen.
OMB_FLAT void OMB_STDCALL ScreenGetVirtualRect(SurfaceRect* out) {
  if (out == nullptr) return;
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  const bool nt5 = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
  const bool later9x = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMinorVersion != 0;
  if (nt5 || later9x) {
    out->left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    out->top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    out->right = out->left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    out->bottom = out->top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return;
  }
  HDC screen = GetDC(nullptr);
  *out = {0, 0, 0, 0};
  if (screen == nullptr) return;
  out->right = GetDeviceCaps(screen, HORZRES);
  out->bottom = GetDeviceCaps(screen, VERTRES);
  ReleaseDC(nullptr, screen);
}
