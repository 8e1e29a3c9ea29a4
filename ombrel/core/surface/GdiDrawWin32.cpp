// The drawing helpers over GDI.
#include <windows.h>

#include "surface/GdiDraw.h"

namespace {

// Selects a solid pen of the width and colour (or the null pen) and a solid
// brush of the fill colour (or the hollow brush) into the context for its
// lifetime; puts the previous objects back and deletes its own at the end.
class PenAndBrush {
 public:
  PenAndBrush(HDC dc, uint32_t fillColour, int32_t penWidth, uint32_t penColour, bool filled,
              bool nullPen)
      : dc_(dc) {
    if (!nullPen) pen_ = CreatePen(PS_SOLID, penWidth, penColour);
    if (filled) brush_ = CreateSolidBrush(fillColour);
    HGDIOBJ pen = nullPen ? GetStockObject(NULL_PEN) : pen_;
    HGDIOBJ brush = filled ? static_cast<HGDIOBJ>(brush_) : GetStockObject(NULL_BRUSH);
    if (pen == nullptr || brush == nullptr) return;
    oldPen_ = SelectObject(dc_, pen);
    oldBrush_ = SelectObject(dc_, brush);
    ok_ = oldPen_ != nullptr && oldBrush_ != nullptr;
  }
  ~PenAndBrush() {
    if (oldBrush_ != nullptr) SelectObject(dc_, oldBrush_);
    if (oldPen_ != nullptr) SelectObject(dc_, oldPen_);
    if (brush_ != nullptr) DeleteObject(brush_);
    if (pen_ != nullptr) DeleteObject(pen_);
  }
  PenAndBrush(const PenAndBrush&) = delete;
  PenAndBrush& operator=(const PenAndBrush&) = delete;
  bool Ok() const { return ok_; }

 private:
  HDC dc_;
  HPEN pen_ = nullptr;
  HBRUSH brush_ = nullptr;
  HGDIOBJ oldPen_ = nullptr;
  HGDIOBJ oldBrush_ = nullptr;
  bool ok_ = false;
};

// Draws with the shapes' pen and brush (no pen for a filled shape of pen
// width 0): draw(context) once they are selected; 0 when they cannot be.
template <class Draw>
int32_t WithPenAndBrush(void* dc, uint32_t fillColour, int32_t penWidth, uint32_t penColour,
                        int32_t filled, Draw draw) {
  if (dc == nullptr) return 0;
  const HDC context = static_cast<HDC>(dc);
  PenAndBrush tools(context, fillColour, penWidth, penColour, filled != 0,
                    filled != 0 && penWidth == 0);
  if (!tools.Ok()) return 0;
  return draw(context) != 0;
}

}  // namespace

int32_t FillRectSolid(void* dc, const SurfaceRect* rect, uint32_t colour) {
  if (dc == nullptr || rect == nullptr) return 0;
  HBRUSH brush = CreateSolidBrush(colour);
  if (brush == nullptr) return 0;
  const RECT r{rect->left, rect->top, rect->right, rect->bottom};
  const int result = FillRect(static_cast<HDC>(dc), &r, brush);
  DeleteObject(brush);
  return result != 0;
}

int32_t GdiEllipse(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   uint32_t fillColour, int32_t penWidth, uint32_t penColour, int32_t filled) {
  return WithPenAndBrush(dc, fillColour, penWidth, penColour, filled, [&](HDC context) {
    const SurfaceRect box = GdiPenBox(left, top, right, bottom, penWidth);
    return Ellipse(context, box.left, box.top, box.right, box.bottom);
  });
}

int32_t GdiPolygon(void* dc, const int32_t* points, int32_t count, uint32_t fillColour,
                   int32_t penWidth, uint32_t penColour, int32_t filled) {
  if (points == nullptr || count < 2) return 0;
  static_assert(sizeof(POINT) == 2 * sizeof(int32_t), "POINT is two 32-bit values");
  return WithPenAndBrush(dc, fillColour, penWidth, penColour, filled, [&](HDC context) {
    return Polygon(context, reinterpret_cast<const POINT*>(points), count);
  });
}

int32_t GdiRectangle(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     uint32_t fillColour, int32_t penWidth, uint32_t penColour, int32_t filled) {
  return WithPenAndBrush(dc, fillColour, penWidth, penColour, filled, [&](HDC context) {
    const SurfaceRect box = GdiPenBox(left, top, right, bottom, penWidth);
    // Without a pen GDI leaves the last column and row unfilled.
    const int32_t grow = filled != 0 && penWidth == 0 ? 1 : 0;
    return Rectangle(context, box.left, box.top, box.right + grow, box.bottom + grow);
  });
}

int32_t GdiLine(void* dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t penWidth,
                uint32_t colour) {
  if (dc == nullptr) return 0;
  HDC context = static_cast<HDC>(dc);
  HPEN pen = CreatePen(PS_SOLID, penWidth, colour);
  if (pen == nullptr) return 0;
  HGDIOBJ old = SelectObject(context, pen);
  int32_t drawn = 0;
  if (old != nullptr) {
    drawn = MoveToEx(context, x1, y1, nullptr) && LineTo(context, x2, y2);
    SelectObject(context, old);
  }
  DeleteObject(pen);
  return drawn;
}

void FlushDrawing() { GdiFlush(); }
