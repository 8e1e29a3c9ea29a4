// The bank store: id allocation and reuse, row growth, references, sharing
// of identical entries, the checksum, and the row calls that take any row
// number from a host.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "AppFixture.h"
#include "LiveBlockHeap.h"
#include "Memory.h"
#include "bank/BankStore.h"

namespace {

class BankTest : public OneAppTest {
 protected:
  uint32_t Capacity(int row) const { return app_->rows[row]->capacity; }
  int32_t Add(int row = BankRowImages) { return BankAdd(app_, row, 16, 8, kBankAddZeroed, nullptr); }
};

TEST_F(BankTest, IdsStartAtOneAndTheRowGrowsInStepsOf256) {
  EXPECT_EQ(Add(), 1);
  EXPECT_EQ(Capacity(BankRowImages), 256u);
  for (int32_t id = 2; id <= 256; ++id) ASSERT_EQ(Add(), id);
  EXPECT_EQ(Capacity(BankRowImages), 256u);
  EXPECT_EQ(Add(), 257);
  EXPECT_EQ(Capacity(BankRowImages), 512u);
  EXPECT_EQ(BankGetCount(app_, BankRowImages), 257);
  // Entries made before the growth are still there.
  EXPECT_NE(BankGetEntry(app_, BankRowImages, 1), nullptr);
  EXPECT_NE(BankGetEntry(app_, BankRowImages, 256), nullptr);
}

TEST_F(BankTest, FreedIdIsHandedOutAgainAndTheCountStays) {
  for (int32_t id = 1; id <= 5; ++id) ASSERT_EQ(Add(), id);
  EXPECT_EQ(BankRelease(app_, BankRowImages, 3), 0);
  EXPECT_EQ(BankGetEntry(app_, BankRowImages, 3), nullptr);
  EXPECT_EQ(BankGetCount(app_, BankRowImages), 5);
  EXPECT_EQ(Add(), 3);
  EXPECT_EQ(BankGetCount(app_, BankRowImages), 5);
  EXPECT_EQ(Add(), 6);
}

TEST_F(BankTest, NewEntryHeaderAndCopiedSource) {
  const int32_t blank = BankAdd(app_, BankRowSounds, 24, 40, 0, nullptr);
  BankEntry* entry = BankGetEntry(app_, BankRowSounds, blank);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->headerSize, 24u);
  EXPECT_EQ(entry->dataSize, 40u);
  EXPECT_EQ(entry->refs, 1);
  EXPECT_EQ(entry->checksum, 0u);
  const auto* header = reinterpret_cast<const uint8_t*>(entry);
  for (int i = 16; i < 24; ++i) EXPECT_EQ(header[i], 0) << i;

  // A source is copied as it stands, its header words included.
  std::vector<uint8_t> source(20 + 12);
  for (size_t i = 0; i < source.size(); ++i) source[i] = uint8_t(i * 7 + 1);
  const int32_t copied = BankAdd(app_, BankRowSounds, 20, 12, 0, source.data());
  ASSERT_NE(copied, 0);
  EXPECT_EQ(std::memcmp(BankGetEntry(app_, BankRowSounds, copied), source.data(), source.size()), 0);
}

TEST_F(BankTest, PutAtAHighIdMakesThatManySlotsWithNoReference) {
  EXPECT_EQ(BankPut(app_, BankRowFonts, 1000, 16, 4, 0, nullptr), 1000);
  EXPECT_EQ(Capacity(BankRowFonts), 1000u);
  EXPECT_EQ(BankGetCount(app_, BankRowFonts), 1000);
  ASSERT_NE(BankGetEntry(app_, BankRowFonts, 1000), nullptr);
  EXPECT_EQ(BankGetEntry(app_, BankRowFonts, 1000)->refs, 0);
  // Growing past it goes to the next multiple of 256.
  EXPECT_EQ(BankPut(app_, BankRowFonts, 1001, 16, 4, 0, nullptr), 1001);
  EXPECT_EQ(Capacity(BankRowFonts), 1024u);
  EXPECT_NE(BankGetEntry(app_, BankRowFonts, 1000), nullptr);
}

TEST_F(BankTest, PutReplacesAnEntryAndKeepsItsReferences) {
  const int32_t id = Add();
  BankAddRef(app_, BankRowImages, id);
  BankAddRef(app_, BankRowImages, id);
  EXPECT_EQ(BankPut(app_, BankRowImages, id, 32, 64, kBankAddZeroed, nullptr), id);
  BankEntry* entry = BankGetEntry(app_, BankRowImages, id);
  EXPECT_EQ(entry->refs, 3);
  EXPECT_EQ(entry->headerSize, 32u);
  EXPECT_EQ(entry->dataSize, 64u);
  EXPECT_EQ(BankPut(app_, BankRowImages, 0, 16, 0, 0, nullptr), 0);
}

TEST_F(BankTest, ReferenceCounting) {
  const int32_t id = Add();
  EXPECT_EQ(BankAddRef(app_, BankRowImages, id), 2);
  EXPECT_EQ(BankRelease(app_, BankRowImages, id), 1);
  EXPECT_NE(BankGetEntry(app_, BankRowImages, id), nullptr);
  EXPECT_EQ(BankRelease(app_, BankRowImages, id), 0);
  EXPECT_EQ(BankGetEntry(app_, BankRowImages, id), nullptr);
  // An entry put with no reference goes with one release.
  ASSERT_EQ(BankPut(app_, BankRowImages, 9, 16, 0, 0, nullptr), 9);
  EXPECT_EQ(BankRelease(app_, BankRowImages, 9), 0);
  EXPECT_EQ(BankGetEntry(app_, BankRowImages, 9), nullptr);
}

TEST_F(BankTest, MissingThingsGiveTheirFailureValues) {
  EXPECT_EQ(BankRelease(app_, BankRowSounds, 1), -1);  // row not made
  Add();
  EXPECT_EQ(BankRelease(app_, BankRowImages, 2), 0);   // empty slot
  EXPECT_EQ(BankRelease(app_, BankRowImages, 0), -1);
  EXPECT_EQ(BankRelease(app_, BankRowImages, 5000), -1);
  EXPECT_EQ(BankRelease(app_, 6, 1), -1);
  EXPECT_EQ(BankRelease(nullptr, BankRowImages, 1), -1);
  EXPECT_EQ(BankAddRef(app_, BankRowImages, 2), 0);
  EXPECT_EQ(BankGetEntry(app_, BankRowImages, 0), nullptr);
  EXPECT_EQ(BankGetEntry(app_, BankRowImages, 2), nullptr);  // above the highest id
  EXPECT_EQ(BankGetEntry(app_, 6, 1), nullptr);
  EXPECT_EQ(BankGetEntry(nullptr, 0, 1), nullptr);
  EXPECT_EQ(BankGetCount(app_, BankRowSounds), 0);
  EXPECT_EQ(BankGetCount(app_, 6), 0);
  EXPECT_EQ(BankGetCount(nullptr, 0), 0);
  EXPECT_EQ(BankAdd(app_, 6, 16, 0, 0, nullptr), 0);
  EXPECT_EQ(BankAdd(app_, -1, 16, 0, 0, nullptr), 0);
  EXPECT_EQ(BankAdd(nullptr, 0, 16, 0, 0, nullptr), 0);
  EXPECT_EQ(BankAdd(app_, BankRowImages, 8, 0, 0, nullptr), 0);  // shorter than the common header
}

TEST_F(BankTest, BlocksAbove2GiBAndFailedAllocationsKeepTheRow) {
  const int32_t id = Add();
  EXPECT_EQ(BankAdd(app_, BankRowImages, 16, 0x80000000u, 0, nullptr), 0);
  EXPECT_EQ(BankPut(app_, BankRowImages, id, 0xFFFFFFF0u, 0x20u, 0, nullptr), 0);
  EXPECT_EQ(BankPut(app_, BankRowSounds, 0x7FFFFFFFu, 16, 0, 0, nullptr), 0);
  {
    LiveBlockHeap heap;
    heap.SetBudget(0);
    EXPECT_EQ(Add(), 0);
    EXPECT_EQ(BankPut(app_, BankRowImages, id, 16, 8, 0, nullptr), 0);
  }
  EXPECT_NE(BankGetEntry(app_, BankRowImages, id), nullptr);
  EXPECT_EQ(BankGetEntry(app_, BankRowImages, id)->dataSize, 8u);
  EXPECT_EQ(BankGetCount(app_, BankRowImages), 1);
}

TEST_F(BankTest, ChecksumAddsThenRotates) {
  EXPECT_EQ(BankChecksum("abc", 3), 0x0556u);
  EXPECT_EQ(BankChecksum("", 0), 0u);
  // The top bit comes round to the bottom: 0x80 rotated seven more times.
  const uint8_t high[8] = {0x80, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(BankChecksum(high, 8), 0x8000u);
  const uint8_t wrap[9] = {0x80, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(BankChecksum(wrap, 9), 0x0001u);
  EXPECT_EQ(BankCompare("abc", "abd", 3), 1);
  EXPECT_EQ(BankCompare("abc", "abd", 2), 0);
  EXPECT_EQ(BankCompare("x", "y", 0), 0);
}

// An entry of `header` bytes with a 4-byte body, its checksum over both.
int32_t AddContent(AppObject* app, uint32_t body, uint32_t extra = 0) {
  uint8_t source[24] = {};
  auto* entry = reinterpret_cast<BankEntry*>(source);
  entry->headerSize = 20;
  entry->dataSize = 4;
  entry->refs = 1;
  std::memcpy(source + 16, &extra, 4);
  std::memcpy(source + 20, &body, 4);
  entry->checksum = BankChecksum(source + 16, 8);
  return BankAdd(app, BankRowFonts, 20, 4, 0, source);
}

TEST_F(BankTest, FindSameFindsAnotherEntryWithTheSameContentNeverItself) {
  const int32_t a = AddContent(app_, 0x11223344);
  BankEntry* entryA = BankGetEntry(app_, BankRowFonts, a);
  EXPECT_EQ(BankFindSame(app_, BankRowFonts, entryA), 0);
  const int32_t other = AddContent(app_, 0x11223345);
  EXPECT_EQ(BankFindSame(app_, BankRowFonts, entryA), 0);
  const int32_t twin = AddContent(app_, 0x11223344);
  EXPECT_EQ(BankFindSame(app_, BankRowFonts, BankGetEntry(app_, BankRowFonts, twin)), a);
  EXPECT_EQ(BankFindSame(app_, BankRowFonts, entryA), twin);
  // Same checksum word but different bytes: not the same.
  BankGetEntry(app_, BankRowFonts, other)->checksum = entryA->checksum;
  EXPECT_EQ(BankFindSame(app_, BankRowFonts, BankGetEntry(app_, BankRowFonts, other)), 0);
  EXPECT_EQ(BankFindSame(app_, BankRowImages, entryA), 0);
  EXPECT_EQ(BankFindSame(nullptr, BankRowFonts, entryA), 0);
}

TEST_F(BankTest, FreeingImagesTakesTheirMasksButNotOtherRows) {
  Add(BankRowImages);
  Add(BankRowMasksPlane0);
  Add(BankRowMasksPlane1);
  Add(BankRowFonts);
  BankFreeRow(app_, BankRowImages);
  EXPECT_EQ(app_->rows[BankRowImages], nullptr);
  EXPECT_EQ(app_->rows[BankRowMasksPlane0], nullptr);
  EXPECT_EQ(app_->rows[BankRowMasksPlane1], nullptr);
  EXPECT_NE(app_->rows[BankRowFonts], nullptr);
  BankFreeRow(app_, BankRowFonts);
  EXPECT_EQ(app_->rows[BankRowFonts], nullptr);
  EXPECT_EQ(BankGetCount(app_, BankRowFonts), 0);
  EXPECT_EQ(Add(BankRowFonts), 1);
}

TEST_F(BankTest, RowCallsIgnoreRowsOutsideTheBank) {
  Add(BankRowImages);
  Add(BankRowSounds);
  const int32_t locks = ProcessHeapLock().Count();
  for (int32_t row : {6, 8, -2}) {
    SCOPED_TRACE(row);
    EXPECT_EQ(BankLockRow(app_, row), 0);
    EXPECT_EQ(ProcessHeapLock().Count(), locks);
    BankFreeRow(app_, row);
    EXPECT_EQ(BankUnlockRow(app_, row), 0);
    EXPECT_EQ(ProcessHeapLock().Count(), locks);
  }
  EXPECT_NE(app_->rows[BankRowImages], nullptr);
  EXPECT_NE(app_->rows[BankRowSounds], nullptr);
  EXPECT_NE(app_->formatPrototype, nullptr);  // the word after the rows is untouched
}

TEST_F(BankTest, LockingMarksTheRowAndCountsTheHeapLock) {
  Add(BankRowSounds);
  const int32_t locks = ProcessHeapLock().Count();
  EXPECT_EQ(BankLockRow(app_, BankRowSounds), 0);
  EXPECT_EQ(app_->rows[BankRowSounds]->flags & 1u, 1u);
  EXPECT_EQ(ProcessHeapLock().Count(), locks + 1);
  EXPECT_EQ(BankLockRow(app_, -1), 0);
  EXPECT_EQ(BankLockRow(app_, BankRowImages), 0);  // no row yet: only the heap lock
  EXPECT_EQ(ProcessHeapLock().Count(), locks + 3);
  EXPECT_EQ(BankUnlockRow(app_, BankRowSounds), 0);
  EXPECT_EQ(app_->rows[BankRowSounds]->flags & 1u, 0u);
  BankUnlockRow(app_, -1);
  BankUnlockRow(app_, BankRowImages);
  EXPECT_EQ(ProcessHeapLock().Count(), locks);
  EXPECT_EQ(BankLockRow(nullptr, -1), 0);
  EXPECT_EQ(ProcessHeapLock().Count(), locks);
  EXPECT_EQ(BankCompactHeap(0, 0), 0);
}

}  // namespace
