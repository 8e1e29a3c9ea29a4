// The per-thread DirectDraw registry: each thread that uses DirectDraw has
// one DirectDraw object and one primary surface, found by the calling
// thread's id, under the library lock. No reference is added or released here.
#pragma once

#include <cstdint>

struct DirectDrawRecord {
  uint32_t threadId;
  void* directDraw;  // IDirectDraw2
  void* primary;     // IDirectDrawSurface, null when none
};

// The calling thread's record gets both values, or a new one is appended.
void RegisterThreadDirectDraw(void* directDraw, void* primary);
// Removes the calling thread's record.
void UnregisterThreadDirectDraw();
void* GetThreadDirectDraw();
void* GetThreadPrimary();
// Records held (for tests).
int32_t DirectDrawRecordCount();

// The calling thread's id (the platform's).
uint32_t CurrentThreadId();
