#include "app/AppPalette.h"

#include <cstring>
#include <mutex>

#include "app/AppHooks.h"
#include "palette/DefaultPalettes.h"
#include "palette/NearestPaletteEntry.h"
#include "palette/PaletteApi.h"
#include "palette/PaletteContext.h"
#include "palette/cPalette.h"
#include "surface/SystemPaletteEntries.h"
#include "surface/cSurfaceImpl.h"

namespace {

constexpr int32_t kDepth8 = 3;
constexpr int kStaticCount = 10;

// The 256 colours of a system palette handle, or the library's default
// palette for null (also standing in for entries the handle lacks).
LogPalette EntriesOf(void* handle) {
  LogPalette log;
  CopyDefaultPalette(nullptr, kDepth8, &log);
  if (handle != nullptr) ReadSystemPaletteEntries(handle, log.entries);
  return log;
}

bool IsTrueColour(int32_t code) { return code == 4 || code == 6 || code == 7 || code == 8; }

// The entry of `entries` (count 10) that holds exactly the colour, or -1.
int32_t ExactStatic(const PaletteEntry* entries, uint32_t colour) {
  const int i = NearestPaletteEntry(entries, kStaticCount, colour);
  return EntryColour(entries[i]) == (colour & 0xFFFFFF) ? i : -1;
}

// Selects the app palette into every window of a 256-colour app for which
// `wanted` says so.
template <typename Wanted>
void SelectIntoWindows(AppObject* app, Wanted wanted) {
  if (app->DepthCode() != kDepth8) return;
  int32_t handle = app->windows.GetHead();
  while (handle != 0) {
    auto* window = static_cast<WindowObject*>(app->windows.Next(&handle));
    if (wanted(window)) SelectWindowPalette(window, app->palette);
  }
}

void* HandleOf(const cPalette* palette) { return palette != nullptr ? palette->handle : nullptr; }

}  // namespace

void BuildAppPalette(AppObject* app, void* handle, cPalette* palette) {
  if (app == nullptr) return;
  cPalette* next = nullptr;
  if (palette != nullptr) {
    next = AddRefPalette(palette);
  } else {
    const LogPalette log = EntriesOf(handle);
    next = PaletteGetShared(&log);
    if (next == nullptr) return;
  }
  ReleasePalette(app->palette);
  app->palette = next;
  app->blackIndex = next->blackIndex;
  // The palette owns its handle; one it already has (selected into windows
  // perhaps) is neither replaced nor leaked.
  if (handle != nullptr && next->handle == nullptr) next->handle = handle;
  cSurfaceImpl* prototype = app->formatPrototype;
  if (prototype != nullptr && prototype->view.depth == 8) prototype->SetPalette(next, 0);
}

int32_t CopyDefaultPalette(const AppObject* app, int32_t depthCode, LogPalette* out) {
  if (depthCode == kDepth8 && app != nullptr && app->palette != nullptr) {
    *out = app->palette->log;
    return out->count;
  }
  std::lock_guard<std::mutex> lock(PaletteLock());
  const LogPalette* log = DefaultLogPalette(depthCode);
  if (log == nullptr) return 0;
  out->version = log->version;
  out->count = log->count;
  std::memcpy(out->entries, log->entries, sizeof(PaletteEntry) * log->count);
  return out->count;
}

int32_t ColourToPaletteIndex(const AppObject* app, int32_t depthCode, uint32_t colour) {
  if (IsTrueColour(depthCode)) return -1;
  if ((colour & 0xFFFF0000u) == 0x01000000u) return int32_t(colour & 0xFFFF);
  LogPalette log;
  const int32_t count = CopyDefaultPalette(app, depthCode, &log);
  if (count == 0) return -1;
  if (depthCode == kDepth8) {
    const int32_t lower = ExactStatic(log.entries, colour);
    if (lower >= 0) return lower;
    const int32_t upper = ExactStatic(log.entries + kUpperStaticFirst, colour);
    if (upper >= 0) return kUpperStaticFirst + upper;
  }
  return NearestPaletteEntry(log.entries, count, colour);
}

int32_t GetDepthPaletteQuads(void* out, int32_t depthCode, const AppObject* app) {
  LogPalette log;
  const int32_t count = CopyDefaultPalette(app, depthCode, &log);
  if (out != nullptr && count > 0) LogEntriesToRGBQuad(out, log.entries, count);
  return count;
}

OMB_FLAT uint32_t OMB_STDCALL AppIndexToColour(AppObject* app, int32_t depthCode, int32_t index) {
  LogPalette log;
  const int32_t count = CopyDefaultPalette(app, depthCode, &log);
  // Only the 256 stored entries can be read, whatever the count says.
  if (count == 0 || index < 0 || index >= kPaletteEntries) return 0;
  return EntryColour(log.entries[index]);
}

OMB_FLAT int32_t OMB_STDCALL AppCopyPalette(LogPalette* out, int32_t depthCode, AppObject* app) {
  LogPalette log;
  const int32_t count = CopyDefaultPalette(app, depthCode, &log);
  if (out == nullptr || count == 0) return count;
  out->version = log.version;
  out->count = log.count;
  for (int32_t i = 0; i < count; ++i) out->entries[i] = EntryFromColour(EntryColour(log.entries[i]));
  return count;
}

OMB_FLAT void OMB_STDCALL AppSetPalette(AppObject* app, void* handle) {
  if (app == nullptr) return;
  if (handle != HandleOf(app->palette)) BuildAppPalette(app, handle, nullptr);
  SelectIntoWindows(app, [](WindowObject*) { return true; });
}

OMB_FLAT int32_t OMB_STDCALL AppGetBlackIndex(AppObject* app) {
  return app != nullptr ? app->blackIndex : 4;
}

OMB_FLAT void OMB_STDCALL AppSetPaletteObject(AppObject* app, void* handle, cPalette* palette) {
  if (app == nullptr) return;
  void* held = HandleOf(app->palette);
  if (palette == nullptr || palette != app->palette) BuildAppPalette(app, handle, palette);
  SelectIntoWindows(app, [held](WindowObject* window) { return WindowPaletteHandle(window) == held; });
}

OMB_FLAT int32_t OMB_STDCALL AppColourToIndex(AppObject* app, int32_t depthCode, uint32_t colour) {
  return ColourToPaletteIndex(app, depthCode, colour);
}
