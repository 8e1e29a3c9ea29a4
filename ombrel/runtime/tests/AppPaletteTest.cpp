// The app palette and the colour rules of the depth codes: default palettes
// per code, colours to indices, the app's own palette object.
#include <gtest/gtest.h>

#include <cstring>

#include "AppFixture.h"
#include "app/AppPalette.h"
#include "palette/NearestPaletteEntry.h"
#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibrary.h"
#include "surface/cSurfaceImpl.h"
#include "window/WindowDrawApi.h"

namespace {

class AppPaletteTest : public OneAppTest {
 protected:
  // A shared palette like the default one, but with white also at entry 20
  // and a grey ramp in 30..40.
  cPalette* PaletteWithDuplicateWhite() {
    LogPalette log;
    CopyDefaultPalette(nullptr, 3, &log);
    log.entries[20] = EntryFromColour(0xFFFFFF);
    for (int i = 30; i <= 40; ++i) log.entries[i] = EntryFromColour(0x010101u * uint32_t(i * 6));
    return PaletteGetShared(&log);
  }
};

struct IndexCase {
  int32_t code;
  uint32_t colour;
  int32_t index;
};

TEST_F(AppPaletteTest, ColoursToIndicesByDepthCode) {
  const IndexCase cases[] = {
      {4, 0x123456, -1}, {6, 0x01000005, -1}, {7, 0, -1}, {8, 0xFFFFFF, -1},  // true colour
      {0, 0xFFFFFF, -1}, {9, 0x123456, -1},                                   // no palette
      {3, 0x01000007, 7}, {1, 0x0100FFFF, 0xFFFF}, {5, 0x01000300, 0x300},    // indices given,
      {0, 0x01000002, 2}, {9, 0x01000002, 2},                                 // whatever the code
      {3, 0x000000, 0},                                                       // black
      {3, 0x0000FF, 249}, {3, 0xFFFFFF, 255}, {3, 0xF0CAA6, 9},               // static colours
      {1, 0xFFFFFF, 1}, {1, 0x202020, 0}, {1, 0x01FFFFFF, 1},
      {2, 0x00FF00, 10}, {5, 0x800080, 5}, {2, 0x7F7F7F, 8},
  };
  for (const IndexCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << c.code << " colour " << std::hex << c.colour);
    EXPECT_EQ(ColourToPaletteIndex(app_, c.code, c.colour), c.index);
    EXPECT_EQ(AppColourToIndex(nullptr, c.code, c.colour), c.index);
  }
}

TEST_F(AppPaletteTest, ExactStaticColoursKeepTheirEntryOverAnEarlierTwin) {
  cPalette* palette = PaletteWithDuplicateWhite();
  ASSERT_NE(palette, nullptr);
  AppSetPaletteObject(app_, nullptr, palette);
  // The nearest-entry rule alone takes the first exact match.
  EXPECT_EQ(NearestPaletteEntry(palette->log.entries, 256, 0xFFFFFF), 20);
  EXPECT_EQ(AppColourToIndex(app_, 3, 0xFFFFFF), 255);
  const uint32_t grey = 0x010101u * 181;  // between two ramp entries
  EXPECT_EQ(AppColourToIndex(app_, 3, grey), NearestPaletteEntry(palette->log.entries, 256, grey));
  ReleasePalette(palette);
}

TEST_F(AppPaletteTest, DefaultPalettesPerCode) {
  EXPECT_EQ(AppCopyPalette(nullptr, 3, nullptr), 256);
  EXPECT_EQ(AppCopyPalette(nullptr, 2, app_), 16);
  EXPECT_EQ(AppCopyPalette(nullptr, 5, nullptr), 16);
  EXPECT_EQ(AppCopyPalette(nullptr, 1, nullptr), 2);
  for (int32_t code : {0, 4, 6, 7, 8, -1, 9}) EXPECT_EQ(AppCopyPalette(nullptr, code, app_), 0) << code;

  LogPalette copy{};
  copy.entries[10].flags = 0x55;
  ASSERT_EQ(AppCopyPalette(&copy, 3, nullptr), 256);
  EXPECT_EQ(copy.version, 0x300);
  EXPECT_EQ(copy.count, 256);
  // FFA700 in the library's default, its flags (no-collapse) cleared.
  EXPECT_EQ(copy.entries[10].red, 0xFF);
  EXPECT_EQ(copy.entries[10].green, 0xA7);
  EXPECT_EQ(copy.entries[10].blue, 0x00);
  EXPECT_EQ(copy.entries[10].flags, 0);

  EXPECT_EQ(AppIndexToColour(nullptr, 3, 249), 0x0000FFu);
  EXPECT_EQ(AppIndexToColour(app_, 2, 9), 0x0000FFu);
  EXPECT_EQ(AppIndexToColour(nullptr, 1, 1), 0xFFFFFFu);
  EXPECT_EQ(AppIndexToColour(nullptr, 4, 1), 0u);
  EXPECT_EQ(AppIndexToColour(nullptr, 3, 256), 0u);
  EXPECT_EQ(AppIndexToColour(nullptr, 3, -1), 0u);

  uint8_t quads[256 * 4] = {};
  EXPECT_EQ(GetDepthPaletteQuads(nullptr, 3, app_), 256);
  ASSERT_EQ(GetDepthPaletteQuads(quads, 3, app_), 256);
  // Entry 249 is red: blue, green, red, 0.
  EXPECT_EQ(quads[249 * 4 + 0], 0x00);
  EXPECT_EQ(quads[249 * 4 + 1], 0x00);
  EXPECT_EQ(quads[249 * 4 + 2], 0xFF);
  EXPECT_EQ(quads[249 * 4 + 3], 0x00);
  EXPECT_EQ(GetDepthPaletteQuads(quads, 7, app_), 0);
}

TEST_F(AppPaletteTest, PaletteObjectBecomesTheAppsAndItsPrototypes) {
  cPalette* palette = PaletteWithDuplicateWhite();
  ASSERT_NE(palette, nullptr);
  cPalette* old = AddRefPalette(app_->palette);
  ASSERT_EQ(PaletteRefCount(old), 3);  // ours, the app's, the prototype's
  AppSetPaletteObject(app_, nullptr, palette);
  EXPECT_EQ(app_->palette, palette);
  EXPECT_EQ(app_->blackIndex, palette->blackIndex);
  EXPECT_EQ(AppGetBlackIndex(app_), palette->blackIndex);
  EXPECT_EQ(app_->formatPrototype->view.palette, palette);
  EXPECT_EQ(PaletteRefCount(palette), 3);  // ours, the app's, the prototype's
  EXPECT_EQ(PaletteRefCount(old), 1);
  ReleasePalette(old);

  // The same object again, or a handle equal to the one held, changes nothing.
  AppSetPaletteObject(app_, nullptr, palette);
  AppSetPalette(app_, nullptr);
  EXPECT_EQ(app_->palette, palette);
  EXPECT_EQ(PaletteRefCount(palette), 3);
  EXPECT_EQ(AppCopyPalette(nullptr, 3, app_), 256);
  EXPECT_EQ(AppIndexToColour(app_, 3, 20), 0xFFFFFFu);

  // Null palette object: the default palette again.
  AppSetPaletteObject(app_, nullptr, nullptr);
  EXPECT_NE(app_->palette, palette);
  EXPECT_EQ(AppIndexToColour(app_, 3, 20), AppIndexToColour(nullptr, 3, 20));
  EXPECT_EQ(PaletteRefCount(palette), 1);
  ReleasePalette(palette);
}

// A palette owns its system handle: one it already has (a shared palette's,
// selected into windows perhaps) is kept, and a handle is stored only in a
// palette that has none. Overwriting leaked the old handle, or left two
// palettes owning one. Stand-in handles are taken back before the release.
TEST_F(AppPaletteTest, APaletteKeepsTheHandleItAlreadyOwns) {
  int owned = 0, offered = 0, offeredAgain = 0;
  cPalette* palette = PaletteWithDuplicateWhite();
  ASSERT_NE(palette, nullptr);
  palette->handle = &owned;
  AppSetPaletteObject(app_, &offered, palette);
  EXPECT_EQ(app_->palette, palette);
  EXPECT_EQ(palette->handle, &owned) << "a palette object's own handle";

  // The shared palette of a handle's entries (natively: the default ones)
  // that already holds a handle keeps it.
  AppSetPalette(app_, &offered);
  cPalette* shared = AddRefPalette(app_->palette);  // kept while the app holds another
  ASSERT_NE(shared, palette);
  EXPECT_EQ(shared->handle, &offered) << "a palette without a handle takes it";
  AppSetPaletteObject(app_, nullptr, palette);
  AppSetPalette(app_, &offeredAgain);
  EXPECT_EQ(app_->palette, shared) << "the same entries: the same shared palette";
  EXPECT_EQ(shared->handle, &offered) << "a shared palette's handle";

  shared->handle = nullptr;
  palette->handle = nullptr;
  ReleasePalette(shared);
  ReleasePalette(palette);
}

TEST_F(AppPaletteTest, NullAppsUseTheLibraryDefaults) {
  EXPECT_EQ(AppGetBlackIndex(nullptr), 4);
  AppSetPalette(nullptr, nullptr);
  AppSetPaletteObject(nullptr, nullptr, app_->palette);
  EXPECT_EQ(PaletteRefCount(app_->palette), 2);  // the app's and its prototype's
}

// Two window records of the app with 8-bit back buffers, made as the window
// functions would make them.
class AppWindowsPaletteTest : public AppPaletteTest {
 protected:
  void SetUp() override {
    AppPaletteTest::SetUp();
    library_.Init();
    for (WindowObject& window : windows_) {
      std::memset(&window, 0, sizeof window);
      window.app = app_;
      window.depth = app_->depth;
      cSurfaceHandle* prototype = nullptr;
      library_.GetPrototype(&prototype, 8, SurfaceTypeMemory, 0);
      cSurfaceHandle* buffer = CreateSurfaceHandle();
      ASSERT_NE(buffer, nullptr);
      ASSERT_NE(buffer->Create(16, 16, prototype), nullptr);
      ASSERT_EQ(WindowAttachSurface(&window, buffer), 1);
      ASSERT_NE(app_->windows.AddTail(&window), 0);
    }
  }
  void TearDown() override {
    app_->windows.RemoveAll();
    for (WindowObject& window : windows_) DeleteSurfaceHandle(window.drawSurface);
    library_.Exit();
    AppPaletteTest::TearDown();
  }
  const cPalette* BufferPalette(int i) const { return windows_[i].drawImpl->view.palette; }

  SurfaceLibrary library_;
  WindowObject windows_[2];
};

TEST_F(AppWindowsPaletteTest, WindowsFollowTheAppsPaletteAndDepth) {
  cPalette* palette = PaletteWithDuplicateWhite();
  ASSERT_NE(palette, nullptr);
  // The second window shows another palette than the app's: a new palette
  // object reaches only the windows that showed the app's.
  int otherHandle = 0;
  windows_[1].selectedPalette = &otherHandle;
  AppSetPaletteObject(app_, nullptr, palette);
  EXPECT_EQ(BufferPalette(0), palette);
  EXPECT_NE(BufferPalette(1), palette);
  // The palette by handle reaches every window.
  AppSetPalette(app_, nullptr);
  EXPECT_EQ(BufferPalette(0), app_->palette);
  EXPECT_EQ(BufferPalette(1), app_->palette);

  // Windows carry the app's new depth word; at other depths than 8 bits the
  // palette calls leave their buffers alone.
  EXPECT_EQ(AppSetDepthOn(app_, 4, SystemDisplay()), 4);
  EXPECT_EQ(windows_[0].depth, 4);
  EXPECT_EQ(windows_[1].depth, 4);
  LogPalette log;
  CopyDefaultPalette(nullptr, 3, &log);
  log.entries[50] = EntryFromColour(0x123456);
  cPalette* other = PaletteGetShared(&log);
  ASSERT_NE(other, nullptr);
  const cPalette* shown = BufferPalette(0);
  AppSetPaletteObject(app_, nullptr, other);
  EXPECT_EQ(app_->palette, other);
  EXPECT_EQ(BufferPalette(0), shown);
  ReleasePalette(other);
  ReleasePalette(palette);
}

}  // namespace
