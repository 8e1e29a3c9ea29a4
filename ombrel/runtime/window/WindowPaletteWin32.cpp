#include "window/SystemHeaders.h"

#include "app/AppHooks.h"
#include "app/AppObject.h"
#include "palette/PaletteApi.h"
#include "surface/cSurfaceImpl.h"
#include "window/WindowAppLink.h"
#include "window/WindowDrawApi.h"

void SelectWindowPalette(WindowObject* window, cPalette* palette) {
  if (window == nullptr || palette == nullptr) return;
  HPALETTE handle = static_cast<HPALETTE>(GetPaletteHandle(palette));
  // While a window holds the full screen only it owns the system palette,
  // unless it lets the others keep selecting theirs.
  const WindowObject* holder = FullScreenWindow();
  if (handle != nullptr && (holder == nullptr || (holder->update & WindowUpdateKeepPalettes) != 0)) {
    if (HDC dc = static_cast<HDC>(window->dc)) {
      HPALETTE previous = SelectPalette(dc, handle, FALSE);
      // The first palette is put back when the window lets its context go.
      if (window->previousPalette == nullptr) window->previousPalette = previous;
      RealizePalette(dc);
    }
    window->selectedPalette = handle;
  }
  if (window->drawImpl != nullptr) window->drawImpl->SetPalette(palette, 0);
}

void* WindowPaletteHandle(const WindowObject* window) {
  return window == nullptr ? nullptr : window->selectedPalette;
}

void SelectAppPaletteIntoWindow(WindowObject* window) {
  if (window != nullptr && window->app != nullptr) SelectWindowPalette(window, window->app->palette);
}
