// The 40-byte header of a packed device-independent bitmap, with the byte
// layout of the system's own record so callers pass theirs as it stands.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

struct BitmapInfoHeader {
  uint32_t size;
  int32_t width;
  int32_t height;  // positive: bottom row first
  uint16_t planes;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t sizeImage;
  int32_t xPelsPerMeter;
  int32_t yPelsPerMeter;
  uint32_t clrUsed;
  uint32_t clrImportant;
};
static_assert(sizeof(BitmapInfoHeader) == 40, "BitmapInfoHeader is 40 bytes on every build");
OMB_PIN_SIZE(BitmapInfoHeader, 40);

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

// A colour table entry: blue, green, red, reserved.
struct RgbQuad {
  uint8_t blue;
  uint8_t green;
  uint8_t red;
  uint8_t reserved;
};
static_assert(sizeof(RgbQuad) == 4, "RgbQuad is 4 bytes");
