#include "surface/cByteSurface.h"

#include <cstdlib>

#include "palette/PaletteApi.h"
#include "surface/GreyPalette.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceSize.h"

cByteSurface::cByteSurface() { SetDepth(8); }

cByteSurface::cByteSurface(uint8_t* firstRow, int32_t width, int32_t height, int32_t pitch) {
  SetDepth(8);
  view.palette = AddRefPalette(SharedGreyPalette());
  view.width = width;
  view.height = height;
  view.pitch = pitch;
  view.rowBytes = uint32_t(std::abs(int64_t(pitch)));
  view.bottomUp = pitch < 0 ? 1 : 0;
  ResetClipRect();
  view.buffer = view.firstRow = firstRow;
}

void cByteSurface::Release() {
  if (ownsBuffer) {
    void* block = view.buffer;
    MemFree(&block);
    ownsBuffer = 0;
  }
  view.buffer = view.firstRow = nullptr;
  ReleaseBase();
}

void cByteSurface::Delete(uint32_t flags) {
  Release();
  cSurfaceImpl::Delete(flags);
}

cSurfaceImpl* cByteSurface::MakeInstance(int32_t width, int32_t height) {
  uint32_t rowBytes = 0, total = 0;
  if (ComputeSurfaceSize(width, height, 8, &rowBytes, &total) != LibOk) return nullptr;
  cByteSurface* surface = NewSurfaceObject<cByteSurface>();
  if (surface == nullptr) return nullptr;
  surface->InitFrom(this, width, height, rowBytes);
  surface->view.bottomUp = 0;
  surface->view.pitch = int32_t(rowBytes);
  void* block = nullptr;
  if (!MemAlloc(total + 8, &block)) {
    surface->Delete(1);
    return nullptr;
  }
  surface->ownsBuffer = 1;
  surface->view.buffer = static_cast<uint8_t*>(block);
  surface->view.firstRow = AlignTo8(block);
  return surface;
}

int32_t cByteSurface::Reallocate(int32_t, int32_t) { return 0; }
