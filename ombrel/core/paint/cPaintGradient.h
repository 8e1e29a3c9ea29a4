// A paint of two colours in bands: the colour changes from top to bottom
// (vertical, horizontal bands) or from left to right (vertical bands). The
// bands are drawn with a solid brush on the surface's device context, so
// surfaces without one (memory surfaces) get nothing, ErrInvalidData and 0.
#pragma once

#include "paint/cPaintBase.h"

class cPaintGradient : public cPaintBase {
 public:
  // Colours of 0 are stored as 8.
  cPaintGradient(uint32_t colour1, uint32_t colour2, int32_t vertical, int32_t originX,
                 int32_t originY);
  cPaintGradient(const cPaintGradient&) = default;
  cPaintGradient& operator=(const cPaintGradient& other);

  // Stores where the shape being filled starts to show (see FillAll).
  uint32_t SetOrigin(int32_t x, int32_t y) override OMB_EXPORT_AS(cPaintGradient_SetOrigin);
  // The gradient of a width x height shape, of which the surface shows the
  // part from the origin on; bands span the surface across the gradient.
  int32_t FillAll(cSurfaceHandle* surface, int32_t width, int32_t height, int32_t shape) override
      OMB_EXPORT_AS(cPaintGradient_FillAll);
  // The whole gradient across [x1, x2) x [y1, y2); the origin is not used.
  int32_t Fill(cSurfaceHandle* surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
               int32_t shape) override OMB_EXPORT_AS(cPaintGradient_Fill);

  void SetColours(uint32_t colour1, uint32_t colour2) OMB_EXPORT_AS(cPaintGradient_SetColours);
  void SetVertical(int32_t vertical) OMB_EXPORT_AS(cPaintGradient_SetVertical);

  int32_t originX;
  int32_t originY;
  uint32_t colour1;
  uint32_t colour2;
  int32_t vertical;  // non-zero: top to bottom
};
OMB_PIN_SIZE(cPaintGradient, 24);
