// The Sprite and Mask flat functions on a sprite window's record made as the
// window functions make it (no system window): a 640 x 480 back buffer of an
// app's format, the window's dirty list, pool and mask fields. The record's
// mask fields round-trip through the mask calls; sprites made, moved and
// drawn through the flat calls land in the back buffer and the dirty list;
// the pool's replacement and the window's teardown take the sprites with
// them (owner-drawn sprites hear of it once).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "AppFixture.h"
#include "LiveBlockHeap.h"
#include "imagebank/ImageBank.h"
#include "mask/MaskApi.h"
#include "sprite/SpriteApi.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibraryApi.h"
#include "window/UpdateList.h"
#include "window/WindowApi.h"
#include "window/WindowDrawApi.h"
#include "window/WindowRecord.h"
#include "window/WindowSprites.h"

namespace {

int ownerDeleted = 0;

intptr_t OMB_STDCALL CountingOwner(SpriteRecord*, int32_t call, int32_t) {
  if (call == kOwnerDeleted) ++ownerDeleted;
  return 0;
}

class SpriteWindowApi : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    SurfaceLibraryInit();
    app_ = AppCreate(nullptr, nullptr);
    ASSERT_NE(app_, nullptr);
    ScriptedDisplay display(DisplayFormat{32, 32, -1});
    ASSERT_EQ(AppSetDepthOn(app_, 8, display) & 0xF, 8);
    std::memset(&window_, 0, sizeof window_);
    window_.app = app_;
    window_.depth = uint16_t(app_->depth);
    updates_ = std::make_unique<UpdateList>();
    updates_->count = 0;
    window_.updates = updates_.get();
    window_.plane0 = window_.plane1 = -1;
    window_.pixelCollision = 1;
    window_.spritePool = SpritePoolCreate(kSpriteWindowPoolRecords);
    cSurfaceHandle* prototype = nullptr;
    GetSurfacePrototype(&prototype, 32, 0, 0);
    cSurfaceHandle* buffer = CreateSurfaceHandle();
    ASSERT_NE(buffer->Create(640, 480, prototype), nullptr);
    buffer->FillAll(0x203040);
    ASSERT_EQ(WindowAttachSurface(&window_, buffer), 1);
    std::vector<uint8_t> pixels(size_t(12) * 12 * 4, 0);
    for (size_t i = 0; i < pixels.size(); i += 4) pixels[i] = pixels[i + 1] = 0xF0;  // a solid square
    image_ = uint32_t(ImageCreate(app_, 12, 12, 6, 6, 0, 0, 0, 0, pixels.data(), nullptr));
  }
  void TearDown() override {
    WindowDeleteSprites(&window_);
    SpritePoolFree(&window_);
    MaskFree(&window_);
    DeleteSurfaceHandle(window_.drawSurface);
    DeleteSurfaceHandle(window_.backSurface);
    AppDestroy(app_);
    SurfaceLibraryExit();
    AppTest::TearDown();
  }
  AppObject* app_ = nullptr;
  WindowObject window_{};
  std::unique_ptr<UpdateList> updates_;
  uint32_t image_ = 0;
};

TEST_F(SpriteWindowApi, MaskCallsKeepTheRecordsFields) {
  ASSERT_EQ(MaskCreate(&window_, 0, 0, 3), 1);
  EXPECT_EQ(window_.maskLeft, 0);
  EXPECT_EQ(window_.maskRight, 655);
  EXPECT_EQ(window_.maskBottom, 479);
  EXPECT_EQ(uint16_t(window_.maskRowBytes), 82);
  EXPECT_EQ(window_.plane1, window_.planeSize);
  EXPECT_EQ(MaskFillRect(&window_, 100, 100, 120, 110, 1), 0);
  EXPECT_EQ(MaskTestPoint(&window_, 100, 100, 0), 1);
  EXPECT_EQ(MaskTestPoint(&window_, 100, 100, 1), 0);
  MaskRect clip{0, 0, 99, 479};
  EXPECT_EQ(MaskSetClip(&window_, &clip), &window_);
  EXPECT_EQ(MaskTestPoint(&window_, 100, 100, 0), 0);
  EXPECT_EQ(MaskSetClip(&window_, nullptr), &window_);
  MaskRect sx{}, sy{};
  EXPECT_EQ(MaskScroll(&window_, 8, 0, &sx, &sy), 1);
  EXPECT_EQ(MaskTestPoint(&window_, 108, 100, 0), 1);
  EXPECT_EQ(MaskTestPoint(&window_, 100, 100, 0), 0);
  EXPECT_EQ(sx.right, 31);
  EXPECT_EQ(MaskSetOrigin(&window_, 8, 0), &window_);
  EXPECT_EQ(window_.maskOriginX, 8);
  EXPECT_EQ(MaskTestPoint(&window_, 100, 100, 0), 1);
  MaskPaintImage(&window_, image_, 300, 200, 1);
  // The origin applies to stamps and tests alike.
  EXPECT_EQ(MaskTestRect(&window_, 300, 200, 1, 1, 0), 1);
  EXPECT_EQ(MaskTestRect(&window_, 299, 200, 1, 1, 0), 0);
  EXPECT_EQ(MaskTestPoint(&window_, 311, 211, 0), 1);
  MaskFree(&window_);
  EXPECT_EQ(window_.maskBits, nullptr);
  EXPECT_EQ(MaskTestPoint(&window_, 100, 100, 0), 0);
  EXPECT_EQ(MaskTestPoint(nullptr, 0, 0, 0), 0);
  EXPECT_EQ(MaskCreate(nullptr, 0, 0, 3), 0);
}

TEST_F(SpriteWindowApi, SpritesDrawnThroughTheFlatCallsReachBufferAndDirtyList) {
  SpriteRecord* s = SpriteCreate(&window_, 100, 80, image_, 1, 0, 0, kSpriteCollides, 5);
  ASSERT_NE(s, nullptr);
  SpriteRecord* t = SpriteCreate(&window_, 104, 80, image_, 1, 0, 0, kSpriteCollides, 6);
  WindowEraseSprites(&window_);
  WindowCommitSprites(&window_);
  WindowDrawSprites(&window_);
  EXPECT_NE(window_.backSurface, nullptr) << "the first draw pass makes the background surface";
  uint32_t colour = 0;
  window_.drawSurface->GetPixel(100, 80, &colour);
  EXPECT_EQ(colour, 0xF0F000u);  // blue and green bytes of the source
  EXPECT_GT(updates_->count, 0);
  EXPECT_EQ(SpriteFindCollision(&window_, s, 0, 100, 80, 0, 1.0f, 1.0f, 0, 0), t);
  CollisionPair pairs[3] = {};
  EXPECT_EQ(SpriteListCollisions(&window_, s, pairs, 0, 100, 80, 0, 1.0f, 1.0f, 0), 1);
  EXPECT_EQ(pairs[0].user, 6);
  EXPECT_EQ(SpriteFindAtPoint(&window_, nullptr, 1, 108, 85, 0), t);
  EXPECT_EQ(SpriteFindAtPoint(&window_, nullptr, 1, 110, 85, 0), nullptr);
  EXPECT_EQ(WindowSetPixelCollision(&window_, 0), 1);
  EXPECT_EQ(SpriteMove(&window_, s, 300, 300, image_), s);
  WindowEraseSprites(&window_);
  WindowCommitSprites(&window_);
  WindowDrawSprites(&window_);
  window_.drawSurface->GetPixel(96, 76, &colour);
  EXPECT_EQ(colour, 0x203040u) << "the old place shows the background again";
  EXPECT_EQ(SpriteFirstOfLayer(&window_, 1, 0), s);
  EXPECT_EQ(SpriteLastOfLayer(&window_, 1, 0), t);
  // Null windows and sprites give the failure values.
  EXPECT_EQ(SpriteCreate(nullptr, 0, 0, image_, 0, 0, 0, 0, 0), nullptr);
  EXPECT_EQ(SpriteMove(&window_, nullptr, 0, 0, 0), nullptr);
  EXPECT_EQ(SpriteFindCollision(&window_, nullptr, 0, 0, 0, 0, 1.0f, 1.0f, 0, 0), nullptr);
  WindowEraseSprites(nullptr);
}

TEST_F(SpriteWindowApi, ReplacingThePoolAndTheTeardownDeleteTheSprites) {
  ownerDeleted = 0;
  SpriteCreateOwnerDrawn(&window_, 10, 10, 20, 20, 0, 0, 0, 0, 1, CountingOwner);
  SpriteCreate(&window_, 50, 50, image_, 0, 0, 0, kSpriteCollides, 2);
  EXPECT_EQ(WindowControl(&window_, 1, 0, 10), 1);
  EXPECT_EQ(ownerDeleted, 1);
  EXPECT_EQ(static_cast<SpritePool*>(window_.spritePool)->First(), nullptr);
  // The new pool of 10 holds 9.
  int made = 0;
  while (SpriteCreate(&window_, 0, 0, image_, 0, 0, 0, 0, 0) != nullptr) ++made;
  EXPECT_EQ(made, 9);
  SpriteCreateOwnerDrawn(&window_, 10, 10, 20, 20, 0, 0, 0, 0, 1, CountingOwner);  // full: null
  WindowDeleteSprites(&window_);
  EXPECT_EQ(static_cast<SpritePool*>(window_.spritePool)->First(), nullptr);
  EXPECT_EQ(ownerDeleted, 1);
}

TEST_F(SpriteWindowApi, TheWindowsTeardownFreesEverySpritesSurfacesMasksAndTheWindowMask) {
  // A record of the library's heap, listed in the app, as windows are.
  void* block = nullptr;
  ASSERT_TRUE(MemCalloc(sizeof(WindowObject), &block));
  auto* w = static_cast<WindowObject*>(block);
  std::memcpy(w, &window_, sizeof window_);
  void* list = nullptr;
  ASSERT_TRUE(MemCalloc(sizeof(UpdateList), &list));
  w->updates = static_cast<UpdateList*>(list);
  w->spritePool = SpritePoolCreate(kSpriteWindowPoolRecords);
  cSurfaceHandle* prototype = nullptr;
  GetSurfacePrototype(&prototype, 32, 0, 0);
  cSurfaceHandle* buffer = CreateSurfaceHandle();
  ASSERT_NE(buffer->Create(160, 120, prototype), nullptr);
  ASSERT_EQ(WindowAttachSurface(w, buffer), 1);
  ASSERT_TRUE(app_->windows.AddTail(w));
  // The image's bank masks belong to the app: made before the count.
  ASSERT_NE(ImageGetMask(app_, image_, 0), nullptr);
  ASSERT_NE(ImageGetMask(app_, image_, 1), nullptr);
  // Counted from here: everything made for the sprites and the mask.
  LiveBlockHeap heap;
  ownerDeleted = 0;
  SpriteRecord* turned = SpriteCreate(w, 40, 40, image_, 0, 0, 0, kSpriteCollides, 1);
  SpriteSetAngle(w, turned, 30, 1);
  SpriteRecord* plain = SpriteCreate(w, 48, 44, image_, 0, 0, 0, kSpriteCollides | kSpriteKept, 2);
  SpriteCreateOwnerDrawn(w, 10, 10, 30, 30, 1, 0, 0, 0, 3, CountingOwner);
  ASSERT_EQ(MaskCreate(w, 16, 8, 3), 1);
  WindowEraseSprites(w);
  WindowCommitSprites(w);
  WindowDrawSprites(w);
  // Transformed masks and test transforms made on demand (image 0: the current one).
  EXPECT_EQ(SpriteFindCollision(w, turned, 0, 40, 40, 30, 1.0f, 1.0f, 0, 0), plain);
  EXPECT_EQ(SpriteFindCollision(w, turned, image_, 140, 40, 60, 2.0f, 1.0f, 0, 0), nullptr);
  EXPECT_NE(turned->testSurface, nullptr);
  EXPECT_EQ(MaskTestSprite(w, plain, 0, 48, 44, 0, 1.0f, 1.0f, 0, 0), 0);
  EXPECT_GT(heap.Live(), 0u);
  DestroyWindowRecord(w);
  EXPECT_EQ(ownerDeleted, 1);
  EXPECT_EQ(heap.Live(), 0u) << "blocks a window's sprites or mask left behind";
}

}  // namespace
