#include "mask/MaskBits.h"

#include <algorithm>
#include <utility>

#include "mask/MaskBitRows.h"

using maskbits::Bits64;
using maskbits::LowBits;
using maskbits::RowBytes;

int32_t OMB_STDCALL MaskBitsTestPoint(const uint8_t* bits, int32_t x, int32_t y, int32_t width,
                                      int32_t height) {
  if (bits == nullptr || x < 0 || y < 0 || x >= width || y >= height) return 0;
  return maskbits::TestBit(bits + int64_t(y) * RowBytes(width), x) ? 1 : 0;
}

int32_t OMB_STDCALL MaskBitsTestRect(const uint8_t* bits, int32_t width, int32_t height, int32_t x,
                                     int32_t y, int32_t w, int32_t h) {
  if (bits == nullptr || width <= 0 || height <= 0 || w <= 0 || h <= 0) return 0;
  const int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(int64_t(x) + w, width);
  const int64_t y0 = std::max<int64_t>(y, 0), y1 = std::min<int64_t>(int64_t(y) + h, height);
  if (x0 >= x1 || y0 >= y1) return 0;
  const int64_t rowBits = int64_t(RowBytes(width)) * 8, bytes = rowBits / 8 * height;
  for (int64_t row = y0; row < y1; ++row)
    for (int64_t at = x0; at < x1; at += 64)
      if (Bits64(bits, bytes, row * rowBits + at) & LowBits(x1 - at)) return 1;
  return 0;
}

int32_t OMB_STDCALL MaskBitsOverlap(const uint8_t* a, const uint8_t* b, int32_t xA, int32_t yA, int32_t wA,
                                    int32_t hA, int32_t xB, int32_t yB, int32_t wB, int32_t hB) {
  if (a == nullptr || b == nullptr || wA <= 0 || hA <= 0 || wB <= 0 || hB <= 0) return 0;
  // A is the mask lying further left, so B's offset in A's columns is >= 0.
  if (xB < xA) {
    std::swap(a, b);
    std::swap(xA, xB);
    std::swap(yA, yB);
    std::swap(wA, wB);
    std::swap(hA, hB);
  }
  // Where both exist, in A's coordinates.
  const int64_t dx = int64_t(xB) - xA, dy = int64_t(yB) - yA;
  const int64_t x0 = dx, x1 = std::min<int64_t>(wA, dx + wB);
  const int64_t y0 = std::max<int64_t>(0, dy), y1 = std::min<int64_t>(hA, dy + hB);
  if (x0 >= x1 || y0 >= y1) return 0;
  const int64_t rowBitsA = int64_t(RowBytes(wA)) * 8, bytesA = rowBitsA / 8 * hA;
  const int64_t rowBitsB = int64_t(RowBytes(wB)) * 8, bytesB = rowBitsB / 8 * hB;
  int64_t posA = y0 * rowBitsA + x0, posB = (y0 - dy) * rowBitsB;
  if (x1 - x0 <= 64) {  // one 64-pixel chunk a row: the common sprite size
    const uint64_t edge = LowBits(x1 - x0);
    const int64_t n = y1 - y0, stepA = rowBitsA / 8, stepB = rowBitsB / 8;
    auto checked = [&](int64_t k) {
      return Bits64(a, bytesA, posA + k * rowBitsA) & Bits64(b, bytesB, posB + k * rowBitsB) & edge;
    };
    // Rows whose reads lie inside both masks walk two pointers and load
    // without checks; rows rounded to whole bytes keep each mask's bit shift.
    int64_t fromA, toA, fromB, toB;
    maskbits::RowsInside(posA >> 3, stepA, bytesA, n, &fromA, &toA);
    maskbits::RowsInside(posB >> 3, stepB, bytesB, n, &fromB, &toB);
    const int64_t from = std::max(fromA, fromB), to = std::max(from, std::min(toA, toB));
    for (int64_t k = 0; k < from; ++k)
      if (checked(k)) return 1;
    const uint8_t* pa = a + (posA >> 3) + from * stepA;
    const uint8_t* pb = b + (posB >> 3) + from * stepB;
    const unsigned shiftA = unsigned(posA & 7), shiftB = unsigned(posB & 7);
    for (int64_t k = from; k < to; ++k, pa += stepA, pb += stepB)
      if (maskbits::Bits64At(pa, shiftA) & maskbits::Bits64At(pb, shiftB) & edge) return 1;
    for (int64_t k = to; k < n; ++k)
      if (checked(k)) return 1;
    return 0;
  }
  for (int64_t row = y0; row < y1; ++row, posA += rowBitsA, posB += rowBitsB)
    for (int64_t at = 0; at < x1 - x0; at += 64)
      if (Bits64(a, bytesA, posA + at) & Bits64(b, bytesB, posB + at) & LowBits(x1 - x0 - at)) return 1;
  return 0;
}

void OMB_STDCALL MaskReserved(int32_t, int32_t) {}
