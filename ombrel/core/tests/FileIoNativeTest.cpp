#include "FileIo.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FileBlocks.h"
#include "Memory.h"

namespace {

namespace fs = std::filesystem;

// Each case gets its own directory: CTest runs cases in parallel.
class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "ombrel-fileio-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir_ = templ;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Put(const char* name, const std::vector<uint8_t>& bytes) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  OmbHandle OpenBytes(const std::vector<uint8_t>& bytes) {
    const OmbHandle f = FileOpen(Put("data.bin", bytes).c_str(), 0);
    EXPECT_NE(f, OmbInvalidHandle());
    return f;
  }

  fs::path dir_;
};

struct ModeCase {
  uint32_t mode;
  FileOpenRule rule;
};

TEST(FileOpenMode, DecodesAccessAndSharing) {
  const ModeCase cases[] = {
      {1, {false, true, false, false}},   // write, no sharing
      {2, {true, true, true, false}},     // read and write, shared for reading
      {0, {true, false, true, false}},    // read, shared for reading
      {3, {true, false, true, false}},    // only 1 and 2 are compared whole
      {0x10, {true, false, false, false}},
      {0x20, {true, false, false, false}},
      {0x40, {true, false, true, true}},
      {0x50, {true, false, false, false}},  // 0x10 wins over 0x40
      {0x60, {true, false, true, true}},    // 0x40 wins over 0x20
      {0x42, {true, false, true, true}},    // flags combine only with read access
      {0x11, {true, false, false, false}},
  };
  for (const ModeCase& c : cases) {
    const FileOpenRule r = DecodeFileOpenMode(c.mode);
    EXPECT_EQ(r.read, c.rule.read) << std::hex << c.mode;
    EXPECT_EQ(r.write, c.rule.write) << std::hex << c.mode;
    EXPECT_EQ(r.shareRead, c.rule.shareRead) << std::hex << c.mode;
    EXPECT_EQ(r.shareWrite, c.rule.shareWrite) << std::hex << c.mode;
  }
}

TEST_F(FileIo, OpenHonoursTheAccessOfTheMode) {
  const std::string path = Put("a.bin", {1, 2, 3, 4});
  uint8_t b = 0;

  OmbHandle w = FileOpen(path.c_str(), 1);
  ASSERT_NE(w, OmbInvalidHandle());
  EXPECT_EQ(FileRead(w, &b, 1), ErrRead);
  EXPECT_EQ(FileWrite(w, "\x09", 1), LibOk);
  EXPECT_TRUE(FileClose(w));

  OmbHandle rw = FileOpen(path.c_str(), 2);
  ASSERT_NE(rw, OmbInvalidHandle());
  EXPECT_EQ(FileRead(rw, &b, 1), LibOk);
  EXPECT_EQ(b, 9);  // the write above landed without truncating
  EXPECT_EQ(FileWrite(rw, "\x07", 1), LibOk);
  EXPECT_EQ(FileGetSize(rw), 4u);
  EXPECT_TRUE(FileClose(rw));

  OmbHandle r = FileOpen(path.c_str(), 0x42);
  ASSERT_NE(r, OmbInvalidHandle());
  EXPECT_EQ(FileWrite(r, "\x01", 1), ErrWrite);
  EXPECT_TRUE(FileClose(r));

  EXPECT_EQ(FileOpen((dir_ / "missing").c_str(), 0), OmbInvalidHandle());
}

TEST_F(FileIo, ExactReadsReportShortReadsAsEndOfFile) {
  OmbHandle f = OpenBytes({'a', 'b', 'c', 'd', 'e', 'f'});
  char buf[16] = {};
  ASSERT_EQ(FileSeek(f, 2), 2u);
  EXPECT_EQ(FileRead(f, buf, 10), ErrEndOfFile);
  EXPECT_STREQ(buf, "cdef");  // the 4 bytes that were there are read
  EXPECT_EQ(FileRead(f, buf, 1), ErrEndOfFile);
  EXPECT_EQ(FileRead(f, buf, 0), LibOk);

  FileSeek(f, 1);
  EXPECT_EQ(FileReadCount(f, buf, 10), 5);
  EXPECT_EQ(FileReadCount(f, buf, 10), 0);
  FileClose(f);
}

// Positional reads take the bytes at the offset whatever the handle's
// position, then leave the handle after them.
TEST_F(FileIo, ReadsAtAnOffsetIgnoreThePositionAndLeaveTheHandleAfterThem) {
  OmbHandle f = OpenBytes({'a', 'b', 'c', 'd', 'e', 'f'});
  char buf[8] = {};
  FileSeek(f, 5);
  EXPECT_EQ(FileReadAt(f, buf, 3, 1), 3);
  EXPECT_STREQ(buf, "bcd");
  EXPECT_EQ(FileTell(f), 4u);
  EXPECT_EQ(FileReadAt(f, buf, 8, 4), 2) << "short at the end";
  EXPECT_EQ(FileReadAt(f, buf, 8, 6), 0);
  EXPECT_EQ(FileReadAt(f, buf, 8, 100), 0);
  EXPECT_EQ(FileReadAt(OmbInvalidHandle(), buf, 1, 0), -1);
  FileClose(f);
}

// A pipe has no offsets: a positional read of it takes the next bytes where
// the pipe stands, whatever offset was asked (as ReadFile does on Windows),
// and reports the end once the writer is gone.
TEST(FileIoPipe, ReadsAtAnOffsetTakeThePipesNextBytes) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const auto readEnd = reinterpret_cast<OmbHandle>(intptr_t{ends[0]} + 1);  // descriptor + 1
  ASSERT_EQ(write(ends[1], "abcdef", 6), 6);
  char buf[8] = {};
  EXPECT_EQ(FileReadAt(readEnd, buf, 3, 1000), 3);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(FileReadAt(readEnd, buf, 8, 0), 3) << "what the pipe holds";
  EXPECT_EQ(std::string(buf, 3), "def");
  close(ends[1]);
  EXPECT_EQ(FileReadAt(readEnd, buf, 8, 3), 0) << "the writer is gone";
  EXPECT_EQ(FileClose(readEnd), 1);
}

TEST_F(FileIo, SeeksAndSizeKeepsThePosition) {
  OmbHandle f = OpenBytes(std::vector<uint8_t>(100, 7));
  EXPECT_EQ(FileSeek(f, 10), 10u);
  EXPECT_EQ(FileSeekCurrent(f, 5), 15u);
  EXPECT_EQ(FileSeekCurrent(f, -3), 12u);
  EXPECT_EQ(FileGetSize(f), 100u);
  EXPECT_EQ(FileTell(f), 12u);
  EXPECT_EQ(FileSeekEnd(f, -1), 99u);
  EXPECT_EQ(FileSeek(f, -1), UINT32_MAX);  // the system's failure value, passed on
  FileClose(f);
}

TEST_F(FileIo, CreateTruncatesAndAllowsReadAndWrite) {
  const std::string path = Put("c.bin", std::vector<uint8_t>(50, 1));
  OmbHandle f = FileCreate(path.c_str());
  ASSERT_NE(f, OmbInvalidHandle());
  EXPECT_EQ(FileGetSize(f), 0u);
  EXPECT_EQ(FileWrite(f, "hello", 5), LibOk);
  FileSeek(f, 0);
  char buf[6] = {};
  EXPECT_EQ(FileRead(f, buf, 5), LibOk);
  EXPECT_STREQ(buf, "hello");
  FileClose(f);
  EXPECT_EQ(FileCreate((dir_ / "no" / "such" / "dir").c_str()), OmbInvalidHandle());
}

TEST_F(FileIo, WriteToAFullDeviceIsDiskFull) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  OmbHandle f = FileOpen("/dev/full", 1);
  ASSERT_NE(f, OmbInvalidHandle());
  EXPECT_EQ(FileWrite(f, "x", 1), ErrDiskFull);
  FileClose(f);
}

TEST_F(FileIo, ExistsMatchesWildcards) {
  Put("one.dat", {1});
  EXPECT_TRUE(FileExists((dir_ / "one.dat").c_str()));
  EXPECT_TRUE(FileExists((dir_ / "*.dat").c_str()));
  EXPECT_TRUE(FileExists((dir_ / "o?e.*").c_str()));
  EXPECT_FALSE(FileExists((dir_ / "*.xyz").c_str()));
  EXPECT_FALSE(FileExists((dir_ / "two.dat").c_str()));
}

TEST(FileIoBadArguments, FailWithTheDocumentedValues) {
  for (OmbHandle bad : {OmbInvalidHandle(), static_cast<OmbHandle>(nullptr)}) {
    char buf[4];
    void* block = nullptr;
    EXPECT_EQ(FileRead(bad, buf, 4), ErrRead);
    EXPECT_EQ(FileReadCount(bad, buf, 4), -1);
    EXPECT_EQ(FileWrite(bad, buf, 4), ErrWrite);
    EXPECT_EQ(FileTell(bad), UINT32_MAX);
    EXPECT_EQ(FileSeek(bad, 0), UINT32_MAX);
    EXPECT_EQ(FileGetSize(bad), UINT32_MAX);
    EXPECT_FALSE(FileClose(bad));
    EXPECT_EQ(FileReadBlock32(bad, &block), ErrRead);
    EXPECT_EQ(block, nullptr);
  }
  EXPECT_EQ(FileOpen(nullptr, 0), OmbInvalidHandle());
  EXPECT_EQ(FileCreate(nullptr), OmbInvalidHandle());
  EXPECT_FALSE(FileExists(nullptr));
}

// --- length-prefixed blocks ------------------------------------------------

enum class Reader { Block16, String16, Block32 };

LibError ReadWith(Reader reader, OmbHandle f, void** out) {
  switch (reader) {
    case Reader::Block16: return FileReadBlock16(f, out);
    case Reader::String16: return FileReadString16(f, reinterpret_cast<char**>(out));
    case Reader::Block32: return FileReadBlock32(f, out);
  }
  return ErrRead;
}

struct BlockCase {
  const char* name;
  Reader reader;
  std::vector<uint8_t> file;
  LibError error;
  bool allocated;
  std::vector<uint8_t> block;  // the bytes the block must start with
};

TEST_F(FileIo, BlockReaders) {
  const BlockCase cases[] = {
      {"block16", Reader::Block16, {3, 0, 'a', 'b', 'c', 'z'}, LibOk, true, {'a', 'b', 'c'}},
      {"string16", Reader::String16, {3, 0, 'a', 'b', 'c', 'z'}, LibOk, true, {'a', 'b', 'c', 0}},
      {"string16 empty", Reader::String16, {0, 0}, LibOk, true, {0}},
      {"block32", Reader::Block32, {2, 0, 0, 0, 'x', 'y'}, LibOk, true, {'x', 'y'}},
      {"little-endian 16", Reader::Block16, {0x01, 0x01}, ErrEndOfFile, true, {}},
      {"truncated body", Reader::Block32, {5, 0, 0, 0, 'p', 'q'}, ErrEndOfFile, true, {'p', 'q'}},
      {"truncated string", Reader::String16, {9, 0, 'p'}, ErrEndOfFile, true, {'p', 0}},
      {"truncated prefix", Reader::Block32, {5, 0}, ErrEndOfFile, false, {}},
      {"empty file", Reader::Block16, {}, ErrEndOfFile, false, {}},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.name);
    OmbHandle f = OpenBytes(c.file);
    void* block = reinterpret_cast<void*>(1);
    EXPECT_EQ(ReadWith(c.reader, f, &block), c.error);
    EXPECT_EQ(block != nullptr, c.allocated);
    if (block && !c.block.empty()) {
      ASSERT_GE(MemSize(block), c.block.size());
      EXPECT_EQ(std::memcmp(block, c.block.data(), c.block.size()), 0);
    }
    MemFree(&block);  // the caller frees a block even when its read failed
    FileClose(f);
  }
}

TEST_F(FileIo, HugeLengthPrefixFailsCleanly) {
  OmbHandle f = OpenBytes({0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b'});
  void* block = nullptr;
  const LibError e = FileReadBlock32(f, &block);
  // Either the 4 GiB block cannot be had, or it can and the file is too short.
  if (e == ErrOutOfMemory) {
    EXPECT_EQ(block, nullptr);
  } else {
    EXPECT_EQ(e, ErrEndOfFile);
    EXPECT_NE(block, nullptr);
  }
  MemFree(&block);
  FileClose(f);
}

class RefusingHeap final : public HeapBackend {
 public:
  void* Alloc(size_t) override { return nullptr; }
  void* Calloc(size_t) override { return nullptr; }
  void* Realloc(void*, size_t) override { return nullptr; }
  void Free(void*) override {}
  int Compact() override { return 0; }
  size_t UsableSize(void*) override { return 0; }
};

TEST_F(FileIo, AllocationFailureIsOutOfMemory) {
  OmbHandle f = OpenBytes({2, 0, 'a', 'b'});
  RefusingHeap heap;
  void* block = reinterpret_cast<void*>(1);
  EXPECT_EQ(ReadPrefixedBlock(f, BlockPrefix::Bits16, true, heap, &block), ErrOutOfMemory);
  EXPECT_EQ(block, nullptr);
  EXPECT_EQ(FileReadBlock16(f, nullptr), ErrRead);
  EXPECT_EQ(FileReadString16(f, nullptr), ErrRead);
  FileClose(f);
}

}  // namespace
