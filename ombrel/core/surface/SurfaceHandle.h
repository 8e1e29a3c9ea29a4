// The library's public surface object: it owns one implementation, translates
// handle coordinates by an origin and keeps the last error. Almost every
// member forwards to one implementation slot; the handle itself creates and
// replaces implementations and does the origin arithmetic, the palette checks
// and the alpha-channel helpers.
//
// Handle point (x, y) is implementation point (x - originX, y - originY).
// "The whole surface" is the rectangle at handle point (0, 0) of the
// implementation's size; the FillAll forms instead cover the implementation
// itself. Copying a handle copies the picture, never the pointer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "LibError.h"
#include "OmbrelApi.h"
#include "palette/PaletteTypes.h"
#include "surface/BitmapInfoHeader.h"
#include "surface/SurfaceTypes.h"
#include "surface/cSurfaceImpl.h"

class cPaintBase;

// A point passed by value (the system's POINT).
struct SurfacePoint {
  int32_t x;
  int32_t y;
};
OMB_PIN_SIZE(SurfacePoint, 8);

// `GetType` results and the type argument of `GetSurfacePrototype`.
enum SurfaceType : int32_t {
  SurfaceTypeMemory = 0,
  SurfaceTypeScreen = 1,    // DIB section, or DirectDraw in video memory
  SurfaceTypeOwnDC = 2,     // DIB section with its own device context
  SurfaceTypeSystemMem = 3, // DIB section, or DirectDraw in system memory
};

class cSurfaceHandle {
 public:
  cSurfaceHandle();
  // Copies the picture (a new implementation); never shares the pointer.
  cSurfaceHandle(const cSurfaceHandle& other);
  ~cSurfaceHandle();
  // CopyFrom(source, -1, -1); copying a handle onto itself keeps its picture.
  cSurfaceHandle& operator=(const cSurfaceHandle& source);

  // Life and implementation.
  cSurfaceImpl* Create(int32_t width, int32_t height, const cSurfaceHandle* prototype)
      OMB_EXPORT_AS(cSurfaceHandle_Create);
  // A copy of the source's picture, at its size (width -1) or stretched to
  // width x height. When the copy cannot be made or drawn the handle is left
  // empty with ErrOutOfMemory and 0 is returned.
  int32_t CopyFrom(const cSurfaceHandle* source, int32_t width, int32_t height)
      OMB_EXPORT_AS(cSurfaceHandle_CopyFrom);
  void Destroy() OMB_EXPORT_AS(cSurfaceHandle_Destroy);
  // The implementation becomes a device-context surface over `dc` (null: the
  // screen's context, owned), or over a window's context (owned; the whole
  // window's with `wholeWindow`). Empty with ErrOutOfMemory when no context
  // can be had. Windows only.
  cSurfaceImpl* CreateOnDC(void* dc) OMB_EXPORT_AS(cSurfaceHandle_CreateOnDC);
  cSurfaceImpl* CreateOnWindow(void* window, int32_t wholeWindow)
      OMB_EXPORT_AS(cSurfaceHandle_CreateOnWindow);
  // Empty, then (while DirectDraw holds the full screen) the back buffer of
  // the screen; true when not empty. With no flip chain it stays empty.
  int32_t CreateBackBuffer() OMB_EXPORT_AS(cSurfaceHandle_CreateBackBuffer);
  static cSurfaceImpl* AttachImpl(cSurfaceHandle* handle, cSurfaceImpl* impl)
      OMB_EXPORT_AS(cSurfaceHandle_AttachImpl);
  static cSurfaceImpl* GetImpl(const cSurfaceHandle* handle) OMB_EXPORT_AS(cSurfaceHandle_GetImpl);
  int32_t IsValid() const OMB_EXPORT_AS(cSurfaceHandle_IsValid);
  LibError GetLastError() const OMB_EXPORT_AS(cSurfaceHandle_GetLastError);

  // Information and buffer.
  int32_t GetWidth() const OMB_EXPORT_AS(cSurfaceHandle_GetWidth);
  int32_t GetHeight() const OMB_EXPORT_AS(cSurfaceHandle_GetHeight);
  int32_t GetDepth() const OMB_EXPORT_AS(cSurfaceHandle_GetDepth);
  int32_t GetInfo(int32_t* width, int32_t* height, int32_t* depth) const
      OMB_EXPORT_AS(cSurfaceHandle_GetInfo);
  int32_t GetType() const OMB_EXPORT_AS(cSurfaceHandle_GetType);
  int32_t GetDriver() const OMB_EXPORT_AS(cSurfaceHandle_GetDriver);
  int32_t GetDriverInfo(void* out) OMB_EXPORT_AS(cSurfaceHandle_GetDriverInfo);
  int32_t IsPaletted() const OMB_EXPORT_AS(cSurfaceHandle_IsPaletted);
  int32_t GetPitch() const OMB_EXPORT_AS(cSurfaceHandle_GetPitch);
  uint8_t* LockBuffer() OMB_EXPORT_AS(cSurfaceHandle_LockBuffer);
  void UnlockBuffer(void* buffer) OMB_EXPORT_AS(cSurfaceHandle_UnlockBuffer);

  // Origin and clip.
  void SetOrigin(int32_t x, int32_t y) OMB_EXPORT_AS(cSurfaceHandle_SetOrigin);
  void SetOriginPoint(SurfacePoint point) OMB_EXPORT_AS(cSurfaceHandle_SetOriginPoint);
  void GetOrigin(int32_t* x, int32_t* y) const OMB_EXPORT_AS(cSurfaceHandle_GetOrigin);
  void GetOriginPoint(SurfacePoint* point) const OMB_EXPORT_AS(cSurfaceHandle_GetOriginPoint);
  void OffsetOrigin(int32_t dx, int32_t dy) OMB_EXPORT_AS(cSurfaceHandle_OffsetOrigin);
  void SetClipRect(int32_t x, int32_t y, int32_t width, int32_t height)
      OMB_EXPORT_AS(cSurfaceHandle_SetClipRect);
  void GetClipRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height)
      OMB_EXPORT_AS(cSurfaceHandle_GetClipRect);
  void ResetClipRect() OMB_EXPORT_AS(cSurfaceHandle_ResetClipRect);

  // Pixels and fills; colours 0x00BBGGRR, the RGB forms take one byte each.
  void SetPixel(int32_t x, int32_t y, uint32_t colour) OMB_EXPORT_AS(cSurfaceHandle_SetPixel);
  void SetPixelRGB(int32_t x, int32_t y, uint32_t red, uint32_t green, uint32_t blue)
      OMB_EXPORT_AS(cSurfaceHandle_SetPixelRGB);
  void PutIndex(int32_t x, int32_t y, uint32_t index) OMB_EXPORT_AS(cSurfaceHandle_PutIndex);
  int32_t GetPixel(int32_t x, int32_t y, uint32_t* colour) OMB_EXPORT_AS(cSurfaceHandle_GetPixel);
  int32_t GetPixelRGB(int32_t x, int32_t y, uint8_t* red, uint8_t* green, uint8_t* blue)
      OMB_EXPORT_AS(cSurfaceHandle_GetPixelRGB);
  int32_t GetPixelNative(int32_t x, int32_t y, uint32_t* value)
      OMB_EXPORT_AS(cSurfaceHandle_GetPixelNative);
  int32_t FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour)
      OMB_EXPORT_AS(cSurfaceHandle_FillRect);
  int32_t FillRectRGB(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t red,
                      uint32_t green, uint32_t blue) OMB_EXPORT_AS(cSurfaceHandle_FillRectRGB);
  int32_t FillRectIndex(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t index)
      OMB_EXPORT_AS(cSurfaceHandle_FillRectIndex);
  int32_t FillAll(uint32_t colour) OMB_EXPORT_AS(cSurfaceHandle_FillAll);
  int32_t FillAllRGB(uint32_t red, uint32_t green, uint32_t blue)
      OMB_EXPORT_AS(cSurfaceHandle_FillAllRGB);
  int32_t FillAllIndex(uint32_t index) OMB_EXPORT_AS(cSurfaceHandle_FillAllIndex);
  // The paint's Fill of (x, y, x + width, y + height), and its FillAll of the
  // surface's size; 0 for a null paint.
  int32_t FillRectPaint(int32_t x, int32_t y, int32_t width, int32_t height, cPaintBase* paint)
      OMB_EXPORT_AS(cSurfaceHandle_FillRectPaint);
  int32_t FillAllPaint(cPaintBase* paint) OMB_EXPORT_AS(cSurfaceHandle_FillAllPaint);

  // Copies and geometry. Two-surface members subtract the destination's
  // origin from the destination position and this handle's from the source's.
  int32_t Blit(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width,
               int32_t height, int32_t mode, uint32_t effect, uint32_t parameter,
               uint32_t blitFlags) OMB_EXPORT_AS(cSurfaceHandle_Blit);
  int32_t BlitAt(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t mode, uint32_t effect,
                 uint32_t parameter, uint32_t blitFlags) OMB_EXPORT_AS(cSurfaceHandle_BlitAt);
  int32_t CopyTo(cSurfaceHandle* dest) OMB_EXPORT_AS(cSurfaceHandle_CopyTo);
  int32_t MoveRect(int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width, int32_t height)
      OMB_EXPORT_AS(cSurfaceHandle_MoveRect);
  int32_t BlitCallback(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                       int32_t width, int32_t height, int32_t mode, PixelCallback callback,
                       uint32_t user) OMB_EXPORT_AS(cSurfaceHandle_BlitCallback);
  int32_t BlitCallbackAll(cSurfaceHandle* dest, PixelCallback callback, uint32_t user,
                          int32_t mode) OMB_EXPORT_AS(cSurfaceHandle_BlitCallbackAll);
  int32_t FilterBlit(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                     int32_t width, int32_t height, int32_t kernelWidth, int32_t kernelHeight,
                     int32_t anchorX, int32_t anchorY, FilterCallback callback, uint32_t user)
      OMB_EXPORT_AS(cSurfaceHandle_FilterBlit);
  int32_t Stretch(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx,
                  int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t effect,
                  uint32_t parameter, uint32_t stretchFlags) OMB_EXPORT_AS(cSurfaceHandle_Stretch);
  // The whole surface onto (dx, dy, dw, dh).
  int32_t StretchTo(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                    int32_t mode, uint32_t effect, uint32_t parameter, uint32_t stretchFlags)
      OMB_EXPORT_AS(cSurfaceHandle_StretchTo);
  // The whole surface onto the destination's whole surface, mode 0, no effect.
  int32_t StretchAll(cSurfaceHandle* dest, uint32_t stretchFlags)
      OMB_EXPORT_AS(cSurfaceHandle_StretchAll);
  // Rotations into a destination handle (positive degrees turn
  // counter-clockwise as shown). Rotate wants a destination of the right
  // size already; CreateRotated makes it. Quarter turns are exact.
  int32_t RotateQuarter(cSurfaceHandle* dest, int32_t clockwise)
      OMB_EXPORT_AS(cSurfaceHandle_RotateQuarter);
  int32_t Rotate(cSurfaceHandle* dest, int32_t degrees, int32_t antiAlias, uint32_t fillColour,
                 int32_t keepTransparent) OMB_EXPORT_AS(cSurfaceHandle_Rotate);
  int32_t RotateRadians(cSurfaceHandle* dest, double radians, int32_t antiAlias, uint32_t fillColour,
                        int32_t unused) OMB_EXPORT_AS(cSurfaceHandle_RotateRadians);
  int32_t CreateRotated(cSurfaceHandle* dest, int32_t degrees, int32_t antiAlias, uint32_t fillColour,
                        int32_t unused) OMB_EXPORT_AS(cSurfaceHandle_CreateRotated);
  int32_t CreateRotatedRadians(cSurfaceHandle* dest, double radians, int32_t antiAlias,
                               uint32_t fillColour, int32_t unused)
      OMB_EXPORT_AS(cSurfaceHandle_CreateRotatedRadians);
  // The size of a width x height picture turned by `degrees`.
  static void GetRotatedSize(int32_t* width, int32_t* height, int32_t degrees)
      OMB_EXPORT_AS(cSurfaceHandle_GetRotatedSize);
  int32_t MirrorX(int32_t x, int32_t y, int32_t width, int32_t height)
      OMB_EXPORT_AS(cSurfaceHandle_MirrorX);
  int32_t MirrorXAll() OMB_EXPORT_AS(cSurfaceHandle_MirrorXAll);
  int32_t MirrorY(int32_t x, int32_t y, int32_t width, int32_t height)
      OMB_EXPORT_AS(cSurfaceHandle_MirrorY);
  int32_t MirrorYAll() OMB_EXPORT_AS(cSurfaceHandle_MirrorYAll);
  int32_t Collides(const cSurfaceHandle* other, int32_t otherX, int32_t otherY, int32_t x,
                   int32_t y, int32_t width, int32_t height) OMB_EXPORT_AS(cSurfaceHandle_Collides);

  // Content, colour key, masks.
  int32_t GetContentBox(SurfaceRect* out) OMB_EXPORT_AS(cSurfaceHandle_GetContentBox);
  int32_t IsEmpty() OMB_EXPORT_AS(cSurfaceHandle_IsEmpty);
  int32_t ReplaceColour(uint32_t newColour, uint32_t oldColour)
      OMB_EXPORT_AS(cSurfaceHandle_ReplaceColour);
  // Text through the surface's device context, positions unchanged (the
  // context's origin applies); only surfaces with a context draw text.
  int32_t TextOut(const char* text, int32_t length, int32_t x, int32_t y, int32_t alignment,
                  const SurfaceRect* clip, uint32_t colour, void* font, uint32_t unused,
                  uint32_t effect, uint32_t parameter, uint32_t blitFlags)
      OMB_EXPORT_AS(cSurfaceHandle_TextOut);
  int32_t DrawText(const char* text, int32_t length, SurfaceRect* rect, uint32_t format,
                   uint32_t colour, void* font, uint32_t unused, uint32_t effect,
                   uint32_t parameter, uint32_t blitFlags, int32_t leftMargin, int32_t rightMargin,
                   int32_t tabLength) OMB_EXPORT_AS(cSurfaceHandle_DrawText);
  void SetTransparentColour(uint32_t colour) OMB_EXPORT_AS(cSurfaceHandle_SetTransparentColour);
  uint32_t GetTransparentColour() OMB_EXPORT_AS(cSurfaceHandle_GetTransparentColour);
  uint32_t GetTransparentNative() OMB_EXPORT_AS(cSurfaceHandle_GetTransparentNative);
  uint32_t BuildCollisionMask(void* mask, uint32_t flags)
      OMB_EXPORT_AS(cSurfaceHandle_BuildCollisionMask);

  // Alpha channel.
  int32_t HasAlpha() const OMB_EXPORT_AS(cSurfaceHandle_HasAlpha);
  uint8_t* GetAlphaRows() const OMB_EXPORT_AS(cSurfaceHandle_GetAlphaRows);
  int32_t GetAlphaPitch() const OMB_EXPORT_AS(cSurfaceHandle_GetAlphaPitch);
  uint8_t* CreateAlpha() OMB_EXPORT_AS(cSurfaceHandle_CreateAlpha);
  int32_t SetAlpha(const uint8_t* rows, int32_t pitch) OMB_EXPORT_AS(cSurfaceHandle_SetAlpha);
  void AttachAlpha(uint8_t* rows, int32_t pitch) OMB_EXPORT_AS(cSurfaceHandle_AttachAlpha);
  // Hands the channel to the caller: the first row (null without one), its pitch.
  uint8_t* DetachAlpha(int32_t* pitch) OMB_EXPORT_AS(cSurfaceHandle_DetachAlpha);
  // A new heap handle viewing this surface's alpha channel as an 8-bit grey
  // surface (not owning the bytes); free it with DeleteSurfaceHandle before
  // the channel goes away. Null without a channel or out of memory.
  cSurfaceHandle* NewAlphaHandle() OMB_EXPORT_AS(cSurfaceHandle_NewAlphaHandle);
  // The no-op release that pairs with GetAlphaRows.
  void SurfaceVoid() OMB_EXPORT_AS(cSurfaceHandle_SurfaceVoid);

  // Palette.
  int32_t SetPalette(cPalette* palette, int32_t remap) OMB_EXPORT_AS(cSurfaceHandle_SetPalette);
  int32_t SetLogPalette(const LogPalette* log, int32_t remap)
      OMB_EXPORT_AS(cSurfaceHandle_SetLogPalette);
  int32_t SetPaletteFrom(const cSurfaceHandle* other, int32_t remap)
      OMB_EXPORT_AS(cSurfaceHandle_SetPaletteFrom);
  int32_t SetPaletteFromHandle(void* systemPalette, int32_t remap)
      OMB_EXPORT_AS(cSurfaceHandle_SetPaletteFromHandle);
  cPalette* GetPalette() OMB_EXPORT_AS(cSurfaceHandle_GetPalette);
  int32_t GetPaletteEntries(PaletteEntry* out, int32_t first, int32_t count)
      OMB_EXPORT_AS(cSurfaceHandle_GetPaletteEntries);
  int32_t NearestIndex(uint32_t colour) OMB_EXPORT_AS(cSurfaceHandle_NearestIndex);
  uint32_t IndexToRGB(int32_t index) OMB_EXPORT_AS(cSurfaceHandle_IndexToRGB);
  int32_t GetBlackIndex() OMB_EXPORT_AS(cSurfaceHandle_GetBlackIndex);
  void RemapIndices(const uint8_t* table) OMB_EXPORT_AS(cSurfaceHandle_RemapIndices);
  void RemapToPaletteOf(const cSurfaceHandle* other) OMB_EXPORT_AS(cSurfaceHandle_RemapToPaletteOf);

  // Shapes (handle coordinates). A line of width 1 is drawn here (clipped,
  // Bresenham); other widths draw through the surface's device context:
  // without one, ErrInvalidData and 0. Rectangles: right and bottom
  // exclusive, corners sorted.
  int32_t Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, uint32_t colour)
      OMB_EXPORT_AS(cSurfaceHandle_Line);
  int32_t Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t fillColour,
                    int32_t outlineWidth, uint32_t outlineColour, int32_t filled)
      OMB_EXPORT_AS(cSurfaceHandle_Rectangle);
  void RectangleOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width,
                        uint32_t colour) OMB_EXPORT_AS(cSurfaceHandle_RectangleOutline);
  // Ellipses in the sorted box and polygons (`points`: `count` pairs of x, y)
  // are drawn by the platform on the device context: a solid pen of the
  // outline width and colour inside the box, a solid brush of the fill colour
  // when filled. Without a device context: ErrInvalidData and 0.
  int32_t Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t fillColour,
                  int32_t outlineWidth, uint32_t outlineColour, int32_t filled)
      OMB_EXPORT_AS(cSurfaceHandle_Ellipse);
  void EllipseOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, uint32_t colour)
      OMB_EXPORT_AS(cSurfaceHandle_EllipseOutline);
  int32_t Polygon(const int32_t* points, int32_t count, uint32_t fillColour, int32_t outlineWidth,
                  uint32_t outlineColour, int32_t filled) OMB_EXPORT_AS(cSurfaceHandle_Polygon);
  void PolygonOutline(const int32_t* points, int32_t count, int32_t width, uint32_t colour)
      OMB_EXPORT_AS(cSurfaceHandle_PolygonOutline);

  // Shapes filled with paints: each part (outline, inside) is the paint drawn
  // into a temporary, cut by a white-on-black mask the platform draws, and
  // laid on this surface keyed on black with the effect, parameter and
  // BlitFlags. The temporaries need a device context: without one,
  // ErrInvalidData and 0. Outline forms do nothing for width 0, inside forms
  // nothing for a null paint.
  int32_t PaintLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, cPaintBase* paint,
                    uint32_t blitFlags, uint32_t unused, uint32_t effect, uint32_t parameter)
      OMB_EXPORT_AS(cSurfaceHandle_PaintLine);
  int32_t PaintRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, cPaintBase* inside,
                         int32_t outlineWidth, cPaintBase* outline, uint32_t blitFlags,
                         uint32_t unused, uint32_t effect, uint32_t parameter, int32_t filled)
      OMB_EXPORT_AS(cSurfaceHandle_PaintRectangle);
  void PaintRectangleOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width,
                             cPaintBase* outline, uint32_t blitFlags, uint32_t unused,
                             uint32_t effect, uint32_t parameter)
      OMB_EXPORT_AS(cSurfaceHandle_PaintRectangleOutline);
  void PaintRectangleInside(int32_t x1, int32_t y1, int32_t x2, int32_t y2, cPaintBase* inside,
                            uint32_t blitFlags, uint32_t unused, uint32_t effect, uint32_t parameter)
      OMB_EXPORT_AS(cSurfaceHandle_PaintRectangleInside);
  int32_t PaintEllipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2, cPaintBase* inside,
                       int32_t outlineWidth, cPaintBase* outline, uint32_t blitFlags,
                       uint32_t unused, uint32_t effect, uint32_t parameter, int32_t filled)
      OMB_EXPORT_AS(cSurfaceHandle_PaintEllipse);
  void PaintEllipseOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width,
                           cPaintBase* outline, uint32_t blitFlags, uint32_t unused, uint32_t effect,
                           uint32_t parameter) OMB_EXPORT_AS(cSurfaceHandle_PaintEllipseOutline);
  void PaintEllipseInside(int32_t x1, int32_t y1, int32_t x2, int32_t y2, cPaintBase* inside,
                          uint32_t blitFlags, uint32_t unused, uint32_t effect, uint32_t parameter)
      OMB_EXPORT_AS(cSurfaceHandle_PaintEllipseInside);
  int32_t PaintPolygon(const int32_t* points, int32_t count, cPaintBase* inside, int32_t outlineWidth,
                       cPaintBase* outline, uint32_t blitFlags, uint32_t unused, uint32_t effect,
                       uint32_t parameter, int32_t filled) OMB_EXPORT_AS(cSurfaceHandle_PaintPolygon);
  void PaintPolygonOutline(const int32_t* points, int32_t count, int32_t width, cPaintBase* outline,
                           uint32_t blitFlags, uint32_t unused, uint32_t effect, uint32_t parameter)
      OMB_EXPORT_AS(cSurfaceHandle_PaintPolygonOutline);
  void PaintPolygonInside(const int32_t* points, int32_t count, cPaintBase* inside,
                          uint32_t blitFlags, uint32_t unused, uint32_t effect, uint32_t parameter)
      OMB_EXPORT_AS(cSurfaceHandle_PaintPolygonInside);
  // Scan-line seed fill from (x, y); the box of filled pixels (exclusive
  // right and bottom) goes to the four outputs when given. With an effect
  // (and a colour other than 0) the fill is drawn through a temporary with
  // that effect, parameter and BlitFlags.
  int32_t FloodFill(int32_t x, int32_t y, int32_t* left, int32_t* top, int32_t* right,
                    int32_t* bottom, uint32_t colour, uint32_t blitFlags, int32_t tolerance,
                    uint32_t unused, uint32_t effect, uint32_t parameter)
      OMB_EXPORT_AS(cSurfaceHandle_FloodFill);
  int32_t FloodFillSimple(int32_t x, int32_t y, uint32_t colour, uint32_t blitFlags,
                          int32_t tolerance, uint32_t unused, uint32_t effect, uint32_t parameter)
      OMB_EXPORT_AS(cSurfaceHandle_FloodFillSimple);
  // Around platform drawing on a device context: narrows its clip to this
  // handle's clip rectangle (in the drawing's coordinates) and answers the
  // context's own clip region (a copy, null when it had none), which
  // RestoreClipRegion selects back and deletes.
  void* SetupClipRegion(void* dc) OMB_EXPORT_AS(cSurfaceHandle_SetupClipRegion);
  void RestoreClipRegion(void* dc, void* savedRegion) OMB_EXPORT_AS(cSurfaceHandle_RestoreClipRegion);

  // Packed device-independent bitmaps and BMP files (options bit 0: keep
  // this surface's palette and remap; bit 2: take the bitmap's palette as it
  // is). Failures leave the surface as it was and set the last error.
  int32_t LoadDIB(const BitmapInfoHeader* header, const void* bits, uint32_t options)
      OMB_EXPORT_AS(cSurfaceHandle_LoadDIB);
  int32_t CreateFromBitmapInfo(const BitmapInfoHeader* header, const void* bits, uint32_t options)
      OMB_EXPORT_AS(cSurfaceHandle_CreateFromBitmapInfo);
  int32_t LoadBMPFromHandle(void* file, uint32_t size, uint32_t options)
      OMB_EXPORT_AS(cSurfaceHandle_LoadBMPFromHandle);
  int32_t LoadBMPFile(const char* path, uint32_t options) OMB_EXPORT_AS(cSurfaceHandle_LoadBMPFile);
  // Writes the header (and palette or masks) to `header` and, unless options
  // bit 0 is set, the rows to `bits` (null: right after the table).
  int32_t SaveDIB(BitmapInfoHeader* header, void* bits, uint32_t options)
      OMB_EXPORT_AS(cSurfaceHandle_SaveDIB);
  int32_t SaveBMPToHandle(void* file, uint32_t options) OMB_EXPORT_AS(cSurfaceHandle_SaveBMPToHandle);
  int32_t SaveBMPFile(const char* path, uint32_t options) OMB_EXPORT_AS(cSurfaceHandle_SaveBMPFile);
  // Windows only: a bitmap resource of the module (a missing number: false,
  // no error), and an icon (or, with a hot spot, a cursor) of w x h (0: the
  // system icon size) showing this surface centred, shrunk to fit, with its
  // `key` pixels transparent; null when the icon cannot be made.
  int32_t LoadBMPResource(void* instance, uint32_t number, uint32_t options)
      OMB_EXPORT_AS(cSurfaceHandle_LoadBMPResource);
  void* CreateIcon(int32_t width, int32_t height, uint32_t key, const SurfacePoint* hotSpot)
      OMB_EXPORT_AS(cSurfaceHandle_CreateIcon);
  // DibTotalSize of this surface.
  uint32_t GetDibSize() const OMB_EXPORT_AS(cSurfaceHandle_GetDibSize);
  static uint32_t DibRowBytes(int32_t width, int32_t depth) OMB_EXPORT_AS(cSurfaceHandle_DibRowBytes);
  static uint32_t DibHeaderSize(int32_t depth) OMB_EXPORT_AS(cSurfaceHandle_DibHeaderSize);
  static uint32_t DibTotalSize(int32_t width, int32_t height, int32_t depth)
      OMB_EXPORT_AS(cSurfaceHandle_DibTotalSize);
  static uint8_t* DibBitsPointer(const BitmapInfoHeader* header)
      OMB_EXPORT_AS(cSurfaceHandle_DibBitsPointer);

  // Cropping to the pixels that differ from the key (implementation
  // coordinates); false when nothing would be cut.
  int32_t CropToContent(SurfaceRect* out) OMB_EXPORT_AS(cSurfaceHandle_CropToContent);
  int32_t Crop() OMB_EXPORT_AS(cSurfaceHandle_Crop);

  // Raw access to the pixels of the buffer (after LockBuffer): implementation
  // coordinates, no clip; outside the surface or without pixels nothing is
  // written and 0 is read.
  void SetBufferPixel(int32_t x, int32_t y, uint32_t colour)
      OMB_EXPORT_AS(cSurfaceHandle_SetBufferPixel);
  void SetBufferIndex(int32_t x, int32_t y, uint32_t value) OMB_EXPORT_AS(cSurfaceHandle_SetBufferIndex);
  uint32_t GetBufferPixel(int32_t x, int32_t y) OMB_EXPORT_AS(cSurfaceHandle_GetBufferPixel);
  uint8_t GetBufferIndex(int32_t x, int32_t y) OMB_EXPORT_AS(cSurfaceHandle_GetBufferIndex);

  // Display back ends.
  int32_t AttachWindow(void* window) OMB_EXPORT_AS(cSurfaceHandle_AttachWindow);
  void* GetDC() OMB_EXPORT_AS(cSurfaceHandle_GetDC);
  void ReleaseDC(void* dc) OMB_EXPORT_AS(cSurfaceHandle_ReleaseDC);
  void EnumDisplayModes(DisplayModeCallback callback, uint32_t user)
      OMB_EXPORT_AS(cSurfaceHandle_EnumDisplayModes);
  int32_t EnterFullScreen(void* window, int32_t width, int32_t height, int32_t depth)
      OMB_EXPORT_AS(cSurfaceHandle_EnterFullScreen);
  void LeaveFullScreen(void* window) OMB_EXPORT_AS(cSurfaceHandle_LeaveFullScreen);
  int32_t CopyScreenState(const cSurfaceHandle* other) OMB_EXPORT_AS(cSurfaceHandle_CopyScreenState);
  int32_t IsBackBuffer() OMB_EXPORT_AS(cSurfaceHandle_IsBackBuffer);
  void Flip() OMB_EXPORT_AS(cSurfaceHandle_Flip);
  int32_t WaitVBlank() OMB_EXPORT_AS(cSurfaceHandle_WaitVBlank);
  void ReservedA() OMB_EXPORT_AS(cSurfaceHandle_ReservedA);
  void ReservedB() OMB_EXPORT_AS(cSurfaceHandle_ReservedB);
  void ReservedC() OMB_EXPORT_AS(cSurfaceHandle_ReservedC);

  // The fields cross the exported edge as they stand.
  cSurfaceImpl* impl;  // never null in a handle the library made: empty = the shared null surface
  int32_t originX;
  int32_t originY;
  LibError lastError;

 private:
  // The implementation to forward to; a zeroed handle reaches the null surface.
  cSurfaceImpl* Impl() const;
  // A line of another width than 1, with the platform's pen.
  int32_t LineWithPen(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width, uint32_t colour);
};

OMB_PIN_SIZE(cSurfaceHandle, 16);
OMB_PIN_OFFSET(cSurfaceHandle, impl, 0);
OMB_PIN_OFFSET(cSurfaceHandle, originX, 4);
OMB_PIN_OFFSET(cSurfaceHandle, originY, 8);
OMB_PIN_OFFSET(cSurfaceHandle, lastError, 12);

// A new heap handle, constructed empty; null when memory runs out.
OMB_FLAT cSurfaceHandle* OMB_STDCALL CreateSurfaceHandle();
// Destroys the handle's surface and frees the handle; nothing for null.
OMB_FLAT void OMB_STDCALL DeleteSurfaceHandle(cSurfaceHandle* handle);
