// Sprite collisions: the collision masks of sprites (bank masks of plain
// images, masks built for transformed images, the owner's mask), the test
// transform that asks "would it collide drawn there, like that", and the
// searches by point, rectangle and sprite, and against the window's mask.
#pragma once

#include <cstdint>

#include "mask/WindowMask.h"
#include "sprite/SpriteWindow.h"
#include "surface/MaskRecord.h"

// Search option bits.
enum SpriteSearchOption : int32_t {
  kSearchSkipPlane1 = 0x01,    // with kSearchSecondSet: skip sprites with kSpritePlane1
  kSearchAll = 0x04,           // also sprites without their collision bit
  kSearchSecondSet = 0x08,     // the second set; kSpritePlane1 sprites by their plane-1 mask
  kSearchBottomRows = 0x10,    // only the tested sprite's bottom 6 rows
};

struct CollisionPair {
  SpriteRecord* sprite;
  int32_t user;
};

CollisionMaskHeader* SpriteMask(SpriteWindow& window, SpriteRecord* sprite, uint32_t image, int32_t plane);
// 1 when the sprite's drawn transform answers, 2 for the test transform.
int32_t TransformedBox(SpriteWindow& window, SpriteRecord* sprite, uint32_t image, int32_t x, int32_t y,
                       int32_t angle, float scaleX, float scaleY, SpriteRect* box, CollisionMaskHeader** mask);
CollisionMaskHeader* BuildTransformedMask(SpriteWindow& window, SpriteRecord* sprite, int32_t which, int32_t width,
                                          int32_t height);

SpriteRecord* FindAtPoint(SpriteWindow& window, SpriteRecord* after, int32_t layer, int32_t x, int32_t y,
                          int32_t options);
SpriteRecord* FindInRect(SpriteWindow& window, SpriteRecord* after, int32_t layer, int32_t x, int32_t y, int32_t w,
                         int32_t h, int32_t options);
SpriteRecord* FindCollision(SpriteWindow& window, SpriteRecord* sprite, uint32_t image, int32_t x, int32_t y,
                            int32_t angle, float scaleX, float scaleY, int32_t bottomRows, int32_t options);
int32_t ListCollisions(SpriteWindow& window, SpriteRecord* sprite, CollisionPair* pairs, uint32_t image, int32_t x,
                       int32_t y, int32_t angle, float scaleX, float scaleY, int32_t options);
// The previous collision bit; only bit 0 of `on` counts.
int32_t SetCollision(SpriteRecord* sprite, int32_t on);

// The sprite drawn at (x, y) with that image, angle and scale against the
// window's mask plane (1: plane 1).
int32_t SpriteAgainstMask(SpriteWindow& window, const WindowMask& mask, SpriteRecord* sprite, uint32_t image, int32_t x,
                       int32_t y, int32_t angle, float scaleX, float scaleY, int32_t bottomRows, int32_t plane);
