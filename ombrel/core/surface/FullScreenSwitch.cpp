#include "surface/FullScreenSwitch.h"

#include <cstring>

void EnumDisplaySettingsModes(DisplaySettings& display, DisplayModeFn callback, uint32_t user) {
  if (callback == nullptr) return;
  for (uint32_t number = 0;; ++number) {
    DisplayModeRecord mode{};
    mode.size = kDisplayModeSize;
    if (!display.EnumMode(number, &mode)) return;
    const DisplayModeInfo info{int32_t(mode.pelsWidth), int32_t(mode.pelsHeight),
                               int32_t(mode.bitsPerPel)};
    if (callback(&info, user) == 0) return;
  }
}

int32_t FullScreenSwitch::Enter(DisplaySettings& display, void* window, int32_t width,
                                int32_t height, int32_t depth) {
  // What to restore is read before the change, but kept only once it worked:
  // a refused mode must leave an earlier saved state alone.
  WindowRect rect = savedRect;
  DisplayModeRecord previous = savedMode;
  if (!active) {
    if (window != nullptr) display.GetWindowRect(window, &rect);
    std::memset(&previous, 0, sizeof previous);
    previous.size = kDisplayModeSize;
    display.EnumMode(kCurrentSettings, &previous);
  }
  DisplayModeRecord wanted{};
  wanted.size = kDisplayModeSize;
  wanted.fields = kDisplayModeFieldsSize;
  wanted.pelsWidth = uint32_t(width);
  wanted.pelsHeight = uint32_t(height);
  wanted.bitsPerPel = uint32_t(depth);
  if (display.ChangeMode(&wanted, kChangeFullScreen) != kChangeSuccessful) return 0;
  savedRect = rect;
  savedMode = previous;
  if (window != nullptr) {
    savedStyle = display.GetStyle(window);
    display.SetStyle(window, kFullScreenStyle);
    display.SetWindowPos(window, 0, 0, width, height, kPosShowNoZOrder);
  }
  active = 1;
  return 1;
}

int32_t FullScreenSwitch::Leave(DisplaySettings& display, void* window) {
  if (!active) return 0;
  const int32_t result = display.ChangeMode(&savedMode, 0);
  if (result != kChangeSuccessful) return result;
  if (window != nullptr) {
    display.SetStyle(window, savedStyle);
    display.SetWindowPos(window, savedRect.left, savedRect.top, savedRect.right - savedRect.left,
                         savedRect.bottom - savedRect.top, kPosShowNoZOrder);
  }
  active = 0;
  return 0;
}

void FullScreenSwitch::CopyFrom(const FullScreenSwitch& other) {
  if (&other == this) return;
  active = other.active;
  savedRect = other.savedRect;
  savedMode = other.savedMode;
  savedStyle = other.savedStyle;
}
