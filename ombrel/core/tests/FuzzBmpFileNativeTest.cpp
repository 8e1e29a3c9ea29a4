// Seeded mutations of BMP files against the reader over the POSIX file
// layer. The block reader runs on a recording heap that refuses blocks above
// a cap: a block is never larger than the file that fills it, and every
// failure frees what it took. The whole load then either gives a surface of
// the header's size or fails leaving the surface as it was. Deterministic: a
// failing iteration is reproduced by its number.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "FileIo.h"
#include "Memory.h"
#include "support/RecordingHeap.h"
#include "surface/BmpRead.h"
#include "surface/SurfaceHandle.h"
#include "support/SurfaceHandleFixture.h"
#include "surface/SurfaceLibrary.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class FuzzBmpFile : public SurfaceHandleFixture {
 protected:
  void SetUp() override {
    SurfaceHandleFixture::SetUp();
    std::string templ = (fs::temp_directory_path() / "ombrel-fuzzbmp-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir_ = templ;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
    SurfaceHandleFixture::TearDown();
  }
  Bytes Saved(int32_t depth, int32_t w, int32_t h) {
    cSurfaceHandle s;
    if (s.Create(w, h, Prototype(depth)) == nullptr) return {};
    const PixelView& v = cSurfaceHandle::GetImpl(&s)->view;
    for (int32_t y = 0; y < h; ++y)
      for (uint32_t i = 0; i < uint32_t(w * v.bytesPerPixel); ++i) v.firstRow[y * v.pitch + i] = uint8_t(rng_());
    const std::string path = (dir_ / "seed.bmp").string();
    if (!s.SaveBMPFile(path.c_str(), 0)) return {};
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

  void Mutate(Bytes& b) {
    // Header fields: size, offset, header size, width, height, bits,
    // compression, colours used, the first masks or colours.
    static const size_t kFields[] = {2, 10, 14, 18, 22, 28, 30, 46, 54, 58};
    static const uint32_t kValues[] = {0,          1,          2,          4,          8,          12,
                                       15,         16,         24,         32,         40,         54,
                                       66,         124,        255,        256,        257,        1000,
                                       0x7FFF,     0x10000,    0x40000000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                                       0xFFFFFFFE, 0xF800,     0x7E0,      0x1F};
    for (size_t m = 1 + Pick(3); m > 0; --m) {
      switch (Pick(6)) {
        case 0:
        case 1: {
          const size_t at = kFields[Pick(std::size(kFields))];
          const uint32_t v = kValues[Pick(std::size(kValues))];
          const size_t width = at == 28 ? 2 : 4;
          for (size_t k = 0; k < width && at + k < b.size(); ++k) b[at + k] = uint8_t(v >> (8 * k));
          break;
        }
        case 2:
          if (!b.empty()) b[Pick(b.size())] ^= uint8_t(1 + Pick(255));
          break;
        case 3:
          b.resize(Pick(b.size() + 1));
          break;
        case 4: {
          Bytes extra(Pick(64));
          for (uint8_t& x : extra) x = uint8_t(Pick(256));
          b.insert(b.begin() + std::ptrdiff_t(Pick(b.size() + 1)), extra.begin(), extra.end());
          break;
        }
        default:
          if (b.size() > 14) b.erase(b.begin(), b.begin() + 14);  // a bare header (or garbage)
          break;
      }
    }
  }

  fs::path dir_;
  std::mt19937 rng_{0x626d70u};
};

TEST_F(FuzzBmpFile, MutatedFilesLoadWhollyOrChangeNothing) {
  std::vector<Bytes> seeds = {Saved(8, 7, 5), Saved(15, 5, 3), Saved(16, 6, 4), Saved(24, 9, 4),
                              Saved(32, 3, 6)};
  for (const Bytes& s : seeds) ASSERT_GT(s.size(), 54u);
  const std::string path = (dir_ / "mutated.bmp").string();
  int loaded = 0, refused = 0;
  for (int iteration = 0; iteration < 3000; ++iteration) {
    SCOPED_TRACE(iteration);
    Bytes bytes = seeds[size_t(iteration) % seeds.size()];
    Mutate(bytes);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    // The block reader alone, on the recording heap.
    {
      RecordingHeap heap;
      const OmbHandle f = FileOpen(path.c_str(), 0);
      ASSERT_NE(f, OmbInvalidHandle());
      void* block = nullptr;
      const LibError e = ReadDibBlock(f, heap, &block);
      FileClose(f);
      ASSERT_LE(heap.largestRequest, bytes.size());  // never more than the file holds
      if (e == LibOk) {
        ASSERT_NE(block, nullptr);
        ASSERT_EQ(heap.live.size(), 1u);
        heap.Free(block);
      } else {
        ASSERT_EQ(block, nullptr);
        ASSERT_TRUE(heap.live.empty());
        ASSERT_TRUE(e == ErrInvalidData || e == ErrEndOfFile || e == ErrRead) << std::hex << e;
      }
    }

    // The whole load into 8- and 24-bit surfaces.
    for (int32_t depth : {8, 24}) {
      cSurfaceHandle h;
      ASSERT_NE(h.Create(2, 2, Prototype(depth)), nullptr);
      ASSERT_EQ(h.FillAll(0x00445566), 1);
      const cSurfaceImpl* before = cSurfaceHandle::GetImpl(&h);
      if (h.LoadBMPFile(path.c_str(), uint32_t(iteration) & 5)) {
        ++loaded;
        ASSERT_EQ(h.GetDepth(), depth);
        const int32_t height = int32_t(uint32_t(bytes[22]) | uint32_t(bytes[23]) << 8 |
                                       uint32_t(bytes[24]) << 16 | uint32_t(bytes[25]) << 24);
        if (bytes[0] == 'B' && bytes[1] == 'M') {
          ASSERT_EQ(h.GetHeight(), height < 0 ? -height : height);
        }
      } else {
        ++refused;
        ASSERT_NE(h.GetLastError(), LibOk);
        ASSERT_EQ(cSurfaceHandle::GetImpl(&h), before);
        uint32_t c = 0;
        ASSERT_EQ(h.GetPixel(1, 1, &c), 1);
        ASSERT_EQ(c & 0x00FFFFFFu, depth == 8 ? h.IndexToRGB(h.NearestIndex(0x00445566)) & 0x00FFFFFFu
                                              : 0x00445566u);
      }
    }
  }
  // Both outcomes are exercised.
  EXPECT_GT(loaded, 100);
  EXPECT_GT(refused, 100);
}

}  // namespace
