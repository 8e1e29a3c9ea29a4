#include "surface/DisplaySettings.h"

#include <windows.h>

static_assert(sizeof(DEVMODEA) == sizeof(DisplayModeRecord), "DEVMODEA is 156 bytes");
static_assert(offsetof(DEVMODEA, dmFields) == offsetof(DisplayModeRecord, fields), "dmFields");
static_assert(offsetof(DEVMODEA, dmPelsWidth) == offsetof(DisplayModeRecord, pelsWidth), "width");
static_assert(offsetof(DEVMODEA, dmDisplayFrequency) ==
                  offsetof(DisplayModeRecord, displayFrequency),
              "frequency");

namespace {

class SystemDisplay final : public DisplaySettings {
 public:
  bool EnumMode(uint32_t number, DisplayModeRecord* mode) override {
    return ::EnumDisplaySettingsA(nullptr, number, reinterpret_cast<DEVMODEA*>(mode)) != FALSE;
  }
  int32_t ChangeMode(const DisplayModeRecord* mode, uint32_t flags) override {
    // The system's declaration takes a non-const record it does not change.
    DisplayModeRecord copy = *mode;
    return ::ChangeDisplaySettingsA(reinterpret_cast<DEVMODEA*>(&copy), flags);
  }
  bool GetWindowRect(void* window, WindowRect* rect) override {
    RECT r{};
    if (!::GetWindowRect(static_cast<HWND>(window), &r)) return false;
    *rect = WindowRect{r.left, r.top, r.right, r.bottom};
    return true;
  }
  uint32_t GetStyle(void* window) override {
    return uint32_t(::GetWindowLongA(static_cast<HWND>(window), GWL_STYLE));
  }
  void SetStyle(void* window, uint32_t style) override {
    ::SetWindowLongA(static_cast<HWND>(window), GWL_STYLE, LONG(style));
  }
  void SetWindowPos(void* window, int32_t x, int32_t y, int32_t width, int32_t height,
                    uint32_t flags) override {
    ::SetWindowPos(static_cast<HWND>(window), nullptr, x, y, width, height, flags);
  }
};

}  // namespace

DisplaySettings* SystemDisplaySettings() {
  static SystemDisplay display;
  return &display;
}
