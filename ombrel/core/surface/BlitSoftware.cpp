// Slot 31 `Blit`: clip, lock and hand the rectangle to the source format's
// pixel routine; conversion between depths, the alpha copy and the edge
// smoothing pass around it.
#include <cstdint>

#include "pixel/InkEffects.h"
#include "surface/BlitPaths.h"
#include "surface/FilterSmoothEdges.h"
#include "surface/Resample.h"
#include "surface/SurfaceAccess.h"
#include "surface/cSurfaceImpl.h"

namespace {

struct BlitCall {
  int32_t mode;
  uint32_t effect;
  uint32_t parameter;
  uint32_t flags;
};

// Both rectangles are clipped; the depths differ.
int32_t ConvertBlit(cSurfaceImpl& src, cSurfaceImpl& dest, int32_t dx, int32_t dy, int32_t sx,
                    int32_t sy, int32_t w, int32_t h, const BlitCall& call) {
  if (BlitRoutineStatus(src, dest, call.mode, call.effect) != LibOk) return 0;
  if (src.IsCompressed()) {
    cSurfaceImpl* plain = MakePlainCopy(src, sx, sy, w, h);
    if (plain == nullptr) return 0;
    const int32_t done = ConvertBlit(*plain, dest, dx, dy, 0, 0, w, h, call);
    DeleteSurface(plain);
    return done;
  }
  if (call.mode != BlitOpaque || call.effect != 0 || (call.flags & BlitSmoothEdges)) {
    // Converted first into the destination's format, key included, then
    // drawn with the mode and effect at one depth. At 8 bits the key is the
    // colour its index converts to, which is not black when the palette's
    // entry says otherwise.
    cSurfaceImpl* converted = dest.MakeInstance(w, h);
    if (converted == nullptr) return 0;
    converted->SetTransparentColour(src.view.depth == 8 ? KeyColourAt24(src) : src.view.transparentColour);
    int32_t done = ConvertBlit(src, *converted, 0, 0, sx, sy, w, h,
                               BlitCall{BlitOpaque, 0, 0, BlitWithAlpha});
    if (done)
      done = converted->Blit(&dest, dx, dy, 0, 0, w, h, call.mode, call.effect, call.parameter,
                             call.flags);
    DeleteSurface(converted);
    return done;
  }
  if (!InverseTableReady(src) || !InverseTableReady(dest)) return 0;
  SurfaceAccess srcAccess(src);
  if (!srcAccess.ok()) return 0;
  SurfaceAccess destAccess(dest);
  if (!destAccess.ok()) return 0;
  src.view.ops->ConvertRows(&dest.view, dx, dy, w * dest.view.bytesPerPixel, &src.view, sx, sy, w,
                            h);
  if ((call.flags & BlitWithAlpha) && !CopyAlphaRect(src, dest, dx, dy, sx, sy, w, h)) return 0;
  return 1;
}

// The edge smoothing pass over the whole source placed at (x, y).
int32_t SmoothEdges(cSurfaceImpl& src, cSurfaceImpl& dest, int32_t x, int32_t y, uint32_t effect,
                    uint32_t parameter) {
  cSurfaceImpl* plain = nullptr;
  cSurfaceImpl* from = &src;
  if (src.IsCompressed()) {
    plain = MakePlainCopy(src, 0, 0, src.view.width, src.view.height);
    if (plain == nullptr) return 0;
    from = plain;
  }
  const uint32_t colour = parameter & 0x00FFFFFFu;
  const bool overColour = effect == EffectBlendOverColour && colour != 0;
  const FilterBlockFn callback = overColour ? &SmoothEdgeOverColour : &SmoothEdgeKeyed;
  const uint32_t user = overColour ? colour : from->view.depth == 8 ? KeyColourAt24(*from) : from->view.transparentColour;
  const int32_t done =
      from->FilterBlit(&dest, x, y, 0, 0, from->view.width, from->view.height, 3, 3, 1, 1, 1, 1,
                       reinterpret_cast<FilterCallback>(callback), user);
  DeleteSurface(plain);
  return done;
}

}  // namespace

int32_t cSurfaceImpl::Blit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                           int32_t width, int32_t height, int32_t mode, uint32_t effect,
                           uint32_t parameter, uint32_t blitFlags) {
  if (mode < BlitOpaque || mode > BlitKeyed || effect >= kInkEffectCount) return 0;
  if (effect == EffectBlend) {
    if (parameter == 0) effect = EffectNone;
    else if (parameter == 128) return 1;  // the destination keeps all its weight
  }
  // Effect 7 has no routines and weights run 0 to 128: refused here rather
  // than half way.
  if (effect != EffectNone && !InkRequestAccepted(effect, parameter)) return 0;
  // A compressed image's block is no pixel rows to draw into.
  if (dest == nullptr || dest->IsDCOnly() || dest->IsCompressed()) return 0;
  const int32_t unclippedX = dx, unclippedY = dy;
  if (!ClipBlitRects(view, dest->view, dx, dy, sx, sy, width, height)) return 0;
  const BlitCall call{mode, effect, parameter, blitFlags};
  if (view.depth != dest->view.depth) return ConvertBlit(*this, *dest, dx, dy, sx, sy, width, height, call);
  // The routine is picked before anything is locked; a format without it
  // (BlitRoutineStatus: ErrNotSupported) draws nothing.
  const PixelOps* ops = view.ops;
  if (ops == nullptr) return 0;
  const bool ink = effect != EffectNone;
  const auto copy = mode == BlitOpaque && !ink ? ops->Copy : nullptr;
  const auto keyed = mode == BlitKeyed && !ink ? ops->BlitKeyed : nullptr;
  const auto inkRoutine = !ink ? nullptr : mode == BlitOpaque ? ops->BlitInk : ops->BlitKeyedInk;
  if (copy == nullptr && keyed == nullptr && inkRoutine == nullptr) return 0;
  if (view.depth == 8 && (ink || view.alphaFirstRow != nullptr) && !InverseTableReady(*dest))
    return 0;
  {
    SurfaceAccess srcAccess(*this);
    if (!srcAccess.ok()) return 0;
    SurfaceAccess destAccess(*dest);
    if (!destAccess.ok()) return 0;
    if (copy != nullptr)
      copy(&dest->view, dx, dy, &view, sx, sy, width, height);
    else if (keyed != nullptr)
      keyed(&dest->view, dx, dy, &view, sx, sy, width, height);
    else if (!inkRoutine(&dest->view, dx, dy, &view, sx, sy, width, height, effect, parameter))
      return 0;
    if (mode == BlitOpaque && (blitFlags & BlitWithAlpha) &&
        !CopyAlphaRect(*this, *dest, dx, dy, sx, sy, width, height))
      return 0;
  }
  if (blitFlags & BlitSmoothEdges)
    return SmoothEdges(*this, *dest, unclippedX, unclippedY, effect, parameter);
  return 1;
}
