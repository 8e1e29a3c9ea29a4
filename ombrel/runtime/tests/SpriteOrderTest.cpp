// Drawing order: the key and sub-order rules of creation, every reorder
// function on small tables of sprites, random runs that must keep the list
// sorted, the layer walks, and the normalised angle and scale values.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "SpriteTestPool.h"
#include "sprite/SpriteOrder.h"
#include "sprite/SpriteQueryApi.h"

namespace {

// The list as user values, in drawing order.
std::vector<int32_t> Order(SpritePool* pool) {
  std::vector<int32_t> out;
  for (SpriteRecord* r = pool->First(); r != nullptr; r = r->next) out.push_back(r->user);
  return out;
}

void ExpectSorted(SpritePool* pool, const std::string& what) {
  SpriteRecord* last = nullptr;
  for (SpriteRecord* r = pool->First(); r != nullptr; last = r, r = r->next) {
    ASSERT_EQ(r->prev, last) << what;
    if (last != nullptr) {
      ASSERT_FALSE(IsBehind(r, last)) << what << ": " << last->user << " before " << r->user;
    }
  }
  ASSERT_EQ(pool->Last(), last) << what;
}

TEST(SpriteOrder, CreationOrdersByKeyThenSubOrderThenCreation) {
  SpriteTestPool t;
  struct Row { int32_t layer, subOrder; uint32_t flags; } rows[] = {
      {2, 5, 0}, {1, 9, 0}, {2, 5, 0}, {2, 5, kSpriteSecondSet}, {2, 3, 0}, {0, 0, kSpriteSecondSet}, {2, 7, 0},
      {1, 0, 0}};
  int32_t user = 0;
  for (const Row& r : rows) t.Create(0, 0, 0, r.layer, r.subOrder, r.flags, user++);
  // Keys: layer 0 second set 0; layer 1: 3; layer 2 second set 4; layer 2: 5.
  EXPECT_EQ(Order(t.pool), (std::vector<int32_t>{5, 7, 1, 3, 4, 0, 2, 6}));
  EXPECT_EQ(t.pool->First()->key, 0);
  EXPECT_EQ(t.pool->Last()->key, 5);
}

struct Fixture {
  SpriteTestPool t;
  std::vector<SpriteRecord*> s;
  // Layer 1: users 0..3 with sub-orders 10, 20, 30, 40; layer 2: users 4, 5.
  Fixture() {
    for (int32_t i = 0; i < 4; ++i) s.push_back(t.Create(0, 0, 0, 1, 10 * (i + 1), 0, i));
    s.push_back(t.Create(0, 0, 0, 2, 1, 0, 4));
    s.push_back(t.Create(0, 0, 0, 2, 2, 0, 5));
  }
  std::vector<int32_t> SubOrders() {
    std::vector<int32_t> out;
    for (SpriteRecord* r = t.pool->First(); r != nullptr; r = r->next) out.push_back(r->subOrder);
    return out;
  }
};

TEST(SpriteOrder, ToFrontAndToBackStayInTheKeyAndKeepSubOrdersAscending) {
  {
    Fixture f;
    MoveToFront(f.t.pool, f.s[1]);
    EXPECT_EQ(Order(f.t.pool), (std::vector<int32_t>{0, 2, 3, 1, 4, 5}));
    EXPECT_EQ(f.SubOrders(), (std::vector<int32_t>{10, 20, 30, 40, 1, 2}));
    EXPECT_EQ(f.s[1]->subOrder, 40);
  }
  {
    Fixture f;
    MoveToBack(f.t.pool, f.s[2]);
    EXPECT_EQ(Order(f.t.pool), (std::vector<int32_t>{2, 0, 1, 3, 4, 5}));
    EXPECT_EQ(f.SubOrders(), (std::vector<int32_t>{10, 20, 30, 40, 1, 2}));
    MoveToBack(f.t.pool, f.s[4]);
    EXPECT_EQ(Order(f.t.pool), (std::vector<int32_t>{2, 0, 1, 3, 4, 5}));  // already first of its key
  }
}

TEST(SpriteOrder, MoveBehindAndInFrontPassTheOtherOnlyWithinOneKey) {
  struct Row {
    bool behind;
    int32_t s, other;
    bool moved;
    std::vector<int32_t> order;
  } rows[] = {
      {true, 3, 1, true, {0, 3, 1, 2, 4, 5}},
      {true, 1, 3, false, {0, 1, 2, 3, 4, 5}},  // other lies in front already
      {false, 0, 2, true, {1, 2, 0, 3, 4, 5}},
      {false, 2, 0, false, {0, 1, 2, 3, 4, 5}},
      {false, 3, 4, false, {0, 1, 2, 3, 4, 5}},  // another key
      {true, 1, 1, false, {0, 1, 2, 3, 4, 5}},
  };
  for (const Row& r : rows) {
    Fixture f;
    const bool moved = r.behind ? MoveBehind(f.t.pool, f.s[r.s], f.s[r.other])
                                : MoveInFront(f.t.pool, f.s[r.s], f.s[r.other]);
    EXPECT_EQ(moved, r.moved) << r.s << (r.behind ? " behind " : " in front of ") << r.other;
    EXPECT_EQ(Order(f.t.pool), r.order) << r.s << (r.behind ? " behind " : " in front of ") << r.other;
    ExpectSorted(f.t.pool, "after a move");
  }
}

TEST(SpriteOrder, SwapExchangesPlacesAndSubOrders) {
  Fixture f;
  SwapSprites(f.t.pool, f.s[0], f.s[3]);
  EXPECT_EQ(Order(f.t.pool), (std::vector<int32_t>{3, 1, 2, 0, 4, 5}));
  EXPECT_EQ(f.SubOrders(), (std::vector<int32_t>{10, 20, 30, 40, 1, 2}));
  SwapSprites(f.t.pool, f.s[2], f.s[1]);  // neighbours, either order
  EXPECT_EQ(Order(f.t.pool), (std::vector<int32_t>{3, 2, 1, 0, 4, 5}));
  SwapSprites(f.t.pool, f.s[3], f.s[3]);
  EXPECT_EQ(Order(f.t.pool), (std::vector<int32_t>{3, 2, 1, 0, 4, 5}));
}

TEST(SpriteOrder, ChangeLayerGoesToTheNewKeysFrontWithTheNextSubOrder) {
  Fixture f;
  EXPECT_TRUE(ChangeLayer(f.t.pool, f.s[1], 2));
  EXPECT_EQ(Order(f.t.pool), (std::vector<int32_t>{0, 2, 3, 4, 5, 1}));
  EXPECT_EQ(f.s[1]->subOrder, 3);
  EXPECT_EQ(f.s[1]->Layer(), 2);
  EXPECT_TRUE(ChangeLayer(f.t.pool, f.s[5], 0));
  EXPECT_EQ(Order(f.t.pool), (std::vector<int32_t>{5, 0, 2, 3, 4, 1}));
  EXPECT_EQ(f.s[5]->subOrder, 1);  // alone in its key
  EXPECT_FALSE(ChangeLayer(f.t.pool, f.s[5], 0));
  // The second set keeps its even key.
  SpriteRecord* second = f.t.Create(0, 0, 0, 1, 0, kSpriteSecondSet, 9);
  EXPECT_EQ(second->key, 2);
  EXPECT_TRUE(ChangeLayer(f.t.pool, second, 3));
  EXPECT_EQ(second->key, 6);
  EXPECT_EQ(Order(f.t.pool), (std::vector<int32_t>{5, 0, 2, 3, 4, 1, 9}));
  ExpectSorted(f.t.pool, "after layer changes");
}

TEST(SpriteOrder, RandomReordersKeepTheListSorted) {
  for (uint32_t seed = 1; seed <= 5; ++seed) {
    SpriteTestPool t(64);
    std::mt19937 rng(seed);
    std::vector<SpriteRecord*> s;
    for (int32_t i = 0; i < 40; ++i)
      s.push_back(t.Create(0, 0, 0, int32_t(rng() % 4), int32_t(rng() % 5), rng() % 3 == 0 ? uint32_t(kSpriteSecondSet) : 0u, i));
    ExpectSorted(t.pool, "created");
    for (int step = 0; step < 2000; ++step) {
      SpriteRecord* a = s[rng() % s.size()];
      SpriteRecord* b = s[rng() % s.size()];
      switch (rng() % 5) {
        case 0: MoveToFront(t.pool, a); break;
        case 1: MoveToBack(t.pool, a); break;
        case 2: MoveBehind(t.pool, a, b); break;
        case 3: MoveInFront(t.pool, a, b); break;
        default: ChangeLayer(t.pool, a, int32_t(rng() % 4)); break;
      }
      ExpectSorted(t.pool, "seed " + std::to_string(seed) + " step " + std::to_string(step));
      if (HasFatalFailure()) return;
    }
    EXPECT_EQ(Order(t.pool).size(), 40u);
  }
}

TEST(SpriteOrder, LayerWalksFindFirstLastNextAndPrevious) {
  SpriteTestPool t;
  // Drawing order: 0 (layer 1, second set), 1, 2 (layer 1), 3 (layer 2, second set), 4 (layer 2).
  SpriteRecord* s0 = t.Create(0, 0, 0, 1, 0, kSpriteSecondSet, 0);
  SpriteRecord* s1 = t.Create(0, 0, 0, 1, 0, 0, 1);
  SpriteRecord* s2 = t.Create(0, 0, 0, 1, 0, 0, 2);
  SpriteRecord* s3 = t.Create(0, 0, 0, 2, 0, kSpriteSecondSet, 3);
  SpriteRecord* s4 = t.Create(0, 0, 0, 2, 0, 0, 4);
  EXPECT_EQ(FirstOfLayer(t.pool, 1, 0), s1);
  EXPECT_EQ(FirstOfLayer(t.pool, 1, 1), s0);
  EXPECT_EQ(LastOfLayer(t.pool, 1, 0), s2);
  EXPECT_EQ(LastOfLayer(t.pool, 2, 1), s3);
  EXPECT_EQ(FirstOfLayer(t.pool, -1, 0), s0);
  EXPECT_EQ(LastOfLayer(t.pool, -1, 1), s4);
  EXPECT_EQ(FirstOfLayer(t.pool, 0, 0), nullptr);
  EXPECT_EQ(FirstOfLayer(t.pool, 3, 0), nullptr);
  EXPECT_EQ(LastOfLayer(t.pool, 0, 1), nullptr);
  struct Row { SpriteRecord* from; int32_t options; SpriteRecord* next; SpriteRecord* previous; } rows[] = {
      {s1, 0, s2, nullptr}, {s2, 0, s4, s1}, {s2, 2, nullptr, s1}, {s1, 1, s3, s0},
      {s0, 1, s3, nullptr}, {s0, 3, nullptr, nullptr}, {s4, 0, nullptr, s2}, {s3, 0, s4, s2}};
  for (const Row& r : rows) {
    EXPECT_EQ(NextSprite(r.from, r.options), r.next) << r.from->user << " options " << r.options;
    EXPECT_EQ(PreviousSprite(r.from, r.options), r.previous) << r.from->user << " options " << r.options;
  }
  EXPECT_TRUE(IsBehind(s0, s1));
  EXPECT_FALSE(IsBehind(s1, s2));  // equal keys and sub-orders
  EXPECT_TRUE(IsBehind(s2, s3));
}

TEST(SpriteOrder, AnglesWrapIntoOneTurnAndNegativeScalesBecomeZero) {
  SpriteTestPool t;
  t.images.table[1] = {20, 10, 0, 0};
  SpriteRecord* s = t.Create(0, 0, 1, 0);
  struct A { int32_t in, stored; } angles[] = {{-90, 270}, {450, 90}, {-360, 0}, {359, 359}, {-721, 359}};
  for (const A& a : angles) {
    SetSpriteAngle(t.pool, &t.images, s, a.in, 0);
    EXPECT_EQ(s->angle, a.stored) << a.in;
  }
  SetSpriteScale(t.pool, &t.images, s, -1.0f, 2.0f, 0);
  EXPECT_EQ(s->scaleX, 0.0f);
  EXPECT_EQ(s->scaleY, 2.0f);
  SetImageTransform(t.pool, &t.images, s, 0, 0, 1, -3.0f, -0.5f, 1, -45, 1);
  EXPECT_EQ(s->scaleX, 0.0f);
  EXPECT_EQ(s->scaleY, 0.0f);
  EXPECT_EQ(s->angle, 315);
  EXPECT_TRUE(s->flags & kSpriteSmoothScale);
  EXPECT_TRUE(s->flags & kSpriteAntialias);
}

TEST(SpriteOrder, OneSpriteCallsReadTheRecordAndGiveDefaultsWithoutOne) {
  SpriteTestPool t;
  t.images.table[1] = {10, 6, 2, 1};
  SpriteRecord* a = t.Create(50, 40, 1, 3, 0, kSpriteCollides, 77);
  SpriteRecord* b = t.Create(0, 0, 1, 4, 0, 0, 78);
  SetSpriteScale(t.pool, &t.images, a, 2.0f, 0.5f, 1);
  SetSpriteAngle(t.pool, &t.images, a, 90, 1);
  EXPECT_EQ(SpriteGetUserValue(nullptr, a), 77);
  EXPECT_EQ(SpriteGetLayer(nullptr, a), 3);
  const uint32_t flags = SpriteGetFlags(nullptr, a);
  EXPECT_EQ(SpriteSetFlags(nullptr, a, flags | kSpriteHidden), flags);
  EXPECT_EQ(SpriteGetFlags(nullptr, a), flags | kSpriteHidden);
  float x = 0, y = 0;
  int32_t smooth = 0, antialias = 0;
  SpriteGetScale(nullptr, a, &x, &y, &smooth);
  EXPECT_EQ(x, 2.0f);
  EXPECT_EQ(y, 0.5f);
  EXPECT_EQ(smooth, 1);
  EXPECT_EQ(SpriteGetAngle(nullptr, a, &antialias), 90);
  EXPECT_EQ(antialias, 1);
  SpriteRect r{};
  SpriteGetRect(nullptr, a, &r);
  EXPECT_EQ(r.left, a->nextRect.left);
  EXPECT_EQ(r.bottom, a->nextRect.bottom);
  EXPECT_EQ(SpriteIsBehind(nullptr, a, b), 1);
  EXPECT_EQ(SpriteIsInFront(nullptr, b, a), 1);
  EXPECT_EQ(SpriteIsInFront(nullptr, a, b), 0);
  EXPECT_EQ(SpriteNext(nullptr, a, 0), b);
  EXPECT_EQ(SpritePrevious(nullptr, b, 0), a);
  EXPECT_EQ(SpriteSetCollision(nullptr, a, 0), 1);
  // Without a sprite: defaults, nothing written but the scale.
  SpriteGetScale(nullptr, nullptr, &x, &y, nullptr);
  EXPECT_EQ(x, 1.0f);
  EXPECT_EQ(y, 1.0f);
  struct Row { int32_t got; } nulls[] = {{SpriteGetUserValue(nullptr, nullptr)}, {int32_t(SpriteGetFlags(nullptr, nullptr))},
                                         {SpriteGetLayer(nullptr, nullptr)}, {SpriteGetAngle(nullptr, nullptr, nullptr)},
                                         {SpriteIsBehind(nullptr, a, nullptr)}, {SpriteSetCollision(nullptr, nullptr, 1)}};
  for (const Row& n : nulls) EXPECT_EQ(n.got, 0);
  EXPECT_EQ(SpriteNext(nullptr, nullptr, 0), nullptr);
  SpriteGetRect(nullptr, nullptr, &r);
  SavedRectFree(nullptr);
}

}  // namespace
