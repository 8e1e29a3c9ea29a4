// A host program using the DirectDraw back end by ordinal: surfaces in video
// and system memory drawn like memory surfaces, the lock and device-context
// rules, DirectDraw's own copies and fills, the screen copy, the beam, and one
// DirectDraw object per thread.
#include <windows.h>

#include "DisplayApi.h"
#include "DisplayHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int32_t kTypeSystemMem = 3;
constexpr int32_t kOptionDirectDraw = 2;

std::vector<std::vector<int32_t>> modesSeenDD;

int32_t WINAPI CollectModeDD(const int32_t* mode, uint32_t stopAfter) {
  modesSeenDD.push_back({mode[0], mode[1], mode[2]});
  return modesSeenDD.size() < stopAfter ? 1 : 0;
}

class DirectDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError();
    depth = DisplayBitsPerPixel();
    Handle* p = nullptr;
    const int32_t found = api().getPrototype(&p, depth, kTypeScreen, kOptionDirectDraw);
    ASSERT_NE(p, nullptr);
    if (!found && ImplSlot(*p, 13) != 5)
      GTEST_SKIP() << "DirectDrawCreate or IDirectDraw2::CreateSurface refused under this Wine";
    ASSERT_TRUE(found) << "the DirectDraw prototype must answer the display's depth " << depth;
  }
  const DisplayApi& api() {
    if (api_ == nullptr) api_.reset(new DisplayApi(lib));
    return *api_;
  }
  Handle* Prototype(int32_t type) {
    Handle* p = nullptr;
    EXPECT_TRUE(api().getPrototype(&p, depth, type, kOptionDirectDraw)) << type;
    return p;
  }
  Library lib;
  int depth = 0;
  std::unique_ptr<DisplayApi> api_;
};

TEST_F(DirectDraw, SurfacesDrawLikeMemorySurfaces) {
  const DisplayApi& a = api();
  // Another depth than the display's is not what DirectDraw surfaces get.
  Handle* other = nullptr;
  EXPECT_FALSE(a.getPrototype(&other, depth == 16 ? 32 : 16, kTypeScreen, kOptionDirectDraw));

  OwnedHandle ref(a), refSrc(a), refTurned(a);
  Handle* memory = a.Prototype(depth, kTypeMemory);
  ASSERT_NE(a.create(&ref, 40, 30, memory), nullptr);
  ASSERT_NE(a.create(&refSrc, 8, 8, memory), nullptr);
  ASSERT_NE(a.create(&refTurned, 8, 8, memory), nullptr);
  DrawScript(a, &ref, &refSrc, &refTurned);
  // A DirectDraw copy partly outside the destination.
  EXPECT_TRUE(a.blit(&refSrc, &ref, -3, 26, 0, 0, 8, 8, 0, 0, 0, 0));
  const std::vector<uint32_t> expected = a.Pixels(&ref, 40, 30);
  const std::vector<uint8_t> expectedMask = CollisionMask(a, &ref, 0x302010);

  for (int32_t type : {kTypeScreen, kTypeSystemMem}) {
    SCOPED_TRACE(type);
    OwnedHandle dest(a), src(a), turned(a);
    ASSERT_NE(a.create(&dest, 40, 30, Prototype(type)), nullptr);
    ASSERT_NE(a.create(&src, 8, 8, Prototype(type)), nullptr);
    ASSERT_NE(a.create(&turned, 8, 8, Prototype(type)), nullptr);
    EXPECT_EQ(a.getType(&dest), type);
    EXPECT_EQ(ImplSlot(*dest, 13), type == kTypeScreen ? 5 : 6);
    DrawScript(a, &dest, &src, &turned);
    EXPECT_TRUE(a.blit(&src, &dest, -3, 26, 0, 0, 8, 8, 0, 0, 0, 0));  // BltFast
    EXPECT_EQ(a.Pixels(&dest, 40, 30), expected);
    EXPECT_EQ(CollisionMask(a, &dest, 0x302010), expectedMask);
    // A fill of 0 is native 0 at every depth.
    ASSERT_TRUE(a.fillAll(&dest, 0));
    uint32_t value = 0xDEAD;
    ASSERT_TRUE(a.getPixelNative(&dest, 3, 3, &value));
    EXPECT_EQ(value, 0u);
    uint32_t info[7] = {};
    EXPECT_EQ(a.getDriverInfo(&dest, info), 28);
    EXPECT_EQ(info[0], 28u);
    EXPECT_NE(info[1], 0u);  // the thread's DirectDraw object
    EXPECT_NE(info[2], 0u);  // and primary
    EXPECT_EQ(info[6], type == kTypeScreen ? 1u : 0u);
  }
}

// Locked or with its context out, never both; nested calls are counted.
TEST_F(DirectDraw, LockAndContextStates) {
  const DisplayApi& a = api();
  OwnedHandle h(a);
  ASSERT_NE(a.create(&h, 16, 16, Prototype(kTypeScreen)), nullptr);
  uint8_t* first = a.lockBuffer(&h);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(a.lockBuffer(&h), first);
  a.unlockBuffer(&h, first);
  EXPECT_EQ(a.getDC(&h), nullptr) << "still locked once";
  a.unlockBuffer(&h, first);
  HDC dc = a.getDC(&h);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(a.getDC(&h), dc);
  EXPECT_EQ(a.lockBuffer(&h), nullptr) << "the context is out";
  a.releaseDC(&h, dc);
  EXPECT_EQ(a.lockBuffer(&h), nullptr) << "still out once";
  a.releaseDC(&h, dc);
  uint8_t* again = a.lockBuffer(&h);
  EXPECT_NE(again, nullptr);
  a.unlockBuffer(&h, again);
}

TEST_F(DirectDraw, ScreenCopiesAndTheBeam) {
  const DisplayApi& a = api();
  HostWindow window(64, 48);
  ASSERT_NE(window.get(), nullptr);
  OwnedHandle screen(a), dd(a);
  ASSERT_NE(a.createOnWindow(&screen, window.get(), 0), nullptr);
  ASSERT_NE(a.create(&dd, 8, 8, Prototype(kTypeScreen)), nullptr);
  EXPECT_EQ(a.attachWindow(&dd, window.get()), 1);
  ASSERT_TRUE(a.fillAll(&dd, 0x00FF00));

  HDC wdc = GetDC(window.get());
  RECT all{0, 0, 64, 48};
  FillRect(wdc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(window.get(), wdc);
  const std::vector<uint32_t> before = ReadBackWindow(window.get(), 0, 0, 64, 48);
  // Wholly outside the source: 1, and nothing drawn.
  EXPECT_EQ(a.blit(&dd, &screen, 4, 4, 100, 0, 8, 8, 0, 0, 0, 0), 1);
  EXPECT_EQ(ReadBackWindow(window.get(), 0, 0, 64, 48), before);

  // The beam: a scan line or the vertical blank, and a wait that returns.
  const int32_t line = ImplSlot(*dd, 9);
  EXPECT_TRUE(line >= 0 || line == 32000) << line;
  EXPECT_EQ(a.waitVBlank(&dd), 1);

  // No flip chain: no back buffer outside an exclusive full screen.
  OwnedHandle back(a);
  EXPECT_EQ(a.createBackBuffer(&back), 0);
  EXPECT_EQ(a.isBackBuffer(&dd), 0);
}

// Shown on the window through the screen: copied at the window's client
// origin and stretched through device contexts, both equal to the memory result.
TEST_F(DirectDraw, WindowShowsDirectDrawSurfaces) {
  const DisplayApi& a = api();
  HostWindow window(120, 80);
  ASSERT_NE(window.get(), nullptr);
  OwnedHandle screen(a);
  ASSERT_NE(a.createOnWindow(&screen, window.get(), 0), nullptr);

  std::vector<uint32_t> expected, expectedBig;
  DrawMemoryReference(a, depth, &expected, &expectedBig);
  ASSERT_FALSE(HasFatalFailure());

  for (int32_t type : {kTypeScreen, kTypeSystemMem}) {
    SCOPED_TRACE(type);
    OwnedHandle dest(a), src(a), turned(a);
    ASSERT_NE(a.create(&dest, 40, 30, Prototype(type)), nullptr);
    ASSERT_NE(a.create(&src, 8, 8, Prototype(type)), nullptr);
    ASSERT_NE(a.create(&turned, 8, 8, Prototype(type)), nullptr);
    DrawScript(a, &dest, &src, &turned);
    EXPECT_EQ(a.attachWindow(&dest, window.get()), 1);
    PaintWindowBlack(window.get());
    ASSERT_TRUE(a.blit(&dest, &screen, 5, 6, 0, 0, 40, 30, 0, 0, 0, 0));
    ASSERT_TRUE(a.stretch(&dest, &screen, 60, 6, 40, 30, 0, 0, 20, 15, 0, 0, 0, 0));
    ExpectWindowShows(window.get(), 5, 6, 40, 30, expected);
    ExpectWindowShows(window.get(), 60, 6, 40, 30, expectedBig);
    ExpectWindowBlackOutside(window.get(), 120, 80, {RECT{5, 6, 45, 36}, RECT{60, 6, 100, 36}});
  }
}

TEST_F(DirectDraw, ModesAndExclusiveFullScreen) {
  const DisplayApi& a = api();
  DEVMODEA current{};
  current.dmSize = sizeof current;
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
  const int32_t w = int32_t(current.dmPelsWidth), h = int32_t(current.dmPelsHeight);
  const int32_t bits = int32_t(current.dmBitsPerPel);
  OwnedHandle dd(a);
  ASSERT_NE(a.create(&dd, 8, 8, Prototype(kTypeScreen)), nullptr);

  modesSeenDD.clear();
  a.enumDisplayModes(&dd, reinterpret_cast<void*>(CollectModeDD), 1000);
  bool currentSeen = false;
  for (const auto& m : modesSeenDD) currentSeen = currentSeen || (m[0] == w && m[1] == h && m[2] == bits);
  EXPECT_TRUE(currentSeen) << modesSeenDD.size() << " modes";
  if (modesSeenDD.size() > 1) {
    modesSeenDD.clear();
    a.enumDisplayModes(&dd, reinterpret_cast<void*>(CollectModeDD), 1);
    EXPECT_EQ(modesSeenDD.size(), 1u);
  }

  HostWindow window(200, 150);
  ASSERT_NE(window.get(), nullptr);
  const LONG style = GetWindowLongA(window.get(), GWL_STYLE);
  RECT before{};
  GetWindowRect(window.get(), &before);
  if (!a.enterFullScreen(&dd, window.get(), w, h, bits))
    GTEST_SKIP() << "IDirectDraw2::SetCooperativeLevel or SetDisplayMode refused the current mode";
  PumpWindowMessages();
  EXPECT_EQ(DWORD(GetWindowLongA(window.get(), GWL_STYLE)) & ~DWORD(WS_VISIBLE), 0x86000000u);
  // The surface became the system-memory surface of the full-screen size.
  const auto* view = static_cast<const int32_t*>((*dd).impl) + 1;
  EXPECT_EQ(view[0], w);
  EXPECT_EQ(view[1], h);
  OwnedHandle replacement(a);
  ASSERT_NE(a.create(&replacement, 8, 8, Prototype(kTypeScreen)), nullptr);
  EXPECT_EQ(a.copyScreenState(&replacement, &dd), 0);
  a.leaveFullScreen(&replacement, window.get());
  PumpWindowMessages();
  EXPECT_EQ(GetWindowLongA(window.get(), GWL_STYLE) & ~WS_VISIBLE, style & ~WS_VISIBLE);
  RECT after{};
  GetWindowRect(window.get(), &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.bottom, before.bottom);
}

struct ThreadResult {
  uint32_t directDraw = 0;
  uint32_t primary = 0;
  int32_t made = 0;
};

DWORD WINAPI OtherThread(void* arg) {
  auto* result = static_cast<ThreadResult*>(arg);
  Library lib;
  DisplayApi a(lib);
  auto init = lib.Get<void(WINAPI*)()>(594);
  auto exit = lib.Get<void(WINAPI*)()>(461);
  init();
  {
    Handle* p = nullptr;
    a.getPrototype(&p, DisplayBitsPerPixel(), kTypeScreen, kOptionDirectDraw);
    OwnedHandle h(a);
    if (p != nullptr && a.create(&h, 4, 4, p) != nullptr) {
      uint32_t info[7] = {};
      a.getDriverInfo(&h, info);
      result->directDraw = info[1];
      result->primary = info[2];
      result->made = 1;
    }
  }
  exit();
  return 0;
}

TEST_F(DirectDraw, EachThreadHasItsOwnDirectDraw) {
  const DisplayApi& a = api();
  OwnedHandle h(a);
  ASSERT_NE(a.create(&h, 4, 4, Prototype(kTypeScreen)), nullptr);
  uint32_t mine[7] = {};
  a.getDriverInfo(&h, mine);
  ThreadResult other;
  HANDLE thread = CreateThread(nullptr, 0, OtherThread, &other, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(thread, 30000);
  CloseHandle(thread);
  ASSERT_EQ(other.made, 1);
  EXPECT_NE(other.directDraw, 0u);
  EXPECT_NE(other.directDraw, mine[1]);
  EXPECT_NE(other.primary, mine[2]);
  // This thread's record is untouched by the other's.
  uint32_t again[7] = {};
  a.getDriverInfo(&h, again);
  EXPECT_EQ(again[1], mine[1]);
}

}  // namespace
