#include "sprite/SpritePool.h"

#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>

#include "Memory.h"
#include "sprite/SpriteGrid.h"

namespace {

// A block is split only when the rest can hold a block header of its own.
constexpr uint32_t kSplitAbove = kSpriteBytes + kBlockHeaderBytes;

// The pools made here, each with its spatial grid (null when it has none).
// Windows of several threads make and free pools, so the set has a lock of
// its own (the sprite calls take none: a window stays on its thread).
class MadePools {
 public:
  bool Add(SpritePool* pool, SpriteGrid* grid) {
    std::lock_guard<std::mutex> hold(lock_);
    try {
      pools_.emplace(pool, grid);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }
  SpriteGrid* Grid(SpritePool* pool) {
    std::lock_guard<std::mutex> hold(lock_);
    const auto it = pools_.find(pool);
    return it != pools_.end() ? it->second : nullptr;
  }
  // The pool's grid, which the caller frees; the pool stays in the set.
  SpriteGrid* TakeGrid(SpritePool* pool) {
    std::lock_guard<std::mutex> hold(lock_);
    const auto it = pools_.find(pool);
    if (it == pools_.end()) return nullptr;
    return std::exchange(it->second, nullptr);
  }
  // Takes the pool out of the set; false when it was not in it.
  bool Remove(SpritePool* pool, SpriteGrid** grid) {
    std::lock_guard<std::mutex> hold(lock_);
    const auto it = pools_.find(pool);
    if (it == pools_.end()) return false;
    *grid = it->second;
    pools_.erase(it);
    return true;
  }

 private:
  std::mutex lock_;
  std::unordered_map<SpritePool*, SpriteGrid*> pools_;
};

MadePools& Made() {
  static MadePools* made = new MadePools();  // never destroyed: pools may be freed at exit
  return *made;
}

SpriteGrid* GridSlot(SpritePool* pool) { return Made().Grid(pool); }

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
  if (!MemCalloc(SpritePoolSize(n), &block)) return nullptr;
  auto* pool = static_cast<SpritePool*>(block);
  SpriteRecord* arena = pool->Arena();
  // One free block: n records less one block header, so that the header
  // after it stays inside the pool.
  arena->blockSize = n > 0 ? uint32_t(n) * kSpriteBytes - kBlockHeaderBytes : 0;
  arena->state = kBlockFree;
  if (n > 0) NextBlock(arena)->prevBlockSize = arena->blockSize;
  ListAppend(pool->Free(), arena);
  SpriteGrid* grid = MakeSpriteGrid(pool, n);  // without one, searches walk the pool
  if (!Made().Add(pool, grid)) {
    FreeSpriteGrid(grid);
    MemFree(&block);
    return nullptr;
  }
  return pool;
}

SpriteGrid* SpritePoolGrid(SpritePool* pool) { return pool != nullptr ? GridSlot(pool) : nullptr; }

void SpritePoolDropGrid(SpritePool* pool) {
  if (pool != nullptr) FreeSpriteGrid(Made().TakeGrid(pool));
}

void FreeSpritePool(SpritePool** pool) {
  if (*pool != nullptr) {
    SpriteGrid* grid = nullptr;
    if (Made().Remove(*pool, &grid)) FreeSpriteGrid(grid);
    void* block = *pool;
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
