// Finding, creating and releasing shared palettes, and the thread start-up
// and shut-down of the palette service.
#include <new>

#include "Memory.h"
#include "palette/DefaultPalettes.h"
#include "palette/DisplayPalette.h"
#include "palette/NearestPaletteEntry.h"
#include "palette/PaletteApi.h"
#include "palette/PaletteContext.h"

namespace {

// Entries 1..255 never hold pure black: only the transparent entry 0 may.
void Normalise(LogPalette& log) {
  log.entries[0].flags = 0;
  for (int i = 1; i < kPaletteEntries; ++i) {
    PaletteEntry& e = log.entries[i];
    e.flags = 0;
    if (e.red == 0 && e.green == 0 && e.blue == 0) e.red = 8;
  }
}

bool SameColours(const LogPalette& a, const LogPalette& normalised) {
  if (a.count != normalised.count || !SameRgb(a.entries[10], normalised.entries[10])) return false;
  for (int i = 0; i < kPaletteEntries; ++i)
    if (!SameRgb(a.entries[i], normalised.entries[i])) return false;
  return true;
}

cPalette* GetSharedLocked(const LogPalette* log) {
  if (log == nullptr || log->count < 1 || log->count > kPaletteEntries) return nullptr;
  PaletteContext* context = FindThreadContext();
  if (context == nullptr) return nullptr;

  LogPalette wanted{};
  wanted.version = kLogPaletteVersion;
  wanted.count = log->count;
  for (int i = 0; i < log->count; ++i) wanted.entries[i] = log->entries[i];
  Normalise(wanted);
  for (cPalette* palette : context->palettes) {
    if (SameColours(palette->log, wanted)) {
      ++palette->refCount;
      return palette;
    }
  }

  void* block = nullptr;
  if (!MemCalloc(sizeof(cPalette), &block)) return nullptr;
  auto* palette = new (block) cPalette{};
  palette->log = wanted;
  palette->blackIndex = 1 + NearestPaletteEntry(wanted.entries + 1, wanted.count - 1, 0);
  palette->refCount = 1;
  palette->owner = context;
  try {
    context->palettes.push_back(palette);
  } catch (const std::bad_alloc&) {
    MemFree(&block);
    return nullptr;
  }
  return palette;
}

}  // namespace

int32_t PaletteRefCount(const cPalette* palette) {
  if (palette == nullptr) return 0;
  std::lock_guard<std::mutex> guard(PaletteLock());
  return palette->refCount;
}

OMB_FLAT cPalette* OMB_STDCALL PaletteGetShared(const LogPalette* log) {
  std::lock_guard<std::mutex> guard(PaletteLock());
  return GetSharedLocked(log);
}

OMB_FLAT cPalette* OMB_STDCALL PaletteFromLogPalette(const LogPalette* log) {
  return PaletteGetShared(log);
}

OMB_FLAT cPalette* OMB_STDCALL AddRefPalette(cPalette* palette) {
  if (palette == nullptr) return nullptr;
  std::lock_guard<std::mutex> guard(PaletteLock());
  ++palette->refCount;
  return palette;
}

OMB_FLAT cPalette* OMB_STDCALL ReleasePalette(cPalette* palette) {
  if (palette == nullptr) return nullptr;
  std::lock_guard<std::mutex> guard(PaletteLock());
  if (palette->refCount <= 0) return nullptr;  // unbalanced release: leave it alone
  if (--palette->refCount > 0) return palette;
  FreePaletteLocked(palette);
  return nullptr;
}

OMB_FLAT cPalette* OMB_STDCALL PaletteRelease(cPalette* palette) { return ReleasePalette(palette); }

OMB_FLAT cPalette* OMB_STDCALL PaletteGetDefault() {
  std::lock_guard<std::mutex> guard(PaletteLock());
  PaletteContext* context = FindThreadContext();
  if (context == nullptr || context->palettes.empty()) return nullptr;
  cPalette* palette = context->palettes.front();
  ++palette->refCount;
  return palette;
}

OMB_FLAT cPalette* OMB_STDCALL PaletteStartup() {
  PaletteEntry display[kPaletteEntries] = {};
  const int colours = ReadDisplayPalette(display);
  std::lock_guard<std::mutex> guard(PaletteLock());
  if (colours == 16) ApplySystemColours16(display);
  if (colours == 256) ApplySystemStaticColours(display, display + kUpperStaticFirst);
  if (!EnterThreadContext()) return nullptr;
  return GetSharedLocked(&DefaultPalette256());
}

OMB_FLAT void OMB_STDCALL PaletteShutdown() {
  std::lock_guard<std::mutex> guard(PaletteLock());
  LeaveThreadContext();
}
