// The system colour cache over a recording source: what is asked, when the
// table loads, and that the display's reduction is applied.
#include <gtest/gtest.h>

#include <vector>

#include "surface/SysColors.h"

namespace {

class FakeColours final : public SysColorSource {
 public:
  std::vector<int32_t> asked;
  int reductions = 0;
  bool sixteenBits = false;
  uint32_t Colour(int32_t index) override {
    asked.push_back(index);
    return 0x00102030u + uint32_t(index) * 0x00010307u;
  }
  int32_t ReduceToDisplay(uint32_t* table, int32_t count) override {
    ++reductions;
    if (sixteenBits)
      for (int32_t i = 0; i < count; ++i) table[i] &= 0xF8FCF8u;
    return 1;
  }
};

TEST(SysColors, CacheAsksEveryIndexButTheUnusedOne) {
  FakeColours source;
  SysColorCache cache(&source);
  uint32_t table[kSysColorCount] = {};
  EXPECT_EQ(cache.Cache(table), 1);
  ASSERT_EQ(source.asked.size(), size_t(kSysColorCount - 1));
  for (int32_t index : source.asked) EXPECT_NE(index, kSysColorUnused);
  for (int32_t i = 0; i < kSysColorCount; ++i)
    EXPECT_EQ(table[i], i == kSysColorUnused ? 0u : 0x00102030u + uint32_t(i) * 0x00010307u) << i;
  EXPECT_EQ(source.reductions, 1);
}

TEST(SysColors, ReducedDisplayKeepsTheTopBits) {
  FakeColours source;
  source.sixteenBits = true;
  uint32_t table[kSysColorCount] = {};
  SysColorCache(&source).Cache(table);
  EXPECT_EQ(table[3], (0x00102030u + 3 * 0x00010307u) & 0xF8FCF8u);
}

TEST(SysColors, FirstReadLoadsOnceAndOtherIndicesAskThePlatform) {
  FakeColours source;
  SysColorCache cache(&source);
  uint32_t table[kSysColorCount] = {};
  int32_t loaded = 0;

  // Refreshing before anything was loaded does nothing.
  EXPECT_EQ(cache.Refresh(table, &loaded), 0);
  EXPECT_TRUE(source.asked.empty());
  EXPECT_EQ(loaded, 0);
  // A direct fill does not mark the table loaded.
  cache.Cache(table);
  EXPECT_EQ(loaded, 0);
  source.asked.clear();

  EXPECT_EQ(cache.Get(table, &loaded, 40), 0x00102030u + 40 * 0x00010307u);
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(source.asked.size(), size_t(kSysColorCount - 1) + 1);  // the load, then index 40
  EXPECT_EQ(source.asked.back(), 40);

  source.asked.clear();
  table[7] = 0xABCDEF;  // served from the table from now on
  EXPECT_EQ(cache.Get(table, &loaded, 7), 0xABCDEFu);
  EXPECT_EQ(cache.Get(table, &loaded, -1), 0x00102030u - 0x00010307u);
  EXPECT_EQ(source.asked, std::vector<int32_t>{-1});

  EXPECT_EQ(cache.Refresh(table, &loaded), 1);
  EXPECT_EQ(table[7], 0x00102030u + 7 * 0x00010307u);
}

TEST(SysColors, WithoutAPlatformNothingIsAsked) {
  SysColorCache cache(nullptr);
  uint32_t table[kSysColorCount] = {};
  int32_t loaded = 0;
  EXPECT_EQ(cache.Cache(table), 0);
  EXPECT_EQ(cache.Get(table, &loaded, 3), 0u);
  EXPECT_EQ(cache.Get(table, &loaded, 99), 0u);
  EXPECT_EQ(loaded, 1);
}

}  // namespace
