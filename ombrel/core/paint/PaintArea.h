// The part of a paint's rectangle that the surface would keep.
#pragma once

#include <algorithm>
#include <cstdint>

#include "surface/SurfaceTypes.h"

class cSurfaceHandle;

// [x1, x2) x [y1, y2) cut to the handle's clip rectangle (handle
// coordinates); false when nothing of it is visible. Painting only this part
// draws the same pixels and keeps huge rectangles from costing time.
bool VisiblePart(cSurfaceHandle& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                 SurfaceRect* out);

// A 64-bit position held at the ends of the 32-bit range.
inline int32_t ClampToInt32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
