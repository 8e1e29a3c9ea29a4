// Raw pixel access to the surface's buffer and cropping to the content.
#include "palette/PaletteApi.h"
#include "surface/NativeColour.h"
#include "surface/SurfaceAccess.h"
#include "surface/SurfaceHandle.h"
#include "surface/cNullSurface.h"

namespace {

// The pixel's address, or null outside the surface or without pixels.
uint8_t* BufferAt(const PixelView& v, int32_t x, int32_t y) {
  if (v.firstRow == nullptr || x < 0 || y < 0 || x >= v.width || y >= v.height) return nullptr;
  return PixelRow(v, y) + int64_t(x) * v.bytesPerPixel;
}

}  // namespace

void cSurfaceHandle::SetBufferPixel(int32_t x, int32_t y, uint32_t colour) {
  cSurfaceImpl* s = Impl();
  uint8_t* p = BufferAt(s->view, x, y);
  if (p == nullptr) return;
  switch (s->view.depth) {
    case 8:
      *p = uint8_t(s->NearestIndex(colour));
      break;
    case 15:
    case 16: {
      const uint32_t v = ColourToNative(s->view.depth, colour);
      p[0] = uint8_t(v);
      p[1] = uint8_t(v >> 8);
      break;
    }
    default:  // 24 and 32 bits: blue, green, red; a fourth byte is left alone
      p[0] = uint8_t(colour >> 16);
      p[1] = uint8_t(colour >> 8);
      p[2] = uint8_t(colour);
      break;
  }
}

void cSurfaceHandle::SetBufferIndex(int32_t x, int32_t y, uint32_t value) {
  cSurfaceImpl* s = Impl();
  if (s->view.depth != 8) return;
  if (uint8_t* p = BufferAt(s->view, x, y)) *p = uint8_t(value);
}

uint32_t cSurfaceHandle::GetBufferPixel(int32_t x, int32_t y) {
  cSurfaceImpl* s = Impl();
  const uint8_t* p = BufferAt(s->view, x, y);
  if (p == nullptr) return 0;
  switch (s->view.depth) {
    case 8:
      return s->view.palette != nullptr ? EntryColour(s->view.palette->log.entries[*p]) : 0;
    case 15:
    case 16:
      return NativeToColour(s->view.depth, uint32_t(p[0]) | uint32_t(p[1]) << 8);
    default:
      return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
  }
}

uint8_t cSurfaceHandle::GetBufferIndex(int32_t x, int32_t y) {
  cSurfaceImpl* s = Impl();
  if (s->view.depth != 8) return 0;
  const uint8_t* p = BufferAt(s->view, x, y);
  return p != nullptr ? *p : 0;
}

int32_t cSurfaceHandle::CropToContent(SurfaceRect* out) {
  SurfaceRect box{};
  cSurfaceImpl* s = Impl();
  if (!s->GetContentBox(&box)) return 0;
  if (out != nullptr) *out = box;
  const int32_t w = box.right - box.left, h = box.bottom - box.top;
  if (w <= 0 || h < 1 || (w >= s->view.width && h >= s->view.height)) return 0;
  cSurfaceImpl* made = s->MakeInstance(w, h);
  if (made == nullptr) return 0;
  if (!s->Blit(made, 0, 0, box.left, box.top, w, h, BlitOpaque, 0, 0, BlitWithAlpha)) {
    DeleteSurface(made);
    return 0;
  }
  if (s != GetNullSurface()) s->Delete(1);
  impl = made;
  return 1;
}

int32_t cSurfaceHandle::Crop() {
  SurfaceRect scratch{};
  return CropToContent(&scratch);
}
