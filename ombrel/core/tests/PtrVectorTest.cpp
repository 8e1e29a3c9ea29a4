#include "PtrVector.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "Memory.h"

namespace {

void* V(intptr_t n) { return reinterpret_cast<void*>(n); }

std::vector<intptr_t> Items(const cPtrVector& v) {
  std::vector<intptr_t> out;
  for (int32_t i = 0; i < v.GetCount(); ++i) out.push_back(reinterpret_cast<intptr_t>(v.GetAt(i)));
  return out;
}

// Slots from the count up to the capacity (count rounded up to 16) must hold null.
void ExpectSlackIsNull(const cPtrVector& v) {
  const int32_t capacity = (v.GetCount() + 15) / 16 * 16;
  for (int32_t i = v.GetCount(); i < capacity; ++i) ASSERT_EQ(v.GetData()[i], nullptr) << i;
}

TEST(PtrVector, SetSizeRoundsTheCapacityAndZeroes) {
  cPtrVector v;
  EXPECT_EQ(v.GetData(), nullptr);
  ASSERT_TRUE(v.SetSize(17));
  EXPECT_EQ(v.GetCount(), 17);
  for (int32_t i = 0; i < 32; ++i) EXPECT_EQ(v.GetData()[i], nullptr) << i;
  ASSERT_TRUE(v.SetSize(0));
  EXPECT_EQ(v.GetData(), nullptr);
  EXPECT_EQ(v.GetCount(), 0);
}

TEST(PtrVector, AddGrowsPastSixteen) {
  cPtrVector v;
  for (intptr_t i = 0; i < 16; ++i) EXPECT_EQ(v.Add(V(i + 1)), i);
  EXPECT_EQ(v.Add(V(17)), 16);
  EXPECT_EQ(v.GetCount(), 17);
  EXPECT_EQ(v.GetAt(16), V(17));
  EXPECT_EQ(v.GetAt(0), V(1));
  ExpectSlackIsNull(v);
}

TEST(PtrVector, ShrinkingNullsSoRegrowingExposesNothing) {
  cPtrVector v;
  for (intptr_t i = 1; i <= 40; ++i) v.Add(V(i));
  ASSERT_TRUE(v.SetSize(5));   // a smaller capacity: reallocated
  ExpectSlackIsNull(v);
  ASSERT_TRUE(v.SetSize(40));
  for (int32_t i = 5; i < 40; ++i) EXPECT_EQ(v.GetAt(i), nullptr) << i;
  ASSERT_TRUE(v.SetSize(34));  // the same capacity: no reallocation
  ExpectSlackIsNull(v);        // what GetData hands out past the count
  ASSERT_TRUE(v.SetSize(40));
  for (int32_t i = 34; i < 40; ++i) EXPECT_EQ(v.GetAt(i), nullptr) << i;
  EXPECT_EQ(v.RemoveRange(0, 30), 10);
  ASSERT_TRUE(v.SetSize(40));
  for (int32_t i = 10; i < 40; ++i) EXPECT_EQ(v.GetAt(i), nullptr) << i;
}

TEST(PtrVector, InsertAtPlacesCopies) {
  cPtrVector v;
  v.Add(V('a'));
  v.Add(V('b'));
  ASSERT_TRUE(v.InsertAt(1, V('p'), 3));
  EXPECT_EQ(Items(v), (std::vector<intptr_t>{'a', 'p', 'p', 'p', 'b'}));
  ASSERT_TRUE(v.InsertAt(5, V('z'), 1));  // at the count: appends
  ASSERT_TRUE(v.InsertAt(0, V('q'), 0));  // nothing to insert
  EXPECT_EQ(Items(v), (std::vector<intptr_t>{'a', 'p', 'p', 'p', 'b', 'z'}));
}

TEST(PtrVector, RefusesCountsOutsideTheRange) {
  cPtrVector v;
  v.Add(V(1));
  v.Add(V(2));
  EXPECT_EQ(cPtrVector::GetMaxCount(), 0x1FFFFFFF);
  EXPECT_FALSE(v.SetSize(-1));
  EXPECT_FALSE(v.SetSize(cPtrVector::GetMaxCount() + 1));
  EXPECT_FALSE(v.InsertAt(3, V(9), 1));   // past the count
  EXPECT_FALSE(v.InsertAt(-1, V(9), 1));  // unsigned test: huge
  EXPECT_FALSE(v.InsertAt(0, V(9), -1));
  EXPECT_FALSE(v.InsertAt(0, V(9), INT32_MAX));  // count + n would overflow
  EXPECT_FALSE(v.InsertAt(0, V(9), cPtrVector::GetMaxCount() - 1));
  EXPECT_FALSE(v.SetAtGrow(-1, V(9)));
  EXPECT_FALSE(v.SetAtGrow(INT32_MAX, V(9)));
  EXPECT_EQ(Items(v), (std::vector<intptr_t>{1, 2}));
}

// The largest count needs 2^29 slots: with 8-byte pointers that is 4 GB,
// beyond what one allocation request can name. Refused, never a short array.
#if UINTPTR_MAX > 0xFFFFFFFFu  // with 4-byte pointers the request fits: nothing to refuse
TEST(PtrVector, LargestCountNeverGetsAShortArray) {
  const int32_t max = cPtrVector::GetMaxCount();
  cPtrVector empty;
  EXPECT_FALSE(empty.SetSize(max));
  EXPECT_EQ(empty.GetCount(), 0);
  cPtrVector grown;
  grown.Add(V(1));
  EXPECT_FALSE(grown.SetAtGrow(max - 1, V(2)));
  EXPECT_EQ(grown.GetCount(), 1);
  EXPECT_EQ(grown.GetAt(0), V(1));
}
#endif

TEST(PtrVector, IndexChecks) {
  cPtrVector v;
  EXPECT_EQ(v.GetAt(0), nullptr);
  v.Add(V(1));
  v.Add(V(2));
  for (int32_t bad : {-1, 2, 16, INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(v.GetAt(bad), nullptr);
    EXPECT_EQ(v.ElementAt(bad), nullptr);
    v.SetAt(bad, V(9));
    EXPECT_EQ(v.ClearAt(bad), bad);
  }
  EXPECT_EQ(Items(v), (std::vector<intptr_t>{1, 2}));
  v.SetAt(1, V(5));
  EXPECT_EQ(v.ElementAt(1), V(5));
  EXPECT_EQ(v.ClearAt(0), 0);
  EXPECT_EQ(Items(v), (std::vector<intptr_t>{0, 5}));
}

TEST(PtrVector, SetAtGrowExtendsWithNulls) {
  cPtrVector v;
  ASSERT_TRUE(v.SetAtGrow(40, V(7)));
  EXPECT_EQ(v.GetCount(), 41);
  EXPECT_EQ(v.GetAt(40), V(7));
  for (int32_t i = 0; i < 40; ++i) EXPECT_EQ(v.GetAt(i), nullptr);
  ASSERT_TRUE(v.SetAtGrow(3, V(8)));  // inside: no growth
  EXPECT_EQ(v.GetCount(), 41);
  EXPECT_EQ(v.GetAt(3), V(8));
  ExpectSlackIsNull(v);
}

TEST(PtrVector, RemoveRangeStopsAtTheEnd) {
  struct Case {
    int32_t index, n, count;
    std::vector<intptr_t> left;
  };
  const Case cases[] = {
      {1, 1, 3, {'a', 'c', 'd'}}, {2, 100, 2, {'a', 'b'}}, {0, 4, 0, {}},
      {4, 1, 4, {'a', 'b', 'c', 'd'}}, {-1, 1, 4, {'a', 'b', 'c', 'd'}}, {1, 0, 4, {'a', 'b', 'c', 'd'}},
      {1, -3, 4, {'a', 'b', 'c', 'd'}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.index << "," << c.n);
    cPtrVector v;
    for (char ch : {'a', 'b', 'c', 'd'}) v.Add(V(ch));
    EXPECT_EQ(v.RemoveRange(c.index, c.n), c.count);
    EXPECT_EQ(Items(v), c.left);
    ExpectSlackIsNull(v);
  }
}

TEST(PtrVector, CopiesAreDeepAndSelfAssignmentIsSafe) {
  cPtrVector a;
  for (intptr_t i = 1; i <= 20; ++i) a.Add(V(i));
  cPtrVector b(a);
  cPtrVector c;
  c.Add(V(99));
  c = a;
  a.SetAt(0, V(-1));
  a.RemoveAll();
  EXPECT_EQ(b.GetAt(0), V(1));
  EXPECT_EQ(Items(b).size(), 20u);
  EXPECT_EQ(Items(c), Items(b));
  EXPECT_NE(b.GetData(), c.GetData());
  c = *&c;
  EXPECT_EQ(Items(c), Items(b));
  c = a;  // assigning an empty vector empties
  EXPECT_EQ(c.GetCount(), 0);
  EXPECT_EQ(c.Add(V(3)), 0);
}

TEST(SpriteVector, SharesTheLayoutAndBehaviour) {
  static_assert(sizeof(cSpriteVector) == sizeof(cPtrVector));
  cSpriteVector a;
  a.Add(V(1));
  ASSERT_TRUE(a.InsertAt(0, V(2), 2));
  cSpriteVector b;
  b = a;
  a.SetAt(0, V(9));
  EXPECT_EQ(Items(b), (std::vector<intptr_t>{2, 2, 1}));
  cSpriteVector c(b);
  EXPECT_EQ(Items(c), Items(b));
}

// Random edits against a std::vector model; the slack stays null throughout.
TEST(PtrVector, MatchesAModelUnderRandomOperations) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    cPtrVector v;
    std::vector<intptr_t> model;
    intptr_t next = 1;
    for (int step = 0; step < 400; ++step) {
      const int32_t count = static_cast<int32_t>(model.size());
      const int32_t i = static_cast<int32_t>(rng() % (count + 3)) - 1;
      const int32_t n = static_cast<int32_t>(rng() % 20) - 2;
      const intptr_t val = next++;
      switch (rng() % 6) {
        case 0: EXPECT_EQ(v.Add(V(val)), count); model.push_back(val); break;
        case 1:
          if (v.InsertAt(i, V(val), n)) model.insert(model.begin() + i, n, val);
          else EXPECT_TRUE(i < 0 || i > count || n < 0);
          break;
        case 2:
          v.RemoveRange(i, n);
          if (i >= 0 && i < count && n > 0)
            model.erase(model.begin() + i, model.begin() + std::min(count, i + n));
          break;
        case 3:
          if (n >= 0) {
            ASSERT_TRUE(v.SetSize(n * 3));
            model.resize(size_t(n) * 3, 0);
          }
          break;
        case 4:
          if (v.SetAtGrow(i + 2, V(val))) {
            if (i + 2 >= count) model.resize(size_t(i) + 3, 0);
            model[size_t(i) + 2] = val;
          }
          break;
        case 5: v.SetAt(i, V(val)); if (i >= 0 && i < count) model[size_t(i)] = val; break;
      }
      ASSERT_EQ(Items(v), model);
      ExpectSlackIsNull(v);
    }
  }
}

}  // namespace
