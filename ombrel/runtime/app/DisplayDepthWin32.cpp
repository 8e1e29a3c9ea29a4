// The Windows display: read once through the screen's device context. The
// DirectDraw layer's bit depth is not asked yet (0: not known).
#include <windows.h>

#include <atomic>

#include "app/DisplayDepth.h"

namespace {

// Tells 5-5-5 from 5-6-5 where the mode query fails: a 5-5-5 display drops
// the lowest green bit, so green 4 reads back as 0.
int32_t ProbeGreen(HDC screen) {
  const COLORREF saved = GetPixel(screen, 0, 0);
  SetPixel(screen, 0, 0, RGB(0, 4, 0));
  const COLORREF back = GetPixel(screen, 0, 0);
  SetPixel(screen, 0, 0, saved);
  return int32_t(back);
}

DisplayFormat ReadDisplayFormat() {
  DisplayFormat format;
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return format;
  format.bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  if (format.bits == 16) {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode))
      format.modeBits = int32_t(mode.dmBitsPerPel);
    else
      format.greenProbe = ProbeGreen(screen);
  }
  ReleaseDC(nullptr, screen);
  return format;
}

class WindowsDisplay final : public DisplaySource {
 public:
  int32_t ScreenDepthCode() override {
    // Detected once, like the screen size the host saw at start-up; threads
    // that ask at the same time read the same display.
    if (code_.load() == 0) code_.store(DepthCodeFromDisplay(ReadDisplayFormat()));
    return code_.load();
  }
  int32_t DirectDrawBits() override { return 0; }

 private:
  std::atomic<int32_t> code_{0};
};

}  // namespace

DisplaySource& SystemDisplay() {
  static WindowsDisplay display;
  return display;
}
