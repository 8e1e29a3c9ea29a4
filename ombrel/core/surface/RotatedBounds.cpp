#include "surface/RotatedBounds.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRadiansPerDegree = 0.01745329251993889;

struct Turn {
  double cos;
  double sin;
  RotatedPoint Apply(int32_t x, int32_t y) const {
    return RotatedPoint{int32_t(std::trunc(x * cos + y * sin)), int32_t(std::trunc(y * cos - x * sin))};
  }
};

Turn TurnOf(float degrees) {
  if (degrees == 90.0f) return {0, 1};
  if (degrees == 180.0f) return {-1, 0};
  if (degrees == 270.0f) return {0, -1};
  return {std::cos(degrees * kRadiansPerDegree), std::sin(degrees * kRadiansPerDegree)};
}

}  // namespace

void RotatedBounds(RotatedRecord* record, RotatedPoint* hotSpot, RotatedPoint* actionPoint,
                   float degrees) {
  if (record == nullptr) return;
  const Turn turn = TurnOf(degrees);
  const int32_t hx = hotSpot != nullptr ? hotSpot->x : 0, hy = hotSpot != nullptr ? hotSpot->y : 0;
  const int32_t w = record->width, h = record->height;
  const RotatedPoint corners[4] = {turn.Apply(-hx, -hy), turn.Apply(w - hx, -hy),
                                   turn.Apply(w - hx, h - hy), turn.Apply(-hx, h - hy)};
  int32_t minX = corners[0].x, maxX = minX, minY = corners[0].y, maxY = minY;
  for (const RotatedPoint& c : corners) {
    minX = std::min(minX, c.x);
    maxX = std::max(maxX, c.x);
    minY = std::min(minY, c.y);
    maxY = std::max(maxY, c.y);
  }
  record->width = maxX - minX;
  record->height = maxY - minY;
  if (actionPoint != nullptr) {
    const RotatedPoint turned = turn.Apply(actionPoint->x - hx, actionPoint->y - hy);
    *actionPoint = RotatedPoint{turned.x - minX, turned.y - minY};
  }
  if (hotSpot != nullptr) *hotSpot = RotatedPoint{-minX, -minY};
}
