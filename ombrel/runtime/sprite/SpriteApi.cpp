#include "sprite/SpriteApi.h"

#include "app/AppPalette.h"
#include "sprite/SavedRects.h"
#include "sprite/SpriteChanges.h"
#include "sprite/SpriteOrder.h"
#include "sprite/SpritePasses.h"
#include "surface/SurfaceHandle.h"
#include "window/WindowSpriteAccess.h"

namespace {

// The window's pool, null without window or pool.
SpritePool* PoolOf(WindowObject* w) { return w != nullptr ? static_cast<SpritePool*>(w->spritePool) : nullptr; }

// A sprite's colour for filling: a palette index of the window's depth (the
// RGB kept when that gives none).
uint32_t FillColour(WindowObject* w, uint32_t colour) {
  const int32_t index = ColourToPaletteIndex(w->app, w->depth & 0xF, colour);
  return index >= 0 ? uint32_t(index) : colour;
}

}  // namespace

void OMB_STDCALL WindowEraseSprites(WindowObject* window) {
  if (PoolOf(window) == nullptr) return;
  WindowSpriteAccess access(window);
  EraseSprites(access);
}

void OMB_STDCALL WindowDrawSprites(WindowObject* window) {
  if (PoolOf(window) == nullptr) return;
  WindowSpriteAccess access(window);
  DrawSprites(access);
}

void OMB_STDCALL WindowCommitSprites(WindowObject* window) {
  if (PoolOf(window) == nullptr) return;
  WindowSpriteAccess access(window);
  CommitSprites(access);
}

void OMB_STDCALL WindowRestoreRect(WindowObject* window, SavedRect* record) {
  if (window == nullptr) return;
  WindowSpriteAccess access(window);
  RestoreRect(access, record);
}

int32_t OMB_STDCALL WindowSaveRect(WindowObject* window, SavedRect* record, int32_t left, int32_t top, int32_t right,
                                   int32_t bottom) {
  if (window == nullptr) return -1;
  WindowSpriteAccess access(window);
  return SaveRect(access, record, left, top, right, bottom);
}

SpriteRecord* OMB_STDCALL SpriteCreate(WindowObject* window, int32_t x, int32_t y, uint32_t image, int32_t layer,
                                       int32_t subOrder, uint32_t colour, uint32_t flags, int32_t user) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr) return nullptr;
  BankSpriteImages images(window->app);
  if (flags & kSpriteFillErase) colour = FillColour(window, colour);
  return CreateSprite(pool, &images, x, y, image, layer, subOrder, colour, flags, user);
}

SpriteRecord* OMB_STDCALL SpriteMove(WindowObject* window, SpriteRecord* s, int32_t x, int32_t y, uint32_t image) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || s == nullptr) return s;
  BankSpriteImages images(window->app);
  MoveSprite(pool, &images, s, x, y, image);
  return s;
}

int32_t OMB_STDCALL SpriteSetState(WindowObject* window, SpriteRecord* s, int32_t op) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr) return 0;
  // Op 32 passes a rectangle in place of the sprite.
  if (op == 32) {
    SetSpriteState(pool, nullptr, reinterpret_cast<const SpriteRect*>(s), op);
  } else {
    SetSpriteState(pool, s, nullptr, op);
  }
  return 0;
}

int32_t OMB_STDCALL SpriteSetBackgroundSave(WindowObject* window, SpriteRecord* s, int32_t on) {
  if (window == nullptr || s == nullptr) return 0;
  SetBackgroundSave(s, on);
  return 0;
}

void OMB_STDCALL SpriteDeleteLater(WindowObject* window, SpriteRecord* s) {
  if (window == nullptr || s == nullptr) return;
  DeleteLater(s);
}

void OMB_STDCALL SpriteDelete(WindowObject* window, SpriteRecord* s) {
  if (PoolOf(window) == nullptr || s == nullptr) return;
  WindowSpriteAccess access(window);
  DeleteSprite(access, s);
}

SpriteRecord* OMB_STDCALL SpriteCreateOwnerDrawn(WindowObject* window, int32_t left, int32_t top, int32_t right,
                                                 int32_t bottom, int32_t layer, int32_t subOrder, uint32_t colour,
                                                 uint32_t flags, int32_t user, SpriteOwnerDraw owner) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr) return nullptr;
  if (flags & kSpriteFillErase) colour = FillColour(window, colour);
  return CreateOwnerDrawnSprite(pool, {left, top, right, bottom}, layer, subOrder, colour, flags, user, owner);
}

SpriteRecord* OMB_STDCALL SpriteSetRect(WindowObject* window, SpriteRecord* s, int32_t left, int32_t top,
                                        int32_t right, int32_t bottom) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || s == nullptr) return s;
  SetSpriteRect(pool, s, {left, top, right, bottom});
  return s;
}

SpriteRecord* OMB_STDCALL SpriteSetInk(WindowObject* window, SpriteRecord* s, uint32_t ink, uint32_t param) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || s == nullptr) return s;
  SetSpriteInk(pool, s, ink, param);
  return s;
}

void OMB_STDCALL SpriteSetScale(WindowObject* window, SpriteRecord* s, float x, float y, int32_t smooth) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || s == nullptr) return;
  BankSpriteImages images(window->app);
  SetSpriteScale(pool, &images, s, x, y, smooth);
}

void OMB_STDCALL SpriteSetAngle(WindowObject* window, SpriteRecord* s, int32_t degrees, int32_t antialias) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || s == nullptr) return;
  BankSpriteImages images(window->app);
  SetSpriteAngle(pool, &images, s, degrees, antialias);
}

void OMB_STDCALL SpriteSetLayer(WindowObject* window, SpriteRecord* s, int32_t layer) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || s == nullptr) return;
  if (ChangeLayer(pool, s, layer)) RedrawAfterReorder(s);
}

void OMB_STDCALL SpriteToBack(WindowObject* window, SpriteRecord* s) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || s == nullptr) return;
  MoveToBack(pool, s);
  RedrawAfterReorder(s);
}

void OMB_STDCALL SpriteToFront(WindowObject* window, SpriteRecord* s) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || s == nullptr) return;
  MoveToFront(pool, s);
  RedrawAfterReorder(s);
}

SpriteRecord* OMB_STDCALL SpriteSwap(WindowObject* window, SpriteRecord* a, SpriteRecord* b) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || a == nullptr || b == nullptr) return b;
  SwapSprites(pool, a, b);
  return b;
}

int32_t OMB_STDCALL SpriteMoveBehind(WindowObject* window, SpriteRecord* s, SpriteRecord* other) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || s == nullptr || other == nullptr) return 0;
  if (MoveBehind(pool, s, other)) RedrawAfterReorder(s);
  return 0;
}

int32_t OMB_STDCALL SpriteMoveInFront(WindowObject* window, SpriteRecord* s, SpriteRecord* other) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || s == nullptr || other == nullptr) return 0;
  if (MoveInFront(pool, s, other)) RedrawAfterReorder(s);
  return 0;
}

int32_t OMB_STDCALL WindowDrawImageInk(WindowObject* window, uint32_t image, int32_t x, int32_t y, int32_t flags,
                                       uint32_t ink, uint32_t param) {
  if (window == nullptr || window->drawSurface == nullptr) return 0;
  WindowSpriteAccess access(window);
  DrawImageInk(access, image, x, y, flags, ink, param, window->drawSurface->originX, window->drawSurface->originY);
  return 0;
}

int32_t OMB_STDCALL WindowDrawImage(WindowObject* window, uint32_t image, int32_t x, int32_t y, int32_t flags) {
  return WindowDrawImageInk(window, image, x, y, flags, (flags & 2) ? 0 : kInkKeyed, 0);
}

SpriteRecord* OMB_STDCALL SpriteSetImageTransform(WindowObject* window, SpriteRecord* s, int32_t x, int32_t y,
                                                  uint32_t image, float scaleX, float scaleY, int32_t smooth,
                                                  int32_t angle, int32_t antialias) {
  SpritePool* pool = PoolOf(window);
  if (pool == nullptr || s == nullptr) return s;
  BankSpriteImages images(window->app);
  SetImageTransform(pool, &images, s, x, y, image, scaleX, scaleY, smooth, angle, antialias);
  return s;
}

SpriteRecord* OMB_STDCALL SpriteFirstOfLayer(WindowObject* window, int32_t layer, int32_t set) {
  SpritePool* pool = PoolOf(window);
  return pool != nullptr ? FirstOfLayer(pool, layer, set) : nullptr;
}

SpriteRecord* OMB_STDCALL SpriteLastOfLayer(WindowObject* window, int32_t layer, int32_t set) {
  SpritePool* pool = PoolOf(window);
  return pool != nullptr ? LastOfLayer(pool, layer, set) : nullptr;
}

int32_t OMB_STDCALL WindowSetPixelCollision(WindowObject* window, int32_t value) {
  if (window == nullptr) return 0;
  const int32_t previous = uint16_t(window->pixelCollision);
  window->pixelCollision = int16_t(value);
  return previous;
}

SpriteRecord* OMB_STDCALL SpriteFindAtPoint(WindowObject* window, SpriteRecord* after, int32_t layer, int32_t x,
                                            int32_t y, int32_t options) {
  if (PoolOf(window) == nullptr) return nullptr;
  WindowSpriteAccess access(window);
  return FindAtPoint(access, after, layer, x, y, options);
}

SpriteRecord* OMB_STDCALL SpriteFindCollision(WindowObject* window, SpriteRecord* s, uint32_t image, int32_t x,
                                              int32_t y, int32_t angle, float scaleX, float scaleY, int32_t bottomRows,
                                              int32_t options) {
  if (PoolOf(window) == nullptr || s == nullptr) return nullptr;
  WindowSpriteAccess access(window);
  return FindCollision(access, s, image, x, y, angle, scaleX, scaleY, bottomRows, options);
}

int32_t OMB_STDCALL SpriteListCollisions(WindowObject* window, SpriteRecord* s, CollisionPair* pairs, uint32_t image,
                                         int32_t x, int32_t y, int32_t angle, float scaleX, float scaleY,
                                         int32_t options) {
  if (PoolOf(window) == nullptr || s == nullptr) return 0;
  WindowSpriteAccess access(window);
  return ListCollisions(access, s, pairs, image, x, y, angle, scaleX, scaleY, options);
}

SpriteRecord* OMB_STDCALL SpriteFindInRect(WindowObject* window, SpriteRecord* after, int32_t layer, int32_t x,
                                           int32_t y, int32_t width, int32_t height, int32_t options) {
  if (PoolOf(window) == nullptr) return nullptr;
  WindowSpriteAccess access(window);
  return FindInRect(access, after, layer, x, y, width, height, options);
}

CollisionMaskHeader* OMB_STDCALL SpriteGetMask(WindowObject* window, SpriteRecord* s, uint32_t image, int32_t plane) {
  if (PoolOf(window) == nullptr || s == nullptr) return nullptr;
  WindowSpriteAccess access(window);
  return SpriteMask(access, s, image, plane);
}

int32_t OMB_STDCALL SpriteGetTransformedBox(WindowObject* window, SpriteRecord* s, uint32_t image, int32_t x,
                                            int32_t y, int32_t angle, float scaleX, float scaleY, SpriteRect* box,
                                            CollisionMaskHeader** mask) {
  if (PoolOf(window) == nullptr || s == nullptr || box == nullptr || mask == nullptr) return 0;
  WindowSpriteAccess access(window);
  return TransformedBox(access, s, image, x, y, angle, scaleX, scaleY, box, mask);
}

CollisionMaskHeader* OMB_STDCALL SpriteBuildTransformedMask(WindowObject* window, SpriteRecord* s, int32_t which,
                                                            int32_t width, int32_t height) {
  if (PoolOf(window) == nullptr || s == nullptr) return nullptr;
  WindowSpriteAccess access(window);
  return BuildTransformedMask(access, s, which, width, height);
}
