// A host program's view of application objects, banks, fonts and the app
// palette: Ombrel.dll loaded by name, every call by ordinal, the records read
// at the offsets the interface gives.
#include <windows.h>

#include "WindowHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

// The application record as hosts address it.
constexpr size_t kAppDepth = 4;
constexpr size_t kAppFlags = 6;
constexpr size_t kAppBlackIndex = 8;
constexpr size_t kAppRows = 16;
constexpr size_t kAppPrototype = 48;
constexpr size_t kAppMainVolume = 52;
constexpr size_t kAppChannelCount = 60;
constexpr size_t kAppChannels = 64;
constexpr size_t kChannelBytes = 28;
constexpr size_t kChannelVolume = 16;
constexpr size_t kAppMidiDevice = 960;
constexpr size_t kAppWindows = 992;

struct FontInfo {
  uint32_t checksum;
  int32_t refs;
  uint32_t dataSize;
  LOGFONTA logFont;
};
static_assert(sizeof(FontInfo) == 72, "font info record");

struct LogFont16 {
  int16_t height, width, escapement, orientation, weight;
  uint8_t bytes[8];
  char faceName[32];
};
static_assert(sizeof(LogFont16) == 50, "16-bit LOGFONT");

class AppByOrdinal : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError(); }

  OrdinalLibrary lib;
  void*(WINAPI* appCreate)(void*, void*) = lib.Get<void*(WINAPI*)(void*, void*)>(2);
  int32_t(WINAPI* appSetDepth)(void*, int32_t) = lib.Get<int32_t(WINAPI*)(void*, int32_t)>(3);
  void(WINAPI* appDestroy)(void*) = lib.Get<void(WINAPI*)(void*)>(4);
};

// The depth code a host expects for the display it runs on.
int32_t DisplayDepthCode() {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  if (bits == 16) {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmBitsPerPel == 15) return 6;
    return 7;
  }
  if (bits <= 4) return 3;  // code 2, which an app cannot take
  if (bits <= 8) return 3;
  if (bits < 16) return 6;
  if (bits <= 24) return 4;
  return 8;
}

TEST_F(AppByOrdinal, NewAppRecordAsAHostReadsIt) {
  auto libraryGetBuild = lib.Get<int32_t(WINAPI*)()>(11);
  auto appGetBlackIndex = lib.Get<int32_t(WINAPI*)(void*)>(122);
  auto listCount = lib.Get<int32_t(OMB_THISCALL*)(const void*)>(564);
  EXPECT_EQ(libraryGetBuild(), 248);

  HINSTANCE self = GetModuleHandleA(nullptr);
  void* app = appCreate(self, nullptr);
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(Field<void*>(app, 0), self);
  EXPECT_EQ(Field<uint16_t>(app, kAppDepth), 3);
  EXPECT_EQ(Field<uint16_t>(app, kAppFlags), 0);
  EXPECT_EQ(Field<int32_t>(app, kAppBlackIndex), appGetBlackIndex(app));
  for (int row = 0; row < 6; ++row) EXPECT_EQ(Field<void*>(app, kAppRows + 4 * row), nullptr);
  EXPECT_NE(Field<void*>(app, kAppPrototype), nullptr);
  EXPECT_EQ(Field<int32_t>(app, kAppMainVolume), 100);
  EXPECT_EQ(Field<int32_t>(app, kAppChannelCount), 32);
  for (int c = 0; c < 32; ++c)
    EXPECT_EQ(Field<int32_t>(app, kAppChannels + c * kChannelBytes + kChannelVolume), 100) << c;
  EXPECT_EQ(Field<int32_t>(app, kAppMidiDevice), -1);
  EXPECT_EQ(listCount(static_cast<uint8_t*>(app) + kAppWindows), 0);
  appDestroy(app);
  appDestroy(nullptr);
}

// The depth code of a bit depth as DirectDraw reports it.
int32_t DirectDrawDepthCode(int bits) {
  if (bits <= 8) return 3;
  if (bits <= 15) return 6;
  if (bits == 16) return 7;
  if (bits <= 24) return 4;
  return 8;
}

TEST_F(AppByOrdinal, DepthOption0x20FollowsDirectDrawWhereItWorks) {
  using Prototype = int32_t(WINAPI*)(void**, int32_t, int32_t, int32_t);
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  void* prototype = nullptr;
  // The screen prototype with DirectDraw answers the display's depth only
  // where DirectDraw works.
  const bool directDraw = lib.Get<Prototype>(172)(&prototype, bits, 1, 2) != 0;
  void* app = appCreate(nullptr, nullptr);
  ASSERT_NE(app, nullptr);
  if (directDraw) {
    EXPECT_EQ(appSetDepth(app, 0x123), DirectDrawDepthCode(bits) | 0x120);
    EXPECT_EQ(Field<uint16_t>(app, kAppDepth), DirectDrawDepthCode(bits) | 0x120);
  } else {
    EXPECT_EQ(appSetDepth(app, 0x123), 3);
  }
  appDestroy(app);
}

TEST_F(AppByOrdinal, DepthFollowsTheRealDisplayAndTheCodeRules) {
  void* app = appCreate(nullptr, nullptr);
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(appSetDepth(app, 0), DisplayDepthCode());
  EXPECT_EQ(appSetDepth(app, 4), 4);
  EXPECT_EQ(Field<uint16_t>(app, kAppDepth), 4);
  EXPECT_EQ(appSetDepth(app, 0x1D6), 6);
  EXPECT_EQ(appSetDepth(app, 5), 3);
  EXPECT_EQ(appSetDepth(app, 12), 3);
  EXPECT_EQ(appSetDepth(nullptr, 4), 0);
  appDestroy(app);
}

TEST_F(AppByOrdinal, FontsLiveInBankRowFive) {
  auto fontAdd = lib.Get<int32_t(WINAPI*)(void*, uint32_t, const FontInfo*, int32_t, int32_t)>(175);
  auto fontRelease = lib.Get<int32_t(WINAPI*)(void*, int32_t)>(176);
  auto fontCreateHandle = lib.Get<HFONT(WINAPI*)(void*, int32_t)>(39);
  auto fontCreateFrom16 = lib.Get<HFONT(WINAPI*)(const LogFont16*)>(181);
  auto logFontTo16 = lib.Get<void(WINAPI*)(LogFont16*, const LOGFONTA*)>(180);
  auto logFontFrom16 = lib.Get<void(WINAPI*)(LOGFONTA*, const LogFont16*)>(179);
  auto bankGetCount = lib.Get<int32_t(WINAPI*)(void*, uint32_t)>(10);
  auto bankGetEntry = lib.Get<const uint32_t*(WINAPI*)(void*, uint32_t, uint32_t)>(9);
  auto bankFreeRow = lib.Get<int32_t(WINAPI*)(void*, int32_t)>(5);

  void* app = appCreate(nullptr, nullptr);
  ASSERT_NE(app, nullptr);
  FontInfo info{};
  info.logFont.lfHeight = -12;
  info.logFont.lfWeight = FW_BOLD;
  std::strcpy(info.logFont.lfFaceName, "Arial");
  const int32_t id = fontAdd(app, 0x100, &info, 0, 0);
  ASSERT_EQ(id, 1);
  EXPECT_EQ(fontAdd(app, 0x100, &info, 0, 0), id);
  EXPECT_EQ(bankGetCount(app, 5), 2);  // the shared duplicate's id was used and given back
  const uint32_t* entry = bankGetEntry(app, 5, 1);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry[0], 80u);
  EXPECT_EQ(entry[2], 2u);

  HFONT font = fontCreateHandle(app, id);
  ASSERT_NE(font, nullptr);
  LOGFONTA back{};
  ASSERT_EQ(GetObjectA(font, sizeof(back), &back), int(sizeof(back)));
  EXPECT_EQ(std::memcmp(&back, &info.logFont, sizeof(back)), 0);
  DeleteObject(font);
  EXPECT_EQ(fontCreateHandle(app, 0), nullptr);

  LogFont16 narrow{};
  logFontTo16(&narrow, &info.logFont);
  EXPECT_EQ(narrow.height, -12);
  LOGFONTA wide{};
  logFontFrom16(&wide, &narrow);
  EXPECT_EQ(wide.lfHeight, -12);
  EXPECT_STREQ(wide.lfFaceName, "Arial");
  HFONT fromNarrow = fontCreateFrom16(&narrow);
  ASSERT_NE(fromNarrow, nullptr);
  ASSERT_EQ(GetObjectA(fromNarrow, sizeof(back), &back), int(sizeof(back)));
  EXPECT_EQ(back.lfHeight, -12);
  EXPECT_EQ(back.lfWeight, FW_BOLD);
  DeleteObject(fromNarrow);

  EXPECT_EQ(fontRelease(app, id), 1);
  void* prototype = Field<void*>(app, kAppPrototype);
  for (int32_t row : {6, 8, -2}) bankFreeRow(app, row);  // no such rows: nothing happens
  EXPECT_EQ(Field<void*>(app, kAppPrototype), prototype);
  EXPECT_EQ(bankGetCount(app, 5), 2);
  bankFreeRow(app, 5);
  EXPECT_EQ(bankGetCount(app, 5), 0);
  EXPECT_EQ(Field<void*>(app, kAppRows + 4 * 5), nullptr);
  appDestroy(app);
}

TEST_F(AppByOrdinal, AppPaletteComesFromTheHostsPaletteHandle) {
  auto appIndexToColour = lib.Get<uint32_t(WINAPI*)(void*, int32_t, int32_t)>(118);
  auto appSetPalette = lib.Get<void(WINAPI*)(void*, HPALETTE)>(121);
  auto appColourToIndex = lib.Get<int32_t(WINAPI*)(void*, int32_t, uint32_t)>(157);

  struct {
    WORD version;
    WORD count;
    PALETTEENTRY entries[256];
  } log{0x300, 256, {}};
  for (int i = 0; i < 256; ++i) log.entries[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), BYTE(i / 2), 0};
  HPALETTE handle = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
  ASSERT_NE(handle, nullptr);

  void* app = appCreate(nullptr, handle);
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(appIndexToColour(app, 3, 100), uint32_t(RGB(100, 155, 50)));
  EXPECT_EQ(appColourToIndex(app, 3, RGB(200, 55, 100)), 200);
  const uint32_t libraryEntry = appIndexToColour(nullptr, 3, 100);
  // The handle the app palette already holds changes nothing.
  appSetPalette(app, handle);
  EXPECT_EQ(appIndexToColour(app, 3, 100), uint32_t(RGB(100, 155, 50)));
  // No handle: the library's default colours.
  appSetPalette(app, nullptr);
  EXPECT_EQ(appIndexToColour(app, 3, 100), libraryEntry);
  // The palette that took the handle owned it and went with its last user.
  EXPECT_EQ(GetObjectType(handle), 0u);
  appDestroy(app);
}

// What a thread that was running before the library was loaded finds.
struct LateThread {
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const OrdinalLibrary* lib = nullptr;
  bool madeApp = false, madeWindow = false, foundWindow = false;
};

DWORD WINAPI RunLateThread(void* p) {
  auto* t = static_cast<LateThread*>(p);
  WaitForSingleObject(t->go, INFINITE);
  const OrdinalLibrary& lib = *t->lib;
  void* app = lib.Get<void*(WINAPI*)(void*, void*)>(2)(GetModuleHandleA(nullptr), nullptr);
  t->madeApp = app != nullptr;
  if (app == nullptr) return 0;
  WindowDescriptor76 d =
      Descriptor(RegisterLibraryClass(lib.Get<WNDPROC>(22), "LateThreadClass"), -64, -48, -64, -48, 0);
  d.x = d.y = 0;
  d.title = "late";
  void* window = lib.Get<void*(WINAPI*)(void*, const WindowDescriptor76*)>(12)(app, &d);
  t->madeWindow = reinterpret_cast<uintptr_t>(window) > 2;
  if (t->madeWindow) {
    HWND hwnd = Field<HWND>(window, 4);
    t->foundWindow = lib.Get<void*(WINAPI*)(HWND)>(15)(hwnd) == window;
  }
  lib.Get<void(WINAPI*)(void*)>(4)(app);
  UnregisterClassA("LateThreadClass", GetModuleHandleA(nullptr));
  return 0;
}

TEST(AppThreads, AThreadRunningBeforeTheLibraryLoadedGetsItsListOnItsFirstApp) {
  LateThread late;
  HANDLE thread = CreateThread(nullptr, 0, RunLateThread, &late, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  {
    OrdinalLibrary lib;
    ASSERT_TRUE(lib.Loaded());
    late.lib = &lib;
    SetEvent(late.go);
    ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
  }
  CloseHandle(thread);
  CloseHandle(late.go);
  EXPECT_TRUE(late.madeApp);
  EXPECT_TRUE(late.madeWindow);
  EXPECT_TRUE(late.foundWindow);
}

}  // namespace
