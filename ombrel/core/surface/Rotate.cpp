// Slots 42 `Rotate` (any angle, nearest or bilinear) and 43 `RotateQuarter`.
// Both read and write stored pixel bytes of any depth; colours are needed
// only for the fill and the bilinear mix, through the depth's own form.
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
};

uint32_t Mix(uint32_t c00, uint32_t c10, uint32_t c01, uint32_t c11, float fx, float fy) {
  const float w00 = (1 - fx) * (1 - fy), w10 = fx * (1 - fy), w01 = (1 - fx) * fy, w11 = fx * fy;
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const float v = w00 * float((c00 >> shift) & 0xFF) + w10 * float((c10 >> shift) & 0xFF) +
                    w01 * float((c01 >> shift) & 0xFF) + w11 * float((c11 >> shift) & 0xFF) + 0.5f;
    out |= (uint32_t(v) & 0xFF) << shift;
  }
  return out;
}

// Every destination pixel from the source at the turned point, stepping the
// source coordinates per column and per row.
inline int32_t Floor(float v) {
  const int32_t t = int32_t(v);
  return v < float(t) ? t - 1 : t;
}

template <int Depth>
void RotatePlane(const Plane<Depth>& src, const Plane<Depth>& dest, const RotateCall& call) {
  const float cx = float(src.view->width) / 2, cy = float(src.view->height) / 2;
  const float dx = float(dest.view->width) / 2, dy = float(dest.view->height) / 2;
  constexpr int32_t bytes = Plane<Depth>::kBytes;
  uint8_t fillStored[4] = {};
  dest.Encode(fillStored, call.fill);
  constexpr int32_t fillBytes = Plane<Depth>::kEncodedBytes;
  float rowX = cx - dx * call.cos + dy * call.sin;
  float rowY = cy - dx * call.sin - dy * call.cos;
  for (int32_t y = 0; y < dest.view->height; ++y, rowX -= call.sin, rowY += call.cos) {
    float sx = rowX, sy = rowY;
    for (int32_t x = 0; x < dest.view->width; ++x, sx += call.cos, sy += call.sin) {
      if (!call.antiAlias) {
        const int32_t ix = Floor(sx + 0.5f), iy = Floor(sy + 0.5f);
        if (src.Inside(ix, iy))
          std::memcpy(dest.At(x, y), src.At(ix, iy), size_t(bytes));
        else
          std::memcpy(dest.At(x, y), fillStored, size_t(fillBytes));
        continue;
      }
      const int32_t ix = int32_t(sx), iy = int32_t(sy);  // truncated
      if (sx < 0 || sy < 0 || !src.Inside(ix, iy)) {
        dest.PutColour(x, y, call.fill);
        continue;
      }
      const uint32_t centre = src.Colour(ix, iy);
      if (call.keepTransparent && centre == call.fill) {
        dest.PutColour(x, y, centre);
        continue;
      }
      auto neighbour = [&](int32_t nx, int32_t ny) {
        if (!src.Inside(nx, ny)) return centre;
        const uint32_t c = src.Colour(nx, ny);
        return call.keepTransparent && c == call.fill ? centre : c;
      };
      dest.PutColour(x, y, Mix(centre, neighbour(ix + 1, iy), neighbour(ix, iy + 1),
                               neighbour(ix + 1, iy + 1), sx - float(ix), sy - float(iy)));
    }
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
                RotateCall{call.cos, call.sin, call.antiAlias, 0, false});
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
