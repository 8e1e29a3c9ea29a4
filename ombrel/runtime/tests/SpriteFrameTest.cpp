// Frames of a sprite window against a reference compositor: after every
// frame of a scripted random run (moves, image changes, kept sprites, layer
// changes, delete-later and delete, scale and rotation, smooth edges,
// owner-drawn sprites) the back buffer equals the background with every
// sprite drawn on it in drawing order, and every pixel that changed lies in
// the frame's dirty list. Apps of 8, 15, 16, 24 and 32 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "Memory.h"
#include "SpriteTestWindow.h"
#include "imagebank/ImageBank.h"
#include "sprite/SavedRects.h"
#include "sprite/SpriteChanges.h"
#include "sprite/SpriteOrder.h"
#include "surface/DepthCode.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int32_t kWidth = 96, kHeight = 72;

// Owner-drawn sprites of the run paint their rectangle in their colour on
// the window being tested.
SpriteTestWindow* ownerWindow = nullptr;

intptr_t OMB_STDCALL PaintOwnRect(SpriteRecord* s, int32_t call, int32_t) {
  if (call == kOwnerDraw && ownerWindow != nullptr)
    ownerWindow->Drawing()->FillRect(s->rect.left, s->rect.top, s->rect.right - s->rect.left,
                                     s->rect.bottom - s->rect.top, s->colour);
  return 0;
}

class SpriteFrames : public AppTest, public ::testing::WithParamInterface<int32_t> {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    app_ = AppCreate(nullptr, nullptr);
    ASSERT_NE(app_, nullptr);
    ScriptedDisplay display(DisplayFormat{32, 32, -1});
    ASSERT_EQ(AppSetDepthOn(app_, GetParam(), display) & 0xF, GetParam());
    // Rings with holes and a shape 17 pixels wide, keyed on black.
    const int32_t sizes[][2] = {{12, 10}, {17, 9}, {8, 8}};
    for (int i = 0; i < 3; ++i) images_.push_back(MakeImage(sizes[i][0], sizes[i][1], uint32_t(i)));
  }
  void TearDown() override {
    AppDestroy(app_);
    AppTest::TearDown();
  }
  int32_t MakeImage(int32_t w, int32_t h, uint32_t seed) {
    const int32_t row = 3 * ((w + 1) & ~1);
    Bytes source(size_t(row) * h, 0);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const int32_t dx = 2 * x - w + 1, dy = 2 * y - h + 1;
        const int32_t r2 = dx * dx + dy * dy;
        if (r2 > w * h || r2 < w * h / 5) continue;  // outside or in the hole
        uint8_t* p = source.data() + size_t(y) * row + size_t(x) * 3;
        p[0] = uint8_t(0x40 + 50 * seed + 4 * x);
        p[1] = uint8_t(0x90 + 8 * y);
        p[2] = uint8_t(0xF0 - 60 * seed);
      }
    return ImageCreate(app_, w, h, w / 2, h / 2, 0, 0, 0, Depth24, source.data(), nullptr);
  }
  static void Background(cSurfaceImpl* s) {
    for (int32_t y = 0; y < kHeight; y += 8)
      for (int32_t x = 0; x < kWidth; x += 8)
        s->FillRect(x, y, 8, 8, ((x + y) / 8) % 2 ? 0x305070 : 0x603010 + uint32_t(x) * 0x000100);
  }
  // The background with every visible sprite drawn on it in order.
  Bytes Reference(SpriteTestWindow& w) {
    cSurfaceImpl* ref = w.Drawing()->MakeInstance(kWidth, kHeight);
    Background(ref);
    for (SpriteRecord* s = w.Pool()->First(); s != nullptr; s = s->next) {
      if (s->flags & kSpriteHidden) continue;
      if (s->flags & kSpriteOwnerDrawn) {
        ref->FillRect(s->rect.left, s->rect.top, s->rect.right - s->rect.left, s->rect.bottom - s->rect.top, s->colour);
        continue;
      }
      bool owned = false;
      cSurfaceImpl* image = DrawnImage(app_, s, &owned);
      if (image == nullptr) continue;
      image->Blit(ref, s->rect.left, s->rect.top, 0, 0, image->view.width, image->view.height, 1, s->ink & 0xFFFF,
                  s->inkParam, (s->ink & kInkSmoothEdges) ? BlitSmoothEdges : 0);
      if (owned) DeleteSurface(image);
    }
    Bytes out = SurfaceBytes(ref);
    DeleteSurface(ref);
    return out;
  }
  // Every changed pixel lies in a dirty rectangle of the frame.
  void ExpectCovered(const Bytes& before, const Bytes& after, const SpriteTestWindow& w, const std::string& what) {
    const cSurfaceImpl* d = const_cast<SpriteTestWindow&>(w).Drawing();
    const int32_t bpp = d->view.bytesPerPixel;
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) {
        const size_t at = (size_t(y) * size_t(kWidth) + size_t(x)) * size_t(bpp);
        if (std::equal(before.begin() + long(at), before.begin() + long(at) + bpp, after.begin() + long(at))) continue;
        const bool covered = std::any_of(w.dirty.begin(), w.dirty.end(), [&](const SurfaceRect& r) {
          return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        });
        ASSERT_TRUE(covered) << what << ": pixel " << x << "," << y << " changed outside the dirty list";
      }
  }
  AppObject* app_ = nullptr;
  std::vector<int32_t> images_;
};

TEST_P(SpriteFrames, ScriptedRunMatchesTheReferenceCompositorAndTheDirtyList) {
  for (uint32_t seed = 1; seed <= 2; ++seed) {
    SpriteTestWindow w(app_, kWidth, kHeight);
    ownerWindow = &w;
    Background(w.Drawing());
    std::mt19937 rng(seed * 100 + uint32_t(GetParam()));
    auto pick = [&](int32_t n) { return int32_t(rng() % uint32_t(n)); };
    std::vector<SpriteRecord*> sprites;
    for (int frame = 0; frame < 60; ++frame) {
      const std::string what = "seed " + std::to_string(seed) + " frame " + std::to_string(frame);
      // A few changes a frame.
      for (int change = pick(4); change >= 0; --change) {
        const int32_t op = sprites.size() < 4 ? 0 : pick(11);
        SpriteRecord* s = sprites.empty() ? nullptr : sprites[size_t(pick(int32_t(sprites.size())))];
        const int32_t x = pick(kWidth + 20) - 10, y = pick(kHeight + 20) - 10;
        switch (op) {
          case 0: {
            const uint32_t flags = pick(2) ? uint32_t(kSpriteKept) : 0u;
            SpriteRecord* made = nullptr;
            if (pick(5) == 0) {
              // Owner-drawn: a rectangle in a colour of the window's format.
              const uint32_t colour = w.Drawing()->view.depth == 8 ? 0x23u : 0x00C08040u;
              made = CreateOwnerDrawnSprite(w.Pool(), {x, y, x + 6 + pick(10), y + 4 + pick(8)}, pick(3), pick(3), colour,
                                            flags, frame, PaintOwnRect);
            } else {
              made = CreateSprite(w.Pool(), &w.images, x, y, uint32_t(images_[size_t(pick(3))]), pick(3), pick(3), 0,
                                  flags, frame);
            }
            if (made != nullptr) sprites.push_back(made);
            break;
          }
          case 1:
          case 2:
            MoveSprite(w.Pool(), &w.images, s, x, y, s->nextImage);
            break;
          case 3:
            MoveSprite(w.Pool(), &w.images, s, s->nextX, s->nextY, uint32_t(images_[size_t(pick(3))]));
            break;
          case 4:
            if (ChangeLayer(w.Pool(), s, pick(3))) RedrawAfterReorder(s);
            break;
          case 5:
            DeleteLater(s);
            sprites.erase(std::find(sprites.begin(), sprites.end(), s));
            break;
          case 6:
            SetSpriteState(w.Pool(), s, nullptr, pick(2) ? 0 : 2);  // kept on or off
            break;
          case 7:
            SetSpriteScale(w.Pool(), &w.images, s, pick(2) ? 1.0f : 1.5f, pick(2) ? 1.0f : 0.75f, 0);
            break;
          case 8:
            SetSpriteAngle(w.Pool(), &w.images, s, pick(4) * 90 + (pick(2) ? 0 : 30), 0);
            break;
          case 9:
            SetSpriteInk(w.Pool(), s, kInkKeyed | (pick(2) ? kInkSmoothEdges : 0u), 0);
            break;
          default: {
            if (pick(2)) {
              MoveToFront(w.Pool(), s);
            } else {
              MoveToBack(w.Pool(), s);
            }
            RedrawAfterReorder(s);
          }
        }
      }
      const Bytes before = w.Pixels();
      w.Frame();
      const Bytes after = w.Pixels();
      const Bytes ref = Reference(w);
      if (after != ref) {
        size_t i = 0;
        while (after[i] == ref[i]) ++i;
        const int32_t bpp = w.Drawing()->view.bytesPerPixel;
        const int32_t px = int32_t(i % (size_t(kWidth) * bpp)) / bpp, py = int32_t(i / (size_t(kWidth) * bpp));
        std::string info;
        for (SpriteRecord* t = w.Pool()->First(); t != nullptr; t = t->next)
          if (px >= t->rect.left - 1 && px <= t->rect.right && py >= t->rect.top - 1 && py <= t->rect.bottom)
            info += " [key " + std::to_string(t->key) + " flags " + std::to_string(t->flags) + " rect " + std::to_string(t->rect.left) + "," + std::to_string(t->rect.top) + "," + std::to_string(t->rect.right) + "," + std::to_string(t->rect.bottom) + " ink " + std::to_string(t->ink) + " angle " + std::to_string(t->angle) + " scale " + std::to_string(t->scaleX) + "]";
        ADD_FAILURE() << what << " first difference at " << px << "," << py << info;
      }
      ASSERT_EQ(after, ref) << what;
      ExpectCovered(before, after, w, what);
      if (HasFatalFailure()) return;
    }
    // With nothing changed, kept sprites add nothing and non-kept ones are
    // drawn again in place.
    for (SpriteRecord* s : sprites) SetSpriteState(w.Pool(), s, nullptr, 0);
    w.Frame();
    w.Frame();
    EXPECT_TRUE(w.dirty.empty()) << "a frame of kept, unchanged sprites reports nothing";
    EXPECT_EQ(w.Pixels(), Reference(w));
    ownerWindow = nullptr;
  }
}

TEST_P(SpriteFrames, DeleteLeavesThePixelsAndDeleteLaterRemovesThem) {
  SpriteTestWindow w(app_, kWidth, kHeight);
  Background(w.Drawing());
  const Bytes empty = w.Pixels();
  SpriteRecord* a = CreateSprite(w.Pool(), &w.images, 30, 30, uint32_t(images_[0]), 1, 0, 0, kSpriteKept, 0);
  SpriteRecord* b = CreateSprite(w.Pool(), &w.images, 60, 40, uint32_t(images_[1]), 1, 0, 0, 0, 0);
  w.Frame();
  const Bytes drawn = w.Pixels();
  ASSERT_NE(drawn, empty);
  DeleteSprite(w, a);
  w.Frame();
  EXPECT_EQ(w.Pixels(), drawn) << "a deleted sprite stays in the back buffer";
  DeleteLater(b);
  w.Frame();
  // b's pixels are gone; a's stay.
  SpriteTestWindow ref(app_, kWidth, kHeight);
  Background(ref.Drawing());
  CreateSprite(ref.Pool(), &ref.images, 30, 30, uint32_t(images_[0]), 1, 0, 0, kSpriteKept, 0);
  ref.Frame();
  EXPECT_EQ(w.Pixels(), ref.Pixels());
  EXPECT_EQ(w.Pool()->First(), nullptr);
  EXPECT_FALSE(w.dirty.empty());
}

TEST_P(SpriteFrames, OwnSaveSurfacesWithoutABackgroundAndFillErasedSprites) {
  SpriteTestWindow w(app_, kWidth, kHeight, false);
  Background(w.Drawing());
  const Bytes empty = w.Pixels();
  SpriteRecord* s = CreateSprite(w.Pool(), &w.images, 20, 20, uint32_t(images_[1]), 0, 0, 0, 0, 0);
  w.Frame();
  EXPECT_NE(s->saveSurface, nullptr);
  MoveSprite(w.Pool(), &w.images, s, 200, 200, s->nextImage);  // off the buffer
  w.Frame();
  EXPECT_EQ(w.Pixels(), empty) << "restored from the sprite's own save surface";
  // Erased by filling: its old rectangle becomes its colour.
  // The colour of a fill-erased sprite is an index at 8 bits.
  const uint32_t green = w.Drawing()->view.depth == 8 ? uint32_t(PaletteNearestIndex(app_->palette, 0x00FF00)) : 0x00FF00u;
  SpriteRecord* f = CreateSprite(w.Pool(), &w.images, 40, 30, uint32_t(images_[2]), 0, 0, green, kSpriteFillErase, 0);
  w.Frame();
  const SpriteRect old = f->rect;
  MoveSprite(w.Pool(), &w.images, f, 70, 30, f->nextImage);
  w.Frame();
  uint32_t colour = 0;
  w.Drawing()->GetPixel(old.left, old.top, &colour);
  EXPECT_EQ(colour & 0x00F8F8, 0x00F800u);
  EXPECT_TRUE(std::any_of(w.dirty.begin(), w.dirty.end(), [&](const SurfaceRect& r) {
    return r.left == old.left && r.top == old.top && r.right == old.right;
  }));
}

// The library heap, refusing every request of `cap` bytes or more while it
// is in place (surface objects are smaller; pixel blocks of big sprites not).
class BigBlockRefusingHeap final : public HeapBackend {
 public:
  explicit BigBlockRefusingHeap(size_t cap) : cap_(cap), previous_(SetLibraryHeap(this)) {}
  ~BigBlockRefusingHeap() { SetLibraryHeap(previous_ == &ProcessHeap() ? nullptr : previous_); }
  void* Alloc(size_t size) override { return size < cap_ ? previous_->Alloc(size) : nullptr; }
  void* Calloc(size_t size) override { return size < cap_ ? previous_->Calloc(size) : nullptr; }
  void* Realloc(void* block, size_t size) override { return size < cap_ ? previous_->Realloc(block, size) : nullptr; }
  void Free(void* block) override { previous_->Free(block); }
  int Compact() override { return previous_->Compact(); }
  size_t UsableSize(void* block) override { return previous_->UsableSize(block); }

 private:
  size_t cap_;
  HeapBackend* previous_;
};

// A sprite whose own save surface cannot be made has nothing to put back: it
// is not drawn that frame, so no erase has to restore pixels that were never
// saved (kept as saved, the sprite stayed behind on the buffer after it moved).
TEST_P(SpriteFrames, ASpriteWhoseSaveSurfaceCannotBeMadeLeavesNothingBehind) {
  SpriteTestWindow w(app_, kWidth, kHeight, false);
  Background(w.Drawing());
  const Bytes empty = w.Pixels();
  const int32_t big = MakeImage(64, 64, 1);  // its save surface: 4096 bytes or more
  SpriteRecord* s = CreateSprite(w.Pool(), &w.images, 40, 36, uint32_t(big), 0, 0, 0, 0, 0);
  {
    BigBlockRefusingHeap heap(4096);
    w.Frame();
  }
  EXPECT_EQ(s->saveSurface, nullptr);
  EXPECT_EQ(s->savedRect.left, -1) << "nothing saved, nothing to put back";
  EXPECT_EQ(w.Pixels(), empty) << "not drawn without a save";
  MoveSprite(w.Pool(), &w.images, s, 200, 200, s->nextImage);  // off the buffer
  w.Frame();
  EXPECT_EQ(w.Pixels(), empty) << "nothing left where it was";
  MoveSprite(w.Pool(), &w.images, s, 40, 36, s->nextImage);
  w.Frame();
  EXPECT_NE(s->saveSurface, nullptr) << "made once the heap allows it";
  EXPECT_NE(w.Pixels(), empty);
}

TEST_P(SpriteFrames, SavedRectanglesAndSingleImages) {
  SpriteTestWindow w(app_, kWidth, kHeight);
  Background(w.Drawing());
  const Bytes empty = w.Pixels();
  SavedRect saved{};
  EXPECT_EQ(SaveRect(w, &saved, kWidth, 0, kWidth + 10, 10), -1);  // wholly outside
  EXPECT_EQ(saved.surface, nullptr);
  ASSERT_EQ(SaveRect(w, &saved, -4, 10, 19, 29), 0);  // clipped on the left
  EXPECT_EQ(saved.rect.left, 0);
  EXPECT_EQ(saved.rect.right, 20);  // inclusive corners: one more
  EXPECT_EQ(saved.rect.bottom, 30);
  cSurfaceImpl* kept = saved.surface;
  w.dirty.clear();
  DrawImageInk(w, uint32_t(images_[1]), 10, 20, 1, kInkKeyed, 0, 0, 0);  // by its hot spot (8, 4)
  ASSERT_EQ(w.dirty.size(), 1u);
  EXPECT_EQ(w.dirty[0].left, 2);
  EXPECT_EQ(w.dirty[0].top, 16);
  EXPECT_EQ(w.dirty[0].right, 19);
  EXPECT_NE(w.Pixels(), empty);
  RestoreRect(w, &saved);
  EXPECT_EQ(w.Pixels(), empty) << "the saved piece covers the image";
  EXPECT_EQ(w.dirty.back().left, 0);
  // A smaller piece reuses the surface; a wider one does not.
  ASSERT_EQ(SaveRect(w, &saved, 0, 0, 9, 9), 0);
  EXPECT_EQ(saved.surface, kept);
  ASSERT_EQ(SaveRect(w, &saved, 0, 0, 39, 5), 0);
  EXPECT_EQ(saved.rect.right, 40);
  FreeSavedRect(&saved);
  EXPECT_EQ(saved.surface, nullptr);
  FreeSavedRect(&saved);
  RestoreRect(w, &saved);  // empty: nothing
}

INSTANTIATE_TEST_SUITE_P(AppDepths, SpriteFrames, ::testing::Values(3, 6, 7, 4, 8),
                         [](const ::testing::TestParamInfo<int32_t>& info) {
                           return std::to_string(DepthCodeToBits(info.param)) + "Bits";
                         });

}  // namespace
