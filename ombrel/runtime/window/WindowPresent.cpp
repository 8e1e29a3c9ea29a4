#include "window/WindowPresent.h"

#include <algorithm>

#include "window/WindowDrawApi.h"

namespace {

enum class Scale { Same, Stretched, Nothing };

// The 16.16 factors from buffer to client, in unsigned 32-bit arithmetic.
Scale ScaleOf(cSurfaceImpl& buffer, int32_t clientWidth, int32_t clientHeight) {
  const uint32_t w = uint32_t(buffer.view.width);
  const uint32_t h = uint32_t(buffer.view.height);
  if (w == 0 || h == 0) return Scale::Nothing;
  const uint32_t sx = uint32_t(clientWidth) * 65536u / w;
  const uint32_t sy = uint32_t(clientHeight) * 65536u / h;
  if (sx == 0 || sy == 0) return Scale::Nothing;
  return sx == 65536u && sy == 65536u ? Scale::Same : Scale::Stretched;
}

bool Clip(SurfaceRect& r, int32_t width, int32_t height) {
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, width);
  r.bottom = std::min(r.bottom, height);
  return r.left < r.right && r.top < r.bottom;
}

}  // namespace

void PresentUpdates(WindowObject& window, PresentTarget& target) {
  cSurfaceImpl* buffer = CurrentDrawImpl(&window);
  int32_t width = 0, height = 0;
  if ((window.update & WindowUpdateOff) || buffer == nullptr || !target.ClientSize(&width, &height) || width <= 0 || height <= 0)
    return;
  if (window.style & WindowStyleStretch) {
    const Scale scale = ScaleOf(*buffer, width, height);
    if (scale == Scale::Nothing) return;
    if (scale == Scale::Stretched) {
      target.StretchAll(*buffer, width, height);
      WindowAddUpdateRect(&window, nullptr);
      return;
    }
  }
  UpdateList* list = window.updates;
  if (list == nullptr) return;
  // Outside the buffer there is nothing to copy.
  width = std::min(width, buffer->view.width);
  height = std::min(height, buffer->view.height);
  const int32_t count = UpdateListCount(*list);
  SurfaceRect clipped[UpdateList::kCapacity];
  int32_t shown = 0;
  for (int32_t i = 0; i < count; ++i) {
    SurfaceRect r = list->rects[i];
    if (Clip(r, width, height)) clipped[shown++] = r;
  }
  if (shown > kBoundingBoxAbove) {
    // Many rectangles: one copy of their bounding box costs less than the
    // clip region of all of them (it also shows the buffer between them).
    SurfaceRect box = clipped[0];
    for (int32_t i = 1; i < shown; ++i) {
      box.left = std::min(box.left, clipped[i].left);
      box.top = std::min(box.top, clipped[i].top);
      box.right = std::max(box.right, clipped[i].right);
      box.bottom = std::max(box.bottom, clipped[i].bottom);
    }
    target.Copy(*buffer, box);
  } else if (shown > 0) {
    target.CopyList(*buffer, clipped, shown);
  }
  list->count = 0;
}

void RepaintRegion(WindowObject& window, PresentTarget& target, int32_t x, int32_t y,
                   int32_t width, int32_t height) {
  cSurfaceImpl* buffer = CurrentDrawImpl(&window);
  if ((window.update & WindowUpdateOff) || buffer == nullptr) return;
  int32_t clientWidth = 0, clientHeight = 0;
  if (!target.ClientSize(&clientWidth, &clientHeight) || clientWidth <= 0 || clientHeight <= 0)
    return;
  const Scale scale = ScaleOf(*buffer, clientWidth, clientHeight);
  if (scale == Scale::Nothing) return;
  if ((window.style & WindowStyleStretch) && scale == Scale::Stretched) {
    target.StretchAll(*buffer, clientWidth, clientHeight);
    return;
  }
  SurfaceRect r{x, y, x + width, y + height};
  if (Clip(r, std::min(clientWidth, buffer->view.width), std::min(clientHeight, buffer->view.height)))
    target.Copy(*buffer, r);
}
