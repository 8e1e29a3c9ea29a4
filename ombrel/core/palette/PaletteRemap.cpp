// Remap tables between palettes, and fitting a palette to the twenty static
// colours of a 256-colour display.
#include <cstdlib>
#include <cstring>

#include "palette/DefaultPalettes.h"
#include "palette/NearestPaletteEntry.h"
#include "palette/PaletteApi.h"
#include "palette/PaletteContext.h"
#include "palette/PaletteHandle.h"

namespace {

int ManhattanDistance(PaletteEntry a, PaletteEntry b) {
  return std::abs(int(a.red) - int(b.red)) + std::abs(int(a.green) - int(b.green)) +
         std::abs(int(a.blue) - int(b.blue));
}

// Nearest of candidates [from, to) to `target`, strict improvement only (the
// earlier candidate wins ties); an exact hit stops. `best`/`bestDistance`
// carry over between calls.
bool SearchCandidates(const PaletteEntry* entries, int from, int to, PaletteEntry target,
                      int& best, int& bestDistance) {
  for (int j = from; j < to; ++j) {
    const int d = ManhattanDistance(entries[j], target);
    if (d < bestDistance) {
      bestDistance = d;
      best = j;
      if (d == 0) return true;
    }
  }
  return false;
}

void PlaceStatic(PaletteEntry* entries, uint8_t* remap, int i, int j, bool& changed) {
  if (j == i) return;
  changed = true;
  for (int k = 0; k < kPaletteEntries; ++k) {
    if (k != i && SameRgb(entries[k], entries[i])) {
      if (remap != nullptr) remap[i] = uint8_t(k);
      return;
    }
  }
  const PaletteEntry t = entries[i];
  entries[i] = entries[j];
  entries[j] = t;
  if (remap != nullptr) {
    const uint8_t r = remap[i];
    remap[i] = remap[j];
    remap[j] = r;
  }
}

}  // namespace

OMB_FLAT int32_t OMB_STDCALL PaletteBuildRemap(uint8_t* table, cPalette* dest, cPalette* source,
                                               uint32_t keepZero) {
  if (table == nullptr || dest == nullptr || source == nullptr) return 0;
  const LogPalette& d = dest->log;
  const LogPalette& s = source->log;
  if (d.count == kPaletteEntries && s.count == kPaletteEntries) {
    bool same = true;
    for (int i = 0; i < kPaletteEntries && same; ++i) same = SameRgb(d.entries[i], s.entries[i]);
    if (same) return 0;
  }
  const bool keep = (keepZero & 0xFFFFu) != 0 && d.count > 1;
  for (int i = 0; i < s.count; ++i) {
    const uint32_t colour = EntryColour(s.entries[i]);
    if (keep && i > 0)
      table[i] = uint8_t(1 + NearestPaletteEntry(d.entries + 1, d.count - 1, colour));
    else
      table[i] = uint8_t(NearestPaletteEntry(d.entries, d.count, colour));
  }
  return 1;
}

OMB_FLAT int32_t OMB_STDCALL PaletteFitToSystem(PaletteEntry* dest, const PaletteEntry* source,
                                                uint8_t* remap) {
  if (dest == nullptr || source == nullptr) return 0;
  PaletteEntry statics[2 * kLowerStaticCount];
  {
    std::lock_guard<std::mutex> guard(PaletteLock());
    const LogPalette& defaults = DefaultPalette256();
    std::memcpy(statics, defaults.entries, sizeof(PaletteEntry) * kLowerStaticCount);
    std::memcpy(statics + kLowerStaticCount, defaults.entries + kUpperStaticFirst,
                sizeof(PaletteEntry) * kLowerStaticCount);
  }
  if (dest != source) std::memmove(dest, source, sizeof(PaletteEntry) * kPaletteEntries);
  if (remap != nullptr)
    for (int i = 0; i < kPaletteEntries; ++i) remap[i] = uint8_t(i);

  bool changed = false;
  for (int i = 0; i < kLowerStaticCount; ++i) {
    int best = i, bestDistance = 0x7FFF;
    SearchCandidates(dest, i, kPaletteEntries, statics[i], best, bestDistance);
    PlaceStatic(dest, remap, i, best, changed);
  }
  for (int i = kUpperStaticFirst; i < kPaletteEntries; ++i) {
    const PaletteEntry target = statics[kLowerStaticCount + i - kUpperStaticFirst];
    int best = i, bestDistance = 0x7FFF;
    if (!SearchCandidates(dest, i, kPaletteEntries, target, best, bestDistance))
      SearchCandidates(dest, kLowerStaticCount, kUpperStaticFirst, target, best, bestDistance);
    PlaceStatic(dest, remap, i, best, changed);
  }

  for (int i = 0; i < kLowerStaticCount; ++i) {
    dest[i] = statics[i];
    dest[i].flags = 0;
    dest[kUpperStaticFirst + i] = statics[kLowerStaticCount + i];
    dest[kUpperStaticFirst + i].flags = 0;
  }
  for (int i = kLowerStaticCount; i < kUpperStaticFirst; ++i) {
    PaletteEntry& e = dest[i];
    if (e.red < 8 && e.green < 8 && e.blue < 8) e = PaletteEntry{8, 0, 0, 0};
    e.flags = kPcNoCollapse;
  }
  return changed ? 1 : 0;
}

OMB_FLAT cPalette* OMB_STDCALL PaletteMakeSystem(cPalette* palette, uint8_t* remap) {
  if (palette == nullptr) return nullptr;
  LogPalette fitted{};
  fitted.version = kLogPaletteVersion;
  fitted.count = kPaletteEntries;
  PaletteFitToSystem(fitted.entries, palette->log.entries, remap);
  bool same = true;
  for (int i = 0; i < kPaletteEntries && same; ++i)
    same = SameRgb(fitted.entries[i], palette->log.entries[i]);
  if (!same) {
    if (cPalette* shared = PaletteGetShared(&fitted)) return shared;
  }
  return AddRefPalette(palette);
}

OMB_FLAT void* OMB_STDCALL PaletteCreateFromDIB(const uint8_t* header) {
  LogPalette copy;
  {
    std::lock_guard<std::mutex> guard(PaletteLock());
    LogPalette& defaults = DefaultPalette256();
    if (header != nullptr) {
      // The entries after the 40-byte header are taken as they stand.
      std::memcpy(defaults.entries + kLowerStaticCount, header + 40, 236 * sizeof(PaletteEntry));
      for (int i = kLowerStaticCount; i < kUpperStaticFirst; ++i) defaults.entries[i].flags = kPcNoCollapse;
    }
    copy = defaults;
  }
  return CreateSystemPalette(copy);
}
