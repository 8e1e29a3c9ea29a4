#include <gtest/gtest.h>

#include "WineTestMain.h"

namespace {

// The test framework keeps a thread blocked until the thread running the
// tests ends. main must know it and wait for it: Wine can crash in a
// process's exit while another of its threads is still waiting.
TEST(TestProgramThreads, MainKnowsTheFrameworksWatcherOfTheTestThread) {
  SUCCEED();
  ASSERT_EQ(TestThreadWatchers().size(), 1u);
  HANDLE watcher = TestThreadWatchers()[0];
  EXPECT_NE(GetThreadId(watcher), GetCurrentThreadId());
  EXPECT_EQ(WaitForSingleObject(watcher, 0), DWORD(WAIT_TIMEOUT)) << "it waits while the tests run";
}

}  // namespace
