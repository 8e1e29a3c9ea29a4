// The surface handle's shapes filled with paints: rectangles, ellipses,
// polygons and lines, each part made of a paint picture and a mask the
// platform draws (PaintedShapeLayers).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "paint/PaintArea.h"
#include "paint/cPaintBase.h"
#include "surface/GdiDraw.h"
#include "surface/PaintedShapeLayers.h"
#include "surface/ShiftedPoints.h"
#include "surface/SurfaceHandle.h"

namespace {

// A box shape (rectangle or ellipse) in the coordinates of temporaries
// covering its visible part.
struct VisibleBox {
  SurfaceRect visible;      // handle coordinates
  int32_t width, height;    // the whole shape's size
  int32_t offsetX, offsetY; // the visible part's offset within the shape
  // The shape's corners relative to the temporaries.
  int32_t left() const { return -offsetX; }
  int32_t top() const { return -offsetY; }
  int32_t right() const { return ClampToInt32(int64_t(width) - offsetX); }
  int32_t bottom() const { return ClampToInt32(int64_t(height) - offsetY); }
  int32_t visibleWidth() const { return visible.right - visible.left; }
  int32_t visibleHeight() const { return visible.bottom - visible.top; }
};

bool FindVisibleBox(cSurfaceHandle& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                    VisibleBox* out) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  if (!VisiblePart(surface, x1, y1, x2, y2, &out->visible)) return false;
  out->width = ClampToInt32(int64_t(x2) - x1);
  out->height = ClampToInt32(int64_t(y2) - y1);
  out->offsetX = ClampToInt32(int64_t(out->visible.left) - x1);
  out->offsetY = ClampToInt32(int64_t(out->visible.top) - y1);
  return true;
}

// The parts of one box shape: a paint's picture cut by a mask the platform
// draws with `shape` (GdiRectangle or GdiEllipse) on the temporaries.
class BoxShapeParts {
 public:
  using GdiBoxShape = int32_t (*)(void* dc, int32_t left, int32_t top, int32_t right,
                                  int32_t bottom, uint32_t fillColour, int32_t penWidth,
                                  uint32_t penColour, int32_t filled);
  BoxShapeParts(cSurfaceHandle& target, PaintedShapeLayers& layers, const VisibleBox& box,
                GdiBoxShape shape, uint32_t blitFlags, uint32_t effect, uint32_t parameter)
      : target_(target), layers_(layers), box_(box), shape_(shape), blitFlags_(blitFlags),
        effect_(effect), parameter_(parameter) {}

  // The ring of a `pen` wide outline; false when the mask could not be drawn.
  bool Outline(cPaintBase& paint, int32_t pen) {
    return Layer(paint, kMaskBlack, pen, kMaskWhite, 0);
  }
  // What lies inside a black `pen` wide outline.
  bool Inside(cPaintBase& paint, int32_t pen) { return Layer(paint, kMaskWhite, pen, kMaskBlack, 1); }

 private:
  bool Layer(cPaintBase& paint, uint32_t fill, int32_t pen, uint32_t penColour, int32_t filled) {
    layers_.Picture(paint, box_.width, box_.height, true, box_.offsetX, box_.offsetY);
    if (!layers_.Mask([&](void* dc) {
          shape_(dc, box_.left(), box_.top(), box_.right(), box_.bottom(), fill, pen, penColour,
                 filled);
        }))
      return false;
    layers_.Lay(target_, box_.visible.left, box_.visible.top, blitFlags_, effect_, parameter_);
    return true;
  }

  cSurfaceHandle& target_;
  PaintedShapeLayers& layers_;
  const VisibleBox& box_;
  GdiBoxShape shape_;
  uint32_t blitFlags_, effect_, parameter_;
};

}  // namespace

int32_t cSurfaceHandle::PaintRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                       cPaintBase* inside, int32_t w, cPaintBase* outline,
                                       uint32_t blitFlags, uint32_t, uint32_t effect,
                                       uint32_t parameter, int32_t filled) {
  VisibleBox box{};
  if (!FindVisibleBox(*this, x1, y1, x2, y2, &box)) return 0;
  PaintedShapeLayers layers;
  if (!layers.Make(*this, box.visibleWidth(), box.visibleHeight())) return 0;
  if (w == 0) {
    // The inside alone is the rectangle itself: no mask.
    if (inside != nullptr) {
      layers.Picture(*inside, box.width, box.height, true, box.offsetX, box.offsetY);
      layers.LayPicture(*this, box.visible.left, box.visible.top, blitFlags, effect, parameter);
    }
    return 1;
  }
  BoxShapeParts parts(*this, layers, box, GdiRectangle, blitFlags, effect, parameter);
  bool drawn = true;
  if (outline != nullptr) drawn = parts.Outline(*outline, w);
  if (drawn && filled && inside != nullptr) drawn = parts.Inside(*inside, w);
  return drawn ? 1 : 0;
}

void cSurfaceHandle::PaintRectangleOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                           int32_t width, cPaintBase* outline, uint32_t blitFlags,
                                           uint32_t unused, uint32_t effect, uint32_t parameter) {
  if (width != 0)
    PaintRectangle(x1, y1, x2, y2, nullptr, width, outline, blitFlags, unused, effect, parameter, 0);
}

void cSurfaceHandle::PaintRectangleInside(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                          cPaintBase* inside, uint32_t blitFlags, uint32_t unused,
                                          uint32_t effect, uint32_t parameter) {
  if (inside != nullptr)
    PaintRectangle(x1, y1, x2, y2, inside, 0, nullptr, blitFlags, unused, effect, parameter, 1);
}

int32_t cSurfaceHandle::PaintEllipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                     cPaintBase* inside, int32_t w, cPaintBase* outline,
                                     uint32_t blitFlags, uint32_t, uint32_t effect,
                                     uint32_t parameter, int32_t filled) {
  VisibleBox box{};
  if (!FindVisibleBox(*this, x1, y1, x2, y2, &box)) return 0;
  PaintedShapeLayers layers;
  if (!layers.Make(*this, box.visibleWidth(), box.visibleHeight())) return 0;
  BoxShapeParts parts(*this, layers, box, GdiEllipse, blitFlags, effect, parameter);
  bool drawn = true;
  // Inside the outline: a white ellipse whose black pen is one narrower than
  // the outline's (none without an outline).
  if (inside != nullptr && (w == 0 || filled)) drawn = parts.Inside(*inside, w > 0 ? w - 1 : 0);
  if (drawn && w != 0 && outline != nullptr) drawn = parts.Outline(*outline, w);
  return drawn ? 1 : 0;
}

void cSurfaceHandle::PaintEllipseOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                         int32_t width, cPaintBase* outline, uint32_t blitFlags,
                                         uint32_t unused, uint32_t effect, uint32_t parameter) {
  if (width != 0)
    PaintEllipse(x1, y1, x2, y2, nullptr, width, outline, blitFlags, unused, effect, parameter, 0);
}

void cSurfaceHandle::PaintEllipseInside(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                        cPaintBase* inside, uint32_t blitFlags, uint32_t unused,
                                        uint32_t effect, uint32_t parameter) {
  if (inside != nullptr)
    PaintEllipse(x1, y1, x2, y2, inside, 0, nullptr, blitFlags, unused, effect, parameter, 1);
}

int32_t cSurfaceHandle::PaintPolygon(const int32_t* points, int32_t count, cPaintBase* inside,
                                     int32_t w, cPaintBase* outline, uint32_t blitFlags, uint32_t,
                                     uint32_t effect, uint32_t parameter, int32_t filled) {
  if (points == nullptr || count < 2) {
    lastError = ErrInvalidData;
    return 0;
  }
  const int64_t margin = std::max(w, 0);
  int64_t minX = points[0], maxX = points[0], minY = points[1], maxY = points[1];
  for (int32_t i = 1; i < count; ++i) {
    minX = std::min<int64_t>(minX, points[2 * size_t(i)]);
    maxX = std::max<int64_t>(maxX, points[2 * size_t(i)]);
    minY = std::min<int64_t>(minY, points[2 * size_t(i) + 1]);
    maxY = std::max<int64_t>(maxY, points[2 * size_t(i) + 1]);
  }
  // The points' box grown by the outline width on every side.
  const int64_t left = minX - margin, top = minY - margin;
  const int64_t width = maxX - minX + 1 + 2 * margin, height = maxY - minY + 1 + 2 * margin;
  if (width > INT32_MAX || height > INT32_MAX || left < INT32_MIN || top < INT32_MIN) {
    lastError = ErrOutOfMemory;
    return 0;
  }
  std::vector<int32_t> shifted;
  if (!ShiftedPoints(points, count, int32_t(left), int32_t(top), &shifted)) {
    lastError = ErrOutOfMemory;
    return 0;
  }
  PaintedShapeLayers layers;
  if (!layers.Make(*this, int32_t(width), int32_t(height))) return 0;
  bool drawn = true;
  auto part = [&](cPaintBase& paint, uint32_t fill, uint32_t pen, int32_t isFilled) {
    layers.Picture(paint, int32_t(width), int32_t(height), false, 0, 0);
    if (!layers.Mask([&](void* dc) { GdiPolygon(dc, shifted.data(), count, fill, w, pen, isFilled); }))
      return false;
    layers.Lay(*this, int32_t(left), int32_t(top), blitFlags, effect, parameter);
    return true;
  };
  if (w != 0 && outline != nullptr) drawn = part(*outline, kMaskBlack, kMaskWhite, 0);
  if (drawn && inside != nullptr && (filled || w == 0)) drawn = part(*inside, kMaskWhite, kMaskBlack, 1);
  return drawn ? 1 : 0;
}

void cSurfaceHandle::PaintPolygonOutline(const int32_t* points, int32_t count, int32_t width,
                                         cPaintBase* outline, uint32_t blitFlags, uint32_t unused,
                                         uint32_t effect, uint32_t parameter) {
  if (width != 0)
    PaintPolygon(points, count, nullptr, width, outline, blitFlags, unused, effect, parameter, 0);
}

void cSurfaceHandle::PaintPolygonInside(const int32_t* points, int32_t count, cPaintBase* inside,
                                        uint32_t blitFlags, uint32_t unused, uint32_t effect,
                                        uint32_t parameter) {
  if (inside != nullptr)
    PaintPolygon(points, count, inside, 0, nullptr, blitFlags, unused, effect, parameter, 1);
}

int32_t cSurfaceHandle::PaintLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w,
                                  cPaintBase* paint, uint32_t blitFlags, uint32_t, uint32_t effect,
                                  uint32_t parameter) {
  if (paint == nullptr) return 0;
  // The segment's box grown by the width on every side.
  const int64_t margin = std::max(w, 0);
  const int64_t left = std::min(x1, x2) - margin, top = std::min(y1, y2) - margin;
  const int64_t width = std::abs(int64_t(x2) - x1) + 1 + 2 * margin;
  const int64_t height = std::abs(int64_t(y2) - y1) + 1 + 2 * margin;
  if (width > INT32_MAX || height > INT32_MAX || left < INT32_MIN || top < INT32_MIN) {
    lastError = ErrOutOfMemory;
    return 0;
  }
  PaintedShapeLayers layers;
  if (!layers.Make(*this, int32_t(width), int32_t(height))) return 0;
  layers.Picture(*paint, int32_t(width), int32_t(height), false, 0, 0);
  const int32_t ax = int32_t(x1 - left), ay = int32_t(y1 - top), bx = int32_t(x2 - left),
                by = int32_t(y2 - top);
  bool masked = true;
  if (w == 1) {
    layers.mask.FillAll(kMaskBlack);
    layers.mask.Line(ax, ay, bx, by, 1, kMaskWhite);
  } else {
    masked = layers.Mask([&](void* dc) { GdiLine(dc, ax, ay, bx, by, w, kMaskWhite); });
  }
  if (!masked) return 0;
  layers.Lay(*this, int32_t(left), int32_t(top), blitFlags, effect, parameter);
  return 1;
}
