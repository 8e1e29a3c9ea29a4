// A window's sprite pool: one zero-filled block that holds the sprite
// records, so creating and deleting sprites never touches the heap. A header
// of two lists (free blocks in address order, sprites in drawing order) is
// followed by blocks that tile the pool's arena; each block starts with the
// size of the block before it, so a released record merges with its free
// neighbours at once. A zeroed block header after the arena ends every walk.
//
// Ownership: a pool is made here (`MakeSpritePool`) or laid out by a host in
// memory of its own. The library knows its own pools by address (a set kept
// beside them, with each pool's spatial grid) and never reads a byte outside
// a pool: a host's pool has no grid and is searched by walking. The window
// that holds a pool frees it with `FreeSpritePool`, which also frees the
// grid of a pool made here.
#pragma once

#include <cstdint>

#include "sprite/SpriteRecord.h"

struct SpriteList {
  SpriteRecord* head;
  SpriteRecord* tail;
};

struct SpritePool {
  SpriteList lists[2];  // [0] free blocks (state 1), [1] sprites (state 2)

  SpriteList& Free() { return lists[0]; }
  SpriteList& Sprites() { return lists[1]; }
  SpriteRecord* First() const { return lists[1].head; }
  SpriteRecord* Last() const { return lists[1].tail; }
  // The first block of the arena.
  SpriteRecord* Arena() { return reinterpret_cast<SpriteRecord*>(this + 1); }
};
OMB_PIN_SIZE(SpritePool, 16);

// The header every block starts with: size, previous size, state, prev, next.
constexpr uint32_t kBlockHeaderBytes = offsetof(SpriteRecord, flags);
constexpr uint32_t kSpriteBytes = sizeof(SpriteRecord);

// Bytes of a pool made for n sprites (n x 168 + 36 in the 32-bit build; it
// holds n - 1 sprites); n 0 gives the small pool of windows without sprites.
uint32_t SpritePoolSize(int32_t n);
// A new zero-filled pool, null when it cannot be allocated (or n < 0).
SpritePool* MakeSpritePool(int32_t n);
// Frees the block only; the caller deletes the sprites first.
void FreeSpritePool(SpritePool** pool);
// The pool's spatial grid (sprite/SpriteGrid.h), null when it has none.
struct SpriteGrid;
SpriteGrid* SpritePoolGrid(SpritePool* pool);
// Frees the grid: from then on every search walks the pool (the reference
// the grid is tested against).
void SpritePoolDropGrid(SpritePool* pool);

// A record taken from the free blocks, appended to the drawing order, zeroed
// from the flags on; null when no block is large enough.
SpriteRecord* SpritePoolTake(SpritePool* pool);
// Unlinks the record from the drawing order and gives its block back,
// merged with free neighbours.
void SpritePoolGive(SpritePool* pool, SpriteRecord* sprite);

// The block right after this one in memory (the terminating header after the
// last block of the arena).
inline SpriteRecord* NextBlock(SpriteRecord* b) {
  return reinterpret_cast<SpriteRecord*>(reinterpret_cast<uint8_t*>(b) + b->blockSize);
}
inline SpriteRecord* PrevBlock(SpriteRecord* b) {
  return reinterpret_cast<SpriteRecord*>(reinterpret_cast<uint8_t*>(b) - b->prevBlockSize);
}

// Linking into one of the two lists.
void ListUnlink(SpriteList& list, SpriteRecord* r);
void ListInsertAfter(SpriteList& list, SpriteRecord* after, SpriteRecord* r);  // after null: at the head
void ListAppend(SpriteList& list, SpriteRecord* r);
