// Sprite collisions against a naive per-pixel overlap of the images as
// drawn (opaque: not the image's transparent value), at random positions,
// with plain, scaled and rotated sprites; layers, the second set and plane-1
// rules, bottom rows, the pair list, the point and rectangle searches, the
// test transform's cache, and sprites against the window's mask.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "SpriteTestWindow.h"
#include "imagebank/ImageBank.h"
#include "sprite/SpriteChanges.h"
#include "sprite/SpriteCollide.h"
#include "surface/DepthCode.h"

namespace {

using Bytes = std::vector<uint8_t>;

// What a sprite shows: the pixels its keyed blit writes, found by drawing it
// over two different fills (a pixel of the first fill's colour shows on the
// second), in window coordinates.
std::set<std::pair<int32_t, int32_t>> Opaque(AppObject* app, SpriteRecord* s, int32_t dx = 0, int32_t dy = 0) {
  std::set<std::pair<int32_t, int32_t>> out;
  bool owned = false;
  cSurfaceImpl* image = DrawnImage(app, s, &owned);
  if (image == nullptr) return out;
  const int32_t w = image->view.width, h = image->view.height;
  for (uint32_t fill : {0x00123456u, 0x00654321u}) {
    cSurfaceImpl* probe = app->formatPrototype->MakeInstance(w, h);
    probe->FillRect(0, 0, w, h, fill);
    uint32_t background = 0;
    probe->GetPixelNative(0, 0, &background);
    image->Blit(probe, 0, 0, 0, 0, w, h, 1, 0, 0, 0);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        uint32_t v = 0;
        probe->GetPixelNative(x, y, &v);
        if (v != background) out.insert({s->rect.left + x + dx, s->rect.top + y + dy});
      }
    DeleteSurface(probe);
  }
  if (owned) DeleteSurface(image);
  return out;
}

bool Meet(const std::set<std::pair<int32_t, int32_t>>& a, const std::set<std::pair<int32_t, int32_t>>& b) {
  return std::any_of(a.begin(), a.end(), [&](const std::pair<int32_t, int32_t>& p) { return b.count(p) != 0; });
}

class SpriteCollide : public AppTest, public ::testing::WithParamInterface<int32_t> {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    app_ = AppCreate(nullptr, nullptr);
    ASSERT_NE(app_, nullptr);
    ScriptedDisplay display(DisplayFormat{32, 32, -1});
    ASSERT_EQ(AppSetDepthOn(app_, GetParam(), display) & 0xF, GetParam());
    ring_ = MakeImage(17, 13, true);
    block_ = MakeImage(9, 9, false);
  }
  void TearDown() override {
    AppDestroy(app_);
    AppTest::TearDown();
  }
  // A ring with a hole (or a solid block) keyed on black, hot spot centred.
  int32_t MakeImage(int32_t w, int32_t h, bool ring) {
    // 16-bit source pixels: a light red of 5-6-5.
    const int32_t row = 2 * w;
    Bytes source(size_t(row) * h, 0);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const int32_t dx = 2 * x - w + 1, dy = 2 * y - h + 1;
        const int32_t r2 = dx * dx + dy * dy;
        if (ring && (r2 > w * h || r2 < w * h / 4)) continue;
        source[size_t(y) * row + size_t(x) * 2] = 0x1F;
        source[size_t(y) * row + size_t(x) * 2 + 1] = 0xF8;
      }
    return ImageCreate(app_, w, h, w / 2, h / 2, 0, 0, 0, Depth16, source.data(), nullptr);
  }
  AppObject* app_ = nullptr;
  int32_t ring_ = 0, block_ = 0;
};

TEST_P(SpriteCollide, SearchesEqualTheNaiveOverlapOfTheDrawnImages) {
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    SpriteTestWindow w(app_, 120, 90);
    std::mt19937 rng(seed);
    auto pick = [&](int32_t n) { return int32_t(rng() % uint32_t(n)); };
    std::vector<SpriteRecord*> s;
    for (int32_t i = 0; i < 24; ++i) {
      SpriteRecord* r = CreateSprite(w.Pool(), &w.images, pick(100) + 10, pick(70) + 10, uint32_t(pick(2) ? ring_ : block_),
                                     pick(2), 0, 0, kSpriteCollides, i);
      if (i % 3 == 1) SetSpriteAngle(w.Pool(), &w.images, r, 30 + pick(4) * 45, 0);
      if (i % 5 == 2) SetSpriteScale(w.Pool(), &w.images, r, 1.5f, 0.75f, 0);
      if (i % 7 == 3) r->flags |= kSpriteRectCollision;
      s.push_back(r);
    }
    w.Frame();
    int hits = 0, misses = 0;
    for (int trial = 0; trial < 150; ++trial) {
      SpriteRecord* t = s[size_t(pick(int32_t(s.size())))];
      // The tested sprite somewhere else, as drawn now (its own transform).
      const int32_t dx = pick(41) - 20, dy = pick(41) - 20;
      const auto tested = Opaque(app_, t, dx, dy);
      const SpriteRect box{t->rect.left + dx, t->rect.top + dy, t->rect.right + dx, t->rect.bottom + dy};
      std::set<SpriteRecord*> expected;
      for (SpriteRecord* c : s) {
        if (c == t || c->key != t->key || !(c->flags & kSpriteCollides)) continue;
        const bool rects = std::max(box.left, c->rect.left) < std::min(box.right, c->rect.right) &&
                           std::max(box.top, c->rect.top) < std::min(box.bottom, c->rect.bottom);
        if (!rects) continue;
        if ((t->flags & kSpriteRectCollision) || (c->flags & kSpriteRectCollision) || Meet(tested, Opaque(app_, c)))
          expected.insert(c);
      }
      std::vector<CollisionPair> pairs(s.size() + 1, CollisionPair{reinterpret_cast<SpriteRecord*>(1), -1});
      const int32_t n = ListCollisions(w, t, pairs.data(), uint32_t(t->image), t->x + dx, t->y + dy, t->angle,
                                       t->scaleX, t->scaleY, 0);
      std::set<SpriteRecord*> listed;
      for (int32_t i = 0; i < n; ++i) {
        listed.insert(pairs[size_t(i)].sprite);
        EXPECT_EQ(pairs[size_t(i)].user, pairs[size_t(i)].sprite->user);
      }
      const std::string what = "seed " + std::to_string(seed) + " trial " + std::to_string(trial) + " sprite " +
                               std::to_string(t->user) + " moved " + std::to_string(dx) + "," + std::to_string(dy);
      ASSERT_EQ(listed, expected) << what;
      EXPECT_EQ(pairs[size_t(n)].sprite, nullptr) << "the zero word ends the pairs";
      EXPECT_EQ(ListCollisions(w, t, nullptr, uint32_t(t->image), t->x + dx, t->y + dy, t->angle, t->scaleX, t->scaleY, 0), n);
      SpriteRecord* first = FindCollision(w, t, uint32_t(t->image), t->x + dx, t->y + dy, t->angle, t->scaleX,
                                          t->scaleY, 0, 0);
      EXPECT_EQ(first != nullptr, !expected.empty()) << what;
      if (first != nullptr) {
        EXPECT_EQ(expected.count(first), 1u) << what;
      }
      (expected.empty() ? misses : hits)++;
    }
    EXPECT_GT(hits, 10);
    EXPECT_GT(misses, 10);
  }
}

TEST_P(SpriteCollide, LayersSetsAndCollisionBits) {
  SpriteTestWindow w(app_, 80, 60);
  SpriteRecord* a = CreateSprite(w.Pool(), &w.images, 30, 30, uint32_t(block_), 1, 0, 0, kSpriteCollides, 1);
  SpriteRecord* other = CreateSprite(w.Pool(), &w.images, 32, 30, uint32_t(block_), 2, 0, 0, kSpriteCollides, 2);
  SpriteRecord* second = CreateSprite(w.Pool(), &w.images, 31, 31, uint32_t(block_), 1, 0, 0,
                                      kSpriteCollides | kSpriteSecondSet | kSpritePlane1, 3);
  w.Frame();
  // Layers never collide; the second set is searched with option 0x08.
  EXPECT_EQ(FindCollision(w, a, uint32_t(block_), 30, 30, 0, 1.0f, 1.0f, 0, 0), nullptr);
  EXPECT_EQ(FindCollision(w, a, uint32_t(block_), 30, 30, 0, 1.0f, 1.0f, 0, kSearchSecondSet), second);
  EXPECT_EQ(FindCollision(w, a, uint32_t(block_), 30, 30, 0, 1.0f, 1.0f, 0, kSearchSecondSet | kSearchSkipPlane1),
            nullptr);
  EXPECT_EQ(ListCollisions(w, other, nullptr, uint32_t(block_), 30, 30, 0, 1.0f, 1.0f, 0), 0);
  // Without its collision bit a sprite finds nothing, unless it searches the second set.
  EXPECT_EQ(SetCollision(a, 0), 1);
  EXPECT_EQ(FindCollision(w, a, uint32_t(block_), 31, 31, 0, 1.0f, 1.0f, 0, 0), nullptr);
  EXPECT_EQ(FindCollision(w, a, uint32_t(block_), 31, 31, 0, 1.0f, 1.0f, 0, kSearchSecondSet), second);
  EXPECT_EQ(SetCollision(a, 0x21), 0);  // only bit 0 counts
  EXPECT_EQ(a->flags & kSpriteDeleteLater, 0u);
  EXPECT_EQ(a->flags & kSpriteCollides, uint32_t(kSpriteCollides));
}

// The mask record an owner-drawn sprite's owner answers call 4 with, held
// in a block of exactly its header and 9 rows of 2 bytes, all solid.
CollisionMaskHeader* ownersMask = nullptr;

intptr_t OMB_STDCALL AnswerOwnersMask(SpriteRecord*, int32_t call, int32_t) {
  return call == kOwnerGetMask ? reinterpret_cast<intptr_t>(ownersMask) : 0;
}

// An owner's record is used only when well-formed (header size 44, sizes not
// negative, rows long enough for the width); otherwise the sprite has no
// mask (what `SpriteGetMask` hands a host) and is hit by nothing, where a
// damaged record was read past its rows.
TEST_P(SpriteCollide, AnOwnersMaskRecordIsUsedOnlyWhenWellFormed) {
  constexpr int32_t kSide = 9;
  std::vector<uint8_t> block(sizeof(CollisionMaskHeader) + kSide * 2, 0xFF);
  struct Case {
    const char* what;
    uint32_t headerSize;
    int32_t width, height;
    uint32_t rowBytes;
    bool usable;
  } cases[] = {
      {"well-formed", 44, kSide, kSide, 2, true},
      {"header size 40", 40, kSide, kSide, 2, false},
      {"header size 48", 48, kSide, kSide, 2, false},
      {"negative width", 44, -kSide, kSide, 2, false},
      {"negative height", 44, kSide, -1, 2, false},
      {"rows shorter than the width", 44, kSide, kSide, 1, false},
      {"rows of a wider mask", 44, 17, kSide, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SpriteTestWindow w(app_, 80, 60);
    SpriteRecord* a = CreateSprite(w.Pool(), &w.images, 30, 30, uint32_t(block_), 1, 0, 0, kSpriteCollides, 1);
    const SpriteRect over{a->rect.left, a->rect.top, a->rect.left + kSide, a->rect.top + kSide};
    SpriteRecord* owned = CreateOwnerDrawnSprite(w.Pool(), over, 1, 0, 0, kSpriteCollides, 2, AnswerOwnersMask);
    ASSERT_NE(owned, nullptr);
    auto* record = reinterpret_cast<CollisionMaskHeader*>(block.data());
    *record = CollisionMaskHeader{c.headerSize, c.width, c.height, c.rowBytes, 0, 0, {}};
    ownersMask = record;
    w.Frame();
    EXPECT_EQ(SpriteMask(w, owned, 0, 0), c.usable ? record : nullptr);
    EXPECT_EQ(FindCollision(w, a, uint32_t(block_), 30, 30, 0, 1.0f, 1.0f, 0, 0), c.usable ? owned : nullptr);
    ownersMask = nullptr;
  }
}

TEST_P(SpriteCollide, PointAndRectangleSearchesReadTheMasks) {
  SpriteTestWindow w(app_, 80, 60);
  SpriteRecord* r = CreateSprite(w.Pool(), &w.images, 40, 30, uint32_t(ring_), 0, 0, 0, kSpriteCollides, 0);
  w.Frame();
  // The ring's centre is a hole.
  EXPECT_EQ(FindAtPoint(w, nullptr, 0, 40, 30, 0), nullptr);
  EXPECT_EQ(FindInRect(w, nullptr, -1, 39, 29, 2, 2, 0), nullptr);
  w.pixelCollision = 0;
  EXPECT_EQ(FindAtPoint(w, nullptr, 0, 40, 30, 0), r);
  EXPECT_EQ(FindInRect(w, nullptr, -1, 39, 29, 2, 2, 0), r);
  w.pixelCollision = 1;
  EXPECT_EQ(FindAtPoint(w, nullptr, -1, r->rect.left, 30, 0), nullptr);  // the box's corner column is clear
  EXPECT_EQ(FindAtPoint(w, nullptr, -1, r->rect.left + 1, 30, 0), r);  // the ring's left edge
  EXPECT_EQ(FindAtPoint(w, nullptr, 1, r->rect.left + 1, 30, 0), nullptr);  // another layer
  EXPECT_EQ(FindAtPoint(w, r, -1, r->rect.left + 1, 30, 0), nullptr);  // after it
  EXPECT_EQ(FindInRect(w, nullptr, 0, r->rect.left - 5, 28, 6, 4, 0), nullptr);
  EXPECT_EQ(FindInRect(w, nullptr, 0, r->rect.left - 5, 28, 7, 4, 0), r);
  EXPECT_EQ(FindAtPoint(w, nullptr, 0, r->rect.right, 30, 0), nullptr);  // right edge exclusive
}

TEST_P(SpriteCollide, BottomRowsOnly) {
  SpriteTestWindow w(app_, 80, 60);
  SpriteRecord* tall = CreateSprite(w.Pool(), &w.images, 20, 20, uint32_t(block_), 0, 0, 0, kSpriteCollides, 0);
  SpriteRecord* above = CreateSprite(w.Pool(), &w.images, 20, 13, uint32_t(block_), 0, 0, 0, kSpriteCollides, 1);
  w.Frame();
  // `above` overlaps tall's top two rows only.
  EXPECT_EQ(ListCollisions(w, tall, nullptr, uint32_t(block_), 20, 20, 0, 1.0f, 1.0f, 0), 1);
  EXPECT_EQ(ListCollisions(w, tall, nullptr, uint32_t(block_), 20, 20, 0, 1.0f, 1.0f, kSearchBottomRows), 0);
  EXPECT_EQ(FindCollision(w, tall, uint32_t(block_), 20, 20, 0, 1.0f, 1.0f, 7, 0), nullptr);
  EXPECT_EQ(FindCollision(w, tall, uint32_t(block_), 20, 20, 0, 1.0f, 1.0f, 8, 0), above);
}

TEST_P(SpriteCollide, TestTransformAnswersTheDrawnOneOrIsBuiltOncePerValues) {
  SpriteTestWindow w(app_, 80, 60);
  SpriteRecord* s = CreateSprite(w.Pool(), &w.images, 40, 30, uint32_t(ring_), 0, 0, 0, kSpriteCollides, 0);
  SetSpriteAngle(w.Pool(), &w.images, s, 45, 0);
  w.Frame();
  SpriteRect box{};
  CollisionMaskHeader* mask = nullptr;
  EXPECT_EQ(TransformedBox(w, s, uint32_t(ring_), 50, 35, 45, 1.0f, 1.0f, &box, &mask), 1);
  EXPECT_EQ(box.left, s->rect.left + 10);
  EXPECT_EQ(box.top, s->rect.top + 5);
  EXPECT_EQ(TransformedBox(w, s, uint32_t(ring_), 50, 35, 90, 1.0f, 1.0f, &box, &mask), 2);
  EXPECT_EQ(mask, nullptr);
  CollisionMaskHeader* built = BuildTransformedMask(w, s, 2, box.right - box.left, box.bottom - box.top);
  ASSERT_NE(built, nullptr);
  EXPECT_EQ(built->width, box.right - box.left);
  // Same values: the same mask, not rebuilt; other values drop it.
  EXPECT_EQ(TransformedBox(w, s, uint32_t(ring_), 10, 10, 90, 1.0f, 1.0f, &box, &mask), 2);
  EXPECT_EQ(mask, built);
  EXPECT_EQ(TransformedBox(w, s, uint32_t(ring_), 10, 10, 90, 2.0f, 1.0f, &box, &mask), 2);
  EXPECT_EQ(mask, nullptr);
  EXPECT_EQ(s->testSurface, nullptr);
  EXPECT_EQ(BuildTransformedMask(w, s, 0, 10, 10), nullptr);
}

TEST_P(SpriteCollide, SpritesAgainstTheWindowMaskEqualTheNaiveOverlap) {
  SpriteTestWindow w(app_, 120, 90);
  WindowMask mask;
  ASSERT_EQ(mask.Create(120, 90, 0, 0, 3), 1);
  std::mt19937 rng(17);
  for (int i = 0; i < 12; ++i) {
    const int32_t x = int32_t(rng() % 110), y = int32_t(rng() % 80);
    mask.FillRect(x, y, x + int32_t(rng() % 12), y + int32_t(rng() % 6), 1);
  }
  std::vector<SpriteRecord*> s;
  for (int i = 0; i < 10; ++i) {
    SpriteRecord* r = CreateSprite(w.Pool(), &w.images, int32_t(rng() % 110), int32_t(rng() % 80),
                                   uint32_t(i % 2 ? ring_ : block_), 0, 0, 0, kSpriteCollides, i);
    if (i % 3 == 0) SetSpriteAngle(w.Pool(), &w.images, r, 60, 0);
    s.push_back(r);
  }
  w.Frame();
  int hits = 0, misses = 0;
  for (SpriteRecord* r : s)
    for (int32_t origin : {0, 3}) {
      mask.SetOrigin(origin, 0);
      bool expected = false;
      for (const auto& p : Opaque(app_, r)) expected = expected || mask.TestPoint(p.first, p.second, 0) != 0;
      const int32_t got = SpriteAgainstMask(w, mask, r, uint32_t(r->image), r->x, r->y, r->angle, r->scaleX, r->scaleY, 0, 0);
      EXPECT_EQ(got, expected ? 1 : 0) << "sprite " << r->user << " origin " << origin;
      (expected ? hits : misses)++;
      EXPECT_EQ(SpriteAgainstMask(w, mask, r, uint32_t(r->image), r->x, r->y, r->angle, r->scaleX, r->scaleY, 0, 1), 0)
          << "plane 1 is empty";
    }
  EXPECT_GT(hits, 0);
  EXPECT_GT(misses, 0);
  mask.Free();
}

// 16 bits, and 32 bits, whose pixels carry a fourth byte.
INSTANTIATE_TEST_SUITE_P(AppDepths, SpriteCollide, ::testing::Values(7, 8),
                         [](const ::testing::TestParamInfo<int32_t>& info) {
                           return std::to_string(DepthCodeToBits(info.param)) + "Bits";
                         });

}  // namespace
