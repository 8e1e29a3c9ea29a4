// Slots 42 `Rotate` and 43 `RotateQuarter` and `RotatedBounds`: quarter and
// half turns exact against index permutations at every depth with alpha;
// other angles against a double-precision model (nearest: a source pixel
// within one pixel of the exact sample point, or the fill; bilinear: every
// channel within 2).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "BlitTestSurfaces.h"
#include "surface/NativeColour.h"
#include "surface/RotatedBounds.h"

namespace {

constexpr uint32_t kFill = 0x00345678;
constexpr double kPi = 3.14159265358979323846;

class Rotate : public SurfaceTest {
 protected:
  static uint32_t Colour(cSurfaceImpl* s, int32_t x, int32_t y) {
    uint32_t c = 0;
    s->GetPixel(x, y, &c);
    return c & 0x00FFFFFFu;
  }
  // The low 24 bits a colour is stored with (3 bytes at 32 bits: the fill
  // leaves the fourth alone).
  static uint32_t StoredMask(cSurfaceImpl* s) {
    return s->view.depth >= 24 ? 0xFFFFFFu : s->view.depth == 8 ? 0xFFu : 0xFFFFu;
  }
};

TEST_F(Rotate, QuarterTurnsMovePixelsAndAlphaExactly) {
  for (int32_t depth : {8, 15, 16, 24, 32}) {
    SCOPED_TRACE(depth);
    cSurfaceImpl* src = MakeRandom(depth, 5, 3, 0, 0, true);
    ASSERT_NE(src, nullptr);
    for (int32_t clockwise : {0, 1}) {
      cSurfaceImpl* dest = Make(depth, 3, 5);
      ASSERT_NE(dest, nullptr);
      ASSERT_EQ(src->RotateQuarter(dest, clockwise), 1);
      ASSERT_NE(dest->view.alphaFirstRow, nullptr);
      for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x) {
          const int32_t tx = clockwise ? 2 - y : y, ty = clockwise ? x : 4 - x;
          EXPECT_EQ(Raw(dest, tx, ty), Raw(src, x, y)) << x << ", " << y;
          EXPECT_EQ(Alpha(dest, tx, ty), Alpha(src, x, y)) << x << ", " << y;
        }
    }
  }
  // Clockwise, the top row becomes the right column: 3 x 2, (0, 0) -> (1, 0).
  cSurfaceImpl* small = MakeRandom(24, 3, 2, 0, 0);
  cSurfaceImpl* turned = Make(24, 2, 3);
  ASSERT_NE(turned, nullptr);
  ASSERT_EQ(small->RotateQuarter(turned, 1), 1);
  EXPECT_EQ(Raw(turned, 1, 0), Raw(small, 0, 0));
}

TEST_F(Rotate, QuarterTurnRefusesWhatItCannotHold) {
  cSurfaceImpl* src = MakeRandom(24, 5, 3, 0, 0);
  cSurfaceImpl* narrow = MakeRandom(24, 2, 5, 0, 0);
  cSurfaceImpl* shallow = MakeRandom(24, 3, 4, 0, 0);
  cSurfaceImpl* otherDepth = MakeRandom(32, 3, 5, 0, 0);
  ASSERT_NE(otherDepth, nullptr);
  for (cSurfaceImpl* dest : {narrow, shallow, otherDepth}) {
    const PixelTestImage before = ImageOf(dest);
    EXPECT_EQ(src->RotateQuarter(dest, 1), 0);
    EXPECT_EQ(Differs(dest, before), "");
  }
  EXPECT_EQ(src->RotateQuarter(nullptr, 0), 0);
  EXPECT_EQ(src->RotateQuarter(src, 0), 0);
  LockFailSurface locked(24, 3, 5);
  EXPECT_EQ(src->RotateQuarter(&locked, 0), 0);
  EXPECT_EQ(src->Rotate(&locked, 33, 0, 0, 0), 0);
  EXPECT_EQ(src->Rotate(otherDepth, 33, 0, 0, 0), 0);
  EXPECT_EQ(src->Rotate(nullptr, 33, 0, 0, 0), 0);
}

// 0 copies with alpha; 180 is the copy mirrored both ways.
TEST_F(Rotate, ZeroAndHalfTurnsAreCopies) {
  for (int32_t depth : {24, 32}) {
    cSurfaceImpl* src = MakeRandom(depth, 6, 4, 0, 0, true);
    for (int32_t angle : {0, 180}) {
      cSurfaceImpl* dest = Make(depth, 6, 4);
      ASSERT_NE(dest, nullptr);
      ASSERT_EQ(src->Rotate(dest, angle, 0, kFill, 0), 1);
      ASSERT_NE(dest->view.alphaFirstRow, nullptr);
      for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 6; ++x) {
          const int32_t fx = angle == 0 ? x : 5 - x, fy = angle == 0 ? y : 3 - y;
          EXPECT_EQ(Raw(dest, x, y), Raw(src, fx, fy));
          EXPECT_EQ(Alpha(dest, x, y), Alpha(src, fx, fy));
        }
    }
  }
}

struct SamplePoint {
  double x, y;
};

// The exact sample point of destination pixel (X, Y).
SamplePoint Exact(int32_t angle, int32_t sw, int32_t sh, int32_t dw, int32_t dh, int32_t x, int32_t y) {
  const double c = std::cos(angle * kPi / 180), s = std::sin(angle * kPi / 180);
  const double u = x - dw / 2.0, v = y - dh / 2.0;
  return {sw / 2.0 + u * c - v * s, sh / 2.0 + u * s + v * c};
}

// Without smoothing every pixel is a source pixel whose centre lies within
// one pixel of a point within one pixel of the exact sample point, or the
// fill where such a point falls outside.
TEST_F(Rotate, NearestTakesASourcePixelNearTheExactPoint) {
  for (int32_t depth : {8, 15, 16, 24, 32}) {
    for (auto [sw, sh] : {std::pair{7, 5}, {8, 6}}) {
      cSurfaceImpl* src = MakeRandom(depth, sw, sh, 0, 0);
      ASSERT_NE(src, nullptr);
      for (int32_t angle : {1, 33, 45, 137, 359}) {
        SCOPED_TRACE(testing::Message() << depth << " bits, " << sw << " x " << sh << ", " << angle);
        RotatedRecord size{0, 0, sw, sh};
        RotatedBounds(&size, nullptr, nullptr, float(angle));
        cSurfaceImpl* dest = Make(depth, size.width, size.height);
        ASSERT_NE(dest, nullptr);
        ASSERT_EQ(src->Rotate(dest, angle, 0, kFill, 0), 1);
        const uint32_t mask = StoredMask(dest);
        const uint32_t fill = depth == 8 ? uint32_t(dest->NearestIndex(kFill)) : ColourToNative(depth, kFill);
        int fills = 0, pixels = 0;
        for (int32_t y = 0; y < size.height; ++y)
          for (int32_t x = 0; x < size.width; ++x) {
            const SamplePoint p = Exact(angle, sw, sh, size.width, size.height, x, y);
            const uint32_t got = Raw(dest, x, y);
            bool ok = false, outsideNear = false;
            for (int32_t iy = int32_t(std::floor(p.y - 1.5)); iy <= int32_t(std::ceil(p.y + 1.5)); ++iy)
              for (int32_t ix = int32_t(std::floor(p.x - 1.5)); ix <= int32_t(std::ceil(p.x + 1.5)); ++ix) {
                if (std::fabs(ix - p.x) > 1.5 || std::fabs(iy - p.y) > 1.5) continue;
                if (ix < 0 || iy < 0 || ix >= sw || iy >= sh) outsideNear = true;
                else if (Raw(src, ix, iy) == got) ok = true;
              }
            if (!ok && outsideNear && (got & mask) == fill) {
              ok = true;
              ++fills;
            } else if (ok) {
              ++pixels;
            }
            ASSERT_TRUE(ok) << "(" << x << ", " << y << ") exact point (" << p.x << ", " << p.y << ")";
          }
        EXPECT_GT(pixels, sw * sh / 2);
        if (angle != 1 && angle != 359) {
          EXPECT_GT(fills, 0);
        }
      }
    }
  }
}

// The bilinear model in double precision, with the same rules for the
// edges and for keep-transparent.
uint32_t BilinearModel(const std::vector<uint32_t>& src, int32_t sw, int32_t sh, SamplePoint p,
                       uint32_t fill, bool keep) {
  const int32_t ix = int32_t(p.x), iy = int32_t(p.y);
  if (p.x < 0 || p.y < 0 || ix >= sw || iy >= sh) return fill;
  const uint32_t centre = src[size_t(iy * sw + ix)];
  if (keep && centre == fill) return centre;
  auto at = [&](int32_t x, int32_t y) {
    if (x >= sw || y >= sh) return centre;
    const uint32_t c = src[size_t(y * sw + x)];
    return keep && c == fill ? centre : c;
  };
  const uint32_t c[4] = {centre, at(ix + 1, iy), at(ix, iy + 1), at(ix + 1, iy + 1)};
  const double fx = p.x - ix, fy = p.y - iy;
  const double w[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    double v = 0.5;
    for (int k = 0; k < 4; ++k) v += w[k] * ((c[k] >> shift) & 0xFF);
    out |= uint32_t(v) << shift;
  }
  return out;
}

bool ChannelsWithin(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

TEST_F(Rotate, SmoothingStaysWithinTwoOfTheBilinearModel) {
  for (int32_t depth : {24, 32}) {
    for (auto [sw, sh] : {std::pair{7, 5}, {8, 6}}) {
      for (bool keep : {false, true}) {
        cSurfaceImpl* src = MakeRandom(depth, sw, sh, 0, 0);
        ASSERT_NE(src, nullptr);
        for (int32_t i = 0; i < sw * sh; i += 5) src->SetPixel(i % sw, i / sw, kFill);  // some keyed pixels
        std::vector<uint32_t> colours;
        for (int32_t y = 0; y < sh; ++y)
          for (int32_t x = 0; x < sw; ++x) colours.push_back(Colour(src, x, y));
        for (int32_t angle : {1, 33, 45, 137, 359}) {
          SCOPED_TRACE(testing::Message() << depth << " bits, " << sw << " x " << sh << ", " << angle
                                          << (keep ? ", keeping the fill" : ""));
          RotatedRecord size{0, 0, sw, sh};
          RotatedBounds(&size, nullptr, nullptr, float(angle));
          cSurfaceImpl* dest = Make(depth, size.width, size.height);
          ASSERT_NE(dest, nullptr);
          ASSERT_EQ(src->Rotate(dest, angle, 1, kFill, keep ? 1 : 0), 1);
          for (int32_t y = 0; y < size.height; ++y)
            for (int32_t x = 0; x < size.width; ++x) {
              const SamplePoint p = Exact(angle, sw, sh, size.width, size.height, x, y);
              const uint32_t got = Colour(dest, x, y);
              // Fixed-point stepping may land across a pixel edge the exact
              // point is very near: the model on either side is accepted there.
              bool ok = false;
              for (double ex : {0.0, -1e-3, 1e-3})
                for (double ey : {0.0, -1e-3, 1e-3})
                  ok = ok || ChannelsWithin(got, BilinearModel(colours, sw, sh, {p.x + ex, p.y + ey}, kFill, keep), 2);
              ASSERT_TRUE(ok) << "(" << x << ", " << y << ") got 0x" << std::hex << got << ", model 0x"
                              << BilinearModel(colours, sw, sh, p, kFill, keep);
            }
        }
      }
    }
  }
}

// The smoothed turn of 24- and 32-bit surfaces on stored bytes (flag bit 0
// set) gives the bytes of the colour path (cleared): random sizes, odd widths,
// any angle, keeping the fill or not, both pitch signs.
TEST_F(Rotate, StoredSmoothingEqualsTheColourPath) {
  std::mt19937 rng(33);
  auto turnRows = [](cSurfaceImpl* s) {
    s->view.firstRow += int64_t(s->view.height - 1) * s->view.pitch;
    s->view.pitch = -s->view.pitch;
  };
  for (int round = 0; round < 60; ++round) {
    const int32_t depth = round % 2 ? 32 : 24;
    const int32_t sw = 1 + rng() % 37, sh = 1 + rng() % 23, angle = 1 + rng() % 359;
    const bool keep = rng() % 2 != 0, bottomUp = (round / 2) % 2 != 0;
    SCOPED_TRACE(testing::Message() << "round " << round << ", " << depth << " bits, " << sw << " x " << sh
                                    << ", " << angle << (keep ? ", keeping the fill" : ""));
    cSurfaceImpl* src = MakeRandom(depth, sw, sh, 0, 0);
    ASSERT_NE(src, nullptr);
    for (int32_t i = 0; i < sw * sh; i += 3 + int32_t(rng() % 5)) src->SetPixel(i % sw, i / sw, kFill);
    RotatedRecord size{0, 0, sw, sh};
    RotatedBounds(&size, nullptr, nullptr, float(angle));
    cSurfaceImpl* stored = MakeRandom(depth, size.width, size.height, 0, 0);
    cSurfaceImpl* colours = Make(depth, size.width, size.height);
    ASSERT_NE(stored, nullptr);
    ASSERT_NE(colours, nullptr);
    for (int32_t y = 0; y < size.height; ++y)
      for (int32_t x = 0; x < size.width; ++x) SetRaw(colours, x, y, Raw(stored, x, y));
    if (bottomUp) {
      turnRows(src);
      turnRows(stored);
      turnRows(colours);
    }
    const uint32_t flags = src->view.flags;
    src->view.flags = flags | kPixelFlagVector;
    EXPECT_EQ(src->Rotate(stored, angle, 1, kFill, keep ? 1 : 0), 1);
    src->view.flags = flags & ~kPixelFlagVector;
    EXPECT_EQ(src->Rotate(colours, angle, 1, kFill, keep ? 1 : 0), 1);
    src->view.flags = flags;
    EXPECT_EQ(Differs(stored, ImageOf(colours)), "");
    if (bottomUp) {
      turnRows(src);
      turnRows(stored);
      turnRows(colours);
    }
  }
}

// The alpha plane turns with the pixels (smoothed, fill 0).
TEST_F(Rotate, AlphaTurnsWithThePixels) {
  cSurfaceImpl* src = MakeRandom(24, 8, 6, 0, 0, true);
  ASSERT_NE(src, nullptr);
  std::vector<uint32_t> alpha;
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 8; ++x) alpha.push_back(Alpha(src, x, y));
  RotatedRecord size{0, 0, 8, 6};
  RotatedBounds(&size, nullptr, nullptr, 33.0f);
  cSurfaceImpl* dest = Make(24, size.width, size.height);
  ASSERT_NE(dest, nullptr);
  ASSERT_EQ(src->Rotate(dest, 33, 1, kFill, 1), 1);
  ASSERT_NE(dest->view.alphaFirstRow, nullptr);
  for (int32_t y = 0; y < size.height; ++y)
    for (int32_t x = 0; x < size.width; ++x) {
      const SamplePoint p = Exact(33, 8, 6, size.width, size.height, x, y);
      bool ok = false;
      for (double ex : {0.0, -1e-3, 1e-3})
        for (double ey : {0.0, -1e-3, 1e-3})
          ok = ok || std::abs(int(Alpha(dest, x, y)) -
                              int(BilinearModel(alpha, 8, 6, {p.x + ex, p.y + ey}, 0, false) & 0xFF)) <= 2;
      ASSERT_TRUE(ok) << x << ", " << y;
    }
}

TEST(RotatedBoundsTable, SizesHotSpotsAndActionPoints) {
  struct Case {
    int32_t w, h;
    bool hot;
    int32_t hx, hy;
    bool action;
    int32_t ax, ay;
    float angle;
    int32_t wantW, wantH, wantHx, wantHy, wantAx, wantAy;
  };
  const Case cases[] = {
      {10, 20, false, 0, 0, false, 0, 0, 90, 20, 10, 0, 0, 0, 0},
      {10, 20, true, 5, 10, false, 0, 0, 90, 20, 10, 10, 5, 0, 0},
      {10, 20, true, 0, 0, true, 10, 0, 90, 20, 10, 0, 10, 0, 0},    // right end goes up
      {10, 20, true, 0, 0, true, 10, 0, 180, 10, 20, 10, 20, 0, 20},
      {10, 20, true, 0, 0, true, 10, 0, 270, 20, 10, 20, 0, 20, 10},
      {10, 20, false, 0, 0, false, 0, 0, 0, 10, 20, 0, 0, 0, 0},
      {10, 10, true, 5, 5, true, 10, 5, 45, 14, 14, 7, 7, 10, 4},
      {30, 10, false, 0, 0, false, 0, 0, 33, 30, 24, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h << " by " << c.angle);
    RotatedRecord record{3, 4, c.w, c.h};
    RotatedPoint hot{c.hx, c.hy}, action{c.ax, c.ay};
    RotatedBounds(&record, c.hot ? &hot : nullptr, c.action ? &action : nullptr, c.angle);
    EXPECT_EQ(record.x, 3);
    EXPECT_EQ(record.y, 4);
    EXPECT_EQ(record.width, c.wantW);
    EXPECT_EQ(record.height, c.wantH);
    if (c.hot) {
      EXPECT_EQ(hot.x, c.wantHx);
      EXPECT_EQ(hot.y, c.wantHy);
    }
    if (c.action) {
      EXPECT_EQ(action.x, c.wantAx);
      EXPECT_EQ(action.y, c.wantAy);
    }
  }
}

}  // namespace
