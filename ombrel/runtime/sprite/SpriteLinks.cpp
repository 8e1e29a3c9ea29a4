#include "sprite/SpriteLinks.h"

#include <algorithm>

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



void RenewLinks(SpritePool* pool, SpriteRecord* sprite) {
  const SpriteRect box = UnionBox(sprite);
  // Present links carry the working flag until the scan confirms them.
  for (int32_t i = 0; i < sprite->overlaps.GetCount(); ++i) LinkAt(sprite, i)->flags |= kSpriteLinkWork;
  for (SpriteRecord* o = pool->First(); o != nullptr; o = o->next) {
    if (o == sprite || !MeetsBox(o, box)) continue;
    if (o->flags & kSpriteLinkWork) {
      o->flags &= ~kSpriteLinkWork;
      continue;
    }
    if (sprite->overlaps.Add(o) < 0) continue;
    if (o->overlaps.Add(sprite) < 0) Unlink(sprite, o);  // never one way only
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
