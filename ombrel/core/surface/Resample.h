// Two-pass resampling (horizontal, then vertical) of a rectangle into a
// surface of another size, on 24-bit colours whatever the surfaces' depth
// (24- and 32-bit rows are read and written in place, other depths through
// 24-bit copies), with an optional colour key; and the same for alpha planes.
#pragma once

#include <cstdint>

#include "surface/cSurfaceImpl.h"

// Resamples (sx, sy, sw, sh) of `src` (inside it) onto (dx, dy, dw, dh) of
// `dest` (inside it), never the source itself. Keyed: a contributor showing the source's key
// colour (or, when the source has an alpha plane, alpha 0) gives its weight
// to the key, and an output with 0.6875 or more of the key's weight is the
// key colour. False when nothing was drawn: a temporary or weight list could
// not be made, or a depth has no converter to and from 24 bits.
bool Resample(cSurfaceImpl& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
              cSurfaceImpl& dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, bool keyed);

// The same over the two surfaces' alpha planes (both present), unkeyed.
bool ResampleAlpha(const cSurfaceImpl& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                   cSurfaceImpl& dest, int32_t dw, int32_t dh);

// The colour the source's key shows once its pixels are widened to 24 bits.
uint32_t KeyColourAt24(const cSurfaceImpl& src);
