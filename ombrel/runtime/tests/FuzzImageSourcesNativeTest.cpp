// Seeded mutations of the image sources a host hands over without a length:
// run-length forms (plain and byte-run packed) and packed DIBs. The buffer
// always holds what the damaged header claims (the interface's contract),
// and every outcome is either 0 or an image that reads and draws within its
// own bytes (ASan watches). Deterministic: a failure names its iteration.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "AppFixture.h"
#include "surface/DibLayout.h"
#include "imagebank/ImageDib.h"
#include "pixel/RunLengthPack.h"
#include "surface/SurfaceHandle.h"
#include "surface/cSurfaceImpl.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Mutate(Bytes& bytes, size_t protectFrom, std::mt19937& rng) {
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  for (size_t m = 1 + pick(4); m > 0; --m) {
    const size_t at = pick(std::min(bytes.size(), protectFrom));
    switch (pick(3)) {
      case 0: bytes[at] ^= uint8_t(1u << pick(8)); break;
      case 1: bytes[at] = uint8_t(pick(256)); break;
      default: bytes[at] = at % 4 == 3 ? 0x7F : 0xFF;
    }
  }
}

class FuzzImageSources : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    app_ = AppCreate(nullptr, nullptr);
    ASSERT_NE(app_, nullptr);
  }
  void TearDown() override {
    AppDestroy(app_);
    AppTest::TearDown();
  }
  // Reads and draws a made image (the checks are ASan's and the sizes').
  void Use(int32_t id) {
    if (id == 0) return;
    const uint32_t n = ImageGetData(app_, uint32_t(id), 0, nullptr);
    Bytes data(n + 16);
    EXPECT_EQ(ImageGetData(app_, uint32_t(id), 0, data.data()), n);
    cSurfaceHandle image;
    ASSERT_EQ(ImageLock(app_, uint32_t(id), &image, 0), 1);
    cSurfaceImpl* dest = app_->formatPrototype->MakeInstance(40, 30);
    ASSERT_NE(dest, nullptr);
    cSurfaceHandle::GetImpl(&image)->Blit(dest, 3, 2, 0, 0, image.GetWidth(), image.GetHeight(), 1, 0, 0, 0);
    DeleteSurface(dest);
    ImageUnlock(&image);
    ImageMasks(id);
    ImageRelease(app_, uint32_t(id));
  }
  void ImageMasks(int32_t id) {
    EXPECT_NE(ImageGetMask(app_, uint32_t(id), 0), nullptr);
    EXPECT_NE(ImageGetMask(app_, uint32_t(id), 1), nullptr);
  }
  AppObject* app_ = nullptr;
};

TEST_F(FuzzImageSources, DamagedRunLengthSourcesAreRefusedOrMakeSoundImages) {
  for (int32_t code : {3, 4, 8}) {
    ScriptedDisplay display(DisplayFormat{32, 32, -1});
    ASSERT_EQ(AppSetDepthOn(app_, code, display) & 0xF, code);
    const int32_t w = 23, h = 9;
    const int32_t bytesPerPixel = code == 3 ? 1 : code == 4 ? 3 : 4;
    const int32_t row = code == 3 ? (w + 1) & ~1 : code == 4 ? 3 * ((w + 1) & ~1) : 4 * w;
    Bytes pixels(size_t(row) * h, 0);
    std::mt19937 fill{uint32_t(code)};
    for (size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = (i / size_t(bytesPerPixel)) % 5 < 2 ? 0 : uint8_t(fill() | 1);
    const int32_t packedId = ImageCreate(app_, w, h, 0, 0, 0, 0, 0, kImageStoreCompressed, pixels.data(), nullptr);
    const ImageEntry* form = FindImage(app_, uint32_t(packedId));
    ASSERT_TRUE(form != nullptr && (form->flags & kImageCompressed));
    const Bytes seed(ImageEntryData(form), ImageEntryData(form) + form->dataSize);
    int made = 0, refused = 0;
    for (uint32_t iteration = 0; iteration < 1500; ++iteration) {
      SCOPED_TRACE("depth code " + std::to_string(code) + " iteration " + std::to_string(iteration));
      std::mt19937 rng(iteration);
      Bytes input = seed;
      Mutate(input, input.size(), rng);
      const bool packed = iteration % 3 == 0;
      if (packed) {
        // The stored pixels byte-run packed after the header and codes.
        uint32_t third = 0;
        std::memcpy(&third, seed.data() + 8, 4);
        Bytes head(seed.begin(), seed.begin() + long(third + 4));
        Bytes body(RlePackedSize(seed.data() + third + 4, uint32_t(seed.size() - third - 4), 1));
        RlePack(body.data(), seed.data() + third + 4, uint32_t(seed.size() - third - 4), 1);
        input = head;
        input.insert(input.end(), body.begin(), body.end());
        Mutate(input, input.size(), rng);
      }
      uint32_t claimed = 0;
      std::memcpy(&claimed, input.data(), 4);
      if (claimed > (1u << 20)) {
        // The host's buffer would have to be that large: too large to model.
        continue;
      }
      input.resize(std::max<size_t>(input.size(), size_t(claimed) + 64), 0xEE);
      const uint32_t flags = kImageSourceRunLength | (iteration % 2 ? kImageStoreCompressed : 0u) | (packed ? 1u << 8 : 0u);
      const int32_t id = ImageCreate(app_, w, h, 0, 0, 0, 0, 0, flags, input.data(), nullptr);
      (id != 0 ? made : refused)++;
      Use(id);
      if (HasFatalFailure()) return;
    }
    EXPECT_GT(made, 0);
    EXPECT_GT(refused, 0);
  }
}

TEST_F(FuzzImageSources, DamagedDibsAreRefusedOrMakeSoundImages) {
  ScriptedDisplay display(DisplayFormat{32, 32, -1});
  ASSERT_EQ(AppSetDepthOn(app_, 4, display) & 0xF, 4);
  const int32_t w = 9, h = 5;
  Bytes seed(40 + 1024 + size_t((w + 3) & ~3) * h, 0);
  auto* header = reinterpret_cast<BitmapInfoHeader*>(seed.data());
  header->size = 40;
  header->width = w;
  header->height = h;
  header->planes = 1;
  header->bitCount = 8;
  for (size_t i = 40; i < seed.size(); ++i) seed[i] = uint8_t(i * 13);
  int made = 0, refused = 0;
  for (uint32_t iteration = 0; iteration < 1500; ++iteration) {
    SCOPED_TRACE("iteration " + std::to_string(iteration));
    std::mt19937 rng(iteration);
    Bytes input = seed;
    Mutate(input, 40, rng);  // the header
    DibLayout layout{};
    const BitmapInfoHeader copy = *reinterpret_cast<BitmapInfoHeader*>(input.data());
    if (CheckDibHeader(copy, &layout) == LibOk) {
      if (layout.blockBytes > (1 << 20)) continue;
      input.resize(std::max<size_t>(input.size(), size_t(layout.blockBytes) + 16), 0x44);
    }
    const int32_t id = ImageAddDIBEx(app_, nullptr, reinterpret_cast<BitmapInfoHeader*>(input.data()), 0, 0);
    (id != 0 ? made : refused)++;
    Use(id);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(made, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
