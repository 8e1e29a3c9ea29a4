// The image bank on apps of 8, 15, 16, 24 and 32 bits: every source kind
// gives data equal to a reference conversion written here from the formats'
// layouts; compressed images draw exactly like plain ones; sharing,
// references and masks; hostile sizes and run-length headers give 0.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "AppFixture.h"
#include "LiveBlockHeap.h"
#include "bank/BankStore.h"
#include "imagebank/ImageBank.h"
#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "pixel/IndexRows.h"
#include "pixel/RunLengthPack.h"
#include "surface/DepthCode.h"
#include "surface/SurfaceAlloc.h"
#include "surface/SurfaceHandle.h"
#include "surface/SurfaceTypes.h"
#include "surface/cBankImageSurface.h"
#include "surface/RotatedBounds.h"

namespace {

using Bytes = std::vector<uint8_t>;

class ImageBank : public AppTest, public ::testing::WithParamInterface<int32_t> {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    app_ = AppCreate(nullptr, nullptr);
    ASSERT_NE(app_, nullptr);
    ScriptedDisplay display(DisplayFormat{32, 32, -1});
    ASSERT_EQ(AppSetDepthOn(app_, GetParam(), display) & 0xF, GetParam());
  }
  void TearDown() override {
    AppDestroy(app_);
    AppTest::TearDown();
  }
  int32_t Bits() const { return DepthCodeToBits(GetParam()); }
  int32_t PixelBytes() const { return (Bits() + 7) / 8; }
  int32_t RowBytes(int32_t w) const {
    switch (Bits()) {
      case 8: return (w + 1) & ~1;
      case 24: return 3 * ((w + 1) & ~1);
      default: return PixelBytes() * w;
    }
  }
  // A colour as the app's pixels hold it (reference encoders of the formats).
  void Put(uint8_t* p, uint32_t colour) const {
    const uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    uint32_t v = 0;
    switch (Bits()) {
      case 8: p[0] = uint8_t(PaletteNearestIndex(app_->palette, colour)); return;
      case 15: v = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3); break;
      case 16: v = (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3); break;
      default: p[0] = uint8_t(b); p[1] = uint8_t(g); p[2] = uint8_t(r); return;
    }
    // Only black stays 0, the black key's value.
    if (v == 0 && (colour & 0xFFFFFF) != 0) v = 1;
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
  }
  // Bank-layout bytes of a w x h image of the app's format.
  Bytes Expected(int32_t w, int32_t h, const std::function<uint32_t(int32_t, int32_t)>& colourAt) const {
    Bytes out(size_t(RowBytes(w)) * h, 0);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) Put(out.data() + size_t(y) * RowBytes(w) + size_t(x) * PixelBytes(), colourAt(x, y));
    return out;
  }
  Bytes Data(int32_t id, uint32_t options = 0) {
    const uint32_t n = ImageGetData(app_, uint32_t(id), options, nullptr);
    Bytes out(n);
    if (n != 0) {
      EXPECT_EQ(ImageGetData(app_, uint32_t(id), options, out.data()), n);
    }
    return out;
  }
  // Compares pixel by pixel (a 32-bit pixel's fourth byte is not a colour).
  void ExpectPixels(const Bytes& got, const Bytes& want, int32_t w, int32_t h, const char* what) {
    ASSERT_GE(got.size(), want.size()) << what;
    const int32_t used = Bits() == 32 ? 3 : PixelBytes();
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        for (int32_t b = 0; b < used; ++b) {
          const size_t at = size_t(y) * RowBytes(w) + size_t(x) * PixelBytes() + size_t(b);
          ASSERT_EQ(got[at], want[at]) << what << " at " << x << "," << y << " byte " << b;
        }
  }
  static uint32_t RandomColour(std::mt19937& rng) { return rng() & 0xFFFFFF; }

  AppObject* app_ = nullptr;
};

constexpr int32_t kW = 13, kH = 7;

TEST_P(ImageBank, SizesOfPixelsAndAlphaFollowTheRowLayout) {
  const int32_t id = ImageCreate(app_, 5, 3, 0, 0, 0, 0, 0, 0, nullptr, nullptr);
  ASSERT_GT(id, 0);
  EXPECT_EQ(FindImage(app_, uint32_t(id))->dataSize, uint32_t(RowBytes(5) * 3));
  const int32_t withAlpha = ImageCreate(app_, 5, 3, 0, 0, 0, 0, 0, kImageSourceAlpha, nullptr, nullptr);
  EXPECT_EQ(FindImage(app_, uint32_t(withAlpha))->dataSize, uint32_t(RowBytes(5) * 3 + 8 * 3));
  EXPECT_EQ(ImageDataSize(5, 3, 3), 18u);
  EXPECT_EQ(ImageDataSize(5, 3, 3 | 0x1000), 18u + 24u);
  // Zero sizes, a null app and sizes of 2^31 bytes or more give 0.
  EXPECT_EQ(ImageCreate(app_, 0, 3, 0, 0, 0, 0, 0, 0, nullptr, nullptr), 0);
  EXPECT_EQ(ImageCreate(app_, 0x10000, 3, 0, 0, 0, 0, 0, 0, nullptr, nullptr), 0);  // 16 bits of width: 0
  EXPECT_EQ(ImageCreate(nullptr, 5, 3, 0, 0, 0, 0, 0, 0, nullptr, nullptr), 0);
  EXPECT_EQ(ImageCreate(app_, 65535, 65535, 0, 0, 0, 0, 0, 8 | kImageSourceAlpha, nullptr, nullptr), 0);
}

TEST_P(ImageBank, TransparentColourSnapsToTheAppsDepth) {
  const int32_t id = ImageCreate(app_, 4, 4, 0, 0, 0, 0, 0x123456, 0, nullptr, nullptr);
  ImageInfo info{};
  ASSERT_EQ(ImageGetInfo(app_, uint32_t(id), &info), 1);
  uint32_t expected = 0x123456;
  if (Bits() == 15) expected = 0x103050;
  if (Bits() == 16) expected = 0x103450;
  if (Bits() == 8) expected = EntryColour(app_->palette->log.entries[PaletteNearestIndex(app_->palette, 0x123456)]);
  EXPECT_EQ(info.transparent, expected);
}

TEST_P(ImageBank, TrueColourSourceConvertsToTheAppsPixels) {
  std::mt19937 rng{uint32_t(GetParam())};
  std::vector<uint32_t> colours(kW * kH);
  for (auto& c : colours) c = RandomColour(rng);
  Bytes source(size_t(3 * ((kW + 1) & ~1)) * kH, 0);
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x) {
      uint8_t* p = source.data() + size_t(y) * 3 * ((kW + 1) & ~1) + size_t(x) * 3;
      const uint32_t c = colours[size_t(y) * kW + x];
      p[0] = uint8_t(c >> 16);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c);
    }
  const int32_t id = ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, Depth24, source.data(), nullptr);
  ASSERT_GT(id, 0);
  ExpectPixels(Data(id), Expected(kW, kH, [&](int32_t x, int32_t y) { return colours[size_t(y) * kW + x]; }), kW, kH,
               "24-bit source");
}

TEST_P(ImageBank, EightBitSourcesUseAPaletteObjectOrAnIndexTable) {
  std::mt19937 rng(7);
  Bytes indices(size_t((kW + 1) & ~1) * kH, 0);
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x) indices[size_t(y) * ((kW + 1) & ~1) + x] = uint8_t(rng());
  cPalette* palette = app_->palette;
  auto colourOf = [&](int32_t x, int32_t y) {
    return EntryColour(palette->log.entries[indices[size_t(y) * ((kW + 1) & ~1) + x]]);
  };
  // With the app palette (no extra).
  const int32_t plain = ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, Depth8, indices.data(), nullptr);
  ASSERT_GT(plain, 0);
  ExpectPixels(Data(plain), Bits() == 8 ? indices : Expected(kW, kH, colourOf), kW, kH, "8-bit source");
  if (Bits() == 8) {
    // An index table maps every index.
    uint8_t table[256];
    for (int i = 0; i < 256; ++i) table[i] = uint8_t(255 - i);
    const int32_t mapped = ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, Depth8, indices.data(), table);
    Bytes want = indices;
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW; ++x) want[size_t(y) * ((kW + 1) & ~1) + x] = table[want[size_t(y) * ((kW + 1) & ~1) + x]];
    ExpectPixels(Data(mapped), want, kW, kH, "8-bit source through an index table");
  } else {
    // A palette object of its own gives the source's colours.
    LogPalette log{};
    log.version = 0x300;
    log.count = 256;
    for (int i = 0; i < 256; ++i) log.entries[i] = EntryFromColour(uint32_t(i * 0x010307) & 0xFFFFFF);
    cPalette* own = PaletteGetShared(&log);
    ASSERT_NE(own, nullptr);
    const int32_t id = ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, Depth8, indices.data(), own);
    palette = own;
    ExpectPixels(Data(id), Expected(kW, kH, colourOf), kW, kH, "8-bit source with a palette object");
    ReleasePalette(own);
  }
}

TEST_P(ImageBank, FourBitSourcesPackedAndPlanarWithMask) {
  std::mt19937 rng(11);
  const int32_t packedRow = ((kW + 3) & ~3) / 2, planarRow = ((kW + 15) & ~15) / 8;
  for (bool planar : {false, true}) {
    for (bool mask : {false, true}) {
      const size_t pixelBytes = planar ? size_t(planarRow) * 4 * kH : size_t(packedRow) * kH;
      const size_t maskBytes = mask ? (planar ? size_t(planarRow) * kH : size_t(packedRow) * kH) : 0;
      Bytes source(pixelBytes + maskBytes);
      for (auto& b : source) b = uint8_t(rng());
      // The reference: the core's 4-to-8 converters, then the app's format.
      Bytes eight(size_t((kW + 1) & ~1) * kH, 0);
      const uint8_t black = uint8_t(app_->blackIndex);
      if (planar)
        Planar4To8(eight.data(), source.data(), kW, kH, mask, black);
      else
        Packed4To8(eight.data(), source.data(), kW, kH, mask, black);
      const uint32_t flags = uint32_t(planar ? Depth4Planar : Depth4Packed) | (mask ? kImageSourceMask : 0u);
      const int32_t id = ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, flags, source.data(), nullptr);
      ASSERT_GT(id, 0);
      auto colourOf = [&](int32_t x, int32_t y) {
        return EntryColour(app_->palette->log.entries[eight[size_t(y) * ((kW + 1) & ~1) + x]]);
      };
      ExpectPixels(Data(id), Bits() == 8 ? eight : Expected(kW, kH, colourOf), kW, kH,
                   planar ? (mask ? "planar with mask" : "planar") : (mask ? "packed with mask" : "packed"));
    }
  }
}

TEST_P(ImageBank, ByteRunPackedSourcesOfEveryUnitAndAlphaPlanes) {
  std::mt19937 rng(3);
  const size_t pixels = size_t(RowBytes(kW)) * kH, alpha = size_t((kW + 3) & ~3) * kH;
  Bytes source(pixels + alpha);
  for (size_t i = 0; i < source.size(); ++i) source[i] = uint8_t(i % 9 < 5 ? 0x40 : rng());  // runs and noise
  if (Bits() == 32)
    for (size_t i = 3; i < pixels; i += 4) source[i] = 0;
  // Plain, with alpha: pixels and the alpha plane come back as given.
  const int32_t withAlpha = ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, kImageSourceAlpha, source.data(), nullptr);
  EXPECT_EQ(Data(withAlpha), source);
  EXPECT_EQ(Data(withAlpha, 1), source);  // a unit is ignored with alpha
  const Bytes plainPixels(source.begin(), source.begin() + long(pixels));
  for (uint32_t unit : {1u, 2u, 4u}) {
    if (pixels % (unit == 4 ? 3 : unit) != 0) continue;  // whole units only
    Bytes packed(RlePackedSize(plainPixels.data(), uint32_t(pixels), unit));
    RlePack(packed.data(), plainPixels.data(), uint32_t(pixels), unit);
    const int32_t id = ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, unit << 8, packed.data(), nullptr);
    ASSERT_GT(id, 0) << unit;
    EXPECT_EQ(Data(id), plainPixels) << "unit " << unit;
    // Packed again by the bank: the same bytes.
    EXPECT_EQ(Data(id, unit), packed) << "unit " << unit;
  }
}

TEST_P(ImageBank, RunLengthSourcesAndCompressedImagesDrawLikePlainOnes) {
  std::mt19937 rng(5);
  const uint32_t key = Bits() == 8 ? EntryColour(app_->palette->log.entries[0]) : 0;
  Bytes pixels(size_t(RowBytes(kW)) * kH, 0);
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x)
      if ((x + y) % 3 != 0) Put(pixels.data() + size_t(y) * RowBytes(kW) + size_t(x) * PixelBytes(), RandomColour(rng) | 0x808080);
  const int32_t plain = ImageCreate(app_, kW, kH, 0, 0, 0, 0, key, 0, pixels.data(), nullptr);
  const int32_t packed = ImageCreate(app_, kW, kH, 0, 0, 0, 0, key, kImageStoreCompressed, pixels.data(), nullptr);
  ASSERT_GT(plain, 0);
  ASSERT_GT(packed, 0);
  EXPECT_TRUE(FindImage(app_, uint32_t(packed))->flags & kImageCompressed);
  ExpectPixels(Data(packed), Data(plain), kW, kH, "expanded compressed image");
  // The run-length form as a source gives the same image again.
  const ImageEntry* form = FindImage(app_, uint32_t(packed));
  Bytes block(ImageEntryData(form), ImageEntryData(form) + form->dataSize);
  const int32_t again = ImageCreate(app_, kW, kH, 0, 0, 0, 0, key, kImageSourceRunLength | kImageStoreCompressed,
                                    block.data(), nullptr);
  ASSERT_GT(again, 0);
  EXPECT_EQ(Bytes(ImageEntryData(FindImage(app_, uint32_t(again))), ImageEntryData(FindImage(app_, uint32_t(again))) + block.size()), block);
  const int32_t expanded = ImageCreate(app_, kW, kH, 0, 0, 0, 0, key, kImageSourceRunLength, block.data(), nullptr);
  ExpectPixels(Data(expanded), Data(plain), kW, kH, "run-length source stored plain");
  // Drawn keyed onto a filled surface: the same pixels.
  Bytes shots[2];
  int k = 0;
  for (int32_t id : {plain, packed}) {
    cSurfaceHandle image, target;
    ASSERT_EQ(ImageLock(app_, uint32_t(id), &image, 0), 1);
    cSurfaceImpl* dest = app_->formatPrototype->MakeInstance(kW + 4, kH + 4);
    ASSERT_NE(dest, nullptr);
    dest->FillRect(0, 0, kW + 4, kH + 4, 0x336699);
    cSurfaceHandle::GetImpl(&image)->Blit(dest, 2, 2, 0, 0, kW, kH, 1, 0, 0, 0);
    // The pixels only: the bytes that pad a row are never written.
    const size_t used = size_t(kW + 4) * size_t(dest->view.bytesPerPixel);
    shots[k].resize(used * (kH + 4));
    for (int32_t y = 0; y < kH + 4; ++y)
      std::memcpy(shots[k].data() + size_t(y) * used, dest->view.firstRow + intptr_t(y) * dest->view.pitch, used);
    ++k;
    DeleteSurface(dest);
    ImageUnlock(&image);
  }
  EXPECT_EQ(shots[0], shots[1]);
}

TEST_P(ImageBank, DamagedRunLengthSourcesGiveZero) {
  Bytes pixels(size_t(RowBytes(kW)) * kH, 0x55);
  const int32_t packed = ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, kImageStoreCompressed, pixels.data(), nullptr);
  const ImageEntry* form = FindImage(app_, uint32_t(packed));
  ASSERT_TRUE(form->flags & kImageCompressed);
  const Bytes good(ImageEntryData(form), ImageEntryData(form) + form->dataSize);
  auto word = [](Bytes& b, int i, uint32_t v) { std::memcpy(b.data() + 4 * i, &v, 4); };
  Bytes bad = good;
  word(bad, 0, 3);  // shorter than its own header
  EXPECT_EQ(ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, kImageSourceRunLength, bad.data(), nullptr), 0);
  bad = good;
  word(bad, 1, 0x7000);  // a row's codes outside the block
  EXPECT_EQ(ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, kImageSourceRunLength, bad.data(), nullptr), 0);
  // Packed: the copied head (third word + 4) beyond the buffer (first word + 32).
  bad = good;
  word(bad, 2, uint32_t(good.size()) + 40);
  bad.resize(bad.size() + 64, 0);
  EXPECT_EQ(ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, kImageSourceRunLength | (1u << 8), bad.data(), nullptr), 0);
  int32_t live = 0;  // nothing left behind: only the compressed image
  for (int32_t id = 1; id <= BankGetCount(app_, BankRowImages); ++id)
    live += BankGetEntry(app_, BankRowImages, uint32_t(id)) != nullptr ? 1 : 0;
  EXPECT_EQ(live, 1);
}

TEST_P(ImageBank, SharingGivesOneIdAndMasksGoWithTheLastReference) {
  Bytes pixels(size_t(RowBytes(kW)) * kH, 0);
  for (size_t i = 0; i < pixels.size(); i += 3) pixels[i] = 0x7F;
  const int32_t a = ImageCreate(app_, kW, kH, 2, 3, 0, 0, 0, kImageShare, pixels.data(), nullptr);
  const int32_t b = ImageCreate(app_, kW, kH, 2, 3, 0, 0, 0, kImageShare, pixels.data(), nullptr);
  EXPECT_EQ(a, b);
  ImageInfo info{};
  ASSERT_EQ(ImageGetInfo(app_, uint32_t(a), &info), 1);
  EXPECT_EQ(info.refs, 2);
  EXPECT_EQ(info.hotX, 2);
  // Another hot spot is another image.
  const int32_t c = ImageCreate(app_, kW, kH, 1, 3, 0, 0, 0, kImageShare, pixels.data(), nullptr);
  EXPECT_NE(c, a);
  CollisionMaskHeader* m0 = ImageGetMask(app_, uint32_t(a), 0);
  CollisionMaskHeader* m1 = ImageGetMask(app_, uint32_t(a), 1);
  ASSERT_NE(m0, nullptr);
  ASSERT_NE(m1, nullptr);
  EXPECT_EQ(ImageGetMask(app_, uint32_t(a), 0), m0);  // built once
  EXPECT_EQ(m0->headerSize, 44u);
  EXPECT_EQ(m0->width, kW);
  EXPECT_EQ(m0->rowBytes, 2u);
  EXPECT_EQ(m0->hotX, 2);
  EXPECT_EQ(ImageRelease(app_, uint32_t(a)), 1);
  EXPECT_NE(BankGetEntry(app_, BankRowMasksPlane0, uint32_t(a)), nullptr);
  EXPECT_EQ(ImageRelease(app_, uint32_t(a)), 0);
  EXPECT_EQ(BankGetEntry(app_, BankRowMasksPlane0, uint32_t(a)), nullptr);
  EXPECT_EQ(BankGetEntry(app_, BankRowMasksPlane1, uint32_t(a)), nullptr);
  EXPECT_EQ(ImageGetMask(app_, uint32_t(a), 0), nullptr);
  EXPECT_EQ(ImageAddRef(app_, uint32_t(a)), 0);
}

TEST_P(ImageBank, MaskBitsMarkTheOpaquePixels) {
  const uint32_t key = Bits() == 8 ? EntryColour(app_->palette->log.entries[0]) : 0;
  Bytes pixels(size_t(RowBytes(kW)) * kH, 0);
  auto solid = [](int32_t x, int32_t y) { return (x * 7 + y * 3) % 5 < 2; };
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x)
      if (solid(x, y)) Put(pixels.data() + size_t(y) * RowBytes(kW) + size_t(x) * PixelBytes(), 0xF0F0F0);
  const int32_t id = ImageCreate(app_, kW, kH, 0, 0, 0, 0, key, 0, pixels.data(), nullptr);
  const CollisionMaskHeader* m = ImageGetMask(app_, uint32_t(id), 0);
  ASSERT_NE(m, nullptr);
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(m) + 44;
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x)
      EXPECT_EQ((bits[size_t(y) * m->rowBytes + (x >> 3)] >> (x & 7)) & 1, solid(x, y) ? 1 : 0) << x << "," << y;
  EXPECT_EQ(ImageFreeMasks(app_, uint32_t(id)), 0);
  EXPECT_EQ(BankGetEntry(app_, BankRowMasksPlane0, uint32_t(id)), nullptr);
}

TEST_P(ImageBank, TransformedInfoScalesThenTurns) {
  const int32_t id = ImageCreate(app_, 40, 20, 10, 6, 30, 4, 0, 0, nullptr, nullptr);
  ImageInfo info{};
  ASSERT_EQ(ImageGetTransformedInfo(app_, uint32_t(id), 0, 2.0f, 0.5f, &info), 1);
  EXPECT_EQ(info.width, 80);
  EXPECT_EQ(info.height, 10);
  EXPECT_EQ(info.hotX, 20);
  EXPECT_EQ(info.hotY, 3);
  EXPECT_EQ(info.actionX, 60);
  EXPECT_EQ(info.actionY, 2);
  EXPECT_EQ(info.checksum, 0u);
  EXPECT_EQ(info.dataSize, 0u);
  ASSERT_EQ(ImageGetTransformedInfo(app_, uint32_t(id), 90, 2.0f, 0.5f, &info), 1);
  RotatedRecord box{0, 0, 80, 10};
  RotatedPoint hot{20, 3}, action{60, 2};
  RotatedBounds(&box, &hot, &action, 90.0f);
  EXPECT_EQ(info.width, box.width);
  EXPECT_EQ(info.height, box.height);
  EXPECT_EQ(info.hotX, hot.x);
  EXPECT_EQ(info.actionY, action.y);
  EXPECT_EQ(ImageGetTransformedInfo(app_, 999, 0, 1.0f, 1.0f, &info), 0);
}

TEST_P(ImageBank, EveryFailedAllocationLeavesNothingBehind) {
  // A true-colour source converted, stored compressed and shared; a 4-bit
  // packed source; and a DIB-free copy: each made under every allocation
  // budget until it succeeds.
  std::mt19937 rng(9);
  Bytes source(size_t(3 * ((kW + 1) & ~1)) * kH);
  for (size_t i = 0; i < source.size(); ++i) source[i] = i % 7 < 3 ? 0 : uint8_t(rng());
  Bytes packed(size_t(((kW + 3) & ~3) / 2) * kH, 0x5A);
  ASSERT_GT(ImageCreate(app_, 4, 4, 0, 0, 0, 0, 0, 0, nullptr, nullptr), 0);  // the row exists
  struct Case { uint32_t flags; const void* pixels; } cases[] = {
      {Depth24 | kImageStoreCompressed | kImageShare, source.data()}, {Depth4Packed, packed.data()}};
  for (const Case& c : cases) {
    bool made = false;
    for (int budget = 0; budget < 60 && !made; ++budget) {
      LiveBlockHeap heap;
      heap.SetBudget(budget);
      const int32_t id = ImageCreate(app_, kW, kH, 0, 0, 0, 0, 0, c.flags, c.pixels, nullptr);
      if (id == 0) {
        EXPECT_EQ(heap.Live(), 0u) << "budget " << budget << " flags " << c.flags;
      } else {
        made = true;
        EXPECT_EQ(heap.Live(), 1u) << "one entry";
        ImageRelease(app_, uint32_t(id));
        EXPECT_EQ(heap.Live(), 0u);
      }
    }
    EXPECT_TRUE(made) << c.flags;
  }
}

INSTANTIATE_TEST_SUITE_P(AppDepths, ImageBank, ::testing::Values(3, 6, 7, 4, 8),
                         [](const ::testing::TestParamInfo<int32_t>& info) {
                           return std::to_string(DepthCodeToBits(info.param)) + "Bits";
                         });

}  // namespace
