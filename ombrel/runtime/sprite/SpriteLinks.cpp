#include "sprite/SpriteLinks.h"

#include <algorithm>

#include "sprite/SpriteGrid.h"

namespace {

SpriteRecord* LinkAt(const SpriteRecord* s, int32_t i) {
  return static_cast<SpriteRecord*>(s->overlaps.GetAt(i));
}

// Removes `other` from the sprite's links; the last link takes its slot.
void Unlink(SpriteRecord* s, const SpriteRecord* other) {
  cSpriteVector& v = s->overlaps;
  const int32_t n = v.GetCount();
  for (int32_t i = 0; i < n; ++i) {
    if (LinkAt(s, i) != other) continue;
    v.SetAt(i, v.GetAt(n - 1));
    v.RemoveRange(n - 1, 1);
    return;
  }
}

}  // namespace

SpriteRect DrawnArea(const SpriteRecord* s, const SpriteRect& r) {
  if (!(s->ink & kInkSmoothEdges)) return r;
  return {r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
}

SpriteRect UnionBox(const SpriteRecord* s) {
  return DrawnArea(s, {std::min(s->rect.left, s->nextRect.left), std::min(s->rect.top, s->nextRect.top),
                       std::max(s->rect.right, s->nextRect.right), std::max(s->rect.bottom, s->nextRect.bottom)});
}



namespace {

// Links the sprite and o both ways (never one way only).
void LinkBoth(SpriteRecord* sprite, SpriteRecord* o) {
  if (sprite->overlaps.Add(o) < 0) return;
  if (o->overlaps.Add(sprite) < 0) Unlink(sprite, o);
}

// The sprites met that are not linked yet, from the pool's grid, put in
// drawing order (the order a walk of the pool adds them in); -1 without a
// grid search.
int32_t NewNeighbours(SpritePool* pool, SpriteGrid* grid, SpriteRecord* sprite, const SpriteRect& box,
                      SpriteRecord*** out) {
  SpriteRecord** near = nullptr;
  const int32_t count = SpriteGridSearch(grid, box, &near);
  if (count < 0) return -1;
  int32_t fresh = 0;
  for (int32_t i = 0; i < count; ++i) {
    SpriteRecord* o = near[i];
    if (o == sprite || !MeetsBox(o, box)) continue;
    if (o->flags & kSpriteLinkWork) {
      o->flags &= ~kSpriteLinkWork;
      continue;
    }
    near[fresh++] = o;
  }
  if (fresh > 1) {
    SpriteGridBeginMarks(grid);
    for (int32_t i = 0; i < fresh; ++i) SpriteGridMark(grid, near[i]);
    int32_t placed = 0;
    for (SpriteRecord* o = pool->First(); o != nullptr && placed < fresh; o = o->next)
      if (SpriteGridMarked(grid, o)) near[placed++] = o;
  }
  *out = near;
  return fresh;
}

}  // namespace

void RenewLinks(SpritePool* pool, SpriteRecord* sprite) {
  const SpriteRect box = UnionBox(sprite);
  SpriteGrid* grid = SpritePoolGrid(pool);
  SpriteGridPlace(grid, sprite, box);
  // Present links carry the working flag until the search confirms them.
  for (int32_t i = 0; i < sprite->overlaps.GetCount(); ++i) LinkAt(sprite, i)->flags |= kSpriteLinkWork;
  SpriteRecord** fresh = nullptr;
  const int32_t count = NewNeighbours(pool, grid, sprite, box, &fresh);
  if (count >= 0) {
    for (int32_t i = 0; i < count; ++i) LinkBoth(sprite, fresh[i]);
  } else {
    for (SpriteRecord* o = pool->First(); o != nullptr; o = o->next) {
      if (o == sprite || !MeetsBox(o, box)) continue;
      if (o->flags & kSpriteLinkWork) {
        o->flags &= ~kSpriteLinkWork;
        continue;
      }
      LinkBoth(sprite, o);
    }
  }
  for (int32_t i = sprite->overlaps.GetCount() - 1; i >= 0; --i) {
    SpriteRecord* o = LinkAt(sprite, i);
    if (!(o->flags & kSpriteLinkWork)) continue;
    o->flags &= ~kSpriteLinkWork;
    Unlink(o, sprite);
    Unlink(sprite, o);
  }
}

void DropLinks(SpriteRecord* sprite) {
  for (int32_t i = 0; i < sprite->overlaps.GetCount(); ++i) Unlink(LinkAt(sprite, i), sprite);
  sprite->overlaps.RemoveAll();
}

void FlagOverlapsForRedraw(SpriteRecord* sprite) {
  // Each sprite is flagged once, so the depth stays below the pool's size.
  for (int32_t i = 0; i < sprite->overlaps.GetCount(); ++i) {
    SpriteRecord* o = LinkAt(sprite, i);
    if (!KeptAndSettled(o)) continue;
    o->flags |= kSpriteRedraw;
    FlagOverlapsForRedraw(o);
  }
}
