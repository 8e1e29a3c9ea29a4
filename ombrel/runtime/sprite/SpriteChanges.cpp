#include "sprite/SpriteChanges.h"

#include "Memory.h"
#include "sprite/SpriteLinks.h"
#include "sprite/SpriteOrder.h"
#include "surface/RotatedBounds.h"
#include "surface/cSurfaceImpl.h"

namespace {

// A change that shows: links renewed and, unless the sprite saves no
// background, settled kept neighbours flagged.
void Changed(SpritePool* pool, SpriteRecord* s) {
  s->flags |= kSpriteChanged;
  RenewLinks(pool, s);
  if (!(s->flags & kSpriteNoSave)) FlagOverlapsForRedraw(s);
}

void Recompute(SpritePool* pool, SpriteImages* images, SpriteRecord* s) {
  s->nextRect = PendingRect(s, images);
  Changed(pool, s);
}

}  // namespace

int32_t NormalAngle(int32_t degrees) {
  const int32_t a = degrees % 360;
  return a < 0 ? a + 360 : a;
}

SpriteRect PlacedRect(uint32_t flags, uint32_t image, int32_t x, int32_t y, float scaleX, float scaleY,
                      int32_t angle, SpriteImages* images) {
  ImageGeometry g{};
  if (image == 0 || images == nullptr || !images->Geometry(image, &g)) return {x, y, x + 1, y + 1};
  if (flags & kSpriteNoHotSpot) g.hotX = g.hotY = 0;
  if (angle == 0) {
    SpriteRect r{};
    r.left = scaleX == 1.0f ? x - g.hotX : x - int32_t(float(g.hotX) * scaleX);
    r.right = scaleX == 1.0f ? r.left + g.width : r.left + int32_t(float(g.width) * scaleX);
    r.top = scaleY == 1.0f ? y - g.hotY : y - int32_t(float(g.hotY) * scaleY);
    r.bottom = scaleY == 1.0f ? r.top + g.height : r.top + int32_t(float(g.height) * scaleY);
    return r;
  }
  if (scaleX != 1.0f) {
    g.width = int32_t(float(g.width) * scaleX);
    g.hotX = int32_t(float(g.hotX) * scaleX);
  }
  if (scaleY != 1.0f) {
    g.height = int32_t(float(g.height) * scaleY);
    g.hotY = int32_t(float(g.hotY) * scaleY);
  }
  RotatedRecord box{0, 0, g.width, g.height};
  RotatedPoint hot{g.hotX, g.hotY};
  RotatedBounds(&box, &hot, nullptr, float(angle));
  const int32_t left = x - hot.x, top = y - hot.y;
  return {left, top, left + box.width, top + box.height};
}

SpriteRect PendingRect(const SpriteRecord* s, SpriteImages* images) {
  return PlacedRect(s->flags, s->nextImage, s->nextX, s->nextY, s->scaleX, s->scaleY, s->angle, images);
}

namespace {

SpriteRecord* NewSprite(SpritePool* pool, int32_t x, int32_t y, int32_t layer, int32_t subOrder, uint32_t colour,
                        uint32_t flags, int32_t user) {
  SpriteRecord* s = SpritePoolTake(pool);
  if (s == nullptr) return nullptr;
  s->flags = flags;
  s->key = SpriteKey(layer, flags);
  s->subOrder = subOrder;
  s->x = s->nextX = x;
  s->y = s->nextY = y;
  s->user = user;
  s->ink = kInkKeyed;
  s->scaleX = s->scaleY = s->testScaleX = s->testScaleY = 1.0f;
  s->savedRect = {-1, -1, -1, -1};
  s->colour = colour;
  return s;
}

void Settle(SpritePool* pool, SpriteRecord* s) {
  PlaceInOrder(pool, s);
  RenewLinks(pool, s);
  if (!(s->flags & kSpriteNoSave) && (s->flags & kSpriteKept)) FlagOverlapsForRedraw(s);
}

constexpr uint32_t kCallerCannotSet = kSpriteTransformDirty | kSpriteDeleteLater | kSpriteRedraw;

}  // namespace

SpriteRecord* CreateSprite(SpritePool* pool, SpriteImages* images, int32_t x, int32_t y, uint32_t image,
                           int32_t layer, int32_t subOrder, uint32_t colour, uint32_t flags, int32_t user) {
  flags = (flags & ~(kCallerCannotSet | kSpriteOwnerDrawn | kSpriteOwnerSaves)) | kSpriteChanged;
  SpriteRecord* s = NewSprite(pool, x, y, layer, subOrder, colour, flags, user);
  if (s == nullptr) return nullptr;
  s->image = s->nextImage = image;
  s->nextRect = s->rect = PendingRect(s, images);
  Settle(pool, s);
  return s;
}

SpriteRecord* CreateOwnerDrawnSprite(SpritePool* pool, const SpriteRect& rect, int32_t layer, int32_t subOrder,
                                     uint32_t colour, uint32_t flags, int32_t user, SpriteOwnerDraw owner) {
  flags = (flags & ~kCallerCannotSet) | kSpriteOwnerDrawn | kSpriteChanged;
  SpriteRecord* s = NewSprite(pool, rect.left, rect.top, layer, subOrder, colour, flags, user);
  if (s == nullptr) return nullptr;
  s->image = reinterpret_cast<uintptr_t>(owner);
  s->rect = s->nextRect = rect;
  Settle(pool, s);
  return s;
}

void FreeMaskRecord(CollisionMaskHeader*& mask) {
  void* block = mask;
  if (block != nullptr) MemFree(&block);
  mask = nullptr;
}

void DropTransform(SpriteRecord* s) {
  DeleteSurface(s->xfImage);
  s->xfImage = nullptr;
  FreeMaskRecord(s->xfMask);
}

void DropTestTransform(SpriteRecord* s) {
  DeleteSurface(s->testSurface);
  s->testSurface = nullptr;
  FreeMaskRecord(s->testMask);
}

namespace {

bool Transformed(const SpriteRecord* s) { return s->angle != 0 || s->scaleX != 1.0f || s->scaleY != 1.0f; }

}  // namespace

void MoveSprite(SpritePool* pool, SpriteImages* images, SpriteRecord* s, int32_t x, int32_t y, uint32_t image) {
  if (x == s->nextX && y == s->nextY && image == s->nextImage) return;
  if (image != s->nextImage && Transformed(s)) {
    s->flags |= kSpriteTransformDirty;
    DropTransform(s);
  }
  s->nextX = x;
  s->nextY = y;
  s->nextImage = image;
  Recompute(pool, images, s);
}

void SetImageTransform(SpritePool* pool, SpriteImages* images, SpriteRecord* s, int32_t x, int32_t y,
                       uint32_t image, float scaleX, float scaleY, int32_t smooth, int32_t angle,
                       int32_t antialias) {
  scaleX = NonNegative(scaleX);
  scaleY = NonNegative(scaleY);
  angle = NormalAngle(angle);
  const bool smoothOn = smooth != 0, antialiasOn = antialias != 0;
  const bool sameTransform = scaleX == s->scaleX && scaleY == s->scaleY &&
                             smoothOn == ((s->flags & kSpriteSmoothScale) != 0) && angle == s->angle &&
                             antialiasOn == ((s->flags & kSpriteAntialias) != 0);
  if (sameTransform) {
    if (x == s->nextX && y == s->nextY && image == s->nextImage) return;
    const bool plain = angle == 0 && scaleX == 1.0f && scaleY == 1.0f;
    if (image != s->nextImage && !plain) {
      s->flags |= kSpriteTransformDirty;
      DropTransform(s);
    }
  } else {
    s->flags |= kSpriteTransformDirty;
    DropTransform(s);
  }
  s->scaleX = scaleX;
  s->scaleY = scaleY;
  s->angle = uint16_t(angle);
  s->flags = smoothOn ? s->flags | kSpriteSmoothScale : s->flags & ~kSpriteSmoothScale;
  s->flags = antialiasOn ? s->flags | kSpriteAntialias : s->flags & ~kSpriteAntialias;
  s->nextX = x;
  s->nextY = y;
  s->nextImage = image;
  Recompute(pool, images, s);
}

void SetSpriteScale(SpritePool* pool, SpriteImages* images, SpriteRecord* s, float x, float y, int32_t smooth) {
  x = NonNegative(x);
  y = NonNegative(y);
  const bool smoothOn = smooth != 0;
  if (x == s->scaleX && y == s->scaleY && smoothOn == ((s->flags & kSpriteSmoothScale) != 0)) return;
  s->scaleX = x;
  s->scaleY = y;
  s->flags |= kSpriteTransformDirty;
  s->flags = smoothOn ? s->flags | kSpriteSmoothScale : s->flags & ~kSpriteSmoothScale;
  DropTransform(s);
  Recompute(pool, images, s);
}

void SetSpriteAngle(SpritePool* pool, SpriteImages* images, SpriteRecord* s, int32_t degrees, int32_t antialias) {
  const int32_t angle = NormalAngle(degrees);
  const bool antialiasOn = antialias != 0;
  if (angle == s->angle && antialiasOn == ((s->flags & kSpriteAntialias) != 0)) return;
  s->angle = uint16_t(angle);
  s->flags |= kSpriteTransformDirty;
  s->flags = antialiasOn ? s->flags | kSpriteAntialias : s->flags & ~kSpriteAntialias;
  DropTransform(s);
  Recompute(pool, images, s);
}

void SetSpriteRect(SpritePool* pool, SpriteRecord* s, const SpriteRect& rect) {
  s->nextRect = rect;
  s->flags |= kSpriteChanged;
  RenewLinks(pool, s);
  if (!(s->flags & (kSpriteNoSave | kSpriteHidden))) FlagOverlapsForRedraw(s);
}

void SetSpriteInk(SpritePool* pool, SpriteRecord* s, uint32_t ink, uint32_t param) {
  const bool spread = ((ink ^ s->ink) & kInkSmoothEdges) != 0;
  s->ink = ink;
  s->inkParam = param;
  s->flags |= kSpriteChanged;
  if (spread) RenewLinks(pool, s);  // the drawn area grew or shrank
  if (!(s->flags & (kSpriteNoSave | kSpriteHidden))) FlagOverlapsForRedraw(s);
}

namespace {

void RedrawWithNeighbours(SpriteRecord* s) {
  s->flags |= kSpriteChanged;
  FlagOverlapsForRedraw(s);
}

}  // namespace

void RedrawAfterReorder(SpriteRecord* s) {
  if (!(s->flags & kSpriteNoSave)) RedrawWithNeighbours(s);
}

void SetSpriteState(SpritePool* pool, SpriteRecord* s, const SpriteRect* area, int32_t op) {
  if (op == 32) {
    if (area == nullptr) return;
    for (SpriteRecord* o = pool->First(); o != nullptr; o = o->next) {
      if (!KeptAndSettled(o) || !(RectsOverlap(o->rect, *area) || RectsOverlap(o->nextRect, *area))) continue;
      o->flags |= kSpriteRedraw;
      FlagOverlapsForRedraw(o);
    }
    return;
  }
  if (s != nullptr) {
    switch (op) {
      case 0:
        s->flags |= kSpriteKept;
        RedrawWithNeighbours(s);
        break;
      case 1:
        RedrawWithNeighbours(s);
        break;
      case 2:
        s->flags &= ~kSpriteKept;
        break;
      case 4:
        s->flags &= ~kSpriteHidden;
        break;
      case 8:
        s->flags |= kSpriteHidden;
        break;
      default:
        break;
    }
    return;
  }
  for (SpriteRecord* o = pool->First(); o != nullptr; o = o->next) {
    const bool unsaved = (o->flags & kSpriteNoSave) != 0;
    switch (op) {
      case 0:
        o->flags |= kSpriteKept;
        if (!unsaved) o->flags |= kSpriteChanged;
        break;
      case 1:
        if (!unsaved) o->flags |= kSpriteChanged;
        break;
      case 4:
        o->flags &= ~kSpriteHidden;
        break;
      case 8:
        o->flags |= kSpriteHidden;
        break;
      case 17:
        if (!(o->flags & (kSpriteNoSave | kSpriteSecondSet))) o->flags |= kSpriteChanged;
        break;
      default:
        o->flags &= ~kSpriteKept;
        break;
    }
  }
}

void SetBackgroundSave(SpriteRecord* s, int32_t on) {
  const bool kept = (s->flags & kSpriteKept) != 0;
  if (on) {
    s->flags &= ~(kSpriteDropSave | kSpriteNoSave);
    if (kept) RedrawWithNeighbours(s);
    return;
  }
  if (s->flags & kSpriteNoSave) return;
  if (s->savedRect.left == -1 && s->savedRect.top == -1) {
    s->flags |= kSpriteNoSave;
    return;
  }
  s->flags |= kSpriteDropSave;
  if (kept) RedrawWithNeighbours(s);
}

void DeleteLater(SpriteRecord* s) {
  s->flags = (s->flags & ~kSpriteCollides) | kSpriteDeleteLater | kSpriteChanged;
  if (!(s->flags & kSpriteNoSave) && (s->flags & kSpriteKept)) {
    s->flags &= ~kSpriteKept;
    FlagOverlapsForRedraw(s);
  }
}
