// Overlap links: each sprite lists the sprites whose rectangles overlap the
// box its current and pending rectangles span, both ways, so the passes and
// the collision searches look only at real neighbours. Kept sprites that a
// changing neighbour overlaps are flagged for redraw through these links.
#pragma once

#include "sprite/SpritePool.h"

// Strict overlap: rectangles that only touch do not overlap, and an empty
// rectangle overlaps nothing.
inline bool RectsOverlap(const SpriteRect& a, const SpriteRect& b) {
  const int32_t left = a.left > b.left ? a.left : b.left, right = a.right < b.right ? a.right : b.right;
  const int32_t top = a.top > b.top ? a.top : b.top, bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
  return left < right && top < bottom;
}

// A rectangle of the sprite as drawn: one pixel wider on each side when its
// ink smooths the edges (the blit and the dirty area reach that far).
SpriteRect DrawnArea(const SpriteRecord* sprite, const SpriteRect& rect);

// The bounding box of the current and pending rectangles, as drawn.
SpriteRect UnionBox(const SpriteRecord* sprite);

// The sprite's current or pending rectangle, as drawn, overlaps the box.
// Inline and branch-light: every change of a sprite asks it of every other.
inline bool MeetsBox(const SpriteRecord* s, const SpriteRect& box) {
  const int32_t g = int32_t((s->ink & kInkSmoothEdges) != 0);  // smooth edges: one pixel more
  auto meets = [&](const SpriteRect& r) {
    const int32_t left = r.left - g, right = r.right + g, top = r.top - g, bottom = r.bottom + g;
    return (left > box.left ? left : box.left) < (right < box.right ? right : box.right) &&
           (top > box.top ? top : box.top) < (bottom < box.bottom ? bottom : box.bottom);
  };
  return meets(s->rect) || meets(s->nextRect);
}

// Links the sprite, both ways, to every other sprite whose current or
// pending rectangle (as drawn) overlaps its union box, and unlinks the rest.
void RenewLinks(SpritePool* pool, SpriteRecord* sprite);
// Removes every link of the sprite, both ways.
void DropLinks(SpriteRecord* sprite);

// A kept sprite that is not yet to be drawn again (none of redraw, hidden,
// unsaved or changed).
inline bool KeptAndSettled(const SpriteRecord* s) {
  return (s->flags & kSpriteKept) &&
         !(s->flags & (kSpriteRedraw | kSpriteHidden | kSpriteNoSave | kSpriteChanged));
}

// Flags, through the links and on through theirs, every settled kept
// sprite for redraw.
void FlagOverlapsForRedraw(SpriteRecord* sprite);
