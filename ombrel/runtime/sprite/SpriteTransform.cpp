#include "sprite/SpriteTransform.h"

#include "app/AppObject.h"
#include "imagebank/ImageBank.h"
#include "sprite/SpriteChanges.h"
#include "surface/SurfaceTypes.h"
#include "surface/cSurfaceImpl.h"

namespace {

struct Transform {
  uint32_t image;
  float scaleX, scaleY;
  int32_t angle;
  bool smooth, antialias, keyed;
  bool quarterTurns;  // 90 and 270 by the quarter-turn routine
};

// A surface of the app's format filled with the transparent colour: every
// pixel defined, the fourth byte of 32-bit pixels too (masks compare whole
// words).
cSurfaceImpl* NewTarget(AppObject* app, int32_t width, int32_t height, uint32_t transparent) {
  if (app->formatPrototype == nullptr || width <= 0 || height <= 0) return nullptr;
  cSurfaceImpl* s = app->formatPrototype->MakeInstance(width, height);
  if (s == nullptr) return nullptr;
  s->SetTransparentColour(transparent);
  s->FillRect(0, 0, width, height, transparent);
  return s;
}

bool TurnInto(cSurfaceImpl* from, cSurfaceImpl* to, const Transform& t, uint32_t transparent) {
  to->FillRect(0, 0, to->view.width, to->view.height, transparent);
  if (t.quarterTurns && (t.angle == 90 || t.angle == 270)) return from->RotateQuarter(to, t.angle == 270 ? 1 : 0) != 0;
  return from->Rotate(to, t.angle, t.antialias ? 1 : 0, transparent, 1) != 0;
}

// The picture of the image under the transform, width x height; null when
// it cannot be made.
cSurfaceImpl* MakeTransformed(AppObject* app, const Transform& t, int32_t width, int32_t height) {
  const ImageEntry* e = FindImage(app, t.image);
  if (e == nullptr) return nullptr;
  cSurfaceImpl* source = (e->flags & kImageCompressed) ? ExpandedImage(app, e) : ImageSurface(app, e);
  cSurfaceImpl* target = NewTarget(app, width, height, e->transparent);
  const uint32_t stretch = t.smooth && t.keyed ? 7u : 4u + (t.smooth ? 1u : 0u);
  bool done = source != nullptr && target != nullptr;
  if (done) {
    if (t.angle == 0) {
      source->Stretch(target, 0, 0, width, height, 0, 0, e->width, e->height, 1, 0, 0, stretch);
    } else if (t.scaleX == 1.0f && t.scaleY == 1.0f) {
      done = TurnInto(source, target, t, e->transparent);
    } else {
      cSurfaceImpl* scaled =
          NewTarget(app, int32_t(float(e->width) * t.scaleX), int32_t(float(e->height) * t.scaleY), e->transparent);
      done = scaled != nullptr;
      if (done) {
        source->Stretch(scaled, 0, 0, scaled->view.width, scaled->view.height, 0, 0, e->width, e->height, 1, 0, 0,
                        stretch);
        done = TurnInto(scaled, target, t, e->transparent);
      }
      DeleteSurface(scaled);
    }
  }
  DeleteSurface(source);
  if (!done) {
    DeleteSurface(target);
    return nullptr;
  }
  return target;
}

}  // namespace

void RebuildTransform(AppObject* app, SpriteRecord* s) {
  FreeMaskRecord(s->xfMask);
  if (s->angle == 0 && s->scaleX == 1.0f && s->scaleY == 1.0f) {
    DropTransform(s);
    return;
  }
  // The test transform may already hold this very picture.
  if (s->testSurface != nullptr && s->testImage == s->nextImage && s->testAngle == s->angle &&
      s->testScaleX == s->scaleX && s->testScaleY == s->scaleY) {
    DeleteSurface(s->xfImage);
    s->xfImage = s->testSurface;
    s->xfMask = s->testMask;
    s->testSurface = nullptr;
    s->testMask = nullptr;
    return;
  }
  const Transform t{s->nextImage, s->scaleX, s->scaleY, s->angle, (s->flags & kSpriteSmoothScale) != 0,
                    (s->flags & kSpriteAntialias) != 0, (s->ink & kInkKeyed) != 0, true};
  cSurfaceImpl* made = MakeTransformed(app, t, s->nextRect.right - s->nextRect.left, s->nextRect.bottom - s->nextRect.top);
  DeleteSurface(s->xfImage);
  s->xfImage = made;
}

void BuildTestSurface(AppObject* app, SpriteRecord* s, int32_t width, int32_t height) {
  if (s->testAngle == 0 && s->testScaleX == 1.0f && s->testScaleY == 1.0f) return;
  const Transform t{s->testImage, s->testScaleX, s->testScaleY, s->testAngle, (s->flags & kSpriteSmoothScale) != 0,
                    (s->flags & kSpriteAntialias) != 0, (s->ink & kInkKeyed) != 0, false};
  DeleteSurface(s->testSurface);
  s->testSurface = MakeTransformed(app, t, width < 0 ? 0 : width, height < 0 ? 0 : height);
}
