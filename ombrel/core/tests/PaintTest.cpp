// Paints on memory surfaces: the solid paint's black rules, the near-black
// rule, origins, tile fills against a modulo reference, the gradient's band
// colours and boundaries, gradients failing without a device context, and
// the handle's paint fills.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "Memory.h"
#include "paint/GradientBands.h"
#include "paint/PaintColour.h"
#include "paint/cPaintGradient.h"
#include "paint/cPaintSolid.h"
#include "paint/cPaintTile.h"
#include "support/SurfaceHandleFixture.h"

namespace {

constexpr uint32_t kBack = 0x00123456;

class Paints : public SurfaceHandleFixture {
 protected:
  void Make(cSurfaceHandle& h, int32_t w, int32_t hh, uint32_t back = kBack) {
    ASSERT_NE(h.Create(w, hh, Prototype(32)), nullptr);
    ASSERT_EQ(h.FillAll(back), 1);
  }
  // Implementation coordinates, whatever the origin and clip.
  static uint32_t At(cSurfaceHandle& h, int32_t x, int32_t y) { return h.GetBufferPixel(x, y); }
};

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

TEST_F(Paints, SolidPaintKeepsBlackAwayOnlyWhereAsked) {
  struct Case {
    uint32_t made;     // constructor colour
    bool reset;        // then SetColour(made)
    int32_t shape;     // Fill's shape flag
    uint32_t stored;   // GetColour
    uint32_t drawn;
  };
  const Case cases[] = {
      {0, false, 0, 8, 8},       {0, false, 1, 8, 8},      {0, true, 0, 0, 0},
      {0, true, 1, 0, 8},        {0x00FF00, false, 0, 0x00FF00, 0x00FF00},
      {0x00FF00, true, 1, 0x00FF00, 0x00FF00},
  };
  for (const Case& c : cases) {
    cSurfaceHandle h;
    Make(h, 4, 4);
    cPaintSolid paint(c.made);
    if (c.reset) {
      EXPECT_EQ(paint.SetColour(c.made), c.made);
    }
    EXPECT_EQ(paint.GetColour(), c.stored);
    ASSERT_EQ(paint.Fill(&h, 1, 1, 3, 4, c.shape), 1);
    for (int32_t y = 0; y < 4; ++y)
      for (int32_t x = 0; x < 4; ++x)
        EXPECT_EQ(At(h, x, y), x >= 1 && x < 3 && y >= 1 ? c.drawn : kBack)
            << "made " << c.made << " shape " << c.shape << " at " << x << ", " << y;
  }
}

TEST_F(Paints, ValidateColourReplacesOnlyBlack) {
  uint32_t colours[] = {0, 8, 0x00FFFFFF, 0x01000000};
  const uint32_t want[] = {8, 8, 0x00FFFFFF, 0x01000000};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(cPaintBase::ValidateColour(&colours[i]), &colours[i]);
    EXPECT_EQ(colours[i], want[i]);
  }
  EXPECT_EQ(cPaintBase::ValidateColour(nullptr), nullptr);
}

TEST(PaintColour, NearBlackRuleRaisesTheLeadingChannel) {
  struct Case {
    uint32_t in, out;
  };
  const Case cases[] = {
      {Rgb(2, 5, 3), Rgb(2, 8, 3)},  // green leads
      {Rgb(0, 0, 0), Rgb(8, 0, 0)},  // no leader: red
      {Rgb(1, 1, 5), Rgb(1, 1, 8)},  // blue leads
      {Rgb(3, 3, 3), Rgb(8, 3, 3)},  // ties go to red
      {Rgb(5, 2, 5), Rgb(8, 2, 5)},  // blue only ties with red
      {Rgb(2, 7, 7), Rgb(8, 7, 7)},  // green and blue tie
      {Rgb(7, 7, 8), Rgb(7, 7, 8)},  // one channel above 7: unchanged
      {Rgb(200, 0, 0), Rgb(200, 0, 0)},
  };
  for (const Case& c : cases) EXPECT_EQ(AwayFromBlack(c.in), c.out) << std::hex << c.in;
}

TEST(PaintOrigin, SetOriginAnswersThePreviousOriginPacked) {
  cPaintGradient gradient(1, 2, 1, 0, 0);
  EXPECT_EQ(gradient.SetOrigin(5, 7), 0u);
  EXPECT_EQ(gradient.originX, 5);
  EXPECT_EQ(gradient.originY, 7);
  EXPECT_EQ(gradient.SetOrigin(-1, 2), 5u | 7u << 16);
  EXPECT_EQ(gradient.SetOrigin(0, 0), 0xFFFFu | 2u << 16);

  cPaintTile tile(nullptr, 3, 4);
  EXPECT_EQ(tile.SetOrigin(9, 1), 3u | 4u << 16);
  EXPECT_EQ(tile.offsetX, 9);
  EXPECT_EQ(tile.offsetY, 1);

  cPaintSolid solid(5);  // the base keeps no origin
  EXPECT_EQ(solid.SetOrigin(9, 1), 0u);
  EXPECT_EQ(solid.SetOrigin(3, 3), 0u);
}

TEST(PaintCopies, CopiesAndAssignmentsTakeTheFields) {
  cPaintGradient a(0, 0x00FFFFFF, 1, 4, 5), b(7, 9, 0, 0, 0);
  EXPECT_EQ(a.colour1, 8u);  // 0 stored as 8
  b = a;
  EXPECT_EQ(b.colour1, 8u);
  EXPECT_EQ(b.colour2, 0x00FFFFFFu);
  EXPECT_EQ(b.vertical, 1);
  EXPECT_EQ(b.originX, 4);
  EXPECT_EQ(b.originY, 5);
  b.SetColours(0, 3);  // as given
  b.SetVertical(0);
  EXPECT_EQ(b.colour1, 0u);
  EXPECT_EQ(b.colour2, 3u);
  EXPECT_EQ(b.vertical, 0);

  cSurfaceHandle pattern;
  cPaintTile t(&pattern, 1, 2), u(nullptr, 0, 0);
  u = t;
  EXPECT_EQ(u.pattern, &pattern);
  EXPECT_EQ(u.offsetY, 2);
  u.SetPattern(nullptr);
  EXPECT_EQ(u.pattern, nullptr);
  cPaintTile v(t);
  EXPECT_EQ(v.offsetX, 1);
}

// Destruct(1) gives a MemAlloc block back (the sanitizer build reports a leak
// otherwise).
TEST(PaintStorage, DestructWithBitZeroFreesTheBlock) {
  void* block = nullptr;
  ASSERT_TRUE(MemAlloc(sizeof(cPaintSolid), &block));
  cPaintBase* paint = new (block) cPaintSolid(3);
  paint->Destruct(1);
}

// ---- tiles ----

class TilePaint : public Paints {
 protected:
  // A w x h pattern whose every pixel differs (and none is black).
  void MakePattern(int32_t w, int32_t h) {
    Make(pattern_, w, h);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) pattern_.SetPixel(x, y, Rgb(x + 1, y + 1, 0x80));
  }
  uint32_t PatternAt(int32_t x, int32_t y) { return At(pattern_, x, y); }
  cSurfaceHandle pattern_;
};

int32_t FloorMod(int64_t v, int64_t m) { return int32_t(((v % m) + m) % m); }

TEST_F(TilePaint, EveryPixelShowsThePatternAtItsFlooredRemainder) {
  struct Case {
    int32_t patternW, patternH, offsetX, offsetY;
    int32_t x1, y1, x2, y2;           // handle coordinates
    int32_t originX, originY;         // the surface handle's origin
    int32_t clipX, clipY, clipW, clipH;  // handle coordinates; clipW 0: no clip
  };
  const Case cases[] = {
      {8, 8, 3, 0, 0, 0, 20, 8, 0, 0, 0, 0, 0, 0},        // columns 3.., then tiles at 5 and 13
      {8, 8, -3, -5, 0, 0, 24, 16, 0, 0, 0, 0, 0, 0},     // negative offsets
      {8, 8, -13, 7, 2, 1, 21, 15, 0, 0, 0, 0, 0, 0},
      {5, 3, 0, 0, -7, -4, 30, 30, 0, 0, 0, 0, 0, 0},     // area starts left of the surface
      {5, 3, 2, -1, 0, 0, 24, 16, 3, 2, 0, 0, 0, 0},      // the surface's origin
      {7, 4, -100, 33, 0, 0, 24, 16, 0, 0, 3, 5, 9, 6},   // a clip rectangle
      {1, 1, -2, -2, 4, 4, 9, 7, 0, 0, 0, 0, 0, 0},
      {3, 2, 1, 1, 10, 10, 10, 12, 0, 0, 0, 0, 0, 0},     // empty area
      {70, 65, -50, 40, -3, 0, 24, 16, 0, 0, 0, 0, 0, 0},  // large enough to be tiled as it is
      {64, 2, 61, 1, 0, 0, 24, 16, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    MakePattern(c.patternW, c.patternH);
    cSurfaceHandle h;
    Make(h, 24, 16);
    h.SetOrigin(c.originX, c.originY);
    if (c.clipW != 0) h.SetClipRect(c.clipX, c.clipY, c.clipW, c.clipH);
    cPaintTile paint(&pattern_, c.offsetX, c.offsetY);
    ASSERT_EQ(paint.Fill(&h, c.x1, c.y1, c.x2, c.y2, 0), 1);
    for (int32_t iy = 0; iy < 16; ++iy) {
      for (int32_t ix = 0; ix < 24; ++ix) {
        const int32_t x = ix + c.originX, y = iy + c.originY;  // handle coordinates
        bool inside = x >= c.x1 && x < c.x2 && y >= c.y1 && y < c.y2;
        if (c.clipW != 0)
          inside = inside && x >= c.clipX && x < c.clipX + c.clipW && y >= c.clipY && y < c.clipY + c.clipH;
        const uint32_t want = inside ? PatternAt(FloorMod(int64_t(x) + c.offsetX, c.patternW),
                                                 FloorMod(int64_t(y) + c.offsetY, c.patternH))
                                     : kBack;
        ASSERT_EQ(At(h, ix, iy), want) << "offset " << c.offsetX << ", " << c.offsetY << " pattern "
                                       << c.patternW << " x " << c.patternH << " at " << ix << ", " << iy;
      }
    }
  }
}

// A 1 x 1 pattern stores its pixel's bytes over the visible part and nothing
// elsewhere, at every depth, with an origin and a clip: as a fill where a
// colour stores those bytes, by blits where none does (a 32-bit fourth byte,
// bit 15 of a 5-5-5 pixel).
TEST_F(TilePaint, OnePixelPatternsStoreTheirBytesEverywhere) {
  struct Case {
    int32_t depth;
    uint32_t raw;
  };
  const Case cases[] = {{32, 0x00A1B2C3}, {32, 0x7FA1B2C3}, {24, 0xA1B2C3}, {16, 0xF81F},
                        {15, 0x7C1F},     {15, 0xFC1F},     {8, 0x05},     {8, 0xFD}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.depth << " bits, 0x" << std::hex << c.raw);
    cSurfaceHandle pattern, h;
    ASSERT_NE(pattern.Create(1, 1, Prototype(c.depth)), nullptr);
    ASSERT_NE(h.Create(23, 17, Prototype(c.depth)), nullptr);
    const PixelView& pv = cSurfaceHandle::GetImpl(&pattern)->view;
    const PixelView& v = cSurfaceHandle::GetImpl(&h)->view;
    for (int32_t i = 0; i < pv.bytesPerPixel; ++i) pv.firstRow[i] = uint8_t(c.raw >> (8 * i));
    for (int32_t y = 0; y < 17; ++y)
      for (int32_t i = 0; i < 23 * v.bytesPerPixel; ++i) v.firstRow[int64_t(y) * v.pitch + i] = uint8_t(i * 7 + y);
    std::vector<uint8_t> before(v.firstRow, v.firstRow + int64_t(v.pitch) * 17);
    h.SetOrigin(2, -3);
    h.SetClipRect(4, -1, 15, 9);  // handle coordinates
    cPaintTile paint(&pattern, 5, -7);
    ASSERT_EQ(paint.Fill(&h, 0, -10, 30, 30, 0), 1);
    for (int32_t y = 0; y < 17; ++y)
      for (int32_t x = 0; x < 23; ++x) {
        const int32_t hx = x + 2, hy = y - 3;
        const bool inside = hx >= 4 && hx < 19 && hy >= -1 && hy < 8;
        for (int32_t i = 0; i < v.bytesPerPixel; ++i) {
          const size_t at = size_t(int64_t(y) * v.pitch + int64_t(x) * v.bytesPerPixel + i);
          ASSERT_EQ(v.firstRow[at], inside ? uint8_t(c.raw >> (8 * i)) : before[at]) << x << ", " << y;
        }
      }
  }
}

TEST_F(TilePaint, HugeAreasTileOnlyTheVisiblePart) {
  MakePattern(1, 1);
  cSurfaceHandle h;
  Make(h, 8, 8);
  cPaintTile paint(&pattern_, INT32_MAX, INT32_MIN);
  ASSERT_EQ(paint.Fill(&h, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0), 1);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x) ASSERT_EQ(At(h, x, y), PatternAt(0, 0));
}

TEST_F(TilePaint, NoOrAnEmptyPatternDrawsNothing) {
  cSurfaceHandle h, empty;
  Make(h, 4, 4);
  cPaintTile none(nullptr, 0, 0), blank(&empty, 0, 0);
  EXPECT_EQ(none.Fill(&h, 0, 0, 4, 4, 0), 0);
  EXPECT_EQ(blank.Fill(&h, 0, 0, 4, 4, 0), 0);
  EXPECT_EQ(blank.FillAll(&h, 4, 4, 0), 0);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(At(h, x, y), kBack);
}

// ---- the handle's paint fills ----

TEST_F(TilePaint, HandleFillsPassHandleCoordinatesAndTheSurfaceSize) {
  MakePattern(3, 3);
  cSurfaceHandle h;
  Make(h, 10, 6);
  h.SetOrigin(2, 3);
  cPaintTile paint(&pattern_, 0, 0);
  ASSERT_EQ(h.FillRectPaint(2, 3, 4, 2, &paint), 1);  // implementation (0, 0) to (4, 2)
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 10; ++x)
      ASSERT_EQ(At(h, x, y), x < 4 && y < 2 ? PatternAt((x + 2) % 3, (y + 3) % 3) : kBack) << x << ", " << y;
  EXPECT_EQ(h.FillRectPaint(0, 0, 4, 4, nullptr), 0);
  EXPECT_EQ(h.FillAllPaint(nullptr), 0);

  // FillAll covers handle (0, 0) at the surface's size.
  cSurfaceHandle all;
  Make(all, 5, 4);
  all.SetOrigin(-1, -1);
  ASSERT_EQ(all.FillAllPaint(&paint), 1);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 5; ++x) {
      const bool inside = x >= 1 && y >= 1;
      ASSERT_EQ(At(all, x, y), inside ? PatternAt((x - 1) % 3, (y - 1) % 3) : kBack) << x << ", " << y;
    }
}

TEST_F(Paints, FillRectPaintEndsDoNotWrap) {
  cSurfaceHandle h;
  Make(h, 4, 4);
  h.SetOrigin(INT32_MAX - 3, 0);
  cPaintSolid paint(0x00ABCDEF);
  ASSERT_EQ(h.FillRectPaint(INT32_MAX - 1, 0, 100, 2, &paint), 1);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x)
      EXPECT_EQ(At(h, x, y), x >= 2 && x < 3 && y < 2 ? 0x00ABCDEFu : kBack) << x << ", " << y;
}

// ---- gradients ----

// Reference colour of band k, written from the formula.
uint32_t BandColour(uint32_t c1, uint32_t c2, int32_t n, int32_t k) {
  uint32_t out = 0;
  for (int i = 0; i < 3; ++i) {
    const double a = (c1 >> (8 * i)) & 0xFF, b = (c2 >> (8 * i)) & 0xFF;
    out |= uint32_t(int32_t(a + k * ((b - a) / n))) << (8 * i);
  }
  return out;
}

TEST(GradientRamp, BandCountAndColoursFollowTheLargestChannelStep) {
  struct Case {
    uint32_t c1, c2;
    int32_t n;
  };
  const Case cases[] = {
      {0, 0, 1},
      {Rgb(0, 0, 0), Rgb(255, 0, 0), 255},
      {Rgb(10, 20, 30), Rgb(0, 20, 40), 10},
      {Rgb(200, 100, 0), Rgb(0, 150, 7), 200},
      {Rgb(1, 2, 3), Rgb(4, 0, 3), 3},
  };
  for (const Case& c : cases) {
    const GradientRamp ramp(c.c1, c.c2, false);
    ASSERT_EQ(ramp.Count(), c.n);
    for (int32_t k = 0; k < c.n; ++k) EXPECT_EQ(ramp.Colour(k), BandColour(c.c1, c.c2, c.n, k)) << k;
    // Beyond the ends: the end colours.
    EXPECT_EQ(ramp.Colour(-4), ramp.Colour(0));
    EXPECT_EQ(ramp.Colour(c.n + 9), ramp.Colour(c.n - 1));
  }
  EXPECT_EQ(GradientRamp(0, 0, true).Colour(0), Rgb(8, 0, 0));
  EXPECT_EQ(GradientRamp(Rgb(2, 5, 3), Rgb(2, 5, 3), true).Colour(0), Rgb(2, 8, 3));
  EXPECT_EQ(GradientRamp(Rgb(0, 0, 0), Rgb(0, 0, 255), true).Colour(1), Rgb(0, 0, 8));
}

struct Band {
  int32_t start, end;
  uint32_t colour;
  bool operator==(const Band& o) const { return start == o.start && end == o.end && colour == o.colour; }
};
std::ostream& operator<<(std::ostream& os, const Band& b) {
  return os << "[" << b.start << ", " << b.end << ") " << std::hex << b.colour << std::dec;
}

TEST(GradientBands, FillSplitsTheSpanIntoTruncatedBands) {
  const uint32_t red3 = Rgb(3, 0, 0);  // 3 bands: colours 0, 1, 2 in red
  struct Case {
    int32_t from, to;
    std::vector<Band> want;
  };
  const Case cases[] = {
      {0, 10, {{0, 3, 0}, {3, 6, 1}, {6, 10, 2}}},
      {5, 7, {{5, 6, 1}, {6, 7, 2}}},  // band 0 is empty
      {-4, 2, {{-4, -2, 0}, {-2, 0, 1}, {0, 2, 2}}},
      {3, 3, {}},
      {3, 1, {}},
  };
  for (const Case& c : cases) {
    std::vector<Band> got;
    SpanBands(GradientRamp(0, red3, false), c.from, c.to,
              [&](int32_t s, int32_t e, uint32_t colour) { got.push_back({s, e, colour}); });
    EXPECT_EQ(got, c.want) << c.from << ".." << c.to;
  }
  // 255 bands over 100 rows: most are empty; each row is one band, of the
  // last band k whose start truncates to it.
  std::vector<Band> got;
  SpanBands(GradientRamp(0, Rgb(255, 0, 0), false), 0, 100,
            [&](int32_t s, int32_t e, uint32_t colour) { got.push_back({s, e, colour}); });
  ASSERT_EQ(got.size(), 100u);
  for (int32_t row = 0; row < 100; ++row) {
    int32_t k = 0;
    while (k + 1 < 255 && (k + 1) * 100 / 255 <= row) ++k;
    EXPECT_EQ(got[row], (Band{row, row + 1, uint32_t(k)}));
  }
}

TEST(GradientBands, ShapeBandsStartAtTheOriginsBand) {
  const uint32_t red3 = Rgb(3, 0, 0);
  struct Case {
    int32_t extent, origin;
    std::vector<Band> want;
  };
  const Case cases[] = {
      {9, 0, {{0, 3, 0}, {3, 6, 1}, {6, 9, 2}}},
      {9, 4, {{0, 2, 1}, {2, 5, 2}, {5, 8, 2}, {8, 9, 2}}},  // origin in band 1, 2 rows of it left
      {9, 3, {{0, 3, 1}, {3, 6, 2}, {6, 9, 2}}},
      {10, 0, {{0, 3, 0}, {3, 6, 1}, {6, 10, 2}}},  // b = 3.33
      {10, 5, {{0, 1, 1}, {1, 5, 2}, {5, 8, 2}, {8, 10, 2}}},  // edges 6.67, 10, 13.33 less 5
      {9, -2, {{0, 2, 0}, {2, 5, 0}, {5, 8, 1}, {8, 9, 2}}},  // before the shape: band -1, held at 0
      {0, 0, {}},
      {-5, 0, {}},
  };
  for (const Case& c : cases) {
    std::vector<Band> got;
    ShapeBands(GradientRamp(0, red3, false), c.extent, c.origin,
               [&](int32_t s, int32_t e, uint32_t colour) { got.push_back({s, e, colour}); });
    EXPECT_EQ(got, c.want) << "extent " << c.extent << " origin " << c.origin;
  }
}

TEST_F(Paints, GradientsNeedADeviceContext) {
  cSurfaceHandle h;
  Make(h, 8, 8);
  cPaintGradient paint(0x000000FF, 0x00FF0000, 1, 0, 0);
  // An empty area has nothing to draw: 0, no error.
  EXPECT_EQ(paint.Fill(&h, 4, 4, 4, 8, 0), 0);
  EXPECT_EQ(paint.FillAll(&h, 8, 0, 0), 0);
  EXPECT_EQ(h.GetLastError(), LibOk);
  // A memory surface has no device context.
  EXPECT_EQ(paint.Fill(&h, 0, 0, 8, 8, 0), 0);
  EXPECT_EQ(h.GetLastError(), ErrInvalidData);
  h.lastError = LibOk;
  EXPECT_EQ(h.FillAllPaint(&paint), 0);
  EXPECT_EQ(h.GetLastError(), ErrInvalidData);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(At(h, x, y), kBack);
}

}  // namespace
