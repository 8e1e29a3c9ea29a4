// Finding images, their references, info records, sizes, surfaces and
// data, and the locked-surface access.
#include <cmath>
#include <cstring>

#include "Memory.h"
#include "bank/BankStore.h"
#include "imagebank/ImageBank.h"
#include "palette/PaletteApi.h"
#include "palette/PaletteTypes.h"
#include "palette/cPalette.h"
#include "surface/DepthCode.h"
#include "surface/RotatedBounds.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceTypes.h"
#include "surface/cBankImageSurface.h"

ImageEntry* FindImage(AppObject* app, uint32_t id) {
  if (app == nullptr || id == 0) return nullptr;
  auto* e = reinterpret_cast<ImageEntry*>(BankGetEntry(app, BankRowImages, id));
  return e != nullptr && e->headerSize == sizeof(ImageEntry) ? e : nullptr;
}

uint32_t SnapColourToApp(const AppObject* app, uint32_t colour) {
  switch (app->DepthCode()) {
    case Depth8: {
      if (app->palette == nullptr) return colour;
      const int32_t index = PaletteNearestIndex(app->palette, colour);
      return index >= 0 && index < 256 ? EntryColour(app->palette->log.entries[index]) : colour;
    }
    case Depth15:
      return colour & 0xF8F8F8;
    case Depth16:
      return colour & 0xF8FCF8;
    default:
      return colour;
  }
}

cSurfaceImpl* ImageSurface(AppObject* app, const ImageEntry* entry) {
  if (app == nullptr || entry == nullptr) return nullptr;
  auto* s = NewSurfaceObject<cBankImageSurface>();
  if (s == nullptr) return nullptr;
  s->SetFormat(DepthCodeToBits(entry->depthCode), app->palette);
  s->AttachImage(entry);
  return s;
}

cSurfaceImpl* ExpandedImage(AppObject* app, const ImageEntry* entry) {
  cSurfaceImpl* source = ImageSurface(app, entry);
  if (source == nullptr) return nullptr;
  const int32_t bits = source->view.depth;
  const uint64_t size = BankImageDataSize(entry->width, entry->height, bits);
  auto* copy = NewSurfaceObject<cBankImageSurface>();
  void* block = nullptr;
  if (copy == nullptr || size >= (uint64_t(1) << 31) || !MemCalloc(uint32_t(size) + 4, &block)) {
    if (copy != nullptr) copy->Delete(1);
    DeleteSurface(source);
    return nullptr;
  }
  copy->SetFormat(bits, app->palette);
  copy->AttachPixels(entry->width, entry->height, entry->transparent, static_cast<uint8_t*>(block), nullptr, 0);
  copy->ownsData = 1;
  // The runs hold only the opaque pixels: the rest is the transparent colour.
  copy->FillRect(0, 0, entry->width, entry->height, entry->transparent);
  source->Blit(copy, 0, 0, 0, 0, entry->width, entry->height, 0, 0, 0, BlitWithAlpha);
  DeleteSurface(source);
  return copy;
}

int32_t OMB_STDCALL ImageAddRef(AppObject* app, uint32_t id) {
  return FindImage(app, id) != nullptr ? BankAddRef(app, BankRowImages, id) : 0;
}

int32_t OMB_STDCALL ImageRelease(AppObject* app, uint32_t id) {
  if (FindImage(app, id) == nullptr) return 0;
  const int32_t left = BankRelease(app, BankRowImages, id);
  if (left == 0) {
    // The masks go with the last reference.
    if (BankGetEntry(app, BankRowMasksPlane1, id) != nullptr) BankRelease(app, BankRowMasksPlane1, id);
    if (BankGetEntry(app, BankRowMasksPlane0, id) != nullptr) BankRelease(app, BankRowMasksPlane0, id);
  }
  return left;
}

namespace {

void FillInfo(const ImageEntry* e, ImageInfo* out) {
  std::memset(out, 0, sizeof *out);
  out->checksum = e->checksum & 0xFFFF;
  out->refs = e->refs;
  out->dataSize = e->dataSize;
  out->width = uint16_t(e->width);
  out->height = uint16_t(e->height);
  out->depthCode = uint8_t(e->depthCode);
  out->flags = uint8_t(e->flags);
  out->hotX = int16_t(e->hotX);
  out->hotY = int16_t(e->hotY);
  out->actionX = int16_t(e->actionX);
  out->actionY = int16_t(e->actionY);
  out->transparent = e->transparent;
}

}  // namespace

int32_t OMB_STDCALL ImageGetInfo(AppObject* app, uint32_t id, ImageInfo* out) {
  const ImageEntry* e = FindImage(app, id);
  if (e == nullptr || out == nullptr) return 0;
  FillInfo(e, out);
  return 1;
}

int32_t OMB_STDCALL ImageGetTransformedInfo(AppObject* app, uint32_t id, int32_t angle, float scaleX, float scaleY,
                                            ImageInfo* out) {
  const ImageEntry* e = FindImage(app, id);
  if (e == nullptr || out == nullptr) return 0;
  FillInfo(e, out);
  out->checksum = 0;
  out->dataSize = 0;
  int32_t w = e->width, h = e->height, hx = e->hotX, hy = e->hotY, ax = e->actionX, ay = e->actionY;
  if (scaleX != 1.0f) {
    w = int32_t(float(w) * scaleX);
    hx = int32_t(float(hx) * scaleX);
    ax = int32_t(float(ax) * scaleX);
  }
  if (scaleY != 1.0f) {
    h = int32_t(float(h) * scaleY);
    hy = int32_t(float(hy) * scaleY);
    ay = int32_t(float(ay) * scaleY);
  }
  if (angle != 0) {
    RotatedRecord box{0, 0, w, h};
    RotatedPoint hot{hx, hy}, action{ax, ay};
    RotatedBounds(&box, &hot, &action, float(angle));
    w = box.width;
    h = box.height;
    hx = hot.x;
    hy = hot.y;
    ax = action.x;
    ay = action.y;
  }
  out->width = uint16_t(w);
  out->height = uint16_t(h);
  out->hotX = int16_t(hx);
  out->hotY = int16_t(hy);
  out->actionX = int16_t(ax);
  out->actionY = int16_t(ay);
  return 1;
}

uint32_t OMB_STDCALL ImageDataSize(int32_t width, int32_t height, uint32_t code) {
  uint64_t size = BankImageDataSize(width, height, DepthCodeToBits(int32_t(code & 0xF)));
  if (code & 0x1000) size += uint64_t((width + 3) & ~3) * uint64_t(height > 0 ? height : 0);
  return size > UINT32_MAX ? 0 : uint32_t(size);
}

int32_t OMB_STDCALL ImageIsEmpty(AppObject* app, uint32_t id) {
  ImageEntry* e = FindImage(app, id);
  cSurfaceImpl* s = ImageSurface(app, e);
  if (s == nullptr) return 0;
  const int32_t empty = s->IsEmpty();
  DeleteSurface(s);
  return empty;
}

uint32_t OMB_STDCALL ImageGetData(AppObject* app, uint32_t id, uint32_t options, uint8_t* buffer) {
  ImageEntry* e = FindImage(app, id);
  cSurfaceImpl* s = ImageSurface(app, e);
  if (s == nullptr) return 0;
  // A compressed image is read from an uncompressed copy in the row layout.
  cSurfaceImpl* plain = s->IsCompressed() ? ExpandedImage(app, e) : s;
  uint32_t result = 0;
  auto* bank = static_cast<cBankImageSurface*>(plain);
  const uint32_t unit = options & 7;
  if (bank != nullptr) {
    if (unit == 0 || (e->flags & kImageHasAlpha))
      result = buffer != nullptr ? bank->CopyData(buffer) : bank->GetDataSize();
    else
      result = buffer != nullptr ? bank->Pack(buffer, unit) : bank->PackedSize(unit);
  }
  if (plain != s) DeleteSurface(plain);
  DeleteSurface(s);
  return result;
}

int32_t OMB_STDCALL ImageLock(AppObject* app, uint32_t id, cSurfaceHandle* handle, int32_t mode) {
  ImageEntry* e = FindImage(app, id);
  if (e == nullptr || handle == nullptr) return 0;
  cSurfaceImpl* s = ImageSurface(app, e);
  if (s == nullptr) {
    cSurfaceHandle::AttachImpl(handle, nullptr);
    return 0;
  }
  if (mode == 1 && s->IsCompressed()) {
    cSurfaceImpl* copy = ExpandedImage(app, e);
    DeleteSurface(s);
    // Without the copy the handle stays empty and the lock fails.
    cSurfaceHandle::AttachImpl(handle, copy);
    if (copy == nullptr) handle->Destroy();
    return copy != nullptr ? 1 : 0;
  }
  cSurfaceHandle::AttachImpl(handle, s);
  return 1;
}

void OMB_STDCALL ImageUnlock(cSurfaceHandle* handle) {
  if (handle != nullptr) handle->Destroy();
}
