// The stream classes' documented cases: buffered file reads and seeks,
// ranges, byte-order readers, memory sources and both sinks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include "Memory.h"
#include "ScratchDir.h"
#include "stream/cFileSink.h"
#include "stream/cFileSource.h"
#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"

namespace {

class FileSourceTest : public ::testing::Test {
 protected:
  std::string Make(size_t n) {
    data_ = PatternBytes(n, 7);
    return dir_.Write("in.bin", data_);
  }
  ScratchDir dir_;
  Bytes data_;
};

TEST_F(FileSourceTest, ShortFileReadStopsAtEndWithTheBytesThatArrived) {
  cFileSource src;
  ASSERT_EQ(src.Open(Make(10).c_str()), LibOk);
  uint8_t out[16] = {};
  EXPECT_EQ(src.Read(out, 4), LibOk);
  uint32_t got = 0;
  EXPECT_EQ(src.ReadCount(out + 4, 10, &got), ErrEndOfFile);
  EXPECT_EQ(got, 6u);
  EXPECT_EQ(src.Tell(), 10u);
  EXPECT_EQ(0, std::memcmp(out, data_.data(), 10));
}

TEST_F(FileSourceTest, LargeReadPassesWholeChunksStraightAndBuffersTheRest) {
  cFileSource src;
  ASSERT_EQ(src.Open(Make(100000).c_str()), LibOk);
  Bytes out(40000);
  ASSERT_EQ(src.Read(out.data(), 40000), LibOk);
  EXPECT_EQ(out, Bytes(data_.begin(), data_.begin() + 40000));
  // 2 x 16384 went straight; the last 7232 came from one refill of 16384.
  EXPECT_EQ(src.Buffered(), 16384u - 7232u);
  EXPECT_EQ(src.Tell(), 40000u);
}

TEST_F(FileSourceTest, RangeBoundsSeeksAndReads) {
  const std::string path = Make(1000);
  const OmbHandle file = FileOpen(path.c_str(), 0);
  ASSERT_NE(file, OmbInvalidHandle());
  {
    cFileSource src;
    ASSERT_EQ(src.OpenHandlePart(file, 100, 50), LibOk);
    EXPECT_EQ(src.GetSize(), 50u);
    EXPECT_EQ(src.Seek(0, SeekEnd), 50u);
    EXPECT_EQ(FileTell(file), 150u);
    EXPECT_EQ(src.Seek(-10, SeekStart), 0u);
    Bytes out(80);
    uint32_t got = 0;
    EXPECT_EQ(src.ReadCount(out.data(), 80, &got), ErrEndOfFile);
    EXPECT_EQ(got, 50u);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 50, data_.begin() + 100));
    EXPECT_EQ(src.Detach(), file);
  }
  EXPECT_EQ(FileTell(file), 100u) << "detach puts the handle back at the range start";
  FileClose(file);
}

// A source reads at its own position, not at the handle's: the host moving
// the handle, or a second source reading the same handle, between reads
// changes none of the bytes either source hands out (small reads through
// the buffer, large ones straight into the caller's block).
TEST_F(FileSourceTest, ReadsTakeTheSourcesOwnBytesWhereverTheHandleStands) {
  const std::string path = Make(200000);
  const OmbHandle file = FileOpen(path.c_str(), 0);
  ASSERT_NE(file, OmbInvalidHandle());
  cFileSource first, second;
  ASSERT_EQ(first.OpenHandlePart(file, 1000, 150000), LibOk);
  ASSERT_EQ(second.OpenHandlePart(file, 0, 200000), LibOk);
  const uint32_t sizes[] = {10, 40000, 5000, 16384, 1, 33000, 7};
  uint32_t at[2] = {1000, 0};
  cFileSource* sources[2] = {&first, &second};
  uint32_t step = 0;
  for (uint32_t n : sizes) {
    for (int s = 0; s < 2; ++s, ++step) {
      FileSeek(file, static_cast<int32_t>((step * 7919) % 200000));  // the host moves the handle
      Bytes out(n);
      ASSERT_EQ(sources[s]->Read(out.data(), n), LibOk) << "source " << s << ", " << n << " bytes";
      ASSERT_TRUE(std::equal(out.begin(), out.end(), data_.begin() + at[s]))
          << "source " << s << " read " << n << " bytes that are not its own at " << at[s];
      at[s] += n;
    }
  }
  EXPECT_EQ(first.Tell(), at[0] - 1000);
  EXPECT_EQ(second.Tell(), at[1]);
  FileClose(file);
}

TEST_F(FileSourceTest, SeekBackStaysInTheBufferOnlyOverConsumedBytes) {
  cFileSource src;
  ASSERT_EQ(src.Open(Make(40000).c_str()), LibOk);
  uint8_t five[5];
  ASSERT_EQ(src.Read(five, 5), LibOk);
  EXPECT_EQ(src.Seek(-3, SeekCurrent), 2u);
  EXPECT_EQ(src.Buffered(), 16384u - 2u) << "moved inside the buffer";

  Bytes skip(16381);  // leaves one byte in the buffer
  ASSERT_EQ(src.Read(skip.data(), static_cast<uint32_t>(skip.size())), LibOk);
  uint8_t two[2];
  ASSERT_EQ(src.Read(two, 2), LibOk);  // one byte left over, one from a refill
  const uint32_t at = src.Tell();
  EXPECT_EQ(src.Seek(-3, SeekCurrent), at - 3);
  EXPECT_EQ(src.Buffered(), 0u) << "only one byte of the refill was consumed: back to the file";
  uint8_t b = 0;
  ASSERT_EQ(src.ReadByte(&b), LibOk);
  EXPECT_EQ(b, data_[at - 3]);
}

TEST_F(FileSourceTest, UnknownOriginKeepsThePosition) {
  cFileSource src;
  ASSERT_EQ(src.Open(Make(100).c_str()), LibOk);
  uint8_t out[7];
  ASSERT_EQ(src.Read(out, 7), LibOk);
  EXPECT_EQ(src.Seek(5, 3), 7u);
  uint8_t b = 0;
  ASSERT_EQ(src.ReadByte(&b), LibOk);
  EXPECT_EQ(b, data_[7]);
}

TEST_F(FileSourceTest, MissingFileGivesOpenErrorAndNoName) {
  cFileSource src;
  EXPECT_EQ(src.Open(dir_.File("none").c_str()), ErrOpen);
  EXPECT_EQ(src.GetName(), nullptr);
  ASSERT_EQ(src.Open(Make(4).c_str()), LibOk);
  EXPECT_STREQ(src.GetName(), dir_.File("in.bin").c_str());
}

TEST_F(FileSourceTest, CopyReadsOnFromItsOwnBuffer) {
  cFileSource src;
  ASSERT_EQ(src.Open(Make(300).c_str()), LibOk);
  uint8_t out[10];
  ASSERT_EQ(src.Read(out, 10), LibOk);
  {
    cFileSource copy(src);
    EXPECT_NE(copy.GetName(), src.GetName()) << "the name is the copy's own block";
    EXPECT_STREQ(copy.GetName(), src.GetName());
    uint8_t b = 0;
    ASSERT_EQ(copy.ReadByte(&b), LibOk);
    EXPECT_EQ(b, data_[10]);
  }  // the copy does not own the handle: the original still reads
  uint8_t b = 0;
  ASSERT_EQ(src.ReadByte(&b), LibOk);
  EXPECT_EQ(b, data_[10]);
}

TEST(ByteOrderReaders, WordsAndDwordsInBothOrders) {
  const uint8_t bytes[] = {0x12, 0x34, 0x01, 0x02, 0x03, 0x04, 0xAA, 0xBB, 0xCC, 0xDD};
  cMemorySource src;
  src.Attach(bytes, sizeof bytes);
  uint16_t w = 0;
  ASSERT_EQ(src.ReadWordBE(&w), LibOk);
  EXPECT_EQ(w, 0x1234);
  src.Seek(0, SeekStart);
  ASSERT_EQ(src.ReadWordLE(&w), LibOk);
  EXPECT_EQ(w, 0x3412);
  uint32_t d = 0;
  ASSERT_EQ(src.ReadDwordBE(&d), LibOk);
  EXPECT_EQ(d, 0x01020304u);
  src.Seek(2, SeekStart);
  ASSERT_EQ(src.ReadDwordLE(&d), LibOk);
  EXPECT_EQ(d, 0x04030201u);
  uint16_t words[2] = {};
  ASSERT_EQ(src.ReadWordsBE(words, 2), LibOk);
  EXPECT_EQ(words[0], 0xAABB);
  EXPECT_EQ(words[1], 0xCCDD);
  d = 0x5A5A5A5A;
  EXPECT_EQ(src.ReadDwordBE(&d), ErrEndOfFile);
  EXPECT_EQ(d, 0x5A5A5A5Au) << "a failed read leaves the value untouched";
}

TEST(MemorySource, ReadsSeeksAndReadsInPlace) {
  const uint8_t bytes[] = {1, 2, 3, 4, 5, 6};
  cMemorySource src;
  src.Attach(bytes, sizeof bytes);
  EXPECT_EQ(src.ReadAlloc(0), nullptr);
  EXPECT_EQ(src.ReadAlloc(7), nullptr);
  EXPECT_EQ(src.ReadAlloc(2), bytes);
  EXPECT_EQ(src.Tell(), 2u);
  EXPECT_EQ(src.Seek(100, SeekCurrent), 6u);
  EXPECT_EQ(src.Seek(-2, SeekEnd), 4u);
  EXPECT_EQ(src.Seek(3, 9), 4u);
  uint8_t out[4] = {};
  uint32_t got = 0;
  EXPECT_EQ(src.ReadCount(out, 4, &got), ErrEndOfFile);
  EXPECT_EQ(got, 2u);
  EXPECT_EQ(out[1], 6);
  EXPECT_EQ(src.GetSize(), 6u);
}

TEST(MemorySource, AllocatedBlockIsOwnedAndCopiesDeeply) {
  cMemorySource src;
  ASSERT_EQ(src.Allocate(3), LibOk);
  std::memcpy(src.Data(), "abc", 3);
  cMemorySource copy(src);
  src.Data()[0] = 'z';
  uint8_t b = 0;
  ASSERT_EQ(copy.ReadByte(&b), LibOk);
  EXPECT_EQ(b, 'a');
  cFileSource file;
  EXPECT_EQ(file.ReadAlloc(0), nullptr);
}

TEST(MemorySink, FixedBlockRefusesOverflowAndKeepsItsSize) {
  uint8_t block[8];
  cMemorySink sink;
  sink.AttachFixed(block, sizeof block);
  EXPECT_EQ(sink.Write("123456", 6), LibOk);
  EXPECT_EQ(sink.Write("7890", 4), ErrBufferFull);
  EXPECT_EQ(sink.GetSize(), 6u);
  EXPECT_EQ(sink.Tell(), 6u);
}

TEST(MemorySink, GrowsByBlocksAndDetachesTheWrittenBytes) {
  cMemorySink sink;
  const Bytes data = PatternBytes(513, 3);
  ASSERT_EQ(sink.Write(data.data(), 513), LibOk);
  EXPECT_EQ(sink.Capacity(), 1024u);
  EXPECT_EQ(sink.Seek(0, SeekStart), 0u);
  ASSERT_EQ(sink.Write("xy", 2), LibOk);
  EXPECT_EQ(sink.GetSize(), 513u);
  void* block = sink.DetachBuffer();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(MemSize(block), 513u);
  EXPECT_EQ(0, std::memcmp(static_cast<uint8_t*>(block) + 2, data.data() + 2, 511));
  EXPECT_EQ(sink.GetSize(), 0u);
  EXPECT_EQ(sink.Capacity(), 0u);
  cMemorySink::FreeBuffer(block);
}

// A heap that keeps each block's exact size and counts the bytes a copying
// reallocation would move (the Windows heap copies; glibc often does not).
class CopyCountingHeap final : public HeapBackend {
 public:
  void* Alloc(size_t size) override { return Keep(std::malloc(size), size); }
  void* Calloc(size_t size) override { return Keep(std::calloc(1, size), size); }
  void* Realloc(void* block, size_t size) override {
    ++reallocs;
    moved += std::min(size, sizes[block]);
    sizes.erase(block);
    return Keep(std::realloc(block, size), size);
  }
  void Free(void* block) override {
    sizes.erase(block);
    std::free(block);
  }
  int Compact() override { return 0; }
  size_t UsableSize(void* block) override { return sizes.count(block) ? sizes[block] : 0; }
  std::map<void*, size_t> sizes;
  uint64_t moved = 0;
  int reallocs = 0;

 private:
  void* Keep(void* block, size_t size) {
    if (block != nullptr) sizes[block] = size;
    return block;
  }
};

// 10 MiB in 1 KiB writes: the block grows geometrically (a few dozen
// resizes moving a few times the data, not one resize per growth block),
// while the capacity stays the growth block rounding and the detached block
// holds exactly the written bytes.
TEST(MemorySink, ManySmallWritesMoveTheDataAFewTimesOnly) {
  CopyCountingHeap heap;
  HeapBackend* previous = SetLibraryHeap(&heap);
  constexpr uint32_t kTotal = 10u << 20;
  const Bytes piece = PatternBytes(1024, 9);
  void* block = nullptr;
  {
    cMemorySink sink;
    for (uint32_t done = 0; done < kTotal; done += 1024) {
      ASSERT_EQ(sink.Write(piece.data(), 1024), LibOk);
      ASSERT_EQ(sink.Capacity(), (done + 1024 + 511) / 512 * 512);
    }
    EXPECT_LE(heap.reallocs, 40);
    EXPECT_LE(heap.moved, 4ull * kTotal);
    ASSERT_EQ(sink.Write("tail", 4), LibOk);
    EXPECT_EQ(sink.Capacity(), kTotal + 512);
    block = sink.DetachBuffer();
  }
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(MemSize(block), kTotal + 4);
  EXPECT_EQ(std::memcmp(static_cast<uint8_t*>(block) + kTotal - 1024, piece.data(), 1024), 0);
  EXPECT_EQ(std::memcmp(static_cast<uint8_t*>(block) + kTotal, "tail", 4), 0);
  cMemorySink::FreeBuffer(block);
  SetLibraryHeap(previous);
}

TEST(MemorySink, AllocateZeroKeepsTheDefaultGrowthBlock) {
  cMemorySink sink;
  ASSERT_EQ(sink.Allocate(0), LibOk);
  ASSERT_EQ(sink.Write("abc", 3), LibOk);
  EXPECT_EQ(sink.Capacity(), 512u);
}

TEST(FileSink, BufferedWritesHoldTheTailAndSeekingBackWritesThrough) {
  ScratchDir dir;
  const std::string path = dir.File("out.bin");
  const Bytes data = PatternBytes(10000, 5);
  // The sink writes to a handle of the test's own, so the file's state can be
  // asked while the sink holds it.
  const OmbHandle file = FileCreate(path.c_str());
  ASSERT_NE(file, OmbInvalidHandle());
  {
    cFileSink sink;
    ASSERT_EQ(sink.Attach(file, 4096), LibOk);
    ASSERT_EQ(sink.Write(data.data(), 10000), LibOk);
    EXPECT_EQ(sink.Held(), 1808u);
    EXPECT_EQ(FileGetSize(file), 8192u) << "two full buffers reached the file";
    EXPECT_EQ(sink.GetSize(), 10000u);
    EXPECT_EQ(sink.Tell(), 10000u);

    EXPECT_EQ(sink.Seek(0, SeekStart), 0u);
    EXPECT_EQ(FileGetSize(file), 10000u) << "seeking back flushed the buffer";
    EXPECT_FALSE(sink.Buffering());
    ASSERT_EQ(sink.Write("AB", 2), LibOk);
    EXPECT_EQ(FileTell(file), 2u) << "unbuffered: written straight away";
    EXPECT_EQ(sink.Seek(0, SeekEnd), 10000u);
    EXPECT_TRUE(sink.Buffering());
    uint32_t tail = 0x44434241;
    ASSERT_EQ(sink.WriteDwordBE(&tail), LibOk);
    EXPECT_EQ(sink.Held(), 4u);
  }
  FileClose(file);
  const Bytes written = ReadWholeFile(path);
  ASSERT_EQ(written.size(), 10004u);
  EXPECT_EQ(written[0], 'A');
  EXPECT_TRUE(std::equal(data.begin() + 2, data.end(), written.begin() + 2));
  EXPECT_EQ(written[10000], 0x44);
  EXPECT_EQ(written[10003], 0x41);
}

TEST(FileSink, CreateInMissingFolderGivesCreateError) {
  ScratchDir dir;
  cFileSink sink;
  EXPECT_EQ(sink.Create(dir.File("no/such/file").c_str(), 4096), ErrCreate);
}

}  // namespace
