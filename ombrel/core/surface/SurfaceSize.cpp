#include "surface/SurfaceSize.h"

uint64_t PaddedRowBytes(int64_t width, int32_t depth) {
  const int64_t bits = depth == 15 ? 16 : depth;
  if (width <= 0 || bits <= 0) return 0;
  return uint64_t((width * bits + 31) / 32) * 4;
}

LibError ComputeSurfaceSize(int32_t width, int32_t height, int32_t depth, uint32_t* rowBytes,
                            uint32_t* totalBytes) {
  if (width < 0 || height < 0 || depth <= 0 || depth > 32) return ErrInvalidData;
  const uint64_t row = PaddedRowBytes(width, depth);
  const uint64_t total = row * uint64_t(height);
  if (row > kMaxSurfaceBytes || total > kMaxSurfaceBytes) return ErrOutOfMemory;
  if (rowBytes != nullptr) *rowBytes = uint32_t(row);
  if (totalBytes != nullptr) *totalBytes = uint32_t(total);
  return LibOk;
}
