#pragma once

// The surface handle's display members as the display test programs bind
// them by ordinal, a handle in the host's own storage, and the drawing script
// every back end must render like a memory surface.
#include <windows.h>

#include "HostHandle.h"
#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using Library = OrdinalLibrary;

constexpr int32_t kTypeMemory = 0;
constexpr int32_t kTypeScreen = 1;
constexpr int32_t kTypeOwnDC = 2;

struct DisplayApi {
  explicit DisplayApi(const Library& lib)
      : getPrototype(lib.Get<int32_t(WINAPI*)(Handle**, int32_t, int32_t, int32_t)>(172)),
        ctor(lib.Get<Handle*(OMB_THISCALL*)(Handle*)>(264)),
        dtor(lib.Get<void(OMB_THISCALL*)(Handle*)>(286)),
        create(lib.Get<void*(OMB_THISCALL*)(Handle*, int32_t, int32_t, const Handle*)>(372)),
        createOnDC(lib.Get<void*(OMB_THISCALL*)(Handle*, HDC)>(373)),
        createOnWindow(lib.Get<void*(OMB_THISCALL*)(Handle*, HWND, int32_t)>(374)),
        getType(lib.Get<int32_t(OMB_THISCALL*)(const Handle*)>(573)),
        setOrigin(lib.Get<void(OMB_THISCALL*)(Handle*, int32_t, int32_t)>(736)),
        getClipRect(
            lib.Get<void(OMB_THISCALL*)(Handle*, int32_t*, int32_t*, int32_t*, int32_t*)>(476)),
        setClipRect(lib.Get<void(OMB_THISCALL*)(Handle*, int32_t, int32_t, int32_t, int32_t)>(724)),
        setPixel(lib.Get<void(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t)>(745)),
        getPixel(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t*)>(554)),
        fillRect(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, int32_t, int32_t,
                                                uint32_t)>(443)),
        fillAll(lib.Get<int32_t(OMB_THISCALL*)(Handle*, uint32_t)>(445)),
        setTransparentColour(lib.Get<void(OMB_THISCALL*)(Handle*, uint32_t)>(753)),
        blit(lib.Get<int32_t(OMB_THISCALL*)(Handle*, Handle*, int32_t, int32_t, int32_t, int32_t,
                                            int32_t, int32_t, int32_t, uint32_t, uint32_t,
                                            uint32_t)>(343)),
        stretch(lib.Get<int32_t(OMB_THISCALL*)(Handle*, Handle*, int32_t, int32_t, int32_t,
                                               int32_t, int32_t, int32_t, int32_t, int32_t,
                                               int32_t, uint32_t, uint32_t, uint32_t)>(756)),
        mirrorXAll(lib.Get<int32_t(OMB_THISCALL*)(Handle*)>(698)),
        rotateQuarter(lib.Get<int32_t(OMB_THISCALL*)(Handle*, Handle*, int32_t)>(701)),
        getDC(lib.Get<HDC(OMB_THISCALL*)(Handle*)>(484)),
        releaseDC(lib.Get<void(OMB_THISCALL*)(Handle*, HDC)>(682)),
        enumDisplayModes(lib.Get<void(OMB_THISCALL*)(Handle*, void*, uint32_t)>(418)),
        enterFullScreen(lib.Get<int32_t(OMB_THISCALL*)(Handle*, HWND, int32_t, int32_t, int32_t)>(750)),
        leaveFullScreen(lib.Get<void(OMB_THISCALL*)(Handle*, HWND)>(695)),
        copyScreenState(lib.Get<int32_t(OMB_THISCALL*)(Handle*, const Handle*)>(361)),
        createAlpha(lib.Get<uint8_t*(OMB_THISCALL*)(Handle*)>(375)),
        setAlpha(lib.Get<int32_t(OMB_THISCALL*)(Handle*, const uint8_t*, int32_t)>(717)),
        buildCollisionMask(lib.Get<uint32_t(OMB_THISCALL*)(Handle*, void*, uint32_t)>(384)),
        isValid(lib.Get<int32_t(OMB_THISCALL*)(const Handle*)>(610)),
        getLastError(lib.Get<uint32_t(OMB_THISCALL*)(const Handle*)>(523)),
        lockBuffer(lib.Get<uint8_t*(OMB_THISCALL*)(Handle*)>(620)),
        unlockBuffer(lib.Get<void(OMB_THISCALL*)(Handle*, void*)>(762)),
        getDriverInfo(lib.Get<int32_t(OMB_THISCALL*)(Handle*, void*)>(494)),
        getPixelNative(lib.Get<int32_t(OMB_THISCALL*)(Handle*, int32_t, int32_t, uint32_t*)>(553)),
        attachWindow(lib.Get<int32_t(OMB_THISCALL*)(Handle*, HWND)>(340)),
        waitVBlank(lib.Get<int32_t(OMB_THISCALL*)(Handle*)>(772)),
        createBackBuffer(lib.Get<int32_t(OMB_THISCALL*)(Handle*)>(387)),
        isBackBuffer(lib.Get<int32_t(OMB_THISCALL*)(Handle*)>(608)),
        copyDCScaled(lib.Get<int32_t(WINAPI*)(HDC, HDC, int32_t, int32_t, int32_t, int32_t,
                                              int32_t, int32_t, int32_t, int32_t, int32_t,
                                              int32_t)>(351)) {}

  int32_t(WINAPI* getPrototype)(Handle**, int32_t, int32_t, int32_t);
  Handle*(OMB_THISCALL* ctor)(Handle*);
  void(OMB_THISCALL* dtor)(Handle*);
  void*(OMB_THISCALL* create)(Handle*, int32_t, int32_t, const Handle*);
  void*(OMB_THISCALL* createOnDC)(Handle*, HDC);
  void*(OMB_THISCALL* createOnWindow)(Handle*, HWND, int32_t);
  int32_t(OMB_THISCALL* getType)(const Handle*);
  void(OMB_THISCALL* setOrigin)(Handle*, int32_t, int32_t);
  void(OMB_THISCALL* getClipRect)(Handle*, int32_t*, int32_t*, int32_t*, int32_t*);
  void(OMB_THISCALL* setClipRect)(Handle*, int32_t, int32_t, int32_t, int32_t);
  void(OMB_THISCALL* setPixel)(Handle*, int32_t, int32_t, uint32_t);
  int32_t(OMB_THISCALL* getPixel)(Handle*, int32_t, int32_t, uint32_t*);
  int32_t(OMB_THISCALL* fillRect)(Handle*, int32_t, int32_t, int32_t, int32_t, uint32_t);
  int32_t(OMB_THISCALL* fillAll)(Handle*, uint32_t);
  void(OMB_THISCALL* setTransparentColour)(Handle*, uint32_t);
  int32_t(OMB_THISCALL* blit)(Handle*, Handle*, int32_t, int32_t, int32_t, int32_t, int32_t,
                              int32_t, int32_t, uint32_t, uint32_t, uint32_t);
  int32_t(OMB_THISCALL* stretch)(Handle*, Handle*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                 int32_t, int32_t, int32_t, int32_t, uint32_t, uint32_t,
                                 uint32_t);
  int32_t(OMB_THISCALL* mirrorXAll)(Handle*);
  int32_t(OMB_THISCALL* rotateQuarter)(Handle*, Handle*, int32_t);
  HDC(OMB_THISCALL* getDC)(Handle*);
  void(OMB_THISCALL* releaseDC)(Handle*, HDC);
  void(OMB_THISCALL* enumDisplayModes)(Handle*, void*, uint32_t);
  int32_t(OMB_THISCALL* enterFullScreen)(Handle*, HWND, int32_t, int32_t, int32_t);
  void(OMB_THISCALL* leaveFullScreen)(Handle*, HWND);
  int32_t(OMB_THISCALL* copyScreenState)(Handle*, const Handle*);
  uint8_t*(OMB_THISCALL* createAlpha)(Handle*);
  int32_t(OMB_THISCALL* setAlpha)(Handle*, const uint8_t*, int32_t);
  uint32_t(OMB_THISCALL* buildCollisionMask)(Handle*, void*, uint32_t);
  int32_t(OMB_THISCALL* isValid)(const Handle*);
  uint32_t(OMB_THISCALL* getLastError)(const Handle*);
  uint8_t*(OMB_THISCALL* lockBuffer)(Handle*);
  void(OMB_THISCALL* unlockBuffer)(Handle*, void*);
  int32_t(OMB_THISCALL* getDriverInfo)(Handle*, void*);
  int32_t(OMB_THISCALL* getPixelNative)(Handle*, int32_t, int32_t, uint32_t*);
  int32_t(OMB_THISCALL* attachWindow)(Handle*, HWND);
  int32_t(OMB_THISCALL* waitVBlank)(Handle*);
  int32_t(OMB_THISCALL* createBackBuffer)(Handle*);
  int32_t(OMB_THISCALL* isBackBuffer)(Handle*);
  int32_t(WINAPI* copyDCScaled)(HDC, HDC, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                                int32_t, int32_t, int32_t, int32_t);

  Handle* Prototype(int32_t depth, int32_t type) const {
    Handle* p = nullptr;
    EXPECT_TRUE(getPrototype(&p, depth, type, 0)) << depth << " type " << type;
    return p;
  }
  std::vector<uint32_t> Pixels(Handle* h, int width, int height) const {
    std::vector<uint32_t> out;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        uint32_t c = 0xDEADBEEF;
        EXPECT_TRUE(getPixel(h, x, y, &c)) << x << "," << y;
        out.push_back(c);
      }
    return out;
  }
};

// A handle in the host's own storage, destroyed on scope exit.
class OwnedHandle {
 public:
  explicit OwnedHandle(const DisplayApi& api) : api_(api) { api_.ctor(&h_); }
  ~OwnedHandle() { api_.dtor(&h_); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  Handle* operator&() { return &h_; }
  Handle& operator*() { return h_; }

 private:
  const DisplayApi& api_;
  Handle h_{};
};

// Slot `slot` of the implementation's table, called without arguments.
inline int32_t ImplSlot(const Handle& h, int slot) {
  void** table = *static_cast<void***>(h.impl);
  return reinterpret_cast<int32_t(OMB_THISCALL*)(void*)>(table[slot])(h.impl);
}

// Slot 16 of the implementation: the device-context origin, x low, y high.
inline uint32_t ImplDCOrigin(const Handle& h) {
  void** table = *static_cast<void***>(h.impl);
  return reinterpret_cast<uint32_t(OMB_THISCALL*)(void*)>(table[16])(h.impl);
}

// The drawing script every back end must render identically: fills, keyed,
// ink and blend blits, a stretch, a mirror and a quarter turn.
inline void DrawScript(const DisplayApi& api, Handle* dest, Handle* src, Handle* turned) {
  ASSERT_TRUE(api.fillAll(src, 0x000000));
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      if ((x + y) % 3 != 0) api.setPixel(src, x, y, uint32_t(0x204060 + x * 0x100810 + y * 0x0C0600));
    }
  }
  api.setTransparentColour(src, 0x000000);

  ASSERT_TRUE(api.fillAll(dest, 0x00302010));
  ASSERT_TRUE(api.fillRect(dest, 2, 3, 10, 7, 0x00D0E0F0));
  EXPECT_TRUE(api.blit(src, dest, 4, 4, 0, 0, 8, 8, 1, 0, 0, 0));          // keyed
  EXPECT_TRUE(api.blit(src, dest, 14, 1, 0, 0, 8, 8, 0, 3, 0, 0));         // xor
  EXPECT_TRUE(api.blit(src, dest, 1, 14, 0, 0, 8, 8, 1, 9, 0, 0));         // keyed add
  EXPECT_TRUE(api.blit(src, dest, 20, 14, 0, 0, 8, 8, 0, 1, 64, 0));       // blend
  EXPECT_TRUE(api.stretch(src, dest, 24, 2, 16, 12, 0, 0, 8, 8, 0, 0, 0, 0));
  EXPECT_TRUE(api.mirrorXAll(dest));
  EXPECT_TRUE(api.rotateQuarter(src, turned, 1));
  EXPECT_TRUE(api.blit(turned, dest, 30, 20, 0, 0, 8, 8, 0, 0, 0, 0));
  // An alpha blit: the turned copy blended by a ramp of weights.
  ASSERT_NE(api.createAlpha(turned), nullptr);
  uint8_t ramp[8 * 8];
  for (int i = 0; i < 64; ++i) ramp[i] = uint8_t(i * 4);
  EXPECT_TRUE(api.setAlpha(turned, ramp, 8));
  EXPECT_TRUE(api.blit(turned, dest, 10, 22, 0, 0, 8, 8, 1, 0, 0, 0));
}

// The collision mask of a surface, with its size; pixels of the key are clear.
inline std::vector<uint8_t> CollisionMask(const DisplayApi& api, Handle* h, uint32_t key) {
  api.setTransparentColour(h, key);
  const uint32_t size = api.buildCollisionMask(h, nullptr, 0);
  std::vector<uint8_t> mask(size + 16, 0xAB);
  EXPECT_EQ(api.buildCollisionMask(h, mask.data(), 0), size);
  return mask;
}


// The pictures the window tests compare with, drawn on memory surfaces of
// the depth: the script (40 x 30), and its top-left quarter stretched twice.
inline void DrawMemoryReference(const DisplayApi& api, int32_t depth,
                                std::vector<uint32_t>* picture,
                                std::vector<uint32_t>* stretched) {
  OwnedHandle ref(api), refSrc(api), refTurned(api), refBig(api);
  Handle* memory = api.Prototype(depth, kTypeMemory);
  ASSERT_NE(api.create(&ref, 40, 30, memory), nullptr);
  ASSERT_NE(api.create(&refSrc, 8, 8, memory), nullptr);
  ASSERT_NE(api.create(&refTurned, 8, 8, memory), nullptr);
  ASSERT_NE(api.create(&refBig, 40, 30, memory), nullptr);
  DrawScript(api, &ref, &refSrc, &refTurned);
  ASSERT_TRUE(api.stretch(&ref, &refBig, 0, 0, 40, 30, 0, 0, 20, 15, 0, 0, 0, 0));
  *picture = api.Pixels(&ref, 40, 30);
  *stretched = api.Pixels(&refBig, 40, 30);
}
