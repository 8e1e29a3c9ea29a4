#include "surface/cMemSurface.h"

#include "FileIo.h"
#include "surface/DepthCode.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceSize.h"

cMemSurface* cMemSurface::CreatePrototype(int32_t depth) {
  if (DepthIndexFromBits(depth) < 0 || DepthFromIndex(DepthIndexFromBits(depth)) != depth)
    return nullptr;
  cMemSurface* prototype = NewSurfaceObject<cMemSurface>();
  if (prototype == nullptr) return nullptr;
  if (!prototype->SetDepthAndPalette(depth)) {
    prototype->Delete(1);
    return nullptr;
  }
  return prototype;
}

void cMemSurface::FreeBuffer() {
  void* block = view.buffer;
  MemFree(&block);
  view.buffer = view.firstRow = nullptr;
}

void cMemSurface::Delete(uint32_t flags) {
  FreeBuffer();
  cSurfaceImpl::Delete(flags);
}

cSurfaceImpl* cMemSurface::MakeInstance(int32_t width, int32_t height) {
  uint32_t rowBytes = 0, total = 0;
  // 64-bit sizes: a row or block above 2^31 bytes is refused (out of memory).
  if (ComputeSurfaceSize(width, height, view.depth, &rowBytes, &total) != LibOk) return nullptr;
  cMemSurface* surface = NewSurfaceObject<cMemSurface>();
  if (surface == nullptr) return nullptr;
  surface->InitFrom(this, width, height, rowBytes);
  surface->view.bottomUp = 0;  // memory surfaces are top-down whatever the prototype
  surface->view.pitch = int32_t(rowBytes);
  void* block = nullptr;
  if (!MemAlloc(total + 7, &block)) {
    surface->Delete(1);
    return nullptr;
  }
  surface->view.buffer = static_cast<uint8_t*>(block);
  surface->view.firstRow = AlignTo8(block);
  return surface;
}

int32_t cMemSurface::Reallocate(int32_t width, int32_t height) {
  uint32_t rowBytes = 0, total = 0;
  if (ComputeSurfaceSize(width, height, view.depth, &rowBytes, &total) != LibOk) return 0;
  void* block = nullptr;
  if (!MemAlloc(total + 7, &block)) return 0;
  view.rowBytes = rowBytes;
  view.pitch = int32_t(rowBytes);
  view.bottomUp = 0;
  view.width = width;
  view.height = height;
  ResetClipRect();
  FreeBuffer();
  view.buffer = static_cast<uint8_t*>(block);
  view.firstRow = AlignTo8(block);
  FreeAlpha();
  return 1;
}

int32_t cMemSurface::ReadPixels(void* file) {
  if (view.firstRow == nullptr) return 0;
  return FileRead(file, view.firstRow, view.rowBytes * uint32_t(view.height)) == LibOk ? 1 : 0;
}

int32_t cMemSurface::WritePixels(void* file) {
  if (view.firstRow == nullptr) return 0;
  return FileWrite(file, view.firstRow, view.rowBytes * uint32_t(view.height)) == LibOk ? 1 : 0;
}
