#include "pixel/PixelView.h"
#include "pixel/TrueColourOps.h"

namespace pixel {
const PixelOps* PixelOps24Row();
const PixelOps* PixelOps32Row();
}  // namespace pixel

namespace {

// The 8-, 15- and 16-bit formats have only their format-independent routines
// so far; their other slots are null.
template <int N>
constexpr PixelOps MakeGenericRow() {
  PixelOps row{};
  row.Copy = &PixelOpsCopy;
  row.MirrorRows = &pixel::MirrorRowsOf<N>;
  return row;
}

constexpr PixelOps kGeneric8 = MakeGenericRow<1>();
constexpr PixelOps kGeneric16 = MakeGenericRow<2>();

}  // namespace

const PixelOps* GetPixelOps(int32_t depthIndex) {
  switch (depthIndex) {
    case 0:
      return &kGeneric8;
    case 1:
    case 2:
      return &kGeneric16;
    case 3:
      return pixel::PixelOps24Row();
    case 4:
      return pixel::PixelOps32Row();
    default:
      return nullptr;
  }
}
