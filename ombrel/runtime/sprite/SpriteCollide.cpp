#include "sprite/SpriteCollide.h"

#include <algorithm>

#include "Memory.h"
#include "imagebank/ImageBank.h"
#include "mask/MaskBits.h"
#include "sprite/SpriteChanges.h"
#include "sprite/SpriteLinks.h"
#include "sprite/SpriteTransform.h"
#include "surface/cSurfaceImpl.h"

namespace {

bool Plain(int32_t angle, float sx, float sy) { return angle == 0 && sx == 1.0f && sy == 1.0f; }

// A zeroed mask record of the surface's opaque pixels; null when it cannot
// be made.
CollisionMaskHeader* MaskOfSurface(cSurfaceImpl* surface) {
  if (surface == nullptr) return nullptr;
  const uint32_t size = surface->BuildCollisionMask(nullptr, 0);
  void* block = nullptr;
  if (size == 0 || !MemCalloc(size, &block)) return nullptr;
  surface->BuildCollisionMask(block, 0);
  return static_cast<CollisionMaskHeader*>(block);
}

// A mask's usable rows: its last `rows` (all when rows <= 0).
struct MaskRows {
  const uint8_t* bits = nullptr;
  int32_t width = 0, height = 0;
};

MaskRows RowsOf(const CollisionMaskHeader* m, int32_t lastRows) {
  MaskRows r;
  const uint8_t* bits = UsableMaskBits(m);
  if (bits == nullptr) return r;
  r.width = m->width;
  r.height = m->height;
  r.bits = bits;
  if (lastRows > 0 && lastRows < m->height) {
    r.bits = bits + size_t(m->height - lastRows) * m->rowBytes;
    r.height = lastRows;
  }
  return r;
}

// The box and mask of a tested sprite.
struct Tested {
  SpriteRect box{};
  CollisionMaskHeader* mask = nullptr;
  bool byRect = false;
};

Tested TestedShape(SpriteWindow& window, SpriteRecord* s, uint32_t image, int32_t x, int32_t y, int32_t angle,
                   float sx, float sy) {
  Tested t;
  if (image == 0) image = uint32_t(s->image);  // as for the sprite's mask
  const bool pixels = window.PixelCollision() != 0 && !(s->flags & kSpriteRectCollision);
  if ((s->flags & kSpriteOwnerDrawn) || Plain(angle, sx, sy)) {
    t.mask = SpriteMask(window, s, image, 0);
    if (UsableMaskBits(t.mask) != nullptr) {
      if (!(s->flags & kSpriteNoHotSpot)) {
        x -= t.mask->hotX;
        y -= t.mask->hotY;
      }
      t.box = {x, y, x + t.mask->width, y + t.mask->height};
    } else {
      t.mask = nullptr;
      t.box = {x, y, x + (s->rect.right - s->rect.left), y + (s->rect.bottom - s->rect.top)};
      t.byRect = true;
    }
  } else {
    const int32_t which = TransformedBox(window, s, image, x, y, angle, sx, sy, &t.box, &t.mask);
    if (pixels && UsableMaskBits(t.mask) == nullptr)
      t.mask = BuildTransformedMask(window, s, which, t.box.right - t.box.left, t.box.bottom - t.box.top);
    if (UsableMaskBits(t.mask) == nullptr) t.byRect = true;
  }
  if (!pixels) t.byRect = true;
  return t;
}

uint16_t SearchKey(const SpriteRecord* s, int32_t options) {
  return (options & kSearchSecondSet) ? uint16_t(s->key & ~1) : uint16_t(s->key | 1);
}

// A candidate of the search hit by the tested shape.
bool Hits(SpriteWindow& window, const SpriteRecord* tested, SpriteRecord* c, uint16_t key, const Tested& t,
          const MaskRows& rows, int32_t options) {
  if (c == tested || c->key != key || !(c->flags & kSpriteCollides) || (c->flags & kSpriteDeleteLater) ||
      !RectsOverlap(c->rect, t.box))
    return false;
  int32_t plane = 0;
  if ((options & kSearchSecondSet) && (c->flags & kSpritePlane1)) {
    if (options & kSearchSkipPlane1) return false;
    plane = 1;
  }
  if (t.byRect || (c->flags & kSpriteRectCollision)) return true;
  const MaskRows other = RowsOf(SpriteMask(window, c, 0, plane), 0);
  if (other.bits == nullptr) return false;  // a candidate without mask is no hit
  return MaskBitsOverlap(rows.bits, other.bits, t.box.left, t.box.top, rows.width, rows.height, c->rect.left,
                         c->rect.top, other.width, other.height) != 0;
}

// Candidates of a search by key: from `start` on; keys below are skipped,
// a greater key ends the walk (layer searches), or the set bit must match.
bool Candidate(const SpriteRecord* c, int32_t key, int32_t set, int32_t options) {
  if (key >= 0 ? c->key != key : (c->key & 1) != set) return false;
  if (!(c->flags & kSpriteCollides) && !(options & kSearchAll)) return false;
  if (c->flags & kSpriteDeleteLater) return false;
  if ((options & kSearchSecondSet) && (options & kSearchSkipPlane1) && (c->flags & kSpritePlane1)) return false;
  return true;
}

const CollisionMaskHeader* CandidateMask(SpriteWindow& window, SpriteRecord* c, int32_t options) {
  const int32_t plane = (options & kSearchSecondSet) && (c->flags & kSpritePlane1) ? 1 : 0;
  return SpriteMask(window, c, 0, plane);
}

template <class Test>
SpriteRecord* Walk(SpriteWindow& window, SpriteRecord* after, int32_t layer, int32_t options, Test test) {
  const int32_t set = (options & kSearchSecondSet) ? 0 : 1;
  const int32_t key = layer == -1 ? -1 : layer * 2 + set;
  SpriteRecord* c = after != nullptr ? after->next : window.Pool()->First();
  for (; c != nullptr; c = c->next) {
    if (key >= 0 && c->key > key) return nullptr;
    if (!Candidate(c, key, set, options)) continue;
    if (test(c)) return c;
  }
  return nullptr;
}

}  // namespace

CollisionMaskHeader* SpriteMask(SpriteWindow& window, SpriteRecord* s, uint32_t image, int32_t plane) {
  if (s == nullptr) return nullptr;
  if (s->flags & kSpriteOwnerDrawn) {
    SpriteOwnerDraw owner = s->Owner();
    if (owner == nullptr) return nullptr;
    auto* m = reinterpret_cast<CollisionMaskHeader*>(owner(s, kOwnerGetMask, plane));
    // An owner's record is used only when it is well-formed.
    return UsableMaskBits(m) != nullptr ? m : nullptr;
  }
  if (image == 0) image = uint32_t(s->image);
  if (Plain(s->angle, s->scaleX, s->scaleY)) return ImageGetMask(window.App(), image, plane);
  if (s->flags & kSpriteTransformDirty) {
    s->flags &= ~kSpriteTransformDirty;
    RebuildTransform(window.App(), s);
  }
  if (s->xfImage == nullptr) return nullptr;
  if (s->xfMask == nullptr) s->xfMask = MaskOfSurface(s->xfImage);
  return s->xfMask;
}

int32_t TransformedBox(SpriteWindow& window, SpriteRecord* s, uint32_t image, int32_t x, int32_t y, int32_t angle,
                       float sx, float sy, SpriteRect* box, CollisionMaskHeader** mask) {
  (void)window;
  *box = {x, y, x, y};
  *mask = nullptr;
  const bool dirty = (s->flags & kSpriteTransformDirty) != 0;
  if (s->xfImage != nullptr && image == (dirty ? s->nextImage : uint32_t(s->image)) && angle == s->angle &&
      sx == s->scaleX && sy == s->scaleY) {
    if (dirty) FreeMaskRecord(s->xfMask);
    *mask = s->xfMask;
    const SpriteRect& r = dirty ? s->nextRect : s->rect;
    const int32_t px = dirty ? s->nextX : s->x, py = dirty ? s->nextY : s->y;
    *box = {r.left + x - px, r.top + y - py, r.right + x - px, r.bottom + y - py};
    return 1;
  }
  if (s->testImage == image && s->testAngle == angle && s->testScaleX == sx && s->testScaleY == sy) {
    *mask = s->testMask;
  } else {
    s->testImage = uint16_t(image);
    s->testAngle = uint16_t(angle);
    s->testScaleX = sx;
    s->testScaleY = sy;
    DropTestTransform(s);
  }
  BankSpriteImages images(window.App());
  ImageGeometry g{};
  *box = image != 0 && images.Geometry(image, &g) ? PlacedRect(s->flags, image, x, y, sx, sy, angle, &images)
                                                  : SpriteRect{0, 0, 0, 0};
  return 2;
}

CollisionMaskHeader* BuildTransformedMask(SpriteWindow& window, SpriteRecord* s, int32_t which, int32_t width,
                                          int32_t height) {
  CollisionMaskHeader* result = nullptr;
  if (which & 1) {
    if (s->flags & kSpriteTransformDirty) {
      s->flags &= ~kSpriteTransformDirty;
      RebuildTransform(window.App(), s);
    }
    if (s->xfImage != nullptr && s->xfMask == nullptr) s->xfMask = MaskOfSurface(s->xfImage);
    result = s->xfImage != nullptr ? s->xfMask : nullptr;
  }
  if (which & 2) {
    if (s->testSurface == nullptr) BuildTestSurface(window.App(), s, width, height);
    if (s->testSurface != nullptr && s->testMask == nullptr) s->testMask = MaskOfSurface(s->testSurface);
    result = s->testSurface != nullptr ? s->testMask : nullptr;
  }
  return result;
}

SpriteRecord* FindAtPoint(SpriteWindow& window, SpriteRecord* after, int32_t layer, int32_t x, int32_t y,
                          int32_t options) {
  if (window.Pool() == nullptr) return nullptr;
  return Walk(window, after, layer, options, [&](SpriteRecord* c) {
    const SpriteRect& r = c->rect;
    if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) return false;
    if (window.PixelCollision() == 0 || (c->flags & kSpriteRectCollision)) return true;
    const CollisionMaskHeader* m = CandidateMask(window, c, options);
    const uint8_t* bits = UsableMaskBits(m);
    return bits != nullptr && MaskBitsTestPoint(bits, x - r.left, y - r.top, m->width, m->height) != 0;
  });
}

SpriteRecord* FindInRect(SpriteWindow& window, SpriteRecord* after, int32_t layer, int32_t x, int32_t y, int32_t w,
                         int32_t h, int32_t options) {
  if (window.Pool() == nullptr) return nullptr;
  return Walk(window, after, layer, options, [&](SpriteRecord* c) {
    const SpriteRect& r = c->rect;
    if (r.right < x || r.left >= int64_t(x) + w || r.bottom < y || r.top >= int64_t(y) + h) return false;
    if (window.PixelCollision() == 0 || (c->flags & kSpriteRectCollision)) return true;
    const CollisionMaskHeader* m = CandidateMask(window, c, options);
    const uint8_t* bits = UsableMaskBits(m);
    return bits != nullptr && MaskBitsTestRect(bits, m->width, m->height, x - r.left, y - r.top, w, h) != 0;
  });
}

SpriteRecord* FindCollision(SpriteWindow& window, SpriteRecord* s, uint32_t image, int32_t x, int32_t y,
                            int32_t angle, float sx, float sy, int32_t bottomRows, int32_t options) {
  if (s == nullptr || window.Pool() == nullptr) return nullptr;
  if (!(options & kSearchSecondSet) && !(s->flags & kSpriteCollides)) return nullptr;
  const uint16_t key = SearchKey(s, options);
  Tested t = TestedShape(window, s, image, x, y, angle, sx, sy);
  int32_t lastRows = 0;
  if (bottomRows > 0) {
    const int32_t rows = std::min(bottomRows, t.box.bottom - t.box.top);
    t.box.top = t.box.bottom - rows;
    lastRows = t.mask != nullptr ? std::min(bottomRows, t.mask->height) : 0;
  }
  const MaskRows rows = RowsOf(t.mask, lastRows);
  if (!t.byRect && rows.bits == nullptr) t.byRect = true;
  const SpriteRect own = UnionBox(s);
  const bool inside = t.box.left >= own.left && t.box.top >= own.top && t.box.right <= own.right &&
                      t.box.bottom <= own.bottom;
  if (inside) {
    // Only real neighbours can be hit.
    for (int32_t i = 0; i < s->overlaps.GetCount(); ++i) {
      auto* c = static_cast<SpriteRecord*>(s->overlaps.GetAt(i));
      if (Hits(window, s, c, key, t, rows, options)) return c;
    }
    return nullptr;
  }
  for (SpriteRecord* c = window.Pool()->First(); c != nullptr && c->key <= key; c = c->next)
    if (Hits(window, s, c, key, t, rows, options)) return c;
  return nullptr;
}

int32_t ListCollisions(SpriteWindow& window, SpriteRecord* s, CollisionPair* pairs, uint32_t image, int32_t x,
                       int32_t y, int32_t angle, float sx, float sy, int32_t options) {
  if (s == nullptr || window.Pool() == nullptr) return 0;
  if (!(options & kSearchSecondSet) && !(s->flags & kSpriteCollides)) return 0;
  const uint16_t key = SearchKey(s, options);
  Tested t = TestedShape(window, s, image, x, y, angle, sx, sy);
  int32_t lastRows = 0;
  if ((options & kSearchBottomRows) && t.box.bottom - t.box.top > kTopEdgeDepth) {
    t.box.top = t.box.bottom - kTopEdgeDepth;
    lastRows = kTopEdgeDepth;
  }
  const MaskRows rows = RowsOf(t.mask, lastRows);
  if (!t.byRect && rows.bits == nullptr) t.byRect = true;
  int32_t count = 0;
  for (SpriteRecord* c = window.Pool()->First(); c != nullptr; c = c->next) {
    if (!Hits(window, s, c, key, t, rows, options)) continue;
    if (pairs != nullptr) pairs[count] = {c, c->user};
    ++count;
  }
  if (pairs != nullptr) pairs[count].sprite = nullptr;  // the zero word
  return count;
}

int32_t SetCollision(SpriteRecord* s, int32_t on) {
  if (s == nullptr) return 0;
  const int32_t previous = int32_t(s->flags & kSpriteCollides);
  s->flags = (s->flags & ~kSpriteCollides) | (uint32_t(on) & kSpriteCollides);
  return previous;
}

int32_t SpriteAgainstMask(SpriteWindow& window, const WindowMask& mask, SpriteRecord* s, uint32_t image, int32_t x,
                       int32_t y, int32_t angle, float sx, float sy, int32_t bottomRows, int32_t plane) {
  if (s == nullptr || !mask.Exists()) return 0;
  const int32_t p = plane == 1 ? 1 : 0;
  auto rectTest = [&]() {
    SpriteRect box{};
    BankSpriteImages images(window.App());
    ImageGeometry g{};
    if (image == 0 || image == uint32_t(s->image) || (s->flags & kSpriteOwnerDrawn) || !images.Geometry(image, &g)) {
      box = {s->rect.left + x - s->x, s->rect.top + y - s->y, s->rect.right + x - s->x, s->rect.bottom + y - s->y};
    } else {
      const bool hot = !(s->flags & kSpriteNoHotSpot);
      box = {x - (hot ? g.hotX : 0), y - (hot ? g.hotY : 0), 0, 0};
      box.right = box.left + g.width;
      box.bottom = box.top + g.height;
    }
    if (bottomRows > 0) box.top = box.bottom - std::min(bottomRows, box.bottom - box.top);
    return mask.TestRect(box.left, box.top, box.right - box.left, box.bottom - box.top, p);
  };
  if (window.PixelCollision() == 0 || (s->flags & kSpriteRectCollision)) return rectTest();
  const uint8_t* planeBits = mask.Plane(p);
  if (planeBits == nullptr) return 0;
  if (image == 0) image = uint32_t(s->image);
  CollisionMaskHeader* m = nullptr;
  int32_t left = x, top = y;
  if ((s->flags & kSpriteOwnerDrawn) || Plain(angle, sx, sy)) {
    m = SpriteMask(window, s, image, 0);
    if (UsableMaskBits(m) == nullptr) return rectTest();
    if (!(s->flags & kSpriteNoHotSpot)) {
      left -= m->hotX;
      top -= m->hotY;
    }
  } else {
    SpriteRect box{};
    const int32_t which = TransformedBox(window, s, image, x, y, angle, sx, sy, &box, &m);
    if (UsableMaskBits(m) == nullptr) m = BuildTransformedMask(window, s, which, box.right - box.left, box.bottom - box.top);
    if (UsableMaskBits(m) == nullptr) return rectTest();
    left = box.left;
    top = box.top;
  }
  int32_t rowsUsed = m->height;
  if (bottomRows > 0 && bottomRows < m->height) {
    top += m->height - bottomRows;
    rowsUsed = bottomRows;
  }
  const MaskRows rows = RowsOf(m, rowsUsed);
  return MaskBitsOverlap(planeBits, rows.bits, mask.rect.left, mask.rect.top, mask.rowBytes * 8, mask.Rows(),
                         left + mask.originX, top + mask.originY, rows.width, rows.height);
}
