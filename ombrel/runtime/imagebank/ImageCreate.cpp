// ImageCreate: a new image of the app's format from raw pixels of any
// source format, converted, optionally kept in the transparency run-length
// form and optionally shared with an identical image.
#include <cstring>

#include "Memory.h"
#include "bank/BankStore.h"
#include "imagebank/ImageBank.h"
#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "pixel/IndexRows.h"
#include "pixel/RunLengthPack.h"
#include "pixel/RunLengthRows.h"
#include "surface/DepthCode.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceTypes.h"
#include "surface/cBankImageSurface.h"

namespace {

constexpr uint64_t kMaxImageBytes = uint64_t(1) << 31;

// A MemAlloc block freed on scope exit.
struct Scratch {
  void* block = nullptr;
  ~Scratch() {
    if (block != nullptr) MemFree(&block);
  }
  uint8_t* Zeroed(uint64_t bytes) {
    if (bytes >= kMaxImageBytes || !MemCalloc(uint32_t(bytes), &block)) return nullptr;
    return static_cast<uint8_t*>(block);
  }
};

uint64_t AlphaBytes(int32_t width, int32_t height) { return uint64_t((width + 3) & ~3) * uint64_t(height); }

uint32_t ReadWord(const uint8_t* p, int index) {
  uint32_t v;
  std::memcpy(&v, p + 4 * index, 4);
  return v;
}

// A palette object passed as the extra argument: a LOGPALETTE header of
// version 0x300 with 256 entries at its start.
cPalette* PaletteObject(const void* extra) {
  if (extra == nullptr) return nullptr;
  const auto* log = static_cast<const LogPalette*>(extra);
  return log->version == 0x300 && log->count == 256 ? const_cast<cPalette*>(static_cast<const cPalette*>(extra))
                                                     : nullptr;
}

void StoreHeader(ImageEntry* e, int32_t width, int32_t height, int32_t code, uint32_t flags, uint32_t transparent) {
  e->width = width;
  e->height = height;
  e->depthCode = code;
  e->flags = flags;
  e->transparent = transparent;
  e->reserved = 0;
}

cBankImageSurface* SurfaceOver(int32_t bits, cPalette* palette) {
  auto* s = NewSurfaceObject<cBankImageSurface>();
  if (s != nullptr) s->SetFormat(bits, palette);
  return s;
}

// The entry again in the run-length form; the new id, or 0 when it cannot
// be made (the plain entry is then kept).
uint32_t Compress(AppObject* app, uint32_t id) {
  ImageEntry* e = FindImage(app, id);
  cBankImageSurface* s = e != nullptr ? static_cast<cBankImageSurface*>(ImageSurface(app, e)) : nullptr;
  if (s == nullptr) return 0;
  uint32_t words[3] = {};
  s->RleSize(words);
  uint32_t result = 0;
  Scratch form;
  if (words[0] != 0 && form.Zeroed(uint64_t(words[0]) + 16) != nullptr) {
    uint8_t* block = static_cast<uint8_t*>(form.block);
    std::memcpy(block, words, sizeof words);
    s->RleEncode(block);
    ImageEntry header = *e;
    const int32_t made = BankAdd(app, BankRowImages, sizeof(ImageEntry), words[0], kBankAddZeroed, nullptr);
    if (made > 0) {
      ImageEntry* c = FindImage(app, uint32_t(made));
      StoreHeader(c, header.width, header.height, header.depthCode, kImageCompressed, header.transparent);
      std::memcpy(ImageEntryData(c), block, words[0]);
      result = uint32_t(made);
    }
  }
  DeleteSurface(s);
  if (result != 0) ImageRelease(app, id);
  return result;
}

}  // namespace

int32_t OMB_STDCALL ImageCreate(AppObject* app, int32_t width, int32_t height, int32_t hotX, int32_t hotY,
                                int32_t actionX, int32_t actionY, uint32_t transparent, uint32_t flags,
                                const void* pixels, const void* extra) {
  const int32_t w = uint16_t(width), h = uint16_t(height);
  if (app == nullptr || w == 0 || h == 0) return 0;
  const int32_t appCode = app->DepthCode(), appBits = DepthCodeToBits(appCode);
  int32_t code = int32_t(flags & kImageSourceCode);
  if (code == 0) code = appCode;
  transparent = SnapColourToApp(app, transparent);
  const bool withAlpha = (flags & kImageSourceAlpha) != 0, sourceMask = (flags & kImageSourceMask) != 0;
  const bool runLength = (flags & kImageSourceRunLength) != 0;
  const uint32_t units = (flags & kImagePackedUnits) >> 8;

  const uint64_t data = BankImageDataSize(w, h, appBits);
  const uint64_t alpha = withAlpha ? AlphaBytes(w, h) : 0;
  uint64_t source = 0;
  if (code == Depth4Packed)
    source = uint64_t(((w + 3) & ~3) / 2) * uint64_t(h) * (sourceMask ? 2 : 1);
  else if (code == Depth4Planar)
    source = uint64_t(((w + 15) & ~15) / 2) * uint64_t(h) + (sourceMask ? uint64_t(((w + 15) & ~15) / 8) * h : 0);
  else
    source = BankImageDataSize(w, h, DepthCodeToBits(code));
  if (data + alpha >= kMaxImageBytes || source + alpha >= kMaxImageBytes || appBits == 0) return 0;

  const uint8_t* src = static_cast<const uint8_t*>(pixels);
  Scratch unpacked, converted;
  uint64_t compressedBytes = 0;  // size of a run-length source
  if (src != nullptr && runLength) {
    compressedBytes = ReadWord(src, 0);
    if (compressedBytes < 4 || compressedBytes >= kMaxImageBytes) return 0;
  }
  if (src != nullptr && units != 0) {
    if (runLength) {
      // The run-length header and codes stay as they are; the stored
      // pixels after them were packed.
      const uint64_t head = uint64_t(ReadWord(src, 2)) + 4;
      if (head > compressedBytes + 32) return 0;
      uint8_t* buffer = unpacked.Zeroed(compressedBytes + 32);
      if (buffer == nullptr) return 0;
      std::memcpy(buffer, src, size_t(head));
      RleUnpack(buffer + head, uint32_t(compressedBytes + 32 - head), src + head, UINT32_MAX, units);
    } else {
      // The alpha plane is packed after the pixels, so it unpacks too.
      uint8_t* buffer = unpacked.Zeroed(source + alpha + 32);
      if (buffer == nullptr) return 0;
      RleUnpack(buffer, uint32_t(source + alpha + 32), src, UINT32_MAX, units);
    }
    src = static_cast<uint8_t*>(unpacked.block);
  }
  if (src != nullptr && runLength && !RleValidate(src, uint32_t(compressedBytes), w, h, BytesPerPixel(DepthCodeToBits(code))))
    return 0;
  if (src != nullptr && (code == Depth4Packed || code == Depth4Planar) && !runLength) {
    uint8_t* buffer = converted.Zeroed(BankImageDataSize(w, h, 8) + 16);
    if (buffer == nullptr) return 0;
    const uint8_t black = uint8_t(app->blackIndex);
    if (code == Depth4Packed)
      Packed4To8(buffer, src, w, h, sourceMask ? 1 : 0, black);
    else
      Planar4To8(buffer, src, w, h, sourceMask ? 1 : 0, black);
    src = buffer;
    code = Depth8;
    source = BankImageDataSize(w, h, 8);
  }

  const bool storeCompressed = (flags & kImageStoreCompressed) && src != nullptr && !withAlpha;
  uint32_t id = 0;
  if (src == nullptr || (code == appCode && runLength == storeCompressed && extra == nullptr)) {
    const uint64_t size = runLength && src != nullptr ? compressedBytes : data + alpha;
    const int32_t made = BankAdd(app, BankRowImages, sizeof(ImageEntry), uint32_t(size), kBankAddZeroed, nullptr);
    if (made <= 0) return 0;
    id = uint32_t(made);
    ImageEntry* e = FindImage(app, id);
    uint32_t entryFlags = runLength && src != nullptr ? kImageCompressed : 0;
    if (withAlpha && !(runLength && src != nullptr)) entryFlags |= kImageHasAlpha;
    StoreHeader(e, w, h, appCode, entryFlags, transparent);
    if (src != nullptr) {
      const uint64_t pixelBytes = runLength ? compressedBytes : source;
      std::memcpy(ImageEntryData(e), src, size_t(pixelBytes));
      if (withAlpha && !runLength) std::memcpy(ImageEntryData(e) + data, src + source, size_t(alpha));
    }
  } else {
    const int32_t made = BankAdd(app, BankRowImages, sizeof(ImageEntry), uint32_t(data + alpha), kBankAddZeroed, nullptr);
    if (made <= 0) return 0;
    id = uint32_t(made);
    ImageEntry* e = FindImage(app, id);
    StoreHeader(e, w, h, appCode, withAlpha ? kImageHasAlpha : 0, transparent);
    if (withAlpha) std::memcpy(ImageEntryData(e) + data, src + source, size_t(alpha));
    cSurfaceImpl* dest = ImageSurface(app, e);
    cPalette* sourcePalette = app->palette;
    if (code == Depth8 && appCode != Depth8 && PaletteObject(extra) != nullptr) sourcePalette = PaletteObject(extra);
    cBankImageSurface* from = SurfaceOver(DepthCodeToBits(code), sourcePalette);
    bool ok = dest != nullptr && from != nullptr;
    if (ok) {
      from->AttachPixels(w, h, transparent, const_cast<uint8_t*>(src), nullptr, runLength ? 1 : 0);
      from->Blit(dest, 0, 0, 0, 0, w, h, 0, 0, 0, BlitWithAlpha);
      if (code == Depth8 && appCode == Depth8 && extra != nullptr)
        dest->RemapIndices(static_cast<const uint8_t*>(extra));
    }
    DeleteSurface(from);
    DeleteSurface(dest);
    if (!ok) {
      ImageRelease(app, id);
      return 0;
    }
  }

  if (storeCompressed && !runLength) {
    const uint32_t packed = Compress(app, id);
    if (packed != 0) id = packed;
  }
  ImageEntry* e = FindImage(app, id);
  e->hotX = int16_t(hotX);
  e->hotY = int16_t(hotY);
  e->actionX = int16_t(actionX);
  e->actionY = int16_t(actionY);
  e->checksum = BankChecksum(reinterpret_cast<uint8_t*>(e) + 16, e->dataSize + 40);
  if (flags & kImageShare) {
    const int32_t same = BankFindSame(app, BankRowImages, reinterpret_cast<BankEntry*>(e));
    if (same > 0) {
      ImageAddRef(app, uint32_t(same));
      ImageRelease(app, id);
      return same;
    }
  }
  return int32_t(id);
}
