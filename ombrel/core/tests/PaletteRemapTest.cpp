#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <utility>

#include "palette/DefaultPalettes.h"
#include "support/PaletteReference.h"
#include "palette/PaletteApi.h"

namespace {

class PaletteRemap : public ::testing::Test {
 protected:
  void SetUp() override { defaultPalette_ = PaletteStartup(); }
  void TearDown() override {
    ReleasePalette(defaultPalette_);
    PaletteShutdown();
  }
  cPalette* defaultPalette_ = nullptr;
};

LogPalette Random256(unsigned seed) {
  std::mt19937 rng(seed);
  LogPalette log{};
  log.version = kLogPaletteVersion;
  log.count = 256;
  for (auto& e : log.entries) e = PaletteEntry{uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
  return log;
}

TEST_F(PaletteRemap, BuildRemapRules) {
  uint8_t table[256];
  std::memset(table, 0xEE, sizeof table);
  // Same colours: nothing written.
  EXPECT_EQ(PaletteBuildRemap(table, defaultPalette_, defaultPalette_, 1), 0);
  EXPECT_EQ(table[0], 0xEE);

  LogPalette log = Random256(5);
  log.entries[0] = PaletteEntry{0, 0, 0, 0};
  log.entries[9] = defaultPalette_->log.entries[0];  // would map to 0 without keep-zero
  cPalette* source = PaletteGetShared(&log);
  ASSERT_EQ(PaletteBuildRemap(table, defaultPalette_, source, 0x10000), 1);  // only the low 16 bits count
  EXPECT_EQ(table[9], palref::Nearest(defaultPalette_->log.entries, 256, EntryColour(source->log.entries[9])));
  ASSERT_EQ(PaletteBuildRemap(table, defaultPalette_, source, 1), 1);
  EXPECT_EQ(table[0], 0);
  for (int i = 1; i < 256; ++i) EXPECT_NE(table[i], 0) << i;
  ReleasePalette(source);
  EXPECT_EQ(PaletteBuildRemap(nullptr, defaultPalette_, defaultPalette_, 0), 0);
}

TEST_F(PaletteRemap, FitToSystemOnTheDefaultChangesNothing) {
  PaletteEntry out[256];
  uint8_t remap[256];
  EXPECT_EQ(PaletteFitToSystem(out, defaultPalette_->log.entries, remap), 0);
  for (int i = 0; i < 256; ++i) {
    EXPECT_TRUE(SameRgb(out[i], defaultPalette_->log.entries[i])) << i;
    EXPECT_EQ(remap[i], i);
  }
  EXPECT_EQ(out[10].flags, kPcNoCollapse);
  EXPECT_EQ(out[0].flags, 0);
}

TEST_F(PaletteRemap, FitToSystemSwapsAStaticColourBack) {
  // The default palette with lower static colour 3 swapped into index 100.
  LogPalette log = DefaultPalette256();
  std::swap(log.entries[3], log.entries[100]);
  PaletteEntry fitted[256];
  uint8_t remap[256];
  EXPECT_EQ(PaletteFitToSystem(fitted, log.entries, remap), 1);
  for (int i = 0; i < 256; ++i) EXPECT_TRUE(SameRgb(fitted[i], DefaultPalette256().entries[i])) << i;
  EXPECT_EQ(remap[3], 100);
  EXPECT_EQ(remap[100], 3);
  EXPECT_EQ(remap[4], 4);

  // MakeSystem of the shuffled palette is the shared default itself.
  cPalette* p = PaletteGetShared(&log);
  ASSERT_NE(p, defaultPalette_);
  cPalette* system = PaletteMakeSystem(p, nullptr);
  EXPECT_EQ(system, defaultPalette_);
  cPalette* same = PaletteMakeSystem(defaultPalette_, nullptr);
  EXPECT_EQ(same, defaultPalette_);
  EXPECT_EQ(PaletteRefCount(defaultPalette_), 3);
  ReleasePalette(same);
  ReleasePalette(system);
  ReleasePalette(p);
}

TEST_F(PaletteRemap, FitToSystemRemapsToADuplicateInsteadOfMoving) {
  LogPalette log = DefaultPalette256();
  log.entries[100] = log.entries[3];  // the static colour also sits at 100
  log.entries[3] = log.entries[50];   // and index 3 holds a copy of entry 50
  PaletteEntry fitted[256];
  uint8_t remap[256];
  EXPECT_EQ(PaletteFitToSystem(fitted, log.entries, remap), 1);
  EXPECT_EQ(remap[3], 50);
  EXPECT_TRUE(SameRgb(fitted[100], log.entries[100]));  // nothing moved
  EXPECT_TRUE(SameRgb(fitted[3], DefaultPalette256().entries[3]));
}

TEST(PaletteQuads, SwapRedAndBlueAndClearTheFourthByte) {
  const uint8_t entries[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  uint8_t quads[8];
  LogEntriesToRGBQuad(quads, entries, 2);
  const uint8_t expected[8] = {3, 2, 1, 0, 7, 6, 5, 0};
  EXPECT_EQ(std::memcmp(quads, expected, 8), 0);
  RGBQuadToLogEntries(quads, quads, 2);  // in place
  const uint8_t back[8] = {1, 2, 3, 0, 5, 6, 7, 0};
  EXPECT_EQ(std::memcmp(quads, back, 8), 0);
}

}  // namespace
