// Saved rectangles (a client's own piece of the back buffer kept aside and
// put back later) and single images drawn into a window's back buffer
// outside the sprite list.
#pragma once

#include <cstdint>

#include "sprite/SpriteWindow.h"

// Saves (left, top)-(right, bottom), inclusive, clipped to the back buffer's
// clip; 0, or -1 when nothing lies inside (the record is then emptied).
int32_t SaveRect(SpriteWindow& window, SavedRect* record, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Puts the saved pixels back and reports them dirty.
void RestoreRect(SpriteWindow& window, SavedRect* record);
void FreeSavedRect(SavedRect* record);

// Draws a bank image at (x, y) (flag 1: by its hot spot) with the ink of the
// sprite draw pass; the back buffer's origin is (originX, originY).
void DrawImageInk(SpriteWindow& window, uint32_t image, int32_t x, int32_t y, int32_t flags, uint32_t ink,
                  uint32_t param, int32_t originX, int32_t originY);
