// The BMP files this library writes, read by an independent decoder
// (ImageMagick, installed by tools/install-deps.sh): the size and format it
// reports and the pixels it decodes match the surface; and a file it writes
// loads with the same pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "surface/SurfaceHandle.h"
#include "support/SurfaceHandleFixture.h"
#include "surface/SurfaceLibrary.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

std::string CommandOutput(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  pclose(pipe);
  return out;
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

class BmpImageMagick : public SurfaceHandleFixture {
 protected:
  void SetUp() override {
    SurfaceHandleFixture::SetUp();
    std::string templ = (fs::temp_directory_path() / "ombrel-magick-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir_ = templ;
    // The test set-up installs them (tools/install-deps.sh): missing tools fail.
    ASSERT_EQ(std::system("command -v identify-im6.q16 convert-im6.q16 >/dev/null"), 0)
        << "ImageMagick is not installed (tools/install-deps.sh)";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
    SurfaceHandleFixture::TearDown();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // Decoded red, green, blue bytes, row by row from the top.
  Bytes Decode(const std::string& file) {
    const std::string out = Path("decoded.rgb");
    // `stream` hands BMP rows out in file order (bottom row first); `convert`
    // decodes the picture top row first.
    EXPECT_EQ(std::system(("convert-im6.q16 '" + file + "' -depth 8 'rgb:" + out + "'").c_str()), 0);
    return ReadFile(out);
  }

  fs::path dir_;
  std::mt19937 rng_{0x494d};
};

TEST_F(BmpImageMagick, EveryDepthDecodesToTheSurfacesPixels) {
  struct Case {
    int32_t depth;
    int redBits, greenBits, blueBits;  // bits compared per channel
  };
  const Case cases[] = {{8, 8, 8, 8}, {15, 5, 5, 5}, {16, 5, 6, 5}, {24, 8, 8, 8}, {32, 8, 8, 8}};
  const int32_t w = 13, h = 7;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.depth);
    cSurfaceHandle s;
    ASSERT_NE(s.Create(w, h, Prototype(c.depth)), nullptr);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) s.SetBufferPixel(x, y, rng_() & 0x00FFFFFFu);
    const std::string file = Path("saved.bmp");
    ASSERT_EQ(s.SaveBMPFile(file.c_str(), 0), 1);
    EXPECT_EQ(CommandOutput("identify-im6.q16 -format '%w %h %m' '" + file + "'"), "13 7 BMP3");  // its name for the 40-byte header form
    const Bytes rgb = Decode(file);
    ASSERT_EQ(rgb.size(), size_t(w * h * 3));
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const uint32_t want = s.GetBufferPixel(x, y);
        const uint8_t* got = &rgb[size_t(y * w + x) * 3];
        auto top = [](uint32_t v, int bits) { return (v & 0xFF) >> (8 - bits); };
        ASSERT_EQ(top(got[0], c.redBits), top(want, c.redBits)) << x << ", " << y;
        ASSERT_EQ(top(got[1], c.greenBits), top(want >> 8, c.greenBits)) << x << ", " << y;
        ASSERT_EQ(top(got[2], c.blueBits), top(want >> 16, c.blueBits)) << x << ", " << y;
      }
  }
}

// A file ImageMagick writes (its plain BMP3 form, true colour, bottom-up)
// loads with the pixels it decodes.
TEST_F(BmpImageMagick, ItsFilesLoadWithTheSamePixels) {
  const std::string source = Path("gradient.bmp");
  ASSERT_EQ(std::system(("convert-im6.q16 -size 11x6 gradient:red-blue -type truecolor 'BMP3:" + source + "'").c_str()), 0);
  const Bytes rgb = Decode(source);
  ASSERT_EQ(rgb.size(), size_t(11 * 6 * 3));
  for (int32_t depth : {24, 32}) {
    cSurfaceHandle s;
    ASSERT_NE(s.Create(1, 1, Prototype(depth)), nullptr);
    ASSERT_EQ(s.LoadBMPFile(source.c_str(), 0), 1) << std::hex << s.GetLastError();
    ASSERT_EQ(s.GetWidth(), 11);
    ASSERT_EQ(s.GetHeight(), 6);
    for (int32_t y = 0; y < 6; ++y)
      for (int32_t x = 0; x < 11; ++x) {
        const uint8_t* p = &rgb[size_t(y * 11 + x) * 3];
        ASSERT_EQ(s.GetBufferPixel(x, y), uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16)
            << x << ", " << y;
      }
  }
}

}  // namespace
