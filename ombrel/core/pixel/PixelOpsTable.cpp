#include "pixel/PixelView.h"

namespace pixel {
const PixelOps* PixelOps8Row();
const PixelOps* PixelOps15Row();
const PixelOps* PixelOps16Row();
const PixelOps* PixelOps24Row();
const PixelOps* PixelOps32Row();
}  // namespace pixel

const PixelOps* GetPixelOps(int32_t depthIndex) {
  switch (depthIndex) {
    case 0:
      return pixel::PixelOps8Row();
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
