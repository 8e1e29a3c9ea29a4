// Slot 66 `BuildCollisionMask`: one bit per pixel, set where the pixel is
// solid (in a copy run of the run-length form, by a non-zero alpha byte, or
// by differing from the key).
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "Memory.h"
#include "surface/CollideSolid.h"
#include "surface/MaskRecord.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

namespace {

// Where the solid pixels are set, through the column budget of a top-edge
// mask when there is one.
class MaskWriter {
 public:
  MaskWriter(uint8_t* rows, uint32_t rowBytes, uint8_t* budget)
      : rows_(rows), rowBytes_(rowBytes), budget_(budget) {}
  void Row(int32_t y) { row_ = rows_ + int64_t(y) * rowBytes_; }
  void Solid(int32_t x) {
    if (budget_ != nullptr) {
      if (budget_[x] == 0) return;
      --budget_[x];
    }
    row_[x >> 3] |= uint8_t(1u << (x & 7));
  }

 private:
  uint8_t* rows_;
  uint32_t rowBytes_;
  uint8_t* budget_;
  uint8_t* row_ = nullptr;
};

// The copy runs of the run-length form: the block starts with its total
// size, then a (codes, pixels) offset pair per row counted from byte 4; the
// rows' skip and copy counts follow each other without gaps.
void MarkRunLengthRows(const PixelView& v, MaskWriter& mask) {
  const uint8_t* block = v.firstRow;
  uint32_t total = 0, codes = 0;
  std::memcpy(&total, block, 4);
  std::memcpy(&codes, block + 4, 4);
  const uint8_t* c = block + 4 + codes;
  const uint8_t* end = block + total;
  for (int32_t y = 0; y < v.height; ++y) {
    mask.Row(y);
    for (int32_t x = 0; x < v.width && c + 2 <= end;) {
      x += *c++;
      const int32_t copy = *c++;
      for (int32_t stop = std::min(x + copy, v.width); x < stop; ++x) mask.Solid(x);
    }
  }
}

}  // namespace

uint32_t cSurfaceImpl::BuildCollisionMask(void* mask, uint32_t flags) {
  const int32_t width = view.width > 0 ? view.width : 0, height = view.height > 0 ? view.height : 0;
  const uint32_t rowBytes = CollisionMaskRowBytes(width);
  const uint64_t size = sizeof(CollisionMaskHeader) + uint64_t(rowBytes) * uint64_t(height);
  if (size > UINT32_MAX) return 0;
  if (mask == nullptr) return uint32_t(size);
  SurfaceAccess access(*this);
  if (!access.ok()) return 0;

  auto* header = static_cast<CollisionMaskHeader*>(mask);
  std::memset(header, 0, size_t(size));
  header->headerSize = sizeof(CollisionMaskHeader);
  header->width = width;
  header->height = height;
  header->rowBytes = rowBytes;

  // Without room for the column budget the full mask is built.
  void* budget = nullptr;
  if ((flags & MaskTopEdge) && width > 0 && MemAlloc(uint32_t(width), &budget))
    std::memset(budget, kTopEdgeDepth, size_t(width));
  MaskWriter writer(static_cast<uint8_t*>(mask) + sizeof(CollisionMaskHeader), rowBytes,
                    static_cast<uint8_t*>(budget));
  if (IsCompressed()) {
    MarkRunLengthRows(view, writer);
  } else if (view.alphaFirstRow != nullptr) {
    for (int32_t y = 0; y < height; ++y) {
      writer.Row(y);
      const uint8_t* a = view.alphaFirstRow + int64_t(y) * view.alphaPitch;
      for (int32_t x = 0; x < width; ++x)
        if (a[x] != 0) writer.Solid(x);
    }
  } else if (budget == nullptr) {
    uint8_t* rows = static_cast<uint8_t*>(mask) + sizeof(CollisionMaskHeader);
    for (int32_t y = 0; y < height; ++y) collide::OrSolidBits(view, y, rows + int64_t(y) * rowBytes);
  } else {
    for (int32_t y = 0; y < height; ++y) {
      writer.Row(y);
      collide::ForSolidInRow(view, y, [&writer](int32_t x) { writer.Solid(x); });
    }
  }
  MemFree(&budget);
  return uint32_t(size);
}
