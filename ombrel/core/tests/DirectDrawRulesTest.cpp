// The DirectDraw back end's platform-free rules: which pixel formats become
// which library formats, the lock / device-context state table, and the
// per-thread registry.
#include <gtest/gtest.h>

#include <thread>

#include "surface/DDAccessState.h"
#include "surface/DDPixelFormat.h"
#include "surface/DirectDrawRegistry.h"

namespace {

TEST(DirectDrawRules, PixelFormatDecision) {
  struct Case {
    uint32_t bits, red, green, blue;
    bool accepted, keep;
    int32_t depth, bytes;
  };
  const Case cases[] = {
      {8, 0, 0, 0, true, false, 8, 1},
      {16, 0x7C00, 0x3E0, 0x1F, true, false, 15, 2},
      {16, 0xF800, 0x7E0, 0x1F, true, false, 16, 2},
      {24, 0xFF0000, 0xFF00, 0xFF, true, false, 24, 3},
      {32, 0xFF0000, 0xFF00, 0xFF, true, false, 32, 4},
      {1, 0, 0, 0, false, false, 0, 0},
      {4, 0, 0, 0, false, false, 0, 0},
      {16, 0xF800, 0x7E0, 0x3F, false, false, 0, 0},    // blue not 0x1F
      {16, 0x7C00, 0x7E0, 0x1F, false, false, 0, 0},    // mixed masks
      {16, 0x1F, 0x7E0, 0xF800, false, false, 0, 0},    // blue first
      {32, 0xFF, 0xFF00, 0xFF0000, false, false, 0, 0}, // swapped red and blue
      {24, 0xFF0000, 0xFF00, 0, false, false, 0, 0},
      {2, 0, 0, 0, true, true, 0, 0},                   // unknown: the prototype's format stays
      {12, 0, 0, 0, true, true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bits << " " << std::hex << c.red << " " << c.green
                                    << " " << c.blue);
    const DDFormatDecision d = DecideDDPixelFormat(c.bits, c.red, c.green, c.blue);
    EXPECT_EQ(d.accepted, c.accepted);
    EXPECT_EQ(d.keepPrototype, c.keep);
    EXPECT_EQ(d.depth, c.depth);
    EXPECT_EQ(d.bytesPerPixel, c.bytes);
  }
}

using Step = DDAccessState::Step;

TEST(DirectDrawRules, LocksNestAndExcludeTheContext) {
  DDAccessState a{};
  EXPECT_EQ(a.BeginLock(false), Step::Acquire);
  a.LockTaken();
  EXPECT_EQ(a.BeginLock(true), Step::Nest);  // twice
  EXPECT_EQ(a.BeginDC(), Step::Refuse);       // locked: no context
  EXPECT_FALSE(a.EndLock());                  // once: still locked
  EXPECT_EQ(a.state, DDAccessState::kLocked);
  EXPECT_TRUE(a.EndLock());                   // the last one unlocks
  EXPECT_EQ(a.state, DDAccessState::kFree);
  EXPECT_FALSE(a.EndLock());                  // out of turn: nothing to unlock
  EXPECT_EQ(a.lockCount, 0);
}

TEST(DirectDrawRules, ContextsNestAndExcludeTheLock) {
  DDAccessState a{};
  EXPECT_EQ(a.BeginDC(), Step::Acquire);
  a.DCTaken();
  EXPECT_EQ(a.BeginDC(), Step::Nest);
  EXPECT_EQ(a.BeginLock(true), Step::Refuse);
  // An unlock out of turn keeps the context's count.
  EXPECT_FALSE(a.EndLock());
  EXPECT_EQ(a.dcCount, 2);
  EXPECT_FALSE(a.EndDC());
  EXPECT_TRUE(a.EndDC());
  EXPECT_EQ(a.state, DDAccessState::kFree);
  EXPECT_FALSE(a.EndDC());
  EXPECT_EQ(a.BeginLock(false), Step::Acquire);
}

TEST(DirectDrawRules, LockedWithoutPixelsIsRefused) {
  DDAccessState a{};
  a.LockTaken();
  EXPECT_EQ(a.BeginLock(false), Step::Refuse);
  EXPECT_EQ(a.lockCount, 1);
}

TEST(DirectDrawRules, EachThreadSeesItsOwnRecord) {
  int objectA = 0, primaryA = 0, objectB = 0, primaryB = 0;
  const int32_t before = DirectDrawRecordCount();
  RegisterThreadDirectDraw(&objectA, &primaryA);
  EXPECT_EQ(GetThreadDirectDraw(), &objectA);
  EXPECT_EQ(GetThreadPrimary(), &primaryA);
  void* seenObject = &objectA;
  void* seenPrimary = &primaryA;
  std::thread other([&] {
    seenObject = GetThreadDirectDraw();  // nothing registered on this thread
    seenPrimary = GetThreadPrimary();
    RegisterThreadDirectDraw(&objectB, &primaryB);
    EXPECT_EQ(GetThreadDirectDraw(), &objectB);
    EXPECT_EQ(DirectDrawRecordCount(), before + 2);
    UnregisterThreadDirectDraw();
  });
  other.join();
  EXPECT_EQ(seenObject, nullptr);
  EXPECT_EQ(seenPrimary, nullptr);
  EXPECT_EQ(GetThreadDirectDraw(), &objectA);  // the other thread's record left this one alone
  RegisterThreadDirectDraw(&objectA, nullptr);  // an update, not a second record
  EXPECT_EQ(DirectDrawRecordCount(), before + 1);
  EXPECT_EQ(GetThreadPrimary(), nullptr);
  UnregisterThreadDirectDraw();
  EXPECT_EQ(GetThreadDirectDraw(), nullptr);
  EXPECT_EQ(DirectDrawRecordCount(), before);
}

}  // namespace
