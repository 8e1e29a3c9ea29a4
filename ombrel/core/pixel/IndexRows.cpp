#include "pixel/IndexRows.h"

#include "pixel/PixelFormat.h"

namespace {

constexpr uint64_t kMaxBytes = uint64_t(1) << 31;

uint8_t FromNibble(uint32_t v) { return uint8_t(v < 8 ? v : v + 240); }

uint8_t Masked(uint8_t index, bool transparent, uint8_t replacement) {
  if (transparent) return 0;
  return index == 0 ? replacement : index;
}

// Pixel rows of rowBytes, then (with a mask) mask rows of maskRowBytes.
uint32_t SourceBytes(int32_t width, int32_t height, int32_t hasMask, uint64_t rowBytes,
                     uint64_t maskRowBytes) {
  if (width < 1 || height < 1) return 0;
  const uint64_t total = (rowBytes + (hasMask ? maskRowBytes : 0)) * uint64_t(height);
  return total >= kMaxBytes ? 0 : uint32_t(total);
}

uint64_t PackedRow(int32_t width) { return ((uint64_t(width) + 3) & ~uint64_t(3)) / 2; }
uint64_t PlaneBytes(int32_t width) { return ((uint64_t(width) + 15) & ~uint64_t(15)) / 8; }
uint64_t DestRow(int32_t width) { return (uint64_t(width) + 1) & ~uint64_t(1); }

bool DestFits(int32_t width, int32_t height) {
  return DestRow(width) * uint64_t(height) < kMaxBytes;
}

}  // namespace

void RemapBytes(PixelView* view, int32_t rowStep, int32_t width, int32_t height,
                const uint8_t* table) {
  uint8_t* row = view->firstRow;
  for (; height > 0; --height, row += rowStep)
    for (int32_t x = 0; x < width; ++x) row[x] = table[row[x]];
}

uint32_t Packed4SourceBytes(int32_t width, int32_t height, int32_t hasMask) {
  return SourceBytes(width, height, hasMask, PackedRow(width), PackedRow(width));
}
uint32_t Planar4SourceBytes(int32_t width, int32_t height, int32_t hasMask) {
  return SourceBytes(width, height, hasMask, 4 * PlaneBytes(width), PlaneBytes(width));
}

int32_t Packed4To8(uint8_t* dest, const uint8_t* src, int32_t width, int32_t height,
                   int32_t hasMask, uint8_t replacement) {
  if (Packed4SourceBytes(width, height, hasMask) == 0 || !DestFits(width, height)) return 0;
  const size_t srcRow = size_t(PackedRow(width)), destRow = size_t(DestRow(width));
  const uint8_t* mask = src + srcRow * size_t(height);
  for (int32_t y = 0; y < height; ++y, src += srcRow, mask += srcRow, dest += destRow)
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t shift = x % 2 == 0 ? 4 : 0;  // high nibble first
      const uint8_t index = FromNibble(src[x / 2] >> shift & 15);
      dest[x] = hasMask ? Masked(index, (mask[x / 2] >> shift & 8) != 0, replacement) : index;
    }
  return 1;
}

int32_t Planar4To8(uint8_t* dest, const uint8_t* src, int32_t width, int32_t height,
                   int32_t hasMask, uint8_t replacement) {
  if (Planar4SourceBytes(width, height, hasMask) == 0 || !DestFits(width, height)) return 0;
  const size_t plane = size_t(PlaneBytes(width)), destRow = size_t(DestRow(width));
  const uint8_t* mask = src + 4 * plane * size_t(height);
  for (int32_t y = 0; y < height; ++y, src += 4 * plane, mask += plane, dest += destRow)
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t bit = 7 - uint32_t(x % 8);  // most significant bit first
      uint32_t v = 0;
      for (size_t p = 0; p < 4; ++p) v |= uint32_t(src[p * plane + size_t(x / 8)] >> bit & 1) << p;
      const uint8_t index = FromNibble(v);
      dest[x] = hasMask ? Masked(index, (mask[x / 8] >> bit & 1) != 0, replacement) : index;
    }
  return 1;
}
