#include "support/PixelTestImage.h"

#include <cstring>

#include "palette/cPalette.h"

PixelTestImage::PixelTestImage(int32_t width, int32_t height, int32_t depth, bool bottomUp,
                               bool withAlpha, uint32_t flags, uint32_t rowBytes) {
  view.width = width;
  view.height = height;
  view.clipRight = width;
  view.clipBottom = height;
  view.depth = depth;
  view.depthIndex = depth <= 8 ? 0 : depth <= 15 ? 1 : depth == 16 ? 2 : depth <= 24 ? 3 : 4;
  view.bytesPerPixel = (depth + 7) / 8;
  view.flags = flags;
  view.rowBytes =
      rowBytes != 0 ? rowBytes : (static_cast<uint32_t>(width) * view.bytesPerPixel + 3) & ~3u;
  view.bottomUp = bottomUp ? 1 : 0;
  view.ops = GetPixelOps(view.depthIndex);
  pixels.assign(view.rowBytes * height + 2 * guard, 0xA5);
  if (withAlpha) {
    view.alphaRowBytes = (static_cast<uint32_t>(width) + 3) & ~3u;
    alpha.assign(view.alphaRowBytes * height + 2 * guard, 0x5A);
  }
  Bind();
}

PixelTestImage::PixelTestImage(const PixelTestImage& other)
    : view(other.view), pixels(other.pixels), alpha(other.alpha), guard(other.guard) {
  Bind();
}

void PixelTestImage::Bind() {
  const int32_t h = view.height;
  view.buffer = pixels.data() + guard;
  view.pitch = view.bottomUp ? -static_cast<int32_t>(view.rowBytes) : static_cast<int32_t>(view.rowBytes);
  view.firstRow = view.bottomUp ? view.buffer + view.rowBytes * (h - 1) : view.buffer;
  if (!alpha.empty()) {
    view.alphaBlock = alpha.data() + guard;
    view.alphaPitch = view.bottomUp ? -static_cast<int32_t>(view.alphaRowBytes)
                                    : static_cast<int32_t>(view.alphaRowBytes);
    view.alphaFirstRow =
        view.bottomUp ? view.alphaBlock + view.alphaRowBytes * (h - 1) : view.alphaBlock;
  }
}

uint32_t PixelTestImage::Raw(int32_t x, int32_t y) const {
  const uint8_t* p = view.firstRow + static_cast<intptr_t>(y) * view.pitch + x * view.bytesPerPixel;
  uint32_t v = 0;
  for (int i = 0; i < view.bytesPerPixel; ++i) v |= uint32_t(p[i]) << (8 * i);
  return v;
}

void PixelTestImage::SetRaw(int32_t x, int32_t y, uint32_t value) {
  uint8_t* p = view.firstRow + static_cast<intptr_t>(y) * view.pitch + x * view.bytesPerPixel;
  for (int i = 0; i < view.bytesPerPixel; ++i) p[i] = uint8_t(value >> (8 * i));
}

uint8_t PixelTestImage::Alpha(int32_t x, int32_t y) const {
  return view.alphaFirstRow[static_cast<intptr_t>(y) * view.alphaPitch + x];
}

void PixelTestImage::SetAlpha(int32_t x, int32_t y, uint8_t a) {
  view.alphaFirstRow[static_cast<intptr_t>(y) * view.alphaPitch + x] = a;
}

void PixelTestImage::Randomise(std::mt19937& rng, uint32_t key, int keyOneIn) {
  const uint32_t mask = view.bytesPerPixel == 4 ? 0xFFFFFFFFu : (1u << (8 * view.bytesPerPixel)) - 1;
  for (int32_t y = 0; y < view.height; ++y)
    for (int32_t x = 0; x < view.width; ++x) {
      uint32_t v = rng() & mask;
      if (keyOneIn > 0 && rng() % keyOneIn == 0) {
        v = key;
        if (view.bytesPerPixel == 4 && rng() % 4 == 0) v |= (rng() % 255 + 1) << 24;
      }
      SetRaw(x, y, v);
    }
}

void PixelTestImage::RandomiseAlpha(std::mt19937& rng) {
  for (int32_t y = 0; y < view.height; ++y)
    for (int32_t x = 0; x < view.width; ++x) {
      const uint32_t r = rng() % 4;
      SetAlpha(x, y, r == 0 ? 0 : r == 1 ? 255 : uint8_t(rng()));
    }
}

std::vector<uint8_t> PixelTestImage::Comparable() const {
  if (view.depth != 8 || view.palette == nullptr) return pixels;
  std::vector<uint8_t> out;
  for (uint8_t index : pixels) {
    const uint32_t c = EntryColour(view.palette->log.entries[index]);
    out.insert(out.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
  }
  return out;
}
