#include "app/AppPalette.h"

#include <mutex>

#include "palette/DefaultPalettes.h"
#include "palette/PaletteApi.h"
#include "palette/PaletteContext.h"
#include "surface/SystemPaletteEntries.h"
#include "surface/cSurfaceImpl.h"

namespace {

// The 256 colours of a system palette handle, or the library's default
// palette for null (also standing in for entries the handle lacks).
LogPalette EntriesOf(void* handle) {
  LogPalette log;
  {
    std::lock_guard<std::mutex> lock(PaletteLock());
    log = DefaultPalette256();
  }
  log.version = kLogPaletteVersion;
  log.count = kPaletteEntries;
  if (handle != nullptr) ReadSystemPaletteEntries(handle, log.entries);
  return log;
}

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
