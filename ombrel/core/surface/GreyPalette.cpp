#include "surface/GreyPalette.h"

#include <mutex>

#include "palette/PaletteApi.h"

cPalette* SharedGreyPalette() {
  static std::mutex lock;
  static cPalette* grey = nullptr;
  std::lock_guard<std::mutex> guard(lock);
  if (grey == nullptr) {
    LogPalette log{};
    log.version = kLogPaletteVersion;
    log.count = kPaletteEntries;
    for (int i = 0; i < kPaletteEntries; ++i)
      log.entries[i] = PaletteEntry{uint8_t(i), uint8_t(i), uint8_t(i), 0};
    grey = PaletteGetShared(&log);  // this reference is the process's own
    BuildInverseTable(grey);
  }
  return grey;
}
