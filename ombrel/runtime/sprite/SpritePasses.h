// A frame of a sprite window in three passes: the erase pass puts the
// background back under every sprite that moved or changed, the commit
// makes the pending values current and rebuilds transformed images, and the
// draw pass saves the background under each sprite it draws and draws it.
// Unchanged kept sprites are left alone; every pixel written is reported
// to the dirty list.
#pragma once

#include "sprite/SpriteWindow.h"

void EraseSprites(SpriteWindow& window);
void CommitSprites(SpriteWindow& window);
void DrawSprites(SpriteWindow& window);

// Frees the sprite at once, without erasing it: its save surface,
// transformed images, masks and links go; an owner-drawn sprite's owner
// hears of it (call 3).
void DeleteSprite(SpriteWindow& window, SpriteRecord* sprite);
// Every sprite, in order.
void DeleteAllSprites(SpriteWindow& window);

// The image a sprite draws: its transformed image or else a surface over its
// current bank image (to be released with ReleaseDrawnImage); null when the
// image is gone.
cSurfaceImpl* DrawnImage(AppObject* app, SpriteRecord* sprite, bool* owned);
