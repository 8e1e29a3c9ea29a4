// A client's run-length block: the validator decides, and a block it accepts
// is drawn by all four run-length routines through a window of the image
// into an exactly sized destination. Input: depth index, width, height,
// window (x, y, width, height), effect, parameter, then the block.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "palette/PaletteApi.h"
#include "pixel/RunLengthRows.h"

namespace {

cPalette* Palette() {
  static cPalette* palette = [] {
    PaletteStartup();
    cPalette* p = PaletteGetDefault();
    BuildInverseTable(p);
    return p;
  }();
  return palette;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 10) return 0;
  const int32_t depthIndex = data[0] % 5;
  const int32_t depths[] = {8, 15, 16, 24, 32};
  const int32_t bpp = (depths[depthIndex] + 7) / 8;
  const int32_t w = 1 + data[1] % 64, h = 1 + data[2] % 16;
  const int32_t sx = data[3] % w, sy = data[4] % h;
  const int32_t cw = 1 + data[5] % (w - sx), ch = 1 + data[6] % (h - sy);
  const uint32_t effect = data[7] % 14, parameter = data[8] | uint32_t(data[9]) << 24;
  // The block in its own allocation, so a read past it is reported.
  std::vector<uint8_t> block(data + 10, data + size);
  if (!RleValidate(block.data(), uint32_t(block.size()), w, h, bpp)) return 0;
  PixelView src{};
  src.width = w;
  src.height = h;
  src.depth = depths[depthIndex];
  src.depthIndex = depthIndex;
  src.bytesPerPixel = bpp;
  src.buffer = src.firstRow = block.data();
  src.transparentValue = data[8];
  src.palette = Palette();
  const PixelOps* ops = GetRlePixelOps(depthIndex);
  std::vector<uint8_t> pixels(size_t(cw) * size_t(ch) * size_t(bpp), 0x5A);
  PixelView dest = src;
  dest.width = cw;
  dest.height = ch;
  dest.buffer = dest.firstRow = pixels.data();
  dest.pitch = cw * bpp;
  dest.flags = data[9] & 1;
  ops->BlitKeyed(&dest, 0, 0, &src, sx, sy, cw, ch);
  ops->Copy(&dest, 0, 0, &src, sx, sy, cw, ch);
  ops->BlitKeyedInk(&dest, 0, 0, &src, sx, sy, cw, ch, effect, parameter);
  ops->BlitInk(&dest, 0, 0, &src, sx, sy, cw, ch, effect, parameter);
  return 0;
}
