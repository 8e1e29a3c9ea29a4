// Without the platform's text renderer no surface draws text.
#include "surface/SurfaceTextPlatform.h"

int32_t PlainTextOut(cSurfaceImpl&, const char*, int32_t, int32_t, int32_t, int32_t,
                     const SurfaceRect*, uint32_t, void*) {
  return 0;
}
int32_t PlainDrawText(cSurfaceImpl&, const char*, int32_t, SurfaceRect*, uint32_t, uint32_t,
                      void*, int32_t, int32_t, int32_t) {
  return 0;
}
void* SharpTextFont(void*) { return nullptr; }
void FreeTextFont(void*) {}
