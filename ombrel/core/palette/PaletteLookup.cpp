// Colour-to-index lookups through the inverse colour table, entry reads and
// the system palette handle.
#include <cstring>

#include "Memory.h"
#include "palette/NearestPaletteEntry.h"
#include "palette/PaletteApi.h"
#include "palette/PaletteContext.h"
#include "palette/PaletteHandle.h"

namespace {

// The table block: the 32768 answers by key; then one bit per key, set where
// the key's answer is not the only entry of that key; then, for every entry,
// the previous entry of the same key (0 = none), so that the entries sharing
// a key can be walked from the one the key answers.
constexpr uint32_t kSharedBitsBytes = kInverseTableBytes / 8;
constexpr uint32_t kTableBlockBytes = kInverseTableBytes + kSharedBitsBytes + kPaletteEntries;

uint8_t* SharedBits(const cPalette& palette) { return palette.inverse + kInverseTableBytes; }
uint8_t* SameKeyChain(const cPalette& palette) { return SharedBits(palette) + kSharedBitsBytes; }

bool IsShared(const uint8_t* bits, uint32_t key) { return (bits[key >> 3] >> (key & 7)) & 1; }
void MarkShared(uint8_t* bits, uint32_t key) { bits[key >> 3] |= uint8_t(1u << (key & 7)); }

// Answers are filled in from every thread that draws with the palette (the
// shared grey palette of byte views is one palette for all threads): a byte
// at a time, each a complete answer.
uint8_t LoadAnswer(const uint8_t* cell) { return __atomic_load_n(cell, __ATOMIC_RELAXED); }
void StoreAnswer(uint8_t* cell, uint8_t answer) { __atomic_store_n(cell, answer, __ATOMIC_RELAXED); }

// A key may be taken by a later entry of another colour: an entry of exactly
// the colour asked still answers it (the last such entry, as the key's own
// answer would be); otherwise the key's answer stands.
int ExactOrAnswer(const cPalette& palette, int answer, uint32_t rgb) {
  const PaletteEntry* entries = palette.log.entries;
  const uint8_t* chain = SameKeyChain(palette);
  for (int i = answer; i != 0; i = chain[i])
    if (EntryColour(entries[i]) == rgb) return i;
  // Below 256 entries entry 0 is searched too, but never written to the table.
  if (palette.log.count < kPaletteEntries && EntryColour(entries[0]) == rgb) return 0;
  return answer;
}

int LookUp(cPalette& palette, uint32_t colour) {
  const uint32_t key = ColourKey(colour);
  uint8_t* cell = palette.inverse + key;
  const int answer = LoadAnswer(cell);
  if (answer != 0) {
    if (!IsShared(SharedBits(palette), key)) return answer;
    return ExactOrAnswer(palette, answer, colour & 0xFFFFFFu);
  }
  // A miss: the nearest entry to the colour asked becomes the key's answer
  // (an answer of 0 stays a miss: it is cheap to recompute).
  const int nearest = NearestPaletteEntry(palette.log.entries, palette.log.count, colour);
  StoreAnswer(cell, uint8_t(nearest));
  return nearest;
}

}  // namespace

OMB_FLAT int32_t OMB_STDCALL BuildInverseTable(cPalette* palette) {
  if (palette == nullptr) return 0;
  std::lock_guard<std::mutex> guard(PaletteLock());
  if (palette->inverse != nullptr) return 1;
  void* block = nullptr;
  if (!MemCalloc(kTableBlockBytes, &block)) return 0;
  auto* table = static_cast<uint8_t*>(block);
  uint8_t* bits = table + kInverseTableBytes;
  uint8_t* chain = bits + kSharedBitsBytes;
  // Each entry answers its own key, in entry order: a later entry takes the
  // key from an earlier one. Entries past the count are not the palette's.
  const PaletteEntry* entries = palette->log.entries;
  for (int i = 1; i < palette->log.count; ++i) {
    const uint32_t key = ColourKey(EntryColour(entries[i]));
    chain[i] = table[key];
    if (chain[i] != 0) MarkShared(bits, key);
    table[key] = uint8_t(i);
  }
  // A short palette's entry 0 is searched but never an answer in the table.
  const uint32_t key0 = ColourKey(EntryColour(entries[0]));
  if (palette->log.count < kPaletteEntries && table[key0] != 0) MarkShared(bits, key0);
  palette->inverse = table;
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
