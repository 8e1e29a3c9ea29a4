#include "window/SystemHeaders.h"

#include "app/AppObject.h"
#include "palette/PaletteApi.h"
#include "window/WindowAppLink.h"

void SelectAppPaletteIntoWindow(WindowObject* window) {
  HDC dc = static_cast<HDC>(window->dc);
  if (dc == nullptr || window->app == nullptr || window->app->palette == nullptr) return;
  HPALETTE palette = static_cast<HPALETTE>(GetPaletteHandle(window->app->palette));
  if (palette == nullptr) return;
  HPALETTE previous = SelectPalette(dc, palette, FALSE);
  if (window->selectedPalette == nullptr) window->previousPalette = previous;
  window->selectedPalette = palette;
  RealizePalette(dc);
}
