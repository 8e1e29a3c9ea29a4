// Surfaces over DirectDraw off-screen surfaces, in video memory (`cDDSurface`)
// or system memory (`cDDSysMemSurface`). Their pixels are reached by locking
// the DirectDraw surface, so the software operations work between Lock and
// Unlock; copies between DirectDraw surfaces, copies to the screen, fills and
// the exclusive full screen go through DirectDraw. Every thread has its own
// DirectDraw object and primary surface (DirectDrawRegistry.h).
//
// No flip chain: the primaries made here have no back buffer, so
// `MakeBackBuffer` gives null and windows present by copying to the screen.
#pragma once

#include "surface/DDAccessState.h"
#include "surface/FullScreenSwitch.h"
#include "surface/cSurfaceImpl.h"

class cDDSurface : public cSurfaceImpl {
 public:
  cDDSurface() = default;

  // An empty prototype at depth 8; makes no DirectDraw object.
  static cDDSurface* CreatePrototype(bool systemMemory);

  void Delete(uint32_t flags) override;
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override;
  cSurfaceImpl* MakeBackBuffer() override;
  int32_t IsBackBuffer() override;
  void EnumDisplayModes(DisplayModeCallback callback, uint32_t user) override;
  int32_t EnterFullScreen(void* window, int32_t width, int32_t height, int32_t depth) override;
  void LeaveFullScreen(void* window) override;
  void CopyScreenState(cSurfaceImpl* other) override;
  int32_t WaitVBlank() override;
  int32_t GetScanLine() override;
  int32_t SetDepthAndPalette(int32_t depth) override;
  int32_t GetKind() override;
  int32_t GetDriverInfo(void* out) override;
  void SetDCOrigin(int32_t x, int32_t y) override;
  uint32_t GetDCOrigin() override;
  int32_t HasDC() override;
  int32_t Lock() override;
  void Unlock() override;
  void* GetDC() override;
  void ReleaseDC(void* dc) override;
  int32_t BlitFromDC(int32_t dx, int32_t dy, void* dc, int32_t sx, int32_t sy, int32_t width,
                     int32_t height, int32_t mode, uint32_t effect, uint32_t parameter) override;
  int32_t Blit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width,
               int32_t height, int32_t mode, uint32_t effect, uint32_t parameter,
               uint32_t blitFlags) override;
  int32_t MoveRect(int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width,
                   int32_t height) override;
  int32_t StretchFromDC(int32_t dx, int32_t dy, int32_t dw, int32_t dh, void* dc, int32_t sx,
                        int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t effect,
                        uint32_t parameter) override;
  int32_t Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx,
                  int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t effect,
                  uint32_t parameter, uint32_t stretchFlags) override;
  int32_t FillRectIndex(int32_t x, int32_t y, int32_t width, int32_t height,
                        uint32_t index) override;
  int32_t FillRect(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour) override;
  int32_t AttachWindow(void* window) override;
  void Flip() override;

 protected:
  template <typename T>
  static cSurfaceImpl* MakeSized(const cDDSurface& prototype, int32_t width, int32_t height);
  bool SystemMemory() { return GetKind() == SurfaceKindDirectDrawSysMem; }
  void ReleaseInterfaces();
  void ReleaseClipper();
  // Restores this surface (and the primary) when DirectDraw lost them.
  void RestoreIfLost();
  void ReadPixelFormat(bool keepOnUnknown, bool* refused);

  void* surface_ = nullptr;  // IDirectDrawSurface
  void* clipper_ = nullptr;  // IDirectDrawClipper
  void* extra_ = nullptr;    // released when set; nothing sets it
  int32_t backBuffer_ = 0;
  void* dc_ = nullptr;
  int32_t originX_ = 0;
  int32_t originY_ = 0;
  void* window_ = nullptr;
  DDAccessState access_{};
  int32_t fullScreen_ = 0;
  WindowRect savedRect_{};
  uint32_t savedStyle_ = 0;
};
OMB_PIN_SIZE(cDDSurface, 96 + 8 * 4 + 12 + 4 + 16 + 4);

class cDDSysMemSurface final : public cDDSurface {
 public:
  cDDSysMemSurface() = default;
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override;
  int32_t GetKind() override;
  void Delete(uint32_t flags) override;
};
