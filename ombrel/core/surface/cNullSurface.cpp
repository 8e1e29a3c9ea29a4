#include "surface/cNullSurface.h"

cNullSurface::cNullSurface() = default;

cNullSurface* GetNullSurface() {
  // Constructed once, when first asked (at library load), and never destroyed.
  static cNullSurface* nullSurface = new cNullSurface;
  return nullSurface;
}

// Every overridden slot does nothing and reports 0 or null, except the kind,
// the clip rectangle (zeros), the black index (0) and IsEmpty (0).
void cNullSurface::Delete(uint32_t) {
  // Shared and static: never freed.
}
cSurfaceImpl* cNullSurface::MakeInstance(int32_t, int32_t) { return nullptr; }
cSurfaceImpl* cNullSurface::MakeBackBuffer() { return nullptr; }
int32_t cNullSurface::IsBackBuffer() { return 0; }
void cNullSurface::EnumDisplayModes(DisplayModeCallback, uint32_t) {}
int32_t cNullSurface::EnterFullScreen(void*, int32_t, int32_t, int32_t) { return 0; }
void cNullSurface::LeaveFullScreen(void*) {}
int32_t cNullSurface::WaitVBlank() { return 0; }
int32_t cNullSurface::GetScanLine() { return 0; }
int32_t cNullSurface::Reallocate(int32_t, int32_t) { return 0; }
void cNullSurface::SetDepth(int32_t) {}
int32_t cNullSurface::SetDepthAndPalette(int32_t) { return 0; }
int32_t cNullSurface::GetKind() { return SurfaceKindMemory; }
int32_t cNullSurface::GetDriverInfo(void*) { return 0; }
void cNullSurface::SetDCOrigin(int32_t, int32_t) {}
uint32_t cNullSurface::GetDCOrigin() { return 0; }
int32_t cNullSurface::HasDC() { return 0; }
int32_t cNullSurface::Lock() { return 0; }
int32_t cNullSurface::IsDCOnly() { return 0; }
void* cNullSurface::GetDC() { return nullptr; }
void cNullSurface::ReleaseDC(void*) {}
void cNullSurface::GetClipRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
  // Zeros, so that callers never read unset values.
  if (x != nullptr) *x = 0;
  if (y != nullptr) *y = 0;
  if (width != nullptr) *width = 0;
  if (height != nullptr) *height = 0;
}
void cNullSurface::SetClipRect(int32_t, int32_t, int32_t, int32_t) {}
void cNullSurface::ResetClipRect() {}
void cNullSurface::PutIndex(int32_t, int32_t, uint32_t) {}
void cNullSurface::SetPixel(int32_t, int32_t, uint32_t) {}
int32_t cNullSurface::GetPixelNative(int32_t, int32_t, uint32_t*) { return 0; }
int32_t cNullSurface::GetPixel(int32_t, int32_t, uint32_t*) { return 0; }
int32_t cNullSurface::BlitFromDC(int32_t, int32_t, void*, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t, uint32_t) { return 0; }
int32_t cNullSurface::Blit(cSurfaceImpl*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t, uint32_t, uint32_t) { return 0; }
int32_t cNullSurface::MoveRect(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t cNullSurface::BlitCallback(cSurfaceImpl*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, PixelCallback, uint32_t) { return 0; }
int32_t cNullSurface::FilterBlit(cSurfaceImpl*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, FilterCallback, uint32_t) { return 0; }
int32_t cNullSurface::StretchFromDC(int32_t, int32_t, int32_t, int32_t, void*, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t, uint32_t) { return 0; }
int32_t cNullSurface::Stretch(cSurfaceImpl*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t, uint32_t, uint32_t) { return 0; }
int32_t cNullSurface::MirrorX(int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t cNullSurface::MirrorY(int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t cNullSurface::GetContentBox(SurfaceRect*) { return 0; }
int32_t cNullSurface::FillRectIndex(int32_t, int32_t, int32_t, int32_t, uint32_t) { return 0; }
int32_t cNullSurface::FillRect(int32_t, int32_t, int32_t, int32_t, uint32_t) { return 0; }
int32_t cNullSurface::RotateQuarter(cSurfaceImpl*, int32_t) { return 0; }
int32_t cNullSurface::TextOut(const char*, int32_t, int32_t, int32_t, int32_t, const SurfaceRect*, uint32_t, void*, uint32_t, uint32_t, uint32_t, uint32_t) { return 0; }
int32_t cNullSurface::DrawText(const char*, int32_t, SurfaceRect*, uint32_t, uint32_t, void*, uint32_t, uint32_t, uint32_t, uint32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t cNullSurface::IsEmpty() { return 0; }
int32_t cNullSurface::ReplaceColour(uint32_t, uint32_t) { return 0; }
void cNullSurface::RemapToPalette(cPalette*) {}
void cNullSurface::RemapIndices(const uint8_t*) {}
int32_t cNullSurface::SetPalette(cPalette*, int32_t) { return 0; }
int32_t cNullSurface::SetLogPalette(const LogPalette*, int32_t) { return 0; }
int32_t cNullSurface::SetPaletteFrom(cSurfaceImpl*, int32_t) { return 0; }
int32_t cNullSurface::GetPaletteEntries(PaletteEntry*, int32_t, int32_t) { return 0; }
cPalette* cNullSurface::GetPalette() { return nullptr; }
int32_t cNullSurface::GetLogPalette(LogPalette*) { return 0; }
int32_t cNullSurface::NearestIndex(uint32_t) { return 0; }
uint32_t cNullSurface::IndexToRGB(int32_t) { return 0; }
int32_t cNullSurface::GetBlackIndex() { return 0; }
int32_t cNullSurface::AttachWindow(void*) { return 0; }
int32_t cNullSurface::IsCompressed() { return 0; }
int32_t cNullSurface::ReadPixels(void*) { return 0; }
int32_t cNullSurface::WritePixels(void*) { return 0; }
