// Drawing into the back buffer through its device context, and the screen
// grab. Each function adds what it touched to the dirty list.
#include "window/SystemHeaders.h"

#include <algorithm>

#include "window/PresentTargetWin32.h"
#include "window/WindowDrawApi.h"

namespace {

// The drawing surface's DC for the length of one drawing call.
class SurfaceDC {
 public:
  explicit SurfaceDC(WindowObject* window)
      : impl_(window == nullptr ? nullptr : CurrentDrawImpl(window)),
        dc_(impl_ == nullptr ? nullptr : static_cast<HDC>(impl_->GetDC())) {}
  ~SurfaceDC() {
    if (dc_ != nullptr) impl_->ReleaseDC(dc_);
  }
  SurfaceDC(const SurfaceDC&) = delete;
  SurfaceDC& operator=(const SurfaceDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  cSurfaceImpl* impl_;
  HDC dc_;
};

// DT_CENTER, DT_RIGHT, DT_VCENTER and DT_SINGLELINE of the caller's format.
constexpr uint32_t kMeasureKept = 0x27;
constexpr uint32_t kMeasureAdded = DT_WORDBREAK | DT_EXPANDTABS | DT_CALCRECT;
constexpr int32_t kMeasureOnly = 0x8000;
constexpr int32_t kMeasureWithPrefix = 0x4000;

}  // namespace

OMB_FLAT void* OMB_STDCALL WindowGetSurfaceDC(WindowObject* window) {
  if (window == nullptr || CurrentDrawImpl(window) == nullptr) return nullptr;
  return window->drawSurface->GetDC();
}

OMB_FLAT void OMB_STDCALL WindowReleaseSurfaceDC(WindowObject* window, void* dc) {
  if (window == nullptr || CurrentDrawImpl(window) == nullptr) return;
  window->drawSurface->ReleaseDC(dc);
}

OMB_FLAT void OMB_STDCALL WindowFillRectBrush(WindowObject* window, int32_t left, int32_t top,
                                              int32_t right, int32_t bottom, void* brush) {
  SurfaceDC dc(window);
  if (dc.Get() == nullptr) return;
  WindowAddUpdate(window, left, top, right, bottom);
  const RECT r{left, top, right, bottom};
  FillRect(dc.Get(), &r, static_cast<HBRUSH>(brush));
}

OMB_FLAT int32_t OMB_STDCALL WindowFrameRect(WindowObject* window, const SurfaceRect* rect) {
  if (rect == nullptr) return 0;
  SurfaceDC dc(window);
  if (dc.Get() == nullptr) return 0;
  const SurfaceRect f = *rect;
  WindowAddUpdateRect(window, &f);
  int32_t drawn = 0;
  if (window->rop2 == R2_XORPEN && window->penWidthLess1 == 0) {
    const RECT r{f.left, f.top, f.right, f.bottom};
    drawn = DrawFocusRect(dc.Get(), &r);
  } else {
    HGDIOBJ oldBrush = SelectObject(dc.Get(), GetStockObject(NULL_BRUSH));
    HGDIOBJ oldPen = window->pen != nullptr ? SelectObject(dc.Get(), window->pen) : nullptr;
    drawn = Rectangle(dc.Get(), f.left, f.top, f.right, f.bottom);
    if (oldPen != nullptr) SelectObject(dc.Get(), oldPen);
    SelectObject(dc.Get(), oldBrush);
  }
  // The four edge bands of the pen's width.
  const int32_t a = window->penWidthLess1 + 1;
  WindowAddUpdate(window, f.left, f.top, f.right, f.top + a);
  WindowAddUpdate(window, f.right - a, f.top + a, f.right, f.bottom - a);
  WindowAddUpdate(window, f.left, f.bottom - a, f.right, f.bottom);
  WindowAddUpdate(window, f.left, f.top + a, f.left + a, f.bottom - a);
  return drawn;
}

OMB_FLAT int32_t OMB_STDCALL WindowFrameRect16(WindowObject* window, int16_t left, int16_t top,
                                               int16_t right, int16_t bottom) {
  if (window == nullptr) return 0;
  const SurfaceRect r{left, top, right + 1, bottom + 1};
  return WindowFrameRect(window, &r);
}

OMB_FLAT void OMB_STDCALL WindowPolyline(WindowObject* window, const SurfacePoint* points,
                                         int32_t segments) {
  if (points == nullptr || segments < 0) return;
  SurfaceDC dc(window);
  if (dc.Get() == nullptr) return;
  HDC h = dc.Get();
  HGDIOBJ oldPen = window->pen != nullptr ? SelectObject(h, window->pen) : nullptr;
  SetBkMode(h, window->bkMode);
  SetROP2(h, window->rop2);
  SetBkColor(h, window->backColour);
  const int32_t count = segments + 1;
  SurfaceRect box{32767, 32767, -32767, -32767};
  for (int32_t i = 0; i < count; ++i) {
    box.left = std::min(box.left, points[i].x);
    box.top = std::min(box.top, points[i].y);
    box.right = std::max(box.right, points[i].x);
    box.bottom = std::max(box.bottom, points[i].y);
  }
  // The last column and row are drawn too, and a wide pen reaches past the
  // points on every side.
  const int32_t spread = std::max(window->penWidthLess1, 0);
  WindowAddUpdate(window, box.left - spread, box.top - spread, box.right + 1 + spread,
                  box.bottom + 1 + spread);
  static_assert(sizeof(SurfacePoint) == sizeof(POINT), "points pass to the system as they are");
  Polyline(h, reinterpret_cast<const POINT*>(points), count);
  if (oldPen != nullptr) SelectObject(h, oldPen);
}

OMB_FLAT int32_t OMB_STDCALL WindowDrawText(WindowObject* window, void* font, SurfaceRect* rect,
                                            const char* text, uint32_t colour, int32_t format) {
  if (window == nullptr || rect == nullptr || text == nullptr) return 0;
  cSurfaceImpl* impl = CurrentDrawImpl(window);
  if (impl == nullptr) return 0;
  if (format & kMeasureOnly) {
    uint32_t measure = (uint32_t(format) & kMeasureKept) | kMeasureAdded;
    if (!(format & kMeasureWithPrefix)) measure |= DT_NOPREFIX;
    const int32_t right = rect->right;
    const int32_t result =
        impl->DrawText(text, -1, rect, measure, colour, font, 0, 0, 0, 0, 0, 0, 8);
    rect->right = right;
    return result;
  }
  const int32_t result =
      impl->DrawText(text, -1, rect, uint32_t(format), colour, font, 0, 0, 0, 0, 0, 0, 8);
  WindowAddUpdateRect(window, rect);
  return result;
}

OMB_FLAT int32_t OMB_STDCALL WindowGrabScreen(WindowObject* window) {
  if (window == nullptr) return 0;
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 0;
  cSurfaceImpl* impl = CurrentDrawImpl(window);
  if (impl != nullptr) {
    POINT origin{0, 0};
    ClientToScreen(static_cast<HWND>(window->hwnd), &origin);
    const int32_t w = impl->view.width, h = impl->view.height;
    SurfaceDC dc(window);
    if (dc.Get() != nullptr) {
      BitBlt(dc.Get(), 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
    } else if (impl->Lock()) {
      // A buffer without a DC: through a bitmap of the screen's format.
      HDC memory = CreateCompatibleDC(screen);
      HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
      DibHeader info;
      uint8_t* bits = DescribeRows(impl->view, 0, h, &info);
      if (memory != nullptr && bitmap != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
        SelectObject(memory, old);
        GetDIBits(memory, bitmap, 0, UINT(h), bits, reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS);
      }
      if (bitmap != nullptr) DeleteObject(bitmap);
      if (memory != nullptr) DeleteDC(memory);
      impl->Unlock();
    }
  }
  return ReleaseDC(nullptr, screen);
}
