#include "sprite/SpritePool.h"

#include <cstring>
#include <new>

#include "Memory.h"
#include "sprite/SpriteGrid.h"

namespace {

// A block is split only when the rest can hold a block header of its own.
constexpr uint32_t kSplitAbove = kSpriteBytes + kBlockHeaderBytes;

// A pool made here sits 16 bytes into its heap block, after the address of
// its spatial grid and a mark naming the pool; the pool itself (of the
// documented size) follows at the heap's own alignment. A pool that a caller
// made itself has no mark: it is searched by walking and freed as it is.
constexpr uint32_t kGridSlotBytes = 16;
constexpr uint32_t kPoolMark = 0x4C4F4F50;  // "POOL"

struct PoolPrefix {
  SpriteGrid* grid;
  uint32_t mark;
  uint32_t self;  // the pool's address, folded to 32 bits
};
static_assert(sizeof(PoolPrefix) <= kGridSlotBytes, "the prefix fits before the pool");

PoolPrefix* PrefixOf(SpritePool* pool) {
  return reinterpret_cast<PoolPrefix*>(reinterpret_cast<uint8_t*>(pool) - kGridSlotBytes);
}

bool MadeHere(SpritePool* pool) {
  const PoolPrefix* p = PrefixOf(pool);
  return p->mark == kPoolMark && p->self == uint32_t(reinterpret_cast<uintptr_t>(pool));
}

SpriteGrid* GridSlot(SpritePool* pool) { return MadeHere(pool) ? PrefixOf(pool)->grid : nullptr; }

}  // namespace

void ListUnlink(SpriteList& list, SpriteRecord* r) {
  (r->prev ? r->prev->next : list.head) = r->next;
  (r->next ? r->next->prev : list.tail) = r->prev;
  r->prev = r->next = nullptr;
}

void ListInsertAfter(SpriteList& list, SpriteRecord* after, SpriteRecord* r) {
  r->prev = after;
  r->next = after ? after->next : list.head;
  (after ? after->next : list.head) = r;
  (r->next ? r->next->prev : list.tail) = r;
}

void ListAppend(SpriteList& list, SpriteRecord* r) { ListInsertAfter(list, list.tail, r); }

uint32_t SpritePoolSize(int32_t n) {
  if (n <= 0) return sizeof(SpritePool) + 2 * kBlockHeaderBytes;
  return uint32_t(n) * kSpriteBytes + sizeof(SpritePool) + kBlockHeaderBytes;
}

SpritePool* MakeSpritePool(int32_t n) {
  if (n < 0 || uint64_t(n) * kSpriteBytes > (uint64_t(1) << 30)) return nullptr;
  void* block = nullptr;
  if (!MemCalloc(kGridSlotBytes + SpritePoolSize(n), &block)) return nullptr;
  auto* pool = reinterpret_cast<SpritePool*>(static_cast<uint8_t*>(block) + kGridSlotBytes);
  SpriteRecord* arena = pool->Arena();
  // One free block: n records less one block header, so that the header
  // after it stays inside the pool.
  arena->blockSize = n > 0 ? uint32_t(n) * kSpriteBytes - kBlockHeaderBytes : 0;
  arena->state = kBlockFree;
  if (n > 0) NextBlock(arena)->prevBlockSize = arena->blockSize;
  ListAppend(pool->Free(), arena);
  PoolPrefix* prefix = PrefixOf(pool);
  prefix->mark = kPoolMark;
  prefix->self = uint32_t(reinterpret_cast<uintptr_t>(pool));
  prefix->grid = MakeSpriteGrid(pool, n);  // without one, searches walk the pool
  return pool;
}

SpriteGrid* SpritePoolGrid(SpritePool* pool) { return pool != nullptr ? GridSlot(pool) : nullptr; }

void SpritePoolDropGrid(SpritePool* pool) {
  if (pool == nullptr) return;
  if (!MadeHere(pool)) return;
  FreeSpriteGrid(PrefixOf(pool)->grid);
  PrefixOf(pool)->grid = nullptr;
}

void FreeSpritePool(SpritePool** pool) {
  if (*pool != nullptr) {
    void* block = *pool;
    if (MadeHere(*pool)) {
      FreeSpriteGrid(PrefixOf(*pool)->grid);
      PrefixOf(*pool)->mark = 0;
      block = PrefixOf(*pool);
    }
    MemFree(&block);
  }
  *pool = nullptr;
}

SpriteRecord* SpritePoolTake(SpritePool* pool) {
  if (pool == nullptr) return nullptr;
  SpriteList& free = pool->Free();
  SpriteRecord* b = free.head;
  for (; b != nullptr; b = b->next) {
    if (b->blockSize < kSpriteBytes) continue;
    if (b->blockSize > kSplitAbove) {
      // The rest becomes a free block in this one's place in the free list.
      auto* rest = reinterpret_cast<SpriteRecord*>(reinterpret_cast<uint8_t*>(b) + kSpriteBytes);
      rest->blockSize = b->blockSize - kSpriteBytes;
      rest->prevBlockSize = kSpriteBytes;
      rest->state = kBlockFree;
      NextBlock(rest)->prevBlockSize = rest->blockSize;
      ListInsertAfter(free, b, rest);
      b->blockSize = kSpriteBytes;
      break;
    }
    // Taken whole, unless it is the last free block.
    if (free.head != free.tail) break;
    return nullptr;
  }
  if (b == nullptr) return nullptr;
  ListUnlink(free, b);
  b->state = kBlockSprite;
  std::memset(reinterpret_cast<uint8_t*>(b) + kBlockHeaderBytes, 0, kSpriteBytes - kBlockHeaderBytes);
  new (&b->overlaps) cSpriteVector();
  ListAppend(pool->Sprites(), b);
  SpriteGridAdd(GridSlot(pool), b);
  return b;
}

void SpritePoolGive(SpritePool* pool, SpriteRecord* sprite) {
  if (pool == nullptr || sprite == nullptr || sprite->state != kBlockSprite) return;
  sprite->overlaps.~cSpriteVector();
  SpriteGridRemove(GridSlot(pool), sprite);
  ListUnlink(pool->Sprites(), sprite);
  SpriteList& free = pool->Free();
  SpriteRecord* b = sprite;
  b->state = kBlockFree;
  SpriteRecord* after = NextBlock(b);
  const bool prevFree = b->prevBlockSize != 0 && PrevBlock(b)->state == kBlockFree;
  const bool nextFree = after->state == kBlockFree && after->blockSize != 0;
  if (prevFree) {
    SpriteRecord* before = PrevBlock(b);
    before->blockSize += b->blockSize;
    if (nextFree) {  // it follows `before` in the free list
      ListUnlink(free, after);
      before->blockSize += after->blockSize;
    }
    NextBlock(before)->prevBlockSize = before->blockSize;
    return;
  }
  if (nextFree) {
    ListInsertAfter(free, after->prev, b);
    ListUnlink(free, after);
    b->blockSize += after->blockSize;
    NextBlock(b)->prevBlockSize = b->blockSize;
    return;
  }
  // After the nearest free block below it in memory: the free list is in
  // address order.
  SpriteRecord* below = nullptr;
  for (SpriteRecord* f = free.head; f != nullptr && f < b; f = f->next) below = f;
  ListInsertAfter(free, below, b);
}
