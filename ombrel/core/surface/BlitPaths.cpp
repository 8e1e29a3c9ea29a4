#include "surface/BlitPaths.h"

#include <algorithm>
#include <cstring>

#include "palette/PaletteApi.h"
#include "surface/SurfaceAccess.h"

namespace {

bool SlotPresent(const PixelOps* ops, int32_t mode, uint32_t effect) {
  if (ops == nullptr) return false;
  if (mode == BlitKeyed) return effect == 0 ? ops->BlitKeyed != nullptr : ops->BlitKeyedInk != nullptr;
  return effect == 0 ? ops->Copy != nullptr : ops->BlitInk != nullptr;
}

}  // namespace

LibError BlitRoutineStatus(const cSurfaceImpl& src, const cSurfaceImpl& dest, int32_t mode,
                           uint32_t effect) {
  if (src.view.depth == dest.view.depth)
    return SlotPresent(src.view.ops, mode, effect) ? LibOk : ErrNotSupported;
  // Across depths the plain row of the source's format converts (a
  // run-length source is first copied into one), and a mode or effect is
  // then drawn by the destination's format.
  const PixelOps* plain = GetPixelOps(src.view.depthIndex);
  if (plain == nullptr || plain->ConvertRows == nullptr) return ErrNotSupported;
  if (mode == BlitOpaque && effect == 0) return LibOk;
  return SlotPresent(GetPixelOps(dest.view.depthIndex), mode, effect) ? LibOk : ErrNotSupported;
}

cSurfaceImpl* MakePlainCopy(cSurfaceImpl& src, int32_t sx, int32_t sy, int32_t width,
                            int32_t height) {
  cSurfaceImpl* copy = src.MakeInstance(width, height);
  if (copy == nullptr) return nullptr;
  if (!src.Blit(copy, 0, 0, sx, sy, width, height, BlitOpaque, 0, 0, BlitWithAlpha)) {
    DeleteSurface(copy);
    return nullptr;
  }
  return copy;
}

PixelView AlphaPlaneView(const PixelView& view) {
  PixelView a{};
  a.width = view.width;
  a.height = view.height;
  a.clipRight = view.width;
  a.clipBottom = view.height;
  a.depth = 8;
  a.depthIndex = 0;
  a.bytesPerPixel = 1;
  a.buffer = a.firstRow = view.alphaFirstRow;
  a.rowBytes = view.alphaRowBytes;
  a.pitch = view.alphaPitch;
  a.bottomUp = view.alphaPitch < 0 ? 1 : 0;
  a.ops = GetPixelOps(0);
  return a;
}

bool CopyAlphaRect(cSurfaceImpl& src, cSurfaceImpl& dest, int32_t dx, int32_t dy, int32_t sx,
                   int32_t sy, int32_t width, int32_t height) {
  if (src.view.alphaFirstRow == nullptr) return true;
  if (dest.view.alphaFirstRow == nullptr && dest.CreateAlpha() == nullptr) return false;
  const PixelView from = AlphaPlaneView(src.view);
  const PixelView to = AlphaPlaneView(dest.view);
  // A surface drawn onto itself overlaps within a row: each row is a move.
  for (int32_t row = 0; row < height; ++row)
    std::memmove(to.firstRow + int64_t(dy + row) * to.pitch + dx,
                from.firstRow + int64_t(sy + row) * from.pitch + sx, size_t(width));
  return true;
}

bool InverseTableReady(const cSurfaceImpl& surface) {
  if (surface.view.depth != 8) return true;
  return surface.view.palette != nullptr && BuildInverseTable(surface.view.palette) != 0;
}
