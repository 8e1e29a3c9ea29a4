#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "window/UpdateList.h"

namespace {

bool Same(const SurfaceRect& a, const SurfaceRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::vector<SurfaceRect> Entries(const UpdateList& list) {
  return std::vector<SurfaceRect>(list.rects, list.rects + list.count);
}

std::unique_ptr<UpdateList> EmptyList() {
  auto list = std::make_unique<UpdateList>();
  list->count = 0;
  return list;
}

struct Case {
  const char* name;
  bool keepApart;
  std::vector<SurfaceRect> adds;
  std::vector<SurfaceRect> expected;  // in list order
};

TEST(UpdateList, AddsFollowTheMergeAndKeepApartRules) {
  const Case cases[] = {
      {"touching rectangles stay two", false, {{0, 0, 10, 10}, {10, 0, 20, 10}},
       {{0, 0, 10, 10}, {10, 0, 20, 10}}},
      {"a rectangle over both merges all three", false,
       {{0, 0, 10, 10}, {10, 0, 20, 10}, {5, 5, 15, 15}}, {{0, 0, 20, 15}}},
      {"a merged rectangle reaches an entry already scanned", false,
       {{5, 5, 8, 8}, {0, 0, 10, 3}, {9, 2, 12, 12}}, {{0, 0, 12, 12}}},
      {"disjoint rectangles keep their order", false, {{0, 0, 2, 2}, {5, 5, 6, 6}, {9, 0, 10, 1}},
       {{0, 0, 2, 2}, {5, 5, 6, 6}, {9, 0, 10, 1}}},
      {"corners are sorted", false, {{10, 20, 0, 5}}, {{0, 5, 10, 20}}},
      {"keep apart: a held rectangle adds nothing", true, {{0, 0, 10, 10}, {2, 2, 4, 4}},
       {{0, 0, 10, 10}}},
      {"keep apart: a holding rectangle replaces the entry", true, {{0, 0, 10, 10}, {0, 0, 20, 20}},
       {{0, 0, 20, 20}}},
      {"keep apart: overlapping rectangles both stand", true, {{0, 0, 10, 10}, {5, 5, 15, 15}},
       {{0, 0, 10, 10}, {5, 5, 15, 15}}},
  };
  for (const Case& c : cases) {
    auto list = EmptyList();
    for (const SurfaceRect& r : c.adds) UpdateListAdd(*list, r, c.keepApart);
    const std::vector<SurfaceRect> got = Entries(*list);
    ASSERT_EQ(got.size(), c.expected.size()) << c.name;
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_TRUE(Same(got[i], c.expected[i]))
          << c.name << ": entry " << i << " is " << got[i].left << "," << got[i].top << ","
          << got[i].right << "," << got[i].bottom;
    }
  }
}

TEST(UpdateList, TheRectangleAfterAFullListEnlargesTheFirstEntry) {
  auto list = EmptyList();
  for (int32_t i = 0; i < UpdateList::kCapacity; ++i) {
    const int32_t x = (i % 32) * 4;
    const int32_t y = (i / 32) * 4;
    UpdateListAdd(*list, {x, y, x + 2, y + 2}, false);
  }
  ASSERT_EQ(list->count, 513);
  const SurfaceRect last = list->rects[512];
  UpdateListAdd(*list, {0, 200, 3, 203}, false);
  EXPECT_EQ(list->count, 513);
  EXPECT_TRUE(Same(list->rects[0], SurfaceRect{0, 0, 3, 203}));
  EXPECT_TRUE(Same(list->rects[512], last));
}

TEST(UpdateList, SetWholeLeavesOneRectangle) {
  auto list = EmptyList();
  UpdateListAdd(*list, {1, 1, 2, 2}, false);
  UpdateListAdd(*list, {5, 5, 6, 6}, false);
  UpdateListSetWhole(*list, 320, 240);
  ASSERT_EQ(list->count, 1);
  EXPECT_TRUE(Same(list->rects[0], SurfaceRect{0, 0, 320, 240}));
}

TEST(UpdateList, ACountOutOfRangeIsTakenAsTheNearestValidCount) {
  auto list = EmptyList();
  list->count = -7;
  UpdateListAdd(*list, {0, 0, 1, 1}, false);
  EXPECT_EQ(list->count, 1);
  list->count = 100000;
  UpdateListAdd(*list, {0, 0, 1, 1}, true);
  EXPECT_EQ(list->count, 513);
}

bool Covers(const std::vector<SurfaceRect>& entries, int32_t x, int32_t y) {
  for (const SurfaceRect& r : entries)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

bool Overlap(const SurfaceRect& a, const SurfaceRect& b) {
  return a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
}

// After random adds every added pixel is listed and, merging, no two entries
// share a pixel (below the overflow, which only ever grows entry 0).
TEST(UpdateList, RandomAddsStayCoveredAndMergedEntriesNeverOverlap) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int32_t> pos(-20, 220);
    std::uniform_int_distribution<int32_t> size(0, 30);
    for (bool keepApart : {false, true}) {
      auto list = EmptyList();
      std::vector<SurfaceRect> added;
      const int adds = 1 + int(rng() % 120);
      for (int i = 0; i < adds; ++i) {
        const int32_t x = pos(rng), y = pos(rng);
        SurfaceRect r{x, y, x + size(rng), y + size(rng)};
        if (rng() & 1) std::swap(r.left, r.right);
        added.push_back({std::min(r.left, r.right), y, std::max(r.left, r.right), r.bottom});
        UpdateListAdd(*list, r, keepApart);
      }
      const std::vector<SurfaceRect> entries = Entries(*list);
      for (const SurfaceRect& a : added)
        for (int32_t y = a.top; y < a.bottom; ++y)
          for (int32_t x = a.left; x < a.right; ++x)
            ASSERT_TRUE(Covers(entries, x, y)) << "seed " << seed << " pixel " << x << "," << y;
      for (const SurfaceRect& e : entries) {
        EXPECT_LE(e.left, e.right);
        EXPECT_LE(e.top, e.bottom);
      }
      if (keepApart) continue;
      for (size_t i = 0; i < entries.size(); ++i)
        for (size_t j = i + 1; j < entries.size(); ++j)
          EXPECT_FALSE(Overlap(entries[i], entries[j])) << "seed " << seed << " " << i << "/" << j;
    }
  }
}

}  // namespace
