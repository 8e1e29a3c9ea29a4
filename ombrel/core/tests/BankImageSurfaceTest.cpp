// The bank image surface: its row layout and sizes, data copies, palette
// references, and compressed images that answer every slot as their expanded
// copy does, or with 0.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "pixel/RunLengthRows.h"
#include "surface/SurfaceAlloc.h"
#include "surface/cBankImageSurface.h"

namespace {

using Bytes = std::vector<uint8_t>;

class BankImageSurface : public ::testing::Test {
 protected:
  void SetUp() override {
    defaultPalette_ = PaletteStartup();
    palette_ = PaletteGetDefault();
  }
  void TearDown() override {
    for (cSurfaceImpl* s : made_) DeleteSurface(s);
    ReleasePalette(palette_);
    ReleasePalette(defaultPalette_);
    PaletteShutdown();
  }
  cBankImageSurface* Make(int32_t bits) {
    auto* s = NewSurfaceObject<cBankImageSurface>();
    s->SetFormat(bits, palette_);
    made_.push_back(s);
    return s;
  }
  // A bank entry: header then data.
  static Bytes Entry(int32_t w, int32_t h, uint32_t transparent, uint32_t flags, const Bytes& data) {
    Bytes e(sizeof(ImageEntry) + data.size() + 16);
    ImageEntry header{};
    header.headerSize = sizeof(ImageEntry);
    header.dataSize = uint32_t(data.size());
    header.width = w;
    header.height = h;
    header.flags = flags;
    header.transparent = transparent;
    std::memcpy(e.data(), &header, sizeof header);
    std::memcpy(e.data() + sizeof header, data.data(), data.size());
    return e;
  }
  cPalette* defaultPalette_ = nullptr;
  cPalette* palette_ = nullptr;
  std::vector<cSurfaceImpl*> made_;
};

TEST_F(BankImageSurface, RowLayoutAndSizes) {
  struct Case {
    int32_t bits, w, h;
    int32_t pitch;
    uint64_t size;
    int32_t instancePitch;
  };
  const Case cases[] = {
      {8, 3, 2, 4, 8, 4},     {24, 3, 2, 12, 24, 12}, {15, 5, 1, 10, 10, 12},
      {32, 5, 1, 20, 20, 20}, {8, 4, 1, 4, 4, 4},     {16, 3, 3, 6, 18, 8},
      {24, 1, 2, 6, 12, 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BankImageDataSize(c.w, c.h, c.bits), c.size) << c.bits << " " << c.w;
    Bytes pixels(size_t(c.size), 0x11);
    cBankImageSurface* s = Make(c.bits);
    s->AttachPixels(c.w, c.h, 0, pixels.data(), nullptr, 0);
    EXPECT_EQ(s->view.pitch, c.pitch) << c.bits << " " << c.w;
    EXPECT_EQ(s->GetDataSize(), uint32_t(c.size));
    EXPECT_EQ(s->IsCompressed(), 0);
    cSurfaceImpl* instance = s->MakeInstance(c.w, c.h);
    ASSERT_NE(instance, nullptr);
    made_.push_back(instance);
    EXPECT_EQ(instance->view.pitch, c.instancePitch) << c.bits << " " << c.w;
  }
  EXPECT_EQ(BankImageDataSize(0x7FFFFFFF, 0x7FFFFFFF, 32), uint64_t(0x7FFFFFFF) * 4 * 0x7FFFFFFF);
  EXPECT_EQ(Make(32)->MakeInstance(0x7FFFFFFF, 2), nullptr);  // 2^31 bytes or more: refused
}

TEST_F(BankImageSurface, CopyDataWritesPixelsThenAlpha) {
  // 3 x 2 at 24 bits: rows of 12 bytes (9 used); alpha rows of 4.
  Bytes data(24 + 8);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i + 1);
  const Bytes entry = Entry(3, 2, 0, kImageHasAlpha, data);
  cBankImageSurface* s = Make(24);
  s->AttachImage(reinterpret_cast<const ImageEntry*>(entry.data()));
  ASSERT_NE(s->view.alphaFirstRow, nullptr);
  EXPECT_EQ(s->view.alphaFirstRow, s->view.firstRow + 24);
  EXPECT_EQ(s->GetDataSize(), 32u);
  Bytes out(40, 0xEE);
  EXPECT_EQ(s->CopyData(out.data()), 32u);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 32), data);
  EXPECT_EQ(out[32], 0xEE);
  EXPECT_EQ(s->CopyData(nullptr), 0u);
  // An instance has 4-byte rows: its data comes out in the bank layout.
  cSurfaceImpl* instance = s->MakeInstance(3, 2);
  ASSERT_NE(instance, nullptr);
  made_.push_back(instance);
  ASSERT_EQ(s->Blit(instance, 0, 0, 0, 0, 3, 2, 0, 0, 0, 0), 1);
  auto* bankInstance = static_cast<cBankImageSurface*>(instance);
  Bytes again(24, 0xEE);
  EXPECT_EQ(bankInstance->CopyData(again.data()), 24u);
  EXPECT_EQ(Bytes(again.begin(), again.begin() + 9), Bytes(data.begin(), data.begin() + 9));
  EXPECT_EQ(Bytes(again.begin() + 12, again.begin() + 21), Bytes(data.begin() + 12, data.begin() + 21));
  // At width 1 an instance row holds 4 bytes and a bank row 6: nothing is
  // read past the instance's rows (ASan) and the bank padding comes out zero.
  cBankImageSurface* narrow = Make(24);
  Bytes column = {1, 2, 3, 0, 0, 0, 4, 5, 6, 0, 0, 0};
  narrow->AttachPixels(1, 2, 0xFFFFFF, column.data(), nullptr, 0);
  auto* narrowInstance = static_cast<cBankImageSurface*>(narrow->MakeInstance(1, 2));
  ASSERT_NE(narrowInstance, nullptr);
  made_.push_back(narrowInstance);
  ASSERT_EQ(narrow->Blit(narrowInstance, 0, 0, 0, 0, 1, 2, 0, 0, 0, 0), 1);
  Bytes narrowOut(12, 0xEE);
  EXPECT_EQ(narrowInstance->CopyData(narrowOut.data()), 12u);
  EXPECT_EQ(narrowOut, column);
  // Packing works on the same bytes.
  Bytes packed(s->PackedSize(4) + 4, 0xEE);
  EXPECT_EQ(s->Pack(packed.data(), 4), s->PackedSize(4));
}

// The runs never read an alpha plane, so a compressed image keeps none: it
// would make its keyed blits differ from its expanded copy's.
TEST_F(BankImageSurface, CompressedImagesTakeNoAlphaPlane) {
  Bytes pixels(4 * 3 * 2, 0x11), alpha(4 * 2, 0x80);
  cBankImageSurface* plain = Make(32);
  plain->AttachPixels(3, 2, 0, pixels.data(), alpha.data(), 0);
  EXPECT_EQ(plain->view.alphaFirstRow, alpha.data());
  uint32_t size[3] = {};
  plain->RleSize(size);
  Bytes block(size[0] + 16);
  std::memcpy(block.data(), size, 12);
  plain->RleEncode(block.data());
  cBankImageSurface* packed = Make(32);
  packed->AttachPixels(3, 2, 0, block.data(), alpha.data(), 1);
  EXPECT_EQ(packed->IsCompressed(), 1);
  EXPECT_EQ(packed->view.alphaFirstRow, nullptr);
}

TEST_F(BankImageSurface, PaletteReferencesBalance) {
  LogPalette log{};
  log.version = kLogPaletteVersion;
  log.count = 256;
  for (int i = 0; i < 256; ++i) log.entries[i] = EntryFromColour(uint32_t(i) * 0x010203u);
  cPalette* other = PaletteGetShared(&log);
  ASSERT_NE(other, nullptr);
  const int32_t before = PaletteRefCount(other), defaultBefore = PaletteRefCount(palette_);
  auto* s = NewSurfaceObject<cBankImageSurface>();
  s->SetFormat(8, other);
  EXPECT_EQ(PaletteRefCount(other), before + 1);
  s->SetFormat(8, palette_);
  EXPECT_EQ(PaletteRefCount(other), before);
  EXPECT_EQ(PaletteRefCount(palette_), defaultBefore + 1);
  s->SetFormat(16, other);  // no palette above 8 bits
  EXPECT_EQ(PaletteRefCount(palette_), defaultBefore);
  EXPECT_EQ(PaletteRefCount(other), before);
  s->SetFormat(8, other);
  s->Delete(1);
  EXPECT_EQ(PaletteRefCount(other), before);
  ReleasePalette(other);
}

// A compressed image and its uncompressed twin answer alike, or the
// compressed one answers 0 and keeps its block.
TEST_F(BankImageSurface, CompressedImagesAnswerAsTheirExpandedCopy) {
  std::mt19937 rng(171);
  for (int32_t bits : {8, 15, 16, 24, 32}) {
    const int32_t w = 37, h = 5;
    const uint32_t transparent = bits == 8 ? EntryColour(palette_->log.entries[9]) : 0x00102030;
    Bytes pixels(size_t(BankImageDataSize(w, h, bits)));
    cBankImageSurface* plain = Make(bits);
    plain->AttachPixels(w, h, transparent, pixels.data(), nullptr, 0);
    const uint32_t key = plain->view.transparentValue;
    const int32_t bpp = plain->view.bytesPerPixel;
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        uint8_t* p = plain->view.firstRow + y * plain->view.pitch + x * bpp;
        const uint32_t v = (x / 4 + y) % 3 == 0 ? key : rng();
        for (int32_t b = 0; b < bpp; ++b) p[b] = uint8_t(v >> (8 * b));
      }
    uint32_t size[3];
    plain->RleSize(size);
    ASSERT_GT(size[0], 0u);
    Bytes block(size[0] + 16);
    std::memcpy(block.data(), size, 12);
    plain->RleEncode(block.data());
    ASSERT_EQ(RleValidate(block.data(), uint32_t(block.size()), w, h, bpp), 1);
    const Bytes entry = Entry(w, h, transparent, kImageCompressed, block);
    cBankImageSurface* packed = Make(bits);
    packed->AttachImage(reinterpret_cast<const ImageEntry*>(entry.data()));
    ASSERT_EQ(packed->IsCompressed(), 1) << bits;
    const Bytes entryBefore = entry;

    // Blits in every mode, with clipping.
    for (int32_t mode : {0, 1})
      for (uint32_t effect : {0u, 1u, 4u, 9u}) {
        cSurfaceImpl* a = plain->MakeInstance(w, h);
        cSurfaceImpl* b = plain->MakeInstance(w, h);
        ASSERT_NE(b, nullptr);
        made_.push_back(a);
        made_.push_back(b);
        a->FillRect(0, 0, w, h, 0x00445566);
        b->FillRect(0, 0, w, h, 0x00445566);
        EXPECT_EQ(plain->Blit(a, -3, 1, 2, 0, 30, 5, mode, effect, 40, 0),
                  packed->Blit(b, -3, 1, 2, 0, 30, 5, mode, effect, 40, 0));
        for (int32_t y = 0; y < h; ++y)
          ASSERT_EQ(std::memcmp(a->view.firstRow + y * a->view.pitch, b->view.firstRow + y * b->view.pitch,
                                size_t(w * bpp)),
                    0)
              << bits << " mode " << mode << " effect " << effect << " row " << y;
      }
    // Reads through the expanded copy.
    for (int32_t x : {0, 5, 36}) {
      uint32_t pa = 1, pb = 2;
      EXPECT_EQ(plain->GetPixel(x, 2, &pa), packed->GetPixel(x, 2, &pb));
      EXPECT_EQ(pa, pb) << bits << " at " << x;
      EXPECT_EQ(plain->GetPixelNative(x, 2, &pa), packed->GetPixelNative(x, 2, &pb));
      EXPECT_EQ(pa, pb) << bits << " at " << x;
    }
    EXPECT_EQ(plain->IsEmpty(), packed->IsEmpty());
    SurfaceRect boxA{}, boxB{};
    EXPECT_EQ(plain->GetContentBox(&boxA), packed->GetContentBox(&boxB));
    EXPECT_EQ(std::memcmp(&boxA, &boxB, sizeof boxA), 0);
    EXPECT_EQ(plain->PixelCollide(plain, 0, 0, 0, 0, w, h), packed->PixelCollide(plain, 0, 0, 0, 0, w, h));
    EXPECT_EQ(plain->PixelCollide(packed, 1, 0, 0, 0, w - 1, h), packed->PixelCollide(packed, 1, 0, 0, 0, w - 1, h));
    // Nothing that needs rows or writes pixels reaches the block.
    EXPECT_EQ(packed->GetDataSize(), 0u);
    Bytes out(4096);
    EXPECT_EQ(packed->CopyData(out.data()), 0u);
    EXPECT_EQ(packed->PackedSize(1), 0u);
    EXPECT_EQ(packed->Pack(out.data(), 1), 0u);
    uint32_t rle[3] = {1, 1, 1};
    packed->RleSize(rle);
    EXPECT_EQ(rle[0], 0u);
    EXPECT_EQ(packed->FillRect(0, 0, w, h, 0x00FFFFFF), 0);
    EXPECT_EQ(packed->FillRectIndex(0, 0, w, h, 3), 0);
    packed->SetPixel(1, 1, 0x00FFFFFF);
    packed->PutIndex(1, 1, 3);
    EXPECT_EQ(packed->ReplaceColour(0x00FFFFFF, transparent), 0);
    EXPECT_EQ(packed->MirrorX(0, 0, w, h), 0);
    EXPECT_EQ(packed->MirrorY(0, 0, w, h), 0);
    EXPECT_EQ(plain->Blit(packed, 0, 0, 0, 0, w, h, 0, 0, 0, 0), 0);  // no drawing into runs
    EXPECT_EQ(packed->Reallocate(4, 4), 0);
    EXPECT_EQ(entry, entryBefore) << bits << ": the block changed";
  }
}

}  // namespace
