#include "pixel/InkKernels16.h"
#include "pixel/PixelRows.h"
#include "pixel/PixelVectorInk.h"
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

// The SSE2 keyed and alpha-weighted copies run when the surface's flag bit
// 0 is set.
template <int GreenBits>
struct VectorRows16 : PlainRows {
  static bool KeyedCopyRow(const uint8_t* s, uint8_t* d, int32_t n, uint32_t key, uint32_t flags) {
    if ((flags & kPixelFlagVector) == 0) return false;
    KeyedCopyRow16Vector(s, d, n, key);
    return true;
  }
  static bool AlphaCopyRow(const uint8_t* s, const uint8_t* a, uint8_t* d, int32_t n,
                           uint32_t flags) {
    if ((flags & kPixelFlagVector) == 0) return false;
    if (GreenBits == 5)
      AlphaCopyRow555Vector(s, a, d, n);
    else
      AlphaCopyRow565Vector(s, a, d, n);
    return true;
  }
};

constexpr PixelOps kPixelOps15 = MakeTrueColourRow<Fmt555, VectorRows16<5>>();
constexpr PixelOps kPixelOps16 = MakeTrueColourRow<Fmt565, VectorRows16<6>>();

const InkOps kInk555 = MakeInk16Ops<Fmt555>();
const InkOps kInk565 = MakeInk16Ops<Fmt565>();
const InkOps kInk555Vector = MakeVectorInk16Ops<5>();
const InkOps kInk565Vector = MakeVectorInk16Ops<6>();

}  // namespace

const PixelOps* PixelOps15Row() { return &kPixelOps15; }
const PixelOps* PixelOps16Row() { return &kPixelOps16; }
const InkOps* InkOps16Set(int32_t depthIndex, bool vector) {
  if (depthIndex == 1) return vector ? &kInk555Vector : &kInk555;
  return vector ? &kInk565Vector : &kInk565;
}

}  // namespace pixel
