#include "paint/cPaintGradient.h"

#include "ExportedTable.h"
#include "paint/GradientBands.h"
#include "paint/PaintColour.h"
#include "surface/DeviceDrawing.h"
#include "surface/GdiDraw.h"
#include "surface/SurfaceHandle.h"

OMB_EXPORT_VFTABLE(cPaintGradient, "_ZTV14cPaintGradient")

// The fields sit where callers built with another compiler expect them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
OMB_PIN_OFFSET(cPaintGradient, originX, 4);
OMB_PIN_OFFSET(cPaintGradient, originY, 8);
OMB_PIN_OFFSET(cPaintGradient, colour1, 12);
OMB_PIN_OFFSET(cPaintGradient, colour2, 16);
OMB_PIN_OFFSET(cPaintGradient, vertical, 20);
#pragma GCC diagnostic pop

namespace {

// Fills bands lying along one axis on the surface's device context; `across`
// is the other axis's [from, to). False (ErrInvalidData) without a context.
template <class Bands>
int32_t DrawBands(cSurfaceHandle& surface, bool vertical, int32_t acrossFrom, int32_t acrossTo,
                  Bands bands) {
  DeviceDrawing device(surface);
  if (device.Dc() == nullptr) return 0;
  const int64_t dx = device.ShiftX(), dy = device.ShiftY();
  bands([&](int32_t start, int32_t end, uint32_t colour) {
    const SurfaceRect r = vertical ? SurfaceRect{int32_t(acrossFrom - dx), int32_t(start - dy),
                                                 int32_t(acrossTo - dx), int32_t(end - dy)}
                                   : SurfaceRect{int32_t(start - dx), int32_t(acrossFrom - dy),
                                                 int32_t(end - dx), int32_t(acrossTo - dy)};
    FillRectSolid(device.Dc(), &r, colour);
  });
  return 1;
}

}  // namespace

cPaintGradient::cPaintGradient(uint32_t c1, uint32_t c2, int32_t v, int32_t ox, int32_t oy)
    : originX(ox), originY(oy), colour1(NonBlack(c1)), colour2(NonBlack(c2)), vertical(v) {}

cPaintGradient& cPaintGradient::operator=(const cPaintGradient& other) {
  originX = other.originX;
  originY = other.originY;
  colour1 = other.colour1;
  colour2 = other.colour2;
  vertical = other.vertical;
  return *this;
}

uint32_t cPaintGradient::SetOrigin(int32_t x, int32_t y) {
  return ExchangeOrigin(&originX, &originY, x, y);
}

int32_t cPaintGradient::FillAll(cSurfaceHandle* surface, int32_t width, int32_t height,
                                int32_t shape) {
  if (surface == nullptr) return 0;
  const int32_t extent = vertical ? height : width;
  if (extent <= 0) return 0;
  const GradientRamp ramp(colour1, colour2, shape != 0);
  const int32_t across = vertical ? surface->GetWidth() : surface->GetHeight();
  return DrawBands(*surface, vertical != 0, 0, across, [&](auto visit) {
    ShapeBands(ramp, extent, vertical ? originY : originX, visit);
  });
}

int32_t cPaintGradient::Fill(cSurfaceHandle* surface, int32_t x1, int32_t y1, int32_t x2,
                             int32_t y2, int32_t shape) {
  if (surface == nullptr || x2 <= x1 || y2 <= y1) return 0;
  const GradientRamp ramp(colour1, colour2, shape != 0);
  if (vertical) {
    return DrawBands(*surface, true, x1, x2, [&](auto visit) { SpanBands(ramp, y1, y2, visit); });
  }
  return DrawBands(*surface, false, y1, y2, [&](auto visit) { SpanBands(ramp, x1, x2, visit); });
}

void cPaintGradient::SetColours(uint32_t c1, uint32_t c2) {
  colour1 = c1;
  colour2 = c2;
}

void cPaintGradient::SetVertical(int32_t v) { vertical = v; }
