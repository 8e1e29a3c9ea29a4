// Slot 66 `BuildCollisionMask`, `PixelCollide` and slot 39 `GetContentBox`
// against per-pixel references on random images.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <tuple>

#include "BlitTestSurfaces.h"
#include "support/PixelCompare.h"
#include "pixel/CopyKernels.h"
#include "surface/BlitPaths.h"
#include "surface/MaskRecord.h"

namespace {

constexpr uint32_t kKey = 0x00FF00FF;

// The expected record: header, then a bit per solid pixel; in a top-edge
// mask each column keeps its first six solid pixels.
std::vector<uint8_t> ReferenceMask(int32_t w, int32_t h, bool topEdge,
                                   const std::function<bool(int32_t, int32_t)>& solid) {
  const uint32_t rowBytes = ((w + 15) / 16) * 2;
  std::vector<uint8_t> m(44 + rowBytes * h, 0);
  const uint32_t header[4] = {44, uint32_t(w), uint32_t(h), rowBytes};
  std::memcpy(m.data(), header, sizeof header);
  std::vector<int> left(w, 6);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      if (!solid(x, y)) continue;
      if (topEdge && left[x]-- <= 0) continue;
      m[44 + y * rowBytes + x / 8] |= uint8_t(1 << (x % 8));
    }
  return m;
}

std::vector<uint8_t> BuildMask(cSurfaceImpl* s, uint32_t flags) {
  const uint32_t size = s->BuildCollisionMask(nullptr, flags);
  std::vector<uint8_t> m(size + 8, 0xCC);  // the tail shows writes past the record
  EXPECT_EQ(s->BuildCollisionMask(m.data(), flags), size);
  for (size_t i = size; i < m.size(); ++i) EXPECT_EQ(m[i], 0xCC) << "written past the record";
  m.resize(size);
  return m;
}

class MaskCollision : public SurfaceTest {};

TEST_F(MaskCollision, MaskBitsMatchTheReference) {
  struct Case {
    int32_t depth, w, h;
    bool alpha;
  };
  const Case cases[] = {{32, 17, 2, false}, {32, 40, 23, false}, {24, 33, 9, false},
                        {16, 19, 7, false}, {15, 16, 3, false},  {8, 21, 5, false},
                        {32, 18, 11, true}, {24, 1, 1, false},   {24, 7, 20, true}};
  for (const Case& c : cases)
    for (uint32_t flags : {0u, MaskTopEdge}) {
      // Key pixels one in two, so columns have runs and gaps.
      cSurfaceImpl* s = MakeRandom(c.depth, c.w, c.h, kKey, 2, c.alpha);
      ASSERT_NE(s, nullptr);
      const uint32_t key = s->view.transparentValue;
      auto solid = [&](int32_t x, int32_t y) {
        return c.alpha ? Alpha(s, x, y) != 0 : Raw(s, x, y) != key;
      };
      const std::vector<uint8_t> want = ReferenceMask(c.w, c.h, flags & MaskTopEdge, solid);
      EXPECT_EQ(FirstDifference(BuildMask(s, flags), want), "")
          << c.depth << " " << c.w << "x" << c.h << " flags " << flags;
    }
  // 17 x 2: rows of 4 bytes, 44 + 8 bytes, also without a record to fill.
  cSurfaceImpl* s = Make(32, 17, 2);
  EXPECT_EQ(s->BuildCollisionMask(nullptr, 0), 52u);
  LockFailSurface locked(32, 17, 2);
  std::vector<uint8_t> m(52);
  EXPECT_EQ(locked.BuildCollisionMask(nullptr, 0), 52u);
  EXPECT_EQ(locked.BuildCollisionMask(m.data(), 0), 0u);
}

TEST_F(MaskCollision, TopEdgeKeepsTheFirstSixOfAColumn) {
  // Column 2: ten solid pixels, a gap, five more; column 0: all solid.
  cSurfaceImpl* s = Make(24, 3, 18);
  s->SetTransparentColour(kKey);
  for (int32_t y = 0; y < 18; ++y)
    for (int32_t x = 0; x < 3; ++x) {
      const bool solid = x == 0 || (x == 2 && y != 10 && y != 16 && y != 17);
      s->SetPixel(x, y, solid ? 0x00101010 : kKey);
    }
  const std::vector<uint8_t> m = BuildMask(s, MaskTopEdge);
  for (int32_t y = 0; y < 18; ++y) {
    const uint8_t bits = m[44 + y * 2];
    EXPECT_EQ(bits, y < 6 ? 0x05 : 0x00) << "row " << y;
    EXPECT_EQ(m[44 + y * 2 + 1], 0) << "row " << y;
  }
}

// A surface held in the run-length form: a block of its total size, one
// (codes, pixels) offset pair per row, the skip/copy codes, the pixels.
class RunLengthSurface : public cSurfaceImpl {
 public:
  RunLengthSurface(int32_t width, const std::vector<std::vector<uint8_t>>& rows) {
    SetDepth(32);
    view.width = width;
    view.height = int32_t(rows.size());
    ResetClipRect();
    uint32_t codes = 0, pixels = 0;
    for (const auto& r : rows) {
      codes += uint32_t(r.size());
      for (size_t i = 1; i < r.size(); i += 2) pixels += r[i] * 4u;
    }
    const uint32_t pairs = 8 * uint32_t(rows.size());
    block.assign(4 + pairs + codes + pixels, 0x77);
    const uint32_t total = uint32_t(block.size());
    std::memcpy(block.data(), &total, 4);
    uint32_t c = pairs, p = pairs + codes;
    for (size_t y = 0; y < rows.size(); ++y) {
      std::memcpy(&block[4 + 8 * y], &c, 4);
      std::memcpy(&block[8 + 8 * y], &p, 4);
      std::memcpy(&block[4 + c], rows[y].data(), rows[y].size());
      c += uint32_t(rows[y].size());
      for (size_t i = 1; i < rows[y].size(); i += 2) p += rows[y][i] * 4u;
    }
    view.buffer = view.firstRow = block.data();
  }
  ~RunLengthSurface() = default;
  cSurfaceImpl* MakeInstance(int32_t, int32_t) override { return nullptr; }
  int32_t IsCompressed() override { return 1; }
  std::vector<uint8_t> block;
};

TEST_F(MaskCollision, RunLengthMaskFollowsTheCopyRuns) {
  RunLengthSurface s(300, {{255, 0, 1, 44},             // 256 transparent, then 44 solid
                           {0, 255, 0, 45},             // 300 solid
                           {3, 4, 255, 0, 38, 0}});     // pixels 3..6 solid
  auto solid = [](int32_t x, int32_t y) {
    return y == 0 ? x >= 256 : y == 1 ? true : x >= 3 && x < 7;
  };
  EXPECT_EQ(FirstDifference(BuildMask(&s, 0), ReferenceMask(300, 3, false, solid)), "");
}

TEST_F(MaskCollision, PixelCollideMatchesBruteForce) {
  for (int32_t depth : {32, 24, 16, 8}) {
    int hits = 0;
    for (int round = 0; round < 30; ++round) {
      // Sparse solid pixels so that both answers occur.
      cSurfaceImpl* a = MakeRandom(depth, 12, 10, kKey, 1);
      cSurfaceImpl* b = MakeRandom(depth, 9, 11, 0x00123456, 1);
      for (int32_t i = 0; i < 10; ++i) {
        SetRaw(a, int32_t(rng_() % 12), int32_t(rng_() % 10), 0x00ABCDEF);  // solid at every size
        SetRaw(b, int32_t(rng_() % 9), int32_t(rng_() % 11), 0x00FEDCBA);
      }
      const int32_t w = 1 + int32_t(rng_() % 9), h = 1 + int32_t(rng_() % 10);
      const int32_t x = int32_t(rng_() % (13 - w)), y = int32_t(rng_() % (11 - h));
      const int32_t ox = int32_t(rng_() % (10 - w)), oy = int32_t(rng_() % (12 - h));
      bool want = false;
      for (int32_t j = 0; j < h; ++j)
        for (int32_t i = 0; i < w; ++i)
          want |= Raw(a, x + i, y + j) != a->view.transparentValue &&
                  Raw(b, ox + i, oy + j) != b->view.transparentValue;
      EXPECT_EQ(a->PixelCollide(b, ox, oy, x, y, w, h), want ? 1 : 0) << depth << " round " << round;
      hits += want;
    }
    EXPECT_GT(hits, 0) << "weak sample at " << depth;
    EXPECT_LT(hits, 30) << "weak sample at " << depth;
  }
  // A 32-bit key colour with a non-zero fourth byte is solid.
  cSurfaceImpl* a = Make(32, 2, 1);
  cSurfaceImpl* b = Make(32, 2, 1);
  a->SetTransparentColour(kKey);
  b->SetTransparentColour(kKey);
  SetRaw(a, 0, 0, a->view.transparentValue | 0x01000000);
  SetRaw(b, 0, 0, 0x00000001);
  SetRaw(a, 1, 0, a->view.transparentValue);
  SetRaw(b, 1, 0, 0x00000001);
  EXPECT_EQ(a->PixelCollide(b, 1, 0, 1, 0, 1, 1), 0);
  EXPECT_EQ(a->PixelCollide(b, 0, 0, 0, 0, 1, 1), 1);
  // Different pixel sizes or a failed lock answer a collision; bad input none.
  cSurfaceImpl* c24 = Make(24, 2, 1);
  LockFailSurface locked(32, 2, 1);
  EXPECT_EQ(a->PixelCollide(c24, 0, 0, 0, 0, 1, 1), 1);
  EXPECT_EQ(a->PixelCollide(&locked, 0, 0, 1, 0, 1, 1), 1);
  EXPECT_EQ(a->PixelCollide(nullptr, 0, 0, 0, 0, 1, 1), 0);
  EXPECT_EQ(a->PixelCollide(b, 0, 0, 1, 0, 2, 1), 0);  // past the edge
}

TEST_F(MaskCollision, ContentBoxByKeyOrAlpha) {
  for (int32_t depth : {32, 24, 8})
    for (bool alpha : {false, true}) {
      cSurfaceImpl* s = Make(depth, 14, 9);
      s->SetTransparentColour(kKey);
      const uint32_t key = s->view.transparentValue;
      if (alpha) s->CreateAlpha();
      for (int32_t y = 0; y < 9; ++y)
        for (int32_t x = 0; x < 14; ++x) SetRaw(s, x, y, key);
      SurfaceRect box{};
      ASSERT_EQ(s->GetContentBox(&box), 1);
      EXPECT_EQ(box.left, 13);  // nothing: the inverted box
      EXPECT_EQ(box.bottom, 1);
      // Content at (3, 2) and (10, 6); with an alpha plane, the opaque bytes
      // instead: (5, 1) and (6, 7).
      SetRaw(s, 3, 2, key ^ 1);
      SetRaw(s, 10, 6, key ^ 0x10);
      if (alpha) {
        s->view.alphaFirstRow[1 * s->view.alphaPitch + 5] = 1;
        s->view.alphaFirstRow[7 * s->view.alphaPitch + 6] = 255;
      }
      ASSERT_EQ(s->GetContentBox(&box), 1);
      const SurfaceRect want = alpha ? SurfaceRect{5, 1, 7, 8} : SurfaceRect{3, 2, 11, 7};
      EXPECT_EQ(box.left, want.left) << depth << " " << alpha;
      EXPECT_EQ(box.top, want.top) << depth << " " << alpha;
      EXPECT_EQ(box.right, want.right) << depth << " " << alpha;
      EXPECT_EQ(box.bottom, want.bottom) << depth << " " << alpha;
    }
  SurfaceRect box{};
  EXPECT_EQ(Make(32, 2, 2)->GetContentBox(&box), 0);
  EXPECT_EQ(Make(32, 3, 2)->GetContentBox(&box), 1);
  EXPECT_EQ(Make(32, 3, 2)->GetContentBox(nullptr), 0);
  LockFailSurface locked(32, 5, 5);
  EXPECT_EQ(locked.GetContentBox(&box), 0);
}

// The row scans of the mask and the content box against the per-pixel
// reference and the plain kernel (FindContentBounds) on random sizes, key
// densities (down to one solid pixel or none) and alpha planes.
TEST_F(MaskCollision, RowScansMatchThePlainOnesOnRandomImages) {
  for (int32_t depth : {8, 15, 16, 24, 32})
    for (int round = 0; round < 30; ++round) {
      const int32_t w = 1 + int32_t(rng_() % 70), h = 1 + int32_t(rng_() % 9);
      const bool alpha = round % 5 == 4;
      cSurfaceImpl* s = MakeRandom(depth, w, h, kKey, 1 + round % 4, alpha);
      const uint32_t key = s->view.transparentValue;
      if (round % 6 == 1) {  // all transparent but one pixel, or none
        for (int32_t y = 0; y < h; ++y)
          for (int32_t x = 0; x < w; ++x) SetRaw(s, x, y, key);
        if (round % 12 == 1) SetRaw(s, int32_t(rng_() % uint32_t(w)), int32_t(rng_() % uint32_t(h)), key ^ 2);
      }
      auto solid = [&](int32_t x, int32_t y) { return alpha ? Alpha(s, x, y) != 0 : Raw(s, x, y) != key; };
      EXPECT_EQ(FirstDifference(BuildMask(s, 0), ReferenceMask(w, h, false, solid)), "")
          << depth << " " << w << "x" << h << " round " << round;
      PixelRect plain{};
      const PixelView view = alpha ? AlphaPlaneView(s->view) : s->view;
      const int32_t found = FindContentBounds(&view, &plain);
      SurfaceRect box{-7, -7, -7, -7};
      const int32_t got = s->GetContentBox(&box);
      if (w <= 2 && h <= 2) {
        EXPECT_EQ(got, 0);
        continue;
      }
      ASSERT_EQ(got, found) << depth << " round " << round;
      EXPECT_EQ(std::make_tuple(box.left, box.top, box.right, box.bottom),
                std::make_tuple(plain.left, plain.top, plain.right, plain.bottom))
          << depth << " " << w << "x" << h << " round " << round;
    }
}

}  // namespace
