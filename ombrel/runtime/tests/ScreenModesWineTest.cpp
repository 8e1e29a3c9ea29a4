// A host program asking the library for the display modes by ordinal, on
// whatever display it runs on (24 bits, and again at 16 and 8 bits): the
// system-palette mode is offered exactly when the display has 8 bits.
#include <windows.h>

#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

int32_t DisplayBits() {
  HDC screen = GetDC(nullptr);
  const int32_t bits = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return bits;
}

TEST(ScreenModesHost, TheSystemPaletteModeFollowsTheDisplay) {
  OrdinalLibrary lib;
  ASSERT_TRUE(lib.Loaded());
  auto listModes = lib.Get<int32_t(WINAPI*)(int32_t*, int32_t, int32_t)>(55);
  int32_t records[10][8];
  std::memset(records, 0x55, sizeof records);
  const int32_t bits = DisplayBits();
  const int32_t n = listModes(&records[0][0], 10, 0x20);
  if (bits == 8) {
    ASSERT_EQ(n, 1);
    EXPECT_EQ(records[0][0], 8);
    EXPECT_EQ(records[0][1], 8);
    EXPECT_EQ(records[0][2], 0x23);
  } else {
    EXPECT_EQ(n, 0) << bits << "-bit display";
  }
  // The plain table does not depend on the display.
  EXPECT_EQ(listModes(&records[0][0], 10, 0), 4);
  EXPECT_EQ(records[1][1], 15);
  EXPECT_EQ(listModes(&records[0][0], 3, 0), 3);
  EXPECT_EQ(listModes(&records[0][0], 0, 0x20), 0);
}

TEST(ScreenModesHost, TheVirtualScreenCoversThePrimaryScreen) {
  OrdinalLibrary lib;
  ASSERT_TRUE(lib.Loaded());
  auto virtualRect = lib.Get<void(WINAPI*)(RECT*)>(227);
  RECT r{-1, -1, -1, -1};
  virtualRect(&r);
  EXPECT_LE(r.left, 0);
  EXPECT_LE(r.top, 0);
  EXPECT_GE(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
  virtualRect(nullptr);  // nothing to write: nothing happens
}

}  // namespace
