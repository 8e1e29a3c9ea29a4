#include "Memory.h"
#include "window/WindowApi.h"
#include "window/WindowAppLink.h"
#include "window/WindowSprites.h"

namespace {

enum WindowControlOp : int32_t {
  ControlNewSpritePool = 1,
  ControlSetAppFlags = 2,
  ControlGetAppFlags = 4,
  ControlGetUpdate = 9,
  ControlSetUpdate = 10,
};

}  // namespace

OMB_FLAT int32_t OMB_STDCALL WindowGetStyleFlags(WindowObject* window) {
  return window == nullptr ? 0 : window->style;
}

OMB_FLAT WindowObject* OMB_STDCALL WindowSetStyleFlags(WindowObject* window, int32_t flags) {
  if (window == nullptr) return nullptr;
  window->style = uint16_t(flags);
  return window;
}

OMB_FLAT void* OMB_STDCALL WindowGetHandle(WindowObject* window) {
  return window == nullptr ? nullptr : window->hwnd;
}

OMB_FLAT void* OMB_STDCALL WindowGetMDIClient(WindowObject* window) {
  return window == nullptr ? nullptr : window->mdiClient;
}

OMB_FLAT WindowObject* OMB_STDCALL WindowSetBackMode(WindowObject* window, int32_t mode) {
  if (window == nullptr) return nullptr;
  window->bkMode = mode;
  return window;
}

OMB_FLAT int32_t OMB_STDCALL WindowControl(WindowObject* window, int32_t operation, int32_t value,
                                           int32_t count) {
  if (window == nullptr) return 0;
  switch (operation) {
    case ControlNewSpritePool: {
      // The old pool stays when no new one can be made (or the count is below 1).
      SpritePool* pool = SpritePoolCreate(count);
      if (pool == nullptr) return 0;
      // The old pool's sprites go first, as WindowDeleteSprites takes them:
      // their surfaces, masks and links would outlive it.
      WindowDeleteSprites(window);
      SpritePoolFree(window);
      window->spritePool = pool;
      return 1;
    }
    case ControlSetAppFlags:
      if (window->app != nullptr) *AppFlagsWord(window->app) = uint16_t(value);
      return 1;
    case ControlGetAppFlags:
      return window->app == nullptr ? 0 : *AppFlagsWord(window->app);
    case ControlGetUpdate:
      return window->update;
    case ControlSetUpdate:
      window->update = uint16_t(value);
      if (!DisplayBeamUsable()) window->update &= uint16_t(~WindowUpdatePaced);
      return 1;
    default:
      return 1;
  }
}
