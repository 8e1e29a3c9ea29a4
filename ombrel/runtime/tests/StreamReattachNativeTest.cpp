// Attaching a stream again first releases what it held: an owned file handle
// is closed (a file sink flushes its held bytes first) and an owned block
// freed. Open handles are counted in /proc/self/fd; blocks of the library's
// heap through LiveBlockHeap, the memory source's own blocks by LeakSanitizer.
#include <gtest/gtest.h>

#include <dirent.h>

#include <cstring>
#include <string>

#include "LiveBlockHeap.h"
#include "ScratchDir.h"
#include "stream/cFileSink.h"
#include "stream/cFileSource.h"
#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"

namespace {

int OpenDescriptors() {
  DIR* dir = opendir("/proc/self/fd");
  if (dir == nullptr) return -1;
  int n = 0;
  while (readdir(dir) != nullptr) ++n;
  closedir(dir);
  return n;
}

TEST(StreamReattach, AFileSourceOpenedAgainClosesTheHandleItOwned) {
  ScratchDir dir;
  const Bytes a = PatternBytes(100, 1), b = PatternBytes(100, 2);
  const std::string pathA = dir.Write("a.bin", a), pathB = dir.Write("b.bin", b);
  const int before = OpenDescriptors();
  ASSERT_GT(before, 0);
  {
    cFileSource src;
    ASSERT_EQ(src.Open(pathA.c_str()), LibOk);
    EXPECT_EQ(OpenDescriptors(), before + 1);
    ASSERT_EQ(src.Open(pathB.c_str()), LibOk);
    EXPECT_EQ(OpenDescriptors(), before + 1) << "Open again";
    ASSERT_EQ(src.OpenPart(pathA.c_str(), 10, 20), LibOk);
    EXPECT_EQ(OpenDescriptors(), before + 1) << "OpenPart again";
    uint8_t got[4] = {};
    ASSERT_EQ(src.Read(got, 4), LibOk);
    EXPECT_EQ(0, std::memcmp(got, a.data() + 10, 4));

    // A caller's handle is attached in place of the owned one, which closes;
    // the caller's stays open after the source is gone.
    const OmbHandle callers = FileOpen(pathB.c_str(), 0);
    ASSERT_NE(callers, OmbInvalidHandle());
    EXPECT_EQ(OpenDescriptors(), before + 2);
    ASSERT_EQ(src.AttachHandle(callers), LibOk);
    EXPECT_EQ(OpenDescriptors(), before + 1) << "AttachHandle over an owned handle";
    ASSERT_EQ(src.Open(pathA.c_str()), LibOk);
    EXPECT_EQ(OpenDescriptors(), before + 2) << "the caller's handle is not the source's to close";
    EXPECT_EQ(FileClose(callers), 1);
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(StreamReattach, AFileSinkCreatedAgainWritesItsHeldBytesAndClosesItsHandle) {
  ScratchDir dir;
  const std::string pathA = dir.File("a.bin"), pathB = dir.File("b.bin");
  const int before = OpenDescriptors();
  {
    cFileSink sink;
    ASSERT_EQ(sink.Create(pathA.c_str(), 4096), LibOk);
    ASSERT_EQ(sink.Write("first", 5), LibOk);
    ASSERT_EQ(sink.Create(pathB.c_str(), 4096), LibOk);
    EXPECT_EQ(OpenDescriptors(), before + 1);
    EXPECT_EQ(ReadWholeFile(pathA), (Bytes{'f', 'i', 'r', 's', 't'})) << "held bytes written";
    ASSERT_EQ(sink.Write("second", 6), LibOk);

    const OmbHandle callers = FileCreate(dir.File("c.bin").c_str());
    ASSERT_EQ(sink.Attach(callers, 4096), LibOk);
    EXPECT_EQ(OpenDescriptors(), before + 1) << "Attach over an owned handle";
    EXPECT_EQ(ReadWholeFile(pathB), (Bytes{'s', 'e', 'c', 'o', 'n', 'd'}));
    ASSERT_EQ(sink.Write("third", 5), LibOk);
    ASSERT_EQ(sink.Attach(callers, 4096), LibOk);  // again: the bytes go out, the handle stays
    EXPECT_EQ(OpenDescriptors(), before + 1);
    EXPECT_EQ(ReadWholeFile(dir.File("c.bin")), (Bytes{'t', 'h', 'i', 'r', 'd'}));
    EXPECT_EQ(FileClose(callers), 1);
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(StreamReattach, AMemorySinkAllocatedOrAttachedAgainFreesItsOwnBlock) {
  LiveBlockHeap heap;
  cMemorySink sink;
  ASSERT_EQ(sink.Allocate(64), LibOk);
  ASSERT_EQ(sink.Write("abc", 3), LibOk);
  EXPECT_EQ(heap.Live(), 1u);
  ASSERT_EQ(sink.Allocate(128), LibOk);
  EXPECT_EQ(heap.Live(), 1u) << "Allocate again";
  uint8_t fixed[16];
  ASSERT_EQ(sink.AttachFixed(fixed, sizeof fixed), LibOk);
  EXPECT_EQ(heap.Live(), 0u) << "AttachFixed over an owned block";
  ASSERT_EQ(sink.Allocate(32), LibOk);
  EXPECT_EQ(heap.Live(), 1u);
}

// The memory source's blocks come from the C heap: a block lost here is
// reported by LeakSanitizer when the test program ends.
TEST(StreamReattach, AMemorySourceAllocatedOrAttachedAgainFreesItsOwnBlock) {
  const Bytes data = PatternBytes(8, 5);
  cMemorySource src;
  ASSERT_EQ(src.Allocate(64), LibOk);
  ASSERT_EQ(src.Allocate(128), LibOk);
  ASSERT_EQ(src.Attach(data.data(), 8), LibOk);
  uint8_t got[8] = {};
  ASSERT_EQ(src.Read(got, 8), LibOk);
  EXPECT_EQ(0, std::memcmp(got, data.data(), 8));
  ASSERT_EQ(src.Allocate(16), LibOk);
}

}  // namespace
