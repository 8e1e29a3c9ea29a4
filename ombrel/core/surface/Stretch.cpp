// Slot 36 `Stretch`: the nearest-pixel stretch between surfaces of one depth,
// the two-pass resample, and the detour through a temporary surface when a
// mode, an effect or a depth change comes on top.
#include <cstdint>

#include "pixel/CopyKernels.h"
#include "surface/BlitPaths.h"
#include "surface/Resample.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

namespace {

bool InsideSource(const PixelView& v, int32_t x, int32_t y, int32_t w, int32_t h) {
  return x >= 0 && y >= 0 && w >= 1 && h >= 1 && int64_t(x) + w <= v.width &&
         int64_t(y) + h <= v.height;
}

// The alpha plane stretched as the pixels were, into the destination's plane
// (made when missing).
bool StretchAlphaNearest(cSurfaceImpl& src, cSurfaceImpl& dest, int32_t dx, int32_t dy,
                         int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                         bool clipped) {
  if (dest.view.alphaFirstRow == nullptr && dest.CreateAlpha() == nullptr) return false;
  const PixelView from = AlphaPlaneView(src.view);
  PixelView to = AlphaPlaneView(dest.view);
  to.clipLeft = dest.view.clipLeft;
  to.clipTop = dest.view.clipTop;
  to.clipRight = dest.view.clipRight;
  to.clipBottom = dest.view.clipBottom;
  if (clipped)
    StretchRectNearestClipped(&to, dx, dy, &from, sx, sy, dw, dh, sw, sh);
  else
    StretchRectNearest(&to, dx, dy, &from, sx, sy, dw, dh, sw, sh);
  return true;
}

}  // namespace

int32_t cSurfaceImpl::Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                              int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t mode,
                              uint32_t effect, uint32_t parameter, uint32_t stretchFlags) {
  const bool withAlpha = (stretchFlags & StretchWithAlpha) != 0;
  const uint32_t blitFlags = withAlpha ? BlitWithAlpha : 0;
  if (dw == sw && dh == sh)
    return Blit(dest, dx, dy, sx, sy, sw, sh, mode, effect, parameter, blitFlags);
  if (dest == nullptr || dest->IsDCOnly() || dest->IsCompressed() ||
      !InsideSource(view, sx, sy, sw, sh))
    return 0;

  // The destination rectangle cut to the destination's clip.
  int32_t cx = dx, cy = dy, cw = dw, ch = dh;
  if (!dest->ClipRect(cx, cy, cw, ch)) return 0;
  const bool cut = cx != dx || cy != dy || cw != dw || ch != dh;
  const bool resample = (stretchFlags & (StretchResample | StretchResampleKeyed)) != 0;

  if (!resample && (view.depth != dest->view.depth || mode != BlitOpaque || effect != 0)) {
    // Stretched plainly into a temporary of the source's format, then drawn
    // with the mode and effect.
    cSurfaceImpl* temp = MakeInstance(cw, ch);
    if (temp == nullptr) return 0;
    temp->FillRect(0, 0, cw, ch, view.transparentColour);
    const uint32_t innerFlags = (mode == BlitKeyed || withAlpha) ? StretchWithAlpha : 0;
    int32_t done = Stretch(temp, dx - cx, dy - cy, dw, dh, sx, sy, sw, sh, BlitOpaque, 0, 0, innerFlags);
    if (done) done = temp->Blit(dest, cx, cy, 0, 0, cw, ch, mode, effect, parameter, blitFlags);
    DeleteSurface(temp);
    return done;
  }

  SurfaceAccess srcAccess(*this);
  if (!srcAccess.ok()) return 0;
  SurfaceAccess destAccess(*dest);
  if (!destAccess.ok()) return 0;

  if (resample) {
    const int32_t fw = dw < 1 ? 1 : dw, fh = dh < 1 ? 1 : dh;
    const bool hasAlpha = view.alphaFirstRow != nullptr;
    const bool keyed = (stretchFlags & StretchResampleKeyed) != 0 || hasAlpha;
    // A plain resample that lies inside the clip between two 24- or 32-bit
    // surfaces of one depth is written in place: the temporary's opaque blit
    // would copy the same bytes.
    if (!cut && mode == BlitOpaque && effect == 0 && !withAlpha && dest != this &&
        dest->view.depth == view.depth && (view.depth == 24 || view.depth == 32) &&
        !dest->IsCompressed())
      return Resample(*this, sx, sy, sw, sh, *dest, dx, dy, fw, fh, keyed) ? 1 : 0;
    cSurfaceImpl* temp = MakeInstance(fw, fh);
    if (temp == nullptr) return 0;
    bool done = Resample(*this, sx, sy, sw, sh, *temp, 0, 0, fw, fh, keyed);
    if (done && hasAlpha && (mode == BlitKeyed || withAlpha))
      done = temp->CreateAlpha() != nullptr && ResampleAlpha(*this, sx, sy, sw, sh, *temp, fw, fh);
    if (done)
      done = temp->Blit(dest, dx, dy, 0, 0, fw, fh, mode, effect, parameter, blitFlags) != 0;
    DeleteSurface(temp);
    return done ? 1 : 0;
  }

  if (cut)
    StretchRectNearestClipped(&dest->view, dx, dy, &view, sx, sy, dw, dh, sw, sh);
  else
    StretchRectNearest(&dest->view, dx, dy, &view, sx, sy, dw, dh, sw, sh);
  if (withAlpha && view.alphaFirstRow != nullptr &&
      !StretchAlphaNearest(*this, *dest, dx, dy, dw, dh, sx, sy, sw, sh, cut))
    return 0;
  return 1;
}
