// A process-wide cache of the platform's 29 system colours as 0x00BBGGRR,
// exported as data and as functions. On 15- and 16-bit displays the values
// are the colours as the display reproduces them.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

constexpr int32_t kSysColorCount = 29;
constexpr int32_t kSysColorUnused = 25;  // not a system colour: never asked

// Where the colours come from: the system in the library, a stand-in in tests.
class SysColorSource {
 public:
  virtual ~SysColorSource() = default;
  virtual uint32_t Colour(int32_t index) = 0;
  // Replaces each entry by the colour the display shows for it, on displays
  // that reduce colours; the result of giving back the screen's context
  // (0 when there was none).
  virtual int32_t ReduceToDisplay(uint32_t* table, int32_t count) = 0;
};

// The system's colours (null where there is no platform).
SysColorSource* SystemSysColors();

// The cache over a source; the library's one instance is behind the exports.
class SysColorCache {
 public:
  explicit SysColorCache(SysColorSource* source) : source_(source) {}
  int32_t Cache(uint32_t* table);
  uint32_t Get(uint32_t* table, int32_t* loaded, int32_t index);
  int32_t Refresh(uint32_t* table, const int32_t* loaded);

 private:
  SysColorSource* source_;
};

extern "C" {
extern uint32_t SysColorTable[kSysColorCount];
extern int32_t SysColorsLoaded;
}

OMB_FLAT int32_t OMB_STDCALL CacheSysColors();
OMB_FLAT uint32_t OMB_STDCALL GetSysColorCached(int32_t index);
OMB_FLAT int32_t OMB_STDCALL RefreshSysColors();
