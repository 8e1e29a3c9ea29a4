#include "pixel/InkKernels16.h"
#include "pixel/PixelRows.h"

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

constexpr PixelOps kPixelOps15 = MakeTrueColourRow<Fmt555, PlainRows>();
constexpr PixelOps kPixelOps16 = MakeTrueColourRow<Fmt565, PlainRows>();

const InkOps kInk555 = MakeInk16Ops<Fmt555>();
const InkOps kInk565 = MakeInk16Ops<Fmt565>();

}  // namespace

const PixelOps* PixelOps15Row() { return &kPixelOps15; }
const PixelOps* PixelOps16Row() { return &kPixelOps16; }
const InkOps* InkOps16Set(int32_t depthIndex, bool) { return depthIndex == 1 ? &kInk555 : &kInk565; }

}  // namespace pixel
