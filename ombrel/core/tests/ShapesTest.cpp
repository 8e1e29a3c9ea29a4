// Lines, rectangles and the flood fill of the surface handle: the line's
// pixels and clipping, lines far outside returning at once, rectangle corner
// sorting and bands, the flood fill's tolerance, box, a maze against a
// queue-based reference fill, a very wide surface, effects through the
// temporary, and the device-context members failing on memory surfaces.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "pixel/InkEffects.h"
#include "surface/SurfaceHandle.h"
#include "support/SurfaceHandleFixture.h"
#include "surface/SurfaceLibrary.h"

namespace {

constexpr uint32_t kBack = 0x00101010, kInk = 0x000000FF;

class Shapes : public SurfaceHandleFixture {
 protected:
  void Make(cSurfaceHandle& h, int32_t depth, int32_t w, int32_t hh, uint32_t back = kBack) {
    cSurfaceHandle* prototype = nullptr;
    library_.GetPrototype(&prototype, depth, SurfaceTypeMemory, 0);
    ASSERT_NE(h.Create(w, hh, prototype), nullptr);
    ASSERT_EQ(h.FillAll(back), 1);
  }
  // Implementation coordinates, whatever the origin and clip.
  static uint32_t At(cSurfaceHandle& h, int32_t x, int32_t y) { return h.GetBufferPixel(x, y); }
  static std::set<std::pair<int32_t, int32_t>> Inked(cSurfaceHandle& h, uint32_t ink) {
    std::set<std::pair<int32_t, int32_t>> out;
    for (int32_t y = 0; y < h.GetHeight(); ++y)
      for (int32_t x = 0; x < h.GetWidth(); ++x)
        if (At(h, x, y) == ink) out.insert({x, y});
    return out;
  }
};

using Points = std::set<std::pair<int32_t, int32_t>>;

TEST_F(Shapes, LinesPlotTheirBresenhamPixelsInsideTheClip) {
  struct Case {
    int32_t x1, y1, x2, y2;
    Points want;
  };
  const Case cases[] = {
      {0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
      {5, 2, 0, 0, {{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}},
      {2, 0, 2, 3, {{2, 0}, {2, 1}, {2, 2}, {2, 3}}},
      {0, 3, 3, 0, {{0, 3}, {1, 2}, {2, 1}, {3, 0}}},
      {4, 4, 4, 4, {{4, 4}}},
      {-10, 5, 10, 5, {{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}}},  // starts at 0
      {-5, -5, -1, -1, {}},  // wholly outside
  };
  for (int32_t depth : {8, 24, 32}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << depth << " bits, (" << c.x1 << ", " << c.y1 << ") - (" << c.x2 << ", "
                                      << c.y2 << ")");
      cSurfaceHandle h;
      Make(h, depth, 8, 8);
      const uint32_t ink = depth == 8 ? h.IndexToRGB(h.NearestIndex(kInk)) & 0x00FFFFFFu : kInk;
      EXPECT_EQ(h.Line(c.x1, c.y1, c.x2, c.y2, 1, kInk), 1);
      EXPECT_EQ(Inked(h, ink), c.want);
    }
  }
}

TEST_F(Shapes, LinesHonourOriginClipAndIndexColours) {
  cSurfaceHandle h;
  Make(h, 24, 10, 10);
  h.SetClipRect(2, 2, 4, 4);
  ASSERT_EQ(h.Line(0, 4, 9, 4, 1, kInk), 1);
  EXPECT_EQ(Inked(h, kInk), (Points{{2, 4}, {3, 4}, {4, 4}, {5, 4}}));
  h.ResetClipRect();
  h.SetOrigin(3, 1);  // handle (3, 1) is implementation (0, 0)
  ASSERT_EQ(h.Line(3, 1, 4, 1, 1, 0x00FF0000), 1);
  EXPECT_EQ(At(h, 0, 0), 0x00FF0000u);
  EXPECT_EQ(At(h, 1, 0), 0x00FF0000u);

  cSurfaceHandle indexed;
  Make(indexed, 8, 6, 6);
  ASSERT_EQ(indexed.Line(0, 0, 5, 0, 1, 0x01000000 + 77), 1);
  for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(indexed.GetBufferIndex(x, 0), 77);
}

// Endpoints near 2^30 outside the surface: rejected at once, nothing drawn.
TEST_F(Shapes, FarLinesReturnAtOnce) {
  cSurfaceHandle h;
  Make(h, 24, 16, 16);
  EXPECT_EQ(h.Line(-(1 << 30), -(1 << 30), (1 << 30), -(1 << 30) + 5, 1, kInk), 1);
  EXPECT_EQ(h.Line(1 << 30, 0, 1 << 30, 1 << 30, 1, kInk), 1);
  EXPECT_TRUE(Inked(h, kInk).empty());
  // A far segment crossing the surface is cut with 64-bit crossings.
  ASSERT_EQ(h.Line(-(1 << 30), 8, 1 << 30, 8, 1, kInk), 1);
  EXPECT_EQ(Inked(h, kInk).size(), 16u);
  EXPECT_EQ(h.Line(0, 0, 5, 5, 3, kInk), 0);  // wide lines need a device context
  EXPECT_EQ(h.GetLastError(), ErrInvalidData);
}

TEST_F(Shapes, RectanglesSortCornersAndDrawBands) {
  cSurfaceHandle h;
  Make(h, 24, 12, 12);
  ASSERT_EQ(h.Rectangle(10, 10, 0, 0, 0x00AAAAAA, 2, 0x000000FF, 1), 1);
  for (int32_t y = 0; y < 12; ++y)
    for (int32_t x = 0; x < 12; ++x) {
      const bool inside = x < 10 && y < 10;
      const bool band = inside && (x < 2 || y < 2 || x >= 8 || y >= 8);
      const uint32_t want = !inside ? kBack : band ? 0x000000FFu : 0x00AAAAAAu;
      ASSERT_EQ(At(h, x, y), want) << x << ", " << y;
    }
  cSurfaceHandle outline;
  Make(outline, 24, 6, 6);
  outline.RectangleOutline(1, 1, 5, 5, 1, kInk);
  EXPECT_EQ(At(outline, 2, 2), kBack);
  EXPECT_EQ(At(outline, 1, 3), kInk);
  EXPECT_EQ(At(outline, 4, 4), kInk);
  outline.RectangleOutline(0, 0, 6, 6, 0, 0x00FFFFFF);  // width 0: nothing
  EXPECT_EQ(At(outline, 0, 0), kBack);
}

TEST_F(Shapes, RectanglesWithFarCornersAndWideBandsDrawTheirVisiblePart) {
  struct Case {
    int32_t x1, y1, x2, y2, band;
    int32_t rows[12];  // per row: 0 back, 1 outline across, 2 fill across
  };
  const Case cases[] = {
      // Only the top and bottom bands and the fill reach the surface.
      {INT32_MIN + 1, 0, INT32_MAX, 10, 2, {1, 1, 2, 2, 2, 2, 2, 2, 1, 1, 0, 0}},
      {INT32_MAX, 10, INT32_MIN, 0, 2, {1, 1, 2, 2, 2, 2, 2, 2, 1, 1, 0, 0}},
      // A band wider than the whole range covers everything it spans.
      {0, INT32_MIN, 12, INT32_MAX, INT32_MAX, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    cSurfaceHandle h;
    Make(h, 32, 12, 12);
    ASSERT_EQ(h.Rectangle(c.x1, c.y1, c.x2, c.y2, 0x00AAAAAA, c.band, kInk, 1), 1);
    for (int32_t y = 0; y < 12; ++y)
      for (int32_t x = 0; x < 12; ++x) {
        const uint32_t want = c.rows[y] == 0 ? kBack : c.rows[y] == 1 ? kInk : 0x00AAAAAAu;
        ASSERT_EQ(At(h, x, y), want) << c.x1 << " row " << y << " column " << x;
      }
  }
}

// A queue-based four-way fill as the reference: 1 where it reaches.
std::vector<uint8_t> ReferenceFill(const std::vector<uint8_t>& wall, int32_t w, int32_t h, int32_t x,
                                   int32_t y) {
  std::vector<uint8_t> seen(wall.size());
  std::deque<std::pair<int32_t, int32_t>> queue{{x, y}};
  seen[size_t(y) * w + x] = 1;
  while (!queue.empty()) {
    auto [px, py] = queue.front();
    queue.pop_front();
    const std::pair<int32_t, int32_t> next[4] = {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}};
    for (auto [nx, ny] : next) {
      if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
      const size_t i = size_t(ny) * w + nx;
      if (seen[i] || wall[i]) continue;
      seen[i] = 1;
      queue.push_back({nx, ny});
    }
  }
  return seen;
}

TEST_F(Shapes, FloodFillMatchesAQueueFillOfAMaze) {
  for (int32_t depth : {24, 32}) {
    const int32_t w = 2000, hgt = 2000;
    cSurfaceHandle h;
    Make(h, depth, w, hgt);
    std::mt19937 rng(99);
    std::vector<uint8_t> wall(size_t(w) * hgt);
    for (int32_t y = 0; y < hgt; ++y)
      for (int32_t x = 0; x < w; ++x)
        if (rng() % 100 < 38 && !(x == 5 && y == 5)) {
          wall[size_t(y) * w + x] = 1;
          h.SetBufferPixel(x, y, 0x00FFFFFF);
        }
    int32_t l = 0, t = 0, r = 0, b = 0;
    ASSERT_EQ(h.FloodFill(5, 5, &l, &t, &r, &b, kInk, 0, 0, 0, 0, 0), 1);
    const std::vector<uint8_t> want = ReferenceFill(wall, w, hgt, 5, 5);
    size_t reached = 0;
    for (uint8_t v : want) reached += v;
    ASSERT_GT(reached, 100000u);  // the maze's open part percolates
    int32_t minX = w, minY = hgt, maxX = 0, maxY = 0;
    size_t filled = 0;
    for (int32_t y = 0; y < hgt; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const bool inked = h.GetBufferPixel(x, y) == kInk;
        ASSERT_EQ(inked, want[size_t(y) * w + x] == 1) << x << ", " << y;
        if (inked) {
          ++filled;
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
          minY = std::min(minY, y);
          maxY = std::max(maxY, y);
        }
      }
    EXPECT_EQ(filled, reached);
    EXPECT_EQ(l, minX);
    EXPECT_EQ(t, minY);
    EXPECT_EQ(r, maxX + 1);
    EXPECT_EQ(b, maxY + 1);
  }
}

TEST_F(Shapes, FloodFillToleranceBoxAndRefusals) {
  cSurfaceHandle h;
  Make(h, 24, 10, 10, 0x00000000);
  h.SetPixel(3, 4, 0x00808080);
  h.SetPixel(4, 4, 0x00828282);  // within 2 of the seed
  h.SetPixel(5, 4, 0x00858585);  // not within 2
  int32_t l = 0, t = 0, r = 0, b = 0;
  ASSERT_EQ(h.FloodFill(3, 4, &l, &t, &r, &b, kInk, 0, 0, 0, 0, 0), 1);  // tolerance 0: one pixel
  EXPECT_EQ((std::vector<int32_t>{l, t, r, b}), (std::vector<int32_t>{3, 4, 4, 5}));
  EXPECT_EQ(At(h, 4, 4), 0x00828282u);
  h.SetPixel(3, 4, 0x00808080);
  ASSERT_EQ(h.FloodFill(3, 4, &l, &t, &r, &b, kInk, 0, 2, 0, 0, 0), 1);
  EXPECT_EQ(At(h, 4, 4), kInk);
  EXPECT_EQ(At(h, 5, 4), 0x00858585u);
  EXPECT_EQ((std::vector<int32_t>{l, t, r, b}), (std::vector<int32_t>{3, 4, 5, 5}));
  // Already the colour, or outside the clip: false.
  EXPECT_EQ(h.FloodFillSimple(3, 4, kInk, 0, 0, 0, 0, 0), 0);
  h.SetClipRect(0, 0, 3, 3);
  EXPECT_EQ(h.FloodFillSimple(5, 5, kInk, 0, 0, 0, 0, 0), 0);
  // The clip bounds the fill; the origin moves seed and box.
  ASSERT_EQ(h.FloodFillSimple(0, 0, 0x00FF0000, 0, 0, 0, 0, 0), 1);
  EXPECT_EQ(At(h, 2, 2), 0x00FF0000u);
  EXPECT_EQ(At(h, 3, 3), 0u);
  h.ResetClipRect();
  h.SetOrigin(-10, -20);
  ASSERT_EQ(h.FloodFill(-1, -11, &l, &t, &r, &b, 0x0000FF00, 0, 0, 0, 0, 0), 1);  // implementation (9, 9)
  EXPECT_EQ(At(h, 9, 9), 0x0000FF00u);
  EXPECT_EQ(r, 0);   // 10 - 10
  EXPECT_EQ(b, -10);  // 10 - 20
}

// Segments past x 32767 work: a 40000 x 3 surface fills whole.
TEST_F(Shapes, FloodFillCoversAVeryWideSurface) {
  cSurfaceHandle h;
  Make(h, 24, 40000, 3);
  h.SetPixel(20000, 1, 0x00FFFFFF);
  int32_t l = 0, t = 0, r = 0, b = 0;
  ASSERT_EQ(h.FloodFill(39999, 2, &l, &t, &r, &b, kInk, 0, 0, 0, 0, 0), 1);
  EXPECT_EQ((std::vector<int32_t>{l, t, r, b}), (std::vector<int32_t>{0, 0, 40000, 3}));
  EXPECT_EQ(At(h, 0, 0), kInk);
  EXPECT_EQ(At(h, 39999, 0), kInk);
  EXPECT_EQ(At(h, 20000, 1), 0x00FFFFFFu);
}

// Effects draw the filled pixels through a temporary: each filled pixel is
// what a Blit of the colour with that effect gives, the rest is left; blend
// with weight 0 is a plain fill.
TEST_F(Shapes, FloodFillEffectsGoThroughTheTemporary) {
  struct Case {
    uint32_t effect, parameter;
  };
  const Case cases[] = {{EffectXor, 0}, {EffectAdd, 0}, {EffectInvert, 0}, {EffectBlend, 0}, {EffectBlend, 64}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.effect);
    cSurfaceHandle ink, want;
    Make(ink, 24, 1, 1, kInk);
    Make(want, 24, 1, 1, kBack);
    ASSERT_EQ(ink.Blit(&want, 0, 0, 0, 0, 1, 1, BlitOpaque, c.effect, c.parameter, 0), 1);
    cSurfaceHandle h;
    Make(h, 24, 8, 8);
    h.FillRect(4, 0, 4, 8, 0x00FFFFFF);
    ASSERT_EQ(h.FloodFillSimple(0, 0, kInk, 0, 0, 0, c.effect, c.parameter), 1);
    EXPECT_EQ(At(h, 1, 1), At(want, 0, 0));
    EXPECT_EQ(At(h, 3, 7), At(want, 0, 0));
    EXPECT_EQ(At(h, 5, 5), 0x00FFFFFFu);
  }
  // Blend 0 is the plain colour.
  cSurfaceHandle h;
  Make(h, 24, 4, 4);
  ASSERT_EQ(h.FloodFillSimple(0, 0, kInk, 0, 0, 0, EffectBlend, 0), 1);
  EXPECT_EQ(At(h, 3, 3), kInk);
}

// Drawing members of the device context fail plainly on memory surfaces.
TEST_F(Shapes, EmptyHandlesDrawNothing) {
  cSurfaceHandle empty;
  EXPECT_EQ(empty.FloodFillSimple(0, 0, kInk, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(empty.Line(0, 0, 3, 3, 1, kInk), 1);  // clipped away: nothing to draw
}

}  // namespace
