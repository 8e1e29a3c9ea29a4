// How a DirectDraw surface's pixel format becomes a library format: 8 bits
// indexed; 16 bits with blue 0x1F as 5-5-5 or 5-6-5 by its green and red
// masks; 24 and 32 bits with 8-8-8 masks. 1 and 4 bits and any other masks
// are refused; other bit counts keep the prototype's format.
#pragma once

#include <cstdint>

struct DDFormatDecision {
  bool accepted;
  bool keepPrototype;  // an unknown bit count: the prototype's format stays
  int32_t depth;
  int32_t bytesPerPixel;
};

DDFormatDecision DecideDDPixelFormat(uint32_t bitCount, uint32_t redMask, uint32_t greenMask,
                                     uint32_t blueMask);
