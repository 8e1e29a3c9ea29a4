#include "pixel/PixelView.h"
#include "pixel/PixelRows.h"

namespace pixel {
const PixelOps* PixelOps15Row();
const PixelOps* PixelOps16Row();
const PixelOps* PixelOps24Row();
const PixelOps* PixelOps32Row();
}  // namespace pixel

namespace {

// The 8-bit format has only its format-independent routines so far; its
// other slots are null.
template <int N>
constexpr PixelOps MakeGenericRow() {
  PixelOps row{};
  row.Copy = &PixelOpsCopy;
  row.MirrorRows = &pixel::MirrorRowsOf<N>;
  row.RleSize = &pixel::RleSizeOf<pixel::Fmt8>;
  row.RleEncode = &pixel::RleEncodeOf<pixel::Fmt8>;
  return row;
}

constexpr PixelOps kGeneric8 = MakeGenericRow<1>();

}  // namespace

const PixelOps* GetPixelOps(int32_t depthIndex) {
  switch (depthIndex) {
    case 0:
      return &kGeneric8;
    case 1:
      return pixel::PixelOps15Row();
    case 2:
      return pixel::PixelOps16Row();
    case 3:
      return pixel::PixelOps24Row();
    case 4:
      return pixel::PixelOps32Row();
    default:
      return nullptr;
  }
}
