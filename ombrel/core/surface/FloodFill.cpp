#include "surface/FloodFill.h"

#include <cstdlib>

#include "Memory.h"
#include "surface/StoredColour.h"
#include "surface/SurfaceAccess.h"

namespace {

struct Segment {
  int32_t y, left, right, dy;
};

// Segments on a heap block that doubles when full.
class SegmentStack {
 public:
  ~SegmentStack() { MemFree(&block_); }
  bool Push(const Segment& s) {
    if (count_ == capacity_) {
      const uint64_t grown = capacity_ == 0 ? 1024 : uint64_t(capacity_) * 2;
      if (grown * sizeof(Segment) > (uint64_t(1) << 31)) return false;
      void* block = block_;
      if (block == nullptr ? !MemAlloc(uint32_t(grown * sizeof(Segment)), &block)
                           : !MemRealloc(uint32_t(grown * sizeof(Segment)), &block))
        return false;
      block_ = block;
      capacity_ = uint32_t(grown);
    }
    static_cast<Segment*>(block_)[count_++] = s;
    return true;
  }
  bool Pop(Segment* out) {
    if (count_ == 0) return false;
    *out = static_cast<Segment*>(block_)[--count_];
    return true;
  }

 private:
  void* block_ = nullptr;
  uint32_t count_ = 0;
  uint32_t capacity_ = 0;
};

bool Near(uint32_t a, uint32_t b, int32_t tolerance) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(int32_t((a >> shift) & 0xFF) - int32_t((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

}  // namespace

LibError ScanLineFill(cSurfaceImpl& surface, cSurfaceImpl& target, int32_t x, int32_t y,
                      uint32_t colour, uint8_t index, int32_t tolerance, FloodFillBox* box) {
  const PixelView& v = surface.view;
  const PixelView& t = target.view;
  *box = FloodFillBox{x, y, x, y};
  if (x < v.clipLeft || x >= v.clipRight || y < v.clipTop || y >= v.clipBottom) return ErrInvalidData;
  SurfaceAccess access(surface);
  SurfaceAccess targetAccess(target);
  if (!access.ok() || !targetAccess.ok()) return ErrInvalidData;
  const int32_t bytes = v.bytesPerPixel;
  auto at = [&](const PixelView& view, int32_t px, int32_t py) {
    return view.firstRow + int64_t(py) * view.pitch + int64_t(px) * bytes;
  };
  const uint32_t seed = ReadStoredColour(v, at(v, x, y));
  if (seed == colour) return ErrInvalidData;
  auto matches = [&](int32_t px, int32_t py) {
    if (px < v.clipLeft || px >= v.clipRight) return false;
    return Near(ReadStoredColour(v, at(v, px, py)), seed, tolerance) &&
           ReadStoredColour(t, at(t, px, py)) != colour;
  };
  auto fill = [&](int32_t px, int32_t py) {
    WriteStoredColour(t, at(t, px, py), colour, index);
    if (px < box->left) box->left = px;
    if (px > box->right) box->right = px;
    if (py < box->top) box->top = py;
    if (py > box->bottom) box->bottom = py;
  };
  SegmentStack stack;
  // Rows outside the clip are never entered.
  auto push = [&](int32_t py, int32_t l, int32_t r, int32_t dy) {
    const int32_t next = py + dy;
    if (next < v.clipTop || next >= v.clipBottom) return true;
    return stack.Push(Segment{py, l, r, dy});
  };
  if (!push(y, x, x, 1) || !push(y + 1, x, x, -1)) return ErrOutOfMemory;
  Segment s{};
  while (stack.Pop(&s)) {
    const int32_t row = s.y + s.dy;
    int32_t px = s.left;
    while (px >= 0 && matches(px, row)) fill(px--, row);
    int32_t left = px + 1;
    bool skipFirst = px >= s.left;
    if (!skipFirst) {
      if (left < s.left && !push(row, left, s.left - 1, -s.dy)) return ErrOutOfMemory;
      px = s.left + 1;
    }
    do {
      if (!skipFirst) {
        while (px < v.width && matches(px, row)) fill(px++, row);
        if (!push(row, left, px - 1, s.dy)) return ErrOutOfMemory;
        if (px > s.right + 1 && !push(row, s.right + 1, px - 1, -s.dy)) return ErrOutOfMemory;
      }
      skipFirst = false;
      for (++px; px <= s.right && !matches(px, row); ++px) {
      }
      left = px;
    } while (px <= s.right);
  }
  return LibOk;
}
