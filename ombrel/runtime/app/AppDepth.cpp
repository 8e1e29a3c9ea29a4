// Re-formatting an application: its depth word, its format prototype and the
// depth its windows carry. Images already in its banks keep their format.
#include "app/AppApi.h"
#include "app/AppHooks.h"
#include "app/DisplayDepth.h"
#include "surface/cSurfaceImpl.h"

int32_t AppSetDepthOn(AppObject* app, int32_t depth, DisplaySource& display) {
  if (app == nullptr) return 0;
  const int32_t directDrawBits = (depth & 0x20) != 0 ? display.DirectDrawBits() : 0;
  const uint16_t word = ChooseAppDepthWord(depth, display.ScreenDepthCode(), directDrawBits);
  cSurfaceImpl* prototype = MakeFormatPrototype(app, word & 0xF);
  if (prototype == nullptr) return 0;
  DeleteSurface(app->formatPrototype);
  app->formatPrototype = prototype;
  app->depth = word;
  int32_t handle = app->windows.GetHead();
  while (handle != 0) WindowFollowAppDepth(static_cast<WindowObject*>(app->windows.Next(&handle)), word);
  return word;
}

OMB_FLAT int32_t OMB_STDCALL AppSetDepth(AppObject* app, int32_t depth) {
  return AppSetDepthOn(app, depth, SystemDisplay());
}
