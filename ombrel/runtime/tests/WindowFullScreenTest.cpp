#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "surface/SurfaceHandle.h"
#include "window/ScreenModes.h"
#include "Memory.h"
#include "window/WindowDrawApi.h"
#include "window/WindowRecord.h"

namespace {

// A display back end that records the full-screen switches asked of it.
class RecordingDisplay final : public cSurfaceImpl {
 public:
  RecordingDisplay() {
    view.width = 640;
    view.height = 480;
    view.depth = 32;
  }
  void Delete(uint32_t) override {}  // owned by the test
  cSurfaceImpl* MakeInstance(int32_t, int32_t) override { return nullptr; }
  int32_t EnterFullScreen(void* window, int32_t width, int32_t height, int32_t depth) override {
    entered.push_back({window, width, height, depth});
    return accept;
  }
  void LeaveFullScreen(void* window) override { left.push_back(window); }

  struct Entry {
    void* window;
    int32_t width, height, depth;
  };
  std::vector<Entry> entered;
  std::vector<void*> left;
  int32_t accept = 1;
};

class WindowFullScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 2; ++i) {
      std::memset(&windows_[i], 0, sizeof windows_[i]);
      windows_[i].hwnd = &fakeHandles_[i];
      cSurfaceHandle::AttachImpl(&handles_[i], &displays_[i]);
      windows_[i].drawSurface = &handles_[i];
    }
  }
  void TearDown() override {
    WindowLeaveFullScreen();
    for (cSurfaceHandle& h : handles_) h.impl = nullptr;  // the displays are the test's
  }

  RecordingDisplay displays_[2];
  cSurfaceHandle handles_[2];
  WindowObject windows_[2];
  int fakeHandles_[2] = {};
};

TEST_F(WindowFullScreenTest, OneWindowAtATimeHoldsTheDisplay) {
  EXPECT_EQ(WindowEnterFullScreen(&windows_[0], 800, 600, 16), 16);
  ASSERT_EQ(displays_[0].entered.size(), 1u);
  EXPECT_EQ(displays_[0].entered[0].window, windows_[0].hwnd);
  EXPECT_EQ(displays_[0].entered[0].width, 800);
  EXPECT_EQ(FullScreenWindow(), &windows_[0]);

  EXPECT_EQ(WindowEnterFullScreen(&windows_[1], 800, 600, 16), 0);
  EXPECT_TRUE(displays_[1].entered.empty());

  EXPECT_EQ(WindowLeaveFullScreen(), 1);
  EXPECT_EQ(displays_[0].left.size(), 1u);
  EXPECT_EQ(FullScreenWindow(), nullptr);
  EXPECT_EQ(WindowLeaveFullScreen(), 0);
  EXPECT_EQ(WindowEnterFullScreen(&windows_[1], 1024, 768, 32), 32);
}

TEST_F(WindowFullScreenTest, RefusalsLeaveNoHolder) {
  displays_[0].accept = 0;
  EXPECT_EQ(WindowEnterFullScreen(&windows_[0], 800, 600, 16), 0);
  EXPECT_EQ(FullScreenWindow(), nullptr);
  windows_[1].hwnd = nullptr;
  EXPECT_EQ(WindowEnterFullScreen(&windows_[1], 800, 600, 16), 0);
  EXPECT_TRUE(displays_[1].entered.empty());
  windows_[1].hwnd = &fakeHandles_[1];
  windows_[1].drawSurface = nullptr;
  EXPECT_EQ(WindowEnterFullScreen(&windows_[1], 800, 600, 16), 0);
  EXPECT_EQ(WindowEnterFullScreen(nullptr, 800, 600, 16), 0);
}

TEST_F(WindowFullScreenTest, ReleasingTheHolderLeavesFullScreenAndOthersAreIgnored) {
  ASSERT_EQ(WindowEnterFullScreen(&windows_[0], 800, 600, 16), 16);
  ReleaseFullScreen(&windows_[1]);
  EXPECT_EQ(FullScreenWindow(), &windows_[0]);
  ReleaseFullScreen(&windows_[0]);
  EXPECT_EQ(FullScreenWindow(), nullptr);
  EXPECT_EQ(displays_[0].left.size(), 1u);
}

TEST_F(WindowFullScreenTest, AHolderThatLostItsSurfaceIsForgottenWithoutALeave) {
  ASSERT_EQ(WindowEnterFullScreen(&windows_[0], 800, 600, 16), 16);
  windows_[0].drawSurface = nullptr;
  EXPECT_EQ(WindowLeaveFullScreen(), 0);
  EXPECT_EQ(FullScreenWindow(), nullptr);
  EXPECT_TRUE(displays_[0].left.empty());
}

TEST_F(WindowFullScreenTest, TearingTheHolderDownLeavesFullScreen) {
  void* block = nullptr;
  ASSERT_TRUE(MemCalloc(sizeof(WindowObject), &block));
  auto* holder = static_cast<WindowObject*>(block);
  holder->hwnd = &fakeHandles_[0];
  holder->drawSurface = CreateSurfaceHandle();
  ASSERT_NE(holder->drawSurface, nullptr);
  cSurfaceHandle::AttachImpl(holder->drawSurface, &displays_[0]);  // not freed: the test's
  ASSERT_EQ(WindowEnterFullScreen(holder, 640, 480, 8), 8);
  DestroyWindowRecord(holder);
  EXPECT_EQ(FullScreenWindow(), nullptr);
  EXPECT_EQ(displays_[0].left.size(), 1u);
  EXPECT_EQ(WindowEnterFullScreen(&windows_[1], 640, 480, 8), 8);
}

TEST(ScreenModes, TheTableIsFilteredByTheSystemPaletteOption) {
  struct Row {
    int32_t max, options, displayBits;
    std::vector<int32_t> codes;
  };
  const Row rows[] = {
      {10, 0, 32, {3, 6, 4, 3}},
      {10, 0, 8, {3, 6, 4, 3}},
      {2, 0, 8, {3, 6}},
      {10, 0x20, 8, {0x23}},
      {10, 0x20, 16, {}},
      {0, 0, 8, {}},
  };
  for (const Row& r : rows) {
    DisplayModeRecord out[10];
    std::memset(out, 0xEE, sizeof out);
    const int32_t n = ListDisplayModes(out, r.max, r.options, r.displayBits);
    ASSERT_EQ(n, int32_t(r.codes.size())) << r.max << " " << r.options << " " << r.displayBits;
    for (int32_t i = 0; i < n; ++i) EXPECT_EQ(out[i].depthCode, r.codes[size_t(i)]);
    if (n > 0) {
      EXPECT_EQ(out[0].reserved[4], 0);
    }
  }
  DisplayModeRecord out[4];
  ASSERT_EQ(ListDisplayModes(out, 4, 0, 0), 4);
  EXPECT_EQ(out[1].bits, 16);
  EXPECT_EQ(out[1].pixelBits, 15);
  EXPECT_EQ(out[2].bits, 24);
  EXPECT_EQ(ListDisplayModes(nullptr, 4, 0, 8), 0);
}

}  // namespace
