// The sprite pool against a model over long random runs of creations and
// deletions: after every step the blocks tile the arena with correct size
// tags, the free list holds exactly the free blocks in address order, no
// two free blocks are neighbours, and the drawing order is creation order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "sprite/SpriteLinks.h"
#include "sprite/SpritePool.h"

namespace {

struct PoolOwner {
  SpritePool* pool;
  explicit PoolOwner(int32_t n) : pool(MakeSpritePool(n)) {}
  ~PoolOwner() {
    while (pool != nullptr && pool->First() != nullptr) SpritePoolGive(pool, pool->First());
    FreeSpritePool(&pool);
  }
};

std::vector<SpriteRecord*> ListOf(const SpriteList& list) {
  std::vector<SpriteRecord*> out;
  SpriteRecord* last = nullptr;
  for (SpriteRecord* r = list.head; r != nullptr; r = r->next) {
    EXPECT_EQ(r->prev, last);
    last = r;
    out.push_back(r);
  }
  EXPECT_EQ(list.tail, last);
  return out;
}

// Walks the arena and checks every rule; returns the number of free bytes.
uint32_t CheckPool(SpritePool* pool, int32_t n, const std::vector<SpriteRecord*>& sprites) {
  const uint32_t arena = uint32_t(n) * kSpriteBytes - kBlockHeaderBytes;
  std::vector<SpriteRecord*> freeBlocks;
  uint32_t walked = 0, prevSize = 0, freeBytes = 0;
  bool prevFree = false;
  SpriteRecord* b = pool->Arena();
  while (walked < arena) {
    EXPECT_EQ(b->prevBlockSize, prevSize);
    EXPECT_GT(b->blockSize, 0u);
    if (b->blockSize == 0) return 0;
    if (b->state == kBlockFree) {
      EXPECT_FALSE(prevFree) << "two free neighbours";
      freeBlocks.push_back(b);
      freeBytes += b->blockSize;
    } else {
      EXPECT_EQ(b->state, kBlockSprite);
      EXPECT_EQ(b->blockSize, kSpriteBytes);
    }
    prevFree = b->state == kBlockFree;
    prevSize = b->blockSize;
    walked += b->blockSize;
    b = NextBlock(b);
  }
  EXPECT_EQ(walked, arena) << "blocks must tile the arena";
  EXPECT_EQ(b->state, 0u);  // the terminating header
  EXPECT_EQ(b->prevBlockSize, prevSize);
  EXPECT_EQ(ListOf(pool->Free()), freeBlocks) << "the free list in address order";
  EXPECT_EQ(ListOf(pool->Sprites()), sprites) << "the drawing order";
  return freeBytes;
}

TEST(SpritePool, NewPoolsHaveOneFreeBlockAndTheDocumentedSize) {
  if (sizeof(void*) == 4) {
    EXPECT_EQ(SpritePoolSize(400), 67236u);
    EXPECT_EQ(SpritePoolSize(0), 56u);
  }
  EXPECT_EQ(SpritePoolSize(10), 10 * kSpriteBytes + sizeof(SpritePool) + kBlockHeaderBytes);
  PoolOwner p(400);
  ASSERT_NE(p.pool, nullptr);
  EXPECT_EQ(CheckPool(p.pool, 400, {}), 400 * kSpriteBytes - kBlockHeaderBytes);
  PoolOwner none(0);
  ASSERT_NE(none.pool, nullptr);
  EXPECT_EQ(none.pool->Free().head->blockSize, 0u);
  EXPECT_EQ(SpritePoolTake(none.pool), nullptr);
  EXPECT_EQ(MakeSpritePool(-1), nullptr);
  EXPECT_EQ(SpritePoolTake(nullptr), nullptr);
}

TEST(SpritePool, PoolOfFourHundredHoldsThreeHundredNinetyNineAndReusesDeletedRecords) {
  PoolOwner p(400);
  std::vector<SpriteRecord*> sprites;
  for (int i = 0; i < 399; ++i) {
    SpriteRecord* s = SpritePoolTake(p.pool);
    ASSERT_NE(s, nullptr) << i;
    s->user = i;
    sprites.push_back(s);
  }
  EXPECT_EQ(SpritePoolTake(p.pool), nullptr);
  CheckPool(p.pool, 400, sprites);
  SpriteRecord* gone = sprites[123];
  SpritePoolGive(p.pool, gone);
  sprites.erase(sprites.begin() + 123);
  SpriteRecord* again = SpritePoolTake(p.pool);
  EXPECT_EQ(again, gone);
  EXPECT_EQ(again->user, 0);  // zeroed from the flags on
  EXPECT_EQ(again->overlaps.GetCount(), 0);
  sprites.push_back(again);
  EXPECT_EQ(SpritePoolTake(p.pool), nullptr);
  CheckPool(p.pool, 400, sprites);
}

TEST(SpritePool, RandomCreatesAndDeletesKeepTheBlocksTiledAndTheFreeListOrdered) {
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    const int32_t n = seed == 1 ? 400 : 37;
    PoolOwner p(n);
    std::mt19937 rng(seed);
    std::vector<SpriteRecord*> sprites;
    for (int step = 0; step < 100000 / 3; ++step) {
      // Biased towards filling up or emptying in long stretches.
      const bool create = sprites.empty() || ((step / 500) % 2 == 0 ? rng() % 4 != 0 : rng() % 4 == 0);
      if (create) {
        SpriteRecord* s = SpritePoolTake(p.pool);
        if (int32_t(sprites.size()) == n - 1) {
          ASSERT_EQ(s, nullptr) << "seed " << seed << " step " << step;
          continue;
        }
        ASSERT_NE(s, nullptr) << "seed " << seed << " step " << step << " with " << sprites.size();
        ASSERT_EQ(std::count(sprites.begin(), sprites.end(), s), 0);
        sprites.push_back(s);
      } else {
        const size_t i = rng() % sprites.size();
        SpritePoolGive(p.pool, sprites[i]);
        sprites.erase(sprites.begin() + long(i));
      }
      if (step % 97 == 0 || sprites.empty()) {
        CheckPool(p.pool, n, sprites);
        if (HasFailure()) FAIL() << "seed " << seed << " step " << step;
      }
    }
    while (!sprites.empty()) {
      SpritePoolGive(p.pool, sprites.back());
      sprites.pop_back();
    }
    // Everything merged back into the one block of the new pool.
    EXPECT_EQ(CheckPool(p.pool, n, {}), uint32_t(n) * kSpriteBytes - kBlockHeaderBytes);
    EXPECT_EQ(p.pool->Free().head, p.pool->Free().tail);
  }
}

// A pool laid out by a host in memory of its own (the documented header and
// free block, no grid): records come from it as from a pool made here, the
// links of its sprites come from walking it, and the library reads nothing
// outside it. Cases: the pool at the very start of its heap block (a read
// before it is a heap overflow under ASan), and a pool whose preceding bytes
// happen to read as a library pool's bookkeeping (a mark and the pool's own
// address beside a grid pointer).
TEST(SpritePool, APoolTheHostLaidOutIsSearchedByWalking) {
  struct LookAlike {
    void* grid;
    uint32_t mark;
    uint32_t self;
  };
  constexpr int32_t n = 20;
  for (const bool lookAlike : {false, true}) {
    SCOPED_TRACE(lookAlike ? "look-alike bytes before the pool" : "pool at the start of its block");
    const size_t before = lookAlike ? 16 : 0;
    std::vector<uint64_t> memory((before + SpritePoolSize(n) + 7) / 8, 0);  // zeroed
    auto* pool = reinterpret_cast<SpritePool*>(reinterpret_cast<uint8_t*>(memory.data()) + before);
    if (lookAlike) {
      LookAlike forged{reinterpret_cast<void*>(uintptr_t{0x5A5A5A50}), 0x4C4F4F50,
                       uint32_t(reinterpret_cast<uintptr_t>(pool))};
      std::memcpy(memory.data(), &forged, sizeof forged);
    }
    SpriteRecord* arena = pool->Arena();
    arena->blockSize = uint32_t(n) * kSpriteBytes - kBlockHeaderBytes;
    arena->state = kBlockFree;
    NextBlock(arena)->prevBlockSize = arena->blockSize;
    ListAppend(pool->Free(), arena);
    ASSERT_EQ(SpritePoolGrid(pool), nullptr);
    SpriteRecord* a = SpritePoolTake(pool);
    SpriteRecord* b = SpritePoolTake(pool);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    a->rect = a->nextRect = {0, 0, 10, 10};
    b->rect = b->nextRect = {5, 5, 15, 15};
    RenewLinks(pool, b);
    ASSERT_EQ(a->overlaps.GetCount(), 1);
    EXPECT_EQ(a->overlaps.GetAt(0), b);
    SpritePoolDropGrid(pool);
    DropLinks(a);
    SpritePoolGive(pool, a);
    SpritePoolGive(pool, b);
    EXPECT_EQ(pool->First(), nullptr);
  }
}

}  // namespace
