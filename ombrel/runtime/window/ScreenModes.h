// The display modes a window can ask for, as 32-byte records.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

struct DisplayModeRecord {
  int32_t bits;       // bits per pixel of the mode
  int32_t pixelBits;  // of its pixels: 15 for the 5-5-5 mode
  int32_t depthCode;  // with option 0x20 for the system-palette mode
  int32_t reserved[5];
};
OMB_PIN_SIZE(DisplayModeRecord, 32);

constexpr int32_t kSystemPaletteOption = 0x20;

// The records whose 0x20 bit matches `options`, at most `max`; with option
// 0x20 on an 8-bit display (`displayBits`) the system-palette record follows.
int32_t ListDisplayModes(DisplayModeRecord* out, int32_t max, int32_t options, int32_t displayBits);

// Bits per pixel of the display (planes x bits), 0 when unknown.
int32_t DisplayBitsPerPixel();

OMB_FLAT int32_t OMB_STDCALL ScreenListModes(DisplayModeRecord* out, int32_t max, int32_t options);

struct SurfaceRect;
// The rectangle of every monitor together (the primary screen where the
// system knows no virtual screen).
OMB_FLAT void OMB_STDCALL ScreenGetVirtualRect(SurfaceRect* out);
