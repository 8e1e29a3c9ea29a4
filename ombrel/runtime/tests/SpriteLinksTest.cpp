// Overlap links against a brute-force scan: after every random move, image
// change, rectangle change and commit, the changed sprite is linked to
// exactly the sprites whose current or pending rectangle overlaps its union
// box, and every link exists both ways once. Also the pending rectangle
// rules and the redraw flags that changes spread to kept neighbours.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "SpriteTestPool.h"
#include "sprite/SpriteLinks.h"
#include "surface/RotatedBounds.h"

namespace {

std::set<SpriteRecord*> Links(const SpriteRecord* s) {
  std::set<SpriteRecord*> out;
  for (int32_t i = 0; i < s->overlaps.GetCount(); ++i) out.insert(static_cast<SpriteRecord*>(s->overlaps.GetAt(i)));
  EXPECT_EQ(out.size(), size_t(s->overlaps.GetCount())) << "a link listed twice";
  return out;
}

// A smooth-edged sprite draws one pixel around its rectangle.
SpriteRect Drawn(const SpriteRecord* s, SpriteRect r) {
  if (s->ink & kInkSmoothEdges) r = {r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
  return r;
}

std::set<SpriteRecord*> BruteForce(SpritePool* pool, const SpriteRecord* s) {
  const SpriteRect u = Drawn(s, {std::min(s->rect.left, s->nextRect.left), std::min(s->rect.top, s->nextRect.top),
                                 std::max(s->rect.right, s->nextRect.right), std::max(s->rect.bottom, s->nextRect.bottom)});
  auto meets = [](const SpriteRect& a, const SpriteRect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
  };
  std::set<SpriteRecord*> out;
  for (SpriteRecord* o = pool->First(); o != nullptr; o = o->next)
    if (o != s && (meets(Drawn(o, o->rect), u) || meets(Drawn(o, o->nextRect), u))) out.insert(o);
  return out;
}

void ExpectSymmetric(SpritePool* pool, const std::string& what) {
  for (SpriteRecord* a = pool->First(); a != nullptr; a = a->next) {
    ASSERT_EQ(a->flags & kSpriteLinkWork, 0u) << what;
    for (SpriteRecord* b : Links(a)) {
      ASSERT_NE(a, b) << what;
      ASSERT_EQ(Links(b).count(a), 1u) << what << ": " << a->user << " -> " << b->user << " only one way";
    }
  }
}

TEST(SpriteLinks, LinksEqualABruteForceScanAfterRandomChanges) {
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    SpriteTestPool t;
    std::mt19937 rng(seed);
    for (uint32_t id = 1; id <= 4; ++id) t.images.table[id] = {int32_t(8 + 9 * id), int32_t(30 - 5 * id), int32_t(id), 2};
    std::uniform_int_distribution<int32_t> pos(-20, 300);
    std::vector<SpriteRecord*> s;
    for (int32_t i = 0; i < 60; ++i) s.push_back(t.Create(pos(rng), pos(rng), uint32_t(rng() % 5), 0, 0, 0, i));
    for (SpriteRecord* r : s) {
      ASSERT_EQ(Links(r), BruteForce(t.pool, r)) << "after creating " << r->user;
    }
    for (int step = 0; step < 3000; ++step) {
      SpriteRecord* r = s[rng() % s.size()];
      switch (rng() % 7) {
        case 0:
        case 1: {  // a change each time: unchanged calls renew nothing
          const int32_t x = pos(rng);
          MoveSprite(t.pool, &t.images, r, x == r->nextX ? x + 1 : x, pos(rng), r->nextImage);
          break;
        }
        case 2:
          MoveSprite(t.pool, &t.images, r, r->nextX + 3, r->nextY, uint32_t(rng() % 5));
          break;
        case 3: {
          const int32_t l = pos(rng), top = pos(rng);  // empty ones too
          SetSpriteRect(t.pool, r, {l, top, l + int32_t(rng() % 40), top + int32_t(rng() % 40)});
          break;
        }
        case 4:
          SetSpriteAngle(t.pool, &t.images, r, r->angle + 1 + int32_t(rng() % 359), 0);
          break;
        case 5:
          SetSpriteInk(t.pool, r, r->ink ^ kInkSmoothEdges, 0);  // the drawn area changes
          break;
        default:  // a commit of every sprite: current = pending, no renewal
          for (SpriteRecord* o : s) {
            o->rect = o->nextRect;
            o->x = o->nextX;
            o->y = o->nextY;
          }
          r = nullptr;
      }
      if (r != nullptr) {
        ASSERT_EQ(Links(r), BruteForce(t.pool, r)) << "seed " << seed << " step " << step;
      }
      if (step % 50 == 0) ExpectSymmetric(t.pool, "seed " + std::to_string(seed) + " step " + std::to_string(step));
      if (HasFatalFailure()) return;
    }
    // Deleting drops every link both ways.
    for (size_t i = 0; i < s.size(); i += 2) {
      DropLinks(s[i]);
      SpritePoolGive(t.pool, s[i]);
    }
    ExpectSymmetric(t.pool, "after deletions");
  }
}

std::vector<int32_t> LinkUsers(const SpriteRecord* s) {
  std::vector<int32_t> out;
  for (int32_t i = 0; i < s->overlaps.GetCount(); ++i) out.push_back(static_cast<SpriteRecord*>(s->overlaps.GetAt(i))->user);
  return out;
}

// The pool's grid against a pool without one (every renewal walks the
// pool): the same script of creations, moves, rectangle changes (small,
// empty and wider than the grid lists), ink changes, commits and deletions
// gives every sprite the same links in the same order, which the collision
// search walks.
TEST(SpriteLinks, GridSearchesGiveTheLinksOfAPoolWalkInTheSameOrder) {
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    SpriteTestPool grid, walk;
    SpritePoolDropGrid(walk.pool);
    ASSERT_EQ(SpritePoolGrid(walk.pool), nullptr);
    ASSERT_NE(SpritePoolGrid(grid.pool), nullptr);
    std::mt19937 rng(seed);
    for (uint32_t id = 1; id <= 4; ++id)
      grid.images.table[id] = walk.images.table[id] = {int32_t(8 + 9 * id), int32_t(30 - 5 * id), int32_t(id), 2};
    std::uniform_int_distribution<int32_t> pos(-200, 600);
    std::vector<SpriteRecord*> a, b;
    auto create = [&](int32_t user) {
      const int32_t x = pos(rng), y = pos(rng);
      const uint32_t image = uint32_t(rng() % 5);
      a.push_back(grid.Create(x, y, image, int32_t(user % 3), 0, 0, user));
      b.push_back(walk.Create(x, y, image, int32_t(user % 3), 0, 0, user));
    };
    for (int32_t i = 0; i < 150; ++i) create(i);
    int32_t nextUser = 150;
    for (int step = 0; step < 4000; ++step) {
      const size_t i = rng() % a.size();
      const int32_t x = pos(rng), y = pos(rng), angle = int32_t(rng() % 360);
      switch (rng() % 8) {
        case 0:
        case 1:
          MoveSprite(grid.pool, &grid.images, a[i], x, y, a[i]->nextImage);
          MoveSprite(walk.pool, &walk.images, b[i], x, y, b[i]->nextImage);
          break;
        case 2: {  // a small step, the common case
          const int32_t dx = int32_t(rng() % 5) - 2, dy = int32_t(rng() % 5) - 2;
          MoveSprite(grid.pool, &grid.images, a[i], a[i]->nextX + dx, a[i]->nextY + dy, a[i]->nextImage);
          MoveSprite(walk.pool, &walk.images, b[i], b[i]->nextX + dx, b[i]->nextY + dy, b[i]->nextImage);
          break;
        }
        case 3: {
          const int32_t w = rng() % 4 == 0 ? int32_t(rng() % 3000) : int32_t(rng() % 40);  // wide ones too
          const int32_t h = rng() % 4 == 0 ? int32_t(rng() % 3000) : int32_t(rng() % 40);
          SetSpriteRect(grid.pool, a[i], {x, y, x + w, y + h});
          SetSpriteRect(walk.pool, b[i], {x, y, x + w, y + h});
          break;
        }
        case 4:
          SetSpriteInk(grid.pool, a[i], a[i]->ink ^ kInkSmoothEdges, 0);
          SetSpriteInk(walk.pool, b[i], b[i]->ink ^ kInkSmoothEdges, 0);
          break;
        case 5:
          for (auto* list : {&a, &b})
            for (SpriteRecord* o : *list) o->rect = o->nextRect;
          break;
        case 6:  // a deletion and a creation, which reuses the record
          DropLinks(a[i]);
          SpritePoolGive(grid.pool, a[i]);
          DropLinks(b[i]);
          SpritePoolGive(walk.pool, b[i]);
          a.erase(a.begin() + std::ptrdiff_t(i));
          b.erase(b.begin() + std::ptrdiff_t(i));
          create(nextUser++);
          break;
        default:
          SetSpriteAngle(grid.pool, &grid.images, a[i], angle, 0);
          SetSpriteAngle(walk.pool, &walk.images, b[i], angle, 0);
      }
      if (step % 20 != 0 && step < 3900) continue;
      for (size_t k = 0; k < a.size(); ++k) {
        ASSERT_EQ(LinkUsers(a[k]), LinkUsers(b[k])) << "seed " << seed << " step " << step << " sprite " << a[k]->user;
      }
    }
  }
}

TEST(SpriteLinks, PendingRectanglePlacesTheImageByHotSpotScaleAndAngle) {
  TestImages images;
  images.table[1] = {20, 10, 5, 3};
  struct Row {
    const char* what;
    uint32_t flags, image;
    float sx, sy;
    int32_t angle;
    SpriteRect expected;
  } rows[] = {
      {"plain", 0, 1, 1.0f, 1.0f, 0, {95, 47, 115, 57}},
      {"no hot spot", kSpriteNoHotSpot, 1, 1.0f, 1.0f, 0, {100, 50, 120, 60}},
      {"scaled, truncated", 0, 1, 1.5f, 0.55f, 0, {93, 49, 123, 54}},
      {"no image", 0, 0, 2.0f, 2.0f, 30, {100, 50, 101, 51}},
      {"unknown image", 0, 7, 1.0f, 1.0f, 0, {100, 50, 101, 51}},
  };
  for (const Row& r : rows) {
    const SpriteRect got = PlacedRect(r.flags, r.image, 100, 50, r.sx, r.sy, r.angle, &images);
    EXPECT_EQ(std::make_tuple(got.left, got.top, got.right, got.bottom),
              std::make_tuple(r.expected.left, r.expected.top, r.expected.right, r.expected.bottom))
        << r.what;
  }
  // Turned: the scaled box and hot spot go through the library's turn.
  for (int32_t angle : {90, 180, 270, 33}) {
    RotatedRecord box{0, 0, 40, 10};
    RotatedPoint hot{10, 3};
    RotatedBounds(&box, &hot, nullptr, float(angle));
    const SpriteRect got = PlacedRect(0, 1, 100, 50, 2.0f, 1.0f, angle, &images);
    EXPECT_EQ(std::make_tuple(got.left, got.top, got.right - got.left, got.bottom - got.top),
              std::make_tuple(100 - hot.x, 50 - hot.y, box.width, box.height))
        << angle;
  }
  // A quarter turn swaps the sides.
  const SpriteRect q = PlacedRect(0, 1, 0, 0, 1.0f, 1.0f, 90, &images);
  EXPECT_EQ(q.right - q.left, 10);
  EXPECT_EQ(q.bottom - q.top, 20);
}

TEST(SpriteLinks, ChangesFlagSettledKeptNeighboursAndTheirNeighboursForRedraw) {
  SpriteTestPool t;
  t.images.table[1] = {10, 10, 0, 0};
  // A chain of kept sprites 0-1-2 overlapping in a row, 3 kept but apart,
  // 4 kept and overlapping 2 but without background save.
  SpriteRecord* k0 = t.Create(0, 0, 1, 0, 0, kSpriteKept, 0);
  SpriteRecord* k1 = t.Create(8, 0, 1, 0, 0, kSpriteKept, 1);
  SpriteRecord* k2 = t.Create(16, 0, 1, 0, 0, kSpriteKept, 2);
  SpriteRecord* k3 = t.Create(100, 0, 1, 0, 0, kSpriteKept, 3);
  SpriteRecord* k4 = t.Create(20, 5, 1, 0, 0, kSpriteKept | kSpriteNoSave, 4);
  for (SpriteRecord* s : {k0, k1, k2, k3, k4}) s->flags &= ~(kSpriteChanged | kSpriteRedraw);  // drawn once
  SpriteRecord* mover = t.Create(-50, 0, 1, 0, 0, 0, 9);
  MoveSprite(t.pool, &t.images, mover, -5, 2, 1);  // now overlaps k0
  EXPECT_TRUE(k0->flags & kSpriteRedraw);
  EXPECT_TRUE(k1->flags & kSpriteRedraw);
  EXPECT_TRUE(k2->flags & kSpriteRedraw);
  EXPECT_FALSE(k3->flags & kSpriteRedraw);
  EXPECT_FALSE(k4->flags & kSpriteRedraw);  // unsaved: left alone
  EXPECT_TRUE(mover->flags & kSpriteChanged);
  // A sprite without background save spreads nothing.
  for (SpriteRecord* s : {k0, k1, k2}) s->flags &= ~kSpriteRedraw;
  MoveSprite(t.pool, &t.images, k4, 21, 5, 1);
  EXPECT_FALSE(k2->flags & kSpriteRedraw);
  // A move to the same place and image changes nothing.
  mover->flags &= ~kSpriteChanged;
  MoveSprite(t.pool, &t.images, mover, -5, 2, 1);
  EXPECT_FALSE(mover->flags & kSpriteChanged);
  // State op 32 flags the settled kept sprites an area touches, and theirs.
  SpriteRect area{101, 1, 102, 2};
  SetSpriteState(t.pool, nullptr, &area, 32);
  EXPECT_TRUE(k3->flags & kSpriteRedraw);
  EXPECT_FALSE(k0->flags & kSpriteRedraw);
}

}  // namespace
