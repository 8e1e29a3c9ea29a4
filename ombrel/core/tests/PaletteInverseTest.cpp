#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "palette/NearestPaletteEntry.h"
#include "palette/PaletteApi.h"

namespace {

double Distance(PaletteEntry e, uint32_t c) {
  const double dr = double(e.red) - double(c & 0xFF);
  const double dg = double(e.green) - double((c >> 8) & 0xFF);
  const double db = double(e.blue) - double((c >> 16) & 0xFF);
  return std::sqrt(dr * dr + dg * dg + db * db);
}

class PaletteInverse : public ::testing::Test {
 protected:
  void SetUp() override {
    defaultPalette_ = PaletteStartup();
    std::mt19937 rng(99);
    log_.version = kLogPaletteVersion;
    log_.count = 256;
    for (auto& e : log_.entries) e = PaletteEntry{uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
    log_.entries[0] = PaletteEntry{255, 0, 255, 0};
  }
  void TearDown() override {
    ReleasePalette(defaultPalette_);
    PaletteShutdown();
  }
  cPalette* defaultPalette_ = nullptr;
  LogPalette log_{};
};

TEST_F(PaletteInverse, CachedAnswersStayWithinTheKeyCellOfTheBruteForceAnswer) {
  cPalette* p = PaletteGetShared(&log_);
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(BuildInverseTable(p), 1);
  ASSERT_EQ(BuildInverseTable(p), 1);  // idempotent
  std::mt19937 rng(7);
  // Both the colour and the key colour lie in one 8x8x8 cell: the cached entry
  // is at most two cell diagonals farther than the true nearest one.
  const double slack = 2 * std::sqrt(3.0 * 7 * 7) + 1e-9;
  for (int k = 0; k < 20000; ++k) {
    const uint32_t colour = rng() & 0xFFFFFF;
    const int cached = PaletteNearestIndex(p, colour);
    const int brute = NearestPaletteEntry(p->log.entries, 256, colour);
    ASSERT_GE(cached, colour == 0 ? 0 : 1);
    ASSERT_LE(Distance(p->log.entries[cached], colour), Distance(p->log.entries[brute], colour) + slack)
        << std::hex << colour;
  }
  // Every palette colour whose key no other entry shares maps to its own entry.
  for (int i = 1; i < 256; ++i) {
    const uint32_t c = EntryColour(p->log.entries[i]);
    bool alone = true;
    for (int j = 1; j < 256; ++j)
      if (j != i && ColourKey(EntryColour(p->log.entries[j])) == ColourKey(c)) alone = false;
    if (alone) {
      EXPECT_EQ(PaletteNearestIndex(p, c), i);
    }
  }
  ReleasePalette(p);
}

TEST_F(PaletteInverse, AnswersDoNotDependOnTheOrderOfQuestions) {
  // Two palettes of the same colours (entry 0 differs so they are not shared).
  LogPalette other = log_;
  other.entries[0] = PaletteEntry{0, 255, 0, 0};
  cPalette* a = PaletteGetShared(&log_);
  cPalette* b = PaletteGetShared(&other);
  ASSERT_NE(a, b);
  BuildInverseTable(a);
  BuildInverseTable(b);
  std::mt19937 rng(11);
  std::vector<uint32_t> colours(5000);
  for (auto& c : colours) c = rng() & 0xFFFFFF;
  std::vector<int> forward, backward(colours.size());
  for (uint32_t c : colours) forward.push_back(PaletteNearestIndex(a, c));
  for (size_t i = colours.size(); i-- > 0;) backward[i] = PaletteNearestIndex(b, colours[i]);
  EXPECT_EQ(forward, backward);
  // And the answers agree with the uncached search on the colour each key stands for.
  for (uint32_t c : colours) {
    const uint32_t key = ColourKey(c);
    if (a->inverse[key] == 0) continue;
    bool seeded = false;  // entries answer their own keys
    for (int j = 1; j < 256; ++j) seeded |= ColourKey(EntryColour(a->log.entries[j])) == key;
    if (!seeded) {
      EXPECT_EQ(a->inverse[key], 1 + NearestPaletteEntry(a->log.entries + 1, 255, KeyColour(key)));
    }
  }
  ReleasePalette(a);
  ReleasePalette(b);
}

TEST_F(PaletteInverse, ShortPaletteNeverAnswersBeyondItsCount) {
  LogPalette small{};
  small.version = kLogPaletteVersion;
  small.count = 3;
  small.entries[0] = EntryFromColour(0x0000FF);
  small.entries[1] = EntryFromColour(0x00FF00);
  small.entries[2] = EntryFromColour(0xFF0000);
  cPalette* p = PaletteGetShared(&small);
  ASSERT_NE(p, nullptr);
  BuildInverseTable(p);
  std::mt19937 rng(3);
  for (int k = 0; k < 2000; ++k) {
    const uint32_t c = rng();
    EXPECT_LT(PaletteNearestIndex(p, c), 3);
    EXPECT_LT(NearestIndexCached(p, c), 3);
  }
  EXPECT_EQ(PaletteNearestIndex(p, 0x0000F0), 0);  // entry 0 takes part below 256 entries
  ReleasePalette(p);
}

}  // namespace
