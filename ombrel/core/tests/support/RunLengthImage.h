// A test image encoded in the transparency run-length form, with a view over
// the block as a compressed bank image presents it to the run-length rows.
#pragma once

#include <cstdint>
#include <vector>

#include "pixel/PixelView.h"
#include "support/PixelTestImage.h"

struct RunLengthImage {
  // Encodes `image` with its own key through its row's slots 12 and 13;
  // `spare` bytes follow the block (the image bank allocates 16).
  explicit RunLengthImage(const PixelTestImage& image, uint32_t spare = 16);

  uint32_t size[3] = {};       // what RleSize answered
  std::vector<uint8_t> block;  // size[0] + spare bytes
  PixelView view{};            // firstRow = block start, ops = the run-length row
};
