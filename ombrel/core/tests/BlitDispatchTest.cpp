// Slot 31 `Blit`: two-rectangle clipping, dispatch to the format's routine
// for every mode and effect, conversion between depths, the alpha copy and
// the refusals, against a per-pixel reference.
#include <gtest/gtest.h>

#include <climits>

#include "BlitTestSurfaces.h"
#include "LibError.h"
#include "palette/cPalette.h"
#include "pixel/InkEffects.h"
#include "support/PaletteReference.h"
#include "support/PixelReference.h"
#include "surface/BlitPaths.h"

namespace {

constexpr uint32_t kKey = 0x00FF00FF;

class BlitDispatch : public SurfaceTest {};

// Per-pixel model of the clipping: source pixel (sx + i, sy + j) lands on
// (dx + i, dy + j) when it lies in the source and its target in the clip.
TEST_F(BlitDispatch, BothRectanglesClipped) {
  struct Case {
    int32_t dx, dy, sx, sy, w, h;
    int32_t clipX, clipY, clipW, clipH;  // destination clip
  };
  const Case cases[] = {
      {10, 10, -5, 0, 12, 6, 0, 0, 40, 30},       // negative source x: 5 pixels further right
      {10, 10, 0, -3, 6, 12, 0, 0, 40, 30},       // negative source y
      {0, 0, 15, 8, 20, 20, 0, 0, 40, 30},        // source rectangle past the source's size
      {-4, -2, 0, 0, 20, 12, 0, 0, 40, 30},       // destination off its top-left
      {30, 25, 0, 0, 20, 12, 0, 0, 40, 30},       // off its bottom-right
      {5, 5, 2, 1, 18, 11, 8, 7, 6, 5},           // a small clip inside
      {-3, 4, -2, -1, 30, 30, 3, 2, 30, 20},      // both cuts at once
      {100, 0, 0, 0, 10, 10, 0, 0, 40, 30},       // nothing visible
      {0, 0, 0, 0, INT32_MAX, INT32_MAX, 0, 0, 40, 30},
      {INT32_MIN, 0, INT32_MIN, 0, INT32_MAX, 5, 0, 0, 40, 30},
      {0, 0, 0, 0, 0, 5, 0, 0, 40, 30},           // empty request
  };
  for (int32_t depth : {24, 32}) {
    cSurfaceImpl* src = MakeRandom(depth, 20, 12, kKey, 0);
    ASSERT_NE(src, nullptr);
    for (const Case& c : cases) {
      cSurfaceImpl* dest = MakeRandom(depth, 40, 30, kKey, 0);
      ASSERT_NE(dest, nullptr);
      dest->SetClipRect(c.clipX, c.clipY, c.clipW, c.clipH);
      PixelTestImage want = ImageOf(dest);
      bool any = false;
      for (int64_t j = 0; j < c.h && j < 64; ++j)
        for (int64_t i = 0; i < c.w && i < 64; ++i) {
          const int64_t u = int64_t(c.sx) + i, v = int64_t(c.sy) + j;
          const int64_t x = int64_t(c.dx) + i, y = int64_t(c.dy) + j;
          if (u < 0 || v < 0 || u >= 20 || v >= 12) continue;
          if (x < c.clipX || y < c.clipY || x >= c.clipX + c.clipW || y >= c.clipY + c.clipH) continue;
          want.SetRaw(int32_t(x), int32_t(y), Raw(src, int32_t(u), int32_t(v)));
          any = true;
        }
      // The model walks at most 64 x 64 from the start; the huge cases
      // start at the source's origin or outside, so that covers them.
      EXPECT_EQ(src->Blit(dest, c.dx, c.dy, c.sx, c.sy, c.w, c.h, 0, 0, 0, 0), any ? 1 : 0)
          << depth << " " << c.dx << "," << c.sx;
      EXPECT_EQ(Differs(dest, want), "") << depth << " case dx " << c.dx << " sx " << c.sx;
    }
  }
}

// Every mode and effect reaches its routine: keyed or not, with a key or
// an alpha plane, against the reference formulas.
TEST_F(BlitDispatch, ModesAndEffectsMatchTheReference) {
  struct Effect {
    uint32_t effect, parameter;
  };
  const Effect effects[] = {{0, 0},         {1, 64},           {1, 1},        {2, 0},
                            {3, 0},         {4, 0},            {5, 0},        {6, 0x40123456},
                            {8, 0},         {9, 0},            {10, 0},       {11, 0},
                            {12, 0x30ABCDEF}};
  for (int32_t depth : {24, 32})
    for (bool withAlpha : {false, true})
      for (int32_t mode : {0, 1})
        for (const Effect& e : effects) {
          cSurfaceImpl* src = MakeRandom(depth, 23, 9, kKey, 3, withAlpha);
          cSurfaceImpl* dest = MakeRandom(depth, 31, 17, kKey, 0);
          ASSERT_NE(dest, nullptr);
          PixelTestImage want = ImageOf(dest);
          const PixelTestImage from = ImageOf(src);
          if (mode == 0 && e.effect == 0)
            pixref::Copy(want, 5, 4, from, 2, 1, 19, 7);
          else if (mode == 0)
            pixref::BlitInk(want, 5, 4, from, 2, 1, 19, 7, e.effect, e.parameter);
          else if (e.effect == 0)
            pixref::BlitKeyed(want, 5, 4, from, 2, 1, 19, 7);
          else
            pixref::BlitKeyedInk(want, 5, 4, from, 2, 1, 19, 7, e.effect, e.parameter);
          ASSERT_EQ(src->Blit(dest, 5, 4, 2, 1, 19, 7, mode, e.effect, e.parameter, 0), 1);
          EXPECT_EQ(Differs(dest, want), "")
              << depth << " alpha " << withAlpha << " mode " << mode << " effect " << e.effect;
          EXPECT_EQ(dest->view.alphaFirstRow, nullptr);  // no alpha copy unless asked
        }
}

TEST_F(BlitDispatch, RefusalsLeaveTheDestination) {
  cSurfaceImpl* src = MakeRandom(32, 8, 8, kKey, 3);
  cSurfaceImpl* dest = MakeRandom(32, 8, 8, kKey, 0);
  const PixelTestImage before = ImageOf(dest);
  struct Case {
    int32_t mode;
    uint32_t effect, parameter;
    int32_t result;
  };
  const Case cases[] = {
      {2, 0, 0, 0},   {-1, 0, 0, 0},         {0, 13, 0, 0},  {1, 7, 0, 0},
      {0, 1, 129, 0}, {0, 6, 0x81000000, 0}, {1, 12, 0xFF000000, 0},
      {0, 1, 128, 1},  // full destination weight: nothing to draw, success
  };
  for (const Case& c : cases) {
    EXPECT_EQ(src->Blit(dest, 0, 0, 0, 0, 8, 8, c.mode, c.effect, c.parameter, 0), c.result)
        << c.mode << " " << c.effect;
    EXPECT_EQ(Differs(dest, before), "") << c.mode << " " << c.effect;
  }
  EXPECT_EQ(src->Blit(nullptr, 0, 0, 0, 0, 8, 8, 0, 0, 0, 0), 0);
  // Weight 0 turns the blend off: a plain copy.
  ASSERT_EQ(src->Blit(dest, 0, 0, 0, 0, 8, 8, 0, 1, 0, 0), 1);
  EXPECT_EQ(Differs(dest, ImageOf(src)), "");
}

TEST_F(BlitDispatch, FailedLocksDrawNothing) {
  LockFailSurface locked(32, 8, 8);
  cSurfaceImpl* other = MakeRandom(32, 8, 8, kKey, 0);
  const PixelTestImage before = ImageOf(other);
  EXPECT_EQ(locked.Blit(other, 0, 0, 0, 0, 8, 8, 0, 0, 0, 0), 0);
  EXPECT_EQ(other->Blit(&locked, 0, 0, 0, 0, 8, 8, 1, 9, 0, 0), 0);
  EXPECT_EQ(other->Blit(&locked, 0, 0, 0, 0, 8, 8, 0, 0, 0, 0), 0);
  EXPECT_EQ(Differs(other, before), "");
}

TEST_F(BlitDispatch, TrueColourDepthsConvert) {
  for (auto [from, to] : {std::pair{24, 32}, std::pair{32, 24}}) {
    cSurfaceImpl* src = MakeRandom(from, 13, 6, kKey, 3);
    // Plain conversion of a clipped rectangle (source x -2: two further right).
    cSurfaceImpl* dest = MakeRandom(to, 16, 8, kKey, 0);
    PixelTestImage want = ImageOf(dest);
    for (int32_t y = 0; y < 5; ++y)
      for (int32_t x = 0; x < 11; ++x)
        want.SetRaw(3 + 2 + x, 1 + y, pixref::Convert(from, Raw(src, x, 1 + y), to));
    ASSERT_EQ(src->Blit(dest, 3, 1, -2, 1, 13, 5, 0, 0, 0, 0), 1);
    EXPECT_EQ(Differs(dest, want), "") << from << " to " << to;

    // Keyed and with an effect: converted first (key included), then drawn
    // at one depth: the same as converting by hand and blitting there.
    for (auto [mode, effect] : {std::pair{1, 0u}, std::pair{1, 9u}, std::pair{0, 11u}}) {
      cSurfaceImpl* d = MakeRandom(to, 16, 8, kKey, 0);
      cSurfaceImpl* converted = Make(to, 13, 6);
      converted->SetTransparentColour(kKey);
      for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 13; ++x) SetRaw(converted, x, y, pixref::Convert(from, Raw(src, x, y), to));
      PixelTestImage expected = ImageOf(d);
      if (mode == 1 && effect == 0)
        pixref::BlitKeyed(expected, 1, 2, ImageOf(converted), 0, 0, 13, 6);
      else if (mode == 1)
        pixref::BlitKeyedInk(expected, 1, 2, ImageOf(converted), 0, 0, 13, 6, effect, 0);
      else
        pixref::BlitInk(expected, 1, 2, ImageOf(converted), 0, 0, 13, 6, effect, 0);
      ASSERT_EQ(src->Blit(d, 1, 2, 0, 0, 13, 6, mode, effect, 0, 0), 1);
      EXPECT_EQ(Differs(d, expected), "") << from << " to " << to << " mode " << mode;
    }
  }
}

// A keyed blit from 8 bits to another depth leaves the key index's pixels
// out, whatever colour the palette gives that index: keyed equals opaque
// on every other pixel and the untouched destination on the key's.
TEST_F(BlitDispatch, EightBitKeyIndexStaysTransparentAtOtherDepths) {
  LogPalette log = defaultPalette_->log;
  log.entries[0] = {0xFF, 0x00, 0xFF, 0};  // magenta, not black
  for (int32_t to : {15, 16, 24, 32})
    for (uint32_t keyColour : {0u, 0x01000009u}) {  // index 0 (the default), index 9
      cSurfaceImpl* src = Make(8, 7, 5);
      ASSERT_EQ(src->SetLogPalette(&log, 0), 1);
      src->SetTransparentColour(keyColour);
      const uint32_t keyIndex = src->view.transparentValue;
      for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 7; ++x) SetRaw(src, x, y, (x + y) % 3 == 0 ? keyIndex : (x + y) % 3 == 1 ? 0 : 9 + x);
      cSurfaceImpl* keyed = Make(to, 9, 7);
      cSurfaceImpl* opaque = Make(to, 9, 7);
      keyed->FillRect(0, 0, 9, 7, 0x00123456);
      opaque->FillRect(0, 0, 9, 7, 0x00123456);
      const PixelTestImage before = ImageOf(keyed);
      ASSERT_EQ(src->Blit(keyed, 1, 1, 0, 0, 7, 5, 1, 0, 0, 0), 1);
      ASSERT_EQ(src->Blit(opaque, 1, 1, 0, 0, 7, 5, 0, 0, 0, 0), 1);
      PixelTestImage want = ImageOf(opaque);
      for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 7; ++x)
          if (Raw(src, x, y) == keyIndex) want.SetRaw(1 + x, 1 + y, before.Raw(1 + x, 1 + y));
      EXPECT_EQ(Differs(keyed, want), "") << "8 to " << to << ", key index " << keyIndex;
    }
}

TEST_F(BlitDispatch, TrueColourToPaletteGoesThroughTheInverseTable) {
  constexpr int32_t kW = 24, kH = 12;
  cSurfaceImpl* src = MakeRandom(32, kW, kH, kKey, 0);
  cSurfaceImpl* dest = Make(8, kW, kH);
  ASSERT_NE(dest, nullptr);
  const cPalette* palette = dest->view.palette;
  ASSERT_NE(palette, nullptr);
  ASSERT_EQ(palette->inverse, nullptr);  // the model below starts from an unbuilt table
  // Palette colours and near misses of them too, so that keys taken by
  // entries and keys met twice are both crossed.
  for (int32_t i = 0; i < kW * kH; i += 3) {
    const uint32_t entry = EntryColour(palette->log.entries[1 + i % 255]);
    src->SetPixel(i % kW, i / kW, i % 2 ? entry : entry ^ (rng_() & 0x030303));
  }
  ASSERT_EQ(src->Blit(dest, 0, 0, 0, 0, kW, kH, 0, 0, 0, 0), 1);
  ASSERT_NE(palette->inverse, nullptr);
  palref::InverseTableModel model(palette->log.entries, palette->log.count);
  for (int32_t y = 0; y < kH; ++y)  // the conversion's own order: rows from the top
    for (int32_t x = 0; x < kW; ++x) {
      uint32_t colour = 0;
      ASSERT_EQ(src->GetPixel(x, y, &colour), 1);
      const uint32_t want = (colour & 0xFFFFFF) == 0 ? 0 : uint32_t(model.Resolve(colour));
      EXPECT_EQ(Raw(dest, x, y), want) << x << "," << y;
    }
}

// Every pair of depths is served in every mode; a row that lacks the slot a
// blit needs is refused with the unsupported code and draws nothing.
TEST_F(BlitDispatch, MissingRoutinesAreReportedNotRun) {
  for (int32_t from : {8, 15, 16, 24, 32})
    for (int32_t to : {8, 15, 16, 24, 32})
      for (int32_t mode : {0, 1})
        for (uint32_t effect : {0u, 9u}) {
          cSurfaceImpl* src = Make(from, 6, 4);
          cSurfaceImpl* dest = Make(to, 6, 4);
          ASSERT_NE(dest, nullptr);
          EXPECT_EQ(BlitRoutineStatus(*src, *dest, mode, effect), LibOk)
              << from << " to " << to << " mode " << mode << " effect " << effect;
        }
  struct Case {
    int32_t mode;
    uint32_t effect;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 0}, Case{0, 9}, Case{1, 9}}) {
    cSurfaceImpl* src = Make(16, 6, 4);
    cSurfaceImpl* dest = Make(16, 6, 4);
    ASSERT_NE(dest, nullptr);
    PixelOps stripped = *src->view.ops;
    if (c.effect != 0)
      (c.mode == 0 ? stripped.BlitInk : stripped.BlitKeyedInk) = nullptr;
    else
      (c.mode == 0 ? stripped.Copy : stripped.BlitKeyed) = nullptr;
    src->view.ops = &stripped;
    for (int32_t y = 0; y < 4; ++y)
      for (int32_t x = 0; x < 6; ++x) {
        SetRaw(src, x, y, 0x5A5A5A5A + uint32_t(x));
        SetRaw(dest, x, y, 0x01020304);
      }
    const PixelTestImage before = ImageOf(dest);
    EXPECT_EQ(BlitRoutineStatus(*src, *dest, c.mode, c.effect), ErrNotSupported) << c.mode << " " << c.effect;
    EXPECT_EQ(src->Blit(dest, 0, 0, 0, 0, 6, 4, c.mode, c.effect, 0, 0), 0) << c.mode << " " << c.effect;
    EXPECT_EQ(Differs(dest, before), "") << c.mode << " " << c.effect;
    src->view.ops = GetPixelOps(src->view.depthIndex);
  }
  // A same-depth copy at 16 bits moves the bytes.
  cSurfaceImpl* a = MakeRandom(16, 5, 3, 0, 0);
  cSurfaceImpl* b = Make(16, 5, 3);
  ASSERT_EQ(a->Blit(b, 0, 0, 0, 0, 5, 3, 0, 0, 0, 0), 1);
  EXPECT_EQ(Differs(b, ImageOf(a)), "");
}

TEST_F(BlitDispatch, WithAlphaCopiesTheAlphaRectangle) {
  for (int32_t destDepth : {32, 24}) {  // same depth, then through the conversion
    cSurfaceImpl* src = MakeRandom(32, 10, 6, kKey, 0, true);
    cSurfaceImpl* dest = MakeRandom(destDepth, 12, 9, kKey, 0);
    dest->SetClipRect(0, 0, 12, 8);
    ASSERT_EQ(dest->view.alphaFirstRow, nullptr);
    ASSERT_EQ(src->Blit(dest, 4, 3, 1, 0, 9, 6, 0, 0, 0, BlitWithAlpha), 1);
    ASSERT_NE(dest->view.alphaFirstRow, nullptr);
    for (int32_t y = 0; y < 9; ++y)
      for (int32_t x = 0; x < 12; ++x) {
        // Visible part: columns 4..11 from source 1..8, rows 3..7 from 0..4.
        const bool copied = x >= 4 && y >= 3 && y < 8;
        EXPECT_EQ(Alpha(dest, x, y), copied ? Alpha(src, x - 3, y - 3) : 0) << x << "," << y;
      }
    // Keyed blits never copy the plane.
    cSurfaceImpl* keyed = MakeRandom(destDepth, 12, 9, kKey, 0);
    ASSERT_EQ(src->Blit(keyed, 0, 0, 0, 0, 10, 6, 1, 0, 0, BlitWithAlpha), 1);
    EXPECT_EQ(keyed->view.alphaFirstRow, nullptr);
  }
}

// A surface drawn onto itself one column along: rows overlap, pixels and
// alpha bytes alike move as a whole.
TEST_F(BlitDispatch, WithAlphaOntoItselfAlongTheRows) {
  cSurfaceImpl* s = MakeRandom(32, 10, 6, kKey, 0, true);
  const PixelTestImage before = ImageOf(s);
  uint8_t alpha[6][10];
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 10; ++x) alpha[y][x] = Alpha(s, x, y);
  ASSERT_EQ(s->Blit(s, 1, 0, 0, 0, 9, 6, 0, 0, 0, BlitWithAlpha), 1);
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 1; x < 10; ++x) {
      EXPECT_EQ(Raw(s, x, y), before.Raw(x - 1, y)) << x << "," << y;
      EXPECT_EQ(Alpha(s, x, y), alpha[y][x - 1]) << x << "," << y;
    }
}

}  // namespace
