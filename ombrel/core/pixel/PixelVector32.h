// SSE2 row routines of the true-colour formats (used when a surface's flag bit 0 is
// set). Each gives exactly the pixels of the plain formula it replaces.
// Internal to pixel/.
#pragma once

#include <cstdint>

#include "pixel/InkEffects.h"

namespace pixel {

void FillRow32Vector(uint8_t* dest, int32_t n, uint32_t value);
// h rows of n pixels, `pitch` bytes apart.
void FillRows32Vector(uint8_t* dest, int32_t pitch, int32_t n, int32_t h, uint32_t value);
void KeyedCopyRow32Vector(const uint8_t* src, uint8_t* dest, int32_t n, uint32_t key);
// Alpha-weighted copy: 0 leaves, 255 copies the source word, others mix.
void AlphaCopyRow32Vector(const uint8_t* src, const uint8_t* alpha, uint8_t* dest, int32_t n);

void BlendSpan32Vector(const InkState* st, const uint8_t* src, uint8_t* dest, int32_t n);
void BlendKeyedSpan32Vector(const InkState* st, const uint8_t* src, uint8_t* dest, int32_t n);
void AddSpan32Vector(const InkState* st, const uint8_t* src, uint8_t* dest, int32_t n);
void AddKeyedSpan32Vector(const InkState* st, const uint8_t* src, uint8_t* dest, int32_t n);
void SubSpan32Vector(const InkState* st, const uint8_t* src, uint8_t* dest, int32_t n);
void SubKeyedSpan32Vector(const InkState* st, const uint8_t* src, uint8_t* dest, int32_t n);

// 32-bit pixels to 5-5-5 or 5-6-5 words (the top bits of each byte; a word
// of 0 from a non-zero pixel becomes 1): the AVX2 form where it runs (sixteen
// pixels a step), else the SSE2 one (eight).
void From32To15RowVector(const uint8_t* src, uint8_t* dest, int32_t n);
void From32To16RowVector(const uint8_t* src, uint8_t* dest, int32_t n);
void From32To15RowSse2(const uint8_t* src, uint8_t* dest, int32_t n);
void From32To16RowSse2(const uint8_t* src, uint8_t* dest, int32_t n);
void From32To15RowAvx2(const uint8_t* src, uint8_t* dest, int32_t n);
void From32To16RowAvx2(const uint8_t* src, uint8_t* dest, int32_t n);
// The processor and the system run AVX2 code (detected once).
bool CpuRunsAvx2();

// 24-bit opaque spans over the row's bytes.
void BlendSpan24Vector(const InkState* st, const uint8_t* src, uint8_t* dest, int32_t n);
void AddSpan24Vector(const InkState* st, const uint8_t* src, uint8_t* dest, int32_t n);
void SubSpan24Vector(const InkState* st, const uint8_t* src, uint8_t* dest, int32_t n);

}  // namespace pixel
