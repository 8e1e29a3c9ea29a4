// The platform's text drawing behind slots `TextOut` and `DrawText`: the
// plain paths draw through the surface's device context (none: 0).
#pragma once

#include <cstdint>

#include "surface/SurfaceTypes.h"

class cSurfaceImpl;

constexpr uint32_t kDrawTextCalcRect = 0x400;  // DT_CALCRECT: measure only

// Transparent background, the colour, the alignment, clipped to `clip` when given.
int32_t PlainTextOut(cSurfaceImpl& surface, const char* text, int32_t length, int32_t x,
                     int32_t y, int32_t alignment, const SurfaceRect* clip, uint32_t colour,
                     void* font);
// The drawn height; with kDrawTextCalcRect only measures into `rect`.
int32_t PlainDrawText(cSurfaceImpl& surface, const char* text, int32_t length, SurfaceRect* rect,
                      uint32_t format, uint32_t colour, void* font, int32_t leftMargin,
                      int32_t rightMargin, int32_t tabLength);
// A copy of `font` without antialiasing (edge colours would mix with the key
// of the effect path); null when `font` is null or already so.
void* SharpTextFont(void* font);
void FreeTextFont(void* font);
