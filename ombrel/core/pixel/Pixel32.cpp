#include "pixel/PixelVector32.h"
#include "pixel/PixelRows.h"

namespace pixel {
namespace {

// The SSE2 rows run when the surface's flag bit 0 is set.
struct VectorRows32 : PlainRows {
  static bool FillRow(uint8_t* d, int32_t n, uint32_t v, uint32_t flags) {
    if ((flags & kPixelFlagVector) == 0) return false;
    FillRow32Vector(d, n, v);
    return true;
  }
  static bool FillRows(uint8_t* d, int32_t pitch, int32_t n, int32_t h, uint32_t v, uint32_t flags) {
    if ((flags & kPixelFlagVector) == 0) return false;
    FillRows32Vector(d, pitch, n, h, v);
    return true;
  }
  static bool KeyedCopyRow(const uint8_t* s, uint8_t* d, int32_t n, uint32_t key, uint32_t flags) {
    if ((flags & kPixelFlagVector) == 0) return false;
    KeyedCopyRow32Vector(s, d, n, key);
    return true;
  }
  static bool AlphaCopyRow(const uint8_t* s, const uint8_t* a, uint8_t* d, int32_t n,
                           uint32_t flags) {
    if ((flags & kPixelFlagVector) == 0) return false;
    AlphaCopyRow32Vector(s, a, d, n);
    return true;
  }
  static bool ConvertRow(const uint8_t* s, uint8_t* d, int32_t n, int32_t to, uint32_t flags) {
    if ((flags & kPixelFlagVector) == 0 || (to != 1 && to != 2)) return false;
    if (to == 1)
      From32To15RowVector(s, d, n);
    else
      From32To16RowVector(s, d, n);
    return true;
  }
};

constexpr PixelOps kPixelOps32 = MakeTrueColourRow<Fmt32, VectorRows32>();

}  // namespace

const PixelOps* PixelOps32Row() { return &kPixelOps32; }

}  // namespace pixel
