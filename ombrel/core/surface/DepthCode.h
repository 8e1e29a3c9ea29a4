// The library's pixel format codes and the surface depth index.
#pragma once

#include <cstdint>

// `DepthCode` as applications, windows and images carry it.
enum DepthCode : int32_t {
  DepthNone = 0,
  Depth1 = 1,
  Depth4Packed = 2,
  Depth8 = 3,
  Depth24 = 4,
  Depth4Planar = 5,
  Depth15 = 6,
  Depth16 = 7,
  Depth32 = 8,
};

// Surface depth in bits of a code (0 for codes outside 0..8).
int32_t DepthCodeToBits(int32_t code);
// Bit count written into device-independent bitmap headers (15-bit: 16).
int32_t DepthCodeToDibBits(int32_t code);
// Depth index 0..4 (8, 15, 16, 24, 32 bits) of a depth in bits 0..32; -1
// outside that range.
int32_t DepthIndexFromBits(int32_t bits);
// Depth in bits of an index 0..4; 0 outside.
int32_t DepthFromIndex(int32_t index);
// (depth + 7) / 8.
constexpr int32_t BytesPerPixel(int32_t bits) { return (bits + 7) / 8; }
