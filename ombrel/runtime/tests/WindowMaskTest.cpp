// The window's background mask: placement of the planes for a back buffer
// and margins, fills and stamps against a per-pixel model under random
// clips and origins, the point and rectangle tests, and scrolling, including
// shifts as large as the mask. Seeded: a failure names its seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "mask/WindowMask.h"

namespace {

// A mask record (header and rows) built pixel by pixel.
struct RecordBuffer {
  std::vector<uint8_t> bytes;
  CollisionMaskHeader* header() { return reinterpret_cast<CollisionMaskHeader*>(bytes.data()); }
  RecordBuffer(int32_t w, int32_t h) {
    const uint32_t rowBytes = uint32_t(((w + 15) >> 3) & ~1);
    bytes.assign(sizeof(CollisionMaskHeader) + size_t(rowBytes) * h, 0);
    header()->headerSize = sizeof(CollisionMaskHeader);
    header()->width = w;
    header()->height = h;
    header()->rowBytes = rowBytes;
  }
  void Set(int32_t x, int32_t y) {
    bytes[sizeof(CollisionMaskHeader) + size_t(y) * header()->rowBytes + (x >> 3)] |= uint8_t(1u << (x & 7));
  }
  bool Get(int32_t x, int32_t y) const {
    const auto* h = reinterpret_cast<const CollisionMaskHeader*>(bytes.data());
    return (bytes[sizeof(CollisionMaskHeader) + size_t(y) * h->rowBytes + (x >> 3)] >> (x & 7)) & 1;
  }
  static RecordBuffer Random(int32_t w, int32_t h, std::mt19937& rng) {
    RecordBuffer r(w, h);
    std::bernoulli_distribution on(0.4);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        if (on(rng)) r.Set(x, y);
    // Garbage in the padding must never be stamped.
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = w; x < int32_t(r.header()->rowBytes) * 8; ++x) r.Set(x, y);
    return r;
  }
};

bool Bit(const WindowMask& m, int plane, int32_t x, int32_t y) {  // window coordinates, no origin
  const uint8_t* p = m.Plane(plane);
  const int32_t rx = x - m.rect.left, ry = y - m.rect.top;
  return (p[size_t(ry) * m.rowBytes + (rx >> 3)] >> (rx & 7)) & 1;
}

// The same mask pixel by pixel: what every write must leave.
struct MaskModel {
  MaskBounds rect;
  std::vector<uint8_t> px[2];
  explicit MaskModel(const WindowMask& m) : rect(m.rect) {
    for (auto& p : px) p.assign(size_t(m.rowBytes) * 8 * m.Rows(), 0);
  }
  int32_t Width() const { return rect.right - rect.left + 1; }
  uint8_t& At(int plane, int32_t x, int32_t y) {
    return px[plane][size_t(y - rect.top) * Width() + size_t(x - rect.left)];
  }
  static bool InClip(const WindowMask& m, int64_t x, int64_t y) {
    return x >= m.clip.left && x <= m.clip.right && y >= m.clip.top && y <= m.clip.bottom;
  }
  void Fill(const WindowMask& m, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t value) {
    for (int64_t y = int64_t(y1) + m.originY; y <= int64_t(y2) + m.originY; ++y)
      for (int64_t x = int64_t(x1) + m.originX; x <= int64_t(x2) + m.originX; ++x)
        if (InClip(m, x, y))
          for (int plane = 0; plane < 2; ++plane) At(plane, int32_t(x), int32_t(y)) = (value >> plane) & 1;
  }
  void Paint(const WindowMask& m, const RecordBuffer& r, int32_t x, int32_t y, int32_t planes, int32_t value) {
    const auto* h = reinterpret_cast<const CollisionMaskHeader*>(r.bytes.data());
    for (int32_t ry = 0; ry < h->height; ++ry)
      for (int32_t rx = 0; rx < h->width; ++rx) {
        const int64_t X = int64_t(x) + m.originX + rx, Y = int64_t(y) + m.originY + ry;
        if (!r.Get(rx, ry) || !InClip(m, X, Y)) continue;
        for (int plane = 0; plane < 2; ++plane)
          if ((planes >> plane) & 1) At(plane, int32_t(X), int32_t(Y)) = (value >> plane) & 1;
      }
  }
  void Expect(const WindowMask& m, const char* what) {
    for (int plane = 0; plane < 2; ++plane) {
      if (m.Plane(plane) == nullptr) continue;
      for (int32_t y = rect.top; y <= rect.bottom; ++y)
        for (int32_t x = rect.left; x <= rect.right; ++x)
          ASSERT_EQ(Bit(m, plane, x, y), At(plane, x, y) != 0) << what << ": plane " << plane << " at " << x << "," << y;
    }
  }
};

struct MaskOwner {
  WindowMask mask;
  ~MaskOwner() { mask.Free(); }
};

TEST(WindowMask, CreationPlacesColumnAlignedPlanesOverBufferAndMargins) {
  struct Row {
    int32_t bw, bh, mx, my;
    bool rect;  // CreateRect with (mx, my, bw + mx, bh + my)
    MaskBounds expected;
    int32_t rowBytes;
  } rows[] = {
      {640, 480, 0, 0, false, {0, 655, 0, 479}, 82},
      {640, 480, 20, 10, false, {-32, 687, -10, 489}, 90},
      {1, 1, 0, 0, false, {0, 31, 0, 0}, 4},
      {100, 50, 16, 0, false, {-16, 143, 0, 49}, 20},
      // A negative left is rounded down past its column, a positive one up.
      {640, 480, -20, -5, true, {-48, 639, -5, 479}, 86},
      {640, 480, 5, 3, true, {16, 655, 3, 482}, 80},
  };
  for (const Row& r : rows) {
    MaskOwner o;
    const int32_t ok = r.rect ? o.mask.CreateRect(r.bw, r.bh, r.mx, r.my, r.bw + r.mx, r.bh + r.my, 3)
                              : o.mask.Create(r.bw, r.bh, r.mx, r.my, 3);
    ASSERT_EQ(ok, 1) << r.bw << "x" << r.bh << " margins " << r.mx << "," << r.my;
    EXPECT_EQ(o.mask.rect.left, r.expected.left);
    EXPECT_EQ(o.mask.rect.right, r.expected.right);
    EXPECT_EQ(o.mask.rect.top, r.expected.top);
    EXPECT_EQ(o.mask.rect.bottom, r.expected.bottom);
    EXPECT_EQ(o.mask.rowBytes, r.rowBytes);
    EXPECT_EQ(o.mask.planeSize, uint32_t(r.rowBytes * o.mask.Rows()));
    EXPECT_EQ(o.mask.plane0, 0);
    EXPECT_EQ(o.mask.plane1, int32_t(o.mask.planeSize));
    EXPECT_EQ(o.mask.clip.left, r.expected.left);
    EXPECT_EQ(o.mask.clip.bottom, r.expected.bottom);
    const uint8_t* p = o.mask.bits;
    EXPECT_TRUE(std::all_of(p, p + 2 * o.mask.planeSize + 4, [](uint8_t b) { return b == 0; }));
  }
}

TEST(WindowMask, PlanesArgumentChoosesThePlanesAndBadSizesLeaveNoMask) {
  MaskOwner o;
  ASSERT_EQ(o.mask.Create(64, 8, 0, 0, 2), 1);
  EXPECT_EQ(o.mask.plane0, kMaskPlaneAbsent);
  EXPECT_EQ(o.mask.plane1, 0);
  ASSERT_EQ(o.mask.Create(64, 8, 0, 0, 0), 1);  // a rectangle without planes
  EXPECT_FALSE(o.mask.Exists());
  EXPECT_EQ(o.mask.TestRect(0, 0, 64, 8, 0), 0);
  o.mask.FillRect(0, 0, 10, 10, 3);  // nothing to write into
  struct Bad { int32_t bw, bh, mx, my; } bad[] = {
      {640, 480, -1000, 0}, {640, 480, 0, -1000}, {INT32_MAX, 10, INT32_MAX, 0},
      {10, INT32_MAX, 0, INT32_MAX}, {600000, 10, 0, 0}, {500000, 20000, 0, 0}};
  for (const Bad& b : bad) {
    ASSERT_EQ(o.mask.Create(64, 8, 0, 0, 3), 1);
    EXPECT_EQ(o.mask.Create(b.bw, b.bh, b.mx, b.my, 3), 0) << b.bw << "x" << b.bh << " " << b.mx << "," << b.my;
    EXPECT_FALSE(o.mask.Exists());
    EXPECT_EQ(o.mask.plane0, kMaskPlaneAbsent);
    EXPECT_EQ(o.mask.plane1, kMaskPlaneAbsent);
  }
}

TEST(WindowMask, FillsAndStampsEqualThePixelModelUnderRandomClipsAndOrigins) {
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    std::mt19937 rng(seed);
    MaskOwner o;
    ASSERT_EQ(o.mask.Create(200, 60, 20, 5, 3), 1);
    MaskModel model(o.mask);
    std::uniform_int_distribution<int32_t> xs(-60, 260), ys(-20, 80), op(0, 3), small(-9, 9);
    for (int step = 0; step < 300; ++step) {
      if (step % 25 == 0) {
        MaskRect clip{xs(rng), ys(rng), xs(rng), ys(rng)};  // also inverted and beyond the mask
        o.mask.SetClip(step % 100 == 0 ? nullptr : &clip);
        o.mask.SetOrigin(small(rng), small(rng));
        // The stored clip never reaches beyond the mask.
        ASSERT_GE(o.mask.clip.left, o.mask.rect.left);
        ASSERT_LE(o.mask.clip.right, o.mask.rect.right);
        ASSERT_GE(o.mask.clip.top, o.mask.rect.top);
        ASSERT_LE(o.mask.clip.bottom, o.mask.rect.bottom);
      }
      const int32_t value = std::uniform_int_distribution<int32_t>(0, 3)(rng);
      switch (op(rng)) {
        case 0:
        case 1: {  // corners in any order: inverted ones fill nothing
          const int32_t x1 = xs(rng), y1 = ys(rng), x2 = x1 + small(rng) * 6, y2 = y1 + small(rng) * 2;
          o.mask.FillRect(x1, y1, x2, y2, value);
          if (x1 <= x2 && y1 <= y2) model.Fill(o.mask, x1, y1, x2, y2, value);
          break;
        }
        default: {
          const RecordBuffer r = RecordBuffer::Random(std::uniform_int_distribution<int32_t>(1, 70)(rng),
                                                      std::uniform_int_distribution<int32_t>(1, 12)(rng), rng);
          const int32_t x = xs(rng), y = ys(rng), planes = std::uniform_int_distribution<int32_t>(0, 3)(rng);
          o.mask.PaintBits(reinterpret_cast<const CollisionMaskHeader*>(r.bytes.data()), x, y, planes, value);
          model.Paint(o.mask, r, x, y, planes, value);
        }
      }
      if (step % 10 == 9) {
        model.Expect(o.mask, ("seed " + std::to_string(seed) + " step " + std::to_string(step)).c_str());
        if (HasFatalFailure()) return;
      }
    }
  }
}

TEST(WindowMask, PaintWithPlanesOneChangesPlaneZeroOnly) {
  MaskOwner o;
  ASSERT_EQ(o.mask.Create(64, 16, 0, 0, 3), 1);
  RecordBuffer r(5, 3);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 5; ++x) r.Set(x, y);
  o.mask.PaintBits(r.header(), 10, 2, 1, 3);
  EXPECT_TRUE(Bit(o.mask, 0, 10, 2));
  EXPECT_TRUE(Bit(o.mask, 0, 14, 4));
  EXPECT_FALSE(Bit(o.mask, 0, 15, 4));
  const uint8_t* p1 = o.mask.Plane(1);
  EXPECT_TRUE(std::all_of(p1, p1 + o.mask.planeSize, [](uint8_t b) { return b == 0; }));
  // Clear pixels of the record leave the plane alone; value 0 clears.
  o.mask.FillRect(0, 0, 63, 15, 1);
  RecordBuffer dot(3, 1);
  dot.Set(1, 0);
  o.mask.PaintBits(dot.header(), 20, 5, 1, 0);
  EXPECT_TRUE(Bit(o.mask, 0, 20, 5));
  EXPECT_FALSE(Bit(o.mask, 0, 21, 5));
  EXPECT_TRUE(Bit(o.mask, 0, 22, 5));
}

TEST(WindowMask, UnusableRecordsStampNothing) {
  MaskOwner o;
  ASSERT_EQ(o.mask.Create(64, 16, 0, 0, 3), 1);
  RecordBuffer r(16, 4);
  std::memset(r.bytes.data() + sizeof(CollisionMaskHeader), 0xFF, r.bytes.size() - sizeof(CollisionMaskHeader));
  struct Damage { int32_t headerSize, width, height, rowBytes; } cases[] = {
      {40, 16, 4, 2}, {44, -1, 4, 2}, {44, 16, -4, 2}, {44, 16, 4, 1}, {44, 33, 4, 4}};
  for (const Damage& d : cases) {
    CollisionMaskHeader* h = r.header();
    h->headerSize = uint32_t(d.headerSize);
    h->width = d.width;
    h->height = d.height;
    h->rowBytes = uint32_t(d.rowBytes);
    EXPECT_EQ(UsableMaskBits(h), nullptr);
    o.mask.PaintBits(h, 0, 0, 3, 3);
    o.mask.PaintBitsTop(h, 0, 0);
  }
  EXPECT_EQ(o.mask.TestRect(-100, -100, 1000, 1000, 0), 0);
  EXPECT_EQ(o.mask.TestRect(-100, -100, 1000, 1000, 1), 0);
  EXPECT_EQ(UsableMaskBits(nullptr), nullptr);
}

TEST(WindowMask, TopStampCopiesSixRowsFromEachColumnsFirstSetPixel) {
  MaskOwner o;
  ASSERT_EQ(o.mask.Create(320, 40, 0, 0, 2), 1);
  o.mask.FillRect(0, 0, 319, 39, 2);  // old bits are cleared under the stamp
  // A block with a notch: column 3 starts lower, column 5 is empty, column 6
  // has a hole in its first six rows, and 10 rows in all.
  RecordBuffer r(8, 10);
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 8; ++x)
      if (x != 5 && !(x == 3 && y < 4) && !(x == 6 && y == 2)) r.Set(x, y);
  o.mask.PaintBitsTop(r.header(), 200, 10);
  for (int32_t x = 0; x < 8; ++x) {
    const int32_t first = x == 3 ? 4 : 0;
    for (int32_t y = 0; y < 10; ++y) {
      bool expected = true;  // untouched rows keep the filled plane
      if (x == 5) expected = true;
      else if (y >= first && y < first + 6) expected = r.Get(x, y);
      EXPECT_EQ(Bit(o.mask, 1, 200 + x, 10 + y), expected) << x << "," << y;
    }
  }
  EXPECT_EQ(o.mask.Plane(0), nullptr);
  // Rows above the clip are skipped, rows below end the column.
  o.mask.Clear(0);
  MaskRect clip{0, 12, 319, 13};
  o.mask.SetClip(&clip);
  o.mask.PaintBitsTop(r.header(), 200, 10);
  for (int32_t y = 0; y < 40; ++y)
    EXPECT_EQ(Bit(o.mask, 1, 200, y), y == 12 || y == 13) << y;
  // A clip ending near the mask's left edge stamps one more column.
  o.mask.Clear(0);
  MaskRect narrow{0, 0, 100, 39};
  o.mask.SetClip(&narrow);
  o.mask.PaintBitsTop(r.header(), 110, 0);
  EXPECT_TRUE(Bit(o.mask, 1, 110, 0));
  EXPECT_TRUE(Bit(o.mask, 1, 116, 0));
  o.mask.SetClip(nullptr);
  narrow.right = 121;
  o.mask.SetClip(&narrow);
  o.mask.Clear(0);
  o.mask.PaintBitsTop(r.header(), 122, 0);
  EXPECT_FALSE(Bit(o.mask, 1, 122, 0));
}

TEST(WindowMask, PointTestHonoursClipAndOriginAndRectTestOnlyTheMask) {
  MaskOwner o;
  ASSERT_EQ(o.mask.Create(640, 480, 0, 0, 3), 1);
  o.mask.FillRect(0, 0, 655, 479, 1);  // plane 0 full, plane 1 empty
  EXPECT_EQ(o.mask.TestPoint(100, 100, 0), 1);
  EXPECT_EQ(o.mask.TestPoint(100, 100, 1), 0);
  EXPECT_EQ(o.mask.TestPoint(100, 100, 7), 1);  // anything but 1 is plane 0
  MaskRect clip{50, 60, 200, 300};
  o.mask.SetClip(&clip);
  struct P { int32_t x, y, expected; } points[] = {{50, 60, 1}, {49, 60, 0}, {50, 59, 0}, {200, 300, 1},
                                                  {201, 300, 0}, {200, 301, 0}};
  for (const P& p : points) EXPECT_EQ(o.mask.TestPoint(p.x, p.y, 0), p.expected) << p.x << "," << p.y;
  // The rectangle test ignores the clip but not the mask's own edges.
  EXPECT_EQ(o.mask.TestRect(0, 0, 10, 10, 0), 1);
  EXPECT_EQ(o.mask.TestRect(656, 0, 10, 10, 0), 0);
  EXPECT_EQ(o.mask.TestRect(-10, -10, 10, 10, 0), 0);
  EXPECT_EQ(o.mask.TestRect(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 0), 0);
  // The origin is added before the clip: (10, 10) reads (60, 70).
  o.mask.SetOrigin(50, 60);
  EXPECT_EQ(o.mask.TestPoint(0, 0, 0), 1);
  EXPECT_EQ(o.mask.TestPoint(-1, 0, 0), 0);
  EXPECT_EQ(o.mask.TestRect(-60, -70, 10, 10, 0), 0);
  EXPECT_EQ(o.mask.TestRect(-60, -70, 11, 11, 0), 1);
}

TEST(WindowMask, ScrollMovesWholeBytesAndReturnsTheStripsToRepaint) {
  MaskOwner o;
  ASSERT_EQ(o.mask.Create(640, 480, 0, 0, 3), 1);
  std::mt19937 rng(11);
  for (uint32_t i = 0; i < 2 * o.mask.planeSize; ++i) o.mask.bits[i] = uint8_t(rng());
  const std::vector<uint8_t> before(o.mask.bits, o.mask.bits + 2 * o.mask.planeSize);
  MaskRect sx{}, sy{};
  ASSERT_EQ(o.mask.Scroll(8, 0, &sx, &sy), 1);
  EXPECT_EQ(o.mask.originX, 0);
  for (int plane = 0; plane < 2; ++plane)
    for (int32_t y = 0; y < 480; y += 37)
      for (int32_t b = 1; b < 82; ++b)
        ASSERT_EQ(o.mask.Plane(plane)[y * 82 + b], before[size_t(plane) * o.mask.planeSize + y * 82 + b - 1])
            << "plane " << plane << " row " << y << " byte " << b;
  EXPECT_EQ(sx.left, 0);
  EXPECT_EQ(sx.right, 31);
  EXPECT_EQ(sx.top, 0);
  EXPECT_EQ(sx.bottom, 479);
  EXPECT_EQ(sy.left, 0);
  EXPECT_EQ(sy.right, 655);
  EXPECT_EQ(sy.top, 0);
  EXPECT_EQ(sy.bottom, 479);
}

TEST(WindowMask, ScrollSplitsTheShiftIntoBytesAndOriginAndMovesRows) {
  struct Row {
    int32_t originX, dx, dy;
    int32_t result, newOrigin, byteShift;  // bytes moved left (negative: right)
    MaskRect stripX, stripY;
  } rows[] = {
      {0, -3, 0, 0, 3, 0, {}, {}},     // within one byte: only the origin moves
      {0, 2, 0, 1, 6, -1, {0, 0, 31, 99}, {0, 0, 127, 99}},
      {5, -16, 0, 1, 5, 2, {104, 0, 127, 99}, {0, 0, 127, 99}},
      {0, 0, 5, 1, 0, 0, {0, 0, 15, 99}, {0, 0, 127, 4}},
      {0, 0, -7, 1, 0, 0, {0, 0, 15, 99}, {0, 92, 127, 99}},
      {0, -24, 3, 1, 0, 3, {96, 0, 127, 99}, {0, 0, 127, 2}},
  };
  for (const Row& r : rows) {
    MaskOwner o;
    ASSERT_EQ(o.mask.Create(112, 100, 0, 0, 1), 1);  // 128 pixels, 16 bytes a row
    for (uint32_t i = 0; i < o.mask.planeSize; ++i) o.mask.bits[i] = uint8_t(i * 7 + i / 16);
    const std::vector<uint8_t> before(o.mask.bits, o.mask.bits + o.mask.planeSize);
    o.mask.originX = r.originX;
    MaskRect sx{-1, -1, -1, -1}, sy{-1, -1, -1, -1};
    ASSERT_EQ(o.mask.Scroll(r.dx, r.dy, &sx, &sy), r.result) << r.dx << "," << r.dy;
    EXPECT_EQ(o.mask.originX, r.newOrigin);
    if (r.result == 0) {
      EXPECT_EQ(sx.left, -1);  // strips untouched
      continue;
    }
    EXPECT_EQ(std::make_tuple(sx.left, sx.top, sx.right, sx.bottom),
              std::make_tuple(r.stripX.left, r.stripX.top, r.stripX.right, r.stripX.bottom))
        << r.dx << "," << r.dy;
    EXPECT_EQ(std::make_tuple(sy.left, sy.top, sy.right, sy.bottom),
              std::make_tuple(r.stripY.left, r.stripY.top, r.stripY.right, r.stripY.bottom))
        << r.dx << "," << r.dy;
    for (int32_t y = 0; y < 100; ++y)
      for (int32_t b = 0; b < 16; ++b) {
        const int32_t fromY = y - r.dy, fromB = b + r.byteShift;
        const bool moved = fromY >= 0 && fromY < 100 && fromB >= 0 && fromB < 16;
        const uint8_t expected = moved ? before[size_t(fromY) * 16 + fromB] : before[size_t(y) * 16 + b];
        ASSERT_EQ(o.mask.bits[size_t(y) * 16 + b], expected) << "scroll " << r.dx << "," << r.dy << " at " << b << "," << y;
      }
  }
}

TEST(WindowMask, ScrollsAsLargeAsTheMaskMoveNothingAndRepaintEverything) {
  struct Row { int32_t dx, dy, newOrigin; } rows[] = {
      {-128, 0, 0}, {128, 0, 0}, {-131, 0, 3}, {0, 100, 0}, {0, -100, 0}, {INT32_MIN, INT32_MIN, 0},
      {INT32_MAX, 0, 1}};
  for (const Row& r : rows) {
    MaskOwner o;
    ASSERT_EQ(o.mask.Create(112, 100, 0, 0, 3), 1);
    for (uint32_t i = 0; i < 2 * o.mask.planeSize; ++i) o.mask.bits[i] = uint8_t(i);
    const std::vector<uint8_t> before(o.mask.bits, o.mask.bits + 2 * o.mask.planeSize + 4);
    MaskRect sx{}, sy{};
    EXPECT_EQ(o.mask.Scroll(r.dx, r.dy, &sx, &sy), 1) << r.dx << "," << r.dy;
    EXPECT_EQ(o.mask.originX, r.newOrigin) << r.dx;
    for (const MaskRect& s : {sx, sy})
      EXPECT_EQ(std::make_tuple(s.left, s.top, s.right, s.bottom), std::make_tuple(0, 0, 127, 99)) << r.dx << "," << r.dy;
    EXPECT_TRUE(std::equal(before.begin(), before.end(), o.mask.bits)) << r.dx << "," << r.dy;
  }
  // Without strips the origin is set and nothing moves.
  MaskOwner o;
  ASSERT_EQ(o.mask.Create(112, 100, 0, 0, 1), 1);
  EXPECT_EQ(o.mask.Scroll(-40, 17, nullptr, nullptr), 0);
  EXPECT_EQ(o.mask.originX, -40);
  EXPECT_EQ(o.mask.originY, 17);
  MaskOwner none;
  MaskRect s{};
  EXPECT_EQ(none.mask.Scroll(8, 0, &s, &s), 0);
}

}  // namespace
