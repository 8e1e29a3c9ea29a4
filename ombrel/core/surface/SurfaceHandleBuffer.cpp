// Raw pixel access to the surface's buffer and cropping to the content.
#include "surface/StoredColour.h"
#include "surface/SurfaceAccess.h"
#include "surface/SurfaceHandle.h"
#include "surface/cNullSurface.h"

namespace {

// The pixel's address, or null outside the surface or without pixel rows
// (none, or a compressed image's block).
uint8_t* BufferAt(cSurfaceImpl& s, int32_t x, int32_t y) {
  const PixelView& v = s.view;
  if (v.firstRow == nullptr || x < 0 || y < 0 || x >= v.width || y >= v.height || s.IsCompressed())
    return nullptr;
  return PixelRow(v, y) + int64_t(x) * v.bytesPerPixel;
}

}  // namespace

void cSurfaceHandle::SetBufferPixel(int32_t x, int32_t y, uint32_t colour) {
  cSurfaceImpl* s = Impl();
  uint8_t* p = BufferAt(*s, x, y);
  if (p == nullptr) return;
  WriteStoredColour(s->view, p, colour, s->view.depth == 8 ? uint8_t(s->NearestIndex(colour)) : 0);
}

void cSurfaceHandle::SetBufferIndex(int32_t x, int32_t y, uint32_t value) {
  cSurfaceImpl* s = Impl();
  if (s->view.depth != 8) return;
  if (uint8_t* p = BufferAt(*s, x, y)) *p = uint8_t(value);
}

uint32_t cSurfaceHandle::GetBufferPixel(int32_t x, int32_t y) {
  cSurfaceImpl* s = Impl();
  const uint8_t* p = BufferAt(*s, x, y);
  if (p == nullptr) return 0;
  return ReadStoredColour(s->view, p);
}

uint8_t cSurfaceHandle::GetBufferIndex(int32_t x, int32_t y) {
  cSurfaceImpl* s = Impl();
  if (s->view.depth != 8) return 0;
  const uint8_t* p = BufferAt(*s, x, y);
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
