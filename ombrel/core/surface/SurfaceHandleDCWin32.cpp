// The handle's makers of device-context surfaces.
#include "surface/SurfaceHandle.h"
#include "surface/cDCSurface.h"

namespace {

cSurfaceImpl* Adopt(cSurfaceHandle* handle, cSurfaceImpl* made) {
  if (made == nullptr) {
    handle->lastError = ErrOutOfMemory;
    return nullptr;
  }
  cSurfaceHandle::AttachImpl(handle, made);
  return made;
}

}  // namespace

cSurfaceImpl* cSurfaceHandle::CreateOnDC(void* dc) {
  Destroy();
  lastError = LibOk;
  return Adopt(this, cDCSurface::MakeOnDC(dc));
}

cSurfaceImpl* cSurfaceHandle::CreateOnWindow(void* window, int32_t wholeWindow) {
  Destroy();
  lastError = LibOk;
  return Adopt(this, cDCSurface::MakeOnWindow(window, wholeWindow));
}
