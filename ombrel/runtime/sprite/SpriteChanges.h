// Creating sprites and changing their position, image, scale, angle,
// rectangle, ink, state and layer: each change computes the pending
// rectangle, renews the overlap links and flags settled kept neighbours for
// redraw, so that the next frame's passes touch only what changed.
#pragma once

#include <cstdint>

#include "sprite/SpriteImages.h"
#include "sprite/SpritePool.h"

// Where the sprite's pending image, position, scale and angle put it: the
// image's box placed by its hot spot (or its corner with kSpriteNoHotSpot),
// scaled and turned; (x, y, x + 1, y + 1) without image.
SpriteRect PendingRect(const SpriteRecord* sprite, SpriteImages* images);
// The same for another image, position, scale and angle of the sprite.
SpriteRect PlacedRect(uint32_t flags, uint32_t image, int32_t x, int32_t y, float scaleX, float scaleY,
                      int32_t angle, SpriteImages* images);

// The sprite is set up as a new one (colour as given), placed in order and
// linked; null when the pool is full.
SpriteRecord* CreateSprite(SpritePool* pool, SpriteImages* images, int32_t x, int32_t y, uint32_t image,
                           int32_t layer, int32_t subOrder, uint32_t colour, uint32_t flags, int32_t user);
SpriteRecord* CreateOwnerDrawnSprite(SpritePool* pool, const SpriteRect& rect, int32_t layer,
                                     int32_t subOrder, uint32_t colour, uint32_t flags, int32_t user,
                                     SpriteOwnerDraw owner);

void MoveSprite(SpritePool* pool, SpriteImages* images, SpriteRecord* s, int32_t x, int32_t y, uint32_t image);
void SetImageTransform(SpritePool* pool, SpriteImages* images, SpriteRecord* s, int32_t x, int32_t y,
                       uint32_t image, float scaleX, float scaleY, int32_t smooth, int32_t angle,
                       int32_t antialias);
void SetSpriteScale(SpritePool* pool, SpriteImages* images, SpriteRecord* s, float x, float y, int32_t smooth);
void SetSpriteAngle(SpritePool* pool, SpriteImages* images, SpriteRecord* s, int32_t degrees, int32_t antialias);
void SetSpriteRect(SpritePool* pool, SpriteRecord* s, const SpriteRect& rect);
void SetSpriteInk(SpritePool* pool, SpriteRecord* s, uint32_t ink, uint32_t param);
// `SpriteSetState` for one sprite, or with s null for every sprite; op 32
// takes `area` (the second argument as a rectangle).
void SetSpriteState(SpritePool* pool, SpriteRecord* s, const SpriteRect* area, int32_t op);
void SetBackgroundSave(SpriteRecord* s, int32_t on);
void DeleteLater(SpriteRecord* s);
// A changed order: the sprite is drawn again unless it saves no background.
void RedrawAfterReorder(SpriteRecord* s);

// Angle in 0..359 from any number of degrees; negative scales become 0.
int32_t NormalAngle(int32_t degrees);
inline float NonNegative(float scale) { return scale < 0.0f ? 0.0f : scale; }

// Frees a mask record made for a transformed image and clears the pointer.
void FreeMaskRecord(CollisionMaskHeader*& mask);

// Releases the transformed image and its mask (kept until the next
// rebuild otherwise).
void DropTransform(SpriteRecord* s);
// Releases the test transform's surface and mask.
void DropTestTransform(SpriteRecord* s);
