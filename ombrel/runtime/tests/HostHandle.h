#pragma once

// A surface handle as a host program holds it in its own storage: 16 bytes,
// the implementation pointer first.
#include <cstdint>

struct alignas(4) Handle {
  void* impl;
  int32_t originX;
  int32_t originY;
  uint32_t lastError;
};
static_assert(sizeof(Handle) == 16, "the exported handle is 16 bytes");
