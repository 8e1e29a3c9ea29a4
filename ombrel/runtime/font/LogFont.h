// Font descriptions as they cross the library's edge: the system's LOGFONTA
// (60 bytes) and its older form whose numeric fields are 16 bits wide (50
// bytes). Both keep the byte layout of the system's records.
#pragma once

#include <cstdint>

constexpr int kFaceNameBytes = 32;

// The byte fields and the face name, the same in both forms.
struct LogFontStyle {
  uint8_t italic;
  uint8_t underline;
  uint8_t strikeOut;
  uint8_t charSet;
  uint8_t outPrecision;
  uint8_t clipPrecision;
  uint8_t quality;
  uint8_t pitchAndFamily;
  char faceName[kFaceNameBytes];
};
static_assert(sizeof(LogFontStyle) == 40, "LogFontStyle layout");

struct LogFontA {
  int32_t height;
  int32_t width;
  int32_t escapement;
  int32_t orientation;
  int32_t weight;
  LogFontStyle style;
};
static_assert(sizeof(LogFontA) == 60, "LogFontA layout");

struct LogFont16 {
  int16_t height;
  int16_t width;
  int16_t escapement;
  int16_t orientation;
  int16_t weight;
  LogFontStyle style;
};
static_assert(sizeof(LogFont16) == 50, "LogFont16 layout");

// A system font object made from a description; null when none can be made.
// The caller owns it.
void* CreateSystemFont(const LogFontA& font);
