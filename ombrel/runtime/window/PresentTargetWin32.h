// The window's device context as the destination of presents and repaints.
#pragma once

#include <windows.h>

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

class WindowDCTarget final : public PresentTarget {
 public:
  WindowDCTarget(HWND window, HDC dc) : window_(window), dc_(dc) {}
  bool ClientSize(int32_t* width, int32_t* height) override;
  void Copy(cSurfaceImpl& buffer, const SurfaceRect& rect) override;
  void StretchAll(cSurfaceImpl& buffer, int32_t clientWidth, int32_t clientHeight) override;

 private:
  HWND window_;
  HDC dc_;
};
