// Slots `TextOut` and `DrawText`: the plain paths are the platform's; with
// an ink effect or blit flags the text is drawn on a keyed temporary of the
// surface's format, which is then blitted with the effect.
#include "surface/DCOrigin.h"
#include "surface/SurfaceText.h"
#include "surface/SurfaceTextPlatform.h"
#include "surface/cSurfaceImpl.h"

uint32_t TextKeyColour(uint32_t colour, bool forDrawText) {
  if (forDrawText && colour == 0) return 8;
  return ~colour & 0xFFFFFFu;
}

namespace {

// Draws through `draw` on a (width x height) temporary filled with the key,
// then blits it keyed with the effect to (left, top) of the context's
// coordinates. The drawing's result, 0 when the temporary or the blit fails.
template <typename Draw>
int32_t DrawKeyed(cSurfaceImpl& surface, const SurfaceRect& area, uint32_t key, uint32_t effect,
                  uint32_t parameter, uint32_t blitFlags, Draw draw) {
  const int64_t width = int64_t(area.right) - area.left;
  const int64_t height = int64_t(area.bottom) - area.top;
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return 0;
  cSurfaceImpl* temp = surface.MakeInstance(int32_t(width), int32_t(height));
  if (temp == nullptr) return 0;
  temp->FillRect(0, 0, int32_t(width), int32_t(height), key);
  temp->SetTransparentColour(key);
  int32_t result = draw(*temp, int32_t(width), int32_t(height));
  if (result != 0) {
    const uint32_t origin = surface.GetDCOrigin();
    if (!temp->Blit(&surface, area.left - DCOriginX(origin), area.top - DCOriginY(origin), 0, 0,
                    int32_t(width), int32_t(height), BlitKeyed, effect, parameter, blitFlags))
      result = 0;
  }
  temp->Delete(1);
  return result;
}

}  // namespace

int32_t cSurfaceImpl::TextOut(const char* text, int32_t length, int32_t x, int32_t y,
                              int32_t alignment, const SurfaceRect* clip, uint32_t colour,
                              void* font, uint32_t, uint32_t effect, uint32_t parameter,
                              uint32_t blitFlags) {
  if (text == nullptr) return 0;
  if (effect == 0 && blitFlags == 0)
    return PlainTextOut(*this, text, length, x, y, alignment, clip, colour, font);
  if (clip == nullptr) return 0;
  void* sharp = SharpTextFont(font);
  const int32_t result =
      DrawKeyed(*this, *clip, TextKeyColour(colour, false), effect, parameter, blitFlags,
                [&](cSurfaceImpl& temp, int32_t width, int32_t height) {
                  const SurfaceRect all{0, 0, width, height};
                  return PlainTextOut(temp, text, length, x - clip->left, y - clip->top,
                                      alignment, &all, colour, sharp != nullptr ? sharp : font);
                });
  FreeTextFont(sharp);
  return result;
}

int32_t cSurfaceImpl::DrawText(const char* text, int32_t length, SurfaceRect* rect,
                               uint32_t format, uint32_t colour, void* font, uint32_t,
                               uint32_t effect, uint32_t parameter, uint32_t blitFlags,
                               int32_t leftMargin, int32_t rightMargin, int32_t tabLength) {
  if (text == nullptr || rect == nullptr) return 0;
  if ((effect == 0 && blitFlags == 0) || (format & kDrawTextCalcRect) != 0)
    return PlainDrawText(*this, text, length, rect, format, colour, font, leftMargin, rightMargin,
                         tabLength);
  void* sharp = SharpTextFont(font);
  const int32_t result =
      DrawKeyed(*this, *rect, TextKeyColour(colour, true), effect, parameter, blitFlags,
                [&](cSurfaceImpl& temp, int32_t width, int32_t height) {
                  SurfaceRect all{0, 0, width, height};
                  return PlainDrawText(temp, text, length, &all, format, colour,
                                       sharp != nullptr ? sharp : font, leftMargin, rightMargin,
                                       tabLength);
                });
  FreeTextFont(sharp);
  return result;
}
