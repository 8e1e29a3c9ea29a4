#include "sprite/SpritePasses.h"

#include <algorithm>

#include "app/AppObject.h"
#include "imagebank/ImageBank.h"
#include "sprite/SpriteChanges.h"
#include "sprite/SpriteLinks.h"
#include "sprite/SpriteTransform.h"
#include "surface/cSurfaceImpl.h"

namespace {

bool Kept(const SpriteRecord* s) { return (s->flags & kSpriteKept) != 0; }
bool Unchanged(const SpriteRecord* s) { return !(s->flags & kSpriteChanged); }
// Kept, unchanged and not flagged: the passes leave it alone.
bool LeftAlone(const SpriteRecord* s) { return Kept(s) && Unchanged(s) && !(s->flags & kSpriteRedraw); }
bool HasSave(const SpriteRecord* s) { return !(s->savedRect.left == -1 && s->savedRect.top == -1); }
bool Smooth(const SpriteRecord* s) { return (s->ink & kInkSmoothEdges) != 0; }
SurfaceRect ToSurface(const SpriteRect& r) { return {r.left, r.top, r.right, r.bottom}; }

intptr_t CallOwner(SpriteRecord* s, int32_t call, int32_t value) {
  SpriteOwnerDraw owner = s->Owner();
  return owner != nullptr ? owner(s, call, value) : 0;
}

// Before the erase: a settled kept sprite under a sprite that is drawn
// every frame is drawn again with it.
void FlagKeptUnderMovers(SpriteWindow& window, cSurfaceImpl* drawing) {
  const SpriteRect buffer{0, 0, drawing->view.width, drawing->view.height};
  for (SpriteRecord* s = window.Pool()->First(); s != nullptr; s = s->next) {
    if (!KeptAndSettled(s)) continue;
    const SpriteRect box = UnionBox(s);
    if (!RectsOverlap(box, buffer)) continue;
    for (int32_t i = 0; i < s->overlaps.GetCount(); ++i) {
      const auto* o = static_cast<const SpriteRecord*>(s->overlaps.GetAt(i));
      if ((o->flags & (kSpriteKept | kSpriteNoSave)) || !MeetsBox(o, box))
        continue;
      s->flags |= kSpriteRedraw;
      FlagOverlapsForRedraw(s);
      break;
    }
  }
}

}  // namespace

void EraseSprites(SpriteWindow& window) {
  cSurfaceImpl* drawing = window.Drawing();
  SpritePool* pool = window.Pool();
  if (drawing == nullptr || pool == nullptr) return;
  FlagKeptUnderMovers(window, drawing);
  cSurfaceImpl* background = window.Background();
  SpriteRecord* next = nullptr;
  for (SpriteRecord* s = pool->First(); s != nullptr; s = next) {
    next = s->next;  // the sprite may be deleted below
    if (!LeftAlone(s) && !(s->flags & kSpriteHidden) && HasSave(s)) {
      bool restored = true;
      const SpriteRect& r = s->rect;
      const SpriteRect& saved = s->savedRect;
      if (s->flags & kSpriteFillErase) {
        if (drawing->view.depth <= 8)
          drawing->FillRectIndex(r.left, r.top, r.right - r.left, r.bottom - r.top, s->colour);
        else
          drawing->FillRect(r.left, r.top, r.right - r.left, r.bottom - r.top, s->colour);
      } else if (s->flags & kSpriteOwnerSaves) {
        CallOwner(s, kOwnerRestore, 0);
        restored = false;
      } else if (background != nullptr) {
        background->Blit(drawing, saved.left, saved.top, saved.left, saved.top, saved.right - saved.left,
                         saved.bottom - saved.top, 0, 0, 0, 0);
      } else if (s->saveSurface != nullptr) {
        s->saveSurface->Blit(drawing, saved.left, saved.top, 0, 0, saved.right - saved.left, saved.bottom - saved.top,
                             0, 0, 0, 0);
      }
      if (restored && !(Kept(s) && Unchanged(s))) {
        SurfaceRect dirty = ToSurface(r);
        if (Smooth(s)) {
          dirty = {r.left > 0 ? r.left - 1 : 0, r.top > 0 ? r.top - 1 : 0, r.right + 1, r.bottom + 1};
        }
        window.AddDirty(dirty);
      }
    }
    if (s->flags & kSpriteDropSave) {
      DeleteSurface(s->saveSurface);
      s->saveSurface = nullptr;
      s->flags = (s->flags | kSpriteNoSave) & ~kSpriteDropSave;
      s->savedRect = {-1, -1, -1, -1};
    }
    if (s->flags & kSpriteDeleteLater) DeleteSprite(window, s);
  }
}

void CommitSprites(SpriteWindow& window) {
  SpritePool* pool = window.Pool();
  if (pool == nullptr) return;
  for (SpriteRecord* s = pool->First(); s != nullptr; s = s->next) {
    if (s->flags & kSpriteChanged) {
      s->x = s->nextX;
      s->y = s->nextY;
      s->rect = s->nextRect;
      if (!(s->flags & kSpriteOwnerDrawn)) s->image = s->nextImage;
    }
    if (s->flags & kSpriteTransformDirty) {
      s->flags &= ~kSpriteTransformDirty;
      RebuildTransform(window.App(), s);
    }
  }
}

cSurfaceImpl* DrawnImage(AppObject* app, SpriteRecord* s, bool* owned) {
  *owned = false;
  if (s->xfImage != nullptr) return s->xfImage;
  *owned = true;
  return ImageSurface(app, FindImage(app, uint32_t(s->image)));
}

namespace {

void SaveBackgrounds(SpriteWindow& window, cSurfaceImpl* drawing) {
  cSurfaceImpl* background = window.Background();
  if (background == nullptr) background = window.MakeBackground();
  const SpriteRect clip{drawing->view.clipLeft, drawing->view.clipTop, drawing->view.clipRight,
                        drawing->view.clipBottom};
  for (SpriteRecord* s = window.Pool()->First(); s != nullptr; s = s->next) {
    if ((s->flags & (kSpriteHidden | kSpriteNoSave)) || LeftAlone(s)) continue;
    if (!(s->flags & kSpriteFillErase) && (s->flags & kSpriteDrawUnsaved)) continue;
    SpriteRect area = s->rect;
    if (Smooth(s)) area = {area.left - 1, area.top - 1, area.right + 1, area.bottom + 1};
    const bool invisible = (s->ink & 0xFFFF) == 1 && s->inkParam == 128;
    if (!RectsOverlap(s->rect, clip) || invisible) {
      s->savedRect = {-1, -1, -1, -1};
      continue;
    }
    area = {std::max(area.left, clip.left), std::max(area.top, clip.top), std::min(area.right, clip.right),
            std::min(area.bottom, clip.bottom)};
    s->savedRect = area;
    const int32_t w = area.right - area.left, h = area.bottom - area.top;
    if (s->flags & kSpriteFillErase) continue;
    if (s->flags & kSpriteOwnerSaves) {
      CallOwner(s, kOwnerSave, 0);
      continue;
    }
    if (background != nullptr) {
      drawing->Blit(background, area.left, area.top, area.left, area.top, w, h, 0, 0, 0, 0);
      continue;
    }
    cSurfaceImpl*& own = s->saveSurface;
    if (own != nullptr && (own->view.width < w || own->view.height < h) && !own->Reallocate(w, h)) {
      DeleteSurface(own);
      own = nullptr;
    }
    if (own == nullptr) own = drawing->MakeInstance(w, h);
    if (own == nullptr) {
      s->savedRect = {-1, -1, -1, -1};  // nothing to put back
      continue;
    }
    drawing->Blit(own, 0, 0, area.left, area.top, w, h, 0, 0, 0, 0);
  }
}

}  // namespace

void DrawSprites(SpriteWindow& window) {
  cSurfaceImpl* drawing = window.Drawing();
  if (drawing == nullptr || window.Pool() == nullptr) return;
  SaveBackgrounds(window, drawing);
  AppObject* app = window.App();
  bool locked = false, lockFailed = false;
  for (SpriteRecord* s = window.Pool()->First(); s != nullptr; s = s->next) {
    if ((s->flags & (kSpriteHidden | kSpriteNoSave)) || LeftAlone(s)) continue;
    if (!(s->flags & kSpriteDrawUnsaved) && !HasSave(s)) continue;
    const bool report = !(Kept(s) && Unchanged(s));
    const SpriteRect& r = s->rect;
    if (s->flags & kSpriteOwnerDrawn) {
      if (locked) {
        drawing->Unlock();
        locked = false;
      }
      CallOwner(s, kOwnerDraw, 0);
      // What the owner drew is presented like any sprite's pixels.
      if (report) window.AddDirty({r.left, r.top, r.right, r.bottom});
      s->flags &= ~(kSpriteRedraw | kSpriteChanged);
      continue;
    }
    if (!locked && !lockFailed) {
      locked = drawing->Lock() != 0;
      lockFailed = !locked;
    }
    if (!locked) continue;
    bool owned = false;
    cSurfaceImpl* image = DrawnImage(app, s, &owned);
    if (image == nullptr) continue;  // the image is gone
    image->Blit(drawing, r.left, r.top, 0, 0, image->view.width, image->view.height, (s->ink & kInkKeyed) ? 1 : 0,
                s->ink & 0xFFFF, s->inkParam, Smooth(s) ? BlitSmoothEdges : 0);
    if (owned) DeleteSurface(image);
    if (report) {
      if (Smooth(s))
        window.AddDirty({r.left > 0 ? r.left - 1 : 0, r.top > 0 ? r.top - 1 : 0, r.right + 2, r.bottom + 2});
      else
        window.AddDirty({r.left, r.top, r.right + 1, r.bottom + 1});
    }
    s->flags &= ~(kSpriteRedraw | kSpriteChanged);
  }
  if (locked) drawing->Unlock();
}

void DeleteSprite(SpriteWindow& window, SpriteRecord* s) {
  SpritePool* pool = window.Pool();
  if (pool == nullptr || s == nullptr || s->state != kBlockSprite) return;
  DeleteSurface(s->saveSurface);
  s->saveSurface = nullptr;
  if (s->flags & kSpriteOwnerDrawn) {
    // Taken out first: the owner is told once.
    SpriteOwnerDraw owner = s->Owner();
    s->image = 0;
    if (owner != nullptr) owner(s, kOwnerDeleted, 0);
  }
  DropLinks(s);
  DropTransform(s);
  DropTestTransform(s);
  SpritePoolGive(pool, s);
}

void DeleteAllSprites(SpriteWindow& window) {
  SpritePool* pool = window.Pool();
  while (pool != nullptr && pool->First() != nullptr) DeleteSprite(window, pool->First());
}
