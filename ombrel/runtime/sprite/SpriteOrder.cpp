#include "sprite/SpriteOrder.h"

#include <utility>

void SwapPlaces(SpritePool* pool, SpriteRecord* a, SpriteRecord* b) {
  if (a == b) return;
  SpriteList& list = pool->Sprites();
  if (b->next == a) std::swap(a, b);
  if (a->next == b) {  // neighbours: b goes before a
    ListUnlink(list, b);
    ListInsertAfter(list, a->prev, b);
    return;
  }
  SpriteRecord* afterA = a->prev;
  SpriteRecord* afterB = b->prev;
  ListUnlink(list, a);
  ListUnlink(list, b);
  // Insert the one whose anchor is earlier first, so both anchors stay valid.
  ListInsertAfter(list, afterA, b);
  ListInsertAfter(list, afterB, a);
}

void SwapSprites(SpritePool* pool, SpriteRecord* a, SpriteRecord* b) {
  SwapPlaces(pool, a, b);
  std::swap(a->subOrder, b->subOrder);
}

void PlaceInOrder(SpritePool* pool, SpriteRecord* sprite) {
  SpriteRecord* after = sprite->prev;
  while (after != nullptr &&
         (after->key > sprite->key || (after->key == sprite->key && after->subOrder > sprite->subOrder)))
    after = after->prev;
  if (after == sprite->prev) return;
  SpriteList& list = pool->Sprites();
  ListUnlink(list, sprite);
  ListInsertAfter(list, after, sprite);
}

void MoveToFront(SpritePool* pool, SpriteRecord* sprite) {
  while (sprite->next != nullptr && sprite->next->key <= sprite->key) SwapSprites(pool, sprite, sprite->next);
}

void MoveToBack(SpritePool* pool, SpriteRecord* sprite) {
  while (sprite->prev != nullptr && sprite->prev->key >= sprite->key) SwapSprites(pool, sprite, sprite->prev);
}

namespace {

bool Before(const SpriteRecord* a, const SpriteRecord* b) {  // a lies before b in the list
  for (const SpriteRecord* r = a->next; r != nullptr; r = r->next)
    if (r == b) return true;
  return false;
}

}  // namespace

bool MoveBehind(SpritePool* pool, SpriteRecord* s, SpriteRecord* other) {
  if (s == other || s->key != other->key || !Before(other, s)) return false;
  while (s->next != other) SwapSprites(pool, s, s->prev);
  return true;
}

bool MoveInFront(SpritePool* pool, SpriteRecord* s, SpriteRecord* other) {
  if (s == other || s->key != other->key || !Before(s, other)) return false;
  while (s->prev != other) SwapSprites(pool, s, s->next);
  return true;
}

bool ChangeLayer(SpritePool* pool, SpriteRecord* sprite, int32_t layer) {
  const uint16_t key = SpriteKey(layer, sprite->flags);
  if (key == sprite->key) return false;
  const bool up = key > sprite->key;
  sprite->key = key;
  if (up) {
    while (sprite->next != nullptr && sprite->next->key <= key) SwapPlaces(pool, sprite, sprite->next);
  } else {
    while (sprite->prev != nullptr && sprite->prev->key > key) SwapPlaces(pool, sprite, sprite->prev);
  }
  sprite->subOrder = sprite->prev != nullptr && sprite->prev->key == key ? sprite->prev->subOrder + 1 : 1;
  return true;
}

bool IsBehind(const SpriteRecord* a, const SpriteRecord* b) {
  return a->key < b->key || (a->key == b->key && a->subOrder < b->subOrder);
}

SpriteRecord* FirstOfLayer(SpritePool* pool, int32_t layer, int32_t set) {
  if (layer == -1) return pool->First();
  const int32_t key = layer * 2 + (set == 1 ? 0 : 1);
  for (SpriteRecord* r = pool->First(); r != nullptr; r = r->next) {
    if (r->key == key) return r;
    if (r->key > key) return nullptr;
  }
  return nullptr;
}

SpriteRecord* LastOfLayer(SpritePool* pool, int32_t layer, int32_t set) {
  if (layer == -1) return pool->Last();
  const int32_t key = layer * 2 + (set == 1 ? 0 : 1);
  for (SpriteRecord* r = pool->Last(); r != nullptr; r = r->prev) {
    if (r->key == key) return r;
    if (r->key < key) return nullptr;
  }
  return nullptr;
}

namespace {

SpriteRecord* Step(const SpriteRecord* s, int32_t options, bool forward) {
  for (SpriteRecord* r = forward ? s->next : s->prev; r != nullptr; r = forward ? r->next : r->prev) {
    const bool second = (r->flags & kSpriteSecondSet) != 0;
    const bool wanted = (options & 1) ? second : !second;
    if (options & 2) return wanted && r->key == s->key ? r : nullptr;
    if (wanted) return r;
  }
  return nullptr;
}

}  // namespace

SpriteRecord* NextSprite(const SpriteRecord* s, int32_t options) { return Step(s, options, true); }
SpriteRecord* PreviousSprite(const SpriteRecord* s, int32_t options) { return Step(s, options, false); }
