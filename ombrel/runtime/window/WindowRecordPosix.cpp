// Natively there are no system windows: a record is only torn down.
#include "window/WindowApi.h"
#include "window/WindowRecord.h"
#include "app/AppHooks.h"
#include "surface/cSurfaceImpl.h"

void ReleaseWindowGdi(WindowObject* window) {
  window->pen = nullptr;
  window->selectedPalette = nullptr;
}

OMB_FLAT void OMB_STDCALL WindowDestroy(WindowObject* window) {
  if (window == nullptr) return;
  DestroyChildWindows(window);
  DestroyWindowRecord(window);
}

// Natively a window has no device context: only its drawing surface follows
// the palette.
void SelectWindowPalette(WindowObject* window, cPalette* palette) {
  if (window != nullptr && palette != nullptr && window->drawImpl != nullptr) window->drawImpl->SetPalette(palette, 0);
}

void* WindowPaletteHandle(const WindowObject* window) {
  return window == nullptr ? nullptr : window->selectedPalette;
}
