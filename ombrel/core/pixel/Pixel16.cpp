#include "pixel/InkKernels16.h"
#include "pixel/PixelRows.h"
#include "pixel/PixelVectorKeyed.h"

namespace pixel {

void InkSetup16ExceptColour555(InkState* st) {
  InkSetupWeightedColour(st);
  st->colour = Fmt555::FromColour(st->colour);
}
void InkSetup16ExceptColour565(InkState* st) {
  InkSetupWeightedColour(st);
  st->colour = Fmt565::FromColour(st->colour);
}

namespace {

// The SSE2 keyed copy runs when the surface's flag bit 0 is set.
struct VectorRows16 : PlainRows {
  static bool KeyedCopyRow(const uint8_t* s, uint8_t* d, int32_t n, uint32_t key, uint32_t flags) {
    if ((flags & kPixelFlagVector) == 0) return false;
    KeyedCopyRow16Vector(s, d, n, key);
    return true;
  }
};

constexpr PixelOps kPixelOps15 = MakeTrueColourRow<Fmt555, VectorRows16>();
constexpr PixelOps kPixelOps16 = MakeTrueColourRow<Fmt565, VectorRows16>();

const InkOps kInk555 = MakeInk16Ops<Fmt555>();
const InkOps kInk565 = MakeInk16Ops<Fmt565>();

}  // namespace

const PixelOps* PixelOps15Row() { return &kPixelOps15; }
const PixelOps* PixelOps16Row() { return &kPixelOps16; }
const InkOps* InkOps16Set(int32_t depthIndex, bool) { return depthIndex == 1 ? &kInk555 : &kInk565; }

}  // namespace pixel
