// Surface objects live in MemAlloc blocks and are freed by slot 0 `Delete`.
#pragma once

#include <new>
#include <utility>

#include "Memory.h"

template <typename T, typename... Args>
T* NewSurfaceObject(Args&&... args) {
  void* block = nullptr;
  if (!MemAlloc(sizeof(T), &block)) return nullptr;
  return new (block) T(std::forward<Args>(args)...);
}

// The first 8-byte boundary at or after `block`.
inline uint8_t* AlignTo8(void* block) {
  const auto address = reinterpret_cast<uintptr_t>(block);
  return static_cast<uint8_t*>(block) + ((8 - (address & 7)) & 7);
}
