// A window's sprite pool: a fixed block of 168-byte sprite records behind a
// 16-byte header {free head, free tail, first sprite, last sprite}, each
// block starting with its size, the size of the block before it, its state
// and its list links. A new pool for n records holds one free block of
// n x 168 - 20 bytes, so n - 1 sprites fit.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "window/WindowObject.h"

struct SpritePoolBlock {
  int32_t size;
  int32_t prevSize;
  int32_t state;  // 1 free, 2 sprite
  SpritePoolBlock* prev;
  SpritePoolBlock* next;
};

struct SpritePoolHeader {
  SpritePoolBlock* freeHead;
  SpritePoolBlock* freeTail;
  SpritePoolBlock* first;
  SpritePoolBlock* last;
};
OMB_PIN_SIZE(SpritePoolHeader, 16);

constexpr int32_t kSpriteRecordBytes = 168;
constexpr int32_t kSpriteWindowPoolRecords = 400;  // 67236 bytes
constexpr uint32_t kPlainPoolBytes = 56;           // a free block of size 0

// A zeroed pool for `records` records (1 or more); null when it cannot be
// allocated or the count is out of range.
SpritePoolHeader* SpritePoolCreate(int32_t records);
// The 56-byte pool of windows that keep no sprites.
SpritePoolHeader* SpritePoolCreatePlain();
// Frees the window's pool (its sprites are not deleted) and leaves it null.
void SpritePoolFree(WindowObject* window);

// Deletes every sprite of the window in list order.
OMB_FLAT void OMB_STDCALL WindowDeleteSprites(WindowObject* window);
