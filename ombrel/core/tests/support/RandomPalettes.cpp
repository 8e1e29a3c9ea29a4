#include "support/RandomPalettes.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "support/PaletteReference.h"
#include "support/PixelReference.h"

namespace {

// Asks every key's centre once, in key order, so that no key is left without
// an answer: the answers the pixel routines get no longer depend on which
// colour they happened to ask first. The model replays the same asks.
void AnswerEveryKey(cPalette* p) {
  palref::InverseTableModel model(p->log.entries, p->log.count);
  for (uint32_t key = 0; key < 32768; ++key) {
    const uint32_t colour = pixref::KeyCentre15(key);
    const int want = model.Resolve(colour);
    const int got = NearestIndexCached(p, colour);
    if (got != want) {
      ADD_FAILURE() << "key " << key << ": got " << got << ", want " << want;
      return;
    }
  }
}

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
    } else if (kind == 2 && i > 1) {
      // Another colour of an earlier entry's key: the later entry takes the
      // key, the earlier one still answers its own colour.
      const uint32_t earlier = EntryColour(log.entries[1 + rng() % uint32_t(i - 1)]);
      do colour = (earlier & ~0x070707u) | (rng() & 0x070707u);
      while (colour == 0 || colour == earlier);
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
  AnswerEveryKey(p);
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
