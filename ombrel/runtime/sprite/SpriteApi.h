// The Sprite and sprite-window flat functions: creating, changing, ordering
// and deleting a window's sprites, the frame's passes, saved rectangles and
// single images, the collision searches and sprite masks.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "sprite/SpriteCollide.h"
#include "sprite/SpriteRecord.h"
#include "window/WindowObject.h"

OMB_FLAT void OMB_STDCALL WindowEraseSprites(WindowObject* window);
OMB_FLAT void OMB_STDCALL WindowDrawSprites(WindowObject* window);
OMB_FLAT void OMB_STDCALL WindowCommitSprites(WindowObject* window);
OMB_FLAT void OMB_STDCALL WindowRestoreRect(WindowObject* window, SavedRect* record);
OMB_FLAT int32_t OMB_STDCALL WindowSaveRect(WindowObject* window, SavedRect* record, int32_t left, int32_t top,
                                            int32_t right, int32_t bottom);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteCreate(WindowObject* window, int32_t x, int32_t y, uint32_t image,
                                                int32_t layer, int32_t subOrder, uint32_t colour, uint32_t flags,
                                                int32_t user);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteMove(WindowObject* window, SpriteRecord* sprite, int32_t x, int32_t y,
                                              uint32_t image);
OMB_FLAT int32_t OMB_STDCALL SpriteSetState(WindowObject* window, SpriteRecord* sprite, int32_t op);
OMB_FLAT int32_t OMB_STDCALL SpriteSetBackgroundSave(WindowObject* window, SpriteRecord* sprite, int32_t on);
OMB_FLAT void OMB_STDCALL SpriteDeleteLater(WindowObject* window, SpriteRecord* sprite);
OMB_FLAT void OMB_STDCALL SpriteDelete(WindowObject* window, SpriteRecord* sprite);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteCreateOwnerDrawn(WindowObject* window, int32_t left, int32_t top,
                                                          int32_t right, int32_t bottom, int32_t layer,
                                                          int32_t subOrder, uint32_t colour, uint32_t flags,
                                                          int32_t user, SpriteOwnerDraw owner);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteSetRect(WindowObject* window, SpriteRecord* sprite, int32_t left,
                                                 int32_t top, int32_t right, int32_t bottom);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteSetInk(WindowObject* window, SpriteRecord* sprite, uint32_t ink,
                                                uint32_t param);
OMB_FLAT void OMB_STDCALL SpriteSetScale(WindowObject* window, SpriteRecord* sprite, float x, float y,
                                         int32_t smooth);
OMB_FLAT void OMB_STDCALL SpriteSetAngle(WindowObject* window, SpriteRecord* sprite, int32_t degrees,
                                         int32_t antialias);
OMB_FLAT void OMB_STDCALL SpriteSetLayer(WindowObject* window, SpriteRecord* sprite, int32_t layer);
OMB_FLAT void OMB_STDCALL SpriteToBack(WindowObject* window, SpriteRecord* sprite);
OMB_FLAT void OMB_STDCALL SpriteToFront(WindowObject* window, SpriteRecord* sprite);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteSwap(WindowObject* window, SpriteRecord* a, SpriteRecord* b);
OMB_FLAT int32_t OMB_STDCALL SpriteMoveBehind(WindowObject* window, SpriteRecord* sprite, SpriteRecord* other);
OMB_FLAT int32_t OMB_STDCALL SpriteMoveInFront(WindowObject* window, SpriteRecord* sprite, SpriteRecord* other);
OMB_FLAT int32_t OMB_STDCALL WindowDrawImage(WindowObject* window, uint32_t image, int32_t x, int32_t y,
                                             int32_t flags);
OMB_FLAT int32_t OMB_STDCALL WindowDrawImageInk(WindowObject* window, uint32_t image, int32_t x, int32_t y,
                                                int32_t flags, uint32_t ink, uint32_t param);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteSetImageTransform(WindowObject* window, SpriteRecord* sprite, int32_t x,
                                                           int32_t y, uint32_t image, float scaleX, float scaleY,
                                                           int32_t smooth, int32_t angle, int32_t antialias);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteFirstOfLayer(WindowObject* window, int32_t layer, int32_t set);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteLastOfLayer(WindowObject* window, int32_t layer, int32_t set);

// Collisions.
OMB_FLAT int32_t OMB_STDCALL WindowSetPixelCollision(WindowObject* window, int32_t value);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteFindAtPoint(WindowObject* window, SpriteRecord* after, int32_t layer,
                                                     int32_t x, int32_t y, int32_t options);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteFindCollision(WindowObject* window, SpriteRecord* sprite, uint32_t image,
                                                       int32_t x, int32_t y, int32_t angle, float scaleX,
                                                       float scaleY, int32_t bottomRows, int32_t options);
OMB_FLAT int32_t OMB_STDCALL SpriteListCollisions(WindowObject* window, SpriteRecord* sprite, CollisionPair* pairs,
                                                  uint32_t image, int32_t x, int32_t y, int32_t angle, float scaleX,
                                                  float scaleY, int32_t options);
OMB_FLAT SpriteRecord* OMB_STDCALL SpriteFindInRect(WindowObject* window, SpriteRecord* after, int32_t layer,
                                                    int32_t x, int32_t y, int32_t width, int32_t height,
                                                    int32_t options);
OMB_FLAT CollisionMaskHeader* OMB_STDCALL SpriteGetMask(WindowObject* window, SpriteRecord* sprite, uint32_t image,
                                                        int32_t plane);
OMB_FLAT int32_t OMB_STDCALL SpriteGetTransformedBox(WindowObject* window, SpriteRecord* sprite, uint32_t image,
                                                     int32_t x, int32_t y, int32_t angle, float scaleX,
                                                     float scaleY, SpriteRect* box, CollisionMaskHeader** mask);
OMB_FLAT CollisionMaskHeader* OMB_STDCALL SpriteBuildTransformedMask(WindowObject* window, SpriteRecord* sprite,
                                                                     int32_t which, int32_t width, int32_t height);
