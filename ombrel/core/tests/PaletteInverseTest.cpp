#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "palette/PaletteApi.h"
#include "support/PaletteReference.h"

namespace {

LogPalette MakeLog(int count, std::initializer_list<uint32_t> colours) {
  LogPalette log{};
  log.version = kLogPaletteVersion;
  log.count = uint16_t(count);
  int i = 0;
  for (uint32_t c : colours) log.entries[i++] = EntryFromColour(c);
  return log;
}

class PaletteInverse : public ::testing::Test {
 protected:
  void SetUp() override {
    defaultPalette_ = PaletteStartup();
    ASSERT_NE(defaultPalette_, nullptr);
    std::mt19937 rng(99);
    random_ = MakeLog(256, {0xFF00FF});
    for (int i = 1; i < 256; ++i) random_.entries[i] = EntryFromColour(rng() & 0xFFFFFF);
    grey_ = MakeLog(256, {});
    for (int i = 0; i < 256; ++i) grey_.entries[i] = EntryFromColour(uint32_t(i) * 0x010101);
    // Pairs of colours one step apart in blue: each pair shares its table key.
    twins_ = MakeLog(256, {0x00FF00});
    for (int i = 1; i < 255; i += 2) {
      const uint32_t c = (rng() & 0xFEFFFF) | 0x000100;  // even blue, never black
      twins_.entries[i] = EntryFromColour(c);
      twins_.entries[i + 1] = EntryFromColour(c + 0x010000);
    }
    twins_.entries[255] = EntryFromColour(0x123456);
    // A short palette whose entry 0 shares its key with a later entry.
    shortTwins_ = MakeLog(5, {0x304050, 0x304051, 0x304050, 0xF0F0F0, 0x0A0A0A});
  }
  void TearDown() override {
    ReleasePalette(defaultPalette_);
    PaletteShutdown();
  }
  struct Named {
    const char* what;
    cPalette* palette;
  };
  // Fresh palettes (tables not built yet); released by the shutdown.
  std::vector<Named> Palettes() {
    return {{"default", defaultPalette_},
            {"random", PaletteGetShared(&random_)},
            {"grey", PaletteGetShared(&grey_)},
            {"twins", PaletteGetShared(&twins_)},
            {"short twins", PaletteGetShared(&shortTwins_)}};
  }
  cPalette* defaultPalette_ = nullptr;
  LogPalette random_{}, grey_{}, twins_{}, shortTwins_{};
};

TEST_F(PaletteInverse, EveryEntryColourMapsToAnEntryOfThatColour) {
  std::mt19937 rng(7);
  for (const Named& n : Palettes()) {
    SCOPED_TRACE(n.what);
    cPalette* p = n.palette;
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(BuildInverseTable(p), 1);
    ASSERT_EQ(BuildInverseTable(p), 1);  // an existing table stays
    // Questions of other colours first fill keys; they must not shadow an entry.
    for (int k = 0; k < 5000; ++k) PaletteNearestIndex(p, rng() & 0xFFFFFF);
    const int count = p->log.count;
    for (int i = count == 256 ? 1 : 0; i < count; ++i) {
      const PaletteEntry want = p->log.entries[i];
      const uint32_t colour = EntryColour(want);
      const int viaTable = PaletteNearestIndex(p, colour);
      const int cached = NearestIndexCached(p, colour);
      ASSERT_TRUE(viaTable >= 0 && viaTable < count && cached >= 0 && cached < count) << i;
      EXPECT_TRUE(SameRgb(p->log.entries[viaTable], want))
          << "entry " << i << " " << std::hex << colour << " answered by " << std::dec << viaTable;
      EXPECT_TRUE(SameRgb(p->log.entries[cached], want)) << "entry " << i << " cached " << cached;
    }
  }
  // The static colours of the default palette answer their own entries.
  struct Case {
    uint32_t colour;
    int index;
  };
  for (const Case& c : {Case{0xFFFFFF, 255}, Case{0x0000FF, 249}, Case{0x00FF00, 250},
                        Case{0x008000, 2}, Case{0xFFFF00, 254}}) {
    EXPECT_EQ(PaletteNearestIndex(defaultPalette_, c.colour), c.index) << std::hex << c.colour;
  }
}

TEST_F(PaletteInverse, LookupsFollowTheTableRulesInOrder) {
  std::mt19937 rng(11);
  std::vector<uint32_t> keys(400);  // few keys, so that questions meet in one key
  for (auto& k : keys) k = rng() & 0xF8F8F8;
  for (const Named& n : Palettes()) {
    SCOPED_TRACE(n.what);
    cPalette* p = n.palette;
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(BuildInverseTable(p), 1);
    palref::InverseTableModel model(p->log.entries, p->log.count);
    for (int k = 0; k < 30000; ++k) {
      uint32_t colour = 0;
      switch (k % 4) {
        case 0:  // an entry's colour, or one bit off it
          colour = EntryColour(p->log.entries[rng() % p->log.count]) ^ (rng() % 2 << (rng() % 24));
          break;
        case 1:
          colour = rng() & 0xFFFFFF;
          break;
        default:
          colour = keys[rng() % keys.size()] | (rng() & 0x070707);
      }
      if (colour == 0) continue;  // black is answered before the table
      const int want = model.Resolve(colour);
      ASSERT_EQ(PaletteNearestIndex(p, colour), want) << "question " << k << " " << std::hex << colour;
      ASSERT_EQ(NearestIndexCached(p, colour), want) << "question " << k << " " << std::hex << colour;
    }
  }
}

// Two colours of one key whose nearest entries differ: the first question
// decides the key's answer, and the answer is for the colour asked.
TEST_F(PaletteInverse, AMissAnswersTheColourAskedAndKeepsItForTheKey) {
  // Entries 1 (red 0x40) and 2 (red 0x84) meet at red 0x62, inside the key of
  // reds 0x60..0x67.
  LogPalette first = MakeLog(3, {0xFFFFFF, 0x000040, 0x000084});
  LogPalette second = MakeLog(3, {0xFFFFFE, 0x000040, 0x000084});
  ASSERT_EQ(palref::Nearest(first.entries, 3, 0x000060), 1);
  ASSERT_EQ(palref::Nearest(first.entries, 3, 0x000067), 2);
  cPalette* a = PaletteGetShared(&first);
  cPalette* b = PaletteGetShared(&second);
  ASSERT_TRUE(a != nullptr && b != nullptr && a != b);
  ASSERT_EQ(BuildInverseTable(a), 1);
  ASSERT_EQ(BuildInverseTable(b), 1);
  EXPECT_EQ(PaletteNearestIndex(a, 0x000060), 1);
  EXPECT_EQ(PaletteNearestIndex(a, 0x000067), 1);
  EXPECT_EQ(PaletteNearestIndex(b, 0x000067), 2);
  EXPECT_EQ(PaletteNearestIndex(b, 0x000060), 2);
  EXPECT_EQ(a->inverse[ColourKey(0x000060)], 1);
  ReleasePalette(a);
  ReleasePalette(b);
}

TEST_F(PaletteInverse, ShortPaletteNeverAnswersBeyondItsCount) {
  LogPalette small = MakeLog(3, {0x0000FF, 0x00FF00, 0xFF0000});
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
