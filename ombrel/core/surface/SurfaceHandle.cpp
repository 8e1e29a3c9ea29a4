// Life, information, origin, pixels and copies of the surface handle. The
// alpha, palette and display members are in SurfaceHandleChannels.cpp.
#include "surface/SurfaceHandle.h"

#include <algorithm>
#include <new>

#include "Memory.h"
#include "surface/SurfaceLibraryApi.h"
#include "surface/cNullSurface.h"

namespace {

// Handle coordinates to implementation coordinates. Wrapping arithmetic: a
// host's extreme values land far outside the clip instead of overflowing.
inline int32_t Sub(int32_t value, int32_t origin) {
  return int32_t(uint32_t(value) - uint32_t(origin));
}

inline uint32_t PackRGB(uint32_t red, uint32_t green, uint32_t blue) {
  return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}

}  // namespace

cSurfaceHandle::cSurfaceHandle() : impl(GetNullSurface()), originX(0), originY(0), lastError(0) {}

cSurfaceHandle::cSurfaceHandle(const cSurfaceHandle& other) : cSurfaceHandle() {
  CopyFrom(&other, -1, -1);
}

cSurfaceHandle::~cSurfaceHandle() {
  Destroy();
  // The handle stays empty after destruction, as hosts built with other
  // compilers see it: a second destructor call then frees nothing. The
  // barrier keeps the compiler from dropping the store as dead at the end of
  // the object's lifetime.
  asm volatile("" : : "r"(this) : "memory");
}

cSurfaceHandle& cSurfaceHandle::operator=(const cSurfaceHandle& source) {
  CopyFrom(&source, -1, -1);
  return *this;
}

cSurfaceImpl* cSurfaceHandle::Impl() const { return impl != nullptr ? impl : GetNullSurface(); }

// ---- life and implementation ----

cSurfaceImpl* cSurfaceHandle::Create(int32_t width, int32_t height,
                                     const cSurfaceHandle* prototype) {
  Destroy();
  lastError = LibOk;
  cSurfaceImpl* made = prototype != nullptr
                           ? prototype->Impl()->MakeInstance(std::max(width, 1), std::max(height, 1))
                           : nullptr;
  if (made == nullptr) {
    lastError = ErrOutOfMemory;
    return nullptr;
  }
  impl = made;
  return made;
}

int32_t cSurfaceHandle::CopyFrom(const cSurfaceHandle* source, int32_t width, int32_t height) {
  cSurfaceImpl* from = source != nullptr ? source->Impl() : GetNullSurface();
  if (from == GetNullSurface()) {
    Destroy();
    return 0;
  }
  const int32_t w = from->view.width, h = from->view.height;
  cSurfaceImpl* made = nullptr;
  if (width == -1) {
    made = from->MakeInstance(w, h);
    // As below: a copy whose blit failed is not handed back unpainted.
    if (made != nullptr && !from->Blit(made, 0, 0, 0, 0, w, h, BlitOpaque, 0, 0, BlitWithAlpha)) {
      made->Delete(1);
      made = nullptr;
    }
  } else {
    made = from->MakeInstance(width, height);
    // A stretch that draws nothing must not hand back an unpainted picture:
    // the copy then fails as an instance that cannot be made does.
    if (made != nullptr &&
        !from->Stretch(made, 0, 0, width, height, 0, 0, w, h, BlitOpaque, 0, 0, StretchWithAlpha)) {
      made->Delete(1);
      made = nullptr;
    }
  }
  if (made == nullptr) {
    lastError = ErrOutOfMemory;
    Destroy();
    return 0;
  }
  // The old picture goes only now, so a handle can copy from itself.
  cSurfaceImpl* old = impl;
  impl = made;
  if (old != nullptr && old != GetNullSurface()) old->Delete(1);
  return 1;
}

void cSurfaceHandle::Destroy() {
  if (impl != nullptr && impl != GetNullSurface()) impl->Delete(1);
  impl = GetNullSurface();
}

int32_t cSurfaceHandle::CreateBackBuffer() {
  Destroy();
  lastError = LibOk;
  cSurfaceImpl* made = MakeScreenBackBuffer();
  if (made != nullptr) impl = made;
  return IsValid();
}

cSurfaceImpl* cSurfaceHandle::AttachImpl(cSurfaceHandle* handle, cSurfaceImpl* implementation) {
  if (handle == nullptr) return nullptr;
  if (implementation == handle->impl) return implementation;  // already its own: keep it alive
  handle->Destroy();
  if (implementation != nullptr) handle->impl = implementation;
  return implementation;
}

cSurfaceImpl* cSurfaceHandle::GetImpl(const cSurfaceHandle* handle) {
  return handle != nullptr ? handle->Impl() : nullptr;
}

int32_t cSurfaceHandle::IsValid() const { return Impl() != GetNullSurface() ? 1 : 0; }
LibError cSurfaceHandle::GetLastError() const { return lastError; }

// ---- information and buffer ----

int32_t cSurfaceHandle::GetWidth() const { return Impl()->view.width; }
int32_t cSurfaceHandle::GetHeight() const { return Impl()->view.height; }
int32_t cSurfaceHandle::GetDepth() const { return Impl()->view.depth; }

int32_t cSurfaceHandle::GetInfo(int32_t* width, int32_t* height, int32_t* depth) const {
  const PixelView& v = Impl()->view;
  if (width != nullptr) *width = v.width;
  if (height != nullptr) *height = v.height;
  if (depth != nullptr) *depth = v.depth;
  return IsValid();
}

int32_t cSurfaceHandle::GetType() const {
  switch (Impl()->GetKind()) {
    case SurfaceKindDIB:
    case SurfaceKindDirectDraw:
      return SurfaceTypeScreen;
    case SurfaceKindDIBWithDC:
      return SurfaceTypeOwnDC;
    case SurfaceKindDirectDrawSysMem:
      return SurfaceTypeSystemMem;
    default:
      return SurfaceTypeMemory;
  }
}

int32_t cSurfaceHandle::GetDriver() const {
  const int32_t kind = Impl()->GetKind();
  return kind == SurfaceKindDirectDraw || kind == SurfaceKindDirectDrawSysMem ? 2 : 0;
}

int32_t cSurfaceHandle::GetDriverInfo(void* out) { return Impl()->GetDriverInfo(out); }
int32_t cSurfaceHandle::IsPaletted() const { return Impl()->view.depth <= 8 ? 1 : 0; }
// A compressed image's block is no rows: no pitch, no buffer to hand out.
int32_t cSurfaceHandle::GetPitch() const {
  cSurfaceImpl* s = Impl();
  return s->IsCompressed() ? 0 : s->view.pitch;
}

uint8_t* cSurfaceHandle::LockBuffer() {
  cSurfaceImpl* s = Impl();
  if (s->IsCompressed()) return nullptr;
  s->Lock();
  return s->view.firstRow;
}

void cSurfaceHandle::UnlockBuffer(void*) { Impl()->Unlock(); }

// ---- origin and clip ----

void cSurfaceHandle::SetOrigin(int32_t x, int32_t y) {
  originX = x;
  originY = y;
  cSurfaceImpl* s = Impl();
  if (s->HasDC()) s->SetDCOrigin(x, y);
}

void cSurfaceHandle::SetOriginPoint(SurfacePoint point) { SetOrigin(point.x, point.y); }

void cSurfaceHandle::GetOrigin(int32_t* x, int32_t* y) const {
  if (x != nullptr) *x = originX;
  if (y != nullptr) *y = originY;
}

void cSurfaceHandle::GetOriginPoint(SurfacePoint* point) const {
  if (point != nullptr) *point = SurfacePoint{originX, originY};
}

void cSurfaceHandle::OffsetOrigin(int32_t dx, int32_t dy) {
  SetOrigin(int32_t(uint32_t(originX) + uint32_t(dx)), int32_t(uint32_t(originY) + uint32_t(dy)));
}

void cSurfaceHandle::SetClipRect(int32_t x, int32_t y, int32_t width, int32_t height) {
  Impl()->SetClipRect(Sub(x, originX), Sub(y, originY), width, height);
}

void cSurfaceHandle::GetClipRect(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
  int32_t cx = 0, cy = 0, cw = 0, ch = 0;
  Impl()->GetClipRect(&cx, &cy, &cw, &ch);
  if (x != nullptr) *x = int32_t(uint32_t(cx) + uint32_t(originX));
  if (y != nullptr) *y = int32_t(uint32_t(cy) + uint32_t(originY));
  if (width != nullptr) *width = cw;
  if (height != nullptr) *height = ch;
}

void cSurfaceHandle::ResetClipRect() { Impl()->ResetClipRect(); }

// ---- pixels and fills ----

void cSurfaceHandle::SetPixel(int32_t x, int32_t y, uint32_t colour) {
  Impl()->SetPixel(Sub(x, originX), Sub(y, originY), colour);
}

void cSurfaceHandle::SetPixelRGB(int32_t x, int32_t y, uint32_t red, uint32_t green,
                                 uint32_t blue) {
  SetPixel(x, y, PackRGB(red, green, blue));
}

void cSurfaceHandle::PutIndex(int32_t x, int32_t y, uint32_t index) {
  Impl()->PutIndex(Sub(x, originX), Sub(y, originY), index);
}

int32_t cSurfaceHandle::GetPixel(int32_t x, int32_t y, uint32_t* colour) {
  uint32_t value = 0;
  const int32_t ok = Impl()->GetPixel(Sub(x, originX), Sub(y, originY), &value);
  if (ok && colour != nullptr) *colour = value;
  return ok;
}

int32_t cSurfaceHandle::GetPixelRGB(int32_t x, int32_t y, uint8_t* red, uint8_t* green,
                                    uint8_t* blue) {
  uint32_t value = 0;
  if (!GetPixel(x, y, &value)) return 0;
  if (red != nullptr) *red = uint8_t(value);
  if (green != nullptr) *green = uint8_t(value >> 8);
  if (blue != nullptr) *blue = uint8_t(value >> 16);
  return 1;
}

int32_t cSurfaceHandle::GetPixelNative(int32_t x, int32_t y, uint32_t* value) {
  uint32_t native = 0;
  const int32_t ok = Impl()->GetPixelNative(Sub(x, originX), Sub(y, originY), &native);
  if (ok && value != nullptr) *value = native;
  return ok;
}

int32_t cSurfaceHandle::FillRect(int32_t x, int32_t y, int32_t width, int32_t height,
                                 uint32_t colour) {
  return Impl()->FillRect(Sub(x, originX), Sub(y, originY), width, height, colour);
}

int32_t cSurfaceHandle::FillRectRGB(int32_t x, int32_t y, int32_t width, int32_t height,
                                    uint32_t red, uint32_t green, uint32_t blue) {
  return FillRect(x, y, width, height, PackRGB(red, green, blue));
}

int32_t cSurfaceHandle::FillRectIndex(int32_t x, int32_t y, int32_t width, int32_t height,
                                      uint32_t index) {
  return Impl()->FillRectIndex(Sub(x, originX), Sub(y, originY), width, height, index);
}

int32_t cSurfaceHandle::FillAll(uint32_t colour) {
  return FillRect(originX, originY, GetWidth(), GetHeight(), colour);
}

int32_t cSurfaceHandle::FillAllRGB(uint32_t red, uint32_t green, uint32_t blue) {
  return FillRectRGB(originX, originY, GetWidth(), GetHeight(), red, green, blue);
}

int32_t cSurfaceHandle::FillAllIndex(uint32_t index) {
  return FillRectIndex(originX, originY, GetWidth(), GetHeight(), index);
}

// ---- copies and geometry ----

int32_t cSurfaceHandle::Blit(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy,
                             int32_t width, int32_t height, int32_t mode, uint32_t effect,
                             uint32_t parameter, uint32_t blitFlags) {
  if (dest == nullptr) return 0;
  return Impl()->Blit(dest->Impl(), Sub(dx, dest->originX), Sub(dy, dest->originY),
                      Sub(sx, originX), Sub(sy, originY), width, height, mode, effect, parameter,
                      blitFlags);
}

int32_t cSurfaceHandle::BlitAt(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t mode,
                               uint32_t effect, uint32_t parameter, uint32_t blitFlags) {
  return Blit(dest, dx, dy, 0, 0, GetWidth(), GetHeight(), mode, effect, parameter, blitFlags);
}

int32_t cSurfaceHandle::CopyTo(cSurfaceHandle* dest) {
  return Blit(dest, 0, 0, 0, 0, GetWidth(), GetHeight(), BlitOpaque, 0, 0, BlitWithAlpha);
}

int32_t cSurfaceHandle::Stretch(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t dw,
                                int32_t dh, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                                int32_t mode, uint32_t effect, uint32_t parameter,
                                uint32_t stretchFlags) {
  if (dest == nullptr) return 0;
  return Impl()->Stretch(dest->Impl(), Sub(dx, dest->originX), Sub(dy, dest->originY), dw, dh,
                         Sub(sx, originX), Sub(sy, originY), sw, sh, mode, effect, parameter,
                         stretchFlags);
}

int32_t cSurfaceHandle::StretchTo(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t dw,
                                  int32_t dh, int32_t mode, uint32_t effect, uint32_t parameter,
                                  uint32_t stretchFlags) {
  return Stretch(dest, dx, dy, dw, dh, 0, 0, GetWidth(), GetHeight(), mode, effect, parameter,
                 stretchFlags);
}

int32_t cSurfaceHandle::StretchAll(cSurfaceHandle* dest, uint32_t stretchFlags) {
  if (dest == nullptr) return 0;
  return Stretch(dest, 0, 0, dest->GetWidth(), dest->GetHeight(), 0, 0, GetWidth(), GetHeight(),
                 BlitOpaque, 0, 0, stretchFlags);
}

int32_t cSurfaceHandle::MoveRect(int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width,
                                 int32_t height) {
  return Impl()->MoveRect(dx, dy, sx, sy, width, height);
}

int32_t cSurfaceHandle::BlitCallback(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t sx,
                                     int32_t sy, int32_t width, int32_t height, int32_t mode,
                                     PixelCallback callback, uint32_t user) {
  if (dest == nullptr) return 0;
  return Impl()->BlitCallback(dest->Impl(), Sub(dx, dest->originX), Sub(dy, dest->originY),
                              Sub(sx, originX), Sub(sy, originY), width, height, mode, callback,
                              user);
}

int32_t cSurfaceHandle::BlitCallbackAll(cSurfaceHandle* dest, PixelCallback callback,
                                        uint32_t user, int32_t mode) {
  if (dest == nullptr) return 0;
  return Impl()->BlitCallback(dest->Impl(), 0, 0, 0, 0, GetWidth(), GetHeight(), mode, callback,
                              user);
}

int32_t cSurfaceHandle::FilterBlit(cSurfaceHandle* dest, int32_t dx, int32_t dy, int32_t sx,
                                   int32_t sy, int32_t width, int32_t height, int32_t kernelWidth,
                                   int32_t kernelHeight, int32_t anchorX, int32_t anchorY,
                                   FilterCallback callback, uint32_t user) {
  if (dest == nullptr) return 0;
  return Impl()->FilterBlit(dest->Impl(), Sub(dx, dest->originX), Sub(dy, dest->originY),
                            Sub(sx, originX), Sub(sy, originY), width, height, kernelWidth,
                            kernelHeight, anchorX, anchorY, anchorX, anchorY, callback, user);
}

int32_t cSurfaceHandle::MirrorX(int32_t x, int32_t y, int32_t width, int32_t height) {
  return Impl()->MirrorX(Sub(x, originX), Sub(y, originY), width, height);
}

int32_t cSurfaceHandle::MirrorXAll() { return MirrorX(0, 0, GetWidth(), GetHeight()); }

int32_t cSurfaceHandle::MirrorY(int32_t x, int32_t y, int32_t width, int32_t height) {
  return Impl()->MirrorY(Sub(x, originX), Sub(y, originY), width, height);
}

int32_t cSurfaceHandle::MirrorYAll() { return MirrorY(0, 0, GetWidth(), GetHeight()); }

int32_t cSurfaceHandle::Collides(const cSurfaceHandle* other, int32_t otherX, int32_t otherY,
                                 int32_t x, int32_t y, int32_t width, int32_t height) {
  if (other == nullptr) return 0;
  return Impl()->PixelCollide(other->Impl(), otherX, otherY, x, y, width, height);
}

// ---- flat life functions ----

OMB_FLAT cSurfaceHandle* OMB_STDCALL CreateSurfaceHandle() {
  void* block = nullptr;
  if (!MemAlloc(sizeof(cSurfaceHandle), &block)) return nullptr;
  return new (block) cSurfaceHandle();
}

OMB_FLAT void OMB_STDCALL DeleteSurfaceHandle(cSurfaceHandle* handle) {
  if (handle == nullptr) return;
  handle->~cSurfaceHandle();
  void* block = handle;
  MemFree(&block);
}
