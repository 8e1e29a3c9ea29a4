// Per-thread lists of shared palettes. Palettes are shared only within the
// thread that made them, but a reference may be released from any thread:
// every list and every reference count is guarded by one process-wide lock.
#pragma once

#include <mutex>
#include <thread>
#include <vector>

class cPalette;

struct PaletteContext {
  std::thread::id thread;
  std::vector<cPalette*> palettes;  // in creation order; the first is the default
  int users = 0;                    // PaletteStartup calls not yet matched by PaletteShutdown
};

// The lock over every context, list and reference count.
std::mutex& PaletteLock();

// The calling thread's context, or null; the caller holds PaletteLock().
PaletteContext* FindThreadContext();
// Adds a user to the calling thread's context, creating it on first use.
// Returns false only when memory runs out. Caller holds the lock.
bool EnterThreadContext();
// Drops a user of the calling thread's context; at its last user, frees the
// palettes nobody holds and orphans the rest to their last release. Caller
// holds the lock.
void LeaveThreadContext();
// Unlinks a palette from its owning context (if any) and frees it. Caller
// holds the lock.
void FreePaletteLocked(cPalette* palette);
// Process detach: frees every palette of every context, and the orphans.
void FreeAllPalettes();
