// main() of the Windows test programs.
//
// On Windows GoogleTest keeps, for each thread that reports a result, a
// watcher thread blocked until that thread ends. Under gtest_main the watcher
// of the main thread is still waiting when the program exits, and Wine 8 can
// crash in a process's exit while another of its threads waits (the program
// dies of SIGSEGV after every case passed, about once in a thousand runs under
// load). So the tests run on a thread of their own, and main returns only
// after that thread's watcher has seen it end and ended too.
#include "WineTestMain.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <set>
#include <vector>

namespace {

std::set<DWORD> ThreadsOfThisProcess() {
  std::set<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(entry.th32ThreadID);
  }
  CloseHandle(snapshot);
  return ids;
}

struct TestRun {
  int argc;
  char** argv;
  int result = 1;
};

std::vector<HANDLE> g_watchers;  // written by the test thread before the tests start

DWORD WINAPI RunTests(void* param) {
  TestRun& run = *static_cast<TestRun*>(param);
  testing::InitGoogleTest(&run.argc, run.argv);
  // The framework starts this thread's watcher at its first report; start it
  // now and take note of it.
  const std::set<DWORD> before = ThreadsOfThisProcess();
  {
    testing::TestPartResultArray ignored;
    testing::ScopedFakeTestPartResultReporter probe(
        testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &ignored);
  }
  for (DWORD id : ThreadsOfThisProcess()) {
    if (before.count(id) != 0) continue;
    if (HANDLE h = OpenThread(SYNCHRONIZE, FALSE, id)) g_watchers.push_back(h);
  }
  run.result = RUN_ALL_TESTS();
  return 0;
}

}  // namespace

const std::vector<HANDLE>& TestThreadWatchers() { return g_watchers; }

int main(int argc, char** argv) {
  TestRun run{argc, argv};
  HANDLE tests = CreateThread(nullptr, 0, RunTests, &run, 0, nullptr);
  if (tests == nullptr) {
    RunTests(&run);
    return run.result;
  }
  WaitForSingleObject(tests, INFINITE);
  CloseHandle(tests);
  // Bounded: a watcher that does not end costs a few seconds, not a hang.
  const DWORD deadline = GetTickCount() + 10000;
  for (HANDLE h : g_watchers) {
    const DWORD now = GetTickCount();
    WaitForSingleObject(h, now < deadline ? deadline - now : 0);
    CloseHandle(h);
  }
  return run.result;
}
