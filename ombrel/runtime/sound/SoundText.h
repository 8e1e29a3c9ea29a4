// Sound names: compared without regard to case (ASCII), copied into library blocks.
#pragma once

#include <cctype>
#include <cstring>

#include "Memory.h"

inline bool SameSoundName(const char* a, const char* b) {
  if (!a || !b) return false;
  for (; *a && *b; ++a, ++b) {
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  }
  return *a == *b;
}

// A copy of a name in a library block (MemFree frees it), or null.
inline char* CopySoundName(const char* name) {
  if (!name) return nullptr;
  const size_t n = std::strlen(name) + 1;
  void* block = nullptr;
  if (!MemAlloc(static_cast<uint32_t>(n), &block)) return nullptr;
  std::memcpy(block, name, n);
  return static_cast<char*>(block);
}
