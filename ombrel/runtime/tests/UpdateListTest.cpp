#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
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

// The merge as the rule states it, the scan restarting from the first entry
// after every fold: the list holds the same entries in the same order after
// each add, for random rectangles (nested, touching, empty ones and corners
// near the ends of the int range among them).
void ModelAdd(std::vector<SurfaceRect>& list, SurfaceRect r) {
  r = {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)};
  for (size_t i = 0; i < list.size();) {
    if (Overlap(r, list[i])) {
      r = {std::min(r.left, list[i].left), std::min(r.top, list[i].top), std::max(r.right, list[i].right),
           std::max(r.bottom, list[i].bottom)};
      list[i] = list.back();
      list.pop_back();
      i = 0;
    } else {
      ++i;
    }
  }
  if (list.size() < size_t(UpdateList::kCapacity))
    list.push_back(r);
  else
    list[0] = {std::min(list[0].left, r.left), std::min(list[0].top, r.top), std::max(list[0].right, r.right),
               std::max(list[0].bottom, r.bottom)};
}

TEST(UpdateList, MergesLikeTheRestartingScanAndBothScansAgree) {
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    std::mt19937 rng(seed);
    auto list = EmptyList();
    std::vector<SurfaceRect> model;
    const int32_t span = seed % 3 == 0 ? 2000 : 400;
    for (int i = 0; i < 700; ++i) {
      SurfaceRect r{};
      const uint32_t kind = rng() % 16;
      if (kind == 0) {
        const int32_t far[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX - 1, INT32_MAX};
        r = {far[rng() % 7], far[rng() % 7], far[rng() % 7], far[rng() % 7]};
      } else if (kind == 1 && !model.empty()) {  // inside or touching an entry
        const SurfaceRect& e = model[rng() % model.size()];
        const int32_t half = int32_t(e.left + (int64_t(e.right) - e.left) / 2);
        const int32_t past = int32_t(std::min<int64_t>(int64_t(e.right) + 5, INT32_MAX));
        r = rng() & 1 ? SurfaceRect{e.left, e.top, half, e.bottom} : SurfaceRect{e.right, e.top, past, e.bottom};
      } else {
        const int32_t x = int32_t(rng() % uint32_t(span)) - 20, y = int32_t(rng() % uint32_t(span)) - 20;
        r = {x, y, x + int32_t(rng() % 24), y + int32_t(rng() % 24)};
      }
      // The two scans from a random start over the list as it stands.
      const int32_t from = list->count > 0 ? int32_t(rng() % uint32_t(list->count)) : 0;
      const SurfaceRect sorted{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                               std::max(r.top, r.bottom)};
      ASSERT_EQ(UpdateListFirstOverlapPlain(list->rects, list->count, sorted, from),
                UpdateListFirstOverlapVector(list->rects, list->count, sorted, from))
          << "seed " << seed << " add " << i;
      UpdateListAdd(*list, r, false);
      ModelAdd(model, r);
      ASSERT_EQ(list->count, int32_t(model.size())) << "seed " << seed << " add " << i;
      for (size_t k = 0; k < model.size(); ++k)
        ASSERT_TRUE(Same(list->rects[k], model[k])) << "seed " << seed << " add " << i << " entry " << k;
    }
  }
}

}  // namespace
