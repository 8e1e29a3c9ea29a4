#include "HandleList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <list>
#include <random>
#include <utility>
#include <vector>

namespace {

void* V(intptr_t n) { return reinterpret_cast<void*>(n); }

// Values front to back through Next, checked against the walk back through Prev.
std::vector<intptr_t> Values(const cHandleList& list) {
  std::vector<intptr_t> forward, backward;
  for (int32_t h = list.GetHead(); h != 0;) forward.push_back(reinterpret_cast<intptr_t>(list.Next(&h)));
  for (int32_t h = list.GetTail(); h != 0;) backward.push_back(reinterpret_cast<intptr_t>(list.Prev(&h)));
  std::reverse(backward.begin(), backward.end());
  EXPECT_EQ(forward, backward);
  EXPECT_EQ(static_cast<int32_t>(forward.size()), list.GetCount());
  return forward;
}

TEST(HandleList, FirstAddAllocatesAndReturnsHandleOne) {
  cHandleList list;
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetHead(), 0);
  EXPECT_TRUE(list.Grow());
  EXPECT_EQ(list.AddTail(V(10)), 1);
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(list.GetAt(1), V(10));
}

TEST(HandleList, FreedHandlesComeBackAsLateAsPossible) {
  cHandleList list;
  EXPECT_EQ(list.AddTail(V(1)), 1);
  EXPECT_EQ(list.AddTail(V(2)), 2);
  EXPECT_EQ(list.AddTail(V(3)), 3);
  list.Remove(2);
  EXPECT_EQ(list.GetAt(2), nullptr);
  for (int32_t expected = 4; expected <= 31; ++expected) EXPECT_EQ(list.AddTail(V(expected)), expected);
  EXPECT_EQ(list.AddTail(V(99)), 2);
  EXPECT_EQ(list.AddTail(V(100)), 32);  // the array grows by the step
  EXPECT_EQ(list.GetCount(), 32);
}

TEST(HandleList, LinksAtHeadTailAndAroundItems) {
  cHandleList list;
  const int32_t b = list.AddTail(V(2));
  list.AddHead(V(1));
  const int32_t d = list.AddTail(V(4));
  EXPECT_NE(list.InsertBefore(d, V(3)), 0);
  EXPECT_NE(list.InsertAfter(d, V(5)), 0);
  EXPECT_NE(list.InsertAfter(0, V(0)), 0);        // 0: at the head
  EXPECT_NE(list.InsertAfter(1000, V(6)), 0);     // past the array: at the tail
  EXPECT_NE(list.InsertBefore(list.GetHead(), V(-1)), 0);  // before the first: at the head
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{-1, 0, 1, 2, 3, 4, 5, 6}));

  list.MoveAfter(b, 0);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{2, -1, 0, 1, 3, 4, 5, 6}));
  list.MoveAfter(b, list.GetTail());
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{-1, 0, 1, 3, 4, 5, 6, 2}));
  list.MoveAfter(b, b);
  EXPECT_EQ(list.GetTail(), b);
  EXPECT_EQ(list.InsertBefore(0, V(7)), 0);
  EXPECT_EQ(list.Find(V(42)), 0);
  EXPECT_EQ(list.GetAt(list.Find(V(3))), V(3));
}

TEST(HandleList, RefusesInvalidAndFreedHandles) {
  cHandleList list;
  const int32_t a = list.AddTail(V(1));
  const int32_t b = list.AddTail(V(2));
  list.Remove(b);  // b is allocated but not in use now

  for (int32_t bad : {-1, 0, b, 32, 1000, INT32_MIN}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(list.GetAt(bad), nullptr);
    list.SetAt(bad, V(7));
    EXPECT_EQ(list.GetAt(bad), nullptr);
    EXPECT_EQ(list.InsertBefore(bad, V(8)), 0);
    list.MoveAfter(bad, a);
    list.MoveAfter(a, bad == 0 ? a : bad);
    int32_t h = bad;
    EXPECT_EQ(list.Next(&h), nullptr);
    EXPECT_EQ(h, 0);
    h = bad;
    EXPECT_EQ(list.Prev(&h), nullptr);
    EXPECT_EQ(h, 0);
    list.Remove(bad);
  }
  EXPECT_EQ(list.InsertAfter(b, V(9)), 0);
  EXPECT_EQ(list.InsertAfter(-5, V(9)), 0);
  EXPECT_EQ(list.Next(nullptr), nullptr);
  EXPECT_EQ(list.Prev(nullptr), nullptr);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{1}));

  cHandleList empty;
  int32_t h = 1;
  EXPECT_EQ(empty.Next(&h), nullptr);
  EXPECT_EQ(empty.GetAt(1), nullptr);
  empty.Remove(1);
  EXPECT_EQ(empty.Find(nullptr), 0);
}

TEST(HandleList, GrowStepIsClampedToTwo) {
  cHandleList list;
  list.SetGrowBy(0);
  for (intptr_t i = 1; i <= 5; ++i) EXPECT_EQ(list.AddTail(V(i)), i);
  list.SetGrowBy(-7);
  EXPECT_EQ(list.AddTail(V(6)), 6);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{1, 2, 3, 4, 5, 6}));
}

TEST(HandleList, RemoveAllKeepsTheStepAndStartsOver) {
  cHandleList list;
  list.SetGrowBy(4);
  for (intptr_t i = 1; i <= 6; ++i) list.AddTail(V(i));
  list.RemoveAll();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetHead(), 0);
  EXPECT_EQ(list.GetTail(), 0);
  for (intptr_t i = 1; i <= 4; ++i) EXPECT_EQ(list.AddTail(V(i)), i);  // step 4: handles 1..3, then grow
}

TEST(HandleList, CopiesAreDeepAndSelfAssignmentIsSafe) {
  cHandleList a;
  for (intptr_t i = 1; i <= 40; ++i) a.AddTail(V(i));
  cHandleList b(a);
  cHandleList c;
  c.AddTail(V(500));  // its old array must be released by the assignment
  c = a;
  a.SetAt(1, V(-1));
  a.Remove(2);
  a.AddTail(V(77));
  EXPECT_EQ(b.GetAt(1), V(1));
  EXPECT_EQ(c.GetAt(2), V(2));
  EXPECT_EQ(Values(b).size(), 40u);
  EXPECT_EQ(Values(c), Values(b));
  c = *&c;
  EXPECT_EQ(Values(c), Values(b));
  cHandleList empty;
  b = empty;
  EXPECT_EQ(b.GetCount(), 0);
  EXPECT_EQ(b.AddTail(V(1)), 1);
}

// Random operations against a std::list model of (handle, value) pairs.
TEST(HandleList, MatchesAModelUnderRandomOperations) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    cHandleList list;
    list.SetGrowBy(2 + static_cast<int32_t>(seed % 7));
    std::list<std::pair<int32_t, intptr_t>> model;
    intptr_t next = 1;
    auto pick = [&]() -> int32_t {
      if (model.empty() || rng() % 8 == 0) return static_cast<int32_t>(rng() % 64) - 2;
      auto it = model.begin();
      std::advance(it, rng() % model.size());
      return it->first;
    };
    auto at = [&](int32_t h) {
      return std::find_if(model.begin(), model.end(), [h](const auto& p) { return p.first == h; });
    };
    for (int step = 0; step < 600; ++step) {
      const intptr_t v = next++;
      switch (rng() % 7) {
        case 0: model.emplace_back(list.AddTail(V(v)), v); break;
        case 1: model.emplace_front(list.AddHead(V(v)), v); break;
        case 2: {
          const int32_t h = pick();
          const auto it = at(h);
          const int32_t got = list.InsertAfter(h, V(v));
          if (it != model.end()) {
            model.insert(std::next(it), {got, v});
          } else if (h == 0) {
            model.emplace_front(got, v);
          } else if (h < 0) {
            EXPECT_EQ(got, 0);
          } else if (got != 0) {
            model.emplace_back(got, v);  // past the array: at the tail
          }
          break;
        }
        case 3: {
          const int32_t h = pick();
          const auto it = at(h);
          const int32_t got = list.InsertBefore(h, V(v));
          if (it != model.end()) model.insert(it, {got, v});
          else EXPECT_EQ(got, 0);
          break;
        }
        case 4:
        case 5: {
          const int32_t h = pick();
          list.Remove(h);
          const auto it = at(h);
          if (it != model.end()) model.erase(it);
          break;
        }
        case 6: {
          const int32_t h = pick();
          const int32_t after = rng() % 5 == 0 ? 0 : pick();
          list.MoveAfter(h, after);
          const auto it = at(h);
          const auto to = at(after);
          if (it != model.end() && h != after && (after == 0 || to != model.end())) {
            const auto moved = *it;
            model.erase(it);
            model.insert(after == 0 ? model.begin() : std::next(at(after)), moved);
          }
          break;
        }
      }
      ASSERT_EQ(list.GetCount(), static_cast<int32_t>(model.size()));
    }
    std::vector<intptr_t> expected;
    for (const auto& [h, val] : model) {
      EXPECT_EQ(list.GetAt(h), V(val));
      EXPECT_EQ(list.Find(V(val)), h);
      expected.push_back(val);
    }
    EXPECT_EQ(Values(list), expected);
  }
}

}  // namespace
