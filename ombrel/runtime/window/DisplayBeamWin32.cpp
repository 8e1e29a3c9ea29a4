#include "window/SystemHeaders.h"

#include <ddraw.h>
#include <mmsystem.h>

#include "surface/DirectDrawRegistry.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibraryApi.h"
#include "window/DisplayBeam.h"
#include "window/PresentPacing.h"
#include "window/WindowAppLink.h"

namespace {

constexpr int32_t kPrototypeDirectDraw = 2;  // GetSurfacePrototype's DirectDraw option

class DirectDrawBeam final : public PacingSource {
 public:
  explicit DirectDrawBeam(IDirectDraw2* directDraw) : directDraw_(directDraw) {}
  uint32_t Now() override { return timeGetTime(); }
  void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }
  int32_t GetScanLine(uint32_t* line) override {
    DWORD value = 0;
    const HRESULT result = directDraw_->GetScanLine(&value);
    if (SUCCEEDED(result)) *line = value;
    return result;
  }
  void WaitForVerticalBlank() override {
    directDraw_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
  }

 private:
  IDirectDraw2* directDraw_;
};

}  // namespace

bool DisplayBeamUsable() {
  // The library's DirectDraw prototype answers only where DirectDraw works;
  // elsewhere a DIB prototype stands in.
  cSurfaceHandle* prototype = nullptr;
  GetSurfacePrototype(&prototype, 8, SurfaceTypeScreen, kPrototypeDirectDraw);
  cSurfaceImpl* impl = cSurfaceHandle::GetImpl(prototype);
  if (impl == nullptr) return false;
  const int32_t kind = impl->GetKind();
  return kind == SurfaceKindDirectDraw || kind == SurfaceKindDirectDrawSysMem;
}

bool PaceOnThreadBeam(int32_t limit, uint32_t* lastPresent) {
  auto* directDraw = static_cast<IDirectDraw2*>(GetThreadDirectDraw());
  if (directDraw == nullptr) return false;
  DirectDrawBeam beam(directDraw);
  *lastPresent = PacePresent(beam, limit, *lastPresent);
  return true;
}
