#include "surface/cBankImageSurface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Memory.h"
#include "palette/PaletteApi.h"
#include "pixel/RunLengthPack.h"
#include "pixel/RunLengthRows.h"
#include "surface/BlitPaths.h"
#include "surface/DepthCode.h"
#include "surface/SurfaceAlloc.h"

namespace {

constexpr uint64_t kMaxBytes = uint64_t(1) << 31;

uint32_t AlphaRowBytes(int32_t width) { return (uint32_t(width) + 3) & ~3u; }

}  // namespace

uint64_t BankImageDataSize(int32_t width, int32_t height, int32_t bits) {
  if (width <= 0 || height <= 0) return 0;
  return BankImageRowBytes(width, bits) * uint64_t(height);
}

uint64_t BankImageRowBytes(int32_t width, int32_t bits) {
  const uint64_t w = uint64_t(width > 0 ? width : 0);
  const uint64_t even = (w + 1) & ~uint64_t(1);
  switch (bits) {
    case 8:
      return even;
    case 15:
    case 16:
      return 2 * w;
    case 24:
      return 3 * even;
    case 32:
      return 4 * w;
    default:
      return w;
  }
}

void cBankImageSurface::Delete(uint32_t flags) {
  if (ownsData) {
    void* block = view.buffer;
    MemFree(&block);
    view.buffer = view.firstRow = nullptr;
    ownsData = 0;
  }
  // The base part, then the storage: this class adds only a plain field.
  ReleaseBase();
  if (flags & 1) {
    this->~cBankImageSurface();
    void* block = this;
    MemFree(&block);
  }
}

cSurfaceImpl* cBankImageSurface::MakeInstance(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return nullptr;
  const int32_t bits = view.depth == 15 ? 16 : view.depth;
  const uint64_t rowBytes = ((uint64_t(width) * uint64_t(bits) + 31) & ~uint64_t(31)) / 8;
  const uint64_t total = rowBytes * uint64_t(height);
  if (rowBytes >= kMaxBytes || total >= kMaxBytes) return nullptr;
  auto* surface = NewSurfaceObject<cBankImageSurface>();
  if (surface == nullptr) return nullptr;
  surface->InitFrom(this, width, height, uint32_t(rowBytes));
  surface->view.bottomUp = 0;
  surface->view.pitch = int32_t(rowBytes);
  surface->view.ops = GetPixelOps(view.depthIndex);  // never the run-length row
  void* block = nullptr;
  if (!MemAlloc(uint32_t(total), &block)) {
    surface->Delete(1);
    return nullptr;
  }
  surface->view.buffer = surface->view.firstRow = static_cast<uint8_t*>(block);
  surface->ownsData = 1;
  return surface;
}

int32_t cBankImageSurface::IsCompressed() {
  return view.ops != nullptr && view.ops != GetPixelOps(view.depthIndex) ? 1 : 0;
}

void cBankImageSurface::SetFormat(int32_t bits, cPalette* palette) {
  const int32_t index = DepthIndexFromBits(bits);
  if (index < 0) return;
  view.depth = bits;
  view.depthIndex = index;
  view.bytesPerPixel = BytesPerPixel(bits);
  cPalette* previous = view.palette;
  view.palette = bits <= 8 ? AddRefPalette(palette) : nullptr;
  ReleasePalette(previous);
  view.transparentValue = 0;
  view.ops = GetPixelOps(index);
}

void cBankImageSurface::AttachImage(const ImageEntry* entry) {
  if (entry == nullptr) return;
  uint8_t* data = ImageEntryData(entry);
  uint8_t* alpha = nullptr;
  const bool compressed = (entry->flags & kImageCompressed) != 0;
  if ((entry->flags & kImageHasAlpha) && !compressed) {
    const uint64_t alphaBytes = uint64_t(AlphaRowBytes(entry->width)) * uint64_t(entry->height);
    if (alphaBytes <= entry->dataSize) alpha = data + (entry->dataSize - alphaBytes);
  }
  AttachPixels(entry->width, entry->height, entry->transparent, data, alpha, compressed ? 1 : 0);
}

void cBankImageSurface::AttachPixels(int32_t width, int32_t height, uint32_t transparent,
                                     uint8_t* pixels, uint8_t* alpha, int32_t compressed) {
  if (pixels == nullptr || width <= 0 || height <= 0) return;
  if (BankImageDataSize(width, height, view.depth) >= kMaxBytes) return;
  view.width = width;
  view.height = height;
  ResetClipRect();
  view.rowBytes = uint32_t(BankImageRowBytes(width, view.depth));
  view.pitch = int32_t(view.rowBytes);
  view.bottomUp = 0;
  view.buffer = view.firstRow = pixels;
  FreeAlpha();
  // The run-length rows never read an alpha plane: a compressed image has none.
  if (alpha != nullptr && !compressed) AttachAlpha(alpha, int32_t(AlphaRowBytes(width)));
  SetTransparentColour(transparent);
  view.ops = compressed ? GetRlePixelOps(view.depthIndex) : GetPixelOps(view.depthIndex);
}

uint32_t cBankImageSurface::GetDataSize() {
  if (view.firstRow == nullptr || IsCompressed()) return 0;
  uint64_t total = BankImageDataSize(view.width, view.height, view.depth);
  if (view.alphaFirstRow != nullptr) total += uint64_t(AlphaRowBytes(view.width)) * uint64_t(view.height);
  return total >= kMaxBytes ? 0 : uint32_t(total);
}

uint32_t cBankImageSurface::CopyData(uint8_t* buffer) {
  const uint32_t total = GetDataSize();
  if (buffer == nullptr || total == 0) return 0;
  // Row by row from the surface's own pitch. A surface in the bank layout
  // gives its rows whole; an instance has 4-byte rows, narrower than the
  // bank's for odd 24-bit widths (4 against 6 at width 1) and with padding
  // never written, so only its pixels are read and the rest comes out zero.
  const uint32_t rowBytes = uint32_t(BankImageRowBytes(view.width, view.depth));
  const bool bankRows = std::abs(int64_t(view.pitch)) == int64_t(rowBytes);
  const uint32_t held =
      bankRows ? rowBytes : std::min<uint32_t>(rowBytes, uint32_t(view.width) * view.bytesPerPixel);
  uint8_t* out = buffer;
  for (int32_t y = 0; y < view.height; ++y, out += rowBytes) {
    std::memcpy(out, view.firstRow + int64_t(y) * view.pitch, held);
    std::memset(out + held, 0, rowBytes - held);
  }
  if (view.alphaFirstRow != nullptr) {
    const uint32_t alphaBytes = AlphaRowBytes(view.width);
    for (int32_t y = 0; y < view.height; ++y, out += alphaBytes)
      std::memcpy(out, view.alphaFirstRow + int64_t(y) * view.alphaPitch, alphaBytes);
  }
  return uint32_t(out - buffer);
}

void cBankImageSurface::RleSize(uint32_t* out) {
  if (out == nullptr) return;
  out[0] = out[1] = out[2] = 0;
  const PixelOps* plain = GetPixelOps(view.depthIndex);
  if (view.firstRow == nullptr || IsCompressed() || plain == nullptr) return;
  plain->RleSize(out, view.firstRow, view.width, view.height, view.pitch, view.transparentValue);
}

void cBankImageSurface::RleEncode(uint8_t* block) {
  const PixelOps* plain = GetPixelOps(view.depthIndex);
  if (block == nullptr || view.firstRow == nullptr || IsCompressed() || plain == nullptr) return;
  plain->RleEncode(block, view.firstRow, view.width, view.height, view.pitch, view.transparentValue);
}

namespace {

// The bank-layout bytes of a surface in a temporary block.
struct DataCopy {
  explicit DataCopy(cBankImageSurface& s) : size(s.GetDataSize()) {
    if (size != 0 && MemAlloc(size, &block)) s.CopyData(static_cast<uint8_t*>(block));
  }
  ~DataCopy() { MemFree(&block); }
  const uint8_t* bytes() const { return static_cast<const uint8_t*>(block); }
  uint32_t size;
  void* block = nullptr;
};

}  // namespace

uint32_t cBankImageSurface::PackedSize(uint32_t unitFlags) {
  const DataCopy data(*this);
  if (data.bytes() == nullptr) return 0;
  return RlePackedSize(data.bytes(), data.size, unitFlags);
}

uint32_t cBankImageSurface::Pack(uint8_t* buffer, uint32_t unitFlags) {
  if (buffer == nullptr) return 0;
  const DataCopy data(*this);
  if (data.bytes() == nullptr) return 0;
  return RlePack(buffer, data.bytes(), data.size, unitFlags);
}

cSurfaceImpl* cBankImageSurface::Expanded() {
  return MakePlainCopy(*this, 0, 0, view.width, view.height);
}

// ---- compressed images: reads from an expanded copy, writes refused ----

int32_t cBankImageSurface::Reallocate(int32_t width, int32_t height) {
  return IsCompressed() ? 0 : cSurfaceImpl::Reallocate(width, height);
}

void cBankImageSurface::SetDepth(int32_t depth) {
  if (!IsCompressed()) cSurfaceImpl::SetDepth(depth);
}

int32_t cBankImageSurface::SetDepthAndPalette(int32_t depth) {
  return IsCompressed() ? 0 : cSurfaceImpl::SetDepthAndPalette(depth);
}

void cBankImageSurface::PutIndex(int32_t x, int32_t y, uint32_t index) {
  if (!IsCompressed()) cSurfaceImpl::PutIndex(x, y, index);
}

void cBankImageSurface::SetPixel(int32_t x, int32_t y, uint32_t colour) {
  if (!IsCompressed()) cSurfaceImpl::SetPixel(x, y, colour);
}

int32_t cBankImageSurface::GetPixelNative(int32_t x, int32_t y, uint32_t* out) {
  if (!IsCompressed()) return cSurfaceImpl::GetPixelNative(x, y, out);
  if (out == nullptr || !InClip(x, y)) return 0;
  cSurfaceImpl* plain = MakePlainCopy(*this, x, y, 1, 1);
  if (plain == nullptr) return 0;
  const int32_t done = plain->GetPixelNative(0, 0, out);
  DeleteSurface(plain);
  return done;
}

int32_t cBankImageSurface::GetPixel(int32_t x, int32_t y, uint32_t* out) {
  if (!IsCompressed()) return cSurfaceImpl::GetPixel(x, y, out);
  if (out == nullptr || !InClip(x, y)) return 0;
  cSurfaceImpl* plain = MakePlainCopy(*this, x, y, 1, 1);
  if (plain == nullptr) return 0;
  const int32_t done = plain->GetPixel(0, 0, out);
  DeleteSurface(plain);
  return done;
}

int32_t cBankImageSurface::FilterBlit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx,
                                      int32_t sy, int32_t width, int32_t height,
                                      int32_t kernelWidth, int32_t kernelHeight, int32_t anchorX,
                                      int32_t anchorY, int32_t marginX, int32_t marginY,
                                      FilterCallback callback, uint32_t user) {
  if (!IsCompressed())
    return cSurfaceImpl::FilterBlit(dest, dx, dy, sx, sy, width, height, kernelWidth, kernelHeight,
                                    anchorX, anchorY, marginX, marginY, callback, user);
  cSurfaceImpl* plain = Expanded();
  if (plain == nullptr) return 0;
  const int32_t done = plain->FilterBlit(dest, dx, dy, sx, sy, width, height, kernelWidth,
                                         kernelHeight, anchorX, anchorY, marginX, marginY, callback, user);
  DeleteSurface(plain);
  return done;
}

int32_t cBankImageSurface::Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw,
                                   int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                                   int32_t mode, uint32_t effect, uint32_t parameter,
                                   uint32_t stretchFlags) {
  if (!IsCompressed())
    return cSurfaceImpl::Stretch(dest, dx, dy, dw, dh, sx, sy, sw, sh, mode, effect, parameter,
                                 stretchFlags);
  cSurfaceImpl* plain = Expanded();
  if (plain == nullptr) return 0;
  const int32_t done =
      plain->Stretch(dest, dx, dy, dw, dh, sx, sy, sw, sh, mode, effect, parameter, stretchFlags);
  DeleteSurface(plain);
  return done;
}

int32_t cBankImageSurface::Rotate(cSurfaceImpl* dest, int32_t angle, int32_t antiAlias,
                                  uint32_t fillColour, int32_t keepTransparent) {
  if (!IsCompressed()) return cSurfaceImpl::Rotate(dest, angle, antiAlias, fillColour, keepTransparent);
  cSurfaceImpl* plain = Expanded();
  if (plain == nullptr) return 0;
  const int32_t done = plain->Rotate(dest, angle, antiAlias, fillColour, keepTransparent);
  DeleteSurface(plain);
  return done;
}

int32_t cBankImageSurface::RotateQuarter(cSurfaceImpl* dest, int32_t clockwise) {
  if (!IsCompressed()) return cSurfaceImpl::RotateQuarter(dest, clockwise);
  cSurfaceImpl* plain = Expanded();
  if (plain == nullptr) return 0;
  const int32_t done = plain->RotateQuarter(dest, clockwise);
  DeleteSurface(plain);
  return done;
}

int32_t cBankImageSurface::IsEmpty() {
  if (!IsCompressed()) return cSurfaceImpl::IsEmpty();
  cSurfaceImpl* plain = Expanded();
  if (plain == nullptr) return 0;
  const int32_t done = plain->IsEmpty();
  DeleteSurface(plain);
  return done;
}

int32_t cBankImageSurface::FillRectIndex(int32_t x, int32_t y, int32_t width, int32_t height,
                                         uint32_t index) {
  return IsCompressed() ? 0 : cSurfaceImpl::FillRectIndex(x, y, width, height, index);
}

int32_t cBankImageSurface::FillRect(int32_t x, int32_t y, int32_t width, int32_t height,
                                    uint32_t colour) {
  return IsCompressed() ? 0 : cSurfaceImpl::FillRect(x, y, width, height, colour);
}

int32_t cBankImageSurface::TextOut(const char* text, int32_t length, int32_t x, int32_t y,
                                   int32_t alignment, const SurfaceRect* clip, uint32_t colour,
                                   void* font, uint32_t unused, uint32_t effect, uint32_t parameter,
                                   uint32_t blitFlags) {
  if (IsCompressed()) return 0;
  return cSurfaceImpl::TextOut(text, length, x, y, alignment, clip, colour, font, unused, effect,
                               parameter, blitFlags);
}

int32_t cBankImageSurface::DrawText(const char* text, int32_t length, SurfaceRect* rect,
                                    uint32_t format, uint32_t colour, void* font, uint32_t unused,
                                    uint32_t effect, uint32_t parameter, uint32_t blitFlags,
                                    int32_t leftMargin, int32_t rightMargin, int32_t tabLength) {
  if (IsCompressed()) return 0;
  return cSurfaceImpl::DrawText(text, length, rect, format, colour, font, unused, effect, parameter,
                                blitFlags, leftMargin, rightMargin, tabLength);
}

int32_t cBankImageSurface::ReplaceColour(uint32_t newColour, uint32_t oldColour) {
  return IsCompressed() ? 0 : cSurfaceImpl::ReplaceColour(newColour, oldColour);
}

void cBankImageSurface::RemapToPalette(cPalette* palette) {
  if (!IsCompressed()) cSurfaceImpl::RemapToPalette(palette);
}

void cBankImageSurface::RemapIndices(const uint8_t* table) {
  if (!IsCompressed()) cSurfaceImpl::RemapIndices(table);
}

int32_t cBankImageSurface::SetPalette(cPalette* palette, int32_t remap) {
  // A remap rewrites pixels, which a compressed image does not have as rows.
  if (IsCompressed() && remap == 1 && palette != view.palette) return 0;
  return cSurfaceImpl::SetPalette(palette, remap);
}

int32_t cBankImageSurface::ReadPixels(void* file) {
  return IsCompressed() ? 0 : cSurfaceImpl::ReadPixels(file);
}

int32_t cBankImageSurface::WritePixels(void* file) {
  return IsCompressed() ? 0 : cSurfaceImpl::WritePixels(file);
}
