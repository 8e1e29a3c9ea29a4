// SSE2 ink spans and the alpha-weighted copy of the 8-, 15- and 16-bit rows
// (used when the destination's flag bit 0 is set). Each gives exactly the
// pixels of the plain formula it replaces. Internal to pixel/.
#pragma once

#include <cstdint>

#include "pixel/InkEffects.h"

namespace pixel {

// The vector sets: the plain set of the format with the spans and keyed
// spans of the effects that run on packed lanes replaced (16 bits: blend,
// add, sub and the whole-word effects; 8 bits: the index effects invert,
// xor, and, or, and-not). The colour effects of 8 bits resolve every result
// through the palette and stay plain.
InkOps MakeVectorInk8Ops();
template <int GreenBits>
InkOps MakeVectorInk16Ops();

// 0 leaves the destination word, 255 stores the source word as it is,
// others mix each field by the alpha byte (Fmt16::AlphaMix).
void AlphaCopyRow555Vector(const uint8_t* src, const uint8_t* alpha, uint8_t* dest, int32_t n);
void AlphaCopyRow565Vector(const uint8_t* src, const uint8_t* alpha, uint8_t* dest, int32_t n);

}  // namespace pixel
