#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibrary.h"
#include "window/WindowDrawApi.h"
#include "window/WindowPresent.h"
#include "window/WindowSprites.h"

namespace {

// Records what a present would copy where.
class RecordingTarget final : public PresentTarget {
 public:
  bool ClientSize(int32_t* width, int32_t* height) override {
    *width = clientWidth;
    *height = clientHeight;
    return readable;
  }
  void Copy(cSurfaceImpl& buffer, const SurfaceRect& rect) override {
    copies.push_back(rect);
    source = &buffer;
  }
  void StretchAll(cSurfaceImpl& buffer, int32_t w, int32_t h) override {
    stretches.push_back({0, 0, w, h});
    source = &buffer;
  }

  int32_t clientWidth = 640;
  int32_t clientHeight = 480;
  bool readable = true;
  std::vector<SurfaceRect> copies;
  std::vector<SurfaceRect> stretches;
  cSurfaceImpl* source = nullptr;
};

bool Same(const SurfaceRect& a, const SurfaceRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A sprite window's record with its dirty list, as the window functions
// would make it, and a 32-bit memory back buffer from the library's heap.
class WindowDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_.Init();
    std::memset(&window_, 0, sizeof window_);
    updates_ = std::make_unique<UpdateList>();
    updates_->count = 0;
    window_.updates = updates_.get();
    window_.spritePool = SpritePoolCreate(kSpriteWindowPoolRecords);
    ASSERT_NE(window_.spritePool, nullptr);
  }
  void TearDown() override {
    SpritePoolFree(&window_);
    DeleteSurfaceHandle(window_.drawSurface);
    DeleteSurfaceHandle(window_.backSurface);
    library_.Exit();
  }
  cSurfaceHandle* NewSurface(int32_t width, int32_t height, int32_t depth = 32) {
    cSurfaceHandle* prototype = nullptr;
    library_.GetPrototype(&prototype, depth, SurfaceTypeMemory, 0);
    cSurfaceHandle* h = CreateSurfaceHandle();
    EXPECT_NE(h, nullptr);
    EXPECT_NE(h->Create(width, height, prototype), nullptr);
    h->FillAll(0);
    return h;
  }
  void Attach(int32_t width, int32_t height) {
    ASSERT_EQ(WindowAttachSurface(&window_, NewSurface(width, height)), 1);
  }
  std::vector<SurfaceRect> Listed() const {
    return std::vector<SurfaceRect>(updates_->rects, updates_->rects + updates_->count);
  }
  uint32_t Pixel(int32_t x, int32_t y) {
    uint32_t c = 0xDEADBEEF;
    window_.drawSurface->GetPixel(x, y, &c);
    return c;
  }

  SurfaceLibrary library_;
  WindowObject window_;
  std::unique_ptr<UpdateList> updates_;
};

TEST_F(WindowDrawingTest, FillRectFillsTheInclusiveBoxAndListsItExclusive) {
  Attach(64, 48);
  WindowFillRect(&window_, 0, 0, 9, 9, 0x00336699);
  EXPECT_EQ(Pixel(0, 0), 0x00336699u);
  EXPECT_EQ(Pixel(9, 9), 0x00336699u);
  EXPECT_EQ(Pixel(10, 9), 0u);
  EXPECT_EQ(Pixel(9, 10), 0u);
  ASSERT_EQ(updates_->count, 1);
  EXPECT_TRUE(Same(updates_->rects[0], SurfaceRect{0, 0, 10, 10}));
}

TEST_F(WindowDrawingTest, NothingIsDrawnOrListedWithoutASurfaceOrWindow) {
  WindowFillRect(&window_, 0, 0, 9, 9, 0xFFFFFF);
  WindowSetClip(&window_, 0, 0, 5, 5);
  EXPECT_EQ(WindowScrollRect(&window_, 0, 0, 1, 1, 5, 5), 0);
  EXPECT_EQ(updates_->count, 0);
  WindowFillRect(nullptr, 0, 0, 9, 9, 0xFFFFFF);
  WindowAddUpdate(nullptr, 0, 0, 1, 1);
  EXPECT_EQ(WindowGetUpdateList(nullptr), nullptr);
  EXPECT_EQ(WindowClearUpdates(nullptr), nullptr);
  EXPECT_EQ(WindowGetSurface(nullptr, 0), nullptr);
  EXPECT_EQ(WindowEnableUpdates(nullptr, 1), nullptr);
  EXPECT_EQ(WindowAttachSurface(nullptr, nullptr), 0);
  // A window made without a dirty list takes no updates.
  window_.updates = nullptr;
  WindowAddUpdate(&window_, 0, 0, 5, 5);
  WindowAddUpdateRect(&window_, nullptr);
  EXPECT_EQ(WindowClearUpdates(&window_), nullptr);
}

TEST_F(WindowDrawingTest, UpdatesFollowTheWindowsListModeAndNullMeansTheWholeBuffer) {
  Attach(320, 240);
  WindowAddUpdate(&window_, 0, 0, 10, 10);
  WindowAddUpdate(&window_, 5, 5, 15, 15);
  ASSERT_EQ(updates_->count, 1);
  EXPECT_TRUE(Same(updates_->rects[0], SurfaceRect{0, 0, 15, 15}));
  EXPECT_EQ(WindowClearUpdates(&window_), updates_.get());
  EXPECT_EQ(updates_->count, 0);

  window_.style |= WindowStyleKeepApart;
  WindowAddUpdate(&window_, 0, 0, 10, 10);
  WindowAddUpdate(&window_, 5, 5, 15, 15);
  EXPECT_EQ(updates_->count, 2);

  WindowAddUpdateRect(&window_, nullptr);
  ASSERT_EQ(updates_->count, 1);
  EXPECT_TRUE(Same(updates_->rects[0], SurfaceRect{0, 0, 320, 240}));
  EXPECT_EQ(WindowGetUpdateList(&window_), updates_.get());
}

TEST_F(WindowDrawingTest, AttachingTakesTheSizeAndGivesAReplacedSurfaceBack) {
  cSurfaceHandle* empty = CreateSurfaceHandle();
  EXPECT_EQ(WindowAttachSurface(&window_, empty), 0);
  EXPECT_EQ(WindowAttachSurface(&window_, nullptr), 0);
  EXPECT_EQ(window_.drawSurface, nullptr);
  DeleteSurfaceHandle(empty);

  cSurfaceHandle* first = NewSurface(100, 50);
  ASSERT_EQ(WindowAttachSurface(&window_, first), 1);
  EXPECT_EQ(window_.bufferWidth, 100);
  EXPECT_EQ(window_.bufferHeight, 50);
  EXPECT_EQ(window_.surfaceAttached, -1);
  EXPECT_TRUE(window_.style & WindowStyleSurfaceAttached);
  EXPECT_EQ(window_.drawImpl, cSurfaceHandle::GetImpl(first));
  EXPECT_EQ(WindowGetSurface(&window_, 0), first);

  // A background of the buffer's shape stays; one of another shape goes.
  window_.backSurface = NewSurface(100, 50);
  cSurfaceHandle* second = NewSurface(100, 50);
  ASSERT_EQ(WindowAttachSurface(&window_, second), 1);
  EXPECT_NE(window_.backSurface, nullptr);
  EXPECT_EQ(WindowGetSurface(&window_, 1), window_.backSurface);
  EXPECT_EQ(WindowGetSurface(&window_, 2), nullptr);
  // The replaced surface is the caller's again: still whole, freed here.
  EXPECT_EQ(first->GetWidth(), 100);
  DeleteSurfaceHandle(first);

  cSurfaceHandle* third = NewSurface(200, 50);
  ASSERT_EQ(WindowAttachSurface(&window_, third), 1);
  EXPECT_EQ(window_.backSurface, nullptr);
  EXPECT_EQ(window_.bufferWidth, 200);
  DeleteSurfaceHandle(second);
}

TEST_F(WindowDrawingTest, DetachingForgetsTheBufferFreesTheBackgroundAndThePool) {
  cSurfaceHandle* buffer = NewSurface(64, 64);
  ASSERT_EQ(WindowAttachSurface(&window_, buffer), 1);
  window_.backSurface = NewSurface(64, 64);
  WindowDetachSurfaces(&window_);
  EXPECT_EQ(window_.drawSurface, nullptr);
  EXPECT_EQ(window_.drawImpl, nullptr);
  EXPECT_EQ(window_.backSurface, nullptr);
  EXPECT_EQ(window_.spritePool, nullptr);
  EXPECT_EQ(window_.surfaceAttached, 0);
  EXPECT_FALSE(window_.style & WindowStyleSurfaceAttached);
  EXPECT_EQ(buffer->GetWidth(), 64);
  DeleteSurfaceHandle(buffer);
  // A null pool is an empty pool: deleting sprites and detaching again are harmless.
  WindowDeleteSprites(&window_);
  WindowDetachSurfaces(&window_);
}

TEST_F(WindowDrawingTest, DrawingFollowsAHandleThatWasGivenANewSurface) {
  Attach(16, 16);
  cSurfaceHandle* prototype = nullptr;
  library_.GetPrototype(&prototype, 32, SurfaceTypeMemory, 0);
  ASSERT_NE(window_.drawSurface->Create(40, 40, prototype), nullptr);
  WindowFillRect(&window_, 30, 30, 31, 31, 0x00FF0000);
  EXPECT_EQ(Pixel(30, 30), 0x00FF0000u);
  EXPECT_EQ(window_.drawImpl, cSurfaceHandle::GetImpl(window_.drawSurface));
  RecordingTarget target;
  PresentUpdates(window_, target);
  ASSERT_EQ(target.copies.size(), 1u);
  EXPECT_EQ(target.source, cSurfaceHandle::GetImpl(window_.drawSurface));
}

TEST_F(WindowDrawingTest, PresentCopiesTheListedRectanglesInOrderClippedAndEmptiesTheList) {
  Attach(640, 480);
  WindowAddUpdate(&window_, 10, 10, 20, 20);
  WindowAddUpdate(&window_, 600, 400, 700, 500);   // reaches past the client area
  WindowAddUpdate(&window_, -30, 100, -10, 120);   // wholly outside
  WindowAddUpdate(&window_, 0, 0, 5, 5);
  RecordingTarget target;
  target.clientWidth = 620;
  target.clientHeight = 450;
  PresentUpdates(window_, target);
  ASSERT_EQ(target.copies.size(), 3u);
  EXPECT_TRUE(Same(target.copies[0], SurfaceRect{10, 10, 20, 20}));
  EXPECT_TRUE(Same(target.copies[1], SurfaceRect{600, 400, 620, 450}));
  EXPECT_TRUE(Same(target.copies[2], SurfaceRect{0, 0, 5, 5}));
  EXPECT_TRUE(target.stretches.empty());
  EXPECT_EQ(updates_->count, 0);
}

// Past kBoundingBoxAbove rectangles (after clipping) the present copies
// their bounding box once; at that count still each rectangle.
TEST_F(WindowDrawingTest, PresentOfManyRectanglesCopiesTheirBoundingBoxOnce) {
  Attach(640, 480);
  for (int32_t n : {kBoundingBoxAbove, kBoundingBoxAbove + 1}) {
    for (int32_t i = 0; i < n; ++i) {
      const int32_t x = 30 + (i % 20) * 24, y = 40 + (i / 20) * 24;
      WindowAddUpdate(&window_, x, y, x + 16, y + 16);
    }
    WindowAddUpdate(&window_, -30, 100, -10, 120);  // outside: not counted
    RecordingTarget target;
    PresentUpdates(window_, target);
    if (n == kBoundingBoxAbove) {
      EXPECT_EQ(target.copies.size(), size_t(n));
    } else {
      ASSERT_EQ(target.copies.size(), 1u);
      EXPECT_TRUE(Same(target.copies[0], SurfaceRect{30, 40, 30 + 19 * 24 + 16, 40 + (n - 1) / 20 * 24 + 16}));
    }
    EXPECT_EQ(updates_->count, 0);
  }
}

TEST_F(WindowDrawingTest, PresentStretchesOnlyWhenTheFactorsDifferFromOne) {
  struct Row {
    const char* name;
    int32_t bufferWidth, bufferHeight, clientWidth, clientHeight;
    uint16_t style;
    size_t stretches;
    size_t copies;
    int32_t countAfter;
  };
  const Row rows[] = {
      {"x2 stretch lists the whole buffer", 320, 240, 640, 480, WindowStyleStretch, 1, 0, 1},
      {"a smaller client stretches down", 320, 240, 160, 120, WindowStyleStretch, 1, 0, 1},
      {"factors of one copy the rectangles", 320, 240, 320, 240, WindowStyleStretch, 0, 1, 0},
      {"without the style the rectangles are copied", 320, 240, 640, 480, 0, 0, 1, 0},
      {"a zero factor shows nothing", 320, 240, 0, 240, WindowStyleStretch, 0, 0, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    DeleteSurfaceHandle(window_.drawSurface);
    window_.drawSurface = nullptr;
    Attach(r.bufferWidth, r.bufferHeight);
    window_.style = uint16_t(r.style | WindowStyleSurfaceAttached);
    WindowClearUpdates(&window_);
    WindowAddUpdate(&window_, 1, 2, 3, 4);
    RecordingTarget target;
    target.clientWidth = r.clientWidth;
    target.clientHeight = r.clientHeight;
    PresentUpdates(window_, target);
    EXPECT_EQ(target.stretches.size(), r.stretches);
    EXPECT_EQ(target.copies.size(), r.copies);
    EXPECT_EQ(updates_->count, r.countAfter);
    if (r.stretches == 1) {
      EXPECT_TRUE(Same(target.stretches[0], SurfaceRect{0, 0, r.clientWidth, r.clientHeight}));
      EXPECT_TRUE(Same(updates_->rects[0], SurfaceRect{0, 0, r.bufferWidth, r.bufferHeight}));
    }
  }
}

TEST_F(WindowDrawingTest, PresentDoesNothingWhenSwitchedOffOrWithoutClientArea) {
  Attach(64, 64);
  WindowAddUpdate(&window_, 0, 0, 8, 8);
  RecordingTarget target;
  WindowEnableUpdates(&window_, 0);
  EXPECT_TRUE(window_.update & WindowUpdateOff);
  PresentUpdates(window_, target);
  RepaintRegion(window_, target, 0, 0, 8, 8);
  EXPECT_TRUE(target.copies.empty());
  EXPECT_EQ(updates_->count, 1);
  EXPECT_EQ(WindowEnableUpdates(&window_, 1), &window_);
  EXPECT_FALSE(window_.update & WindowUpdateOff);
  target.readable = false;
  PresentUpdates(window_, target);
  target.readable = true;
  target.clientWidth = 0;
  PresentUpdates(window_, target);
  EXPECT_TRUE(target.copies.empty());
  EXPECT_EQ(updates_->count, 1);
}

TEST_F(WindowDrawingTest, RepaintCopiesTheDamagedPartOrStretchesTheWholeBuffer) {
  Attach(320, 240);
  RecordingTarget target;
  RepaintRegion(window_, target, 300, 200, 100, 100);
  ASSERT_EQ(target.copies.size(), 1u);
  EXPECT_TRUE(Same(target.copies[0], SurfaceRect{300, 200, 320, 240}));
  window_.style |= WindowStyleStretch;
  RepaintRegion(window_, target, 0, 0, 10, 10);
  ASSERT_EQ(target.stretches.size(), 1u);
  EXPECT_TRUE(Same(target.stretches[0], SurfaceRect{0, 0, 640, 480}));
  EXPECT_EQ(updates_->count, 0);  // a repaint leaves the list alone
}

TEST_F(WindowDrawingTest, BufferRectAndScrollUseTheBuffer) {
  Attach(50, 40);
  SurfaceRect r{-1, -1, -1, -1};
  WindowGetBufferRect(&window_, &r);
  EXPECT_TRUE(Same(r, SurfaceRect{0, 0, 50, 40}));
  WindowFillRect(&window_, 0, 0, 0, 0, 0x00ABCDEF);
  WindowClearUpdates(&window_);
  EXPECT_NE(WindowScrollRect(&window_, 5, 5, 0, 0, 1, 1), 0);
  EXPECT_EQ(Pixel(5, 5), 0x00ABCDEFu);
  EXPECT_EQ(updates_->count, 0);
  WindowSetClip(&window_, 10, 10, 20, 20);
  WindowFillRect(&window_, 0, 0, 49, 39, 0x00112233);
  window_.drawSurface->ResetClipRect();
  EXPECT_EQ(Pixel(9, 9), 0u);
  EXPECT_EQ(Pixel(10, 10), 0x00112233u);
}

}  // namespace
