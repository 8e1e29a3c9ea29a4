// Who holds a DirectDraw surface: nobody, the pixels (locked) or a device
// context; never both. Nested calls of the same kind are counted. The three
// fields are those of the DirectDraw surface, in this order.
#pragma once

#include <cstdint>

struct DDAccessState {
  enum : int32_t { kFree = 0, kLocked = 1, kDCHeld = 2 };
  int32_t state;
  int32_t dcCount;
  int32_t lockCount;

  enum class Step { Refuse, Nest, Acquire };

  // Lock: Acquire means "lock the surface now, then LockTaken()".
  Step BeginLock(bool hasBuffer) {
    if (state == kDCHeld) return Step::Refuse;
    if (state == kLocked) {
      if (!hasBuffer) return Step::Refuse;
      ++lockCount;
      return Step::Nest;
    }
    return Step::Acquire;
  }
  void LockTaken() {
    state = kLocked;
    lockCount = 1;
  }
  // True when the surface must be unlocked now. Out of turn only the lock
  // count is reset: a context held meanwhile keeps its own count.
  bool EndLock() {
    if (state != kLocked) {
      lockCount = 0;
      return false;
    }
    if (--lockCount > 0) return false;
    state = kFree;
    lockCount = 0;
    return true;
  }
  Step BeginDC() {
    if (state == kLocked) return Step::Refuse;
    if (state == kDCHeld) {
      ++dcCount;
      return Step::Nest;
    }
    return Step::Acquire;
  }
  void DCTaken() {
    state = kDCHeld;
    dcCount = 1;
  }
  // True when the context must be given back now; out of turn only the
  // context count is reset.
  bool EndDC() {
    if (state != kDCHeld) {
      dcCount = 0;
      return false;
    }
    if (--dcCount > 0) return false;
    state = kFree;
    dcCount = 0;
    return true;
  }
  void Reset() {
    state = kFree;
    dcCount = 0;
    lockCount = 0;
  }
};
