// The do-nothing implementation held by every empty surface handle: one
// shared object for the whole process, never deleted. Its size is 0, so the
// base bodies it keeps (transparent colour, screen state, flip) find nothing
// to draw.
#pragma once

#include "surface/cSurfaceImpl.h"

class cNullSurface final : public cSurfaceImpl {
 public:
  cNullSurface();

  void Delete(uint32_t flags) override;
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override;
  cSurfaceImpl* MakeBackBuffer() override;
  int32_t IsBackBuffer() override;
  void EnumDisplayModes(DisplayModeCallback callback, uint32_t user) override;
  int32_t EnterFullScreen(void* window, int32_t width, int32_t height, int32_t depth) override;
  void LeaveFullScreen(void* window) override;
  int32_t WaitVBlank() override;
  int32_t GetScanLine() override;
  int32_t Reallocate(int32_t width, int32_t height) override;
  void SetDepth(int32_t depth) override;
  int32_t SetDepthAndPalette(int32_t depth) override;
  int32_t GetKind() override;
  int32_t GetDriverInfo(void* out) override;
  void SetDCOrigin(int32_t x, int32_t y) override;
  uint32_t GetDCOrigin() override;
  int32_t HasDC() override;
  int32_t Lock() override;
  int32_t IsDCOnly() override;
  void* GetDC() override;
  void ReleaseDC(void* dc) override;
  void GetClipRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) override;
  void SetClipRect(int32_t x, int32_t y, int32_t width, int32_t height) override;
  void ResetClipRect() override;
  void PutIndex(int32_t x, int32_t y, uint32_t index) override;
  void SetPixel(int32_t x, int32_t y, uint32_t colour) override;
  int32_t GetPixelNative(int32_t x, int32_t y, uint32_t* out) override;
  int32_t GetPixel(int32_t x, int32_t y, uint32_t* out) override;
  int32_t BlitFromDC(int32_t dx, int32_t dy, void* dc, int32_t sx, int32_t sy, int32_t width,
                     int32_t height, int32_t mode, uint32_t effect, uint32_t parameter) override;
  int32_t Blit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width,
               int32_t height, int32_t mode, uint32_t effect, uint32_t parameter,
               uint32_t blitFlags) override;
  int32_t MoveRect(int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width,
                   int32_t height) override;
  int32_t BlitCallback(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                       int32_t width, int32_t height, int32_t mode, PixelCallback callback,
                       uint32_t user) override;
  int32_t FilterBlit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                     int32_t width, int32_t height, int32_t kernelWidth, int32_t kernelHeight,
                     int32_t anchorX, int32_t anchorY, int32_t marginX, int32_t marginY,
                     FilterCallback callback, uint32_t user) override;
  int32_t StretchFromDC(int32_t dx, int32_t dy, int32_t dw, int32_t dh, void* dc, int32_t sx,
                        int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t effect,
                        uint32_t parameter) override;
  int32_t Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx,
                  int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t effect,
                  uint32_t parameter, uint32_t stretchFlags) override;
  int32_t MirrorX(int32_t x, int32_t y, int32_t width, int32_t height) override;
  int32_t MirrorY(int32_t x, int32_t y, int32_t width, int32_t height) override;
  int32_t GetContentBox(SurfaceRect* out) override;
  int32_t FillRectIndex(int32_t x, int32_t y, int32_t width, int32_t height,
                        uint32_t index) override;
  int32_t FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour) override;
  int32_t RotateQuarter(cSurfaceImpl* dest, int32_t clockwise) override;
  int32_t TextOut(const char* text, int32_t length, int32_t x, int32_t y, int32_t alignment,
                  const SurfaceRect* clip, uint32_t colour, void* font, uint32_t unused,
                  uint32_t effect, uint32_t parameter, uint32_t blitFlags) override;
  int32_t DrawText(const char* text, int32_t length, SurfaceRect* rect, uint32_t format,
                   uint32_t colour, void* font, uint32_t unused, uint32_t effect,
                   uint32_t parameter, uint32_t blitFlags, int32_t leftMargin,
                   int32_t rightMargin, int32_t tabLength) override;
  int32_t IsEmpty() override;
  int32_t ReplaceColour(uint32_t newColour, uint32_t oldColour) override;
  void RemapToPalette(cPalette* palette) override;
  void RemapIndices(const uint8_t* table) override;
  int32_t SetPalette(cPalette* palette, int32_t remap) override;
  int32_t SetLogPalette(const LogPalette* log, int32_t remap) override;
  int32_t SetPaletteFrom(cSurfaceImpl* other, int32_t remap) override;
  int32_t GetPaletteEntries(PaletteEntry* out, int32_t first, int32_t count) override;
  cPalette* GetPalette() override;
  int32_t GetLogPalette(LogPalette* out) override;
  int32_t NearestIndex(uint32_t colour) override;
  uint32_t IndexToRGB(int32_t index) override;
  int32_t GetBlackIndex() override;
  int32_t AttachWindow(void* window) override;
  int32_t IsCompressed() override;
  int32_t ReadPixels(void* file) override;
  int32_t WritePixels(void* file) override;

  int32_t isWindowsNT = 0;  // set by the surface library's start-up
};

OMB_PIN_SIZE(cNullSurface, 100);

// The one null surface; every empty handle points at it and tests for it by address.
cNullSurface* GetNullSurface();
