#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "palette/DefaultPalettes.h"
#include "palette/PaletteApi.h"

namespace {

LogPalette Grey(uint8_t entry0 = 0) {
  LogPalette log{};
  log.version = kLogPaletteVersion;
  log.count = 256;
  for (int i = 0; i < 256; ++i) log.entries[i] = PaletteEntry{uint8_t(i), uint8_t(i), uint8_t(i), 0};
  log.entries[0] = PaletteEntry{entry0, 0, 0, 0};
  return log;
}

// Each test runs inside a palette context of its own thread.
class PaletteSharing : public ::testing::Test {
 protected:
  void SetUp() override { defaultPalette_ = PaletteStartup(); }
  void TearDown() override {
    ReleasePalette(defaultPalette_);
    PaletteShutdown();
  }
  cPalette* defaultPalette_ = nullptr;
};

TEST_F(PaletteSharing, DefaultPaletteAndBlackIndex) {
  ASSERT_NE(defaultPalette_, nullptr);
  EXPECT_EQ(defaultPalette_->blackIndex, 245);  // the last of the (8,0,0) entries
  EXPECT_EQ(PaletteRefCount(defaultPalette_), 1);
  cPalette* again = PaletteGetDefault();
  EXPECT_EQ(again, defaultPalette_);
  EXPECT_EQ(PaletteRefCount(defaultPalette_), 2);
  EXPECT_EQ(ReleasePalette(again), defaultPalette_);  // references remain
}

TEST_F(PaletteSharing, EqualColoursShareOneObject) {
  LogPalette grey = Grey();
  grey.entries[1] = PaletteEntry{0, 0, 0, 0};
  cPalette* a = PaletteGetShared(&grey);
  ASSERT_NE(a, nullptr);
  // Entries 1..255: pure black counts as (8,0,0) and flags are ignored.
  LogPalette variant = grey;
  variant.entries[1] = PaletteEntry{8, 0, 0, 0};
  variant.entries[77].flags = kPcNoCollapse;
  cPalette* b = PaletteGetShared(&variant);
  EXPECT_EQ(a, b);
  EXPECT_EQ(PaletteRefCount(a), 2);
  EXPECT_EQ(EntryColour(a->log.entries[1]), 0x000008u);

  // Entry 0 must match exactly: a different transparent colour is another palette.
  LogPalette other = Grey(5);
  cPalette* c = PaletteGetShared(&other);
  EXPECT_NE(c, a);
  EXPECT_EQ(ReleasePalette(c), nullptr);  // its last reference frees it
  EXPECT_EQ(ReleasePalette(b), a);
  EXPECT_EQ(ReleasePalette(a), nullptr);
}

TEST_F(PaletteSharing, NormalisesBlackAndFlags) {
  LogPalette log = Grey();
  log.entries[3] = PaletteEntry{0, 0, 0, 7};
  cPalette* p = PaletteGetShared(&log);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(EntryColour(p->log.entries[3]), 0x000008u);
  EXPECT_EQ(p->log.entries[3].flags, 0);
  EXPECT_EQ(EntryColour(p->log.entries[0]), 0u);
  ReleasePalette(p);
}

TEST_F(PaletteSharing, BadInputsAreRefusedOrBounded) {
  EXPECT_EQ(PaletteGetShared(nullptr), nullptr);
  LogPalette log = Grey();
  log.count = 0;
  EXPECT_EQ(PaletteGetShared(&log), nullptr);
  log.count = 257;
  EXPECT_EQ(PaletteGetShared(&log), nullptr);
  EXPECT_EQ(AddRefPalette(nullptr), nullptr);
  EXPECT_EQ(ReleasePalette(nullptr), nullptr);
  EXPECT_EQ(BuildInverseTable(nullptr), 0);
  EXPECT_EQ(PaletteNearestIndex(nullptr, 0x123456), 0);
  EXPECT_EQ(PaletteGetEntries(nullptr, nullptr, 0, 1), nullptr);

  // A short record: only its 4 entries are read (the rest of the buffer lies outside it).
  auto* raw = static_cast<uint8_t*>(operator new(4 + 4 * sizeof(PaletteEntry)));
  const uint16_t header[2] = {kLogPaletteVersion, 4};
  std::memcpy(raw, header, sizeof header);
  for (int i = 0; i < 4; ++i) {
    const PaletteEntry e = EntryFromColour(0x404040u * uint32_t(i));
    std::memcpy(raw + 4 + 4 * i, &e, sizeof e);
  }
  cPalette* p = PaletteGetShared(reinterpret_cast<const LogPalette*>(raw));
  operator delete(raw);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->log.count, 4);
  EXPECT_EQ(PaletteNearestIndex(p, 0x7F7F7F), 2);

  // Entry reads are bounded by the 256 stored entries.
  PaletteEntry out[16];
  for (auto& e : out) e = PaletteEntry{1, 2, 3, 4};
  EXPECT_EQ(PaletteGetEntries(defaultPalette_, out, 250, 10), defaultPalette_);
  EXPECT_EQ(EntryColour(out[5]), 0xFFFFFFu);  // entry 255
  EXPECT_EQ(out[6].red, 1);                  // nothing past the table
  EXPECT_EQ(PaletteGetEntries(defaultPalette_, out, 256, 1), defaultPalette_);
  EXPECT_EQ(PaletteGetEntries(defaultPalette_, out, -1, 1), defaultPalette_);
  EXPECT_EQ(out[0].red, defaultPalette_->log.entries[250].red);
  ReleasePalette(p);
}

TEST(PaletteContextLife, SecondStartupKeepsPalettesUntilLastShutdown) {
  std::thread([] {
    cPalette* first = PaletteStartup();
    cPalette* second = PaletteStartup();
    EXPECT_EQ(first, second);
    PaletteShutdown();
    cPalette* still = PaletteGetDefault();  // the context survives with one user
    EXPECT_EQ(still, first);
    ReleasePalette(still);
    ReleasePalette(second);
    // A palette still held when the context ends is orphaned, not freed.
    PaletteShutdown();
    EXPECT_EQ(PaletteRefCount(first), 1);
    EXPECT_EQ(PaletteGetDefault(), nullptr);  // no context any more
    LogPalette grey = Grey();
    EXPECT_EQ(PaletteGetShared(&grey), nullptr);
    EXPECT_EQ(ReleasePalette(first), nullptr);  // the last release frees it (ASan checks)
  }).join();
}

TEST(PaletteContextLife, ThreadsShareOnlyWithinThemselvesAndBalanceCounts) {
  constexpr int kThreads = 8;
  std::vector<cPalette*> made(kThreads, nullptr);
  std::vector<std::thread> threads;
  std::atomic<int> ready{0};
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &made, &ready] {
      cPalette* d = PaletteStartup();
      LogPalette grey = Grey();
      for (int k = 0; k < 200; ++k) {
        cPalette* p = PaletteGetShared(&grey);
        AddRefPalette(p);
        ReleasePalette(p);
        if (k == 0) made[t] = AddRefPalette(p);  // keep one past this thread's end
        ReleasePalette(p);
      }
      ++ready;
      ReleasePalette(d);
      PaletteShutdown();
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(ready.load(), kThreads);
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_NE(made[t], nullptr);
    for (int u = t + 1; u < kThreads; ++u) EXPECT_NE(made[t], made[u]);  // one palette per thread
    EXPECT_EQ(PaletteRefCount(made[t]), 1);
  }
  // Orphans released from another thread, concurrently.
  std::vector<std::thread> releasers;
  for (int t = 0; t < kThreads; ++t) releasers.emplace_back([p = made[t]] { ReleasePalette(p); });
  for (auto& th : releasers) th.join();
}

}  // namespace
