// The full-screen switch of the DIB back end through display settings: it
// saves the window and the current mode, changes the mode and turns the window
// into a borderless one covering it, and puts everything back on leaving.
// Its fields are the last four of the DIB surface, in this order.
#pragma once

#include <cstdint>

#include "surface/DisplaySettings.h"

// {width, height, bits per pixel}: what a mode enumeration hands the callback.
struct DisplayModeInfo {
  int32_t width;
  int32_t height;
  int32_t bitsPerPixel;
};
// Returns 0 to stop; the callee pops both arguments.
using DisplayModeFn = int32_t(OMB_STDCALL*)(const DisplayModeInfo* mode, uint32_t user);

// Calls `callback` for modes 0, 1, 2, ... until the display has no more or
// the callback answers 0.
void EnumDisplaySettingsModes(DisplaySettings& display, DisplayModeFn callback, uint32_t user);

struct FullScreenSwitch {
  int32_t active;  // non-zero while this object has changed the display settings
  WindowRect savedRect;
  DisplayModeRecord savedMode;
  uint32_t savedStyle;

  // 1 when the mode was set; 0 (with nothing else changed) when the display refused it.
  int32_t Enter(DisplaySettings& display, void* window, int32_t width, int32_t height,
                int32_t depth);
  // 0 when not active; the display's failure code (the switch stays active);
  // else 0 after restoring the mode and the window.
  int32_t Leave(DisplaySettings& display, void* window);
  // Takes over another switch's state, so that a replacement surface can leave
  // the full screen another entered.
  void CopyFrom(const FullScreenSwitch& other);
};
