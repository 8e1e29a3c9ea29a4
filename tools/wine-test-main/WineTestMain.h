#pragma once
// What the Windows test programs' main() knows about its own threads.
#include <windows.h>

#include <vector>

// The threads the test framework started to watch the thread that runs the
// tests; main waits for them to end before the program exits.
const std::vector<HANDLE>& TestThreadWatchers();
