// The surface handle's shapes that the platform draws on the surface's device
// context: ellipses, polygons and lines wider than one pixel.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "surface/DeviceDrawing.h"
#include "surface/GdiDraw.h"
#include "surface/ShiftedPoints.h"
#include "surface/SurfaceHandle.h"

namespace {
int32_t Shifted(int32_t v, int32_t shift) { return int32_t(uint32_t(v) - uint32_t(shift)); }
}  // namespace

int32_t cSurfaceHandle::LineWithPen(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width,
                                    uint32_t colour) {
  DeviceDrawing device(*this);
  if (device.Dc() == nullptr) return 0;
  const int32_t sx = device.ShiftX(), sy = device.ShiftY();
  return GdiLine(device.Dc(), Shifted(x1, sx), Shifted(y1, sy), Shifted(x2, sx), Shifted(y2, sy),
                 width, colour);
}

int32_t cSurfaceHandle::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t fillColour,
                                int32_t outlineWidth, uint32_t outlineColour, int32_t filled) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  DeviceDrawing device(*this);
  if (device.Dc() == nullptr) return 0;
  const int32_t sx = device.ShiftX(), sy = device.ShiftY();
  return GdiEllipse(device.Dc(), Shifted(x1, sx), Shifted(y1, sy), Shifted(x2, sx), Shifted(y2, sy),
                    fillColour, outlineWidth, outlineColour, filled);
}

void cSurfaceHandle::EllipseOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width,
                                    uint32_t colour) {
  if (width != 0) Ellipse(x1, y1, x2, y2, 0, width, colour, 0);
}

int32_t cSurfaceHandle::Polygon(const int32_t* points, int32_t count, uint32_t fillColour,
                                int32_t outlineWidth, uint32_t outlineColour, int32_t filled) {
  if (points == nullptr || count < 2) {
    lastError = ErrInvalidData;
    return 0;
  }
  DeviceDrawing device(*this);
  if (device.Dc() == nullptr) return 0;
  const int32_t sx = device.ShiftX(), sy = device.ShiftY();
  if (sx == 0 && sy == 0)
    return GdiPolygon(device.Dc(), points, count, fillColour, outlineWidth, outlineColour, filled);
  std::vector<int32_t> shifted;
  if (!ShiftedPoints(points, count, sx, sy, &shifted)) {
    lastError = ErrOutOfMemory;
    return 0;
  }
  return GdiPolygon(device.Dc(), shifted.data(), count, fillColour, outlineWidth, outlineColour,
                    filled);
}

void cSurfaceHandle::PolygonOutline(const int32_t* points, int32_t count, int32_t width,
                                    uint32_t colour) {
  if (width != 0) Polygon(points, count, 0, width, colour, 0);
}
