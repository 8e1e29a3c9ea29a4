#include "mask/WindowMask.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "Memory.h"
#include "mask/MaskBitRows.h"
#include "mask/MaskBits.h"
#include "pixel/CopyKernels.h"

using maskbits::LowBits;

namespace {

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Pixels [from, to] of the 64 starting at `at`.
uint64_t SpanBits(int64_t at, int64_t from, int64_t to) {
  return LowBits(to + 1 - at) & ~LowBits(from - at);
}

// A plane as a one-byte-per-pixel view, for the overlap-safe rectangle copy.
PixelView ByteView(uint8_t* rows, int32_t rowBytes, int32_t height) {
  PixelView v{};
  v.width = rowBytes;
  v.height = height;
  v.firstRow = v.buffer = rows;
  v.rowBytes = static_cast<uint32_t>(rowBytes);
  v.pitch = rowBytes;
  v.bytesPerPixel = 1;
  v.depth = 8;
  return v;
}

}  // namespace

const uint8_t* UsableMaskBits(const CollisionMaskHeader* record) {
  if (record == nullptr || record->headerSize != sizeof(CollisionMaskHeader) || record->width < 0 ||
      record->height < 0 || record->rowBytes < maskbits::RowBytes(record->width))
    return nullptr;
  return reinterpret_cast<const uint8_t*>(record) + sizeof(CollisionMaskHeader);
}

uint8_t* WindowMask::Plane(int plane) const {
  const int32_t offset = plane == 1 ? plane1 : plane0;
  return bits != nullptr && offset != kMaskPlaneAbsent ? bits + offset : nullptr;
}

namespace {

// Places the mask rectangle (left a multiple of 16, right + 1 too); false
// when it is empty or too large for the window's fields.
bool PlaceMask(WindowMask& m, int64_t left, int64_t top, int64_t right, int64_t bottom) {
  const int64_t width = right - left + 1, rows = bottom - top + 1;
  if (width <= 0 || rows <= 0 || left < std::numeric_limits<int32_t>::min() ||
      right > std::numeric_limits<int32_t>::max() || top < std::numeric_limits<int32_t>::min() ||
      bottom > std::numeric_limits<int32_t>::max())
    return false;
  const int64_t rowBytes = width / 8;
  // Two planes and the spare bytes must fit one allocation.
  if (rowBytes > kMaskMaxRowBytes || rowBytes * rows > (int64_t(1) << 30)) return false;
  m.rect = {int32_t(left), int32_t(right), int32_t(top), int32_t(bottom)};
  m.clip = {m.rect.left, m.rect.top, m.rect.right, m.rect.bottom};
  m.originX = m.originY = 0;
  m.rowBytes = int32_t(rowBytes);
  m.planeSize = uint32_t(rowBytes * rows);
  return true;
}

}  // namespace

int32_t WindowMask::Allocate(int32_t planes) {
  plane0 = plane1 = kMaskPlaneAbsent;
  if ((planes & 3) == 0) return 1;
  uint32_t total = 0;
  if (planes & 1) {
    plane0 = 0;
    total += planeSize;
  }
  if (planes & 2) {
    plane1 = int32_t(total);
    total += planeSize;
  }
  void* block = nullptr;
  if (!MemCalloc(total + 4, &block)) {
    plane0 = plane1 = kMaskPlaneAbsent;
    return 0;
  }
  bits = static_cast<uint8_t*>(block);
  return 1;
}

int32_t WindowMask::Create(int32_t bufferWidth, int32_t bufferHeight, int32_t marginX, int32_t marginY,
                           int32_t planes) {
  Free();
  const int64_t left = -((int64_t(marginX) + 15) & ~int64_t(15));
  const int64_t right = ((int64_t(bufferWidth) + marginX + 31) & ~int64_t(15)) - 1;
  const int64_t top = -int64_t(marginY), bottom = int64_t(bufferHeight) + marginY - 1;
  if (!PlaceMask(*this, left, top, right, bottom)) return 0;
  return Allocate(planes);
}

int32_t WindowMask::CreateRect(int32_t bufferWidth, int32_t bufferHeight, int32_t left, int32_t top,
                               int32_t right, int32_t bottom, int32_t planes) {
  Free();
  const int64_t l = left < 0 ? (int64_t(left) - 15) & ~int64_t(15) : (int64_t(left) + 15) & ~int64_t(15);
  const int64_t r = ((int64_t(std::max(right, bufferWidth)) + 15) & ~int64_t(15)) - 1;
  const int64_t b = int64_t(std::max(bottom, bufferHeight)) - 1;
  if (!PlaceMask(*this, l, top, r, b)) return 0;
  return Allocate(planes);
}

void WindowMask::Free() {
  if (bits != nullptr) {
    void* block = bits;
    MemFree(&block);
  }
  bits = nullptr;
  plane0 = plane1 = kMaskPlaneAbsent;
}

void WindowMask::Clear(int32_t value) {
  for (int plane = 0; plane < 2; ++plane)
    if (uint8_t* p = Plane(plane)) std::memset(p, (value >> plane) & 1 ? 0xFF : 0, planeSize);
}

void WindowMask::SetClip(const MaskRect* r) {
  if (!Exists()) return;
  clip = {rect.left, rect.top, rect.right, rect.bottom};
  if (r == nullptr) return;
  // The clip is the only bound of the writes: it never reaches beyond the planes.
  clip.left = std::max(r->left, rect.left);
  clip.top = std::max(r->top, rect.top);
  clip.right = std::min(r->right, rect.right);
  clip.bottom = std::min(r->bottom, rect.bottom);
}

void WindowMask::SetOrigin(int32_t x, int32_t y) {
  if (!Exists()) return;
  originX = x;
  originY = y;
}

void WindowMask::FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t value) {
  if (!Exists()) return;
  const int64_t left = std::max<int64_t>(int64_t(x1) + originX, clip.left);
  const int64_t right = std::min<int64_t>(int64_t(x2) + originX, clip.right);
  const int64_t top = std::max<int64_t>(int64_t(y1) + originY, clip.top);
  const int64_t bottom = std::min<int64_t>(int64_t(y2) + originY, clip.bottom);
  if (left > right || top > bottom) return;
  const int64_t rx0 = left - rect.left, rx1 = right - rect.left;
  for (int plane = 0; plane < 2; ++plane) {
    uint8_t* p = Plane(plane);
    if (p == nullptr) continue;
    const bool set = (value >> plane) & 1;
    for (int64_t y = top; y <= bottom; ++y) {
      uint8_t* row = p + (y - rect.top) * rowBytes;
      for (int64_t at = rx0 & ~int64_t(7); at <= rx1; at += 64)
        maskbits::Apply64(row, uint32_t(rowBytes), at, SpanBits(at, rx0, rx1), set);
    }
  }
}

void WindowMask::PaintBits(const CollisionMaskHeader* record, int32_t x, int32_t y, int32_t planes,
                           int32_t value) {
  const uint8_t* src = UsableMaskBits(record);
  if (src == nullptr || !Exists()) return;
  const int64_t X = int64_t(x) + originX, Y = int64_t(y) + originY;
  const int64_t left = std::max<int64_t>(X, clip.left), right = std::min<int64_t>(X + record->width - 1, clip.right);
  const int64_t top = std::max<int64_t>(Y, clip.top), bottom = std::min<int64_t>(Y + record->height - 1, clip.bottom);
  if (left > right || top > bottom) return;
  const int64_t rx0 = left - rect.left, rx1 = right - rect.left, shift = X - rect.left;
  for (int plane = 0; plane < 2; ++plane) {
    uint8_t* p = (planes >> plane) & 1 ? Plane(plane) : nullptr;
    if (p == nullptr) continue;
    const bool set = (value >> plane) & 1;
    for (int64_t yy = top; yy <= bottom; ++yy) {
      const uint8_t* from = src + (yy - Y) * record->rowBytes;
      uint8_t* row = p + (yy - rect.top) * rowBytes;
      for (int64_t at = rx0 & ~int64_t(7); at <= rx1; at += 64) {
        const uint64_t stamp = maskbits::Bits64(from, record->rowBytes, at - shift) & SpanBits(at, rx0, rx1);
        maskbits::Apply64(row, uint32_t(rowBytes), at, stamp, set);
      }
    }
  }
}

void WindowMask::PaintBitsTop(const CollisionMaskHeader* record, int32_t x, int32_t y) {
  const uint8_t* src = UsableMaskBits(record);
  uint8_t* p = Plane(1);
  if (src == nullptr || p == nullptr) return;
  const int64_t X = int64_t(x) + originX, Y = int64_t(y) + originY;
  // A clip ending within the mask's first columns is taken one column wider.
  int64_t clipRight = clip.right;
  if (clipRight - rect.left <= 120) clipRight = std::min<int64_t>(clipRight + 16, rect.right);
  const int64_t left = std::max<int64_t>(X, clip.left), right = std::min<int64_t>(X + record->width - 1, clipRight);
  for (int64_t dx = left; dx <= right; ++dx) {
    const int64_t col = dx - X;
    int64_t first = 0;
    while (first < record->height && !maskbits::TestBit(src + first * record->rowBytes, col)) ++first;
    const int64_t end = std::min<int64_t>(first + kTopEdgeDepth, record->height);
    for (int64_t r = first; r < end; ++r) {
      const int64_t dy = Y + r;
      if (dy < clip.top) continue;
      if (dy > clip.bottom) break;
      uint8_t& byte = p[(dy - rect.top) * rowBytes + ((dx - rect.left) >> 3)];
      const uint8_t bit = uint8_t(1u << ((dx - rect.left) & 7));
      byte = maskbits::TestBit(src + r * record->rowBytes, col) ? uint8_t(byte | bit) : uint8_t(byte & ~bit);
    }
  }
}

int32_t WindowMask::TestPoint(int32_t x, int32_t y, int32_t plane) const {
  const uint8_t* p = Plane(plane == 1 ? 1 : 0);
  if (p == nullptr) return 0;
  const int64_t X = int64_t(x) + originX, Y = int64_t(y) + originY;
  if (X < clip.left || X > clip.right || Y < clip.top || Y > clip.bottom) return 0;
  return maskbits::TestBit(p + (Y - rect.top) * rowBytes, X - rect.left) ? 1 : 0;
}

int32_t WindowMask::TestRect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t plane) const {
  const uint8_t* p = Plane(plane == 1 ? 1 : 0);
  if (p == nullptr) return 0;
  return MaskBitsTestRect(p, rowBytes * 8, Rows(), Clamp32(int64_t(x) + originX - rect.left),
                          Clamp32(int64_t(y) + originY - rect.top), w, h);
}

int32_t WindowMask::Scroll(int32_t dx, int32_t dy, MaskRect* stripX, MaskRect* stripY) {
  if (!Exists()) return 0;
  if (stripX == nullptr && stripY == nullptr) {
    originX = dx;
    originY = dy;
    return 0;
  }
  const int64_t t = int64_t(originX) - dx;
  const int64_t c = t >> 3;  // whole bytes, rounded down
  originX = int32_t(t - 8 * c);
  if (c == 0 && dy == 0) return 0;
  const MaskRect whole{rect.left, rect.top, rect.right, rect.bottom};
  MaskRect sx = whole, sy = whole;
  const int64_t rows = Rows(), ady = dy < 0 ? -int64_t(dy) : dy, ac = c < 0 ? -c : c;
  // A shift as large as the mask leaves no bytes to move: the whole mask
  // needs repainting.
  if (ac < rowBytes && ady < rows) {
    if (c > 0)
      sx.left = int32_t(std::max<int64_t>(int64_t(rect.right) - 8 * c - 7, rect.left));
    else
      sx.right = int32_t(std::min<int64_t>(int64_t(rect.left) + ((1 - c) & ~int64_t(1)) * 8 + 15, rect.right));
    if (dy < 0) sy.top = rect.bottom + dy;
    if (dy > 0) sy.bottom = rect.top + dy - 1;
    for (int plane = 0; plane < 2; ++plane) {
      uint8_t* p = Plane(plane);
      if (p == nullptr) continue;
      PixelView view = ByteView(p, rowBytes, int32_t(rows));
      CopyRectOverlapSafe(&view, int32_t(c < 0 ? -c : 0), dy > 0 ? dy : 0, int32_t(c > 0 ? c : 0),
                          dy < 0 ? -dy : 0, int32_t(rowBytes - ac), int32_t(rows - ady));
    }
  }
  if (stripX != nullptr) *stripX = sx;
  if (stripY != nullptr) *stripY = sy;
  return 1;
}
