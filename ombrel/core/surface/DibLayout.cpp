#include "surface/DibLayout.h"

#include <climits>
#include <cstring>

int64_t DibRowBytes64(int64_t width, int32_t depth) {
  const int64_t bits = depth == 15 ? 16 : depth;
  return (width * bits + 31) / 32 * 4;
}

int64_t DibHeaderSize64(int32_t depth) {
  if (depth >= 0 && depth <= 8) return 40 + 4 * (int64_t(1) << depth);
  return depth == 16 ? 52 : 40;
}

int64_t DibTotalSize64(int64_t width, int64_t height, int32_t depth) {
  return DibHeaderSize64(depth) + height * DibRowBytes64(width, depth);
}

int64_t DibTableBytes(const BitmapInfoHeader& header) {
  if (header.bitCount <= 8)
    return 4 * (header.clrUsed != 0 ? int64_t(header.clrUsed) : int64_t(1) << header.bitCount);
  return header.compression == kBiBitfields ? 12 : 0;
}

const uint8_t* DibBitsAfter(const BitmapInfoHeader* header) {
  return reinterpret_cast<const uint8_t*>(header) + 40 + DibTableBytes(*header);
}

LibError CheckDibHeader(const BitmapInfoHeader& h, DibLayout* out) {
  if (h.size != 40 || h.width <= 0 || h.height == 0 || h.height == INT_MIN) return ErrInvalidData;
  const int32_t bits = h.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return ErrInvalidData;
  if (h.compression != kBiRgb && !(h.compression == kBiBitfields && (bits == 16 || bits == 32)))
    return ErrInvalidData;
  if (bits <= 8 && h.clrUsed > (uint32_t(1) << bits)) return ErrInvalidData;
  DibLayout layout{};
  layout.tableBytes = DibTableBytes(h);
  layout.rowBytes = DibRowBytes64(h.width, bits);
  layout.rows = h.height < 0 ? -int64_t(h.height) : h.height;
  layout.blockBytes = 40 + layout.tableBytes + layout.rows * layout.rowBytes;
  if (layout.blockBytes > (int64_t(1) << 31)) return ErrInvalidData;
  if (out != nullptr) *out = layout;
  return LibOk;
}

bool DibMasksAccepted(int32_t bitCount, const uint32_t* masks) {
  const uint32_t red = masks[0], green = masks[1], blue = masks[2];
  if (bitCount == 16)
    return blue == 0x1F && ((green == 0x3E0 && red == 0x7C00) || (green == 0x7E0 && red == 0xF800));
  return bitCount == 32 && blue == 0xFF && green == 0xFF00 && red == 0xFF0000;
}
