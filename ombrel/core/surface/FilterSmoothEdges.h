// The two filter callbacks of the edge smoothing pass of `Blit`. Each gets
// the 3 x 3 background block B (the destination after the blit) and the
// 3 x 3 source block S around one point, in row order with 4 the centre.
#pragma once

#include <cstdint>

#include "surface/BlitPaths.h"

// Where S4 is transparent (equal to `key`) inside a corner of the drawn
// shape, a weighted mix of B around it: 12 x B4, 2 x each edge neighbour, 1 x
// each corner, a transparent neighbour counting as B4; divided by 24.
// Elsewhere B4.
uint32_t OMB_STDCALL SmoothEdgeKeyed(const uint32_t* background, const uint32_t* source,
                                     uint32_t key);
// The same with 0 as the transparent source value, after every background
// entry of 0 has become `colour` (when it is not 0).
uint32_t OMB_STDCALL SmoothEdgeOverColour(const uint32_t* background, const uint32_t* source,
                                          uint32_t colour);
