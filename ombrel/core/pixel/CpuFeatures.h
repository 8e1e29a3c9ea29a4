// The processor feature word copied into every surface's flags.
#pragma once

#include <cstdint>

// Bit 0: the vectorised pixel routines may run (SSE2 present); bit 1: SSE;
// bit 2: SSE2. Detected once, on first use; thread-safe.
uint32_t CpuFeatures();
