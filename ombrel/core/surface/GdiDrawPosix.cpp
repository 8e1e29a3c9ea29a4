// No device contexts outside Windows: the helpers draw nothing.
#include "surface/GdiDraw.h"

int32_t FillRectSolid(void*, const SurfaceRect*, uint32_t) { return 0; }
int32_t GdiEllipse(void*, int32_t, int32_t, int32_t, int32_t, uint32_t, int32_t, uint32_t, int32_t) {
  return 0;
}
int32_t GdiPolygon(void*, const int32_t*, int32_t, uint32_t, int32_t, uint32_t, int32_t) { return 0; }
int32_t GdiRectangle(void*, int32_t, int32_t, int32_t, int32_t, uint32_t, int32_t, uint32_t, int32_t) {
  return 0;
}
int32_t GdiLine(void*, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t) { return 0; }
void FlushDrawing() {}
