// Row and block sizes of software surfaces, computed in 64 bits so that no
// size wraps: anything above 2^31 bytes is refused.
#pragma once

#include <cstdint>

#include "LibError.h"

constexpr uint64_t kMaxSurfaceBytes = uint64_t{1} << 31;

// Rows padded to 4 bytes, 15-bit counted as 16: ((width x bits + 31) / 32) x 4.
uint64_t PaddedRowBytes(int64_t width, int32_t depth);
inline uint64_t DibRowBytes(int64_t width, int32_t depth) { return PaddedRowBytes(width, depth); }

// Row bytes and row bytes x height of a surface; ErrOutOfMemory when either
// exceeds 2^31 bytes, ErrInvalidData for a negative size or an unknown depth.
LibError ComputeSurfaceSize(int32_t width, int32_t height, int32_t depth, uint32_t* rowBytes,
                            uint32_t* totalBytes);
