#include "sprite/SpriteGrid.h"

#include <cstring>

#include "Memory.h"

namespace {

constexpr int32_t kCellShift = 6;        // 64 x 64 pixel cells
constexpr int32_t kNodesPerSprite = 16;  // cells a sprite is listed in; more: wide
constexpr int32_t kBuckets = 1024;       // cells hash into these (a power of two)
constexpr int32_t kWide = kBuckets;      // the list of wide sprites
constexpr int64_t kMaxSearchCells = 64;  // a larger box walks the pool
constexpr int32_t kNone = -1;

struct GridNode {
  int32_t next, prev, bucket;
};

struct CellBox {
  int32_t x0, y0, x1, y1;  // inclusive; x1 < x0: listed in no cell
};

}  // namespace

struct SpriteGrid {
  uint8_t* arena;
  int32_t slots;
  uint32_t stamp, markStamp;
  int32_t heads[kBuckets + 1];
  SpriteRecord** sprite;  // per slot
  uint32_t* seen;
  uint32_t* marks;
  int32_t* used;  // nodes in use
  CellBox* placed;
  GridNode* nodes;  // kNodesPerSprite per slot
  SpriteRecord** found;
};

namespace {

// Records start every kSpriteBytes from the arena, so the offset names the slot.
int32_t SlotOf(const SpriteGrid* g, const SpriteRecord* s) {
  const auto at = reinterpret_cast<const uint8_t*>(s);
  if (at < g->arena) return kNone;
  const uint64_t slot = uint64_t(at - g->arena) / kSpriteBytes;
  return slot < uint64_t(g->slots) ? int32_t(slot) : kNone;
}

int32_t Bucket(int32_t cx, int32_t cy) {
  uint32_t h = uint32_t(cx) * 0x9E3779B1u ^ uint32_t(cy) * 0x85EBCA77u;
  h ^= h >> 15;
  return int32_t(h & (kBuckets - 1));
}

bool CellsOf(const SpriteRect& box, CellBox* cells, int64_t* count) {
  if (box.right <= box.left || box.bottom <= box.top) return false;
  *cells = {box.left >> kCellShift, box.top >> kCellShift, (box.right - 1) >> kCellShift,
            (box.bottom - 1) >> kCellShift};
  *count = (int64_t(cells->x1) - cells->x0 + 1) * (int64_t(cells->y1) - cells->y0 + 1);
  return true;
}

void LinkNode(SpriteGrid* g, int32_t node, int32_t bucket) {
  GridNode& n = g->nodes[node];
  n.bucket = bucket;
  n.prev = kNone;
  n.next = g->heads[bucket];
  if (n.next != kNone) g->nodes[n.next].prev = node;
  g->heads[bucket] = node;
}

void UnlinkAll(SpriteGrid* g, int32_t slot) {
  for (int32_t k = 0; k < g->used[slot]; ++k) {
    const GridNode& n = g->nodes[slot * kNodesPerSprite + k];
    (n.prev != kNone ? g->nodes[n.prev].next : g->heads[n.bucket]) = n.next;
    if (n.next != kNone) g->nodes[n.next].prev = n.prev;
  }
  g->used[slot] = 0;
  g->placed[slot] = {0, 0, -1, -1};
}

void ListWide(SpriteGrid* g, int32_t slot) {
  UnlinkAll(g, slot);
  LinkNode(g, slot * kNodesPerSprite, kWide);
  g->used[slot] = 1;
}

bool IsWide(const SpriteGrid* g, int32_t slot) {
  return g->used[slot] == 1 && g->nodes[slot * kNodesPerSprite].bucket == kWide;
}

template <class T>
T* Carve(uint8_t*& at, int64_t count) {
  T* p = reinterpret_cast<T*>(at);
  at += (uint64_t(count) * sizeof(T) + 7) & ~uint64_t(7);
  return p;
}

}  // namespace

SpriteGrid* MakeSpriteGrid(SpritePool* pool, int32_t n) {
  if (pool == nullptr || n <= 1) return nullptr;
  const int64_t slots = int64_t(n) + 1;
  const uint64_t perSlot = sizeof(SpriteRecord*) * 2 + sizeof(uint32_t) * 2 + sizeof(int32_t) + sizeof(CellBox) +
                           sizeof(GridNode) * kNodesPerSprite;
  const uint64_t bytes = ((sizeof(SpriteGrid) + 7) & ~uint64_t(7)) + uint64_t(slots) * perSlot + 64;
  if (bytes > (uint64_t(1) << 30)) return nullptr;
  void* block = nullptr;
  if (!MemCalloc(uint32_t(bytes), &block)) return nullptr;
  auto* g = static_cast<SpriteGrid*>(block);
  uint8_t* at = static_cast<uint8_t*>(block) + ((sizeof(SpriteGrid) + 7) & ~uint64_t(7));
  g->arena = reinterpret_cast<uint8_t*>(pool->Arena());
  g->slots = int32_t(slots);
  g->sprite = Carve<SpriteRecord*>(at, slots);
  g->seen = Carve<uint32_t>(at, slots);
  g->marks = Carve<uint32_t>(at, slots);
  g->used = Carve<int32_t>(at, slots);
  g->placed = Carve<CellBox>(at, slots);
  g->nodes = Carve<GridNode>(at, slots * kNodesPerSprite);
  g->found = Carve<SpriteRecord*>(at, slots);
  for (int32_t& h : g->heads) h = kNone;
  return g;
}

void FreeSpriteGrid(SpriteGrid* grid) {
  void* block = grid;
  if (block != nullptr) MemFree(&block);
}

void SpriteGridAdd(SpriteGrid* g, SpriteRecord* s) {
  const int32_t slot = g != nullptr ? SlotOf(g, s) : kNone;
  if (slot == kNone) return;
  g->sprite[slot] = s;
  ListWide(g, slot);
}

void SpriteGridRemove(SpriteGrid* g, SpriteRecord* s) {
  const int32_t slot = g != nullptr ? SlotOf(g, s) : kNone;
  if (slot == kNone) return;
  UnlinkAll(g, slot);
  g->sprite[slot] = nullptr;
}

void SpriteGridPlace(SpriteGrid* g, SpriteRecord* s, const SpriteRect& box) {
  const int32_t slot = g != nullptr ? SlotOf(g, s) : kNone;
  if (slot == kNone || g->sprite[slot] != s) return;
  CellBox cells{};
  int64_t count = 0;
  if (!CellsOf(box, &cells, &count)) {
    UnlinkAll(g, slot);  // an empty box: it meets nothing
    return;
  }
  if (count > kNodesPerSprite) {
    if (!IsWide(g, slot)) ListWide(g, slot);
    return;
  }
  const CellBox& was = g->placed[slot];
  if (!IsWide(g, slot) && g->used[slot] > 0 && was.x0 == cells.x0 && was.y0 == cells.y0 && was.x1 == cells.x1 &&
      was.y1 == cells.y1)
    return;
  UnlinkAll(g, slot);
  int32_t k = 0;
  for (int32_t cy = cells.y0; cy <= cells.y1; ++cy)
    for (int32_t cx = cells.x0; cx <= cells.x1; ++cx) LinkNode(g, slot * kNodesPerSprite + k++, Bucket(cx, cy));
  g->used[slot] = k;
  g->placed[slot] = cells;
}

int32_t SpriteGridSearch(SpriteGrid* g, const SpriteRect& box, SpriteRecord*** found) {
  if (g == nullptr) return -1;
  CellBox cells{};
  int64_t count = 0;
  *found = g->found;
  if (!CellsOf(box, &cells, &count)) return 0;
  if (count > kMaxSearchCells) return -1;
  if (++g->stamp == 0) {
    std::memset(g->seen, 0, sizeof(uint32_t) * size_t(g->slots));
    g->stamp = 1;
  }
  int32_t n = 0;
  auto take = [&](int32_t bucket) {
    for (int32_t node = g->heads[bucket]; node != kNone; node = g->nodes[node].next) {
      const int32_t slot = node / kNodesPerSprite;
      if (g->seen[slot] == g->stamp) continue;
      g->seen[slot] = g->stamp;
      g->found[n++] = g->sprite[slot];
    }
  };
  for (int32_t cy = cells.y0; cy <= cells.y1; ++cy)
    for (int32_t cx = cells.x0; cx <= cells.x1; ++cx) take(Bucket(cx, cy));
  take(kWide);
  return n;
}

void SpriteGridBeginMarks(SpriteGrid* g) {
  if (++g->markStamp == 0) {
    std::memset(g->marks, 0, sizeof(uint32_t) * size_t(g->slots));
    g->markStamp = 1;
  }
}

void SpriteGridMark(SpriteGrid* g, const SpriteRecord* s) {
  const int32_t slot = SlotOf(g, s);
  if (slot != kNone) g->marks[slot] = g->markStamp;
}

bool SpriteGridMarked(const SpriteGrid* g, const SpriteRecord* s) {
  const int32_t slot = SlotOf(g, s);
  return slot != kNone && g->marks[slot] == g->markStamp;
}
