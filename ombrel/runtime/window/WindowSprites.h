// A window's sprite pool (see sprite/SpritePool.h): the 400-record pool of
// sprite windows, the small pool of other windows, and its release with the
// window's sprites.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "sprite/SpritePool.h"
#include "window/WindowObject.h"

constexpr int32_t kSpriteWindowPoolRecords = 400;  // 67236 bytes, 399 sprites

// A new pool for `records` records (1 or more; it holds records - 1
// sprites); null when it cannot be allocated or the count is out of range.
SpritePool* SpritePoolCreate(int32_t records);
// The 56-byte pool of windows that keep no sprites.
SpritePool* SpritePoolCreatePlain();
// Frees the window's pool (its sprites must be deleted first) and leaves it null.
void SpritePoolFree(WindowObject* window);

// Deletes every sprite of the window in list order (no erase; owner-drawn
// sprites hear call 3).
OMB_FLAT void OMB_STDCALL WindowDeleteSprites(WindowObject* window);
