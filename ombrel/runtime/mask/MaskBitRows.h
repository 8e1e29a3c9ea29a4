// Reading and writing 1-bit mask rows 64 pixels at a time. Pixel x of a row
// is bit (x & 7) of byte x >> 3, least significant bit first, so 64 pixels
// starting at any x are one little-endian 64-bit load shifted by x & 7.
#pragma once

#include <cstdint>
#include <cstring>

namespace maskbits {

// Bytes per row of a mask `width` pixels wide: whole 16-pixel columns.
constexpr uint32_t RowBytes(int64_t width) {
  return width <= 0 ? 0 : static_cast<uint32_t>(((width + 15) & ~int64_t(15)) / 8);
}

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap64(v);
#endif
  return v;
}

inline void Store64(uint8_t* p, uint64_t v) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap64(v);
#endif
  std::memcpy(p, &v, 8);
}

// The 64 bits starting at bit `pos` of a block of `bytes` bytes (any pos:
// bits outside the block read 0). Callers pass a whole mask as the block and
// a row's first bit plus x as pos, and mask the result to the pixels they
// want: bits of a neighbouring row then never count, and only the first and
// last bytes of the block need the careful load.
// The 64 bits from bit `shift` (0..7) of byte p on, where the caller knows
// the nine bytes from p lie in the block.
inline uint64_t Bits64At(const uint8_t* p, unsigned shift) {
  // The ninth byte's bits above the shift; (x << 1) << 63 - shift keeps a
  // shift of 0 defined.
  return (Load64(p) >> shift) | ((uint64_t(p[8]) << 1) << (63 - shift));
}

// The rows k in [0, n) whose 9-byte read at byte first + k * step (step > 0)
// lies inside a block of `bytes` bytes: [*from, *to).
inline void RowsInside(int64_t first, int64_t step, int64_t bytes, int64_t n, int64_t* from, int64_t* to) {
  const int64_t lo = first >= 0 ? 0 : (-first + step - 1) / step;
  const int64_t room = bytes - 9 - first;
  const int64_t hi = room < 0 ? 0 : room / step + 1;
  *from = lo < n ? lo : n;
  *to = hi < *from ? *from : hi < n ? hi : n;
}

inline uint64_t Bits64(const uint8_t* block, int64_t bytes, int64_t pos) {
  const int64_t byte = pos >> 3;  // floor, also for negative pos
  const unsigned shift = static_cast<unsigned>(pos & 7);
  if (byte >= 0 && byte + 9 <= bytes) return Bits64At(block + byte, shift);
  uint64_t v = 0;
  for (int i = 0; i < 9; ++i) {
    const int64_t b = byte + i;
    if (b < 0 || b >= bytes) continue;
    const uint64_t part = block[b];
    const int at = 8 * i - int(shift);
    v |= at >= 0 ? (at < 64 ? part << at : 0) : part >> -at;
  }
  return v;
}

// The low `n` bits set (n 0..64).
constexpr uint64_t LowBits(int64_t n) {
  return n <= 0 ? 0 : n >= 64 ? ~uint64_t(0) : (uint64_t(1) << n) - 1;
}

// Sets (set) or clears the pixels of `bits` in the 64 pixels starting at
// byte-aligned pixel `x` of a row (pixels outside the row are left alone).
inline void Apply64(uint8_t* row, uint32_t rowBytes, int64_t x, uint64_t bits, bool set) {
  if (bits == 0) return;
  const int64_t byte = x >> 3;
  if (byte >= 0 && byte + 8 <= int64_t(rowBytes)) {
    const uint64_t old = Load64(row + byte);
    Store64(row + byte, set ? old | bits : old & ~bits);
    return;
  }
  for (int i = 0; i < 8; ++i, bits >>= 8) {
    const int64_t b = byte + i;
    if (b < 0 || b >= int64_t(rowBytes)) continue;
    const uint8_t part = static_cast<uint8_t>(bits);
    row[b] = set ? uint8_t(row[b] | part) : uint8_t(row[b] & ~part);
  }
}

inline bool TestBit(const uint8_t* row, int64_t x) { return (row[x >> 3] >> (x & 7)) & 1; }

}  // namespace maskbits
