// What the full-screen switch of the DIB back end asks of the display and of
// the window it enlarges, as a plain interface: the library passes the
// system's own (DisplaySettingsWin32.cpp), tests a recording stand-in.
#pragma once

#include <cstddef>
#include <cstdint>

#include "OmbrelApi.h"

// The system's display-mode record (DEVMODEA) byte for byte: 156 bytes.
struct DisplayModeRecord {
  char deviceName[32];
  uint16_t specVersion;
  uint16_t driverVersion;
  uint16_t size;  // 156
  uint16_t driverExtra;
  uint32_t fields;
  uint8_t deviceUnion[16];  // printer or display position fields
  int16_t colour;
  int16_t duplex;
  int16_t yResolution;
  int16_t ttOption;
  int16_t collate;
  char formName[32];
  uint16_t logPixels;
  uint32_t bitsPerPel;
  uint32_t pelsWidth;
  uint32_t pelsHeight;
  uint32_t displayFlags;
  uint32_t displayFrequency;
  uint32_t icmFields[6];  // ICM method, intent, media, dither, 2 reserved
  uint32_t panningWidth;
  uint32_t panningHeight;
};
static_assert(sizeof(DisplayModeRecord) == 156, "DisplayModeRecord is the system's 156 bytes");
static_assert(offsetof(DisplayModeRecord, fields) == 40, "fields at 40");
static_assert(offsetof(DisplayModeRecord, bitsPerPel) == 104, "bits per pixel at 104");

constexpr uint16_t kDisplayModeSize = 156;
// DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT
constexpr uint32_t kDisplayModeFieldsSize = 0x1C0000;
constexpr uint32_t kChangeFullScreen = 4;        // CDS_FULLSCREEN
constexpr int32_t kChangeSuccessful = 0;         // DISP_CHANGE_SUCCESSFUL
constexpr uint32_t kCurrentSettings = 0xFFFFFFFFu;  // ENUM_CURRENT_SETTINGS
constexpr uint32_t kFullScreenStyle = 0x86000000u;  // WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
constexpr uint32_t kPosShowNoZOrder = 0x0040 | 0x0004;  // SWP_SHOWWINDOW | SWP_NOZORDER

struct WindowRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

class DisplaySettings {
 public:
  virtual ~DisplaySettings() = default;
  // Mode number n, or kCurrentSettings; false past the last mode.
  virtual bool EnumMode(uint32_t number, DisplayModeRecord* mode) = 0;
  // The system's result code; kChangeSuccessful on success.
  virtual int32_t ChangeMode(const DisplayModeRecord* mode, uint32_t flags) = 0;
  virtual bool GetWindowRect(void* window, WindowRect* rect) = 0;
  virtual uint32_t GetStyle(void* window) = 0;
  virtual void SetStyle(void* window, uint32_t style) = 0;
  virtual void SetWindowPos(void* window, int32_t x, int32_t y, int32_t width, int32_t height,
                            uint32_t flags) = 0;
};

// The system's display and windows (in the library; null natively).
DisplaySettings* SystemDisplaySettings();
