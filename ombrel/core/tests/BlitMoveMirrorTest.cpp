// Slots 32 `MoveRect`, 33 `BlitCallback`, 37 `MirrorX` and 38 `MirrorY`
// against per-pixel models.
#include <gtest/gtest.h>

#include <algorithm>

#include "BlitTestSurfaces.h"
#include "support/PixelReference.h"

namespace {

constexpr uint32_t kKey = 0x0000FF00;

class BlitMoveMirror : public SurfaceTest {};

TEST_F(BlitMoveMirror, MoveRectHandlesOverlapInEveryDirection) {
  struct Case {
    int32_t dx, dy, sx, sy, w, h, result;
  };
  const Case cases[] = {
      {3, 2, 1, 1, 10, 6, 1},  {1, 1, 3, 2, 10, 6, 1},   // down-right, up-left
      {4, 1, 2, 1, 9, 5, 1},   {2, 1, 4, 1, 9, 5, 1},    // same rows
      {0, 5, 0, 3, 16, 4, 1},  {0, 0, 0, 0, 16, 9, 1},   // rows, whole surface
      {10, 0, 0, 0, 7, 3, 0},  {0, 0, -1, 0, 3, 3, 0},   // past the right, negative
      {0, 7, 0, 0, 3, 3, 0},   {0, 0, 0, 0, 0, 3, 0},    // past the bottom, empty
      {0, 0, 0, 0, 0x7FFFFFFF, 1, 0},
  };
  for (int32_t depth : {24, 32})
    for (const Case& c : cases) {
      cSurfaceImpl* s = MakeRandom(depth, 16, 9, kKey, 0, true);
      const PixelTestImage before = ImageOf(s);
      PixelTestImage want = ImageOf(s);
      if (c.result)
        for (int32_t y = 0; y < c.h; ++y)
          for (int32_t x = 0; x < c.w; ++x) want.SetRaw(c.dx + x, c.dy + y, before.Raw(c.sx + x, c.sy + y));
      EXPECT_EQ(s->MoveRect(c.dx, c.dy, c.sx, c.sy, c.w, c.h), c.result) << c.dx << "," << c.sx;
      EXPECT_EQ(Differs(s, want), "") << depth << ": " << c.dx << "," << c.dy << " from " << c.sx
                                      << "," << c.sy;
      for (int32_t y = 0; y < 9; ++y)  // the alpha plane stays
        for (int32_t x = 0; x < 16; ++x) ASSERT_EQ(Alpha(s, x, y), before.Alpha(x, y));
    }
  LockFailSurface locked(32, 8, 8);
  EXPECT_EQ(locked.MoveRect(1, 1, 0, 0, 4, 4), 0);
}

uint32_t OMB_STDCALL MixCallback(uint32_t d, uint32_t s, uint32_t user) {
  return (d ^ (s * 3) ^ user) & 0x00FFFFFF;
}
// The reference model takes a plain function.
uint32_t MixReference(uint32_t d, uint32_t s, uint32_t user) { return MixCallback(d, s, user); }

TEST_F(BlitMoveMirror, CallbackBlitClipsAndSkipsTheKeyInModeOne) {
  for (int32_t depth : {24, 32})
    for (int32_t mode : {0, 1}) {
      cSurfaceImpl* src = MakeRandom(depth, 12, 7, kKey, 3);
      cSurfaceImpl* dest = MakeRandom(depth, 14, 9, kKey, 0);
      dest->SetClipRect(1, 0, 12, 8);
      PixelTestImage want = ImageOf(dest);
      // Source x -3 moves the start to dest 2 + 3 = 5; the clip keeps x < 13, y < 8.
      pixref::BlitCallback(want, 5, 4, ImageOf(src), 0, 0, 8, 4, mode == 1, &MixReference, 0x123456);
      ASSERT_EQ(src->BlitCallback(dest, 2, 4, -3, 0, 20, 20, mode, &MixCallback, 0x123456), 1);
      EXPECT_EQ(Differs(dest, want), "") << depth << " mode " << mode;
    }
  cSurfaceImpl* a = MakeRandom(32, 4, 4, kKey, 0);
  cSurfaceImpl* b24 = MakeRandom(24, 4, 4, kKey, 0);
  LockFailSurface locked(32, 4, 4);
  EXPECT_EQ(a->BlitCallback(b24, 0, 0, 0, 0, 4, 4, 0, &MixCallback, 0), 0);   // other depth
  EXPECT_EQ(a->BlitCallback(a, 0, 0, 0, 0, 4, 4, 0, nullptr, 0), 0);
  EXPECT_EQ(a->BlitCallback(nullptr, 0, 0, 0, 0, 4, 4, 0, &MixCallback, 0), 0);
  EXPECT_EQ(a->BlitCallback(a, 9, 0, 0, 0, 4, 4, 0, &MixCallback, 0), 0);      // clipped away
  EXPECT_EQ(locked.BlitCallback(a, 0, 0, 0, 0, 4, 4, 0, &MixCallback, 0), 0);  // failed locks: 0
  EXPECT_EQ(a->BlitCallback(&locked, 0, 0, 0, 0, 4, 4, 0, &MixCallback, 0), 0);
}

TEST_F(BlitMoveMirror, MirrorsReverseTheClippedRectangleWithItsAlpha) {
  struct Case {
    int32_t x, y, w, h;
    int32_t clipX, clipY, clipW, clipH;
    int32_t result;
  };
  const Case cases[] = {
      {0, 0, 11, 7, 0, 0, 11, 7, 1},    {2, 1, 6, 5, 0, 0, 11, 7, 1},
      {-3, -2, 9, 6, 1, 1, 8, 5, 1},    // cut to the clip, then reversed
      {5, 2, 1, 3, 0, 0, 11, 7, 1},     // one column: MirrorX has nothing to do
      {20, 0, 4, 4, 0, 0, 11, 7, 0},    // wholly outside
      {0, 0, 4, 4, 6, 0, 5, 7, 0},      // outside the clip only
  };
  for (int32_t depth : {24, 32})
    for (bool vertical : {false, true})
      for (const Case& c : cases) {
        cSurfaceImpl* s = MakeRandom(depth, 11, 7, kKey, 0, true);
        s->SetClipRect(c.clipX, c.clipY, c.clipW, c.clipH);
        const PixelTestImage before = ImageOf(s);
        PixelTestImage want = ImageOf(s);
        const int32_t x0 = std::max(c.x, c.clipX), y0 = std::max(c.y, c.clipY);
        const int32_t x1 = std::min(c.x + c.w, c.clipX + c.clipW);
        const int32_t y1 = std::min(c.y + c.h, c.clipY + c.clipH);
        for (int32_t y = y0; c.result && y < y1; ++y)
          for (int32_t x = x0; x < x1; ++x) {
            const int32_t fx = vertical ? x : x1 - 1 - (x - x0);
            const int32_t fy = vertical ? y1 - 1 - (y - y0) : y;
            want.SetRaw(x, y, before.Raw(fx, fy));
            want.SetAlpha(x, y, before.Alpha(fx, fy));
          }
        const int32_t got = vertical ? s->MirrorY(c.x, c.y, c.w, c.h) : s->MirrorX(c.x, c.y, c.w, c.h);
        EXPECT_EQ(got, c.result) << depth << " v" << vertical << " " << c.x << "," << c.y;
        EXPECT_EQ(Differs(s, want), "") << depth << " v" << vertical << " " << c.x << "," << c.y;
        for (int32_t y = 0; y < 7; ++y)
          for (int32_t x = 0; x < 11; ++x)
            ASSERT_EQ(Alpha(s, x, y), want.Alpha(x, y)) << x << "," << y << " v" << vertical;
      }
  LockFailSurface locked(32, 8, 8);
  EXPECT_EQ(locked.MirrorX(0, 0, 8, 8), 0);
  EXPECT_EQ(locked.MirrorY(0, 0, 8, 8), 0);
}

}  // namespace
