// The Win32 file and heap layer, linked statically and run under Wine: the
// same contracts as the POSIX layer, plus the share modes only Windows has.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "FileIo.h"
#include "HandleList.h"
#include "Memory.h"
#include "PtrVector.h"

namespace {

class Win32FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    char base[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, base), 0u);
    dir_ = std::string(base) + "ombrel-fileio-" + std::to_string(GetCurrentProcessId()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    path_ = dir_ + "\\data.bin";
    OmbHandle f = FileCreate(path_.c_str());
    ASSERT_NE(f, OmbInvalidHandle());
    ASSERT_EQ(FileWrite(f, "\x03\x00" "abc" "\x05\x00\x00\x00" "pq", 11), LibOk);
    ASSERT_TRUE(FileClose(f));
  }
  void TearDown() override {
    DeleteFileA(path_.c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  std::string dir_, path_;
};

// Positional reads take the bytes at the offset whatever the handle's
// position, then leave the handle after them (as ReadFile at an offset does).
TEST_F(Win32FileIo, ReadsAtAnOffsetIgnoreThePositionAndLeaveTheHandleAfterThem) {
  OmbHandle f = FileOpen(path_.c_str(), 0);
  ASSERT_NE(f, OmbInvalidHandle());
  char buf[12] = {};
  FileSeek(f, 9);
  EXPECT_EQ(FileReadAt(f, buf, 3, 2), 3);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(FileTell(f), 5u);
  EXPECT_EQ(FileReadAt(f, buf, 8, 9), 2) << "short at the end";
  EXPECT_EQ(FileReadAt(f, buf, 8, 11), 0);
  EXPECT_EQ(FileReadAt(f, buf, 8, 100), 0);
  EXPECT_EQ(FileReadAt(OmbInvalidHandle(), buf, 1, 0), -1);
  EXPECT_TRUE(FileClose(f));
}

TEST_F(Win32FileIo, ReadsBlocksAndReportsShortReads) {
  OmbHandle f = FileOpen(path_.c_str(), 0);
  ASSERT_NE(f, OmbInvalidHandle());
  char* text = nullptr;
  EXPECT_EQ(FileReadString16(f, &text), LibOk);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "abc");
  EXPECT_GE(MemSize(text), 4u);
  void* block = text;
  MemFree(&block);

  EXPECT_EQ(FileTell(f), 5u);
  EXPECT_EQ(FileGetSize(f), 11u);
  EXPECT_EQ(FileTell(f), 5u);
  EXPECT_EQ(FileReadBlock32(f, &block), ErrEndOfFile);  // 5 announced, 2 present
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(static_cast<char*>(block)[1], 'q');
  MemFree(&block);

  char buf[8];
  FileSeekEnd(f, -2);
  EXPECT_EQ(FileRead(f, buf, 8), ErrEndOfFile);
  EXPECT_EQ(FileReadCount(f, buf, 8), 0);
  EXPECT_EQ(FileSeek(f, 0), 0u);
  EXPECT_EQ(FileSeekCurrent(f, 3), 3u);
  EXPECT_TRUE(FileClose(f));
}

TEST_F(Win32FileIo, ShareModesFollowTheModeArgument) {
  struct Case {
    uint32_t first;
    uint32_t second;
    bool secondOpens;
  };
  // A second open succeeds when each handle's sharing admits the other's access.
  const Case cases[] = {
      {0, 0, true},        // read, shared for reading: another reader is fine
      {0, 1, false},       // ... a writer is not
      {0x10, 0, false},    // no sharing
      {0x50, 0x40, false}, // 0x10 wins over 0x40
      {0x40, 0x40, true},  // shared for reading and writing
      {0x60, 0x40, true},  // 0x40 wins over 0x20
      {0x20, 0, false},    // no sharing
      {1, 0x40, false},    // write, no sharing
      {2, 0x40, true},     // read and write, shared for reading
      {2, 0, false},       // the reader would not share the first one's writing
      {2, 2, false},       // writing is not shared
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.first << " then " << c.second);
    OmbHandle a = FileOpen(path_.c_str(), c.first);
    ASSERT_NE(a, OmbInvalidHandle());
    OmbHandle b = FileOpen(path_.c_str(), c.second);
    EXPECT_EQ(b != OmbInvalidHandle(), c.secondOpens);
    if (b != OmbInvalidHandle()) FileClose(b);
    FileClose(a);
  }
  OmbHandle r = FileOpen(path_.c_str(), 0);
  EXPECT_EQ(FileWrite(r, "x", 1), ErrWrite);  // read access only
  FileClose(r);
}

TEST_F(Win32FileIo, ExistsAndBadArguments) {
  EXPECT_TRUE(FileExists(path_.c_str()));
  EXPECT_TRUE(FileExists((dir_ + "\\*.bin").c_str()));
  EXPECT_FALSE(FileExists((dir_ + "\\*.xyz").c_str()));
  EXPECT_FALSE(FileExists(nullptr));
  EXPECT_EQ(FileOpen((dir_ + "\\missing").c_str(), 0), OmbInvalidHandle());
  EXPECT_EQ(FileOpen(nullptr, 0), OmbInvalidHandle());
  EXPECT_EQ(FileCreate(nullptr), OmbInvalidHandle());
  char buf[4];
  for (OmbHandle bad : {OmbInvalidHandle(), static_cast<OmbHandle>(nullptr)}) {
    EXPECT_EQ(FileRead(bad, buf, 4), ErrRead);
    EXPECT_EQ(FileReadCount(bad, buf, 4), -1);
    EXPECT_EQ(FileWrite(bad, buf, 4), ErrWrite);
    EXPECT_EQ(FileTell(bad), 0xFFFFFFFFu);
    EXPECT_FALSE(FileClose(bad));
  }
}

TEST(Win32Heap, AllocatesThroughTheRuntimeHeap) {
  void* block = nullptr;
  ASSERT_TRUE(MemCalloc(64, &block));
  EXPECT_EQ(static_cast<unsigned char*>(block)[63], 0);
  EXPECT_GE(MemSize(block), 64u);
  ASSERT_TRUE(MemRealloc(4096, &block));
  EXPECT_GE(MemSize(block), 4096u);
  MemFree(&block);
  EXPECT_EQ(block, nullptr);
  void* huge = reinterpret_cast<void*>(1);
  EXPECT_FALSE(MemAlloc(0xFFFFFFF0u, &huge));  // cannot fit a 32-bit address space
  EXPECT_EQ(huge, nullptr);
  HeapLock();
  HeapUnlock();
  EXPECT_EQ(ProcessHeapLock().Count(), 0);
}

TEST(Win32Layout, ExportedClassesHaveTheirFixedSizes) {
  EXPECT_EQ(sizeof(cHandleList), 32u);
  EXPECT_EQ(sizeof(cPtrVector), 8u);
  EXPECT_EQ(sizeof(cSpriteVector), 8u);
}

}  // namespace
