// Colour key, masks, alpha channel, palette and display members of the
// surface handle.
#include <cstring>

#include "Memory.h"
#include "palette/PaletteApi.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceHandle.h"
#include "surface/SystemPaletteEntries.h"
#include "surface/cByteSurface.h"
#include "surface/cNullSurface.h"

// ---- content, colour key, masks ----

int32_t cSurfaceHandle::GetContentBox(SurfaceRect* out) {
  if (out == nullptr) return 0;
  return Impl()->GetContentBox(out);
}
int32_t cSurfaceHandle::IsEmpty() { return Impl()->IsEmpty(); }
int32_t cSurfaceHandle::ReplaceColour(uint32_t newColour, uint32_t oldColour) {
  return Impl()->ReplaceColour(newColour, oldColour);
}
int32_t cSurfaceHandle::TextOut(const char* text, int32_t length, int32_t x, int32_t y,
                                int32_t alignment, const SurfaceRect* clip, uint32_t colour,
                                void* font, uint32_t unused, uint32_t effect, uint32_t parameter,
                                uint32_t blitFlags) {
  return Impl()->TextOut(text, length, x, y, alignment, clip, colour, font, unused, effect,
                         parameter, blitFlags);
}
int32_t cSurfaceHandle::DrawText(const char* text, int32_t length, SurfaceRect* rect,
                                 uint32_t format, uint32_t colour, void* font, uint32_t unused,
                                 uint32_t effect, uint32_t parameter, uint32_t blitFlags,
                                 int32_t leftMargin, int32_t rightMargin, int32_t tabLength) {
  return Impl()->DrawText(text, length, rect, format, colour, font, unused, effect, parameter,
                          blitFlags, leftMargin, rightMargin, tabLength);
}
void cSurfaceHandle::SetTransparentColour(uint32_t colour) { Impl()->SetTransparentColour(colour); }
uint32_t cSurfaceHandle::GetTransparentColour() { return Impl()->GetTransparentColour(); }
uint32_t cSurfaceHandle::GetTransparentNative() { return Impl()->GetTransparentNative(); }
uint32_t cSurfaceHandle::BuildCollisionMask(void* mask, uint32_t flags) {
  return Impl()->BuildCollisionMask(mask, flags);
}

// ---- alpha channel ----

int32_t cSurfaceHandle::HasAlpha() const { return Impl()->view.alphaFirstRow != nullptr ? 1 : 0; }
uint8_t* cSurfaceHandle::GetAlphaRows() const { return Impl()->view.alphaFirstRow; }
int32_t cSurfaceHandle::GetAlphaPitch() const { return Impl()->view.alphaPitch; }

// The null surface is shared by every empty handle: it never gets a channel.
uint8_t* cSurfaceHandle::CreateAlpha() {
  cSurfaceImpl* s = Impl();
  return s == GetNullSurface() ? nullptr : s->CreateAlpha();
}

int32_t cSurfaceHandle::SetAlpha(const uint8_t* rows, int32_t pitch) {
  cSurfaceImpl* s = Impl();
  if (s == GetNullSurface() || rows == nullptr) return 0;
  return s->SetAlpha(rows, pitch);
}

void cSurfaceHandle::AttachAlpha(uint8_t* rows, int32_t pitch) {
  cSurfaceImpl* s = Impl();
  if (s != GetNullSurface()) s->AttachAlpha(rows, pitch);
}

uint8_t* cSurfaceHandle::DetachAlpha(int32_t* pitch) {
  PixelView& v = Impl()->view;
  uint8_t* first = v.alphaFirstRow;
  v.flags &= ~kPixelFlagOwnsAlpha;
  if (pitch != nullptr) *pitch = v.alphaPitch;
  v.alphaBlock = nullptr;
  v.alphaFirstRow = nullptr;
  return first;
}

cSurfaceHandle* cSurfaceHandle::NewAlphaHandle() {
  const PixelView& v = Impl()->view;
  if (v.alphaFirstRow == nullptr) return nullptr;
  cSurfaceHandle* handle = CreateSurfaceHandle();
  if (handle == nullptr) return nullptr;
  cByteSurface* channel =
      NewSurfaceObject<cByteSurface>(v.alphaFirstRow, v.width, v.height, v.alphaPitch);
  if (channel == nullptr) {
    DeleteSurfaceHandle(handle);
    return nullptr;
  }
  handle->impl = channel;
  return handle;
}

void cSurfaceHandle::SurfaceVoid() {}

// ---- palette ----

int32_t cSurfaceHandle::SetPalette(cPalette* palette, int32_t remap) {
  cSurfaceImpl* s = Impl();
  if (s->view.depth > 8 || !s->SetPalette(palette, remap)) {
    lastError = ErrNotSupported;
    return 0;
  }
  return 1;
}

int32_t cSurfaceHandle::SetLogPalette(const LogPalette* log, int32_t remap) {
  cSurfaceImpl* s = Impl();
  if (s->view.depth > 8 || log == nullptr || !s->SetLogPalette(log, remap)) {
    lastError = ErrNotSupported;
    return 0;
  }
  return 1;
}

int32_t cSurfaceHandle::SetPaletteFrom(const cSurfaceHandle* other, int32_t remap) {
  return SetPalette(other != nullptr ? other->Impl()->GetPalette() : nullptr, remap);
}

int32_t cSurfaceHandle::SetPaletteFromHandle(void* systemPalette, int32_t remap) {
  cSurfaceImpl* s = Impl();
  if (s->view.depth > 8) {
    lastError = ErrNotSupported;
    return 0;
  }
  void* block = nullptr;
  if (!MemCalloc(sizeof(LogPalette), &block)) {
    lastError = ErrOutOfMemory;
    return 0;
  }
  auto* log = static_cast<LogPalette*>(block);
  log->version = kLogPaletteVersion;
  log->count = kPaletteEntries;
  ReadSystemPaletteEntries(systemPalette, log->entries);
  const int32_t result = s->SetLogPalette(log, remap);
  MemFree(&block);
  return result;
}

cPalette* cSurfaceHandle::GetPalette() { return Impl()->GetPalette(); }
int32_t cSurfaceHandle::GetPaletteEntries(PaletteEntry* out, int32_t first, int32_t count) {
  return Impl()->GetPaletteEntries(out, first, count);
}
int32_t cSurfaceHandle::NearestIndex(uint32_t colour) { return Impl()->NearestIndex(colour); }
uint32_t cSurfaceHandle::IndexToRGB(int32_t index) { return Impl()->IndexToRGB(index); }
int32_t cSurfaceHandle::GetBlackIndex() { return Impl()->GetBlackIndex(); }

void cSurfaceHandle::RemapIndices(const uint8_t* table) {
  cSurfaceImpl* s = Impl();
  if (s->view.depth <= 8 && table != nullptr) s->RemapIndices(table);
}

void cSurfaceHandle::RemapToPaletteOf(const cSurfaceHandle* other) {
  if (other == nullptr) return;
  cSurfaceImpl* s = Impl();
  cSurfaceImpl* o = other->Impl();
  if (s->view.depth > 8 || o->view.depth > 8) return;
  cPalette* own = s->GetPalette();
  cPalette* theirs = o->GetPalette();
  if (own == nullptr || theirs == nullptr) return;
  uint8_t table[kPaletteEntries];
  for (int i = 0; i < kPaletteEntries; ++i) table[i] = uint8_t(i);  // same colours: identity
  PaletteBuildRemap(table, own, theirs, 1);
  s->RemapIndices(table);
}

// ---- display back ends ----

int32_t cSurfaceHandle::AttachWindow(void* window) { return Impl()->AttachWindow(window); }
void* cSurfaceHandle::GetDC() { return Impl()->GetDC(); }
void cSurfaceHandle::ReleaseDC(void* dc) { Impl()->ReleaseDC(dc); }
void cSurfaceHandle::EnumDisplayModes(DisplayModeCallback callback, uint32_t user) {
  Impl()->EnumDisplayModes(callback, user);
}
int32_t cSurfaceHandle::EnterFullScreen(void* window, int32_t width, int32_t height,
                                        int32_t depth) {
  return Impl()->EnterFullScreen(window, width, height, depth);
}
void cSurfaceHandle::LeaveFullScreen(void* window) { Impl()->LeaveFullScreen(window); }

int32_t cSurfaceHandle::CopyScreenState(const cSurfaceHandle* other) {
  if (other == nullptr) return GetType();
  if (GetType() != other->GetType()) return GetType();
  if (GetDriver() != other->GetDriver()) return GetDriver();
  Impl()->CopyScreenState(other->Impl());
  return 0;
}

int32_t cSurfaceHandle::IsBackBuffer() { return Impl()->IsBackBuffer(); }
void cSurfaceHandle::Flip() { Impl()->Flip(); }
int32_t cSurfaceHandle::WaitVBlank() { return Impl()->WaitVBlank(); }
void cSurfaceHandle::ReservedA() { Impl()->Reserved68(); }
void cSurfaceHandle::ReservedB() { Impl()->Reserved69(); }
void cSurfaceHandle::ReservedC() { Impl()->Reserved70(); }
