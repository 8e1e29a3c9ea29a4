#include "surface/SurfaceLibrary.h"

#include "palette/PaletteApi.h"
#include "pixel/CpuFeatures.h"
#include "surface/DIBPrototypes.h"
#include "surface/DirectDraw.h"
#include "surface/DepthCode.h"
#include "surface/SurfaceLibraryApi.h"
#include "surface/SystemFamily.h"
#include "surface/cMemSurface.h"
#include "surface/cNullSurface.h"

namespace {

constexpr int32_t kOptionDirectDraw = 2;

SurfaceLibrary& TheSurfaceLibrary() {
  // Never destroyed: the entry point's process detach empties it, and static
  // destruction order at unload must not matter.
  static SurfaceLibrary* library = new SurfaceLibrary;
  return *library;
}

}  // namespace

int32_t RoundPrototypeDepth(int32_t depth) {
  if (depth <= 8) return 8;
  if (depth <= 15) return 15;
  if (depth == 16) return 16;
  if (depth <= 24) return 24;
  return 32;
}

void SurfaceLibrary::Init() {
  // The calling thread's palette context, outside the lock. The reference it
  // hands back is kept until the prototypes hold their own.
  cPalette* startupReference = PaletteStartup();
  {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (users_++ == 0) {
      GetNullSurface()->isWindowsNT = DetectWindowsNT();
      CpuFeatures();  // detected once per process; surfaces copy it at construction
      Build();
    }
  }
  ReleasePalette(startupReference);
}

void SurfaceLibrary::Exit() {
  {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (users_ <= 0) return;  // unmatched: counting below zero would stop the next start-up
    if (--users_ == 0) {
      DestroyAll();
      ReleaseThreadDirectDraw();
    }
  }
  PaletteShutdown();
}

int32_t SurfaceLibrary::Users() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return users_;
}

void SurfaceLibrary::Build() {
  // An allocation failure leaves its handle empty; Create on it then fails.
  for (int i = 0; i < kDepths; ++i)
    cSurfaceHandle::AttachImpl(&memory_[i], cMemSurface::CreatePrototype(DepthFromIndex(i)));
  // DIB prototypes make no GDI object: their instances make the sections.
  for (int i = 0; i < kDepths; ++i)
    cSurfaceHandle::AttachImpl(&dib_[i], MakeDIBPrototype(DepthFromIndex(i), false));
  for (int i = 0; i < kDepths; ++i)
    cSurfaceHandle::AttachImpl(&ownDCDib_[i], MakeDIBPrototype(DepthFromIndex(i), true));
  // Depth 8 until an instance reads the display's format; no DirectDraw object yet.
  cSurfaceHandle::AttachImpl(&directDraw_, MakeDirectDrawPrototype(false));
  cSurfaceHandle::AttachImpl(&directDrawSysMem_, MakeDirectDrawPrototype(true));
}

void SurfaceLibrary::DestroyAll() {
  for (int i = 0; i < kDepths; ++i) {
    memory_[i].Destroy();
    dib_[i].Destroy();
    ownDCDib_[i].Destroy();
  }
  directDrawSysMem_.Destroy();
  directDraw_.Destroy();
}

int32_t SurfaceLibrary::GetPrototype(cSurfaceHandle** out, int32_t depth, int32_t type,
                                     int32_t option) {
  if (out == nullptr) return 0;
  const int32_t index = DepthIndexFromBits(RoundPrototypeDepth(depth));
  *out = nullptr;
  cSurfaceHandle* found = nullptr;
  switch (type) {
    case SurfaceTypeMemory:
      found = &memory_[index];
      break;
    case SurfaceTypeScreen:
    case SurfaceTypeOwnDC:
    case SurfaceTypeSystemMem:
      if (option == 0) {
        found = type == SurfaceTypeOwnDC ? &ownDCDib_[index] : &dib_[index];
      } else if (option == kOptionDirectDraw) {
        // Where DirectDraw cannot be used the own-DC DIB stands in and the
        // answer is false. DirectDraw surfaces get the display's depth, not
        // the prototype's: that is the depth compared.
        cSurfaceHandle* dd = type == SurfaceTypeSystemMem ? &directDrawSysMem_ : &directDraw_;
        if (dd->GetDepth() == 0 || !IsDirectDrawUsable(cSurfaceHandle::GetImpl(dd))) {
          *out = &ownDCDib_[index];
          return 0;
        }
        *out = dd;
        return DirectDrawInUseDepth() == depth ? 1 : 0;
      } else {
        found = &ownDCDib_[index];
      }
      break;
    default:
      return 0;
  }
  *out = found;
  return found->IsValid() && found->GetDepth() == depth ? 1 : 0;
}

OMB_FLAT void OMB_STDCALL SurfaceLibraryInit() { TheSurfaceLibrary().Init(); }
OMB_FLAT void OMB_STDCALL SurfaceLibraryExit() { TheSurfaceLibrary().Exit(); }

OMB_FLAT int32_t OMB_STDCALL GetSurfacePrototype(cSurfaceHandle** out, int32_t depth,
                                                 int32_t type, int32_t option) {
  return TheSurfaceLibrary().GetPrototype(out, depth, type, option);
}

cSurfaceHandle* GetOwnDCPrototype(int32_t depth) {
  cSurfaceHandle* prototype = nullptr;
  GetSurfacePrototype(&prototype, depth, SurfaceTypeOwnDC, 0);
  return prototype;
}

cSurfaceImpl* MakeScreenBackBuffer() {
  if (!IsDirectDrawFullScreen()) return nullptr;
  cSurfaceHandle* prototype = nullptr;
  GetSurfacePrototype(&prototype, 8, SurfaceTypeScreen, kOptionDirectDraw);
  return prototype != nullptr ? cSurfaceHandle::GetImpl(prototype)->MakeBackBuffer() : nullptr;
}

int32_t SurfaceLibraryUsers() { return TheSurfaceLibrary().Users(); }
std::recursive_mutex& SurfaceLibraryLock() { return TheSurfaceLibrary().Lock(); }
