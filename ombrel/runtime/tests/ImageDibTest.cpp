// Images and device-independent bitmaps on apps of every depth: header
// sizes, images made from 24-bit DIBs against the reference colours, DIBs
// given back by images, fills, the app palette put on 8-bit DIBs, and an
// image stretched into a caller's buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "AppFixture.h"
#include "imagebank/ImageDib.h"
#include "palette/PaletteApi.h"
#include "palette/cPalette.h"
#include "surface/DepthCode.h"

namespace {

using Bytes = std::vector<uint8_t>;

class ImageDib : public AppTest, public ::testing::WithParamInterface<int32_t> {
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
  // A bottom-up 24-bit DIB whose pixel (x, y) has colour `colourAt`.
  static Bytes Dib24(int32_t w, int32_t h, uint32_t (*colourAt)(int32_t, int32_t)) {
    const int32_t row = ((w * 24 + 31) / 32) * 4;
    Bytes dib(40 + size_t(row) * h, 0);
    auto* header = reinterpret_cast<BitmapInfoHeader*>(dib.data());
    header->size = 40;
    header->width = w;
    header->height = h;
    header->planes = 1;
    header->bitCount = 24;
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        uint8_t* p = dib.data() + 40 + size_t(h - 1 - y) * row + size_t(x) * 3;
        const uint32_t c = colourAt(x, y);
        p[0] = uint8_t(c >> 16);
        p[1] = uint8_t(c >> 8);
        p[2] = uint8_t(c);
      }
    return dib;
  }
  static uint32_t Pattern(int32_t x, int32_t y) { return uint32_t((x * 40) << 16 | (y * 30) << 8 | (x * y * 7 + 9)) & 0xF8F8F8; }
  AppObject* app_ = nullptr;
};

TEST_P(ImageDib, HeaderSizesFollowTheDepthCodesBits) {
  struct Row { int32_t code, w, h; uint32_t total; } rows[] = {
      {3, 5, 3, 40 + 1024 + 8 * 3}, {4, 5, 3, 40 + 16 * 3}, {6, 5, 3, 40 + 16 * 3}, {8, 5, 3, 40 + 16 * 3},
      {1, 33, 2, 40 + 8 + 8 * 2}, {2, 9, 1, 40 + 64 + 8}};
  for (const Row& r : rows) EXPECT_EQ(ImageMakeDIBHeader(app_, r.code, r.w, r.h, nullptr), r.total) << r.code;
  Bytes out(ImageMakeDIBHeader(app_, 3, 5, 3, nullptr));
  auto* header = reinterpret_cast<BitmapInfoHeader*>(out.data());
  ImageMakeDIBHeader(app_, 3, 5, 3, header);
  EXPECT_EQ(header->size, 40u);
  EXPECT_EQ(header->bitCount, 8);
  EXPECT_EQ(header->height, 3);
  EXPECT_EQ(header->sizeImage, 24u);
  const auto* quads = reinterpret_cast<const RgbQuad*>(header + 1);
  const PaletteEntry e = app_->palette->log.entries[200];
  EXPECT_EQ(quads[200].red, e.red);
  EXPECT_EQ(quads[200].blue, e.blue);
}

TEST_P(ImageDib, ImagesFromDibsAndBackGiveTheSameColours) {
  const int32_t w = 11, h = 6;
  Bytes dib = Dib24(w, h, Pattern);
  ImageInfo info{};
  info.hotX = 3;
  info.hotY = -2;
  const int32_t id = ImageAddDIBEx(app_, &info, reinterpret_cast<BitmapInfoHeader*>(dib.data()), 0, 0);
  ASSERT_GT(id, 0);
  ImageInfo got{};
  ASSERT_EQ(ImageGetInfo(app_, uint32_t(id), &got), 1);
  EXPECT_EQ(got.width, w);
  EXPECT_EQ(got.height, h);
  EXPECT_EQ(got.hotY, -2);
  // Back as a DIB: a 24-bit one for true-colour images, 8 bits for 8-bit ones.
  const int32_t size = ImageGetDIB(app_, uint32_t(id), 0, nullptr);
  const int32_t code = Bits() == 8 ? 3 : 4;
  EXPECT_EQ(uint32_t(size), ImageMakeDIBHeader(app_, code, w, h, nullptr));
  Bytes back(size_t(size), 0xCC);
  auto* header = reinterpret_cast<BitmapInfoHeader*>(back.data());
  EXPECT_NE(ImageGetDIB(app_, uint32_t(id), 0, header), 0);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint32_t colour = 0;
      if (Bits() == 8) {
        const int32_t row = (w + 3) & ~3;
        const uint8_t index = back[40 + 1024 + size_t(h - 1 - y) * row + x];
        colour = EntryColour(app_->palette->log.entries[index]);
        ASSERT_EQ(colour, EntryColour(app_->palette->log.entries[PaletteNearestIndex(app_->palette, Pattern(x, y))]))
            << x << "," << y;
      } else {
        const int32_t row = ((w * 24 + 31) / 32) * 4;
        const uint8_t* p = back.data() + 40 + size_t(h - 1 - y) * row + size_t(x) * 3;
        colour = uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
        // The pattern's colours survive every true-colour format (low bits 0).
        const uint32_t want = Bits() == 16 ? Pattern(x, y) & 0xF8FCF8 : Pattern(x, y);
        ASSERT_EQ(colour, want) << x << "," << y;
      }
    }
  // Code 6 asks for a 24-bit DIB.
  EXPECT_EQ(uint32_t(ImageGetDIB(app_, uint32_t(id), 6, nullptr)), ImageMakeDIBHeader(app_, 4, w, h, nullptr));
  // Sharing: the same DIB and hot spot again gives the same id.
  const int32_t again = ImageAddDIB(app_, &info, reinterpret_cast<BitmapInfoHeader*>(dib.data()));
  const int32_t third = ImageAddDIB(app_, &info, reinterpret_cast<BitmapInfoHeader*>(dib.data()));
  EXPECT_EQ(again, third);
  // A damaged header makes nothing.
  header->bitCount = 7;
  EXPECT_EQ(ImageAddDIB(app_, &info, header), 0);
  EXPECT_EQ(ImageAddDIBEx(app_, &info, nullptr, 0, 0), 0);
}

TEST_P(ImageDib, FillCoversExactlyTheDibsPixels) {
  const int32_t w = 7, h = 3;
  Bytes dib(40 + size_t(w) * 4 * h + 16, 0xAB);
  auto* header = reinterpret_cast<BitmapInfoHeader*>(dib.data());
  *header = BitmapInfoHeader{};
  header->size = 40;
  header->width = w;
  header->height = h;
  header->planes = 1;
  header->bitCount = 32;
  DibFill(header, 0x00112233);
  for (size_t i = 40; i < 40 + size_t(w) * 4 * h; i += 4) {
    ASSERT_EQ(dib[i], 0x11) << i;  // blue first
    ASSERT_EQ(dib[i + 1], 0x22);
    ASSERT_EQ(dib[i + 2], 0x33);
  }
  for (size_t i = 40 + size_t(w) * 4 * h; i < dib.size(); ++i) ASSERT_EQ(dib[i], 0xAB) << i;
  header->compression = kBiBitfields;  // only BI_RGB is filled
  DibFill(header, 0);
  EXPECT_EQ(dib[40], 0x11);
}

TEST_P(ImageDib, RenderStretchesIntoTheCallersBuffer) {
  const int32_t w = 4, h = 2;
  Bytes dib = Dib24(w, h, [](int32_t x, int32_t) { return x < 2 ? 0x0000F8u : 0xF80000u; });
  const int32_t id = ImageAddDIBEx(app_, nullptr, reinterpret_cast<BitmapInfoHeader*>(dib.data()), 0, 0);
  ASSERT_GT(id, 0);
  const int32_t bits = Bits() == 16 ? 15 : Bits();  // 5-5-5 for 5-6-5 apps
  const int32_t bytes = (bits + 7) / 8;
  const int32_t rowBytes = bits == 8 ? 8 : bits == 24 ? 8 * 3 : 8 * bytes;
  Bytes out(size_t(rowBytes) * 4, 0);
  ImageRender(app_, uint32_t(id), 8, 4, out.data());
  // Doubled: columns 0..3 red, 4..7 blue.
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 8; ++x) {
      const uint8_t* p = out.data() + size_t(y) * rowBytes + size_t(x) * bytes;
      uint32_t colour = 0;
      if (bits == 8) colour = EntryColour(app_->palette->log.entries[p[0]]);
      else if (bits == 15) colour = uint32_t(((p[1] << 8 | p[0]) >> 10) & 0x1F) << 3 | uint32_t((p[1] << 8 | p[0]) & 0x1F) << 19;
      else colour = uint32_t(p[2]) | uint32_t(p[0]) << 16;
      EXPECT_EQ(colour & 0xF800F8, x < 4 ? 0x0000F8u : 0xF80000u) << x << "," << y;
    }
}

TEST_P(ImageDib, AppPaletteOnAnEightBitDib) {
  const int32_t w = 4, h = 1;
  Bytes dib(40 + 1024 + 4, 0);
  auto* header = reinterpret_cast<BitmapInfoHeader*>(dib.data());
  header->size = 40;
  header->width = w;
  header->height = h;
  header->planes = 1;
  header->bitCount = 8;
  auto* quads = reinterpret_cast<RgbQuad*>(header + 1);
  for (int i = 0; i < 256; ++i) quads[i] = RgbQuad{uint8_t(i), uint8_t(255 - i), 0, 0};
  for (int i = 0; i < 4; ++i) dib[40 + 1024 + size_t(i)] = uint8_t(i * 60);
  uint8_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = uint8_t(i + 1);
  DibUseAppPalette(header, app_, table);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(dib[40 + 1024 + size_t(i)], uint8_t(i * 60 + 1));
  EXPECT_EQ(quads[17].red, app_->palette->log.entries[17].red);
  EXPECT_EQ(quads[17].blue, app_->palette->log.entries[17].blue);
}

INSTANTIATE_TEST_SUITE_P(AppDepths, ImageDib, ::testing::Values(3, 6, 7, 4, 8),
                         [](const ::testing::TestParamInfo<int32_t>& info) {
                           return std::to_string(DepthCodeToBits(info.param)) + "Bits";
                         });

}  // namespace
