#include "surface/cDIBViewSurface.h"

#include <cstdint>

#include "palette/PaletteApi.h"
#include "surface/DibLayout.h"
#include "surface/SurfaceSize.h"

namespace {

struct Accepted {
  int32_t depth;        // 8, 15, 16, 24 or 32
  uint32_t tableBytes;  // colour table or masks between the header and the bits
};

// Accepts 8, 16, 24 and 32 bits (1- and 4-bit images are widened before a
// view is made), a positive width, a nonzero height, at most 2^bits colour
// entries, and for bit fields only the exact 5-5-5, 5-6-5 and 8-8-8 masks.
bool Accept(const BitmapInfoHeader& h, Accepted& out) {
  if (h.width <= 0 || h.height == 0) return false;
  const int bits = h.bitCount;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (bits == 8 && h.clrUsed > 256) return false;
  if (h.compression == kBiRgb) {
    out.depth = bits == 16 ? 15 : bits;
    out.tableBytes = bits == 8 ? 4 * (h.clrUsed != 0 ? h.clrUsed : 256) : 0;
    return true;
  }
  if (h.compression != kBiBitfields || (bits != 16 && bits != 32)) return false;
  const auto* masks = reinterpret_cast<const uint32_t*>(&h + 1);
  if (!DibMasksAccepted(bits, masks)) return false;
  out.depth = bits == 32 ? 32 : masks[1] == 0x3E0 ? 15 : 16;
  out.tableBytes = 12;
  return true;
}

}  // namespace

cDIBViewSurface::cDIBViewSurface(const BitmapInfoHeader* header, const void* bits) {
  Accepted accepted{};
  if (header == nullptr || header->height == INT32_MIN || !Accept(*header, accepted)) return;
  const int32_t width = header->width;
  const int32_t height = header->height < 0 ? -header->height : header->height;
  uint32_t rowBytes = 0;
  if (ComputeSurfaceSize(width, height, accepted.depth, &rowBytes, nullptr) != LibOk) return;

  const auto* afterHeader = reinterpret_cast<const uint8_t*>(header + 1);
  if (accepted.depth == 8) {
    // The colour table (blue-first quads) becomes a shared palette.
    const uint32_t used = header->clrUsed != 0 ? header->clrUsed : 256;
    LogPalette log{};
    log.version = kLogPaletteVersion;
    log.count = kPaletteEntries;
    const auto* quads = reinterpret_cast<const RgbQuad*>(afterHeader);
    for (uint32_t i = 0; i < used; ++i)
      log.entries[i] = PaletteEntry{quads[i].red, quads[i].green, quads[i].blue, 0};
    view.palette = PaletteGetShared(&log);
  }
  const uint8_t* pixels =
      bits != nullptr ? static_cast<const uint8_t*>(bits) : afterHeader + accepted.tableBytes;

  view.width = width;
  view.height = height;
  view.rowBytes = rowBytes;
  view.bottomUp = header->height > 0 ? 1 : 0;
  view.pitch = view.bottomUp ? -int32_t(rowBytes) : int32_t(rowBytes);
  ResetClipRect();
  SetDepth(accepted.depth);
  // The caller's memory: written through, never freed.
  view.buffer = const_cast<uint8_t*>(pixels);
  view.firstRow = view.buffer + (view.bottomUp ? int64_t(height - 1) * rowBytes : 0);
}

void cDIBViewSurface::Detach() {
  view.buffer = view.firstRow = nullptr;
  ReleaseBase();
}

void cDIBViewSurface::Delete(uint32_t flags) {
  Detach();
  cSurfaceImpl::Delete(flags);
}

cSurfaceImpl* cDIBViewSurface::MakeInstance(int32_t, int32_t) { return nullptr; }
int32_t cDIBViewSurface::SetDepthAndPalette(int32_t) { return 0; }
