// Slots 12 `RleSize` and 13 `RleEncode` of every format: the transparency
// run-length form of a keyed image, written once over the pixel format type.
// Internal to pixel/.
//
// Block: total size (4 bytes); per row the offsets of its codes and of its
// first stored pixel (4 + 4 bytes, counted from position 4); the codes of all
// rows; the stored pixels of all rows. A row's codes alternate skip and copy
// counts of 0..255 pixels, start with a skip, end with a copy and add up to
// the width; a run of 256 or more is split as 255, 0 (of the other kind), ...
#pragma once

#include <cstdint>
#include <cstring>

#include "pixel/PixelFormat.h"

namespace pixel {

// Blocks at or above this size are refused: RleSize answers all zeros.
constexpr uint64_t kRleMaxBlock = uint64_t(1) << 31;

inline uint32_t RleCodeBytes(uint32_t run) {
  uint32_t bytes = 1;
  for (; run >= 256; run -= 255) bytes += 2;
  return bytes;
}

inline uint8_t* RleWriteCodes(uint8_t* codes, uint32_t run) {
  for (; run >= 256; run -= 255) {
    *codes++ = 255;
    *codes++ = 0;
  }
  *codes++ = uint8_t(run);
  return codes;
}

// Walks one row as skip/copy run pairs: visit(skip, copy, first copied pixel).
template <class F, class Visit>
void RleScanRow(const uint8_t* row, int32_t width, uint32_t key, Visit visit) {
  int32_t x = 0;
  while (x < width) {
    const int32_t skipStart = x;
    while (x < width && F::Load(row + intptr_t(x) * F::kBytes) == key) ++x;
    const int32_t copyStart = x;
    while (x < width && F::Load(row + intptr_t(x) * F::kBytes) != key) ++x;
    visit(uint32_t(copyStart - skipStart), uint32_t(x - copyStart),
          row + intptr_t(copyStart) * F::kBytes);
  }
}

template <class F>
void RleSizeOf(uint32_t* out, const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch,
               uint32_t key) {
  out[0] = out[1] = out[2] = 0;
  if (width <= 0 || height <= 0) return;
  const uint32_t k = F::KeyOf(key);
  uint64_t codes = 0, stored = 0;
  const uint8_t* row = pixels;
  for (int32_t y = 0; y < height; ++y, row += pitch)
    RleScanRow<F>(row, width, k, [&](uint32_t skip, uint32_t copy, const uint8_t*) {
      codes += RleCodeBytes(skip) + RleCodeBytes(copy);
      stored += uint64_t(copy) * F::kBytes;
    });
  const uint64_t table = uint64_t(8) * uint64_t(height);
  const uint64_t total = 4 + table + codes + stored;
  if (total >= kRleMaxBlock) return;
  out[0] = uint32_t(total);
  out[1] = uint32_t(table);
  out[2] = uint32_t(table + codes);
}

template <class F>
void RleEncodeOf(uint8_t* block, const uint8_t* pixels, int32_t width, int32_t height,
                 int32_t pitch, uint32_t key) {
  const uint32_t k = F::KeyOf(key);
  uint8_t* const base = block + 4;  // offsets count from here
  uint32_t codeOffset = LoadU32(base), pixelOffset = LoadU32(base + 4);
  const uint8_t* row = pixels;
  for (int32_t y = 0; y < height; ++y, row += pitch) {
    StoreU32(base + intptr_t(y) * 8, codeOffset);
    StoreU32(base + intptr_t(y) * 8 + 4, pixelOffset);
    uint8_t* codes = base + codeOffset;
    uint8_t* stored = base + pixelOffset;
    RleScanRow<F>(row, width, k, [&](uint32_t skip, uint32_t copy, const uint8_t* from) {
      codes = RleWriteCodes(codes, skip);
      codes = RleWriteCodes(codes, copy);
      const size_t bytes = size_t(copy) * F::kBytes;
      std::memcpy(stored, from, bytes);
      stored += bytes;
    });
    codeOffset = uint32_t(codes - base);
    pixelOffset = uint32_t(stored - base);
  }
}

}  // namespace pixel
