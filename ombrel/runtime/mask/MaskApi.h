// The Mask flat functions: a window's background collision mask (creation,
// clip, origin, fills, stamps, tests and scrolling) and the sprite test
// against it.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "mask/WindowMask.h"
#include "sprite/SpriteRecord.h"
#include "window/WindowObject.h"

OMB_FLAT int32_t OMB_STDCALL MaskCreate(WindowObject* window, int32_t marginX, int32_t marginY, int32_t planes);
OMB_FLAT int32_t OMB_STDCALL MaskCreateRect(WindowObject* window, int32_t left, int32_t top, int32_t right,
                                            int32_t bottom, int32_t planes);
OMB_FLAT void OMB_STDCALL MaskFree(WindowObject* window);
OMB_FLAT void OMB_STDCALL MaskClear(WindowObject* window, int32_t value);
OMB_FLAT int32_t OMB_STDCALL MaskFillRect(WindowObject* window, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                          int32_t value);
OMB_FLAT void OMB_STDCALL MaskPaintImage(WindowObject* window, uint32_t image, int32_t x, int32_t y, int32_t value);
OMB_FLAT void OMB_STDCALL MaskPaintImageTop(WindowObject* window, uint32_t image, int32_t x, int32_t y);
OMB_FLAT int32_t OMB_STDCALL MaskTestPoint(WindowObject* window, int32_t x, int32_t y, int32_t plane);
OMB_FLAT int32_t OMB_STDCALL MaskTestRect(WindowObject* window, int32_t x, int32_t y, int32_t w, int32_t h,
                                          int32_t plane);
OMB_FLAT int32_t OMB_STDCALL MaskTestSprite(WindowObject* window, SpriteRecord* sprite, uint32_t image, int32_t x,
                                            int32_t y, int32_t angle, float scaleX, float scaleY, int32_t bottomRows,
                                            int32_t plane);
OMB_FLAT int32_t OMB_STDCALL MaskScroll(WindowObject* window, int32_t dx, int32_t dy, MaskRect* stripX,
                                        MaskRect* stripY);
OMB_FLAT WindowObject* OMB_STDCALL MaskSetClip(WindowObject* window, const MaskRect* rect);
OMB_FLAT WindowObject* OMB_STDCALL MaskSetOrigin(WindowObject* window, int32_t x, int32_t y);
OMB_FLAT int32_t OMB_STDCALL MaskPaintBits(WindowObject* window, const CollisionMaskHeader* record, int32_t x,
                                           int32_t y, int32_t planes, int32_t value);
OMB_FLAT int32_t OMB_STDCALL MaskPaintBitsTop(WindowObject* window, const CollisionMaskHeader* record, int32_t x,
                                              int32_t y);
