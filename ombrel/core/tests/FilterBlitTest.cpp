// Slot 34 `FilterBlit`, the two edge smoothing callbacks and the smoothing
// pass of `Blit`, against per-pixel models.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "BlitTestSurfaces.h"
#include "support/PixelReference.h"
#include "surface/BlitPaths.h"
#include "surface/FilterSmoothEdges.h"

namespace {

constexpr uint32_t kKey = 0x00FF00FF;

TEST(SmoothEdges, KeyedCallbackMixesOnlyInsideCorners) {
  const uint32_t k = kKey, o = 0x00112233;  // o: any drawn (non-key) source pixel
  const uint32_t drawn = 0x00F06030, noise = 0x00FFFFFF;
  // Drawn pixels above and to the left of a transparent centre.
  const uint32_t b[9] = {drawn, drawn, noise, drawn, 0x00000001, noise, noise, noise, noise};
  struct Case {
    uint32_t s[9];
    uint32_t result;
  };
  const Case cases[] = {
      {{o, o, k, o, o, k, k, k, k}, 0x00000001},  // opaque centre: background kept
      {{o, k, o, o, k, o, o, k, o}, 0x00000001},  // transparent above and below
      {{o, o, o, k, k, k, o, o, o}, 0x00000001},  // transparent left and right
      // Inside corner: per channel (12 x 1 + 7 x 1 for the five transparent
      // neighbours + 5 x drawn) / 24, truncated: 0x30 -> 10, 0x60 -> 20, 0xF0 -> 50.
      {{o, o, k, o, k, k, k, k, k}, 0x0032140A},
  };
  for (const Case& c : cases) EXPECT_EQ(SmoothEdgeKeyed(b, c.s, k), c.result);
}

TEST(SmoothEdges, OverColourTreatsZeroAsTransparentAndBlackAsTheColour) {
  const uint32_t o = 0x00112233, drawn = 0x00F06030, colour = 0x00180018;
  const uint32_t b[9] = {drawn, drawn, 0, drawn, 0, 0, 0, 0, 0};
  const uint32_t s[9] = {o, o, 0, o, 0, 0, 0, 0, 0};
  // Background zeros become the colour (0x18 = 24 in red and blue): red
  // (19 x 24 + 5 x 0x30) / 24 = 29, green 5 x 0x60 / 24 = 20, blue (456 + 1200) / 24 = 69.
  EXPECT_EQ(SmoothEdgeOverColour(b, s, colour), 0x0045141Du);
  // Colour 0: zeros stay black.
  EXPECT_EQ(SmoothEdgeOverColour(b, s, 0), 0x0032140Au);
  const uint32_t opaque[9] = {o, o, o, o, o, o, o, o, o};
  EXPECT_EQ(SmoothEdgeOverColour(b, opaque, colour), colour);  // centre kept, after the swap
}

// A callback whose result depends on every entry and its position.
uint32_t OMB_STDCALL HashBlocks(const uint32_t* background, const uint32_t* source, uint32_t count) {
  uint32_t h = 0;
  for (uint32_t i = 0; i < count; ++i) h = h * 31 + background[i] * (i + 1) + source[i] * (i + 7);
  return h & 0x00FFFFFF;
}

class FilterBlit : public SurfaceTest {};

TEST_F(FilterBlit, BlocksMatchTheModel) {
  struct Case {
    int32_t dx, dy, sx, sy, w, h, kw, kh, ax, ay, mx, my;
    int32_t srcClip[4], destClip[4];
  };
  const Case cases[] = {
      {4, 3, 0, 0, 9, 6, 3, 3, 1, 1, 1, 1, {0, 0, 9, 6}, {0, 0, 16, 12}},
      {0, 0, 0, 0, 9, 6, 3, 3, 1, 1, 1, 1, {0, 0, 9, 6}, {0, 0, 16, 12}},   // edge repeated
      {10, 8, 2, 1, 9, 6, 2, 4, 0, 3, 0, 2, {0, 0, 9, 6}, {0, 0, 16, 12}},  // odd kernel
      {-2, 5, 0, 0, 9, 6, 5, 1, 4, 0, 2, 0, {1, 1, 6, 4}, {0, 0, 16, 12}},  // source clip
      {3, 2, 0, 0, 9, 6, 1, 1, 0, 0, 0, 0, {0, 0, 9, 6}, {5, 4, 6, 5}},     // 1 x 1, dest clip
      {3, 2, -4, 0, 9, 6, 3, 3, -1, 2, 3, 1, {0, 0, 9, 6}, {0, 0, 16, 12}},
  };
  for (int32_t depth : {8, 15, 16, 24, 32})
    for (const Case& c : cases) {
      cSurfaceImpl* src = MakeRandom(depth, 9, 6, kKey, 4);
      cSurfaceImpl* dest = MakeRandom(depth, 16, 12, kKey, 0);
      src->SetClipRect(c.srcClip[0], c.srcClip[1], c.srcClip[2], c.srcClip[3]);
      dest->SetClipRect(c.destClip[0], c.destClip[1], c.destClip[2], c.destClip[3]);
      auto colourAt = [](cSurfaceImpl* s, int32_t x, int32_t y) { return s->GetPixelFast(x, y) & 0xFFFFFF; };
      // The model: clip as a blit does, then one callback per pixel of the
      // rectangle grown by the margins.
      int32_t dx = c.dx, dy = c.dy, sx = c.sx, sy = c.sy, w = c.w, h = c.h;
      ASSERT_TRUE(ClipBlitRects(src->view, dest->view, dx, dy, sx, sy, w, h));
      std::vector<uint32_t> before(16 * 12);
      for (int32_t y = 0; y < 12; ++y)
        for (int32_t x = 0; x < 16; ++x) before[y * 16 + x] = colourAt(dest, x, y);
      cSurfaceImpl* want = Make(depth, 16, 12);
      for (int32_t y = 0; y < 12; ++y)
        for (int32_t x = 0; x < 16; ++x) SetRaw(want, x, y, Raw(dest, x, y));
      std::vector<uint32_t> b(c.kw * c.kh), s(c.kw * c.kh);
      for (int32_t y = dy - c.my; y < dy + h + c.my; ++y)
        for (int32_t x = dx - c.mx; x < dx + w + c.mx; ++x) {
          for (int32_t j = 0; j < c.kh; ++j)
            for (int32_t i = 0; i < c.kw; ++i) {
              const int32_t bx = std::clamp(x - c.ax + i, 0, 15), by = std::clamp(y - c.ay + j, 0, 11);
              b[j * c.kw + i] = before[by * 16 + bx];
              const int32_t u = sx + x - dx - c.ax + i, v = sy + y - dy - c.ay + j;
              const bool inside = u >= c.srcClip[0] && u < c.srcClip[0] + c.srcClip[2] &&
                                  v >= c.srcClip[1] && v < c.srcClip[1] + c.srcClip[3];
              s[j * c.kw + i] = inside ? colourAt(src, u, v) : src->view.transparentColour & 0xFFFFFF;
            }
          want->SetPixel(x, y, HashBlocks(b.data(), s.data(), uint32_t(c.kw * c.kh)));
        }
      want->SetClipRect(c.destClip[0], c.destClip[1], c.destClip[2], c.destClip[3]);
      ASSERT_EQ(src->FilterBlit(dest, c.dx, c.dy, c.sx, c.sy, c.w, c.h, c.kw, c.kh, c.ax, c.ay,
                                c.mx, c.my, reinterpret_cast<FilterCallback>(&HashBlocks),
                                uint32_t(c.kw * c.kh)),
                1);
      EXPECT_EQ(Differs(dest, ImageOf(want)), "") << depth << " case dx " << c.dx << " kw " << c.kw;
    }
}

// The smoothing callbacks called through another address: FilterBlit does
// not know them and builds their blocks.
uint32_t OMB_STDCALL ViaKeyed(const uint32_t* background, const uint32_t* source, uint32_t key) {
  return SmoothEdgeKeyed(background, source, key);
}
uint32_t OMB_STDCALL ViaOverColour(const uint32_t* background, const uint32_t* source, uint32_t colour) {
  return SmoothEdgeOverColour(background, source, colour);
}

// The smoothing computed in place against the callbacks on their blocks, and
// a pass onto the surface it reads from against the same pass onto a copy:
// random sizes (odd widths), places, clips and keys at every depth.
TEST_F(FilterBlit, InPlaceSmoothingMatchesTheCallbacksAtEveryDepth) {
  for (int32_t depth : {8, 15, 16, 24, 32})
    for (int round = 0; round < 40; ++round) {
      const int32_t sw = 1 + int32_t(rng_() % 21), sh = 1 + int32_t(rng_() % 12);
      const int32_t w = 1 + int32_t(rng_() % 30), h = 1 + int32_t(rng_() % 20);
      const bool overColour = round % 3 == 2;
      cSurfaceImpl* src = MakeRandom(depth, sw, sh, overColour ? 0 : kKey, 3);
      cSurfaceImpl* a = MakeRandom(depth, w, h, kKey, 5);
      cSurfaceImpl* b = Make(depth, w, h);
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) SetRaw(b, x, y, Raw(a, x, y));
      if (round % 4 == 1) {
        const int32_t l = int32_t(rng_() % uint32_t(w)), t = int32_t(rng_() % uint32_t(h));
        const int32_t cw = 1 + int32_t(rng_() % uint32_t(w)), ch = 1 + int32_t(rng_() % uint32_t(h));
        for (cSurfaceImpl* d : {a, b}) d->SetClipRect(l, t, cw, ch);
      }
      if (round % 5 == 2) src->SetClipRect(1, 0, sw, sh);
      const int32_t dx = int32_t(rng_() % 40) - 8, dy = int32_t(rng_() % 30) - 8;
      const uint32_t user = overColour ? 0x00102030u + uint32_t(round) : src->view.transparentColour & 0xFFFFFF;
      const auto known = reinterpret_cast<FilterCallback>(overColour ? &SmoothEdgeOverColour : &SmoothEdgeKeyed);
      const auto other = reinterpret_cast<FilterCallback>(overColour ? &ViaOverColour : &ViaKeyed);
      const int32_t doneA = src->FilterBlit(a, dx, dy, 0, 0, sw, sh, 3, 3, 1, 1, 1, 1, known, user);
      const int32_t doneB = src->FilterBlit(b, dx, dy, 0, 0, sw, sh, 3, 3, 1, 1, 1, 1, other, user);
      ASSERT_EQ(doneA, doneB) << depth << " round " << round;
      ASSERT_EQ(Differs(a, ImageOf(b)), "") << depth << " round " << round;
    }
  // Onto itself, and onto a second surface whose rows are the first one's
  // from row 1 on: the source is read as the pass writes.
  for (int32_t shift : {0, 1})
    for (int32_t depth : {8, 16, 32}) {
      cSurfaceImpl* self = MakeRandom(depth, 12, 9, kKey, 3);
      cSurfaceImpl* dest = self;
      uint8_t* ownRows = nullptr;
      if (shift == 1) {
        dest = Make(depth, 12, 8);
        ownRows = dest->view.firstRow;
        dest->view.firstRow = self->view.firstRow + self->view.pitch;
      }
      cSurfaceImpl* copy = Make(depth, 12, 9);
      for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 12; ++x) SetRaw(copy, x, y, Raw(self, x, y));
      const auto cb = reinterpret_cast<FilterCallback>(&HashBlocks);
      ASSERT_EQ(self->FilterBlit(dest, 2, 1, 0, 0, 8, 6, 3, 2, 1, 0, 1, 1, cb, 6), 1);
      // The model: per pixel in order, blocks of the destination as it was
      // before the pass (background) and of the source as written so far.
      cSurfaceImpl* want = Make(depth, 12, 9);
      for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 12; ++x) SetRaw(want, x, y, Raw(copy, x, y));
      const int32_t destRows = 9 - shift;
      for (int32_t y = 0; y < 8 && y < destRows; ++y)
        for (int32_t x = 1; x < 11; ++x) {
          uint32_t bb[6], ss[6];
          for (int32_t j = 0; j < 2; ++j)
            for (int32_t i = 0; i < 3; ++i) {
              bb[j * 3 + i] =
                  copy->GetPixelFast(std::clamp(x - 1 + i, 0, 11), std::clamp(y + j, 0, destRows - 1) + shift) & 0xFFFFFF;
              const int32_t u = x - 2 - 1 + i, v = y - 1 + j;
              ss[j * 3 + i] = u >= 0 && v >= 0 && u < 12 && v < 9 ? want->GetPixelFast(u, v) & 0xFFFFFF
                                                                   : self->view.transparentColour & 0xFFFFFF;
            }
          want->SetPixel(x, y + shift, HashBlocks(bb, ss, 6));
        }
      EXPECT_EQ(Differs(self, ImageOf(want)), "") << depth << " shift " << shift;
      if (ownRows != nullptr) dest->view.firstRow = ownRows;
    }
}

TEST_F(FilterBlit, Refusals) {
  cSurfaceImpl* a = MakeRandom(32, 6, 6, kKey, 0);
  cSurfaceImpl* b = MakeRandom(32, 6, 6, kKey, 0);
  cSurfaceImpl* c24 = MakeRandom(24, 6, 6, kKey, 0);
  cSurfaceImpl* c16 = Make(16, 6, 6);
  LockFailSurface locked(32, 6, 6);
  const PixelTestImage before = ImageOf(b);
  const auto cb = reinterpret_cast<FilterCallback>(&HashBlocks);
  EXPECT_EQ(a->FilterBlit(c24, 0, 0, 0, 0, 6, 6, 3, 3, 1, 1, 1, 1, cb, 9), 0);  // depths differ
  EXPECT_EQ(a->FilterBlit(nullptr, 0, 0, 0, 0, 6, 6, 3, 3, 1, 1, 1, 1, cb, 9), 0);
  EXPECT_EQ(a->FilterBlit(b, 0, 0, 0, 0, 6, 6, 3, 3, 1, 1, 1, 1, nullptr, 9), 0);
  EXPECT_EQ(a->FilterBlit(b, 0, 0, 0, 0, 6, 6, 0, 3, 1, 1, 1, 1, cb, 0), 0);
  EXPECT_EQ(a->FilterBlit(b, 0, 0, 0, 0, 6, 6, 3, 3, 1, 1, -1, 1, cb, 9), 0);
  EXPECT_EQ(a->FilterBlit(b, 7, 0, 0, 0, 6, 6, 3, 3, 1, 1, 1, 1, cb, 9), 0);  // clipped away
  EXPECT_EQ(a->FilterBlit(b, 0, 0, 0, 0, 6, 6, 0x40000000, 0x40000000, 1, 1, 1, 1, cb, 9), 0);
  EXPECT_EQ(locked.FilterBlit(b, 0, 0, 0, 0, 6, 6, 3, 3, 1, 1, 1, 1, cb, 9), 0);
  // Margins so wide that the copy's area passes 2^63 (the handle member
  // passes its anchors as margins): refused, not wrapped to a small area.
  EXPECT_EQ(a->FilterBlit(b, 0, 0, 0, 0, 6, 6, 1, 1, 0, 0, INT32_MAX, INT32_MAX, cb, 9), 0);
  EXPECT_EQ(a->FilterBlit(b, 0, 0, 0, 0, 6, 6, 1, 1, 0, 0, INT32_MAX, 0x40000000, cb, 9), 0);
  EXPECT_EQ(Differs(b, before), "");
  // A far anchor is no error: every block comes from the edges and from
  // outside the source, without overflow.
  EXPECT_EQ(a->FilterBlit(b, 0, 0, 0, 0, 6, 6, 3, 3, INT32_MAX, INT32_MIN + 1, 1, 1, cb, 9), 1);
  EXPECT_EQ(c16->FilterBlit(c16, 0, 0, 0, 0, 6, 6, 3, 3, 1, 1, 1, 1, cb, 9), 1);  // 16 bits read colours
}

// Blit with BlitSmoothEdges: after the blit, the pass runs over the whole
// source placed at the unclipped position with the keyed callback (or the
// over-colour one for effect 6 with a colour).
TEST_F(FilterBlit, SmoothEdgesPassFollowsTheBlit) {
  struct Case {
    int32_t dx, dy;
    uint32_t effect, parameter;
    bool overColour;
  };
  const Case cases[] = {
      {5, 4, 0, 0, false},
      {-3, -2, 0, 0, false},               // placed partly outside
      {5, 4, 6, 0x40000000, false},        // effect 6 without a colour: keyed
      {6, 3, 6, 0x40102030, true},
  };
  for (int32_t depth : {24, 32})
    for (const Case& c : cases) {
      // A sprite: a solid blob with transparent corners and notches.
      cSurfaceImpl* src = Make(depth, 10, 8);
      src->SetTransparentColour(c.overColour ? 0 : kKey);
      const uint32_t key = src->view.transparentColour;
      for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 10; ++x) {
          const bool solid = (x + y) % 7 != 0 && x > y / 3 && y > x / 4;
          src->SetPixel(x, y, solid ? 0x00204080u + uint32_t(x * 9 + y * 5) : key);
        }
      cSurfaceImpl* dest = MakeRandom(depth, 20, 16, kKey, 0);
      // Expected: the blit alone, then the pass over its result.
      cSurfaceImpl* blitted = Make(depth, 20, 16);
      for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 20; ++x) SetRaw(blitted, x, y, Raw(dest, x, y));
      ASSERT_EQ(src->Blit(blitted, c.dx, c.dy, 0, 0, 10, 8, 1, c.effect, c.parameter, 0), 1);
      cSurfaceImpl* want = Make(depth, 20, 16);
      for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 20; ++x) SetRaw(want, x, y, Raw(blitted, x, y));
      const uint32_t user = c.overColour ? (c.parameter & 0xFFFFFF) : key;
      for (int32_t y = c.dy - 1; y < c.dy + 9; ++y)
        for (int32_t x = c.dx - 1; x < c.dx + 11; ++x) {
          uint32_t b[9], s[9];
          for (int32_t j = 0; j < 3; ++j)
            for (int32_t i = 0; i < 3; ++i) {
              b[j * 3 + i] = blitted->GetPixelFast(std::clamp(x - 1 + i, 0, 19), std::clamp(y - 1 + j, 0, 15));
              const int32_t u = x - c.dx - 1 + i, v = y - c.dy - 1 + j;
              s[j * 3 + i] = u >= 0 && v >= 0 && u < 10 && v < 8 ? src->GetPixelFast(u, v) : key;
            }
          want->SetPixel(x, y, c.overColour ? SmoothEdgeOverColour(b, s, user) : SmoothEdgeKeyed(b, s, user));
        }
      ASSERT_EQ(src->Blit(dest, c.dx, c.dy, 0, 0, 10, 8, 1, c.effect, c.parameter, BlitSmoothEdges), 1);
      EXPECT_EQ(Differs(dest, ImageOf(want)), "") << depth << " at " << c.dx << " effect " << c.effect;
      EXPECT_NE(Differs(want, ImageOf(blitted)), "") << "the pass changed nothing: a weak case";
    }
}

// The smoothing pass of an 8-bit source (entry 0 magenta, the key index 0)
// knows its transparent pixels by the key index's colour, onto 8 bits
// directly and onto 32 bits through the converted copy.
TEST_F(FilterBlit, SmoothEdgesOfAnEightBitSourceKeyOnTheKeyIndexColour) {
  LogPalette log = defaultPalette_->log;
  log.entries[0] = {0xFF, 0x00, 0xFF, 0};
  const uint32_t key = EntryColour(log.entries[0]);
  for (int32_t to : {8, 32}) {
    cSurfaceImpl* src = Make(8, 10, 8);
    ASSERT_EQ(src->SetLogPalette(&log, 0), 1);
    for (int32_t y = 0; y < 8; ++y)
      for (int32_t x = 0; x < 10; ++x) SetRaw(src, x, y, (x + y) % 7 != 0 && x > y / 3 && y > x / 4 ? 250u : 0u);
    cSurfaceImpl* dest = Make(to, 20, 16);
    if (to == 8) {
      ASSERT_EQ(dest->SetLogPalette(&log, 0), 1);
    }
    for (int32_t y = 0; y < 16; ++y)
      for (int32_t x = 0; x < 20; ++x) dest->SetPixel(x, y, (x + y) % 2 ? 0x00FFFFFFu : 0x00E0E0E0u);
    cSurfaceImpl* blitted = Make(to, 20, 16);
    if (to == 8) {
      ASSERT_EQ(blitted->SetLogPalette(&log, 0), 1);
    }
    for (int32_t y = 0; y < 16; ++y)
      for (int32_t x = 0; x < 20; ++x) SetRaw(blitted, x, y, Raw(dest, x, y));
    ASSERT_EQ(src->Blit(blitted, 5, 4, 0, 0, 10, 8, 1, 0, 0, 0), 1);
    cSurfaceImpl* want = Make(to, 20, 16);
    if (to == 8) {
      ASSERT_EQ(want->SetLogPalette(&log, 0), 1);
    }
    for (int32_t y = 0; y < 16; ++y)
      for (int32_t x = 0; x < 20; ++x) SetRaw(want, x, y, Raw(blitted, x, y));
    for (int32_t y = 3; y < 13; ++y)
      for (int32_t x = 4; x < 16; ++x) {
        uint32_t b[9], s[9];
        for (int32_t j = 0; j < 3; ++j)
          for (int32_t i = 0; i < 3; ++i) {
            b[j * 3 + i] = blitted->GetPixelFast(std::clamp(x - 1 + i, 0, 19), std::clamp(y - 1 + j, 0, 15)) & 0xFFFFFF;
            const int32_t u = x - 6 + i, v = y - 5 + j;
            s[j * 3 + i] = u >= 0 && v >= 0 && u < 10 && v < 8 ? src->GetPixelFast(u, v) & 0xFFFFFF : key;
          }
        want->SetPixel(x, y, SmoothEdgeKeyed(b, s, key));
      }
    ASSERT_EQ(src->Blit(dest, 5, 4, 0, 0, 10, 8, 1, 0, 0, BlitSmoothEdges), 1);
    EXPECT_EQ(Differs(dest, ImageOf(want)), "") << "8 to " << to;
    EXPECT_NE(Differs(want, ImageOf(blitted)), "") << "the pass changed nothing: a weak case";
  }
}

}  // namespace
