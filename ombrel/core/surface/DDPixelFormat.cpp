#include "surface/DDPixelFormat.h"

DDFormatDecision DecideDDPixelFormat(uint32_t bitCount, uint32_t redMask, uint32_t greenMask,
                                     uint32_t blueMask) {
  const DDFormatDecision refused{false, false, 0, 0};
  switch (bitCount) {
    case 1:
    case 4:
      return refused;
    case 8:
      return {true, false, 8, 1};
    case 16:
      if (blueMask != 0x1F) return refused;
      if (greenMask == 0x3E0 && redMask == 0x7C00) return {true, false, 15, 2};
      if (greenMask == 0x7E0 && redMask == 0xF800) return {true, false, 16, 2};
      return refused;
    case 24:
    case 32:
      if (redMask != 0xFF0000 || greenMask != 0xFF00 || blueMask != 0xFF) return refused;
      return {true, false, int32_t(bitCount), int32_t(bitCount / 8)};
    default:
      return {true, true, 0, 0};
  }
}
