#include "pixel/CopyKernels.h"

#include <algorithm>
#include <cstring>

#include "pixel/PixelFormat.h"
#include "pixel/PixelFormat16.h"
#include "pixel/PixelRows.h"
#include "pixel/PixelVector32.h"
#include "pixel/RowStretchers.h"

using pixel::RowAt;

void CopyRows(const uint8_t* src, uint8_t* dest, uint32_t rowBytes, int32_t srcAdvance,
              int32_t destAdvance, int32_t rowCount, bool backward) {
  if (rowBytes == 0) return;
  const intptr_t srcStep = static_cast<intptr_t>(rowBytes) + srcAdvance;
  const intptr_t destStep = static_cast<intptr_t>(rowBytes) + destAdvance;
  // Within one row source and destination may overlap (a move inside one
  // surface), so each row is a move; across rows the caller's order keeps
  // unread source rows intact.
  if (!backward) {
    for (; rowCount > 0; --rowCount, src += srcStep, dest += destStep)
      std::memmove(dest, src, rowBytes);
    return;
  }
  for (; rowCount > 0; --rowCount, src -= srcStep, dest -= destStep)
    std::memmove(dest - rowBytes, src - rowBytes, rowBytes);
}

void PixelOpsCopy(PixelView* dest, int32_t dx, int32_t dy, const PixelView* src, int32_t sx,
                  int32_t sy, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return;
  const uint32_t rowBytes = static_cast<uint32_t>(width) * src->bytesPerPixel;
  CopyRows(RowAt(src, sx, sy), RowAt(dest, dx, dy), rowBytes,
           src->pitch - static_cast<int32_t>(rowBytes), dest->pitch - static_cast<int32_t>(rowBytes),
           height, false);
}

void CopyRectOverlapSafe(PixelView* view, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                         int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return;
  const uint32_t rowBytes = static_cast<uint32_t>(width) * view->bytesPerPixel;
  const int32_t advance = view->pitch - static_cast<int32_t>(rowBytes);
  // Decided by row and column numbers, so bottom-up buffers need nothing
  // special.
  if (sy < dy || (sy == dy && sx < dx)) {
    CopyRows(RowAt(view, sx + width, sy + height - 1), RowAt(view, dx + width, dy + height - 1),
             rowBytes, advance, advance, height, true);
  } else {
    CopyRows(RowAt(view, sx, sy), RowAt(view, dx, dy), rowBytes, advance, advance, height, false);
  }
}

void FlipRowsVertical(PixelView* view, int32_t x, int32_t y, int32_t rowStep, int32_t,
                      int32_t height, uint32_t rowBytes) {
  uint8_t* top = view->firstRow + static_cast<intptr_t>(y) * rowStep +
                 static_cast<intptr_t>(x) * view->bytesPerPixel;
  uint8_t* bottom = top + static_cast<intptr_t>(height - 1) * rowStep;
  for (int32_t i = 0; i < height / 2; ++i, top += rowStep, bottom -= rowStep)
    std::swap_ranges(top, top + rowBytes, bottom);
}

namespace {

const uint8_t* ViewRow(const PixelView* v, int32_t y) {
  return v->firstRow + static_cast<intptr_t>(y) * v->pitch;
}

}  // namespace

int32_t IsUniformColour(const PixelView* view) {
  if (view->depthIndex < 0 || view->depthIndex > 4) return 0;
  const uint32_t key = view->transparentValue;
  const int32_t bpp = (view->depth + 1) / 8;
  const auto read = GetRowStretchers().readNextPixel[view->depthIndex];
  for (int32_t y = 0; y < view->height; ++y) {
    const uint8_t* p = ViewRow(view, y);
    if (key == 0) {
      // Memory compare: every byte of the row must be 0.
      const uint8_t* end = p + static_cast<intptr_t>(bpp) * view->width;
      if (std::any_of(p, end, [](uint8_t b) { return b != 0; })) return 0;
      continue;
    }
    for (int32_t x = 0; x < view->width; ++x)
      if (read(p) != key) return 0;
  }
  return 1;
}

int32_t FindContentBounds(const PixelView* view, PixelRect* out) {
  if (view->width <= 0 || view->height <= 0 || view->depthIndex < 0 || view->depthIndex > 4)
    return 0;
  const uint32_t key = view->transparentValue;
  const auto read = GetRowStretchers().readNextPixel[view->depthIndex];
  int32_t minX = view->width - 1, minY = view->height - 1, maxX = 0, maxY = 0;
  for (int32_t y = 0; y < view->height; ++y) {
    const uint8_t* p = ViewRow(view, y);
    for (int32_t x = 0; x < view->width; ++x) {
      if (read(p) == key) continue;
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
    }
  }
  *out = PixelRect{minX, minY, maxX + 1, maxY + 1};
  return 1;
}

void FillRectStored(PixelView* view, int32_t x, int32_t y, int32_t width, int32_t height,
                    uint32_t value) {
  if (width <= 0 || height <= 0) return;
  uint8_t* row = RowAt(view, x, y);
  switch (view->bytesPerPixel) {
    case 1:
      pixel::FillRowPlain(pixel::Fmt8{}, row, width, value);
      break;
    case 2:
      pixel::FillRowPlain(pixel::Fmt565{}, row, width, value);
      break;
    case 3:
      pixel::FillRowPlain(pixel::Fmt24{}, row, width, value & 0x00FFFFFFu);
      break;
    case 4:
      if ((view->flags & kPixelFlagVector) != 0) {
        pixel::FillRows32Vector(row, view->pitch, width, height, value);
        return;
      }
      pixel::FillRowPlain(pixel::Fmt32{}, row, width, value);
      break;
    default:
      return;
  }
  // The other rows copy the first, as the surfaces' fills do.
  const size_t bytes = size_t(width) * size_t(view->bytesPerPixel);
  for (uint8_t* to = row + view->pitch; --height > 0; to += view->pitch) std::memcpy(to, row, bytes);
}
