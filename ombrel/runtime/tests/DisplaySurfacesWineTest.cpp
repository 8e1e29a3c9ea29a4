// A host program showing pictures through the library's display back ends:
// DIB-section surfaces (plain and with their own device context) drawn like
// memory surfaces, then copied and stretched onto a window's device-context
// surface; the window is read back and compared with the memory result.
// Everything is reached by ordinal.
#include <windows.h>

#include "DisplayApi.h"
#include "DisplayHost.h"
#include "HostHandle.h"
#include "OrdinalLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

class DisplaySurfaces : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lib.Loaded()) << "LoadLibrary error " << GetLastError(); }
  Library lib;
};

// Memory, DIB and own-DC DIB surfaces at every depth give the same pixels.
TEST_F(DisplaySurfaces, DibSurfacesDrawLikeMemorySurfaces) {
  DisplayApi api(lib);
  for (int32_t depth : {8, 15, 16, 24, 32}) {
    SCOPED_TRACE(depth);
    std::vector<uint32_t> reference;
    std::vector<uint8_t> referenceMask;
    for (int32_t type : {kTypeMemory, kTypeScreen, kTypeOwnDC}) {
      SCOPED_TRACE(type);
      Handle* prototype = api.Prototype(depth, type);
      ASSERT_NE(prototype, nullptr);
      OwnedHandle dest(api), src(api), turned(api);
      ASSERT_NE(api.create(&dest, 40, 30, prototype), nullptr);
      ASSERT_NE(api.create(&src, 8, 8, prototype), nullptr);
      ASSERT_NE(api.create(&turned, 8, 8, prototype), nullptr);
      EXPECT_EQ(api.getType(&dest), type);
      DrawScript(api, &dest, &src, &turned);
      const std::vector<uint32_t> pixels = api.Pixels(&dest, 40, 30);
      const std::vector<uint8_t> mask = CollisionMask(api, &dest, 0x302010);
      if (type == kTypeMemory) {
        reference = pixels;
        referenceMask = mask;
      } else {
        EXPECT_EQ(pixels, reference);
        EXPECT_EQ(mask, referenceMask);
      }
    }
  }
}

// The section as GDI sees it: the header's format and bottom-up rows.
TEST_F(DisplaySurfaces, DibSectionLayout) {
  DisplayApi api(lib);
  struct Row {
    int32_t depth;
    WORD bitCount;
    DWORD compression;
    DWORD masks[3];
  };
  const Row rows[] = {
      {8, 8, BI_RGB, {0, 0, 0}},
      {15, 16, BI_RGB, {0x7C00, 0x03E0, 0x001F}},
      {16, 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
      {24, 24, BI_RGB, {0, 0, 0}},
      {32, 32, BI_RGB, {0xFF0000, 0x00FF00, 0x0000FF}},
  };
  for (const Row& row : rows) {
    for (int32_t type : {kTypeScreen, kTypeOwnDC}) {
      SCOPED_TRACE(row.depth * 10 + type);
      OwnedHandle h(api);
      ASSERT_NE(api.create(&h, 5, 3, api.Prototype(row.depth, type)), nullptr);
      HDC dc = api.getDC(&h);
      ASSERT_NE(dc, nullptr);
      HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
      DIBSECTION section{};
      ASSERT_EQ(GetObjectA(bitmap, sizeof section, &section), int(sizeof section));
      EXPECT_EQ(section.dsBmih.biBitCount, row.bitCount);
      EXPECT_GT(section.dsBmih.biHeight, 0);  // rows stored bottom-up
      // GDI may describe a 16-bit BI_RGB section by its 5-5-5 masks.
      if (section.dsBmih.biCompression == BI_BITFIELDS) {
        EXPECT_NE(row.bitCount, 8);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(section.dsBitfields[i], row.masks[i]) << i;
      } else {
        EXPECT_EQ(section.dsBmih.biCompression, row.compression);
      }
      api.releaseDC(&h, dc);

      // Pixel (0, 0) is the first bytes of the last stored row.
      ASSERT_TRUE(api.fillAll(&h, 0));
      api.setPixel(&h, 0, 0, 0xFFFFFF);
      const auto* bits = static_cast<const uint8_t*>(section.dsBm.bmBits);
      const int stride = section.dsBm.bmWidthBytes;
      EXPECT_NE(bits[2 * stride], 0) << "last row";
      EXPECT_EQ(bits[0], 0) << "first row";
    }
  }
}

TEST_F(DisplaySurfaces, DibContextRulesAndOrigin) {
  DisplayApi api(lib);
  HostWindow window(64, 48);
  ASSERT_NE(window.get(), nullptr);
  OwnedHandle dib(api), screen(api);
  ASSERT_NE(api.create(&dib, 8, 8, api.Prototype(DisplayBitsPerPixel(), kTypeScreen)), nullptr);
  ASSERT_NE(api.createOnWindow(&screen, window.get(), 0), nullptr);

  // Two GetDC calls give one context; one ReleaseDC deletes it.
  HDC first = api.getDC(&dib);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(api.getDC(&dib), first);
  // A client's context held across a library blit stays valid.
  ASSERT_TRUE(api.fillAll(&dib, 0x0000FF));
  EXPECT_TRUE(api.blit(&dib, &screen, 0, 0, 0, 0, 8, 8, 0, 0, 0, 0));
  EXPECT_EQ(GetObjectType(first), DWORD(OBJ_MEMDC));
  EXPECT_EQ(GetPixel(first, 1, 1), RGB(255, 0, 0));
  api.releaseDC(&dib, first);
  EXPECT_EQ(GetObjectType(first), 0u) << "deleted by the one release";

  // Origin halves are signed: (-1, 2) reads 0x0002FFFF, and a blit to a
  // window handle at that origin lands one pixel right of and two above
  // where it would at (0, 0).
  api.setOrigin(&screen, -1, 2);
  EXPECT_EQ(ImplDCOrigin(*screen), 0x0002FFFFu);
  api.setOrigin(&dib, -1, 2);
  EXPECT_EQ(ImplDCOrigin(*dib), 0x0002FFFFu);
  api.setOrigin(&dib, 0, 0);
  HDC wdc = GetDC(window.get());
  RECT all{0, 0, 64, 48};
  FillRect(wdc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(window.get(), wdc);
  ASSERT_TRUE(api.fillAll(&dib, 0x00FF00));
  EXPECT_TRUE(api.blit(&dib, &screen, 20, 20, 0, 0, 4, 4, 0, 0, 0, 0));
  const std::vector<uint32_t> shown = ReadBackWindow(window.get(), 0, 0, 64, 48);
  ASSERT_EQ(shown.size(), 64u * 48u);
  auto at = [&](int x, int y) { return shown[size_t(y) * 64 + x]; };
  EXPECT_EQ(at(21, 18), 0x00FF00u);
  EXPECT_EQ(at(24, 21), 0x00FF00u);
  EXPECT_EQ(at(20, 18), 0u);
  EXPECT_EQ(at(25, 22), 0u);
}

TEST_F(DisplaySurfaces, DcSurfaceClipRegion) {
  DisplayApi api(lib);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  {
    OwnedHandle h(api);
    ASSERT_NE(api.createOnDC(&h, memory), nullptr);
    EXPECT_EQ(api.getType(&h), kTypeMemory);
    int32_t x = -1, y = -1, w = -1, hgt = -1;
    api.getClipRect(&h, &x, &y, &w, &hgt);
    EXPECT_EQ(w, 32);
    EXPECT_EQ(hgt, 32);
    // The clip region only shrinks; two disjoint rectangles leave it empty.
    api.setClipRect(&h, 2, 2, 4, 4);
    api.getClipRect(&h, &x, &y, &w, &hgt);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(w, 4);
    api.setClipRect(&h, 20, 20, 4, 4);
    api.getClipRect(&h, &x, &y, &w, &hgt);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, 0x7FFF);
    EXPECT_EQ(hgt, 0x7FFF);
    // No pixels to reach: reads and fills fail.
    uint32_t c = 0;
    EXPECT_FALSE(api.getPixel(&h, 1, 1, &c));
    EXPECT_FALSE(api.fillAll(&h, 0xFFFFFF));
  }
  // A context the surface did not make is still the caller's.
  EXPECT_EQ(GetObjectType(memory), DWORD(OBJ_MEMDC));
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

// A window handle that is none: no context, the handle stays empty with
// the out-of-memory error, and it draws nothing.
TEST_F(DisplaySurfaces, BadWindowLeavesTheHandleEmpty) {
  DisplayApi api(lib);
  OwnedHandle h(api);
  HostWindow window(16, 16);
  ASSERT_NE(api.createOnWindow(&h, window.get(), 0), nullptr);
  EXPECT_TRUE(api.isValid(&h));
  EXPECT_EQ(api.createOnWindow(&h, reinterpret_cast<HWND>(0x7FFF1234), 1), nullptr);
  EXPECT_FALSE(api.isValid(&h));
  EXPECT_EQ(api.getLastError(&h), 0x40000000u);
  OwnedHandle dib(api);
  ASSERT_NE(api.create(&dib, 4, 4, api.Prototype(32, kTypeScreen)), nullptr);
  EXPECT_FALSE(api.blit(&dib, &h, 0, 0, 0, 0, 4, 4, 0, 0, 0, 0));
}

// Each back end copied and stretched onto the window equals the memory result.
TEST_F(DisplaySurfaces, WindowShowsEveryBackEnd) {
  DisplayApi api(lib);
  const int depth = DisplayBitsPerPixel();
  HostWindow window(120, 80);
  ASSERT_NE(window.get(), nullptr);
  OwnedHandle screen(api);
  ASSERT_NE(api.createOnWindow(&screen, window.get(), 0), nullptr);

  // The memory reference: the script, then a 2x stretch of its corner.
  std::vector<uint32_t> expected, expectedBig;
  DrawMemoryReference(api, depth, &expected, &expectedBig);
  ASSERT_FALSE(HasFatalFailure());

  for (int32_t type : {kTypeScreen, kTypeOwnDC}) {
    SCOPED_TRACE(type);
    OwnedHandle dest(api), src(api), turned(api);
    Handle* prototype = api.Prototype(depth, type);
    ASSERT_NE(api.create(&dest, 40, 30, prototype), nullptr);
    ASSERT_NE(api.create(&src, 8, 8, prototype), nullptr);
    ASSERT_NE(api.create(&turned, 8, 8, prototype), nullptr);
    DrawScript(api, &dest, &src, &turned);
    PaintWindowBlack(window.get());
    ASSERT_TRUE(api.blit(&dest, &screen, 5, 6, 0, 0, 40, 30, 0, 0, 0, 0));
    ASSERT_TRUE(api.stretch(&dest, &screen, 60, 6, 40, 30, 0, 0, 20, 15, 0, 0, 0, 0));
    ExpectWindowShows(window.get(), 5, 6, 40, 30, expected);
    ExpectWindowShows(window.get(), 60, 6, 40, 30, expectedBig);
    ExpectWindowBlackOutside(window.get(), 120, 80, {RECT{5, 6, 45, 36}, RECT{60, 6, 100, 36}});
  }
}

// The window surface as a source: its picture copied into a DIB surface.
TEST_F(DisplaySurfaces, WindowCopiedBackIntoDib) {
  DisplayApi api(lib);
  HostWindow window(32, 32);
  ASSERT_NE(window.get(), nullptr);
  OwnedHandle screen(api), dib(api);
  ASSERT_NE(api.createOnWindow(&screen, window.get(), 0), nullptr);
  ASSERT_NE(api.create(&dib, 16, 16, api.Prototype(32, kTypeScreen)), nullptr);
  HDC wdc = GetDC(window.get());
  RECT r{0, 0, 32, 32};
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(wdc, &r, blue);
  DeleteObject(blue);
  ReleaseDC(window.get(), wdc);
  ASSERT_TRUE(api.fillAll(&dib, 0));
  ASSERT_TRUE(api.blit(&screen, &dib, 2, 2, 0, 0, 4, 4, 0, 0, 0, 0));
  uint32_t c = 0;
  ASSERT_TRUE(api.getPixel(&dib, 3, 3, &c));
  EXPECT_EQ(c, 0xFF0000u);
  ASSERT_TRUE(api.getPixel(&dib, 6, 6, &c));
  EXPECT_EQ(c, 0u);
}

// A test-made DIB section as a device context, filled in two colours.
class SectionDC {
 public:
  SectionDC(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
  }
  ~SectionDC() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  SectionDC(const SectionDC&) = delete;
  SectionDC& operator=(const SectionDC&) = delete;
  HDC dc() const { return dc_; }
  void Fill(int left, int top, int right, int bottom, COLORREF colour) {
    RECT r{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc_, &r, brush);
    DeleteObject(brush);
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

TEST_F(DisplaySurfaces, CopyDCScaled) {
  DisplayApi api(lib);
  SectionDC source(200, 100), dest(100, 100);
  source.Fill(0, 0, 100, 100, RGB(255, 0, 0));
  source.Fill(100, 0, 200, 100, RGB(0, 0, 255));

  // Keep-aspect: 200 x 100 into 100 x 100 draws 100 x 50.
  dest.Fill(0, 0, 100, 100, RGB(255, 255, 255));
  HGDIOBJ paletteBefore = GetCurrentObject(dest.dc(), OBJ_PAL);
  ASSERT_EQ(api.copyDCScaled(source.dc(), dest.dc(), 0, 0, 0, 0, 200, 100, 100, 100, 1, 1), 1);
  std::vector<uint32_t> shown = ReadBackDC(dest.dc(), 0, 0, 100, 100);
  ASSERT_EQ(shown.size(), 10000u);
  EXPECT_EQ(shown[10 * 100 + 10], 0x0000FFu);   // red, left half of the source
  EXPECT_EQ(shown[10 * 100 + 90], 0xFF0000u);   // blue, right half
  EXPECT_EQ(shown[49 * 100 + 50], 0xFF0000u);
  EXPECT_EQ(shown[50 * 100 + 50], 0xFFFFFFu);   // below the 50 rows drawn
  EXPECT_EQ(GetCurrentObject(dest.dc(), OBJ_PAL), paletteBefore);

  // A non-zero source position copies that area: the blue half only.
  dest.Fill(0, 0, 100, 100, RGB(255, 255, 255));
  ASSERT_EQ(api.copyDCScaled(source.dc(), dest.dc(), 100, 0, 0, 0, 100, 100, 100, 100, 0, 0), 1);
  shown = ReadBackDC(dest.dc(), 0, 0, 100, 100);
  ASSERT_EQ(shown.size(), 10000u);
  EXPECT_EQ(shown[0], 0xFF0000u);
  EXPECT_EQ(shown[99 * 100 + 99], 0xFF0000u);

  EXPECT_EQ(api.copyDCScaled(nullptr, dest.dc(), 0, 0, 0, 0, 10, 10, 10, 10, 0, 0), 0);
  EXPECT_EQ(api.copyDCScaled(source.dc(), dest.dc(), 0, 0, 0, 0, 0, 10, 10, 10, 0, 1), 0);
}

struct ModeSeen {
  int32_t width, height, bits;
};
std::vector<ModeSeen> modesSeen;

int32_t WINAPI CollectMode(const int32_t* mode, uint32_t stopAfter) {
  modesSeen.push_back({mode[0], mode[1], mode[2]});
  return modesSeen.size() < stopAfter ? 1 : 0;
}

RECT WindowRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

// As far as Wine under Xvfb allows: the current mode is the one every display
// has, so entering it changes the window but not the picture.
TEST_F(DisplaySurfaces, FullScreenThroughDisplaySettings) {
  DisplayApi api(lib);
  DEVMODEA current{};
  current.dmSize = sizeof current;
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
  const int32_t w = int32_t(current.dmPelsWidth), h = int32_t(current.dmPelsHeight);
  const int32_t bits = int32_t(current.dmBitsPerPel);

  OwnedHandle dib(api), replacement(api);
  Handle* prototype = api.Prototype(DisplayBitsPerPixel(), kTypeScreen);
  ASSERT_NE(api.create(&dib, 4, 4, prototype), nullptr);
  ASSERT_NE(api.create(&replacement, 4, 4, prototype), nullptr);

  // Both enumerations report the current mode and stop on 0.
  modesSeen.clear();
  api.enumDisplayModes(&dib, reinterpret_cast<void*>(CollectMode), 1000);
  bool currentSeen = false;
  for (const ModeSeen& m : modesSeen)
    currentSeen = currentSeen || (m.width == w && m.height == h && m.bits == bits);
  EXPECT_TRUE(currentSeen) << modesSeen.size() << " modes";
  if (modesSeen.size() > 1) {
    modesSeen.clear();
    api.enumDisplayModes(&dib, reinterpret_cast<void*>(CollectMode), 1);
    EXPECT_EQ(modesSeen.size(), 1u);
  }

  HostWindow window(200, 150);
  ASSERT_NE(window.get(), nullptr);
  const LONG style = GetWindowLongA(window.get(), GWL_STYLE);
  const RECT before = WindowRectOf(window.get());

  // A mode the display lacks: 0, and the window stays as it was.
  EXPECT_EQ(api.enterFullScreen(&dib, window.get(), 123, 45, bits), 0);
  EXPECT_EQ(GetWindowLongA(window.get(), GWL_STYLE), style);

  if (!api.enterFullScreen(&dib, window.get(), w, h, bits)) {
    DEVMODEA same = current;
    same.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    const LONG answer = ChangeDisplaySettingsA(&same, CDS_FULLSCREEN);
    ASSERT_NE(answer, DISP_CHANGE_SUCCESSFUL) << "the library refused a mode the display accepts";
    GTEST_SKIP() << "ChangeDisplaySettingsA refused the current mode (" << answer << ")";
  }
  PumpWindowMessages();
  EXPECT_EQ(DWORD(GetWindowLongA(window.get(), GWL_STYLE)) & ~DWORD(WS_VISIBLE), 0x86000000u);
  const RECT full = WindowRectOf(window.get());
  EXPECT_EQ(full.left, 0);
  EXPECT_EQ(full.top, 0);
  EXPECT_EQ(full.right, w);
  EXPECT_EQ(full.bottom, h);

  // The replacement surface takes the state over and leaves the full screen.
  EXPECT_EQ(api.copyScreenState(&replacement, &dib), 0);
  api.leaveFullScreen(&replacement, window.get());
  PumpWindowMessages();
  EXPECT_EQ(GetWindowLongA(window.get(), GWL_STYLE), style);
  const RECT after = WindowRectOf(window.get());
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.bottom, before.bottom);
}

}  // namespace
