// A paint of one colour.
#pragma once

#include "paint/cPaintBase.h"

class cPaintSolid : public cPaintBase {
 public:
  // A colour of 0 is stored as 8.
  explicit cPaintSolid(uint32_t colour);
  cPaintSolid(const cPaintSolid&) = default;
  cPaintSolid& operator=(const cPaintSolid& other);

  // FillRect with the colour (8 instead of 0 when `shape` is set).
  int32_t Fill(cSurfaceHandle* surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
               int32_t shape) override OMB_EXPORT_AS(cPaintSolid_Fill);

  // Stores the colour as given (0 stays 0); returns it.
  uint32_t SetColour(uint32_t colour) OMB_EXPORT_AS(cPaintSolid_SetColour);
  uint32_t GetColour() const OMB_EXPORT_AS(cPaintSolid_GetColour);

  uint32_t colour;  // 0x00BBGGRR
};
OMB_PIN_SIZE(cPaintSolid, 8);
