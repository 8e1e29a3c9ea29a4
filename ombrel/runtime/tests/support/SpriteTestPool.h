// A sprite pool with a table of image sizes for tests of the sprite code
// that need no window: sprites are created and changed as the window's
// functions do, on a pool of their own.
#pragma once

#include <map>

#include "sprite/SpriteChanges.h"
#include "sprite/SpritePool.h"

class TestImages : public SpriteImages {
 public:
  std::map<uint32_t, ImageGeometry> table;
  bool Geometry(uint32_t image, ImageGeometry* out) override {
    auto it = table.find(image);
    if (it == table.end()) return false;
    *out = it->second;
    return true;
  }
};

struct SpriteTestPool {
  SpritePool* pool;
  TestImages images;
  explicit SpriteTestPool(int32_t records = 400) : pool(MakeSpritePool(records)) {}
  ~SpriteTestPool() {
    while (pool != nullptr && pool->First() != nullptr) {
      SpriteRecord* s = pool->First();
      // Links first: the pool only takes the record back.
      DropLinksOf(s);
      SpritePoolGive(pool, s);
    }
    FreeSpritePool(&pool);
  }
  SpriteRecord* Create(int32_t x, int32_t y, uint32_t image, int32_t layer, int32_t subOrder = 0,
                       uint32_t flags = 0, int32_t user = 0) {
    return CreateSprite(pool, &images, x, y, image, layer, subOrder, 0, flags, user);
  }

 private:
  static void DropLinksOf(SpriteRecord* s);
};
