// The counted set of prototype surfaces: one empty surface of each back end
// and depth, from which every new surface is made (cSurfaceHandle::Create).
// The library keeps one process-wide instance (SurfaceLibraryApi.h); tests
// make their own.
#pragma once

#include <cstdint>
#include <mutex>

#include "surface/SurfaceHandle.h"

class SurfaceLibrary {
 public:
  static constexpr int kDepths = 5;  // 8, 15, 16, 24, 32 bits by depth index

  SurfaceLibrary() = default;
  SurfaceLibrary(const SurfaceLibrary&) = delete;
  SurfaceLibrary& operator=(const SurfaceLibrary&) = delete;

  void Init();
  void Exit();
  int32_t Users() const;
  int32_t GetPrototype(cSurfaceHandle** out, int32_t depth, int32_t type, int32_t option);
  std::recursive_mutex& Lock() { return lock_; }

 private:
  void Build();
  void DestroyAll();

  mutable std::recursive_mutex lock_;
  int32_t users_ = 0;
  cSurfaceHandle memory_[kDepths];
  // Empty where the platform lacks the back end: the look-up then hands out
  // empty handles for them.
  cSurfaceHandle dib_[kDepths];
  cSurfaceHandle ownDCDib_[kDepths];
  cSurfaceHandle directDraw_;
  cSurfaceHandle directDrawSysMem_;
};

// The depth a prototype look-up rounds to: 8, 15, 16, 24 or 32.
int32_t RoundPrototypeDepth(int32_t depth);
