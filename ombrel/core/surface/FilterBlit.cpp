// Slot 34 `FilterBlit`: a callback computes each destination pixel from a
// block of the destination as it was before the pass and the matching block
// of the source. Colours are 0x00BBGGRR at every depth.
#include <algorithm>
#include <cstdint>

#include "Memory.h"
#include "surface/BlitPaths.h"
#include "surface/Resample.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

namespace {

// A MemAlloc block of 32-bit colours, freed on scope exit.
class ColourBlock {
 public:
  explicit ColourBlock(uint64_t count) {
    if (count > 0 && count <= 0x3FFFFFFFu) MemAlloc(uint32_t(count * 4), &block_);
  }
  ~ColourBlock() { MemFree(&block_); }
  ColourBlock(const ColourBlock&) = delete;
  ColourBlock& operator=(const ColourBlock&) = delete;
  uint32_t* data() const { return static_cast<uint32_t*>(block_); }

 private:
  void* block_ = nullptr;
};

bool ReadsColours(const cSurfaceImpl& s) {
  return s.view.depth == 8 || (s.view.ops != nullptr && s.view.ops->GetPixel != nullptr);
}

}  // namespace

int32_t cSurfaceImpl::FilterBlit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx,
                                 int32_t sy, int32_t width, int32_t height, int32_t kernelWidth,
                                 int32_t kernelHeight, int32_t anchorX, int32_t anchorY,
                                 int32_t marginX, int32_t marginY, FilterCallback callback,
                                 uint32_t user) {
  const auto filter = reinterpret_cast<FilterBlockFn>(callback);
  if (dest == nullptr || dest->IsDCOnly() || view.depth != dest->view.depth || filter == nullptr)
    return 0;
  if (dest->IsCompressed()) return 0;  // its block is no pixel rows
  if (!ReadsColours(*this) || !ReadsColours(*dest)) return 0;  // no pixel routines at this depth
  if (view.depth == 8 && (view.palette == nullptr || !InverseTableReady(*dest))) return 0;
  if (!ClipBlitRects(view, dest->view, dx, dy, sx, sy, width, height)) return 0;
  if (kernelWidth <= 0 || kernelHeight <= 0 || marginX < 0 || marginY < 0) return 0;
  // The kernel, anchors and margins come from callers: sizes in 64 bits,
  // refused when a block could not be allocated anyway.
  const int64_t copyWidth = int64_t(width) + kernelWidth + 2 * int64_t(marginX);
  const int64_t copyHeight = int64_t(height) + kernelHeight + 2 * int64_t(marginY);
  const int64_t kernelCount = int64_t(kernelWidth) * kernelHeight;
  // Each side first: margins near 2^31 make sides near 2^32, whose product
  // would overflow 64 bits.
  if (copyWidth > 0x3FFFFFFF || copyHeight > 0x3FFFFFFF || copyWidth * copyHeight > 0x3FFFFFFF ||
      kernelCount > 0x3FFFFFFF)
    return 0;
  // Destination position of the copy's (0, 0); positions are 64-bit, so
  // far anchors only read edge pixels.
  const int64_t originX = int64_t(dx) - anchorX - marginX;
  const int64_t originY = int64_t(dy) - anchorY - marginY;

  SurfaceAccess srcAccess(*this);
  if (!srcAccess.ok()) return 0;
  SurfaceAccess destAccess(*dest);
  if (!destAccess.ok()) return 0;

  // The background copy; beyond the destination it repeats the nearest edge
  // pixel, so every block is defined.
  const int32_t cw = int32_t(copyWidth), ch = int32_t(copyHeight);
  ColourBlock background{uint64_t(cw) * uint64_t(ch)};
  ColourBlock backBlock{uint64_t(kernelCount)};
  ColourBlock srcBlock{uint64_t(kernelCount)};
  if (background.data() == nullptr || backBlock.data() == nullptr || srcBlock.data() == nullptr)
    return 0;
  const PixelView& d = dest->view;
  for (int32_t j = 0; j < ch; ++j) {
    const int32_t y = int32_t(std::clamp<int64_t>(originY + j, 0, d.height - 1));
    uint32_t* row = background.data() + int64_t(j) * cw;
    for (int32_t i = 0; i < cw; ++i) {
      const int32_t x = int32_t(std::clamp<int64_t>(originX + i, 0, d.width - 1));
      row[i] = dest->GetPixelFast(x, y) & 0x00FFFFFFu;
    }
  }

  // Outside the source's clip: the colour its key pixels read as (at 8 bits
  // the key index's palette colour).
  const uint32_t key = view.depth == 8 ? KeyColourAt24(*this) : view.transparentColour & 0x00FFFFFFu;
  for (int64_t y = int64_t(dy) - marginY; y < int64_t(dy) + height + marginY; ++y) {
    for (int64_t x = int64_t(dx) - marginX; x < int64_t(dx) + width + marginX; ++x) {
      // Background block: top-left at destination (x - anchorX, y - anchorY).
      const int64_t bx = x - anchorX - originX, by = y - anchorY - originY;
      uint32_t* b = backBlock.data();
      for (int32_t j = 0; j < kernelHeight; ++j) {
        const int64_t cy = std::clamp<int64_t>(by + j, 0, ch - 1);
        for (int32_t i = 0; i < kernelWidth; ++i)
          *b++ = background.data()[cy * cw + std::clamp<int64_t>(bx + i, 0, cw - 1)];
      }
      // Source block: outside the source's clip the transparent colour.
      const int64_t px = sx + x - dx - anchorX, py = sy + y - dy - anchorY;
      uint32_t* s = srcBlock.data();
      for (int32_t j = 0; j < kernelHeight; ++j) {
        const int64_t v = py + j;
        const bool rowInside = v >= view.clipTop && v < view.clipBottom;
        for (int32_t i = 0; i < kernelWidth; ++i) {
          const int64_t u = px + i;
          *s++ = rowInside && u >= view.clipLeft && u < view.clipRight
                     ? GetPixelFast(int32_t(u), int32_t(v)) & 0x00FFFFFFu
                     : key;
        }
      }
      // Within the 2^30 entries allowed above, so in 32-bit range.
      dest->SetPixel(int32_t(x), int32_t(y), filter(backBlock.data(), srcBlock.data(), user));
    }
  }
  return 1;
}
