// Small pixel images for the pixel routine tests: a `PixelView` over owned
// memory with guard bytes around the rows, top-down or bottom-up, with an
// optional alpha plane.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "pixel/PixelView.h"

struct PixelTestImage {
  // rowBytes 0: rows rounded up to 4 bytes; otherwise that many bytes a row
  // (the image bank's layouts are not 4-aligned).
  PixelTestImage(int32_t width, int32_t height, int32_t depth, bool bottomUp, bool withAlpha,
                 uint32_t flags, uint32_t rowBytes = 0);
  PixelTestImage(const PixelTestImage& other);
  PixelTestImage& operator=(const PixelTestImage&) = delete;

  // Raw native value at (x, y): 3 or 4 bytes, little-endian (2 or 1 for the
  // 16- and 8-bit formats).
  uint32_t Raw(int32_t x, int32_t y) const;
  void SetRaw(int32_t x, int32_t y, uint32_t value);
  uint8_t Alpha(int32_t x, int32_t y) const;
  void SetAlpha(int32_t x, int32_t y, uint8_t a);

  // Random content; about one pixel in `keyOneIn` is the key (and, in 32
  // bits, some key pixels carry a non-zero byte 3).
  void Randomise(std::mt19937& rng, uint32_t key, int keyOneIn);
  void RandomiseAlpha(std::mt19937& rng);
  // The bytes to compare results by: the pixels, or at 8 bits with a palette
  // the colours of the pixels (equal entries are one answer).
  std::vector<uint8_t> Comparable() const;

  PixelView view{};
  std::vector<uint8_t> pixels;  // guard bytes included
  std::vector<uint8_t> alpha;
  int32_t guard = 16;

 private:
  void Bind();
};
