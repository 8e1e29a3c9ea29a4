// Surfaces whose pixels live in a GDI DIB section: the software operations
// work on the section's bits (bottom-up rows), and GDI draws into and copies
// from the same pixels through a memory device context. `cDIBSurface` makes
// that context on demand; `cDIBDCSurface` keeps one for its whole life. The
// DIB surface also carries the full-screen switch through display settings.
#pragma once

#include "surface/BitmapInfoHeader.h"
#include "surface/FullScreenSwitch.h"
#include "surface/cSurfaceImpl.h"

class cDIBSurface : public cSurfaceImpl {
 public:
  cDIBSurface();

  // An empty prototype of a depth (8, 15, 16, 24 or 32); no GDI object is
  // made until an instance is. Null for another depth or out of memory.
  static cDIBSurface* CreatePrototype(int32_t depth, bool ownDC);

  // Whether the memory device context is out now.
  bool HoldsDC() const { return memoryDC_ != nullptr; }
  const BitmapInfoHeader& Header() const { return header_; }

  void Delete(uint32_t flags) override;
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override;
  void EnumDisplayModes(DisplayModeCallback callback, uint32_t user) override;
  int32_t EnterFullScreen(void* window, int32_t width, int32_t height, int32_t depth) override;
  void LeaveFullScreen(void* window) override;
  void CopyScreenState(cSurfaceImpl* other) override;
  int32_t SetDepthAndPalette(int32_t depth) override;
  int32_t GetKind() override;
  void SetDCOrigin(int32_t x, int32_t y) override;
  uint32_t GetDCOrigin() override;
  int32_t HasDC() override;
  void* GetDC() override;
  void ReleaseDC(void* dc) override;
  int32_t BlitFromDC(int32_t dx, int32_t dy, void* dc, int32_t sx, int32_t sy, int32_t width,
                     int32_t height, int32_t mode, uint32_t effect, uint32_t parameter) override;
  int32_t Blit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width,
               int32_t height, int32_t mode, uint32_t effect, uint32_t parameter,
               uint32_t blitFlags) override;
  int32_t StretchFromDC(int32_t dx, int32_t dy, int32_t dw, int32_t dh, void* dc, int32_t sx,
                        int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t effect,
                        uint32_t parameter) override;
  int32_t Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx,
                  int32_t sy, int32_t sw, int32_t sh, int32_t mode, uint32_t effect,
                  uint32_t parameter, uint32_t stretchFlags) override;
  int32_t SetPalette(cPalette* palette, int32_t remap) override;
  int32_t AttachWindow(void* window) override;

 protected:
  template <typename T>
  static cSurfaceImpl* MakeSized(const cDIBSurface& prototype, int32_t width, int32_t height);
  // Makes the memory device context with the section selected (and the
  // palette's colours loaded at 8 bits); null on any GDI failure.
  void* MakeMemoryDC();
  void FreeMemoryDC();
  void LoadColourTable();

  void* memoryDC_ = nullptr;
  int32_t originX_ = 0;
  int32_t originY_ = 0;
  void* window_ = nullptr;  // the window whose context the memory one matches; null: the screen
  BitmapInfoHeader header_{};
  void* section_ = nullptr;
  void* previousBitmap_ = nullptr;
  FullScreenSwitch screen_{};
};
// Base, four context fields, header, section and previous bitmap, full-screen state.
OMB_PIN_SIZE(cDIBSurface, 96 + 16 + 40 + 8 + 180);

class cDIBDCSurface final : public cDIBSurface {
 public:
  cDIBDCSurface() = default;
  void Delete(uint32_t flags) override;
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override;
  int32_t SetDepthAndPalette(int32_t depth) override;
  int32_t GetKind() override;
  void SetDCOrigin(int32_t x, int32_t y) override;
  void* GetDC() override;
  void ReleaseDC(void* dc) override;
};
