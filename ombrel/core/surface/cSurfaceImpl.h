// The abstract base of every surface implementation: the pixel fields (a
// `PixelView`) behind a table of 71 operations in a fixed slot order, which
// callers reach by slot number. The base holds the generic software
// behaviour; back ends override what their medium does differently.
//
// Object model: no C++ virtual destructor; slot 0 is `Delete(flags)`, which
// cleans up and, with bit 0 set, frees the object. Objects made by
// `MakeInstance` live in MemAlloc blocks and are released only through it.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "palette/PaletteTypes.h"
#include "pixel/PixelView.h"
#include "surface/SurfaceTypes.h"

class cPalette;

// Callback of slot `EnumDisplayModes` and the filter blit's per-pixel
// callback; their argument shapes belong to the code that calls them (the
// filter callback: `FilterBlockFn`, surface/BlitPaths.h).
using DisplayModeCallback = void*;
using FilterCallback = void*;

class cSurfaceImpl {
 public:
  cSurfaceImpl();

  // Slots 0 to 70, in order.
  virtual void Delete(uint32_t flags);                                        // 0
  virtual cSurfaceImpl* MakeInstance(int32_t width, int32_t height) = 0;      // 1
  virtual cSurfaceImpl* MakeBackBuffer();                                     // 2
  virtual int32_t IsBackBuffer();                                             // 3
  virtual void EnumDisplayModes(DisplayModeCallback callback, uint32_t user); // 4
  virtual int32_t EnterFullScreen(void* window, int32_t width, int32_t height, int32_t depth);  // 5
  virtual void LeaveFullScreen(void* window);                                 // 6
  virtual void CopyScreenState(cSurfaceImpl* other);                          // 7
  virtual int32_t WaitVBlank();                                               // 8
  virtual int32_t GetScanLine();                                              // 9
  virtual int32_t Reallocate(int32_t width, int32_t height);                  // 10
  virtual void SetDepth(int32_t depth);                                       // 11
  virtual int32_t SetDepthAndPalette(int32_t depth);                          // 12
  virtual int32_t GetKind();                                                  // 13
  virtual int32_t GetDriverInfo(void* out);                                   // 14
  virtual void SetDCOrigin(int32_t x, int32_t y);                             // 15
  virtual uint32_t GetDCOrigin();                                             // 16
  virtual int32_t HasDC();                                                    // 17
  virtual int32_t Lock();                                                     // 18
  virtual void Unlock();                                                      // 19
  virtual int32_t IsDCOnly();                                                 // 20
  virtual void* GetDC();                                                      // 21
  virtual void ReleaseDC(void* dc);                                           // 22
  virtual void GetClipRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height);  // 23
  virtual void SetClipRect(int32_t x, int32_t y, int32_t width, int32_t height);      // 24
  virtual void ResetClipRect();                                               // 25
  virtual void PutIndex(int32_t x, int32_t y, uint32_t index);                // 26
  virtual void SetPixel(int32_t x, int32_t y, uint32_t colour);               // 27
  virtual int32_t GetPixelNative(int32_t x, int32_t y, uint32_t* out);        // 28
  virtual int32_t GetPixel(int32_t x, int32_t y, uint32_t* out);              // 29
  virtual int32_t BlitFromDC(int32_t dx, int32_t dy, void* dc, int32_t sx, int32_t sy,
                             int32_t width, int32_t height, int32_t mode, uint32_t effect,
                             uint32_t parameter);                             // 30
  virtual int32_t Blit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                       int32_t width, int32_t height, int32_t mode, uint32_t effect,
                       uint32_t parameter, uint32_t blitFlags);               // 31
  virtual int32_t MoveRect(int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width,
                           int32_t height);                                   // 32
  virtual int32_t BlitCallback(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx,
                               int32_t sy, int32_t width, int32_t height, int32_t mode,
                               PixelCallback callback, uint32_t user);        // 33
  virtual int32_t FilterBlit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                             int32_t width, int32_t height, int32_t kernelWidth,
                             int32_t kernelHeight, int32_t anchorX, int32_t anchorY,
                             int32_t marginX, int32_t marginY, FilterCallback callback,
                             uint32_t user);                                  // 34
  virtual int32_t StretchFromDC(int32_t dx, int32_t dy, int32_t dw, int32_t dh, void* dc,
                                int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t mode,
                                uint32_t effect, uint32_t parameter);         // 35
  virtual int32_t Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                          int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t mode,
                          uint32_t effect, uint32_t parameter, uint32_t stretchFlags);  // 36
  virtual int32_t MirrorX(int32_t x, int32_t y, int32_t width, int32_t height);  // 37
  virtual int32_t MirrorY(int32_t x, int32_t y, int32_t width, int32_t height);  // 38
  virtual int32_t GetContentBox(SurfaceRect* out);                            // 39
  virtual int32_t FillRectIndex(int32_t x, int32_t y, int32_t width, int32_t height,
                                uint32_t index);                              // 40
  virtual int32_t FillRect(int32_t x, int32_t y, int32_t width, int32_t height,
                           uint32_t colour);                                  // 41
  virtual int32_t Rotate(cSurfaceImpl* dest, int32_t angle, int32_t antiAlias,
                         uint32_t fillColour, int32_t keepTransparent);       // 42
  virtual int32_t RotateQuarter(cSurfaceImpl* dest, int32_t clockwise);       // 43
  virtual int32_t TextOut(const char* text, int32_t length, int32_t x, int32_t y,
                          int32_t alignment, const SurfaceRect* clip, uint32_t colour,
                          void* font, uint32_t unused, uint32_t effect, uint32_t parameter,
                          uint32_t blitFlags);                                // 44
  virtual int32_t DrawText(const char* text, int32_t length, SurfaceRect* rect, uint32_t format,
                           uint32_t colour, void* font, uint32_t unused, uint32_t effect,
                           uint32_t parameter, uint32_t blitFlags, int32_t leftMargin,
                           int32_t rightMargin, int32_t tabLength);           // 45
  virtual int32_t IsEmpty();                                                  // 46
  virtual int32_t ReplaceColour(uint32_t newColour, uint32_t oldColour);      // 47
  virtual void RemapToPalette(cPalette* palette);                             // 48
  virtual void RemapIndices(const uint8_t* table);                            // 49
  virtual int32_t SetPalette(cPalette* palette, int32_t remap);               // 50
  virtual int32_t SetLogPalette(const LogPalette* log, int32_t remap);        // 51
  virtual int32_t SetPaletteFrom(cSurfaceImpl* other, int32_t remap);         // 52
  virtual int32_t GetPaletteEntries(PaletteEntry* out, int32_t first, int32_t count);  // 53
  virtual cPalette* GetPalette();                                             // 54
  virtual int32_t GetLogPalette(LogPalette* out);                             // 55
  virtual int32_t NearestIndex(uint32_t colour);                              // 56
  virtual uint32_t IndexToRGB(int32_t index);                                 // 57
  virtual int32_t GetBlackIndex();                                            // 58
  virtual int32_t AttachWindow(void* window);                                 // 59
  virtual int32_t IsCompressed();                                             // 60
  virtual int32_t ReadPixels(void* file);                                     // 61
  virtual int32_t WritePixels(void* file);                                    // 62
  virtual void SetTransparentColour(uint32_t colour);                         // 63
  virtual uint32_t GetTransparentColour();                                    // 64
  virtual uint32_t GetTransparentNative();                                    // 65
  virtual uint32_t BuildCollisionMask(void* mask, uint32_t flags);            // 66
  virtual void Flip();                                                        // 67
  virtual void Reserved68();                                                  // 68
  virtual void Reserved69();                                                  // 69
  virtual void Reserved70();                                                  // 70

  // Common set-up of a new instance made from a prototype (`MakeInstance`).
  int32_t InitFrom(const cSurfaceImpl* prototype, int32_t width, int32_t height,
                   uint32_t rowBytes);
  // Alpha channel: rows of the width rounded up to 4 bytes, owned (flag bit 8).
  uint8_t* CreateAlpha();
  void FreeAlpha();
  int32_t SetAlpha(const uint8_t* rows, int32_t pitch);
  void AttachAlpha(uint8_t* rows, int32_t pitch);
  // `PixelOps` read without clip test or lock; at 8 bits the palette colour.
  uint32_t GetPixelFast(int32_t x, int32_t y);
  int32_t PixelCollide(cSurfaceImpl* other, int32_t otherX, int32_t otherY, int32_t x, int32_t y,
                       int32_t width, int32_t height);

  PixelView view;

 protected:
  ~cSurfaceImpl() = default;  // released through Delete only
  // The base part of slot 0: releases the palette and an owned alpha block.
  void ReleaseBase();
  bool InClip(int32_t x, int32_t y) const {
    return x >= view.clipLeft && x < view.clipRight && y >= view.clipTop && y < view.clipBottom;
  }
  // Clips (x, y, w, h) to the clip rectangle; false when nothing is left.
  bool ClipRect(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const;
  // The index a colour stands for on an 8-bit surface (0x01000000 + n names n).
  int32_t ColourToIndex(uint32_t colour);
  // Writes the remap through `table` over every pixel of an 8-bit surface.
  void RemapAllPixels(const uint8_t* table);
};

// The view follows the table pointer at once (checked by the surface layout test).
OMB_PIN_SIZE(cSurfaceImpl, 96);

// Frees a surface made by MakeInstance (or null).
inline void DeleteSurface(cSurfaceImpl* surface) {
  if (surface != nullptr) surface->Delete(1);
}
