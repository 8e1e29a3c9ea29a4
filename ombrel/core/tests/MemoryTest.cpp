#include "Memory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

// A heap that refuses the next `failures` requests of every kind and counts calls.
class FaultyHeap final : public HeapBackend {
 public:
  explicit FaultyHeap(int failures) : failures_(failures) {}
  void* Alloc(size_t size) override { return ++calls, Fail() ? nullptr : std::malloc(size); }
  void* Calloc(size_t size) override { return ++calls, Fail() ? nullptr : std::calloc(1, size); }
  void* Realloc(void* block, size_t size) override {
    return ++calls, Fail() ? nullptr : std::realloc(block, size);
  }
  void Free(void* block) override { std::free(block); }
  int Compact() override { return ++compactions, 0; }
  size_t UsableSize(void*) override { return 0; }

  int calls = 0;
  int compactions = 0;

 private:
  bool Fail() { return failures_-- > 0; }
  int failures_;
};

enum class Op { Alloc, Calloc, Realloc };

struct RetryCase {
  Op op;
  int failures;
  bool obtained;
  int calls;
  int compactions;
};

class HeapRetry : public ::testing::TestWithParam<RetryCase> {};

TEST_P(HeapRetry, RetriesExactlyOnceAfterOneCompaction) {
  const RetryCase c = GetParam();
  FaultyHeap heap(c.failures);
  void* sentinel = std::malloc(8);
  void* block = sentinel;
  bool ok = false;
  switch (c.op) {
    case Op::Alloc: ok = HeapAllocate(heap, 32, &block); break;
    case Op::Calloc: ok = HeapAllocateZeroed(heap, 32, &block); break;
    case Op::Realloc: ok = HeapReallocate(heap, 32, &block); break;
  }
  EXPECT_EQ(ok, c.obtained);
  EXPECT_EQ(heap.calls, c.calls);
  EXPECT_EQ(heap.compactions, c.compactions);
  if (c.op == Op::Realloc) {
    // A failed reallocation leaves the variable on the old, still valid block.
    if (!ok) {
      EXPECT_EQ(block, sentinel);
    }
    std::free(block);
  } else {
    // Allocation always stores its outcome: null on failure.
    EXPECT_EQ(block != nullptr, c.obtained);
    std::free(block);
    std::free(sentinel);
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, HeapRetry,
    ::testing::Values(RetryCase{Op::Alloc, 0, true, 1, 0}, RetryCase{Op::Alloc, 1, true, 2, 1},
                      RetryCase{Op::Alloc, 2, false, 2, 1}, RetryCase{Op::Calloc, 0, true, 1, 0},
                      RetryCase{Op::Calloc, 1, true, 2, 1}, RetryCase{Op::Calloc, 2, false, 2, 1},
                      RetryCase{Op::Realloc, 0, true, 1, 0}, RetryCase{Op::Realloc, 1, true, 2, 1},
                      RetryCase{Op::Realloc, 2, false, 2, 1}));

TEST(HeapReallocate, FailureKeepsTheOldContents) {
  FaultyHeap ok(0);
  void* block = nullptr;
  ASSERT_TRUE(HeapAllocate(ok, 4, &block));
  std::memcpy(block, "abc", 4);
  FaultyHeap failing(2);
  EXPECT_FALSE(HeapReallocate(failing, 4096, &block));
  EXPECT_STREQ(static_cast<char*>(block), "abc");
  std::free(block);
}

TEST(HeapLockCounter, NeverGoesBelowZeroAndEveryUnlockCompacts) {
  HeapLockCounter counter;
  FaultyHeap heap(0);
  counter.Unlock(heap);
  EXPECT_EQ(counter.Count(), 0);
  EXPECT_EQ(heap.compactions, 1);
  counter.Lock();
  counter.Lock();
  EXPECT_EQ(counter.Count(), 2);
  counter.Unlock(heap);
  counter.Unlock(heap);
  counter.Unlock(heap);
  EXPECT_EQ(counter.Count(), 0);
  EXPECT_EQ(heap.compactions, 4);
}

TEST(ProcessHeap, FlatFunctionsRoundTrip) {
  void* block = nullptr;
  ASSERT_TRUE(MemCalloc(100, &block));
  ASSERT_NE(block, nullptr);
  const auto* bytes = static_cast<unsigned char*>(block);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(bytes[i], 0) << i;
  EXPECT_GE(MemSize(block), 100u);

  std::memcpy(block, "keep", 5);
  ASSERT_TRUE(MemRealloc(5000, &block));
  EXPECT_STREQ(static_cast<char*>(block), "keep");
  EXPECT_GE(MemSize(block), 5000u);

  MemFree(&block);
  EXPECT_EQ(block, nullptr);
  MemFree(&block);  // a null variable is left alone
  EXPECT_EQ(block, nullptr);
}

TEST(ProcessHeap, ZeroSizeStillGivesABlock) {
  void* block = nullptr;
  ASSERT_TRUE(MemAlloc(0, &block));
  EXPECT_NE(block, nullptr);
  ASSERT_TRUE(MemRealloc(0, &block));  // not a disguised free
  EXPECT_NE(block, nullptr);
  MemFree(&block);
}

TEST(ProcessHeap, NullArgumentsFailAtOnce) {
  EXPECT_FALSE(MemAlloc(16, nullptr));
  EXPECT_FALSE(MemCalloc(16, nullptr));
  EXPECT_FALSE(MemRealloc(16, nullptr));
  EXPECT_EQ(MemSize(nullptr), 0u);
  MemFree(nullptr);
}

TEST(ProcessHeap, HeapLockCountsThroughTheFlatFunctions) {
  const int32_t before = ProcessHeapLock().Count();
  HeapLock();
  EXPECT_EQ(ProcessHeapLock().Count(), before + 1);
  // Unlock reports the compaction's own result (Wine's runtime answers -1).
  EXPECT_EQ(HeapUnlock(), HeapCompact());
  EXPECT_EQ(ProcessHeapLock().Count(), before);
}

}  // namespace
