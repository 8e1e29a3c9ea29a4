// The size of a picture turned by an angle, with its hot spot and action
// point carried along (positive angles turn counter-clockwise as shown).
#pragma once

#include <cstdint>

struct RotatedRecord {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
};

struct RotatedPoint {
  int32_t x;
  int32_t y;
};

// Width and height become those of the turned picture; the hot spot (when
// given) becomes the turned picture's corner-relative position of the old
// hot spot, the action point (when given) follows it. Corners are taken
// relative to the hot spot (or (0, 0)) and truncated toward zero.
void RotatedBounds(RotatedRecord* record, RotatedPoint* hotSpot, RotatedPoint* actionPoint,
                   float degrees);
