// The surface handle's lines, rectangles and flood fill.
#include <algorithm>
#include <cstdint>

#include "palette/PaletteApi.h"
#include "pixel/InkEffects.h"
#include "surface/FloodFill.h"
#include "surface/SurfaceHandle.h"

namespace {

// Cohen-Sutherland outcodes against an inclusive rectangle.
constexpr int kBelow = 1, kAbove = 2, kRight = 4, kLeft = 8;

struct ClipEdges {
  int64_t left, top, right, bottom;  // inclusive
  int Code(int64_t x, int64_t y) const {
    return (y > bottom ? kBelow : 0) | (y < top ? kAbove : 0) | (x > right ? kRight : 0) |
           (x < left ? kLeft : 0);
  }
};

// Moves the endpoints onto the edges (crossings in 64 bits, integer
// division); false when the segment lies wholly outside.
bool ClipSegment(const ClipEdges& e, int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2) {
  int c1 = e.Code(x1, y1), c2 = e.Code(x2, y2);
  while (c1 != 0 || c2 != 0) {
    if ((c1 & c2) != 0) return false;
    const int c = c1 != 0 ? c1 : c2;
    int64_t x = 0, y = 0;
    if (c & kBelow) {
      x = x1 + (x2 - x1) * (e.bottom - y1) / (y2 - y1);
      y = e.bottom;
    } else if (c & kAbove) {
      x = x1 + (x2 - x1) * (e.top - y1) / (y2 - y1);
      y = e.top;
    } else if (c & kRight) {
      y = y1 + (e.right - x1) * (y2 - y1) / (x2 - x1);
      x = e.right;
    } else {
      y = y1 + (e.left - x1) * (y2 - y1) / (x2 - x1);
      x = e.left;
    }
    if (c == c1) {
      x1 = x;
      y1 = y;
      c1 = e.Code(x1, y1);
    } else {
      x2 = x;
      y2 = y;
      c2 = e.Code(x2, y2);
    }
  }
  return true;
}

// The colour as the surface stores it, and its 8-bit value (0x01000000 + n
// names index n).
uint32_t StoredForm(cSurfaceImpl& s, uint32_t colour, uint8_t* index) {
  *index = 0;
  switch (s.view.depth) {
    case 8:
      *index = uint8_t(IsIndexColour(colour) ? IndexOfColour(colour) : uint32_t(s.NearestIndex(colour)));
      return s.view.palette != nullptr ? EntryColour(s.view.palette->log.entries[*index]) : 0;
    case 15:
      return colour & 0xF8F8F8u;
    case 16:
      return colour & 0xF8FCF8u;
    default:
      return colour & 0xFFFFFFu;
  }
}

}  // namespace

int32_t cSurfaceHandle::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width,
                             uint32_t colour) {
  if (width != 1) return LineWithPen(x1, y1, x2, y2, width, colour);
  cSurfaceImpl* s = Impl();
  if (s->IsCompressed()) return 0;  // no pixel rows to draw into
  int32_t cx = 0, cy = 0, cw = 0, ch = 0;
  GetClipRect(&cx, &cy, &cw, &ch);
  const ClipEdges edges{cx, cy, int64_t(cx) + cw, int64_t(cy) + ch};
  int64_t ax = x1, ay = y1, bx = x2, by = y2;
  if (!ClipSegment(edges, ax, ay, bx, by)) return 1;  // nothing of it is visible
  const bool indexed = s->view.depth == 8;
  const uint32_t index = indexed ? (IsIndexColour(colour) ? IndexOfColour(colour) : uint32_t(s->NearestIndex(colour))) : 0;
  auto plot = [&](int64_t x, int64_t y) {
    const int32_t ix = int32_t(x - originX), iy = int32_t(y - originY);
    if (indexed)
      s->PutIndex(ix, iy, index);
    else
      s->SetPixel(ix, iy, colour);
  };
  const int64_t dx = bx - ax, dy = by - ay;
  const int64_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const int64_t a = 2 * (dy < 0 ? -dy : dy), b = 2 * (dx < 0 ? -dx : dx);
  if (a < b) {
    int64_t error = a - b / 2, y = ay;
    for (int64_t x = ax;; x += sx) {
      plot(x, y);
      if (x == bx) break;
      if (error >= 0) {
        y += sy;
        error -= b;
      }
      error += a;
    }
  } else {
    int64_t error = b - a / 2, x = ax;
    for (int64_t y = ay;; y += sy) {
      plot(x, y);
      if (y == by) break;
      if (error >= 0) {
        x += sx;
        error -= a;
      }
      error += b;
    }
  }
  return 1;
}

int32_t cSurfaceHandle::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t fillColour,
                                  int32_t w, uint32_t outlineColour, int32_t filled) {
  cSurfaceImpl* s = Impl();
  if (s->IsCompressed()) return 0;  // no pixel rows to draw into
  // Corners, sizes and bands in 64 bits: far corners and wide outlines would
  // overflow 32. Each band is cut to the surface before it is filled.
  const int64_t left = std::min<int64_t>(x1, x2), right = std::max<int64_t>(x1, x2);
  const int64_t top = std::min<int64_t>(y1, y2), bottom = std::max<int64_t>(y1, y2);
  const int64_t width = right - left, height = bottom - top, band = w;
  const int64_t areaLeft = originX, areaTop = originY;
  const int64_t areaRight = areaLeft + s->view.width, areaBottom = areaTop + s->view.height;
  auto fill = [&](int64_t x, int64_t y, int64_t bw, int64_t bh, uint32_t colour) {
    if (bw <= 0 || bh <= 0) return;
    const int64_t l = std::max(x, areaLeft), t = std::max(y, areaTop);
    const int64_t r = std::min(x + bw, areaRight), b = std::min(y + bh, areaBottom);
    if (l >= r || t >= b) return;
    FillRect(int32_t(l), int32_t(t), int32_t(r - l), int32_t(b - t), colour);
  };
  if (filled) fill(left + band, top + band, width - 2 * band, height - 2 * band, fillColour);
  if (band != 0) {
    fill(left, top, width, band, outlineColour);
    fill(left, top, band, height, outlineColour);
    fill(left, bottom - band, width, band, outlineColour);
    fill(right - band, top, band, height, outlineColour);
  }
  return 1;
}

void cSurfaceHandle::RectangleOutline(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t width,
                                      uint32_t colour) {
  if (width != 0) Rectangle(x1, y1, x2, y2, 0, width, colour, 0);
}

int32_t cSurfaceHandle::FloodFill(int32_t x, int32_t y, int32_t* left, int32_t* top, int32_t* right,
                                  int32_t* bottom, uint32_t colour, uint32_t blitFlags,
                                  int32_t tolerance, uint32_t, uint32_t effect, uint32_t parameter) {
  cSurfaceImpl* s = Impl();
  // The fill reads and writes rows: a compressed image's block has none.
  if (s->IsCompressed()) return 0;
  uint8_t index = 0;
  const uint32_t stored = StoredForm(*s, colour, &index);
  const int32_t ix = int32_t(uint32_t(x) - uint32_t(originX)), iy = int32_t(uint32_t(y) - uint32_t(originY));
  // A blend with weight 0 is a plain fill; any other effect goes through a
  // temporary (black where nothing was filled) drawn keyed with it.
  if (effect == EffectBlend && parameter == 0) effect = EffectNone;
  cSurfaceHandle temp;
  cSurfaceImpl* target = s;
  if (effect != EffectNone && stored != 0) {
    target = temp.Create(s->view.width, s->view.height, this);
    if (target == nullptr) {
      lastError = ErrOutOfMemory;
      return 0;
    }
    target->SetClipRect(s->view.clipLeft, s->view.clipTop, s->view.clipRight - s->view.clipLeft,
                        s->view.clipBottom - s->view.clipTop);
    target->FillRect(0, 0, s->view.width, s->view.height, 0);
    target->SetTransparentColour(0);
  }
  FloodFillBox box{};
  const LibError e = ScanLineFill(*s, *target, ix, iy, stored, index, tolerance, &box);
  if (left != nullptr) *left = x;
  if (top != nullptr) *top = y;
  if (right != nullptr) *right = x;
  if (bottom != nullptr) *bottom = y;
  if (e != LibOk) {
    if (e == ErrOutOfMemory) lastError = e;
    return 0;
  }
  if (target != s)
    target->Blit(s, 0, 0, 0, 0, s->view.width, s->view.height, BlitKeyed, effect, parameter, blitFlags);
  if (left != nullptr) *left = box.left + originX;
  if (top != nullptr) *top = box.top + originY;
  if (right != nullptr) *right = box.right + 1 + originX;
  if (bottom != nullptr) *bottom = box.bottom + 1 + originY;
  return 1;
}

int32_t cSurfaceHandle::FloodFillSimple(int32_t x, int32_t y, uint32_t colour, uint32_t blitFlags,
                                        int32_t tolerance, uint32_t unused, uint32_t effect,
                                        uint32_t parameter) {
  return FloodFill(x, y, nullptr, nullptr, nullptr, nullptr, colour, blitFlags, tolerance, unused,
                   effect, parameter);
}
