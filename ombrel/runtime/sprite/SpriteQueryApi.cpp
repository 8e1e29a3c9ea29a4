#include "sprite/SpriteQueryApi.h"

#include "sprite/SavedRects.h"
#include "sprite/SpriteCollide.h"
#include "sprite/SpriteOrder.h"

int32_t OMB_STDCALL SpriteGetUserValue(void*, SpriteRecord* s) { return s != nullptr ? s->user : 0; }

uint32_t OMB_STDCALL SpriteGetFlags(void*, SpriteRecord* s) { return s != nullptr ? s->flags : 0; }

uint32_t OMB_STDCALL SpriteSetFlags(void*, SpriteRecord* s, uint32_t flags) {
  if (s == nullptr) return 0;
  const uint32_t previous = s->flags;
  s->flags = flags;
  return previous;
}

void OMB_STDCALL SpriteGetScale(void*, SpriteRecord* s, float* x, float* y, int32_t* smooth) {
  if (x != nullptr) *x = s != nullptr ? s->scaleX : 1.0f;
  if (y != nullptr) *y = s != nullptr ? s->scaleY : 1.0f;
  if (smooth != nullptr) *smooth = s != nullptr && (s->flags & kSpriteSmoothScale) ? 1 : 0;
}

int32_t OMB_STDCALL SpriteGetAngle(void*, SpriteRecord* s, int32_t* antialias) {
  if (antialias != nullptr) *antialias = s != nullptr && (s->flags & kSpriteAntialias) ? 1 : 0;
  return s != nullptr ? s->angle : 0;
}

int32_t OMB_STDCALL SpriteGetLayer(void*, SpriteRecord* s) { return s != nullptr ? s->Layer() : 0; }

void OMB_STDCALL SpriteGetRect(void*, SpriteRecord* s, SpriteRect* out) {
  if (s != nullptr && out != nullptr) *out = s->nextRect;
}

int32_t OMB_STDCALL SpriteIsBehind(void*, SpriteRecord* a, SpriteRecord* b) {
  return a != nullptr && b != nullptr && IsBehind(a, b) ? 1 : 0;
}

int32_t OMB_STDCALL SpriteIsInFront(void*, SpriteRecord* a, SpriteRecord* b) {
  return a != nullptr && b != nullptr && IsBehind(b, a) ? 1 : 0;
}

SpriteRecord* OMB_STDCALL SpriteNext(void*, SpriteRecord* s, int32_t options) {
  return s != nullptr ? NextSprite(s, options) : nullptr;
}

SpriteRecord* OMB_STDCALL SpritePrevious(void*, SpriteRecord* s, int32_t options) {
  return s != nullptr ? PreviousSprite(s, options) : nullptr;
}

int32_t OMB_STDCALL SpriteSetCollision(void*, SpriteRecord* s, int32_t on) { return SetCollision(s, on); }

void OMB_STDCALL SavedRectFree(SavedRect* record) { FreeSavedRect(record); }
