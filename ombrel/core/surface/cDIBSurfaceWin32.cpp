#include "surface/cDIBSurface.h"

#include <windows.h>

#include <cstring>
#include <type_traits>

#include "palette/PaletteApi.h"
#include "surface/BorrowedDC.h"
#include "surface/DCOrigin.h"
#include "surface/DIBPrototypes.h"
#include "surface/DepthCode.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceSize.h"

namespace {

HDC AsDC(void* dc) { return static_cast<HDC>(dc); }

// Header plus 256 colour entries (or the three masks of a bit-field format).
struct DibInfoBlock {
  BitmapInfoHeader header;
  uint32_t table[256];
};
static_assert(sizeof(DibInfoBlock) == 1064, "header and colour table");

constexpr uint32_t kMasks565[3] = {0xF800, 0x07E0, 0x001F};

// The palette's entries as colour-table quads; the rest stays zero.
int FillColourTable(const cPalette* palette, uint32_t* table) {
  std::memset(table, 0, 256 * sizeof(uint32_t));
  if (palette == nullptr) return 0;
  const int count = palette->log.count > 256 ? 256 : palette->log.count;
  LogEntriesToRGBQuad(table, palette->log.entries, count);
  return count;
}

}  // namespace

cDIBSurface::cDIBSurface() {
  header_.size = sizeof(BitmapInfoHeader);
  header_.planes = 1;
}

cSurfaceImpl* MakeDIBPrototype(int32_t depth, bool ownDC) {
  return cDIBSurface::CreatePrototype(depth, ownDC);
}

cDIBSurface* cDIBSurface::CreatePrototype(int32_t depth, bool ownDC) {
  const int32_t index = DepthIndexFromBits(depth);
  if (index < 0 || DepthFromIndex(index) != depth) return nullptr;
  cDIBSurface* prototype = ownDC ? NewSurfaceObject<cDIBDCSurface>() : NewSurfaceObject<cDIBSurface>();
  if (prototype == nullptr) return nullptr;
  if (!prototype->SetDepthAndPalette(depth)) {
    prototype->Delete(1);
    return nullptr;
  }
  return prototype;
}

template <typename T>
cSurfaceImpl* cDIBSurface::MakeSized(const cDIBSurface& prototype, int32_t width, int32_t height) {
  uint32_t rowBytes = 0, total = 0;
  // 64-bit sizes: a section above 2^31 bytes is refused.
  if (ComputeSurfaceSize(width, height, prototype.view.depth, &rowBytes, &total) != LibOk)
    return nullptr;
  T* surface = NewSurfaceObject<T>();
  if (surface == nullptr) return nullptr;
  surface->InitFrom(&prototype, width, height, rowBytes);
  surface->view.bottomUp = 1;
  surface->view.pitch = -int32_t(rowBytes);
  surface->header_ = prototype.header_;
  surface->header_.width = width;
  surface->header_.height = height;
  surface->header_.sizeImage = total;

  const HWND window = static_cast<HWND>(prototype.window_);
  HDC windowDC = ::GetDC(window);
  HDC memory = windowDC != nullptr ? ::CreateCompatibleDC(windowDC) : nullptr;
  auto fail = [&]() -> cSurfaceImpl* {
    if (memory != nullptr) ::DeleteDC(memory);
    if (windowDC != nullptr) ::ReleaseDC(window, windowDC);
    surface->memoryDC_ = nullptr;
    surface->Delete(1);
    return nullptr;
  };
  if (memory == nullptr) return fail();

  DibInfoBlock block{};
  UINT usage = DIB_RGB_COLORS;
  if (surface->view.depth == 16) {
    surface->header_.compression = kBiBitfields;
    std::memcpy(block.table, kMasks565, sizeof kMasks565);
  } else if (surface->view.depth == 8) {
    if (surface->view.palette != nullptr) {
      FillColourTable(surface->view.palette, block.table);
    } else {
      // Indices into the context's selected palette.
      auto* indices = reinterpret_cast<uint16_t*>(block.table);
      for (int i = 0; i < 256; ++i) indices[i] = uint16_t(i);
      usage = DIB_PAL_COLORS;
    }
  }
  block.header = surface->header_;
  void* bits = nullptr;
  HBITMAP section = ::CreateDIBSection(memory, reinterpret_cast<const BITMAPINFO*>(&block), usage,
                                       &bits, nullptr, 0);
  if (section == nullptr || bits == nullptr) return fail();
  surface->section_ = section;
  surface->view.buffer = static_cast<uint8_t*>(bits);
  surface->view.firstRow = surface->view.buffer + int64_t(height - 1) * rowBytes;

  if (std::is_same<T, cDIBDCSurface>::value) {
    HGDIOBJ previous = ::SelectObject(memory, section);
    if (previous == nullptr || previous == HGDI_ERROR) return fail();
    surface->memoryDC_ = memory;
    surface->previousBitmap_ = previous;
    surface->LoadColourTable();
  } else {
    ::DeleteDC(memory);
  }
  ::ReleaseDC(window, windowDC);
  return surface;
}

cSurfaceImpl* cDIBSurface::MakeInstance(int32_t width, int32_t height) {
  return MakeSized<cDIBSurface>(*this, width, height);
}
cSurfaceImpl* cDIBDCSurface::MakeInstance(int32_t width, int32_t height) {
  return MakeSized<cDIBDCSurface>(*this, width, height);
}

void cDIBSurface::FreeMemoryDC() {
  if (memoryDC_ == nullptr) return;
  ::SelectObject(AsDC(memoryDC_), static_cast<HGDIOBJ>(previousBitmap_));
  ::DeleteDC(AsDC(memoryDC_));
  memoryDC_ = nullptr;
  previousBitmap_ = nullptr;
}

void cDIBSurface::Delete(uint32_t flags) {
  FreeMemoryDC();
  if (section_ != nullptr) {
    ::DeleteObject(static_cast<HGDIOBJ>(section_));
    section_ = nullptr;
    view.buffer = view.firstRow = nullptr;
  }
  cSurfaceImpl::Delete(flags);
}
void cDIBDCSurface::Delete(uint32_t flags) { cDIBSurface::Delete(flags); }

void cDIBSurface::LoadColourTable() {
  if (memoryDC_ == nullptr || view.depth != 8 || view.palette == nullptr) return;
  uint32_t table[256];
  FillColourTable(view.palette, table);
  ::SetDIBColorTable(AsDC(memoryDC_), 0, 256, reinterpret_cast<const RGBQUAD*>(table));
}

void* cDIBSurface::MakeMemoryDC() {
  if (section_ == nullptr) return nullptr;
  const HWND window = static_cast<HWND>(window_);
  HDC windowDC = ::GetDC(window);
  if (windowDC == nullptr) return nullptr;
  HDC memory = ::CreateCompatibleDC(windowDC);
  ::ReleaseDC(window, windowDC);
  if (memory == nullptr) return nullptr;
  HGDIOBJ previous = ::SelectObject(memory, static_cast<HGDIOBJ>(section_));
  if (previous == nullptr || previous == HGDI_ERROR) {
    ::DeleteDC(memory);
    return nullptr;
  }
  memoryDC_ = memory;
  previousBitmap_ = previous;
  LoadColourTable();
  ::SetWindowOrgEx(memory, originX_, originY_, nullptr);
  return memory;
}

void* cDIBSurface::GetDC() { return memoryDC_ != nullptr ? memoryDC_ : MakeMemoryDC(); }

// However many GetDC calls came before, one ReleaseDC deletes the context.
void cDIBSurface::ReleaseDC(void*) {
  ::GdiFlush();
  FreeMemoryDC();
}

void* cDIBDCSurface::GetDC() { return memoryDC_; }
void cDIBDCSurface::ReleaseDC(void*) { ::GdiFlush(); }

int32_t cDIBSurface::SetDepthAndPalette(int32_t depth) {
  if (!cSurfaceImpl::SetDepthAndPalette(depth)) return 0;
  view.bottomUp = 1;
  header_.bitCount = uint16_t(view.depth == 15 ? 16 : view.depth);
  return 1;
}
int32_t cDIBDCSurface::SetDepthAndPalette(int32_t depth) {
  return cDIBSurface::SetDepthAndPalette(depth);
}

int32_t cDIBSurface::GetKind() { return SurfaceKindDIB; }
int32_t cDIBDCSurface::GetKind() { return SurfaceKindDIBWithDC; }

void cDIBSurface::SetDCOrigin(int32_t x, int32_t y) {
  originX_ = x;
  originY_ = y;
}
void cDIBDCSurface::SetDCOrigin(int32_t x, int32_t y) {
  cDIBSurface::SetDCOrigin(x, y);
  if (memoryDC_ != nullptr) ::SetWindowOrgEx(AsDC(memoryDC_), x, y, nullptr);
}
uint32_t cDIBSurface::GetDCOrigin() { return PackDCOrigin(originX_, originY_); }
int32_t cDIBSurface::HasDC() { return 1; }

int32_t cDIBSurface::SetPalette(cPalette* palette, int32_t remap) {
  const int32_t result = cSurfaceImpl::SetPalette(palette, remap);
  LoadColourTable();
  return result != 0 ? 1 : 0;
}

int32_t cDIBSurface::AttachWindow(void* window) {
  window_ = window;
  return 1;
}

// GDI copies: taken only when the other surface has no pixels of its own;
// mode, ink effect, parameter and flags never reach GDI.
int32_t cDIBSurface::Blit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                          int32_t width, int32_t height, int32_t mode, uint32_t effect,
                          uint32_t parameter, uint32_t blitFlags) {
  if (dest == nullptr || !dest->IsDCOnly())
    return cSurfaceImpl::Blit(dest, dx, dy, sx, sy, width, height, mode, effect, parameter,
                              blitFlags);
  BorrowedDC own(this);
  return GdiCopyToDCOnly(dest, dx, dy, width, height, own.get(), sx + originX_, sy + originY_,
                         width, height);
}

int32_t cDIBSurface::Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                             int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t mode,
                             uint32_t effect, uint32_t parameter, uint32_t stretchFlags) {
  if (dest == nullptr || !dest->IsDCOnly())
    return cSurfaceImpl::Stretch(dest, dx, dy, dw, dh, sx, sy, sw, sh, mode, effect, parameter,
                                 stretchFlags);
  if (dw < sw && dh < sh) {
    // Shrinking both ways: the library's own stretch into a temporary of the
    // destination size, which GDI then copies.
    cSurfaceImpl* temp = MakeInstance(dw, dh);
    if (temp == nullptr) return 0;
    int32_t result = cSurfaceImpl::Stretch(temp, 0, 0, dw, dh, sx, sy, sw, sh, BlitOpaque, 0, 0,
                                           stretchFlags & ~StretchWithAlpha);
    if (result) result = temp->Blit(dest, dx, dy, 0, 0, dw, dh, mode, effect, parameter, 0);
    temp->Delete(1);
    return result;
  }
  BorrowedDC own(this);
  return GdiCopyToDCOnly(dest, dx, dy, dw, dh, own.get(), sx + originX_, sy + originY_, sw, sh);
}

int32_t cDIBSurface::BlitFromDC(int32_t dx, int32_t dy, void* dc, int32_t sx, int32_t sy,
                                int32_t width, int32_t height, int32_t, uint32_t, uint32_t) {
  if (dc == nullptr) return 0;
  BorrowedDC own(this);
  if (own.get() == nullptr) return 0;
  const BOOL done = ::BitBlt(AsDC(own.get()), dx, dy, width, height, AsDC(dc), sx, sy, SRCCOPY);
  ::GdiFlush();  // the software paths read the bits next
  return done ? 1 : 0;
}

int32_t cDIBSurface::StretchFromDC(int32_t dx, int32_t dy, int32_t dw, int32_t dh, void* dc,
                                   int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t,
                                   uint32_t, uint32_t) {
  if (dc == nullptr) return 0;
  BorrowedDC own(this);
  if (own.get() == nullptr) return 0;
  const BOOL done =
      ::StretchBlt(AsDC(own.get()), dx, dy, dw, dh, AsDC(dc), sx, sy, sw, sh, SRCCOPY);
  ::GdiFlush();
  return done ? 1 : 0;
}

// Display modes and full screen through the display settings.
void cDIBSurface::EnumDisplayModes(DisplayModeCallback callback, uint32_t user) {
  EnumDisplaySettingsModes(*SystemDisplaySettings(), reinterpret_cast<DisplayModeFn>(callback),
                           user);
}

int32_t cDIBSurface::EnterFullScreen(void* window, int32_t width, int32_t height, int32_t depth) {
  return screen_.Enter(*SystemDisplaySettings(), window, width, height, depth);
}

void cDIBSurface::LeaveFullScreen(void* window) { screen_.Leave(*SystemDisplaySettings(), window); }

void cDIBSurface::CopyScreenState(cSurfaceImpl* other) {
  if (other == nullptr) return;
  const int32_t kind = other->GetKind();
  if (kind != SurfaceKindDIB && kind != SurfaceKindDIBWithDC) return;
  screen_.CopyFrom(static_cast<cDIBSurface*>(other)->screen_);
}
