// Natively there are no system windows: a record is only torn down.
#include "window/WindowApi.h"
#include "window/WindowRecord.h"

void ReleaseWindowGdi(WindowObject* window) {
  window->pen = nullptr;
  window->selectedPalette = nullptr;
}

OMB_FLAT void OMB_STDCALL WindowDestroy(WindowObject* window) {
  if (window == nullptr) return;
  DestroyChildWindows(window);
  DestroyWindowRecord(window);
}
