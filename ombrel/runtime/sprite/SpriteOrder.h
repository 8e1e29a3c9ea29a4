// Drawing order: sprites are listed by ascending key (layer x 2, + 1 outside
// the second set) and, within a key, by ascending sub-order. Every move
// within the list is a swap of two records' places.
#pragma once

#include <cstdint>

#include "sprite/SpritePool.h"

inline uint16_t SpriteKey(int32_t layer, uint32_t flags) {
  return uint16_t(layer * 2 + ((flags & kSpriteSecondSet) ? 0 : 1));
}

// Exchanges the places of a and b in the drawing order (not their
// sub-orders).
void SwapPlaces(SpritePool* pool, SpriteRecord* a, SpriteRecord* b);
// Exchanges places and sub-orders: the order's sub-orders stay ascending.
void SwapSprites(SpritePool* pool, SpriteRecord* a, SpriteRecord* b);

// Moves a sprite just appended at the end to its place: after every sprite
// of a smaller key, and of the same key with a sub-order not greater.
void PlaceInOrder(SpritePool* pool, SpriteRecord* sprite);

// Moves the sprite to its key's front (last drawn) or back (first drawn).
void MoveToFront(SpritePool* pool, SpriteRecord* sprite);
void MoveToBack(SpritePool* pool, SpriteRecord* sprite);
// Moves s just behind (before) or in front of (after) `other` of the same
// key; false when the keys differ or s already lies there.
bool MoveBehind(SpritePool* pool, SpriteRecord* s, SpriteRecord* other);
bool MoveInFront(SpritePool* pool, SpriteRecord* s, SpriteRecord* other);
// Gives the sprite a new layer's key at that key's front; false when the
// key does not change.
bool ChangeLayer(SpritePool* pool, SpriteRecord* sprite, int32_t layer);

bool IsBehind(const SpriteRecord* a, const SpriteRecord* b);

// First / last sprite of a layer (set 1: the second set); layer -1: the
// first / last sprite.
SpriteRecord* FirstOfLayer(SpritePool* pool, int32_t layer, int32_t set);
SpriteRecord* LastOfLayer(SpritePool* pool, int32_t layer, int32_t set);
// The next / previous sprite of the same set (option 1: the second set,
// else the first); option 2: only the direct neighbour, of the same key.
SpriteRecord* NextSprite(const SpriteRecord* s, int32_t options);
SpriteRecord* PreviousSprite(const SpriteRecord* s, int32_t options);
