// The depth a surface is saved at, by the surface's depth, its alpha channel
// and the depths the filter supports.
#include <gtest/gtest.h>

#include "image/ImageFileApi.h"

namespace {

TEST(SaveDepth, TargetThenFallbacksInTheirOrder) {
  constexpr uint32_t kAll = 124, k8And24 = 36, k32 = 64, k8 = 4, k24 = 32, kNone = 8 | 16;
  struct Row {
    int32_t depth;
    bool alpha;
    uint32_t supported;
    int32_t expected;
  } rows[] = {
      {8, false, kAll, 8},     {8, false, k32, 32},     {8, false, k24 | k32, 24}, {16, false, kAll, 24},
      {15, false, k8 | k32, 32}, {24, false, k8, 8},    {32, false, kAll, 24},    {32, true, kAll, 32},
      {8, true, k8And24, 24},  {32, true, k8, 8},       {24, false, kNone, 0},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ChooseSaveDepth(r.depth, r.alpha, r.supported), r.expected)
        << r.depth << (r.alpha ? " with alpha" : "") << " over " << r.supported;
}

}  // namespace
