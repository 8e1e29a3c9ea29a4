#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "palette/NearestPaletteEntry.h"
#include "support/PaletteReference.h"

namespace {

std::vector<PaletteEntry> Entries(std::initializer_list<uint32_t> colours) {
  std::vector<PaletteEntry> v;
  for (uint32_t c : colours) v.push_back(EntryFromColour(c));
  return v;
}

TEST(PaletteNearest, TableOfRules) {
  struct Case {
    const char* what;
    std::vector<PaletteEntry> entries;
    uint32_t colour;
    int expected;
  };
  const Case cases[] = {
      // 10 is 10 away from both 0 and 20 in red: the later entry wins.
      {"tie goes to the later entry", Entries({0x000000, 0x000014}), 0x00000A, 1},
      {"three equal distances: the last", Entries({0x000010, 0x001000, 0x100000}), 0x000000, 2},
      {"first exact match wins", Entries({0x123456, 0x123456, 0x123457}), 0x123456, 0},
      {"top byte ignored", Entries({0x0000FF, 0xFF0000}), 0xAA0000FF, 0},
      {"entry 0 takes part below 256", Entries({0x000000, 0xFFFFFF}), 0x010101, 0},
      {"count 0 gives 0", {}, 0x123456, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NearestPaletteEntry(c.entries.data(), int(c.entries.size()), c.colour), c.expected)
        << c.what;
  }
}

TEST(PaletteNearest, Entry0ExcludedOver256Entries) {
  std::vector<PaletteEntry> e(256, EntryFromColour(0x808080));
  e[0] = EntryFromColour(0x0000FF);  // the transparent entry, red
  e[255] = EntryFromColour(0x0000F0);
  EXPECT_EQ(NearestPaletteEntry(e.data(), 256, 0x0000FF), 255);  // exact colour of entry 0
  EXPECT_EQ(NearestPaletteEntry(e.data(), 256, 0x000000), 0);    // black alone answers 0
  EXPECT_EQ(NearestPaletteEntry(e.data(), 256, 0x7F000000), 0);  // top byte not part of black test
  // Among the equal grey entries 1..254 and red-ish 255, grey ties go to 254.
  EXPECT_EQ(NearestPaletteEntry(e.data(), 256, 0x808081), 254);
}

TEST(PaletteNearest, MatchesReferenceOnRandomPalettes) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 200; ++round) {
    const int n = (round % 3 == 0) ? 256 : 1 + int(rng() % 40);
    std::vector<PaletteEntry> e(n);
    // Few distinct levels so that ties and duplicates are common.
    for (auto& p : e) p = PaletteEntry{uint8_t(rng() % 4 * 64), uint8_t(rng() % 4 * 64), uint8_t(rng() % 4 * 64), uint8_t(rng())};
    for (int k = 0; k < 50; ++k) {
      const uint32_t colour = (rng() % 3 == 0) ? EntryColour(e[rng() % n]) : uint32_t(rng());
      ASSERT_EQ(NearestPaletteEntry(e.data(), n, colour), palref::Nearest(e.data(), n, colour))
          << "round " << round << " colour " << std::hex << colour;
    }
  }
}

}  // namespace
