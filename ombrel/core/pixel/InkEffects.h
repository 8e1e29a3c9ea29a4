// Ink effects: how a source pixel is combined with the destination pixel by
// the ink blits. Each format has a plain and a vector `InkOps` set; an effect
// is looked up once per blit and then runs whole rows.
#pragma once

#include <cstdint>

class cPalette;

enum InkEffect : uint32_t {
  EffectNone = 0,
  EffectBlend = 1,             // parameter: destination weight p, 0..128
  EffectInvert = 2,
  EffectXor = 3,
  EffectAnd = 4,
  EffectOr = 5,
  EffectBlendOverColour = 6,   // bits 24..31: p; bits 0..23: colour (native in 24/32 bits)
  // 7 has no routines
  EffectAndNot = 8,
  EffectAdd = 9,
  EffectMono = 10,
  EffectSub = 11,
  EffectBlendExceptColour = 12,  // bits 24..31: p; bits 0..23: colour 0x00BBGGRR
};

constexpr uint32_t kInkEffectCount = 13;

// True when the routines serve `effect` with `parameter`: effects 1..12 but
// 7, and for the weighted effects a weight of at most 128.
bool InkRequestAccepted(uint32_t effect, uint32_t parameter);

// The working record of one ink blit.
struct InkState {
  cPalette* destPalette;     // 8-bit rows only
  uint32_t parameter;
  uint32_t srcTransparentColour;  // 0x00BBGGRR
  uint32_t srcKey;                // the source's native transparent value
  // Filled by InkSetup:
  uint32_t destWeight;  // p
  uint32_t srcWeight;   // 128 - p
  uint32_t colour;      // effects 6 and 12, native
};

using InkSetupFn = void (*)(InkState* state);
// New destination pixel from one source and one destination pixel (native).
using InkPixelFn = uint32_t (*)(const InkState* state, uint32_t src, uint32_t dest);
// n pixels: dest = effect(src, dest), both advancing.
using InkSpanFn = void (*)(const InkState* state, const uint8_t* src, uint8_t* dest, int32_t n);
// n destination pixels with the source's key as every source pixel.
using InkKeyFillFn = void (*)(const InkState* state, uint8_t* dest, int32_t n);
// n pixels, source pixels equal to the key skipped, others through InkPixel.
using InkKeyedSpanFn = void (*)(const InkState* state, const uint8_t* src, uint8_t* dest,
                                int32_t n);
// n pixels weighted by the source alpha bytes: 0 skips, 255 stores InkPixel,
// others mix InkPixel with the destination.
using InkAlphaSpanFn = void (*)(const InkState* state, const uint8_t* src, const uint8_t* alpha,
                                uint8_t* dest, int32_t n);

// Rows indexed by effect code; entries 0 and 7 are null.
struct InkOps {
  InkSetupFn setup[kInkEffectCount];
  InkPixelFn pixel[kInkEffectCount];
  InkSpanFn span[kInkEffectCount];
  InkKeyFillFn keyFill[kInkEffectCount];
  InkKeyedSpanFn keyedSpan[kInkEffectCount];
  InkAlphaSpanFn alphaSpan[kInkEffectCount];
};

// The set of a depth index (1: 15, 2: 16, 3: 24, 4: 32 bits); null otherwise.
const InkOps* GetInkOps(int32_t depthIndex, bool vector);

// Prepares `state` for one blit (parameter and source key filled in).
void InkBegin(InkState* state, const InkOps* ops, uint32_t effect, uint32_t parameter,
              uint32_t srcTransparentColour, uint32_t srcKey, cPalette* destPalette);
