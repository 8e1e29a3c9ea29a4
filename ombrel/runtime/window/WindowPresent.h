// What a present copies, apart from where it copies to: the stretch rule,
// the dirty rectangles clipped to the client area in list order, and the
// emptying of the list. The destination (the window's device context in the
// library) is a `PresentTarget`.
#pragma once

#include <cstdint>

#include "surface/SurfaceTypes.h"
#include "surface/cSurfaceImpl.h"
#include "window/WindowObject.h"

class PresentTarget {
 public:
  // The client area's size; false when it cannot be read.
  virtual bool ClientSize(int32_t* width, int32_t* height) = 0;
  // `rect` of the buffer to the same place in the client area.
  virtual void Copy(cSurfaceImpl& buffer, const SurfaceRect& rect) = 0;
  // Each of `count` rectangles (1 or more, non-empty, inside both) the same
  // way; the result is that of copying them in order.
  virtual void CopyList(cSurfaceImpl& buffer, const SurfaceRect* rects, int32_t count) {
    for (int32_t i = 0; i < count; ++i) Copy(buffer, rects[i]);
  }
  // The whole buffer over the whole client area.
  virtual void StretchAll(cSurfaceImpl& buffer, int32_t clientWidth, int32_t clientHeight) = 0;

 protected:
  ~PresentTarget() = default;
};

// Above this many dirty rectangles a present copies their bounding box once.
constexpr int32_t kBoundingBoxAbove = 64;

// Presents the window's dirty list (or stretches the whole buffer); the
// caller has checked that updates are on and paced the present.
void PresentUpdates(WindowObject& window, PresentTarget& target);
// Repaints (x, y, w, h) of the client area from the buffer.
void RepaintRegion(WindowObject& window, PresentTarget& target, int32_t x, int32_t y,
                   int32_t width, int32_t height);
