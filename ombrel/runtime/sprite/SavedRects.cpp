#include "sprite/SavedRects.h"

#include <algorithm>

#include "imagebank/ImageBank.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibraryApi.h"
#include "surface/cSurfaceImpl.h"

namespace {

constexpr int32_t kKindDirectDraw = 5, kKindDirectDrawSystem = 6;

// A surface of the back buffer's format for a saved piece.
cSurfaceImpl* NewSaveSurface(cSurfaceImpl* drawing, int32_t width, int32_t height) {
  const int32_t kind = drawing->GetKind();
  if (kind != kKindDirectDraw && kind != kKindDirectDrawSystem) {
    cSurfaceHandle* prototype = nullptr;
    if (GetSurfacePrototype(&prototype, drawing->view.depth, 0, 0) && prototype != nullptr) {
      cSurfaceImpl* made = cSurfaceHandle::GetImpl(prototype)->MakeInstance(width, height);
      if (made != nullptr) return made;
    }
  }
  return drawing->MakeInstance(width, height);
}

}  // namespace

int32_t SaveRect(SpriteWindow& window, SavedRect* record, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  cSurfaceImpl* drawing = window.Drawing();
  if (record == nullptr || drawing == nullptr) return -1;
  const PixelView& v = drawing->view;
  const int64_t l = std::max<int64_t>(left, v.clipLeft), t = std::max<int64_t>(top, v.clipTop);
  const int64_t r = std::min<int64_t>(int64_t(right) + 1, v.clipRight), b = std::min<int64_t>(int64_t(bottom) + 1, v.clipBottom);
  if (l >= r || t >= b) {
    FreeSavedRect(record);
    return -1;
  }
  const int32_t w = int32_t(r - l), h = int32_t(b - t);
  // The surface is kept only when the new piece fits it both ways.
  const bool fits = record->surface != nullptr && record->rect.right - record->rect.left >= w &&
                    record->rect.bottom - record->rect.top >= h;
  if (!fits) {
    FreeSavedRect(record);
    record->surface = NewSaveSurface(drawing, w, h);
    if (record->surface == nullptr) return -1;
  }
  drawing->Blit(record->surface, 0, 0, int32_t(l), int32_t(t), w, h, 0, 0, 0, 0);
  record->rect = {int32_t(l), int32_t(t), int32_t(r), int32_t(b)};
  return 0;
}

void RestoreRect(SpriteWindow& window, SavedRect* record) {
  cSurfaceImpl* drawing = window.Drawing();
  if (record == nullptr || record->surface == nullptr || drawing == nullptr) return;
  const SpriteRect& r = record->rect;
  window.AddDirty({r.left, r.top, r.right, r.bottom});
  record->surface->Blit(drawing, r.left, r.top, 0, 0, r.right - r.left, r.bottom - r.top, 0, 0, 0, 0);
}

void FreeSavedRect(SavedRect* record) {
  if (record == nullptr) return;
  DeleteSurface(record->surface);
  *record = SavedRect{};
}

void DrawImageInk(SpriteWindow& window, uint32_t image, int32_t x, int32_t y, int32_t flags, uint32_t ink,
                  uint32_t param, int32_t originX, int32_t originY) {
  cSurfaceImpl* drawing = window.Drawing();
  const ImageEntry* e = FindImage(window.App(), image);
  if (drawing == nullptr || e == nullptr) return;
  if (flags & 1) {
    x -= e->hotX;
    y -= e->hotY;
  }
  x -= originX;
  y -= originY;
  cSurfaceImpl* s = ImageSurface(window.App(), e);
  if (s == nullptr) return;
  const bool smooth = (ink & kInkSmoothEdges) != 0;
  s->Blit(drawing, x, y, 0, 0, e->width, e->height, (ink & kInkKeyed) ? 1 : 0, ink & 0xFFFF, param,
          smooth ? BlitSmoothEdges : 0);
  DeleteSurface(s);
  if (smooth)
    window.AddDirty({x - 1, y - 1, x + e->width + 1, y + e->height + 1});
  else
    window.AddDirty({x, y, x + e->width, y + e->height});
}
