#include "window/WindowAppLink.h"

#include <mutex>

#include "HandleList.h"
#include "app/AppHooks.h"
#include "app/AppLists.h"
#include "app/AppObject.h"
#include "palette/DefaultPalettes.h"
#include "palette/NearestPaletteEntry.h"
#include "palette/PaletteContext.h"
#include "palette/cPalette.h"

namespace {

constexpr uint32_t kPaletteIndexTag = 0x01000000;

bool IsTrueColour(int32_t depthCode) {
  return depthCode == 4 || depthCode == 6 || depthCode == 7 || depthCode == 8;
}

// The index in the code's palette, the app's own for 8 bits; -1 without one.
int32_t IndexIn(const LogPalette& log, int32_t depthCode, uint32_t colour) {
  const int count = log.count;
  if (count <= 0) return -1;
  if (depthCode == 3 && count == 256) {
    // The display's static colours first, when one of them is the colour exactly.
    const int low = NearestPaletteEntry(log.entries, kLowerStaticCount, colour);
    const PaletteEntry& l = log.entries[low];
    if ((uint32_t(l.red) | uint32_t(l.green) << 8 | uint32_t(l.blue) << 16) == (colour & 0xFFFFFF))
      return low;
    const int high = NearestPaletteEntry(log.entries + kUpperStaticFirst, kLowerStaticCount, colour);
    const PaletteEntry& h = log.entries[kUpperStaticFirst + high];
    if ((uint32_t(h.red) | uint32_t(h.green) << 8 | uint32_t(h.blue) << 16) == (colour & 0xFFFFFF))
      return kUpperStaticFirst + high;
  }
  return NearestPaletteEntry(log.entries, count, colour);
}

}  // namespace

cHandleList* AppWindowList(AppObject* app) { return &app->windows; }
uint16_t AppDepthWord(const AppObject* app) { return app->depth; }
void* AppInstanceHandle(const AppObject* app) { return app->instance; }
uint16_t* AppFlagsWord(AppObject* app) { return &app->flags; }
bool AppHasPalette(const AppObject* app) { return app->palette != nullptr; }

int32_t AppColourIndex(AppObject* app, int32_t depthCode, uint32_t colour) {
  if (IsTrueColour(depthCode)) return -1;
  if ((colour & 0xFF000000u) == kPaletteIndexTag && (colour & 0x00FF0000u) == 0)
    return int32_t(colour & 0xFFFF);
  if (depthCode == 3 && app != nullptr && app->palette != nullptr)
    return IndexIn(app->palette->log, depthCode, colour);
  std::lock_guard<std::mutex> lock(PaletteLock());
  const LogPalette* log = DefaultLogPalette(depthCode);
  return log == nullptr ? -1 : IndexIn(*log, depthCode, colour);
}

int32_t AppDefaultPaletteCount(AppObject* app, int32_t depthCode) {
  if (depthCode == 3 && app != nullptr && app->palette != nullptr) return app->palette->log.count;
  std::lock_guard<std::mutex> lock(PaletteLock());
  const LogPalette* log = DefaultLogPalette(depthCode);
  return log == nullptr ? 0 : log->count;
}

WindowObject* FindThreadWindow(void* hwnd) {
  cHandleList* apps = CurrentAppList();
  if (apps == nullptr || hwnd == nullptr) return nullptr;
  for (int32_t a = apps->GetHead(); a != 0;) {
    auto* app = static_cast<AppObject*>(apps->Next(&a));
    if (app == nullptr) continue;
    for (int32_t w = app->windows.GetHead(); w != 0;) {
      auto* window = static_cast<WindowObject*>(app->windows.Next(&w));
      if (window != nullptr && window->hwnd == hwnd) return window;
    }
  }
  return nullptr;
}

// No DirectDraw layer reports the beam yet: presents are not paced.
bool DisplayBeamUsable() { return false; }

void WindowFollowAppDepth(WindowObject* window, uint16_t depth) {
  if (window != nullptr) window->depth = depth;
}
