// A surface over a device context whose pixels the library cannot reach (a
// window's, the screen's or a client's): other surfaces are copied and
// stretched onto it and from it, and single pixels set, all through GDI.
// Width and height stay 0; its extent is the context's clip box. Every
// software operation that needs pixels fails on it.
#pragma once

#include "surface/cSurfaceImpl.h"

class cDCSurface final : public cSurfaceImpl {
 public:
  cDCSurface() = default;

  // On `dc`, not owned; on the screen's context (owned) when `dc` is null.
  // Null when no context can be had or memory runs out.
  static cDCSurface* MakeOnDC(void* dc);
  // On the window's context (its whole window's with `wholeWindow`), owned.
  static cDCSurface* MakeOnWindow(void* window, int32_t wholeWindow);
  // Gives back an owned context, then draws on `dc`, not owned.
  void SetDC(void* dc);
  // Gives back an owned context; the surface has none afterwards.
  void Release();

  void Delete(uint32_t flags) override;
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override;
  int32_t SetDepthAndPalette(int32_t depth) override;
  int32_t GetKind() override;
  void SetDCOrigin(int32_t x, int32_t y) override;
  uint32_t GetDCOrigin() override;
  int32_t HasDC() override;
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
  int32_t BlitCallback(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                       int32_t width, int32_t height, int32_t mode, PixelCallback callback,
                       uint32_t user) override;
  int32_t StretchFromDC(int32_t dx, int32_t dy, int32_t dw, int32_t dh, void* dc, int32_t sx,
                        int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t effect,
                        uint32_t parameter) override;
  int32_t Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx,
                  int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t effect,
                  uint32_t parameter, uint32_t stretchFlags) override;
  int32_t MirrorX(int32_t x, int32_t y, int32_t width, int32_t height) override;
  int32_t MirrorY(int32_t x, int32_t y, int32_t width, int32_t height) override;
  int32_t FillRectIndex(int32_t x, int32_t y, int32_t width, int32_t height,
                        uint32_t index) override;
  int32_t FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour) override;
  int32_t TextOut(const char* text, int32_t length, int32_t x, int32_t y, int32_t alignment,
                  const SurfaceRect* clip, uint32_t colour, void* font, uint32_t unused,
                  uint32_t effect, uint32_t parameter, uint32_t blitFlags) override;
  int32_t DrawText(const char* text, int32_t length, SurfaceRect* rect, uint32_t format,
                   uint32_t colour, void* font, uint32_t unused, uint32_t effect,
                   uint32_t parameter, uint32_t blitFlags, int32_t leftMargin,
                   int32_t rightMargin, int32_t tabLength) override;
  int32_t ReplaceColour(uint32_t newColour, uint32_t oldColour) override;
  int32_t SetLogPalette(const LogPalette* log, int32_t remap) override;
  int32_t GetLogPalette(LogPalette* out) override;

 private:
  void* dc_ = nullptr;
  void* window_ = nullptr;  // the context's window, for giving it back
  int32_t owned_ = 0;
  int32_t originX_ = 0;
  int32_t originY_ = 0;
};
OMB_PIN_SIZE(cDCSurface, 116);
