#include "surface/cDDSurface.h"

#include <windows.h>
#include <ddraw.h>

#include <mutex>

#include "palette/PaletteApi.h"
#include "surface/BorrowedDC.h"
#include "surface/DCOrigin.h"
#include "surface/DDPixelFormat.h"
#include "surface/DepthCode.h"
#include "surface/DirectDraw.h"
#include "surface/DirectDrawRegistry.h"
#include "surface/NativeColour.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceLibraryApi.h"
#include "surface/SurfaceSize.h"

namespace {

// {B3A6F3E0-2B43-11CF-A2DE-00AA00B93356}
const GUID kIIDDirectDraw2 = {0xB3A6F3E0, 0x2B43, 0x11CF,
                              {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};

// Process-wide, without a lock: a surface is used by one thread at a time.
int32_t inUseDepth = 0;
struct {
  int32_t active;
  int32_t width;
  int32_t height;
} fullScreenState{};
IDirectDrawClipper* currentClipper = nullptr;

IDirectDrawSurface* Surf(void* p) { return static_cast<IDirectDrawSurface*>(p); }
IDirectDrawClipper* Clip(void* p) { return static_cast<IDirectDrawClipper*>(p); }
IDirectDraw2* ThreadDD() { return static_cast<IDirectDraw2*>(GetThreadDirectDraw()); }
IDirectDrawSurface* ThreadPrimary() { return Surf(GetThreadPrimary()); }

void Debug(const char* text) { ::OutputDebugStringA(text); }

// ddraw.dll is loaded when first needed: process attach makes nothing of it.
using DirectDrawCreateFn = HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*);
DirectDrawCreateFn DirectDrawCreateEntry() {
  static DirectDrawCreateFn entry = [] {
    HMODULE module = ::LoadLibraryA("ddraw.dll");
    return module != nullptr ? reinterpret_cast<DirectDrawCreateFn>(reinterpret_cast<void*>(
                                   ::GetProcAddress(module, "DirectDrawCreate")))
                             : nullptr;
  }();
  return entry;
}

IDirectDraw2* CreateThreadDirectDraw() {
  DirectDrawCreateFn create = DirectDrawCreateEntry();
  IDirectDraw* first = nullptr;
  if (create == nullptr || create(nullptr, &first, nullptr) != DD_OK || first == nullptr)
    return nullptr;
  IDirectDraw2* second = nullptr;
  if (first->SetCooperativeLevel(nullptr, DDSCL_NORMAL) == DD_OK)
    first->QueryInterface(kIIDDirectDraw2, reinterpret_cast<void**>(&second));
  first->Release();
  return second;
}

IDirectDrawSurface* CreatePrimary(IDirectDraw2* dd) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  IDirectDrawSurface* primary = nullptr;
  return dd->CreateSurface(&desc, &primary, nullptr) == DD_OK ? primary : nullptr;
}

IDirectDrawSurface* CreateOffscreen(IDirectDraw2* dd, int32_t width, int32_t height,
                                    bool systemMemory) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  desc.dwWidth = DWORD(width);
  desc.dwHeight = DWORD(height);
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | (systemMemory ? DDSCAPS_SYSTEMMEMORY : 0);
  IDirectDrawSurface* surface = nullptr;
  return dd->CreateSurface(&desc, &surface, nullptr) == DD_OK ? surface : nullptr;
}

void SetPrimaryClipper(IDirectDrawClipper* clipper) {
  IDirectDrawSurface* primary = ThreadPrimary();
  if (clipper == currentClipper || primary == nullptr) return;
  if (primary->SetClipper(clipper) == DD_OK) currentClipper = clipper;
}

void RestoreLost(IDirectDrawSurface* s) {
  if (s != nullptr && s->IsLost() == DDERR_SURFACELOST) s->Restore();
}

HWND TopLevel(HWND window) {
  for (HWND parent = ::GetParent(window); parent != nullptr; parent = ::GetParent(window))
    window = parent;
  return window;
}

// Releases a DirectDraw object a failed call created, and forgets the thread's record.
void DropCreated(IDirectDraw2* dd, IDirectDrawSurface* primary) {
  if (primary != nullptr) primary->Release();
  if (dd != nullptr) dd->Release();
  UnregisterThreadDirectDraw();
}

}  // namespace

cSurfaceImpl* MakeDirectDrawPrototype(bool systemMemory) {
  return cDDSurface::CreatePrototype(systemMemory);
}

int32_t DirectDrawInUseDepth() { return inUseDepth; }
bool IsDirectDrawFullScreen() { return fullScreenState.active != 0; }

bool IsDirectDrawUsable(cSurfaceImpl* maker) {
  if (inUseDepth != 0) return true;
  std::lock_guard<std::recursive_mutex> guard(SurfaceLibraryLock());
  if (inUseDepth != 0) return true;
  if (maker == nullptr) return false;
  cSurfaceImpl* probe = maker->MakeInstance(32, 32);
  if (probe == nullptr) return false;
  probe->Lock();
  probe->Unlock();
  probe->Delete(1);
  return true;
}

void ReleaseThreadDirectDraw() {
  std::lock_guard<std::recursive_mutex> guard(SurfaceLibraryLock());
  if (inUseDepth == 0) return;
  IDirectDrawSurface* primary = ThreadPrimary();
  IDirectDraw2* dd = ThreadDD();
  if (primary == nullptr && dd == nullptr) return;
  if (primary != nullptr && currentClipper != nullptr) currentClipper = nullptr;
  DropCreated(dd, primary);
}

cDDSurface* cDDSurface::CreatePrototype(bool systemMemory) {
  cDDSurface* prototype = systemMemory ? NewSurfaceObject<cDDSysMemSurface>()
                                       : NewSurfaceObject<cDDSurface>();
  if (prototype == nullptr) return nullptr;
  if (!prototype->SetDepthAndPalette(8)) {
    prototype->Delete(1);
    return nullptr;
  }
  return prototype;
}

void cDDSurface::ReadPixelFormat(bool keepOnUnknown, bool* refused) {
  *refused = false;
  DDPIXELFORMAT format{};
  format.dwSize = sizeof format;
  if (Surf(surface_)->GetPixelFormat(&format) != DD_OK) return;
  const DDFormatDecision d = DecideDDPixelFormat(format.dwRGBBitCount, format.dwRBitMask,
                                                 format.dwGBitMask, format.dwBBitMask);
  if (!d.accepted) {
    // A 16-bit format of other masks keeps the old depth at 2 bytes when asked to.
    if (keepOnUnknown && format.dwRGBBitCount == 16) {
      view.bytesPerPixel = 2;
      return;
    }
    *refused = true;
    return;
  }
  if (!d.keepPrototype) SetDepth(d.depth);
  // Surfaces have the display's format: its depth is the in-use depth.
  inUseDepth = view.depth;
  if (view.depth != 8 && view.palette != nullptr) {
    ReleasePalette(view.palette);
    view.palette = nullptr;
  }
}

template <typename T>
cSurfaceImpl* cDDSurface::MakeSized(const cDDSurface& prototype, int32_t width, int32_t height) {
  uint32_t rowBytes = 0;
  if (ComputeSurfaceSize(width, height, prototype.view.depth, &rowBytes, nullptr) != LibOk)
    return nullptr;
  IDirectDraw2* dd = ThreadDD();
  IDirectDrawSurface* primary = ThreadPrimary();
  T* surface = NewSurfaceObject<T>();
  if (surface == nullptr) return nullptr;
  surface->InitFrom(&prototype, width, height, rowBytes);
  surface->backBuffer_ = prototype.backBuffer_;
  bool created = false;
  auto fail = [&]() -> cSurfaceImpl* {
    Debug(">> cDDSurface::MakeInstance failed!\n");
    surface->Delete(1);
    if (created) DropCreated(dd, primary);
    return nullptr;
  };
  if (dd == nullptr) {
    dd = CreateThreadDirectDraw();
    if (dd == nullptr) return fail();
    created = true;
  }
  if (primary == nullptr) {
    primary = CreatePrimary(dd);
    if (primary == nullptr) return fail();
    RegisterThreadDirectDraw(dd, primary);
  }
  if (surface->backBuffer_) {
    DDSCAPS caps{DDSCAPS_BACKBUFFER};
    IDirectDrawSurface* back = nullptr;
    if (primary->GetAttachedSurface(&caps, &back) != DD_OK) return fail();
    surface->surface_ = back;
  } else {
    surface->surface_ = CreateOffscreen(dd, width, height, surface->SystemMemory());
    if (surface->surface_ == nullptr) return fail();
  }
  bool refused = false;
  surface->ReadPixelFormat(false, &refused);
  if (refused) {
    surface->Delete(1);
    return nullptr;
  }
  return surface;
}

cSurfaceImpl* cDDSurface::MakeInstance(int32_t width, int32_t height) {
  return MakeSized<cDDSurface>(*this, width, height);
}
cSurfaceImpl* cDDSysMemSurface::MakeInstance(int32_t width, int32_t height) {
  return MakeSized<cDDSysMemSurface>(*this, width, height);
}

void cDDSurface::ReleaseClipper() {
  if (clipper_ == nullptr) return;
  if (currentClipper == clipper_) currentClipper = nullptr;
  Clip(clipper_)->Release();
  clipper_ = nullptr;
}

void cDDSurface::ReleaseInterfaces() {
  if (access_.state == DDAccessState::kDCHeld) {
    access_.dcCount = 1;
    ReleaseDC(dc_);
  }
  if (access_.state == DDAccessState::kLocked) {
    access_.lockCount = 1;
    Unlock();
  }
  if (extra_ != nullptr) {
    static_cast<IUnknown*>(extra_)->Release();
    extra_ = nullptr;
  }
  ReleaseClipper();
  if (surface_ != nullptr && !backBuffer_) Surf(surface_)->Release();
  surface_ = nullptr;
}

void cDDSurface::Delete(uint32_t flags) {
  ReleaseInterfaces();
  cSurfaceImpl::Delete(flags);
}
void cDDSysMemSurface::Delete(uint32_t flags) { cDDSurface::Delete(flags); }

// No flip chain: the primaries have no back buffer to stand for.
cSurfaceImpl* cDDSurface::MakeBackBuffer() { return nullptr; }
int32_t cDDSurface::IsBackBuffer() { return backBuffer_; }
void cDDSurface::Flip() {}

int32_t cDDSurface::SetDepthAndPalette(int32_t depth) {
  cSurfaceImpl::SetDepthAndPalette(depth);
  return 1;
}
int32_t cDDSurface::GetKind() { return SurfaceKindDirectDraw; }
int32_t cDDSysMemSurface::GetKind() { return SurfaceKindDirectDrawSysMem; }

int32_t cDDSurface::GetDriverInfo(void* out) {
  if (out != nullptr) {
    auto* info = static_cast<uint32_t*>(out);
    info[0] = 28;
    info[1] = uint32_t(reinterpret_cast<uintptr_t>(GetThreadDirectDraw()));
    info[2] = uint32_t(reinterpret_cast<uintptr_t>(GetThreadPrimary()));
    info[3] = uint32_t(reinterpret_cast<uintptr_t>(surface_));
    info[4] = uint32_t(reinterpret_cast<uintptr_t>(clipper_));
    info[5] = uint32_t(reinterpret_cast<uintptr_t>(extra_));
    info[6] = SystemMemory() ? 0 : 1;
  }
  return 28;
}

void cDDSurface::SetDCOrigin(int32_t x, int32_t y) {
  originX_ = x;
  originY_ = y;
  if (dc_ != nullptr) ::SetWindowOrgEx(static_cast<HDC>(dc_), x, y, nullptr);
}
uint32_t cDDSurface::GetDCOrigin() { return PackDCOrigin(originX_, originY_); }
int32_t cDDSurface::HasDC() { return 1; }

void cDDSurface::RestoreIfLost() {
  RestoreLost(ThreadPrimary());
  RestoreLost(Surf(surface_));
}

int32_t cDDSurface::Lock() {
  if (surface_ == nullptr) return 0;
  switch (access_.BeginLock(view.buffer != nullptr)) {
    case DDAccessState::Step::Refuse:
      return 0;
    case DDAccessState::Step::Nest:
      return 1;
    case DDAccessState::Step::Acquire:
      break;
  }
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  if (Surf(surface_)->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return 0;
  if (desc.lpSurface == nullptr) {
    Surf(surface_)->Unlock(nullptr);
    return 0;
  }
  view.rowBytes = uint32_t(desc.lPitch);
  view.pitch = desc.lPitch;
  view.bottomUp = 0;
  view.buffer = view.firstRow = static_cast<uint8_t*>(desc.lpSurface);
  access_.LockTaken();
  return 1;
}

void cDDSurface::Unlock() {
  const bool wasLocked = access_.state == DDAccessState::kLocked;
  if (access_.EndLock()) Surf(surface_)->Unlock(view.buffer);
  else if (wasLocked) return;  // still nested
  view.buffer = view.firstRow = nullptr;
  view.rowBytes = 0;
  view.pitch = 0;
}

void* cDDSurface::GetDC() {
  if (surface_ == nullptr) return nullptr;
  switch (access_.BeginDC()) {
    case DDAccessState::Step::Refuse:
      return nullptr;
    case DDAccessState::Step::Nest:
      return dc_;
    case DDAccessState::Step::Acquire:
      break;
  }
  HDC dc = nullptr;
  if (Surf(surface_)->GetDC(&dc) != DD_OK || dc == nullptr) return nullptr;
  dc_ = dc;
  access_.DCTaken();
  ::SetWindowOrgEx(dc, originX_, originY_, nullptr);
  return dc;
}

void cDDSurface::ReleaseDC(void*) {
  const bool wasHeld = access_.state == DDAccessState::kDCHeld;
  if (access_.EndDC()) Surf(surface_)->ReleaseDC(static_cast<HDC>(dc_));
  else if (wasHeld) return;
  dc_ = nullptr;
}

int32_t cDDSurface::WaitVBlank() {
  IDirectDraw2* dd = ThreadDD();
  if (dd == nullptr) return 0;
  return dd->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr) == DD_OK ? 1 : 0;
}

int32_t cDDSurface::GetScanLine() {
  IDirectDraw2* dd = ThreadDD();
  if (dd == nullptr) return -1;
  DWORD line = 0;
  const HRESULT result = dd->GetScanLine(&line);
  if (result == DDERR_VERTICALBLANKINPROGRESS) return 32000;
  return result == DD_OK ? int32_t(line) : -1;
}

namespace {

// Cuts (sx, sy, w, h) to the source's area and the destination rectangle
// (dx, dy, w, h) to `destClip`, each cut moving the other side by as much.
bool ClipPair(int32_t srcWidth, int32_t srcHeight, const RECT& destClip, int32_t& dx, int32_t& dy,
              int32_t& sx, int32_t& sy, int32_t& w, int32_t& h) {
  if (sx < 0) { dx -= sx; w += sx; sx = 0; }
  if (sy < 0) { dy -= sy; h += sy; sy = 0; }
  if (sx + w > srcWidth) w = srcWidth - sx;
  if (sy + h > srcHeight) h = srcHeight - sy;
  if (dx < destClip.left) { sx += destClip.left - dx; w -= destClip.left - dx; dx = destClip.left; }
  if (dy < destClip.top) { sy += destClip.top - dy; h -= destClip.top - dy; dy = destClip.top; }
  if (dx + w > destClip.right) w = destClip.right - dx;
  if (dy + h > destClip.bottom) h = destClip.bottom - dy;
  return w > 0 && h > 0;
}

}  // namespace

int32_t cDDSurface::Blit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                         int32_t width, int32_t height, int32_t mode, uint32_t effect,
                         uint32_t parameter, uint32_t blitFlags) {
  if (dest != nullptr && dest->IsDCOnly()) {
    // To the screen: the primary at the attached window's client origin; the
    // destination object itself is not used.
    IDirectDrawSurface* primary = ThreadPrimary();
    if (primary == nullptr || surface_ == nullptr) return 0;
    RestoreIfLost();
    SetPrimaryClipper(Clip(clipper_));
    POINT origin{0, 0};
    if (window_ != nullptr) ::ClientToScreen(static_cast<HWND>(window_), &origin);
    const RECT anywhere{INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2};
    int32_t x = dx, y = dy;
    if (!ClipPair(view.width, view.height, anywhere, x, y, sx, sy, width, height))
      return 1;  // nothing of it lies on the surface
    RECT from{sx, sy, sx + width, sy + height};
    RECT to{x + origin.x, y + origin.y, x + origin.x + width, y + origin.y + height};
    if (primary->Blt(&to, Surf(surface_), &from, 0, nullptr) == DD_OK) return 1;
    return primary->Blt(&to, Surf(surface_), &from, DDBLT_WAIT, nullptr) == DD_OK ? 1 : 0;
  }
  const int32_t destKind = dest != nullptr ? dest->GetKind() : 0;
  if (mode == 0 && effect == 0 && parameter == 0 && blitFlags == 0 &&
      access_.state == DDAccessState::kFree &&
      (destKind == SurfaceKindDirectDraw || destKind == SurfaceKindDirectDrawSysMem)) {
    auto* target = static_cast<cDDSurface*>(dest);
    if (target->access_.state == DDAccessState::kFree && target->surface_ != nullptr &&
        surface_ != nullptr) {
      RestoreIfLost();
      target->RestoreIfLost();
      int32_t cx = 0, cy = 0, cw = 0, ch = 0;
      target->GetClipRect(&cx, &cy, &cw, &ch);
      const RECT clip{cx, cy, cx + cw, cy + ch};
      if (!ClipPair(view.width, view.height, clip, dx, dy, sx, sy, width, height)) return 0;
      RECT from{sx, sy, sx + width, sy + height};
      return Surf(target->surface_)->BltFast(DWORD(dx), DWORD(dy), Surf(surface_), &from,
                                             DDBLTFAST_WAIT) == DD_OK
                 ? 1
                 : 0;
    }
  }
  return cSurfaceImpl::Blit(dest, dx, dy, sx, sy, width, height, mode, effect, parameter,
                            blitFlags);
}

int32_t cDDSurface::BlitFromDC(int32_t dx, int32_t dy, void*, int32_t sx, int32_t sy,
                               int32_t width, int32_t height, int32_t, uint32_t, uint32_t) {
  // From the thread's primary, not from the context.
  IDirectDrawSurface* primary = ThreadPrimary();
  if (primary == nullptr || surface_ == nullptr) return 0;
  RestoreIfLost();
  const RECT own{0, 0, view.width, view.height};
  if (!ClipPair(INT32_MAX / 2, INT32_MAX / 2, own, dx, dy, sx, sy, width, height)) return 0;
  RECT from{sx, sy, sx + width, sy + height};
  return Surf(surface_)->BltFast(DWORD(dx), DWORD(dy), primary, &from, DDBLTFAST_WAIT) == DD_OK
             ? 1
             : 0;
}

int32_t cDDSurface::MoveRect(int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width,
                             int32_t height) {
  if (surface_ == nullptr) return 0;
  const RECT clip{view.clipLeft, view.clipTop, view.clipRight, view.clipBottom};
  if (!ClipPair(view.width, view.height, clip, dx, dy, sx, sy, width, height)) return 0;
  RECT from{sx, sy, sx + width, sy + height};
  RECT to{dx, dy, dx + width, dy + height};
  return Surf(surface_)->Blt(&to, Surf(surface_), &from, DDBLT_WAIT, nullptr) == DD_OK ? 1 : 0;
}

int32_t cDDSurface::Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                            int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t mode,
                            uint32_t effect, uint32_t parameter, uint32_t stretchFlags) {
  if (dest == nullptr || !dest->IsDCOnly())
    return cSurfaceImpl::Stretch(dest, dx, dy, dw, dh, sx, sy, sw, sh, mode, effect, parameter,
                                 stretchFlags);
  BorrowedDC own(this);
  return GdiCopyToDCOnly(dest, dx, dy, dw, dh, own.get(), sx + originX_, sy + originY_, sw, sh);
}

int32_t cDDSurface::StretchFromDC(int32_t dx, int32_t dy, int32_t dw, int32_t dh, void* dc,
                                  int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t,
                                  uint32_t, uint32_t) {
  if (dc == nullptr) return 0;
  SetPrimaryClipper(Clip(clipper_));
  BorrowedDC own(this);
  if (own.get() == nullptr) return 0;
  return ::StretchBlt(static_cast<HDC>(own.get()), dx, dy, dw, dh, static_cast<HDC>(dc), sx, sy,
                      sw, sh, SRCCOPY)
             ? 1
             : 0;
}

namespace {

int32_t ColourFill(IDirectDrawSurface* surface, RECT rect, uint32_t value) {
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  fx.dwFillColor = value;
  return surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx) == DD_OK ? 1
                                                                                          : 0;
}

}  // namespace

int32_t cDDSurface::FillRect(int32_t x, int32_t y, int32_t width, int32_t height,
                             uint32_t colour) {
  if (access_.state != DDAccessState::kFree || surface_ == nullptr)
    return cSurfaceImpl::FillRect(x, y, width, height, colour);
  if (!ClipRect(x, y, width, height)) return 0;
  uint32_t value = 0;
  if (colour != 0) {
    value = view.depth == 8 ? uint32_t(ColourToIndex(colour)) : ColourToNative(view.depth, colour);
  }
  return ColourFill(Surf(surface_), RECT{x, y, x + width, y + height}, value);
}

int32_t cDDSurface::FillRectIndex(int32_t x, int32_t y, int32_t width, int32_t height,
                                  uint32_t index) {
  if (access_.state != DDAccessState::kFree || surface_ == nullptr)
    return cSurfaceImpl::FillRectIndex(x, y, width, height, index);
  return ColourFill(Surf(surface_), RECT{x, y, x + width, y + height}, index);
}

int32_t cDDSurface::AttachWindow(void* window) {
  if (backBuffer_) return 1;
  ReleaseClipper();
  window_ = nullptr;
  IDirectDraw2* dd = ThreadDD();
  IDirectDrawClipper* clipper = nullptr;
  if (window != nullptr && dd != nullptr && dd->CreateClipper(0, &clipper, nullptr) == DD_OK &&
      clipper->SetHWnd(0, static_cast<HWND>(window)) == DD_OK) {
    clipper_ = clipper;
    window_ = window;
    return 1;
  }
  Debug(">> cDDSurface::AttachWindow didn't succeed!\n");
  if (clipper != nullptr) clipper->Release();
  return 1;
}

void cDDSurface::CopyScreenState(cSurfaceImpl* other) {
  if (other == nullptr) return;
  const int32_t kind = other->GetKind();
  if (kind != SurfaceKindDirectDraw && kind != SurfaceKindDirectDrawSysMem) return;
  const auto* from = static_cast<cDDSurface*>(other);
  fullScreen_ = from->fullScreen_;
  savedRect_ = from->savedRect_;
  savedStyle_ = from->savedStyle_;
}

namespace {

struct ModeWalk {
  DisplayModeFn callback;
  uint32_t user;
};

HRESULT WINAPI OnMode(DDSURFACEDESC* desc, void* context) {
  const auto* walk = static_cast<ModeWalk*>(context);
  const DisplayModeInfo mode{int32_t(desc->dwWidth), int32_t(desc->dwHeight),
                             int32_t(desc->ddpfPixelFormat.dwRGBBitCount)};
  return walk->callback(&mode, walk->user) != 0 ? DDENUMRET_OK : DDENUMRET_CANCEL;
}

}  // namespace

void cDDSurface::EnumDisplayModes(DisplayModeCallback callback, uint32_t user) {
  if (callback == nullptr || !IsDirectDrawUsable(this)) return;
  IDirectDraw2* dd = ThreadDD();
  const bool own = dd == nullptr;
  if (own && (dd = CreateThreadDirectDraw()) == nullptr) return;
  ModeWalk walk{reinterpret_cast<DisplayModeFn>(callback), user};
  dd->EnumDisplayModes(DDEDM_REFRESHRATES | DDEDM_STANDARDVGAMODES, nullptr, &walk, OnMode);
  if (own) dd->Release();
}

int32_t cDDSurface::EnterFullScreen(void* window, int32_t width, int32_t height, int32_t depth) {
  if (!IsDirectDrawUsable(this)) return 0;
  HWND hwnd = static_cast<HWND>(window);
  // The window's place and style before anything changes them: the exclusive
  // cooperative level may restyle the window itself.
  if (!fullScreen_ && hwnd != nullptr) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    savedRect_ = WindowRect{r.left, r.top, r.right, r.bottom};
    savedStyle_ = uint32_t(::GetWindowLongA(TopLevel(hwnd), GWL_STYLE));
  }
  IDirectDraw2* dd = ThreadDD();
  const bool created = dd == nullptr;
  if (created && (dd = CreateThreadDirectDraw()) == nullptr) return 0;
  HWND top = hwnd != nullptr ? TopLevel(hwnd) : nullptr;
  auto failCreated = [&]() -> int32_t {
    if (created) {
      dd->Release();
      UnregisterThreadDirectDraw();
    }
    return 0;
  };
  if (dd->SetCooperativeLevel(top, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE) != DD_OK)
    return failCreated();
  SetPrimaryClipper(nullptr);
  if (dd->SetDisplayMode(DWORD(width), DWORD(height), DWORD(depth), 0, 0) != DD_OK) {
    dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    return failCreated();
  }
  ReleaseInterfaces();
  if (IDirectDrawSurface* old = ThreadPrimary()) {
    old->Release();
    RegisterThreadDirectDraw(dd, nullptr);
  }
  IDirectDrawSurface* primary = CreatePrimary(dd);
  surface_ = primary != nullptr ? CreateOffscreen(dd, width, height, true) : nullptr;
  if (surface_ == nullptr) {
    if (primary != nullptr) primary->Release();
    RegisterThreadDirectDraw(dd, nullptr);
    LeaveFullScreen(window);
    if (created) DropCreated(dd, nullptr);
    return 0;
  }
  view.width = width;
  view.height = height;
  ResetClipRect();
  RegisterThreadDirectDraw(dd, primary);
  bool refused = false;
  ReadPixelFormat(true, &refused);
  if (top != nullptr) {
    ::SetWindowLongA(top, GWL_STYLE, LONG(kFullScreenStyle));
    ::SetWindowPos(top, nullptr, 0, 0, width, height, SWP_SHOWWINDOW | SWP_NOZORDER);
  }
  ColourFill(primary, RECT{0, 0, width, height}, 0);
  fullScreen_ = 1;
  fullScreenState = {1, width, height};
  return 1;
}

void cDDSurface::LeaveFullScreen(void* window) {
  fullScreenState.active = 0;
  IDirectDraw2* dd = ThreadDD();
  if (dd == nullptr) return;
  SetPrimaryClipper(nullptr);
  if (dd->RestoreDisplayMode() != DD_OK) return;
  if (IDirectDrawSurface* old = ThreadPrimary()) old->Release();
  RegisterThreadDirectDraw(dd, nullptr);
  HWND hwnd = static_cast<HWND>(window);
  HWND top = hwnd != nullptr ? TopLevel(hwnd) : nullptr;
  if (dd->SetCooperativeLevel(top, DDSCL_NORMAL) != DD_OK) return;
  IDirectDrawSurface* primary = CreatePrimary(dd);
  if (primary == nullptr) return;
  if (fullScreen_ && top != nullptr) {
    ::SetWindowLongA(top, GWL_STYLE, LONG(savedStyle_));
    ::SetWindowPos(top, nullptr, savedRect_.left, savedRect_.top,
                   savedRect_.right - savedRect_.left, savedRect_.bottom - savedRect_.top,
                   SWP_NOZORDER);
  }
  fullScreen_ = 0;
  RegisterThreadDirectDraw(dd, primary);
}
