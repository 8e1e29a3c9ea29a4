// The window's device context as the destination of presents and repaints.
#pragma once

#include "window/SystemHeaders.h"

#include "surface/cDCSurface.h"
#include "surface/cSurfaceImpl.h"
#include "window/WindowPresent.h"

// A BITMAPINFO with room for 256 colours or three masks.
struct DibHeader {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

// Describes `rows` rows of the buffer starting at row `top` as a DIB, and
// returns the address of the rows as the DIB wants them; null when the
// buffer's rows are not laid out as a DIB's. The buffer is locked.
uint8_t* DescribeRows(const PixelView& view, int32_t top, int32_t rows, DibHeader* out);

// Buffers with a device context copy themselves onto a temporary surface
// bound to the window's context (their Blit and Stretch); buffers with only
// pixels are handed to the context as a DIB.
class WindowDCTarget final : public PresentTarget {
 public:
  WindowDCTarget(HWND window, HDC dc) : window_(window), dc_(dc) {}
  ~WindowDCTarget();
  WindowDCTarget(const WindowDCTarget&) = delete;
  WindowDCTarget& operator=(const WindowDCTarget&) = delete;
  bool ClientSize(int32_t* width, int32_t* height) override;
  void Copy(cSurfaceImpl& buffer, const SurfaceRect& rect) override;
  // One copy of the rectangles' bounding box through a clip region of them.
  void CopyList(cSurfaceImpl& buffer, const SurfaceRect* rects, int32_t count) override;
  void StretchAll(cSurfaceImpl& buffer, int32_t clientWidth, int32_t clientHeight) override;

 private:
  // The window's context as a surface, made on first use; null without one.
  cDCSurface* Destination();
  void CopyPixels(cSurfaceImpl& buffer, const SurfaceRect& rect);
  void StretchPixels(cSurfaceImpl& buffer, int32_t clientWidth, int32_t clientHeight);

  HWND window_;
  HDC dc_;
  cDCSurface* destination_ = nullptr;
};
