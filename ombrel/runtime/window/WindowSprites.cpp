#include "window/WindowSprites.h"

#include "sprite/SpritePasses.h"
#include "window/WindowSpriteAccess.h"

SpritePool* SpritePoolCreate(int32_t records) { return records >= 1 ? MakeSpritePool(records) : nullptr; }

SpritePool* SpritePoolCreatePlain() { return MakeSpritePool(0); }

void SpritePoolFree(WindowObject* window) {
  auto* pool = static_cast<SpritePool*>(window->spritePool);
  FreeSpritePool(&pool);
  window->spritePool = nullptr;
}

OMB_FLAT void OMB_STDCALL WindowDeleteSprites(WindowObject* window) {
  if (window == nullptr || window->spritePool == nullptr) return;
  WindowSpriteAccess access(window);
  DeleteAllSprites(access);
}
