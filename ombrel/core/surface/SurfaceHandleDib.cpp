// The surface handle's packed device-independent bitmap members: loading a
// DIB (1- and 4-bit ones widened to 8 bits first), saving one, and the DIB
// size functions.
#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>

#include "Memory.h"
#include "palette/DefaultPalettes.h"
#include "palette/PaletteApi.h"
#include "palette/PaletteContext.h"
#include "surface/DibLayout.h"
#include "surface/SurfaceHandle.h"
#include "surface/cDIBViewSurface.h"
#include "surface/cNullSurface.h"

namespace {

RgbQuad QuadOf(PaletteEntry e) { return RgbQuad{e.blue, e.green, e.red, 0}; }

// A 1- or 4-bit DIB as a zeroed 8-bit packed DIB: the surface's palette (or
// the default one) with the DIB's colours from entry 10 on; a 4-bit pixel v
// becomes v + 10 (0 stays 0), a 1-bit pixel 10 or 11. Rows keep their order.
LibError WidenToEight(const BitmapInfoHeader& h, const uint8_t* bits, const cPalette* surfacePalette,
                      void** out) {
  *out = nullptr;
  if (h.width <= 0 || h.height == 0 || h.height == INT_MIN) return ErrInvalidData;
  const int32_t depth = h.bitCount;
  const int64_t rows = h.height < 0 ? -int64_t(h.height) : h.height;
  const int64_t total = DibTotalSize64(h.width, rows, 8);
  if (total > (int64_t(1) << 31) || !MemCalloc(uint32_t(total), out)) return ErrOutOfMemory;
  auto* header = static_cast<BitmapInfoHeader*>(*out);
  *header = h;
  header->bitCount = 8;
  header->sizeImage = header->clrUsed = header->clrImportant = 0;
  auto* table = reinterpret_cast<RgbQuad*>(header + 1);
  if (surfacePalette != nullptr) {
    for (int i = 0; i < kPaletteEntries; ++i) table[i] = QuadOf(surfacePalette->log.entries[i]);
  } else {
    std::lock_guard<std::mutex> guard(PaletteLock());
    const LogPalette& defaults = DefaultPalette256();
    for (int i = 0; i < kPaletteEntries; ++i) table[i] = QuadOf(defaults.entries[i]);
  }
  const uint32_t colours = h.clrUsed != 0 ? h.clrUsed : 1u << depth;
  std::memcpy(table + 10, &h + 1, std::min<uint32_t>(colours, 1u << depth) * sizeof(RgbQuad));
  const int64_t fromBytes = DibRowBytes64(h.width, depth), toBytes = DibRowBytes64(h.width, 8);
  uint8_t* to = reinterpret_cast<uint8_t*>(table + kPaletteEntries);
  for (int64_t r = 0; r < rows; ++r, bits += fromBytes, to += toBytes)
    for (int32_t x = 0; x < h.width; ++x) {
      if (depth == 4) {
        const uint8_t v = (bits[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF;
        to[x] = v == 0 ? 0 : uint8_t(v + 10);
      } else {
        to[x] = uint8_t(10 + ((bits[x / 8] >> (7 - x % 8)) & 1));
      }
    }
  return LibOk;
}

}  // namespace

int32_t cSurfaceHandle::LoadDIB(const BitmapInfoHeader* header, const void* bits, uint32_t options) {
  cSurfaceImpl* current = Impl();
  if (header == nullptr) {
    lastError = ErrInvalidData;
    return 0;
  }
  if (current->IsDCOnly() || (header->compression != kBiRgb && header->compression != kBiBitfields) ||
      (header->bitCount < 8 && header->bitCount != 1 && header->bitCount != 4)) {
    lastError = ErrNotSupported;
    return 0;
  }
  const bool surfacePaletted = current->view.depth <= 8;
  void* wide = nullptr;
  if (header->bitCount < 8) {
    const uint8_t* from = bits != nullptr ? static_cast<const uint8_t*>(bits) : DibBitsAfter(header);
    const LibError widened =
        WidenToEight(*header, from, surfacePaletted ? current->view.palette : nullptr, &wide);
    if (widened != LibOk) {
      lastError = widened;
      return 0;
    }
    header = static_cast<const BitmapInfoHeader*>(wide);
    bits = nullptr;
  }
  int32_t done = 0;
  cDIBViewSurface dib(header, bits);
  cSurfaceImpl* made = nullptr;
  cPalette* taken = nullptr;
  do {
    if (dib.view.width == 0) {
      lastError = ErrInvalidData;
      break;
    }
    // Always drawn into a new implementation, so a failure changes nothing.
    made = current->MakeInstance(dib.view.width, dib.view.height);
    if (made == nullptr) {
      lastError = ErrOutOfMemory;
      break;
    }
    const bool bothPaletted = surfacePaletted && dib.view.depth <= 8;
    bool remap = bothPaletted && (options & 1) != 0;
    if (bothPaletted && (options & 1) == 0) {
      taken = (options & 4) != 0 ? AddRefPalette(dib.view.palette)
                                 : PaletteMakeSystem(dib.view.palette, nullptr);
      if (taken == nullptr || !made->SetPalette(taken, 0)) {
        lastError = ErrOutOfMemory;
        break;
      }
      remap = taken != dib.view.palette;
    }
    if (!dib.Blit(made, 0, 0, 0, 0, dib.view.width, dib.view.height, BlitOpaque, 0, 0, 0)) {
      lastError = ErrNotSupported;  // no converter between the two depths
      break;
    }
    if (remap) made->RemapToPalette(dib.view.palette);
    if (current != GetNullSurface()) current->Delete(1);
    impl = made;
    made = nullptr;
    done = 1;
  } while (false);
  ReleasePalette(taken);
  DeleteSurface(made);
  MemFree(&wide);
  return done;
}

int32_t cSurfaceHandle::CreateFromBitmapInfo(const BitmapInfoHeader* header, const void* bits,
                                             uint32_t options) {
  return LoadDIB(header, bits, options);
}

int32_t cSurfaceHandle::SaveDIB(BitmapInfoHeader* header, void* bits, uint32_t options) {
  if (header == nullptr) {
    lastError = ErrInvalidData;
    return 0;
  }
  cSurfaceImpl* s = Impl();
  if (s->IsDCOnly()) {
    lastError = ErrNotSupported;
    return 0;
  }
  const PixelView& v = s->view;
  *header = BitmapInfoHeader{};
  header->size = 40;
  header->width = v.width;
  header->height = v.height;
  header->planes = 1;
  header->bitCount = uint16_t(v.depth == 15 ? 16 : v.depth);
  header->compression = v.depth == 16 ? kBiBitfields : kBiRgb;
  header->sizeImage = uint32_t(DibRowBytes64(v.width, v.depth) * v.height);
  auto* after = reinterpret_cast<uint8_t*>(header + 1);
  if (v.depth == 16) {
    const uint32_t masks[3] = {0xF800, 0x7E0, 0x1F};
    std::memcpy(after, masks, sizeof masks);
  } else if (v.depth <= 8) {
    PaletteEntry entries[kPaletteEntries] = {};
    const int32_t count = 1 << v.depth;
    s->GetPaletteEntries(entries, 0, count);
    auto* quads = reinterpret_cast<RgbQuad*>(after);
    for (int32_t i = 0; i < count; ++i) quads[i] = QuadOf(entries[i]);
  }
  if ((options & 1) == 0) {
    cDIBViewSurface dib(header, bits);
    if (dib.view.width == 0 ||
        !s->Blit(&dib, 0, 0, 0, 0, v.width, v.height, BlitOpaque, 0, 0, 0)) {
      lastError = ErrNotSupported;
      return 0;
    }
  }
  return 1;
}

uint32_t cSurfaceHandle::GetDibSize() const {
  const PixelView& v = Impl()->view;
  return uint32_t(DibTotalSize64(v.width, v.height, v.depth));
}

uint32_t cSurfaceHandle::DibRowBytes(int32_t width, int32_t depth) {
  return uint32_t(DibRowBytes64(width, depth));
}
uint32_t cSurfaceHandle::DibHeaderSize(int32_t depth) { return uint32_t(DibHeaderSize64(depth)); }
uint32_t cSurfaceHandle::DibTotalSize(int32_t width, int32_t height, int32_t depth) {
  return uint32_t(DibTotalSize64(width, height, depth));
}
uint8_t* cSurfaceHandle::DibBitsPointer(const BitmapInfoHeader* header) {
  return header != nullptr ? const_cast<uint8_t*>(DibBitsAfter(header)) : nullptr;
}
