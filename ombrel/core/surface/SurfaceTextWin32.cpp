#include <windows.h>

#include <cstring>

#include "surface/BorrowedDC.h"
#include "surface/CopyDCScaled.h"
#include "surface/SurfaceTextPlatform.h"

namespace {

RECT AsRect(const SurfaceRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

int32_t PlainTextOut(cSurfaceImpl& surface, const char* text, int32_t length, int32_t x,
                     int32_t y, int32_t alignment, const SurfaceRect* clip, uint32_t colour,
                     void* font) {
  if (length < 0) length = int32_t(std::strlen(text));
  BorrowedDC borrowed(&surface);
  HDC dc = static_cast<HDC>(borrowed.get());
  if (dc == nullptr) return 0;
  HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc, static_cast<HGDIOBJ>(font)) : nullptr;
  const int oldMode = SetDCBackgroundMode(dc, TRANSPARENT);
  const COLORREF oldColour = ::SetTextColor(dc, colour);
  const UINT oldAlign = ::SetTextAlign(dc, UINT(alignment));
  RECT r{};
  if (clip != nullptr) r = AsRect(*clip);
  const BOOL done = ::ExtTextOutA(dc, x, y, clip != nullptr ? ETO_CLIPPED : 0,
                                  clip != nullptr ? &r : nullptr, text, UINT(length), nullptr);
  if (oldAlign != GDI_ERROR) ::SetTextAlign(dc, oldAlign);
  ::SetTextColor(dc, oldColour);
  SetDCBackgroundMode(dc, oldMode);
  if (font != nullptr) ::SelectObject(dc, oldFont);
  ::GdiFlush();  // the software paths read the bits next
  return done ? 1 : 0;
}

int32_t PlainDrawText(cSurfaceImpl& surface, const char* text, int32_t length, SurfaceRect* rect,
                      uint32_t format, uint32_t colour, void* font, int32_t leftMargin,
                      int32_t rightMargin, int32_t tabLength) {
  BorrowedDC borrowed(&surface);
  HDC dc = static_cast<HDC>(borrowed.get());
  if (dc == nullptr) return 0;
  HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc, static_cast<HGDIOBJ>(font)) : nullptr;
  DRAWTEXTPARAMS params{};
  params.cbSize = sizeof params;
  params.iTabLength = tabLength;
  params.iLeftMargin = leftMargin;
  params.iRightMargin = rightMargin;
  RECT r = AsRect(*rect);
  // The system's declaration is not const; only DT_MODIFYSTRING writes.
  char* chars = const_cast<char*>(text);
  int height = 0;
  if ((format & kDrawTextCalcRect) != 0) {
    height = ::DrawTextExA(dc, chars, length, &r, format, &params);
  } else {
    const int oldMode = SetDCBackgroundMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, colour);
    height = ::DrawTextExA(dc, chars, length, &r, format, &params);
    ::SetTextColor(dc, oldColour);
    SetDCBackgroundMode(dc, oldMode);
  }
  if (font != nullptr) ::SelectObject(dc, oldFont);
  ::GdiFlush();
  *rect = SurfaceRect{r.left, r.top, r.right, r.bottom};
  return height;
}

void* SharpTextFont(void* font) {
  if (font == nullptr) return nullptr;
  LOGFONTA log{};
  if (::GetObjectA(static_cast<HGDIOBJ>(font), sizeof log, &log) != int(sizeof log)) return nullptr;
  if (log.lfQuality == NONANTIALIASED_QUALITY) return nullptr;
  log.lfQuality = NONANTIALIASED_QUALITY;
  return ::CreateFontIndirectA(&log);
}

void FreeTextFont(void* font) {
  if (font != nullptr) ::DeleteObject(static_cast<HGDIOBJ>(font));
}
