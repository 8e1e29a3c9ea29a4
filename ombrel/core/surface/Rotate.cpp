// Slots 42 `Rotate` (any angle, nearest or bilinear) and 43 `RotateQuarter`.
// Both read and write stored pixel bytes of any depth; colours are needed
// only for the fill and the bilinear mix, through the depth's own form.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "surface/BlitPaths.h"
#include "surface/StoredColour.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

namespace {

constexpr float kRadiansPerDegree = 0.01745329251993889f;

// Stored values and colours of one plane: a surface's pixels, or an alpha
// plane seen as grey bytes (its "colour" is the byte itself, Depth 0). The
// depth is a constant so the per-pixel work has no branches on it.
template <int Depth>
struct Plane {
  PixelView* view;
  cSurfaceImpl* surface;  // null for an alpha plane

  uint8_t* At(int32_t x, int32_t y) const {
    return view->firstRow + int64_t(y) * view->pitch + int64_t(x) * kBytes;
  }
  uint32_t Colour(int32_t x, int32_t y) const {
    const uint8_t* p = At(x, y);
    if constexpr (Depth == 0) return *p;
    else return ReadStoredColourAt<Depth>(view->palette, p);
  }
  // A colour in the plane's stored form; at 32 bits the fourth byte is
  // left alone.
  void Encode(uint8_t* p, uint32_t colour) const {
    if constexpr (Depth == 0) *p = uint8_t(colour);
    else WriteStoredColourAt<Depth>(p, colour, Depth == 8 ? uint8_t(surface->NearestIndex(colour)) : 0);
  }
  static constexpr int32_t kBytes = Depth == 0 ? 1 : (Depth + 7) / 8;
  static constexpr int32_t kEncodedBytes = Depth == 32 ? 3 : kBytes;
  void PutColour(int32_t x, int32_t y, uint32_t colour) const { Encode(At(x, y), colour); }
  bool Inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < view->width && y < view->height; }
};

struct RotateCall {
  float cos;
  float sin;
  bool antiAlias;
  uint32_t fill;
  bool keepTransparent;
  bool fast;  // the source's flag bit 0: 24- and 32-bit smoothing on stored bytes
};

// Positions in the source in fixed point with 32 fraction bits: a row's
// points follow from its first one by adding one step per column, so a
// column costs two additions, and its integer part is a shift.
using Fixed = int64_t;
constexpr double kFixedOne = 4294967296.0;
inline Fixed ToFixed(double v) { return Fixed(std::floor(v * kFixedOne + 0.5)); }
inline int32_t Whole(Fixed v) { return int32_t(v >> 32); }
// The top 8 bits of the fraction: the bilinear weight.
inline uint32_t Fraction8(Fixed v) { return uint32_t(v >> 24) & 0xFFu; }

struct RowWalk {
  Fixed x, y;          // source point of column 0
  Fixed stepX, stepY;  // per column
  bool Inside(int32_t column, int32_t w, int32_t h) const {
    const Fixed px = x + stepX * column, py = y + stepY * column;
    return px >= 0 && py >= 0 && Whole(px) < w && Whole(py) < h;
  }
};

// The columns [*first, *last) of a row of `count` whose points have whole
// parts inside w x h. The whole parts change monotonically along a row, so
// those columns are one run: an estimate in double precision, widened, is
// cut to it by the exact test.
void InsideRun(const RowWalk& r, int32_t count, int32_t w, int32_t h, int32_t* first, int32_t* last) {
  double lo = 0, hi = count;
  auto limit = [&](Fixed start, Fixed step, int32_t size) {
    if (step == 0) {
      if (start < 0 || Whole(start) >= size) hi = lo;
      return;
    }
    double a = -double(start) / double(step), b = (double(size) * kFixedOne - double(start)) / double(step);
    if (step < 0) std::swap(a, b);
    lo = std::max(lo, a);
    hi = std::min(hi, b);
  };
  limit(r.x, r.stepX, w);
  limit(r.y, r.stepY, h);
  if (!(lo < hi)) hi = lo;
  int32_t f = int32_t(std::max(0.0, std::min(double(count), std::floor(lo) - 2)));
  int32_t l = int32_t(std::max(0.0, std::min(double(count), std::ceil(hi) + 2)));
  while (f < l && !r.Inside(f, w, h)) ++f;
  while (l > f && !r.Inside(l - 1, w, h)) --l;
  *first = f;
  *last = l;
}

// Per colour byte, the bilinear mix with 8-bit weights (they sum to 65536).
uint32_t Mix(uint32_t c00, uint32_t c10, uint32_t c01, uint32_t c11, uint32_t fx, uint32_t fy) {
  const uint32_t w00 = (256 - fx) * (256 - fy), w10 = fx * (256 - fy), w01 = (256 - fx) * fy, w11 = fx * fy;
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t v = w00 * ((c00 >> shift) & 0xFF) + w10 * ((c10 >> shift) & 0xFF) +
                       w01 * ((c01 >> shift) & 0xFF) + w11 * ((c11 >> shift) & 0xFF) + 0x8000;
    out |= (v >> 16) << shift;
  }
  return out;
}

// The same mix on stored 24- or 32-bit values (the colour bytes in any
// order), two colour bytes a word: the weights factor into a horizontal and
// a vertical one, (256 - fy) ((256 - fx) c00 + fx c10) + fy ((256 - fx) c01 +
// fx c11), whose inner sums need 16 bits and outer sums 24 bits a byte.
inline uint32_t MixStored(uint32_t c00, uint32_t c10, uint32_t c01, uint32_t c11, uint32_t fx, uint32_t fy) {
  const uint32_t ax = 256 - fx, ay = 256 - fy;
  const uint32_t top = (c00 & 0xFF00FFu) * ax + (c10 & 0xFF00FFu) * fx;
  const uint32_t bottom = (c01 & 0xFF00FFu) * ax + (c11 & 0xFF00FFu) * fx;
  const uint32_t topG = (c00 >> 8 & 0xFFu) * ax + (c10 >> 8 & 0xFFu) * fx;
  const uint32_t bottomG = (c01 >> 8 & 0xFFu) * ax + (c11 >> 8 & 0xFFu) * fx;
  auto spread = [](uint32_t v) { return uint64_t(v & 0xFFFFu) | uint64_t(v >> 16) << 32; };
  const uint64_t outer = spread(top) * ay + spread(bottom) * fy + 0x0000800000008000ull;
  const uint32_t g = topG * ay + bottomG * fy + 0x8000u;
  return (uint32_t(outer >> 16) & 0xFFu) | (g >> 16 & 0xFFu) << 8 | (uint32_t(outer >> 48) & 0xFFu) << 16;
}

template <int Bytes>
inline uint32_t LoadStored(const uint8_t* p) {
  if constexpr (Bytes == 4) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v & 0x00FFFFFFu;
  }
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}

// Smoothed columns [first, last) of a 24- or 32-bit row on stored values:
// the colour path's pixels, without converting each one to a colour and back.
template <int Bytes>
void SmoothRunStored(const PixelView& src, uint8_t* out, RowWalk row, int32_t first, int32_t last,
                     uint32_t fillStored, bool keepTransparent) {
  const uint8_t* base = src.firstRow;
  const int64_t pitch = src.pitch;
  const int32_t sw = src.width, sh = src.height;
  Fixed px = row.x + row.stepX * first, py = row.y + row.stepY * first;
  for (int32_t x = first; x < last; ++x, px += row.stepX, py += row.stepY) {
    const int32_t ix = Whole(px), iy = Whole(py);
    const uint8_t* p = base + iy * pitch + int64_t(ix) * Bytes;
    const uint32_t centre = LoadStored<Bytes>(p);
    uint8_t* to = out + int64_t(x) * Bytes;
    uint32_t v = centre;
    if (!keepTransparent || centre != fillStored) {
      const bool right = ix + 1 < sw, down = iy + 1 < sh;
      auto neighbour = [&](bool inside, const uint8_t* q) {
        if (!inside) return centre;
        const uint32_t c = LoadStored<Bytes>(q);
        return keepTransparent && c == fillStored ? centre : c;
      };
      v = MixStored(centre, neighbour(right, p + Bytes), neighbour(down, p + pitch),
                    neighbour(right && down, p + pitch + Bytes), Fraction8(px), Fraction8(py));
    }
    to[0] = uint8_t(v);
    to[1] = uint8_t(v >> 8);
    to[2] = uint8_t(v >> 16);
  }
}

template <int Depth>
void RotatePlane(const Plane<Depth>& src, const Plane<Depth>& dest, const RotateCall& call) {
  const double cosine = call.cos, sine = call.sin;
  const double cx = double(src.view->width) / 2, cy = double(src.view->height) / 2;
  const double dx = double(dest.view->width) / 2, dy = double(dest.view->height) / 2;
  constexpr int32_t bytes = Plane<Depth>::kBytes;
  uint8_t fillStored[4] = {};
  dest.Encode(fillStored, call.fill);
  constexpr int32_t fillBytes = Plane<Depth>::kEncodedBytes;
  const int32_t sw = src.view->width, sh = src.view->height, width = dest.view->width;
  // Nearest: the pixel whose centre is nearest, floor(point + 0.5); smoothed:
  // the pixel the point lies in and its right and lower neighbours.
  const double shift = call.antiAlias ? 0.0 : 0.5;
  const Fixed stepX = ToFixed(cosine), stepY = ToFixed(sine);
  for (int32_t y = 0; y < dest.view->height; ++y) {
    const RowWalk row{ToFixed(cx - dx * cosine + (dy - y) * sine + shift),
                      ToFixed(cy - dx * sine + (y - dy) * cosine + shift), stepX, stepY};
    int32_t first = 0, last = 0;
    InsideRun(row, width, sw, sh, &first, &last);
    uint8_t* out = dest.At(0, y);
    auto fill = [&](int32_t from, int32_t to) {
      for (int32_t x = from; x < to; ++x) {
        if (call.antiAlias) dest.PutColour(x, y, call.fill);
        else std::memcpy(out + int64_t(x) * bytes, fillStored, size_t(fillBytes));
      }
    };
    fill(0, first);
    Fixed px = row.x + stepX * first, py = row.y + stepY * first;
    if constexpr (Depth == 24 || Depth == 32) {
      if (call.antiAlias && call.fast) {
        uint32_t fillValue = 0;
        std::memcpy(&fillValue, fillStored, 3);
        SmoothRunStored<bytes>(*src.view, out, row, first, last, fillValue, call.keepTransparent);
        fill(last, width);
        continue;
      }
    }
    if (!call.antiAlias) {
      const uint8_t* base = src.view->firstRow;
      const int64_t pitch = src.view->pitch;
      for (int32_t x = first; x < last; ++x, px += stepX, py += stepY)
        std::memcpy(out + int64_t(x) * bytes, base + Whole(py) * pitch + int64_t(Whole(px)) * bytes,
                    size_t(bytes));
    } else {
      for (int32_t x = first; x < last; ++x, px += stepX, py += stepY) {
        const int32_t ix = Whole(px), iy = Whole(py);
        const uint32_t centre = src.Colour(ix, iy);
        if (call.keepTransparent && centre == call.fill) {
          dest.PutColour(x, y, centre);
          continue;
        }
        auto neighbour = [&](int32_t nx, int32_t ny) {
          if (nx >= sw || ny >= sh) return centre;
          const uint32_t c = src.Colour(nx, ny);
          return call.keepTransparent && c == call.fill ? centre : c;
        };
        dest.PutColour(x, y, Mix(centre, neighbour(ix + 1, iy), neighbour(ix, iy + 1),
                                 neighbour(ix + 1, iy + 1), Fraction8(px), Fraction8(py)));
      }
    }
    fill(last, width);
  }
}

}  // namespace

int32_t cSurfaceImpl::Rotate(cSurfaceImpl* dest, int32_t angle, int32_t antiAlias,
                             uint32_t fillColour, int32_t keepTransparent) {
  if (angle == 0 || angle == 180) {
    if (dest == nullptr) return 0;
    const int32_t done =
        Blit(dest, 0, 0, 0, 0, view.width, view.height, BlitOpaque, 0, 0, BlitWithAlpha);
    if (done && angle == 180) {
      dest->MirrorX(0, 0, view.width, view.height);
      dest->MirrorY(0, 0, view.width, view.height);
    }
    return done;
  }
  if (dest == nullptr || dest == this || dest->IsDCOnly() || dest->view.depth != view.depth ||
      IsCompressed() || dest->IsCompressed())
    return 0;
  SurfaceAccess srcAccess(*this);
  if (!srcAccess.ok()) return 0;
  SurfaceAccess destAccess(*dest);
  if (!destAccess.ok()) return 0;
  if (dest->view.width < 1 || dest->view.height < 1 || view.width < 1 || view.height < 1) return 1;
  RotateCall call{};
  if (angle == 90) {
    call.cos = 0;
    call.sin = 1;
  } else if (angle == 270) {
    call.cos = 0;
    call.sin = -1;
  } else {
    call.cos = std::cos(float(angle) * kRadiansPerDegree);
    call.sin = std::sin(float(angle) * kRadiansPerDegree);
  }
  call.antiAlias = antiAlias != 0;
  call.fill = fillColour & 0x00FFFFFFu;
  call.keepTransparent = keepTransparent != 0 && view.alphaFirstRow == nullptr;
  call.fast = (view.flags & kPixelFlagVector) != 0;
  switch (view.depth) {
    case 8:
      RotatePlane(Plane<8>{&view, this}, Plane<8>{&dest->view, dest}, call);
      break;
    case 15:
      RotatePlane(Plane<15>{&view, this}, Plane<15>{&dest->view, dest}, call);
      break;
    case 16:
      RotatePlane(Plane<16>{&view, this}, Plane<16>{&dest->view, dest}, call);
      break;
    case 24:
      RotatePlane(Plane<24>{&view, this}, Plane<24>{&dest->view, dest}, call);
      break;
    case 32:
      RotatePlane(Plane<32>{&view, this}, Plane<32>{&dest->view, dest}, call);
      break;
    default:
      return 0;
  }
  if (view.alphaFirstRow != nullptr) {
    if (dest->view.alphaFirstRow == nullptr && dest->CreateAlpha() == nullptr) return 0;
    PixelView from = AlphaPlaneView(view);
    PixelView to = AlphaPlaneView(dest->view);
    RotatePlane(Plane<0>{&from, nullptr}, Plane<0>{&to, nullptr},
                RotateCall{call.cos, call.sin, call.antiAlias, 0, false, false});
  }
  return 1;
}

int32_t cSurfaceImpl::RotateQuarter(cSurfaceImpl* dest, int32_t clockwise) {
  if (dest == nullptr || dest == this || dest->IsDCOnly() || dest->view.depth != view.depth ||
      IsCompressed() || dest->IsCompressed())
    return 0;
  // Callers size the destination with the sizes swapped; a smaller one is refused.
  if (dest->view.width < view.height || dest->view.height < view.width) return 0;
  SurfaceAccess srcAccess(*this);
  if (!srcAccess.ok()) return 0;
  SurfaceAccess destAccess(*dest);
  if (!destAccess.ok()) return 0;
  if (view.alphaFirstRow != nullptr && dest->view.alphaFirstRow == nullptr &&
      dest->CreateAlpha() == nullptr)
    return 0;
  auto turn = [&](const PixelView& from, const PixelView& to) {
    const int32_t bytes = from.bytesPerPixel;
    for (int32_t y = 0; y < from.height; ++y) {
      const uint8_t* row = from.firstRow + int64_t(y) * from.pitch;
      for (int32_t x = 0; x < from.width; ++x) {
        const int32_t tx = clockwise ? to.width - 1 - y : y;
        const int32_t ty = clockwise ? x : to.height - 1 - x;
        std::memcpy(to.firstRow + int64_t(ty) * to.pitch + int64_t(tx) * bytes, row + int64_t(x) * bytes,
                    size_t(bytes));
      }
    }
  };
  turn(view, dest->view);
  if (view.alphaFirstRow != nullptr) turn(AlphaPlaneView(view), AlphaPlaneView(dest->view));
  return 1;
}
