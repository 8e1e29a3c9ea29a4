#include "surface/DepthCode.h"

namespace {

constexpr int32_t kCodeBits[9] = {0, 1, 4, 8, 24, 4, 15, 16, 32};
constexpr int32_t kCodeDibBits[9] = {0, 1, 4, 8, 24, 4, 16, 16, 32};
// 0-8 -> 0, 9-15 -> 1, 16 -> 2, 17-24 -> 3, 25-32 -> 4.
constexpr int8_t kIndexOfBits[33] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 2,
                                     3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4};
constexpr int32_t kBitsOfIndex[5] = {8, 15, 16, 24, 32};

}  // namespace

int32_t DepthCodeToBits(int32_t code) { return code >= 0 && code <= 8 ? kCodeBits[code] : 0; }

int32_t DepthCodeToDibBits(int32_t code) {
  return code >= 0 && code <= 8 ? kCodeDibBits[code] : 0;
}

int32_t DepthIndexFromBits(int32_t bits) {
  return bits >= 0 && bits <= 32 ? kIndexOfBits[bits] : -1;
}

int32_t DepthFromIndex(int32_t index) { return index >= 0 && index <= 4 ? kBitsOfIndex[index] : 0; }
