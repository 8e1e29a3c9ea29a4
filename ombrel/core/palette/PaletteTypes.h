// Palette records as they cross the library's edge: a 4-byte entry (red,
// green, blue, flags) and a palette header with room for 256 entries. Both
// keep the byte layout of the system's own palette records, so callers may
// pass theirs as they stand.
#pragma once

#include <cstddef>
#include <cstdint>

#include "OmbrelApi.h"

struct PaletteEntry {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  uint8_t flags;
};
OMB_PIN_SIZE(PaletteEntry, 4);

constexpr int kPaletteEntries = 256;
constexpr uint16_t kLogPaletteVersion = 0x300;
// Flag of entries the system must not merge with its static colours.
constexpr uint8_t kPcNoCollapse = 4;

// Header plus room for 256 entries. A caller's record may be shorter: only
// `count` entries are read from it.
struct LogPalette {
  uint16_t version;
  uint16_t count;
  PaletteEntry entries[kPaletteEntries];
};
OMB_PIN_SIZE(LogPalette, 1028);
OMB_PIN_OFFSET(LogPalette, entries, 4);

// 0x00BBGGRR of an entry (flags dropped).
constexpr uint32_t EntryColour(PaletteEntry e) {
  return uint32_t(e.red) | uint32_t(e.green) << 8 | uint32_t(e.blue) << 16;
}

constexpr PaletteEntry EntryFromColour(uint32_t colour, uint8_t flags = 0) {
  return PaletteEntry{uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16), flags};
}

constexpr bool SameRgb(PaletteEntry a, PaletteEntry b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// 15-bit key of the inverse colour table: the top five bits of red, green
// and blue of a 0x00BBGGRR colour.
constexpr uint32_t ColourKey(uint32_t colour) {
  return ((colour & 0xF8u) >> 3) << 10 | ((colour >> 11) & 0x1Fu) << 5 | ((colour >> 19) & 0x1Fu);
}

// A colour of the form 0x01000000 + n names palette entry n (0..255) directly.
constexpr bool IsIndexColour(uint32_t colour) { return (colour & 0xFF000000u) == 0x01000000u; }
constexpr uint32_t IndexOfColour(uint32_t colour) { return colour & 0xFFu; }

// Entries between the palette form (red first) and the colour-table form of
// bitmaps (blue first): bytes 0 and 2 swap and byte 3 becomes 0. Both work in
// place.
inline void LogEntriesToRGBQuad(void* dest, const void* source, int count) {
  auto* d = static_cast<uint8_t*>(dest);
  const auto* s = static_cast<const uint8_t*>(source);
  for (int i = 0; i < count; ++i, d += 4, s += 4) {
    const uint8_t first = s[0], middle = s[1], last = s[2];
    d[0] = last;
    d[1] = middle;
    d[2] = first;
    d[3] = 0;
  }
}
inline void RGBQuadToLogEntries(void* dest, const void* source, int count) {
  LogEntriesToRGBQuad(dest, source, count);
}
