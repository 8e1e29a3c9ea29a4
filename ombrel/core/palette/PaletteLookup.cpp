// Colour-to-index lookups through the inverse colour table, entry reads and
// the system palette handle.
#include <cstring>

#include "Memory.h"
#include "palette/NearestPaletteEntry.h"
#include "palette/PaletteApi.h"
#include "palette/PaletteContext.h"
#include "palette/PaletteHandle.h"

namespace {

// The answer stored for a key: the entry nearest to the colour the key
// stands for, so that the table's content does not depend on which colours
// were asked first. Over 256 entries entry 0 is never an answer.
int NearestForKey(const cPalette& palette, uint32_t key) {
  const uint32_t colour = KeyColour(key);
  const int count = palette.log.count;
  if (count == kPaletteEntries) return 1 + NearestPaletteEntry(palette.log.entries + 1, count - 1, colour);
  return NearestPaletteEntry(palette.log.entries, count, colour);
}

int LookUp(cPalette& palette, uint32_t colour) {
  const uint32_t key = ColourKey(colour);
  uint8_t index = palette.inverse[key];
  if (index == 0) {
    index = uint8_t(NearestForKey(palette, key));
    palette.inverse[key] = index;  // an answer of 0 stays a miss: it is cheap to recompute
  }
  return index;
}

}  // namespace

OMB_FLAT int32_t OMB_STDCALL BuildInverseTable(cPalette* palette) {
  if (palette == nullptr) return 0;
  std::lock_guard<std::mutex> guard(PaletteLock());
  if (palette->inverse != nullptr) return 1;
  void* table = nullptr;
  if (!MemCalloc(kInverseTableBytes, &table)) return 0;
  auto* bytes = static_cast<uint8_t*>(table);
  // Each entry answers its own key; walking backwards lets the first of
  // several equal colours win, as the nearest-entry search does.
  for (int i = palette->log.count - 1; i >= 1; --i)
    bytes[ColourKey(EntryColour(palette->log.entries[i]))] = uint8_t(i);
  palette->inverse = bytes;
  return 1;
}

int32_t CompleteInverseTable(cPalette* palette) {
  if (!BuildInverseTable(palette)) return 0;
  std::lock_guard<std::mutex> guard(PaletteLock());
  for (uint32_t key = 0; key < kInverseTableBytes; ++key)
    if (palette->inverse[key] == 0) palette->inverse[key] = uint8_t(NearestForKey(*palette, key));
  return 1;
}

OMB_FLAT int32_t OMB_STDCALL NearestIndexCached(cPalette* palette, uint32_t colour) {
  if (palette == nullptr) return 0;
  if (palette->inverse == nullptr)
    return NearestPaletteEntry(palette->log.entries, palette->log.count, colour);
  return LookUp(*palette, colour);
}

OMB_FLAT int32_t OMB_STDCALL PaletteNearestIndex(cPalette* palette, uint32_t colour) {
  if (palette == nullptr || (colour & 0xFFFFFFu) == 0) return 0;
  if (palette->inverse == nullptr)
    return NearestPaletteEntry(palette->log.entries, palette->log.count, colour);
  return LookUp(*palette, colour);
}

int PaletteColourToIndex(const cPalette* palette, uint32_t colour) {
  if (IsIndexColour(colour)) return int(IndexOfColour(colour));
  return PaletteNearestIndex(const_cast<cPalette*>(palette), colour);
}

OMB_FLAT cPalette* OMB_STDCALL PaletteGetEntries(cPalette* palette, PaletteEntry* out,
                                                 int32_t first, int32_t count) {
  if (palette == nullptr) return nullptr;
  if (out == nullptr || first < 0 || first >= kPaletteEntries || count <= 0) return palette;
  if (count > kPaletteEntries - first) count = kPaletteEntries - first;
  std::memcpy(out, palette->log.entries + first, size_t(count) * sizeof(PaletteEntry));
  return palette;
}

OMB_FLAT void* OMB_STDCALL GetPaletteHandle(cPalette* palette) {
  if (palette == nullptr) return nullptr;
  std::lock_guard<std::mutex> guard(PaletteLock());
  if (palette->handle == nullptr) {
    LogPalette copy = palette->log;
    copy.count = kPaletteEntries;
    for (int i = 10; i < 246; ++i) copy.entries[i].flags = kPcNoCollapse;
    palette->handle = CreateSystemPalette(copy);
  }
  return palette->handle;
}
