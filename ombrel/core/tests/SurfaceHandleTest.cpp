#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "LibError.h"
#include "Memory.h"
#include "palette/cPalette.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceLibrary.h"
#include "support/PaletteReference.h"
#include "support/PixelTestImage.h"
#include "surface/cNullSurface.h"

namespace {

class SurfaceHandleTest : public ::testing::Test {
 protected:
  void SetUp() override { library_.Init(); }
  void TearDown() override { library_.Exit(); }

  cSurfaceHandle* Prototype(int32_t depth) {
    cSurfaceHandle* prototype = nullptr;
    library_.GetPrototype(&prototype, depth, SurfaceTypeMemory, 0);
    return prototype;
  }
  // Every pixel of the implementation, as 0x00BBGGRR, row by row.
  static std::vector<uint32_t> Pixels(cSurfaceHandle& h) {
    cSurfaceImpl* s = cSurfaceHandle::GetImpl(&h);
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < s->view.height; ++y)
      for (int32_t x = 0; x < s->view.width; ++x) {
        uint32_t c = 0xDEADBEEF;
        s->GetPixel(x, y, &c);
        out.push_back(c);
      }
    return out;
  }
  // A w x h surface whose pixel (x, y) is 0x00yyxx + seed.
  void Gradient(cSurfaceHandle& h, int32_t depth, int32_t w, int32_t h2, uint32_t seed) {
    ASSERT_NE(h.Create(w, h2, Prototype(depth)), nullptr);
    cSurfaceImpl* s = cSurfaceHandle::GetImpl(&h);
    for (int32_t y = 0; y < h2; ++y)
      for (int32_t x = 0; x < w; ++x) s->SetPixel(x, y, seed + uint32_t(x * 16 | y * 16 << 8));
  }

  SurfaceLibrary library_;
};

TEST_F(SurfaceHandleTest, NewHandleIsEmptyAndDrawingOnItDoesNothing) {
  cSurfaceHandle h;
  EXPECT_FALSE(h.IsValid());
  EXPECT_EQ(cSurfaceHandle::GetImpl(&h), GetNullSurface());
  EXPECT_EQ(h.GetWidth(), 0);
  EXPECT_EQ(h.GetType(), SurfaceTypeMemory);
  EXPECT_EQ(h.GetLastError(), LibOk);
  EXPECT_EQ(h.FillAll(0xFF), 0);
  uint32_t c = 7;
  EXPECT_EQ(h.GetPixel(0, 0, &c), 0);
  EXPECT_EQ(c, 7u);
  EXPECT_EQ(h.CreateAlpha(), nullptr);  // the shared null object never gets a channel
  EXPECT_EQ(h.NewAlphaHandle(), nullptr);
  // The null surface's clip is zeros, so only the origin shows.
  h.SetOrigin(3, 4);
  int32_t x = -1, y = -1, w = -1, hh = -1;
  h.GetClipRect(&x, &y, &w, &hh);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 4);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(hh, 0);
}

TEST_F(SurfaceHandleTest, CreateClampsTheSizeAndReportsFailures) {
  cSurfaceHandle h;
  ASSERT_NE(h.Create(0, -3, Prototype(32)), nullptr);
  EXPECT_EQ(h.GetWidth(), 1);
  EXPECT_EQ(h.GetHeight(), 1);
  EXPECT_EQ(h.GetDepth(), 32);
  EXPECT_EQ(h.GetLastError(), LibOk);

  cSurfaceHandle empty;
  EXPECT_EQ(h.Create(10, 10, &empty), nullptr);  // the old surface is gone too
  EXPECT_FALSE(h.IsValid());
  EXPECT_EQ(h.GetLastError(), ErrOutOfMemory);
  EXPECT_EQ(h.Create(10, 10, nullptr), nullptr);
  EXPECT_EQ(h.GetLastError(), ErrOutOfMemory);
  EXPECT_EQ(h.Create(100000, 100000, Prototype(32)), nullptr);  // 40 GB
  EXPECT_EQ(h.GetLastError(), ErrOutOfMemory);

  ASSERT_NE(h.Create(4, 3, Prototype(16)), nullptr);  // success clears the code
  EXPECT_EQ(h.GetLastError(), LibOk);
  int32_t w = 0, hh = 0, d = 0;
  EXPECT_TRUE(h.GetInfo(&w, &hh, &d));
  EXPECT_EQ(w * 100 + hh * 10 + d, 4 * 100 + 3 * 10 + 16);
  EXPECT_EQ(h.GetPitch(), 8);
  EXPECT_FALSE(h.IsPaletted());
  EXPECT_EQ(h.LockBuffer(), cSurfaceHandle::GetImpl(&h)->view.firstRow);
  h.UnlockBuffer(nullptr);
}

TEST_F(SurfaceHandleTest, OriginTranslatesEveryPositionedMember) {
  cSurfaceHandle h;
  ASSERT_NE(h.Create(20, 10, Prototype(32)), nullptr);
  cSurfaceImpl* s = cSurfaceHandle::GetImpl(&h);
  h.FillAll(0);
  h.SetOrigin(10, 5);

  h.SetPixel(10, 5, 0x112233);  // handle (10, 5) is implementation (0, 0)
  EXPECT_EQ(s->GetPixelFast(0, 0), 0x112233u);
  uint32_t c = 0;
  EXPECT_TRUE(h.GetPixel(10, 5, &c));
  EXPECT_EQ(c, 0x112233u);
  EXPECT_FALSE(h.GetPixel(9, 5, &c));  // implementation (-1, 0)
  h.SetPixelRGB(11, 5, 0x44, 0x55, 0x66);
  EXPECT_EQ(s->GetPixelFast(1, 0), 0x665544u);
  uint8_t r = 0, g = 0, b = 0;
  EXPECT_TRUE(h.GetPixelRGB(11, 5, &r, &g, &b));
  EXPECT_EQ(r * 0x10000 + g * 0x100 + b, 0x445566);
  r = 1;
  EXPECT_FALSE(h.GetPixelRGB(0, 0, &r, &g, &b));  // outside: the outs are untouched
  EXPECT_EQ(r, 1);

  int32_t x = 0, y = 0, w = 0, hh = 0;
  h.ResetClipRect();
  h.GetClipRect(&x, &y, &w, &hh);
  EXPECT_EQ(std::vector<int32_t>({x, y, w, hh}), std::vector<int32_t>({10, 5, 20, 10}));
  h.SetClipRect(12, 7, 3, 3);
  s->GetClipRect(&x, &y, &w, &hh);
  EXPECT_EQ(std::vector<int32_t>({x, y, w, hh}), std::vector<int32_t>({2, 2, 3, 3}));
  h.ResetClipRect();

  EXPECT_TRUE(h.FillRect(13, 6, 2, 1, 0xABCDEF));  // implementation (3, 1)..(4, 1)
  EXPECT_EQ(s->GetPixelFast(3, 1), 0xABCDEFu);
  EXPECT_EQ(s->GetPixelFast(4, 1), 0xABCDEFu);
  EXPECT_EQ(s->GetPixelFast(5, 1), 0u);

  h.OffsetOrigin(-10, -5);  // back to (0, 0)
  int32_t ox = -1, oy = -1;
  h.GetOrigin(&ox, &oy);
  EXPECT_EQ(ox, 0);
  EXPECT_EQ(oy, 0);
  h.SetOriginPoint(SurfacePoint{-3, 2});
  SurfacePoint p{};
  h.GetOriginPoint(&p);
  EXPECT_EQ(p.x, -3);
  EXPECT_EQ(p.y, 2);
  // FillAll covers the implementation whatever the origin.
  EXPECT_TRUE(h.FillAll(0x010203));
  for (uint32_t v : Pixels(h)) ASSERT_EQ(v, 0x010203u);
  // Extreme positions wrap far outside the clip instead of overflowing.
  h.SetOrigin(INT32_MAX, INT32_MIN);
  h.SetPixel(INT32_MIN, INT32_MAX, 0xFFFFFF);
  EXPECT_FALSE(h.GetPixel(INT32_MIN, INT32_MAX, &c));
}

TEST_F(SurfaceHandleTest, TwoSurfaceMembersSubtractEachHandlesOrigin) {
  cSurfaceHandle src, dst;
  Gradient(src, 32, 4, 3, 0);
  ASSERT_NE(dst.Create(8, 8, Prototype(32)), nullptr);
  dst.FillAll(0x00FFFFFF);
  src.SetOrigin(2, 1);
  dst.SetOrigin(5, 5);
  // Source handle (2, 1) is its (0, 0); destination handle (6, 7) its (1, 2).
  ASSERT_TRUE(src.Blit(&dst, 6, 7, 2, 1, 4, 3, BlitOpaque, 0, 0, 0));
  cSurfaceImpl* d = cSurfaceHandle::GetImpl(&dst);
  cSurfaceImpl* s = cSurfaceHandle::GetImpl(&src);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x)
      ASSERT_EQ(d->GetPixelFast(1 + x, 2 + y), s->GetPixelFast(x, y)) << x << "," << y;
  EXPECT_EQ(d->GetPixelFast(0, 2), 0x00FFFFFFu);

  // BlitAt takes the whole surface from handle point (0, 0): with a source
  // origin of (1, 0) that is implementation (-1, 0), so the copy is clipped
  // and shifted one column right.
  dst.SetOrigin(0, 0);
  dst.FillAll(0x00FFFFFF);
  src.SetOrigin(1, 0);
  ASSERT_TRUE(src.BlitAt(&dst, 0, 0, BlitOpaque, 0, 0, 0));
  EXPECT_EQ(d->GetPixelFast(0, 0), 0x00FFFFFFu);
  for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(d->GetPixelFast(1 + x, 1), s->GetPixelFast(x, 1));
  EXPECT_EQ(d->GetPixelFast(4, 1), 0x00FFFFFFu);

  EXPECT_EQ(src.Blit(nullptr, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0), 0);
  EXPECT_EQ(src.Collides(nullptr, 0, 0, 0, 0, 1, 1), 0);
  EXPECT_EQ(src.BlitCallbackAll(nullptr, nullptr, 0, 0), 0);
}

TEST_F(SurfaceHandleTest, CopiesAndAssignmentsCopyThePictureNeverThePointer) {
  cSurfaceHandle a;
  Gradient(a, 24, 5, 4, 0x30);
  ASSERT_NE(a.CreateAlpha(), nullptr);
  a.GetAlphaRows()[0] = 200;

  cSurfaceHandle b(a);
  EXPECT_NE(cSurfaceHandle::GetImpl(&b), cSurfaceHandle::GetImpl(&a));
  EXPECT_EQ(Pixels(b), Pixels(a));
  ASSERT_TRUE(b.HasAlpha());
  EXPECT_EQ(b.GetAlphaRows()[0], 200);  // the copy carries the channel

  b.SetPixel(0, 0, 0x0000FF);  // independent pictures
  EXPECT_NE(Pixels(b), Pixels(a));

  cSurfaceHandle c;
  c = a;
  EXPECT_EQ(Pixels(c), Pixels(a));
  const auto before = Pixels(c);
  cSurfaceImpl* old = cSurfaceHandle::GetImpl(&c);
  const cSurfaceHandle& self = c;
  c = self;  // self-assignment: a new copy first, then the old one goes
  EXPECT_EQ(Pixels(c), before);
  EXPECT_NE(cSurfaceHandle::GetImpl(&c), old);
  EXPECT_EQ(c.GetDepth(), 24);

  cSurfaceHandle empty;
  c = empty;
  EXPECT_FALSE(c.IsValid());
  c.CopyFrom(nullptr, -1, -1);
  EXPECT_FALSE(c.IsValid());

  // A size that cannot be had fails and leaves the handle empty.
  EXPECT_FALSE(c.CopyFrom(&a, 100000, 100000));
  EXPECT_FALSE(c.IsValid());
  EXPECT_EQ(c.GetLastError(), ErrOutOfMemory);
  EXPECT_TRUE(c.CopyFrom(&a, -1, -1));
  EXPECT_EQ(c.GetLastError(), ErrOutOfMemory);  // success does not clear it
}

// A source whose stretch draws nearest pixels (or, switched off, draws
// nothing and reports it), over a 32-bit test image.
class StretchingSource final : public cSurfaceImpl {
 public:
  StretchingSource(int32_t width, int32_t height, cSurfaceHandle* prototype)
      : image_(width, height, 32, false, false, 0), prototype_(prototype) {
    view = image_.view;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) image_.SetRaw(x, y, uint32_t(0x010000 * y + 0x11 * x + 1));
  }
  void Delete(uint32_t) override {}  // lives on the test's stack
  cSurfaceImpl* MakeInstance(int32_t width, int32_t height) override {
    return cSurfaceHandle::GetImpl(prototype_)->MakeInstance(width, height);
  }
  int32_t Stretch(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx,
                  int32_t sy, int32_t sw, int32_t sh, int32_t, uint32_t, uint32_t,
                  uint32_t) override {
    if (!draws) return 0;
    for (int32_t y = 0; y < dh; ++y)
      for (int32_t x = 0; x < dw; ++x) dest->SetPixel(dx + x, dy + y, GetPixelFast(sx + x * sw / dw, sy + y * sh / dh));
    return 1;
  }
  int32_t Blit(cSurfaceImpl* dest, int32_t dx, int32_t dy, int32_t sx, int32_t sy, int32_t width,
               int32_t height, int32_t mode, uint32_t effect, uint32_t parameter,
               uint32_t blitFlags) override {
    if (!draws) return 0;
    return cSurfaceImpl::Blit(dest, dx, dy, sx, sy, width, height, mode, effect, parameter, blitFlags);
  }
  bool draws = true;

 private:
  PixelTestImage image_;
  cSurfaceHandle* prototype_;
};

// A copy of another size is the stretched picture, or a failure: never a
// picture that was not drawn.
TEST_F(SurfaceHandleTest, SizedCopyHoldsTheStretchedPictureOrFails) {
  StretchingSource source(4, 2, Prototype(32));
  cSurfaceHandle from;
  ASSERT_EQ(cSurfaceHandle::AttachImpl(&from, &source), &source);
  cSurfaceHandle c;
  ASSERT_TRUE(c.CopyFrom(&from, 2, 4));
  ASSERT_EQ(c.GetWidth() * 10 + c.GetHeight(), 24);
  // Columns 0 and 2 of the source, each row twice.
  const std::vector<uint32_t> want = {0x000001, 0x000023, 0x000001, 0x000023,
                                      0x010001, 0x010023, 0x010001, 0x010023};
  std::vector<uint32_t> native;
  for (uint32_t colour : Pixels(c)) native.push_back((colour & 0xFF) << 16 | (colour & 0xFF00) | colour >> 16);
  EXPECT_EQ(native, want);

  source.draws = false;
  EXPECT_FALSE(c.CopyFrom(&from, 3, 3));
  EXPECT_FALSE(c.IsValid());
  EXPECT_EQ(c.GetLastError(), ErrOutOfMemory);
  // The same for a copy at the source's own size and a half turn: a blit
  // that drew nothing fails the copy.
  source.draws = true;
  ASSERT_TRUE(c.CopyFrom(&from, 2, 4));
  source.draws = false;
  EXPECT_FALSE(c.CopyFrom(&from, -1, -1));
  EXPECT_FALSE(c.IsValid());
  cSurfaceHandle turned;
  EXPECT_EQ(from.CreateRotated(&turned, 180, 0, 0, 0), 0);
  EXPECT_FALSE(turned.IsValid());
  source.draws = true;
  ASSERT_EQ(from.CreateRotated(&turned, 180, 0, 0, 0), 1);
  EXPECT_EQ(turned.GetWidth() * 10 + turned.GetHeight(), 42);

  // A memory surface's sized copy holds what its own stretch draws.
  cSurfaceHandle a;
  Gradient(a, 24, 4, 3, 0x102030);
  cSurfaceImpl* probe = cSurfaceHandle::GetImpl(&a)->MakeInstance(3, 2);
  ASSERT_NE(probe, nullptr);
  ASSERT_EQ(cSurfaceHandle::GetImpl(&a)->Stretch(probe, 0, 0, 3, 2, 0, 0, 4, 3, 0, 0, 0, 0), 1);
  cSurfaceHandle expected;
  ASSERT_EQ(cSurfaceHandle::AttachImpl(&expected, probe), probe);
  cSurfaceHandle sized;
  ASSERT_TRUE(sized.CopyFrom(&a, 3, 2));
  EXPECT_EQ(sized.GetWidth() * 10 + sized.GetHeight(), 32);
  EXPECT_EQ(Pixels(sized), Pixels(expected));
  cSurfaceHandle::AttachImpl(&from, nullptr);
}

TEST_F(SurfaceHandleTest, AttachImplTakesOwnershipAndKeepsItsOwnAlive) {
  cSurfaceHandle h;
  cSurfaceImpl* s = cSurfaceHandle::GetImpl(Prototype(32))->MakeInstance(2, 2);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(cSurfaceHandle::AttachImpl(&h, s), s);
  EXPECT_EQ(cSurfaceHandle::AttachImpl(&h, s), s);  // again: not deleted under itself
  EXPECT_EQ(h.GetWidth(), 2);
  EXPECT_EQ(cSurfaceHandle::AttachImpl(&h, nullptr), nullptr);  // destroys, stays empty
  EXPECT_FALSE(h.IsValid());
  EXPECT_EQ(cSurfaceHandle::AttachImpl(nullptr, nullptr), nullptr);
  EXPECT_EQ(cSurfaceHandle::GetImpl(nullptr), nullptr);
}

TEST_F(SurfaceHandleTest, PaletteMembersReportNotSupportedAboveEightBits) {
  cSurfaceHandle deep, paletted;
  ASSERT_NE(deep.Create(2, 2, Prototype(16)), nullptr);
  ASSERT_NE(paletted.Create(2, 2, Prototype(8)), nullptr);
  ASSERT_NE(paletted.GetPalette(), nullptr);
  EXPECT_TRUE(paletted.IsPaletted());

  EXPECT_FALSE(deep.SetPalette(paletted.GetPalette(), 0));
  EXPECT_EQ(deep.GetLastError(), ErrNotSupported);
  deep.Create(2, 2, Prototype(16));
  EXPECT_FALSE(deep.SetPaletteFrom(&paletted, 0));
  EXPECT_EQ(deep.GetLastError(), ErrNotSupported);
  deep.Create(2, 2, Prototype(16));
  EXPECT_FALSE(deep.SetPaletteFromHandle(nullptr, 0));
  EXPECT_EQ(deep.GetLastError(), ErrNotSupported);
  deep.Create(2, 2, Prototype(16));
  EXPECT_FALSE(deep.SetLogPalette(nullptr, 0));
  EXPECT_EQ(deep.GetLastError(), ErrNotSupported);

  // The same palette again succeeds and writes no error.
  EXPECT_TRUE(paletted.SetPalette(paletted.GetPalette(), 0));
  EXPECT_EQ(paletted.GetLastError(), LibOk);
  EXPECT_FALSE(paletted.SetPalette(nullptr, 1));  // the slot refuses: reported as well
  EXPECT_EQ(paletted.GetLastError(), ErrNotSupported);

  // Indices read through another palette land on the nearest entries of this one.
  LogPalette log{};
  log.version = kLogPaletteVersion;
  log.count = 2;
  log.entries[0] = EntryFromColour(0);
  log.entries[1] = EntryFromColour(0x0000FF);  // red
  cSurfaceHandle other;
  ASSERT_NE(other.Create(1, 1, Prototype(8)), nullptr);
  ASSERT_TRUE(other.SetLogPalette(&log, 0));
  paletted.FillAllIndex(1);
  paletted.RemapToPaletteOf(&other);
  const uint8_t* first = cSurfaceHandle::GetImpl(&paletted)->view.firstRow;
  const int32_t red = palref::Nearest(paletted.GetPalette()->log.entries, 256, 0x0000FF);
  EXPECT_EQ(int32_t(first[0]), red);
  EXPECT_NE(red, 1);  // the fill index was not red here
  paletted.FillAllIndex(1);
  paletted.RemapToPaletteOf(&deep);  // a deep surface has no indices to read
  EXPECT_EQ(first[1], 1);
}

TEST_F(SurfaceHandleTest, AlphaChannelDetachAndByteView) {
  cSurfaceHandle h;
  ASSERT_NE(h.Create(5, 3, Prototype(32)), nullptr);
  EXPECT_FALSE(h.HasAlpha());
  EXPECT_EQ(h.NewAlphaHandle(), nullptr);
  uint8_t* rows = h.CreateAlpha();
  ASSERT_NE(rows, nullptr);
  EXPECT_EQ(h.GetAlphaPitch(), 8);
  rows[8 * 2 + 4] = 77;

  cSurfaceHandle* view = h.NewAlphaHandle();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->GetDepth(), 8);
  EXPECT_EQ(view->GetWidth() * 10 + view->GetHeight(), 53);
  uint32_t grey = 0;
  ASSERT_TRUE(view->GetPixel(4, 2, &grey));
  EXPECT_EQ(grey & 0xFFFFFF, 0x4D4D4Du);  // 77 as grey
  view->FillAllIndex(9);  // draws into the channel itself
  EXPECT_EQ(rows[0], 9);
  DeleteSurfaceHandle(view);  // the bytes stay with the surface
  EXPECT_EQ(rows[8 * 2 + 4], 9);

  int32_t pitch = 0;
  uint8_t* taken = h.DetachAlpha(&pitch);
  EXPECT_EQ(taken, rows);
  EXPECT_EQ(pitch, 8);
  EXPECT_FALSE(h.HasAlpha());
  h.Destroy();
  void* block = taken;  // now the caller's block
  MemFree(&block);

  DeleteSurfaceHandle(nullptr);
  cSurfaceHandle* heap = CreateSurfaceHandle();
  ASSERT_NE(heap, nullptr);
  EXPECT_FALSE(heap->IsValid());
  ASSERT_NE(heap->Create(2, 2, Prototype(15)), nullptr);
  DeleteSurfaceHandle(heap);
}

// An implementation of a chosen kind that records the origin it is given.
class KindSurface final : public cSurfaceImpl {
 public:
  explicit KindSurface(int32_t kind) : kind_(kind) {}
  cSurfaceImpl* MakeInstance(int32_t, int32_t) override { return nullptr; }
  int32_t GetKind() override { return kind_; }
  int32_t HasDC() override { return kind_ == SurfaceKindDC; }
  void SetDCOrigin(int32_t x, int32_t y) override { dcOrigin = x * 1000 + y; }
  int32_t dcOrigin = -1;

 private:
  int32_t kind_;
};

TEST_F(SurfaceHandleTest, TypeAndDriverFollowTheKindAndDCsGetTheOrigin) {
  struct Case {
    int32_t kind, type, driver;
  };
  const Case cases[] = {{SurfaceKindMemory, 0, 0},     {SurfaceKindDC, 0, 0},
                        {SurfaceKindDIB, 1, 0},        {SurfaceKindDIBWithDC, 2, 0},
                        {SurfaceKindDirectDraw, 1, 2}, {SurfaceKindDirectDrawSysMem, 3, 2}};
  for (const Case& c : cases) {
    cSurfaceHandle h;
    auto* s = NewSurfaceObject<KindSurface>(c.kind);
    ASSERT_NE(s, nullptr);
    cSurfaceHandle::AttachImpl(&h, s);
    EXPECT_EQ(h.GetType(), c.type) << "kind " << c.kind;
    EXPECT_EQ(h.GetDriver(), c.driver) << "kind " << c.kind;
    h.SetOrigin(7, 9);
    EXPECT_EQ(s->dcOrigin, c.kind == SurfaceKindDC ? 7009 : -1) << "kind " << c.kind;
  }
  // Screen state is copied only between handles of one type and driver.
  cSurfaceHandle mem, dib;
  ASSERT_NE(mem.Create(1, 1, Prototype(32)), nullptr);
  cSurfaceHandle::AttachImpl(&dib, NewSurfaceObject<KindSurface>(int32_t(SurfaceKindDIB)));
  EXPECT_EQ(mem.CopyScreenState(&dib), SurfaceTypeMemory);
  EXPECT_EQ(dib.CopyScreenState(&mem), SurfaceTypeScreen);
}

}  // namespace
