#include "window/WindowSprites.h"

#include <algorithm>
#include <climits>

#include "Memory.h"

namespace {

SpritePoolHeader* NewPool(uint32_t bytes, int32_t freeBytes) {
  // Natively the header and a block are wider than on the library's platform.
  bytes = std::max<uint32_t>(bytes, sizeof(SpritePoolHeader) + sizeof(SpritePoolBlock));
  void* block = nullptr;
  if (!MemCalloc(bytes, &block)) return nullptr;
  auto* pool = static_cast<SpritePoolHeader*>(block);
  auto* free = reinterpret_cast<SpritePoolBlock*>(pool + 1);
  free->size = freeBytes;
  free->state = 1;
  pool->freeHead = free;
  pool->freeTail = free;
  return pool;
}

}  // namespace

SpritePoolHeader* SpritePoolCreate(int32_t records) {
  // The pool's size must stay a 32-bit allocation.
  if (records < 1 || records > (INT32_MAX - 36) / kSpriteRecordBytes) return nullptr;
  return NewPool(uint32_t(records) * kSpriteRecordBytes + 36, records * kSpriteRecordBytes - 20);
}

SpritePoolHeader* SpritePoolCreatePlain() { return NewPool(kPlainPoolBytes, 0); }

void SpritePoolFree(WindowObject* window) {
  void* pool = window->spritePool;
  MemFree(&pool);
  window->spritePool = nullptr;
}

OMB_FLAT void OMB_STDCALL WindowDeleteSprites(WindowObject* window) {
  if (window == nullptr || window->spritePool == nullptr) return;
  // No sprite can be made yet: the pool's sprite list stays empty.
}
