#include "pixel/PixelRows.h"

namespace pixel {

// The 24-bit row has no vector routines: its three-byte pixels run the plain
// formulas on every processor.
constexpr PixelOps kPixelOps24 = MakeTrueColourRow<Fmt24, PlainRows>();

const PixelOps* PixelOps24Row() { return &kPixelOps24; }

}  // namespace pixel
