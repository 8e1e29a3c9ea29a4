// The optional 8-bit alpha channel of a surface.
#include <cstdlib>
#include <cstring>

#include "Memory.h"
#include "surface/SurfaceSize.h"
#include "surface/cSurfaceImpl.h"

uint8_t* cSurfaceImpl::CreateAlpha() {
  FreeAlpha();
  const uint64_t rowBytes = (uint64_t(view.width > 0 ? view.width : 0) + 3) & ~uint64_t{3};
  const uint64_t total = rowBytes * uint64_t(view.height > 0 ? view.height : 0);
  void* block = nullptr;
  if (total == 0 || rowBytes >= kMaxSurfaceBytes || total > kMaxSurfaceBytes ||
      !MemCalloc(uint32_t(total), &block))
    return nullptr;
  view.alphaBlock = view.alphaFirstRow = static_cast<uint8_t*>(block);
  view.alphaRowBytes = uint32_t(rowBytes);
  view.alphaPitch = int32_t(rowBytes);
  view.flags |= kPixelFlagOwnsAlpha;
  return view.alphaFirstRow;
}

void cSurfaceImpl::FreeAlpha() {
  if ((view.flags & kPixelFlagOwnsAlpha) && view.alphaBlock != nullptr) {
    void* block = view.alphaBlock;
    MemFree(&block);
  }
  view.flags &= ~kPixelFlagOwnsAlpha;
  view.alphaBlock = view.alphaFirstRow = nullptr;
  view.alphaRowBytes = 0;
  view.alphaPitch = 0;
}

int32_t cSurfaceImpl::SetAlpha(const uint8_t* rows, int32_t pitch) {
  if (rows == nullptr) return 0;
  if (view.alphaFirstRow == nullptr && CreateAlpha() == nullptr) return 0;
  if (pitch == 0) pitch = view.alphaPitch;
  const uint32_t step = uint32_t(std::abs(int64_t(pitch)));
  const size_t bytes = step < view.alphaRowBytes ? step : view.alphaRowBytes;
  for (int32_t y = 0; y < view.height; ++y)
    std::memcpy(view.alphaFirstRow + int64_t(y) * view.alphaPitch, rows + int64_t(y) * pitch, bytes);
  return view.height;
}

void cSurfaceImpl::AttachAlpha(uint8_t* rows, int32_t pitch) {
  const int64_t step = std::abs(int64_t(pitch));
  // Rows inside the surface's own block (a caller handing back what
  // GetAlphaRows gave): the block stays owned, only the view changes;
  // freeing it first would leave the view on freed memory.
  if (rows != nullptr && (view.flags & kPixelFlagOwnsAlpha) && view.alphaBlock != nullptr &&
      rows >= view.alphaBlock &&
      rows < view.alphaBlock + int64_t(view.alphaRowBytes) * (view.height > 0 ? view.height : 0)) {
    view.alphaFirstRow = rows;
    view.alphaPitch = pitch;
    view.alphaRowBytes = uint32_t(step);
    return;
  }
  FreeAlpha();
  if (rows == nullptr) return;
  view.alphaFirstRow = rows;
  view.alphaPitch = pitch;
  view.alphaRowBytes = uint32_t(step);
  view.alphaBlock = pitch < 0 && view.height > 0 ? rows - step * (view.height - 1) : rows;
}
