#include "support/RunLengthImage.h"

#include <cstring>

#include "pixel/RunLengthRows.h"

RunLengthImage::RunLengthImage(const PixelTestImage& image, uint32_t spare) {
  const PixelView& v = image.view;
  v.ops->RleSize(size, v.firstRow, v.width, v.height, v.pitch, v.transparentValue);
  // Filled with a pattern so that bytes the encoder forgets show.
  block.assign(size[0] + spare, 0xC3);
  std::memcpy(block.data(), size, sizeof size);
  if (size[0] != 0)
    v.ops->RleEncode(block.data(), v.firstRow, v.width, v.height, v.pitch, v.transparentValue);
  view = v;
  view.buffer = view.firstRow = block.data();
  view.pitch = 0;
  view.alphaBlock = view.alphaFirstRow = nullptr;
  view.ops = GetRlePixelOps(v.depthIndex);
}
