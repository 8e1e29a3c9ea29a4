// The image bank's entry header: 56 bytes, the image data right after it
// (pixels in the bank row layout, then the alpha plane when flagged, or the
// run-length form when flagged so).
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

constexpr uint32_t kImageHasAlpha = 0x10;
constexpr uint32_t kImageCompressed = 0x40;

struct ImageEntry {
  uint32_t headerSize;  // 56
  uint32_t dataSize;
  int32_t refs;
  uint32_t checksum;
  int32_t width;
  int32_t height;
  int32_t depthCode;
  uint32_t flags;
  int32_t hotX;
  int32_t hotY;
  int32_t actionX;
  int32_t actionY;
  uint32_t transparent;  // 0x00BBGGRR
  uint32_t reserved;
};
static_assert(sizeof(ImageEntry) == 56, "the image entry header is 56 bytes");
OMB_PIN_OFFSET(ImageEntry, width, 16);
OMB_PIN_OFFSET(ImageEntry, flags, 28);
OMB_PIN_OFFSET(ImageEntry, transparent, 48);

// The entry's data: right after the header.
inline uint8_t* ImageEntryData(const ImageEntry* entry) {
  return reinterpret_cast<uint8_t*>(const_cast<ImageEntry*>(entry)) + sizeof(ImageEntry);
}
