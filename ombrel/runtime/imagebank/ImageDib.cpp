#include "imagebank/ImageDib.h"

#include <cstring>

#include "app/AppPalette.h"
#include "bank/BankStore.h"
#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "surface/DepthCode.h"
#include "surface/DibLayout.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceTypes.h"
#include "surface/cBankImageSurface.h"
#include "surface/cDIBViewSurface.h"

namespace {

// DIB bits of a depth code: true colour always gives 24 bits.
int32_t DibBitsOfCode(int32_t code) {
  static const int32_t kBits[9] = {0, 1, 4, 8, 24, 4, 24, 24, 24};
  return code >= 0 && code <= 8 ? kBits[code] : 0;
}

bool PlainDib(const BitmapInfoHeader* dib, int32_t minBits) {
  return dib != nullptr && dib->size == 40 && dib->compression == kBiRgb && dib->bitCount >= minBits &&
         (dib->bitCount == 8 || dib->bitCount == 16 || dib->bitCount == 24 || dib->bitCount == 32);
}

}  // namespace

uint32_t OMB_STDCALL ImageMakeDIBHeader(AppObject* app, int32_t code, int32_t width, int32_t height,
                                        BitmapInfoHeader* out) {
  const int32_t bits = DibBitsOfCode(code);
  const int64_t image = ((int64_t(width) * bits + 31) / 32) * 4 * int64_t(height);
  const int64_t table = bits >= 1 && bits <= 8 ? (int64_t(4) << bits) : 0;
  const int64_t total = 40 + table + image;
  if (width < 0 || height < 0 || total > INT32_MAX) return 0;
  if (out != nullptr) {
    *out = BitmapInfoHeader{};
    out->size = 40;
    out->width = width;
    out->height = height;
    out->planes = 1;
    out->bitCount = uint16_t(bits);
    out->sizeImage = uint32_t(image);
    if (table != 0) {
      // The depth's default palette (the app's at 8 bits); entries it lacks stay 0.
      std::memset(out + 1, 0, size_t(table));
      GetDepthPaletteQuads(out + 1, code, app);
    }
  }
  return uint32_t(total);
}

void OMB_STDCALL DibFill(BitmapInfoHeader* dib, uint32_t colour) {
  if (!PlainDib(dib, 8)) return;
  cDIBViewSurface view(dib, nullptr);
  if (view.view.width == 0) return;
  view.FillRect(0, 0, view.view.width, view.view.height, colour);
}

void OMB_STDCALL DibUseAppPalette(BitmapInfoHeader* dib, AppObject* app, const uint8_t* table) {
  if (app == nullptr || app->palette == nullptr || dib == nullptr || dib->size != 40 || dib->bitCount != 8 ||
      dib->compression != kBiRgb)
    return;
  {
    cDIBViewSurface view(dib, nullptr);
    if (view.view.width == 0) return;
    if (table != nullptr)
      view.RemapIndices(table);
    else
      view.RemapToPalette(app->palette);
  }
  // The rows follow the colour table the header announces; 256 entries are
  // written only where the table has room for them.
  const uint32_t entries = dib->clrUsed != 0 && dib->clrUsed < 256 ? dib->clrUsed : 256;
  auto* quads = reinterpret_cast<RgbQuad*>(dib + 1);
  for (uint32_t i = 0; i < entries; ++i) {
    const PaletteEntry e = app->palette->log.entries[i];
    quads[i] = RgbQuad{e.blue, e.green, e.red, 0};
  }
}

int32_t OMB_STDCALL ImageGetDIB(AppObject* app, uint32_t id, int32_t code, BitmapInfoHeader* out) {
  const ImageEntry* e = FindImage(app, id);
  if (e == nullptr) return 0;
  if (code == 0) {
    if (e->depthCode == Depth8)
      code = Depth8;
    else if (e->depthCode == Depth24 || e->depthCode == Depth15 || e->depthCode == Depth16 || e->depthCode == Depth32)
      code = Depth24;
    else
      return 0;
  }
  if (code == Depth15 || code == Depth16 || code == Depth32) code = Depth24;
  if (out == nullptr) return int32_t(ImageMakeDIBHeader(app, code, e->width, e->height, nullptr));
  if (ImageMakeDIBHeader(app, code, e->width, e->height, out) == 0) return 0;
  cSurfaceImpl* image = ImageSurface(app, e);
  if (image == nullptr) return 0;
  cDIBViewSurface view(out, nullptr);
  int32_t result = 0;
  if (view.view.width != 0) {
    // The runs of a compressed image leave the background: the transparent colour.
    view.FillRect(0, 0, e->width, e->height, e->transparent);
    result = image->Blit(&view, 0, 0, 0, 0, e->width, e->height, 0, 0, 0, 0);
  }
  DeleteSurface(image);
  return result;
}

int32_t OMB_STDCALL ImageAddDIBEx(AppObject* app, const ImageInfo* info, const BitmapInfoHeader* dib,
                                  uint32_t transparent, uint32_t options) {
  if (app == nullptr || dib == nullptr || app->formatPrototype == nullptr) return 0;
  DibLayout layout{};
  if (CheckDibHeader(*dib, &layout) != LibOk) return 0;
  const int32_t width = dib->width, height = int32_t(layout.rows);
  if (width > 0xFFFF || height > 0xFFFF) return 0;
  cSurfaceHandle temp;
  cSurfaceHandle::AttachImpl(&temp, app->formatPrototype->MakeInstance(1, 1));
  if (!temp.IsValid() || !temp.CreateFromBitmapInfo(dib, nullptr, 1)) return 0;
  const bool alpha = (options & kImageSourceAlpha) != 0;
  const int32_t id = ImageCreate(app, width, height, info != nullptr ? info->hotX : 0, info != nullptr ? info->hotY : 0,
                                 info != nullptr ? info->actionX : 0, info != nullptr ? info->actionY : 0, transparent,
                                 uint32_t(app->DepthCode()) | (alpha ? kImageSourceAlpha : 0u), nullptr, nullptr);
  if (id == 0) return 0;
  cSurfaceHandle image;
  if (!ImageLock(app, uint32_t(id), &image, 0)) {
    ImageRelease(app, uint32_t(id));
    return 0;
  }
  temp.CopyTo(&image);
  cSurfaceImpl* target = cSurfaceHandle::GetImpl(&image);
  if (alpha && target->view.alphaFirstRow != nullptr) {
    // The alpha bytes follow the DIB's pixels (a 16-bit DIB without masks
    // counted as 15 bits).
    const int32_t depth = dib->bitCount == 16 && dib->compression != kBiBitfields ? 15 : dib->bitCount;
    const int64_t at = DibTotalSize64(width, height, depth);
    const auto* from = reinterpret_cast<const uint8_t*>(dib) + at;
    for (int32_t y = 0; y < height; ++y)
      std::memcpy(target->view.alphaFirstRow + int64_t(y) * target->view.alphaPitch,
                  from + int64_t(y) * target->view.alphaPitch, size_t((width + 3) & ~3));
  }
  ImageUnlock(&image);
  ImageEntry* e = FindImage(app, uint32_t(id));
  e->checksum = BankChecksum(reinterpret_cast<uint8_t*>(e) + 16, e->dataSize + 40);
  if (options & kImageShare) {
    const int32_t same = BankFindSame(app, BankRowImages, reinterpret_cast<BankEntry*>(e));
    if (same > 0) {
      ImageAddRef(app, uint32_t(same));
      ImageRelease(app, uint32_t(id));
      return same;
    }
  }
  return id;
}

int32_t OMB_STDCALL ImageAddDIB(AppObject* app, const ImageInfo* info, const BitmapInfoHeader* dib) {
  return ImageAddDIBEx(app, info, dib, 0, kImageShare);
}

void OMB_STDCALL ImageRender(AppObject* app, uint32_t id, int32_t width, int32_t height, void* pixels) {
  const ImageEntry* e = FindImage(app, id);
  if (e == nullptr || pixels == nullptr || width <= 0 || height <= 0) return;
  cSurfaceImpl* image = ImageSurface(app, e);
  auto* target = NewSurfaceObject<cBankImageSurface>();
  if (image != nullptr && target != nullptr) {
    // Depth code 7 renders 5-5-5 pixels (kept as the interface has it).
    const int32_t bits = app->DepthCode() == Depth16 ? 15 : DepthCodeToBits(app->DepthCode());
    target->SetFormat(bits, app->palette);
    target->AttachPixels(width, height, e->transparent, static_cast<uint8_t*>(pixels), nullptr, 0);
    image->Stretch(target, 0, 0, width, height, 0, 0, e->width, e->height, 0, 0, 0, 0);
  }
  DeleteSurface(target);
  DeleteSurface(image);
}
