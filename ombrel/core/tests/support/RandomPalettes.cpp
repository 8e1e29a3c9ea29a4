#include "support/RandomPalettes.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "palette/PaletteApi.h"
#include "palette/cPalette.h"

namespace {

cPalette* MakeRandomPalette(std::mt19937& rng) {
  LogPalette log{};
  log.version = kLogPaletteVersion;
  log.count = 256;
  std::vector<bool> usedKey(32768, false);
  log.entries[0] = EntryFromColour(rng() & 0xFFFFFF);
  for (int i = 1; i < 256; ++i) {
    const uint32_t kind = rng() % 10;
    uint32_t colour = 0;
    if (kind == 0 && i > 1) {
      colour = EntryColour(log.entries[1 + rng() % uint32_t(i - 1)]);  // exact duplicate
    } else {
      // One near-black entry (key 0), then random colours of unused keys.
      const bool nearBlack = kind == 1 && !usedKey[0];
      do colour = nearBlack ? (rng() % 8) | (rng() % 8) << 8 | (rng() % 8) << 16 : rng() & 0xFFFFFF;
      while (colour == 0 || usedKey[ColourKey(colour)]);
    }
    usedKey[ColourKey(colour)] = true;
    log.entries[i] = EntryFromColour(colour);
  }
  cPalette* p = PaletteGetShared(&log);
  EXPECT_NE(p, nullptr);
  EXPECT_EQ(BuildInverseTable(p), 1);
  return p;
}

}  // namespace

RandomPalettes::RandomPalettes(uint32_t seed) {
  defaultPalette_ = PaletteStartup();
  std::mt19937 rng(seed);
  for (cPalette*& p : palettes_) p = MakeRandomPalette(rng);
}

RandomPalettes::~RandomPalettes() {
  for (cPalette* p : palettes_) ReleasePalette(p);
  ReleasePalette(defaultPalette_);
  PaletteShutdown();
}
