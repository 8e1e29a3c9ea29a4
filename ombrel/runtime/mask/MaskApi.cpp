#include "mask/MaskApi.h"

#include "imagebank/ImageBank.h"
#include "sprite/SpriteCollide.h"
#include "window/WindowSpriteAccess.h"

namespace {

// Runs `change` on the window's mask and stores the result back.
template <class Change>
auto WithMask(WindowObject* window, Change change) {
  WindowMask mask = LoadWindowMask(*window);
  auto result = change(mask);
  StoreWindowMask(*window, mask);
  return result;
}

}  // namespace

int32_t OMB_STDCALL MaskCreate(WindowObject* window, int32_t marginX, int32_t marginY, int32_t planes) {
  if (window == nullptr) return 0;
  return WithMask(window, [&](WindowMask& m) {
    return m.Create(window->bufferWidth, window->bufferHeight, marginX, marginY, planes);
  });
}

int32_t OMB_STDCALL MaskCreateRect(WindowObject* window, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                   int32_t planes) {
  if (window == nullptr) return 0;
  return WithMask(window, [&](WindowMask& m) {
    return m.CreateRect(window->bufferWidth, window->bufferHeight, left, top, right, bottom, planes);
  });
}

void OMB_STDCALL MaskFree(WindowObject* window) {
  if (window == nullptr) return;
  WithMask(window, [](WindowMask& m) {
    m.Free();
    return 0;
  });
}

void OMB_STDCALL MaskClear(WindowObject* window, int32_t value) {
  if (window == nullptr) return;
  LoadWindowMask(*window).Clear(value);
}

int32_t OMB_STDCALL MaskFillRect(WindowObject* window, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t value) {
  if (window != nullptr) LoadWindowMask(*window).FillRect(x1, y1, x2, y2, value);
  return 0;
}

void OMB_STDCALL MaskPaintImage(WindowObject* window, uint32_t image, int32_t x, int32_t y, int32_t value) {
  if (window == nullptr) return;
  LoadWindowMask(*window).PaintBits(ImageGetMask(window->app, image, 0), x, y, 3, value);
}

void OMB_STDCALL MaskPaintImageTop(WindowObject* window, uint32_t image, int32_t x, int32_t y) {
  if (window == nullptr) return;
  LoadWindowMask(*window).PaintBitsTop(ImageGetMask(window->app, image, 0), x, y);
}

int32_t OMB_STDCALL MaskTestPoint(WindowObject* window, int32_t x, int32_t y, int32_t plane) {
  return window != nullptr ? LoadWindowMask(*window).TestPoint(x, y, plane) : 0;
}

int32_t OMB_STDCALL MaskTestRect(WindowObject* window, int32_t x, int32_t y, int32_t w, int32_t h, int32_t plane) {
  return window != nullptr ? LoadWindowMask(*window).TestRect(x, y, w, h, plane) : 0;
}

int32_t OMB_STDCALL MaskTestSprite(WindowObject* window, SpriteRecord* sprite, uint32_t image, int32_t x, int32_t y,
                                   int32_t angle, float scaleX, float scaleY, int32_t bottomRows, int32_t plane) {
  if (window == nullptr || sprite == nullptr || window->spritePool == nullptr) return 0;
  WindowSpriteAccess access(window);
  return SpriteAgainstMask(access, LoadWindowMask(*window), sprite, image, x, y, angle, scaleX, scaleY, bottomRows, plane);
}

int32_t OMB_STDCALL MaskScroll(WindowObject* window, int32_t dx, int32_t dy, MaskRect* stripX, MaskRect* stripY) {
  if (window == nullptr) return 0;
  return WithMask(window, [&](WindowMask& m) { return m.Scroll(dx, dy, stripX, stripY); });
}

WindowObject* OMB_STDCALL MaskSetClip(WindowObject* window, const MaskRect* rect) {
  if (window == nullptr) return nullptr;
  WithMask(window, [&](WindowMask& m) {
    m.SetClip(rect);
    return 0;
  });
  return window;
}

WindowObject* OMB_STDCALL MaskSetOrigin(WindowObject* window, int32_t x, int32_t y) {
  if (window == nullptr) return nullptr;
  WithMask(window, [&](WindowMask& m) {
    m.SetOrigin(x, y);
    return 0;
  });
  return window;
}

int32_t OMB_STDCALL MaskPaintBits(WindowObject* window, const CollisionMaskHeader* record, int32_t x, int32_t y,
                                  int32_t planes, int32_t value) {
  if (window != nullptr) LoadWindowMask(*window).PaintBits(record, x, y, planes, value);
  return 0;
}

int32_t OMB_STDCALL MaskPaintBitsTop(WindowObject* window, const CollisionMaskHeader* record, int32_t x, int32_t y) {
  if (window != nullptr) LoadWindowMask(*window).PaintBitsTop(record, x, y);
  return 0;
}
