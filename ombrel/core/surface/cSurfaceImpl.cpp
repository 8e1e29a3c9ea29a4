// Construction, destruction, format set-up, clip rectangle, single pixels and
// fills of the surface base, and the base bodies of the small slots.
#include "surface/cSurfaceImpl.h"

#include <algorithm>
#include <cstring>

#include "Memory.h"
#include "palette/DefaultPalettes.h"
#include "palette/PaletteApi.h"
#include "pixel/CpuFeatures.h"
#include "surface/DepthCode.h"
#include "surface/SurfaceAccess.h"

cSurfaceImpl::cSurfaceImpl() : view{} { view.flags |= CpuFeatures() & 0xFFu; }

void cSurfaceImpl::ReleaseBase() {
  if (view.palette != nullptr) {
    ReleasePalette(view.palette);
    view.palette = nullptr;
  }
  FreeAlpha();
}

void cSurfaceImpl::Delete(uint32_t flags) {
  ReleaseBase();
  if (flags & 1) {
    this->~cSurfaceImpl();
    void* block = this;
    MemFree(&block);
  }
}

// Back-end slots: a memory surface has no screen, device context or driver.
cSurfaceImpl* cSurfaceImpl::MakeBackBuffer() { return nullptr; }
int32_t cSurfaceImpl::IsBackBuffer() { return 0; }
void cSurfaceImpl::EnumDisplayModes(DisplayModeCallback, uint32_t) {}
int32_t cSurfaceImpl::EnterFullScreen(void*, int32_t, int32_t, int32_t) { return 0; }
void cSurfaceImpl::LeaveFullScreen(void*) {}
void cSurfaceImpl::CopyScreenState(cSurfaceImpl*) {}
int32_t cSurfaceImpl::WaitVBlank() { return 0; }
int32_t cSurfaceImpl::GetScanLine() { return -1; }
int32_t cSurfaceImpl::Reallocate(int32_t, int32_t) { return 0; }
int32_t cSurfaceImpl::GetKind() { return SurfaceKindMemory; }
int32_t cSurfaceImpl::GetDriverInfo(void*) { return 0; }
void cSurfaceImpl::SetDCOrigin(int32_t, int32_t) {}
uint32_t cSurfaceImpl::GetDCOrigin() { return 0; }
int32_t cSurfaceImpl::HasDC() { return 0; }
int32_t cSurfaceImpl::Lock() { return view.buffer != nullptr ? 1 : 0; }
void cSurfaceImpl::Unlock() {}
int32_t cSurfaceImpl::IsDCOnly() { return 0; }
void* cSurfaceImpl::GetDC() { return nullptr; }
void cSurfaceImpl::ReleaseDC(void*) {}
int32_t cSurfaceImpl::AttachWindow(void*) { return 1; }
int32_t cSurfaceImpl::IsCompressed() { return 0; }
int32_t cSurfaceImpl::ReadPixels(void*) { return 0; }
int32_t cSurfaceImpl::WritePixels(void*) { return 0; }
void cSurfaceImpl::Flip() {}
void cSurfaceImpl::Reserved68() {}
void cSurfaceImpl::Reserved69() {}
void cSurfaceImpl::Reserved70() {}

// Blit, filter, mirror, content box, mask and collision bodies live in
// Blit*.cpp, Filter*.cpp, Mirror*.cpp, ContentBox.cpp, Mask*.cpp and
// Collide*.cpp, the stretch in Stretch.cpp, the rotations in Rotate.cpp, the
// text in SurfaceText.cpp. The device-context paths come with their back ends;
// the base bodies draw nothing and report 0.
int32_t cSurfaceImpl::BlitFromDC(int32_t, int32_t, void*, int32_t, int32_t, int32_t, int32_t,
                                 int32_t, uint32_t, uint32_t) {
  return 0;
}
int32_t cSurfaceImpl::StretchFromDC(int32_t, int32_t, int32_t, int32_t, void*, int32_t, int32_t,
                                    int32_t, int32_t, int32_t, uint32_t, uint32_t) {
  return 0;
}

void cSurfaceImpl::SetDepth(int32_t depth) {
  const int32_t index = DepthIndexFromBits(depth);
  if (index < 0) return;
  view.depth = depth;
  view.depthIndex = index;
  view.bytesPerPixel = BytesPerPixel(depth);
  view.ops = GetPixelOps(index);
}

int32_t cSurfaceImpl::SetDepthAndPalette(int32_t depth) {
  SetDepth(depth);
  view.bottomUp = 0;
  if (view.depth != 8) return 1;
  cPalette* shared = PaletteGetShared(&DefaultPalette256());
  if (shared == nullptr) return 0;
  ReleasePalette(view.palette);
  view.palette = shared;
  return 1;
}

int32_t cSurfaceImpl::InitFrom(const cSurfaceImpl* prototype, int32_t width, int32_t height,
                               uint32_t rowBytes) {
  const PixelView& p = prototype->view;
  view.width = width;
  view.height = height;
  view.clipLeft = view.clipTop = 0;
  view.clipRight = width;
  view.clipBottom = height;
  view.depth = p.depth;
  view.depthIndex = p.depthIndex;
  view.transparentColour = p.transparentColour;
  view.transparentValue = p.transparentValue;
  view.buffer = view.firstRow = nullptr;
  view.rowBytes = rowBytes;
  view.bytesPerPixel = p.bytesPerPixel;
  view.bottomUp = p.bottomUp;
  view.pitch = p.bottomUp ? -int32_t(rowBytes) : int32_t(rowBytes);
  ReleasePalette(view.palette);
  view.palette = AddRefPalette(p.palette);
  view.alphaBlock = view.alphaFirstRow = nullptr;
  view.alphaRowBytes = 0;
  view.alphaPitch = 0;
  view.flags &= ~kPixelFlagOwnsAlpha;
  view.ops = p.ops;
  return 1;
}

void cSurfaceImpl::GetClipRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
  if (x != nullptr) *x = view.clipLeft;
  if (y != nullptr) *y = view.clipTop;
  if (width != nullptr) *width = view.clipRight - view.clipLeft;
  if (height != nullptr) *height = view.clipBottom - view.clipTop;
}

void cSurfaceImpl::SetClipRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  // Kept inside the surface, and never inverted: an empty clip has right == left.
  auto clamp = [](int64_t v, int64_t lo, int64_t hi) { return int32_t(std::min(std::max(v, lo), hi)); };
  view.clipLeft = clamp(x, 0, view.width);
  view.clipTop = clamp(y, 0, view.height);
  view.clipRight = clamp(int64_t(x) + width, view.clipLeft, view.width);
  view.clipBottom = clamp(int64_t(y) + height, view.clipTop, view.height);
}

void cSurfaceImpl::ResetClipRect() { SetClipRect(0, 0, view.width, view.height); }

bool cSurfaceImpl::ClipRect(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const {
  int64_t x0 = x, y0 = y, w = width, h = height;
  if (x0 < view.clipLeft) {
    w -= view.clipLeft - x0;
    x0 = view.clipLeft;
  }
  if (x0 + w > view.clipRight) w = view.clipRight - x0;
  if (y0 < view.clipTop) {
    h -= view.clipTop - y0;
    y0 = view.clipTop;
  }
  if (y0 + h > view.clipBottom) h = view.clipBottom - y0;
  if (w < 1 || h < 1) return false;
  x = int32_t(x0);
  y = int32_t(y0);
  width = int32_t(w);
  height = int32_t(h);
  return true;
}

int32_t cSurfaceImpl::ColourToIndex(uint32_t colour) {
  if (IsIndexColour(colour)) return int32_t(IndexOfColour(colour));
  return PaletteNearestIndex(view.palette, colour);
}

void cSurfaceImpl::PutIndex(int32_t x, int32_t y, uint32_t index) {
  if (!InClip(x, y)) return;
  SurfaceAccess access(*this);
  if (!access.ok()) return;
  PixelRow(view, y)[x] = uint8_t(index);
}

void cSurfaceImpl::SetPixel(int32_t x, int32_t y, uint32_t colour) {
  if (!InClip(x, y)) return;
  SurfaceAccess access(*this);
  if (!access.ok()) return;
  if (view.depth == 8) {
    PixelRow(view, y)[x] = uint8_t(ColourToIndex(colour));
  } else if (view.ops != nullptr && view.ops->PutPixel != nullptr) {
    view.ops->PutPixel(&view, x, y, colour);
  }
}

int32_t cSurfaceImpl::GetPixelNative(int32_t x, int32_t y, uint32_t* out) {
  if (out == nullptr || !InClip(x, y)) return 0;
  SurfaceAccess access(*this);
  if (!access.ok()) return 0;
  if (view.depth == 8) {
    *out = PixelRow(view, y)[x];
    return 1;
  }
  if (view.ops == nullptr || view.ops->GetPixel == nullptr) return 0;
  *out = view.ops->GetPixel(&view, x, y);
  return 1;
}

uint32_t cSurfaceImpl::GetPixelFast(int32_t x, int32_t y) {
  // A run-length row has no single-pixel reads: its block is no rows.
  if (view.ops == nullptr || view.ops->GetPixel == nullptr) return 0;
  if (view.depth == 8) {
    const uint8_t index = PixelRow(view, y)[x];
    if (view.palette == nullptr) return index;
    const PaletteEntry e = view.palette->log.entries[index];
    return EntryColour(e) | uint32_t(e.flags) << 24;
  }
  return view.ops->GetPixel(&view, x, y);
}

int32_t cSurfaceImpl::GetPixel(int32_t x, int32_t y, uint32_t* out) {
  if (!GetPixelNative(x, y, out)) return 0;
  // At 8 bits the index becomes its palette entry (an index stays as read
  // on a surface without a palette).
  if (view.depth == 8 && view.palette != nullptr) {
    const PaletteEntry e = view.palette->log.entries[*out & 0xFF];
    *out = EntryColour(e) | uint32_t(e.flags) << 24;
  }
  return 1;
}

namespace {

void FillBytes(PixelView& view, int32_t x, int32_t y, int32_t width, int32_t height, uint8_t value) {
  for (int32_t row = 0; row < height; ++row) std::memset(PixelRow(view, y + row) + x, value, size_t(width));
}

}  // namespace

int32_t cSurfaceImpl::FillRectIndex(int32_t x, int32_t y, int32_t width, int32_t height,
                                    uint32_t index) {
  SurfaceAccess access(*this);
  if (!access.ok() || !ClipRect(x, y, width, height)) return 0;
  // Counted in bytes whatever the depth: the form of 8-bit surfaces and byte views.
  FillBytes(view, x, y, width, height, uint8_t(index));
  return 1;
}

int32_t cSurfaceImpl::FillRect(int32_t x, int32_t y, int32_t width, int32_t height,
                               uint32_t colour) {
  SurfaceAccess access(*this);
  if (!access.ok() || !ClipRect(x, y, width, height)) return 0;
  if (view.depth == 8) {
    FillBytes(view, x, y, width, height, uint8_t(ColourToIndex(colour)));
    return 1;
  }
  if (view.ops == nullptr || view.ops->FillRect == nullptr) return 0;
  view.ops->FillRect(&view, x, y, view.pitch, width, height, colour);
  return 1;
}
