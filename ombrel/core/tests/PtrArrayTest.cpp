#include "PtrArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Memory.h"

namespace {

void* V(intptr_t n) { return reinterpret_cast<void*>(n); }

// The three variables an owner keeps.
struct Owner {
  void** items = nullptr;
  int32_t count = 0;
  int32_t capacity = 0;
  ~Owner() {
    void* block = items;
    MemFree(&block);
  }
  void Push(intptr_t value) {
    ASSERT_TRUE(PtrArrayGrow(&items, count, &capacity, count + 1));
    items[count++] = V(value);
  }
};

// Capacity for the largest count is 2^29 slots: 4 GB with 8-byte pointers,
// more than one allocation request can name. Refused, never a short array.
#if UINTPTR_MAX > 0xFFFFFFFFu  // with 4-byte pointers the request fits: nothing to refuse
TEST(PtrArray, LargestCapacityNeverGetsAShortArray) {
  Owner o;
  o.Push(7);
  const int32_t capacity = o.capacity;
  EXPECT_FALSE(PtrArrayGrow(&o.items, o.count, &o.capacity, 0x1FFFFFFF));
  EXPECT_FALSE(PtrArrayShrink(&o.items, o.count, &o.capacity, 0x1FFFFFFF));
  EXPECT_EQ(o.capacity, capacity);
  EXPECT_GE(MemSize(o.items), uint64_t(o.capacity) * sizeof(void*));
  EXPECT_EQ(o.items[0], V(7));
}
#endif

TEST(PtrArray, GrowRoundsUpToSixteen) {
  Owner o;
  ASSERT_TRUE(PtrArrayGrow(&o.items, 0, &o.capacity, 1));
  EXPECT_EQ(o.capacity, 16);
  EXPECT_NE(o.items, nullptr);
  void** before = o.items;
  ASSERT_TRUE(PtrArrayGrow(&o.items, 0, &o.capacity, 15));  // below the capacity: nothing
  EXPECT_EQ(o.items, before);
  EXPECT_EQ(o.capacity, 16);
  for (intptr_t i = 1; i <= 33; ++i) o.Push(i);
  EXPECT_EQ(o.capacity, 48);
  for (intptr_t i = 0; i < 33; ++i) EXPECT_EQ(o.items[i], V(i + 1));
  EXPECT_FALSE(PtrArrayGrow(&o.items, 0, &o.capacity, 0x20000000));  // beyond the largest count
  EXPECT_EQ(o.capacity, 48);
}

TEST(PtrArray, ShrinkSetsTheRoundedCapacity) {
  Owner o;
  for (intptr_t i = 1; i <= 40; ++i) o.Push(i);
  ASSERT_TRUE(PtrArrayShrink(&o.items, 0, &o.capacity, 20));
  EXPECT_EQ(o.capacity, 32);
  EXPECT_EQ(o.items[19], V(20));
  ASSERT_TRUE(PtrArrayShrink(&o.items, 0, &o.capacity, 17));  // same capacity
  EXPECT_EQ(o.capacity, 32);
  ASSERT_TRUE(PtrArrayShrink(&o.items, 0, &o.capacity, 0));
  EXPECT_EQ(o.capacity, 0);
  EXPECT_EQ(o.items, nullptr);
  o.count = 0;
  EXPECT_FALSE(PtrArrayShrink(&o.items, 0, &o.capacity, -1));
}

TEST(PtrArray, RemoveAtGivesBackSlotsAndFreesWhenEmpty) {
  Owner o;
  for (intptr_t i = 1; i <= 33; ++i) o.Push(i);
  ASSERT_EQ(o.capacity, 48);
  EXPECT_EQ(PtrArrayRemoveAt(&o.items, &o.count, &o.capacity, 0), 48);  // 48 - 32 is not above 16
  EXPECT_EQ(o.items[0], V(2));
  EXPECT_EQ(PtrArrayRemoveAt(&o.items, &o.count, &o.capacity, 30), 32);  // 48 - 31 is
  EXPECT_EQ(o.count, 31);
  EXPECT_EQ(o.items[29], V(31));
  EXPECT_EQ(o.items[30], V(33));
  while (o.count > 1) {
    const int32_t cap = PtrArrayRemoveAt(&o.items, &o.count, &o.capacity, o.count - 1);
    EXPECT_EQ(cap, o.capacity);
    EXPECT_LE(o.capacity - o.count, 16);
  }
  EXPECT_EQ(o.items[0], V(2));
  EXPECT_EQ(PtrArrayRemoveAt(&o.items, &o.count, &o.capacity, 0), 0);
  EXPECT_EQ(o.items, nullptr);
  EXPECT_EQ(o.count, 0);
}

TEST(PtrArray, BadArgumentsChangeNothing) {
  Owner o;
  o.Push(1);
  o.Push(2);
  for (int32_t bad : {-1, 2, INT32_MAX}) EXPECT_EQ(PtrArrayRemoveAt(&o.items, &o.count, &o.capacity, bad), 16);
  EXPECT_EQ(o.count, 2);
  EXPECT_EQ(PtrArrayRemoveAt(nullptr, &o.count, &o.capacity, 0), 0);
  EXPECT_EQ(PtrArrayRemoveAt(&o.items, nullptr, &o.capacity, 0), 0);
  EXPECT_FALSE(PtrArrayGrow(nullptr, 0, &o.capacity, 40));
  EXPECT_FALSE(PtrArrayGrow(&o.items, 0, nullptr, 40));
  EXPECT_FALSE(PtrArrayShrink(&o.items, 0, nullptr, 0));
  EXPECT_EQ(o.capacity, 16);
  EXPECT_EQ(o.items[1], V(2));
}

}  // namespace
