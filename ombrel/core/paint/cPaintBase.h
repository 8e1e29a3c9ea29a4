// A paint: an exported object that fills a rectangle of a surface (one
// colour, a gradient in bands, a tiled pattern). Clients build paints in
// their own storage and call them through the table by slot number, so the
// slot order below is part of the exported interface (MSVC object model, see
// docs/ABI.md): slot 0 `Destruct(flags)` destroys (and frees a MemAlloc
// block when bit 0 is set), then `SetOrigin`, `FillAll`, `Fill`.
//
// Painted shapes draw paints into temporaries whose black is transparent, so
// paints keep black away: a colour of 0 is stored as 8, and with the shape
// flag computed colours are kept off 0 (see PaintColour.h).
#pragma once

#include <cstdint>

#include "OmbrelApi.h"

class cSurfaceHandle;

class cPaintBase {
 public:
  cPaintBase() = default;
  cPaintBase(const cPaintBase&) = default;
  // Copies the fields after the table pointer (none here).
  cPaintBase& operator=(const cPaintBase& other);
  // The one destructor of all four paints: leaves a plain base paint behind.
  ~cPaintBase();

  virtual void Destruct(uint32_t flags);  // 0
  // The previous origin packed (x low 16 bits, y high 16 bits); the base
  // keeps none and answers 0.
  virtual uint32_t SetOrigin(int32_t x, int32_t y) OMB_EXPORT_AS(cPaintBase_SetOrigin);  // 1
  // Fill(surface, 0, 0, surface width, surface height, shape); width and
  // height are the shape's, which only the gradient uses.
  virtual int32_t FillAll(cSurfaceHandle* surface, int32_t width, int32_t height, int32_t shape)
      OMB_EXPORT_AS(cPaintBase_FillAll);  // 2
  // Fills [x1, x2) x [y1, y2) (handle coordinates); 0 when there is nothing
  // to draw with.
  virtual int32_t Fill(cSurfaceHandle* surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                       int32_t shape) = 0;  // 3

  // A colour of 0 becomes 8; returns the pointer.
  static uint32_t* ValidateColour(uint32_t* colour) OMB_EXPORT_AS(cPaintBase_ValidateColour);
};
OMB_PIN_SIZE(cPaintBase, 4);
