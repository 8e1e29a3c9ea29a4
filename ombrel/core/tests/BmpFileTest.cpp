// BMP files and packed DIBs: round trips of every depth (byte-identical when
// written twice), generated files of the forms other programs write (1- and
// 4-bit, short colour tables, top-down rows, bit fields, a bare header, a gap
// before the rows), and a malformed set that fails with the right code and
// leaves the surface as it was.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "LibError.h"
#include "support/PixelCompare.h"
#include "surface/SurfaceHandle.h"
#include "support/SurfaceHandleFixture.h"
#include "surface/SurfaceLibrary.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v);
  Put16(b, v >> 16);
}
uint32_t Get32(const Bytes& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

// A BMP file as other programs write it: file header (unless bare), the
// header fields given, then `table` and `rows` as they stand.
struct BmpSpec {
  int32_t width = 4, height = 2;
  uint16_t bits = 24;
  uint32_t compression = 0, clrUsed = 0, headerSize = 40;
  Bytes table, rows;
  int64_t rowOffset = -1;  // -1: right after the table
  size_t gap = 0;          // junk bytes between the table and the rows
  bool bare = false;
};

Bytes MakeBmp(const BmpSpec& s) {
  Bytes b;
  const uint32_t offset = s.rowOffset >= 0 ? uint32_t(s.rowOffset) : uint32_t(54 + s.table.size() + s.gap);
  if (!s.bare) {
    b.push_back('B');
    b.push_back('M');
    Put32(b, uint32_t(54 + s.table.size() + s.gap + s.rows.size()));
    Put32(b, 0);
    Put32(b, offset);
  }
  Put32(b, s.headerSize);
  Put32(b, uint32_t(s.width));
  Put32(b, uint32_t(s.height));
  Put16(b, 1);
  Put16(b, s.bits);
  Put32(b, s.compression);
  Put32(b, uint32_t(s.rows.size()));
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, s.clrUsed);
  Put32(b, 0);
  b.insert(b.end(), s.table.begin(), s.table.end());
  b.insert(b.end(), s.gap, 0xEE);
  b.insert(b.end(), s.rows.begin(), s.rows.end());
  return b;
}

Bytes Quads(const std::vector<uint32_t>& colours) {  // 0x00BBGGRR each
  Bytes b;
  for (uint32_t c : colours) {
    b.push_back(uint8_t(c >> 16));
    b.push_back(uint8_t(c >> 8));
    b.push_back(uint8_t(c));
    b.push_back(0);
  }
  return b;
}

class BmpFile : public SurfaceHandleFixture {
 protected:
  void SetUp() override {
    SurfaceHandleFixture::SetUp();
    dir_ = fs::temp_directory_path() / ("ombrel-bmp-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
    SurfaceHandleFixture::TearDown();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& path, const Bytes& bytes) const {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                std::streamsize(bytes.size()));
  }
  static Bytes Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  // Every stored byte of the pixels, row by row, without padding.
  static Bytes PixelBytes(cSurfaceHandle& h) {
    const PixelView& v = cSurfaceHandle::GetImpl(&h)->view;
    Bytes out;
    for (int32_t y = 0; y < v.height; ++y) {
      const uint8_t* row = v.firstRow + int64_t(y) * v.pitch;
      out.insert(out.end(), row, row + int64_t(v.width) * v.bytesPerPixel);
    }
    return out;
  }
  // A surface of random stored values (15-bit ones keep bit 15 clear, as
  // the format stores them).
  void RandomSurface(cSurfaceHandle& h, int32_t depth, int32_t w, int32_t hh) {
    ASSERT_NE(h.Create(w, hh, Prototype(depth)), nullptr);
    const PixelView& v = cSurfaceHandle::GetImpl(&h)->view;
    for (int32_t y = 0; y < hh; ++y) {
      uint8_t* row = v.firstRow + int64_t(y) * v.pitch;
      for (int32_t i = 0; i < w * v.bytesPerPixel; ++i) row[i] = uint8_t(rng_());
      if (depth == 15)
        for (int32_t x = 0; x < w; ++x) row[2 * x + 1] &= 0x7F;
    }
  }
  // A 24-bit surface loaded from the bytes, or the failure's code.
  LibError LoadInto(cSurfaceHandle& h, const Bytes& file, uint32_t options = 4) {
    const std::string path = Path("in.bmp");
    Write(path, file);
    if (h.LoadBMPFile(path.c_str(), options)) return LibOk;
    return h.GetLastError() == LibOk ? LibError(1) : h.GetLastError();
  }
  uint32_t At(cSurfaceHandle& h, int32_t x, int32_t y) {
    uint32_t c = 0xDEADBEEF;
    h.GetPixel(x, y, &c);
    return c & 0x00FFFFFFu;
  }

  fs::path dir_;
  std::mt19937 rng_{1812};
};

// Each depth saved twice gives the same bytes, with the header, table and
// offsets of its form, and loads back into a surface of that depth unchanged.
TEST_F(BmpFile, EveryDepthRoundTripsAndWritesTheSameBytesTwice) {
  struct Case {
    int32_t depth;
    uint16_t bitCount;
    uint32_t compression, offset;
  };
  const Case cases[] = {
      {8, 8, 0, 54 + 1024}, {15, 16, 0, 54}, {16, 16, 3, 66}, {24, 24, 0, 54}, {32, 32, 0, 54},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.depth);
    cSurfaceHandle src;
    RandomSurface(src, c.depth, 13, 7);  // odd width: every row padded
    if (c.depth == 8) {
      LogPalette log{};
      log.version = 0x300;
      log.count = 256;
      for (int i = 0; i < 256; ++i) log.entries[i] = PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
      ASSERT_EQ(src.SetLogPalette(&log, 0), 1);
    }
    const std::string a = Path("a.bmp"), b = Path("b.bmp");
    ASSERT_EQ(src.SaveBMPFile(a.c_str(), 0), 1);
    ASSERT_EQ(src.SaveBMPFile(b.c_str(), 0), 1);
    const Bytes file = Read(a);
    EXPECT_EQ(FirstDifference(file, Read(b)), "");
    ASSERT_GE(file.size(), 54u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Get32(file, 2), file.size());
    EXPECT_EQ(Get32(file, 10), c.offset);
    EXPECT_EQ(Get32(file, 14), 40u);
    EXPECT_EQ(file[28], c.bitCount);
    EXPECT_EQ(Get32(file, 30), c.compression);
    const uint32_t rowBytes = (13u * c.bitCount + 31) / 32 * 4;
    EXPECT_EQ(file.size(), c.offset + 7 * rowBytes);
    if (c.depth == 16) {
      EXPECT_EQ(Get32(file, 54), 0xF800u);
      EXPECT_EQ(Get32(file, 58), 0x7E0u);
      EXPECT_EQ(Get32(file, 62), 0x1Fu);
    }
    if (c.depth == 8) {
      EXPECT_EQ(Get32(file, 54 + 4 * 3), 3u << 16 | 252u << 8 | 21u);  // entry 3: B G R 0
    }

    cSurfaceHandle back;
    ASSERT_NE(back.Create(1, 1, Prototype(c.depth)), nullptr);
    ASSERT_EQ(LoadInto(back, file), LibOk);
    ASSERT_EQ(back.GetWidth(), 13);
    ASSERT_EQ(back.GetHeight(), 7);
    ASSERT_EQ(back.GetDepth(), c.depth);
    EXPECT_EQ(FirstDifference(PixelBytes(back), PixelBytes(src)), "");
    if (c.depth == 8) {
      PaletteEntry got[256], want[256];
      back.GetPaletteEntries(got, 0, 256);
      src.GetPaletteEntries(want, 0, 256);
      for (int i = 0; i < 256; ++i) EXPECT_EQ(EntryColour(got[i]), EntryColour(want[i])) << i;
    }
    // The packed-DIB form: same header and rows as the file after its 14 bytes.
    Bytes dib(src.GetDibSize());
    ASSERT_EQ(src.SaveDIB(reinterpret_cast<BitmapInfoHeader*>(dib.data()), nullptr, 0), 1);
    EXPECT_EQ(FirstDifference(dib, Bytes(file.begin() + 14, file.end())), "");
  }
}

TEST_F(BmpFile, DibSizeFunctionsFollowTheirFormulas) {
  struct Case {
    int32_t width, height, depth;
    uint32_t row, header;
  };
  const Case cases[] = {
      {1, 1, 1, 4, 48}, {33, 2, 1, 8, 48}, {9, 3, 4, 8, 104}, {13, 7, 8, 16, 1064},
      {13, 7, 15, 28, 40}, {13, 7, 16, 28, 52}, {13, 7, 24, 40, 40}, {13, 7, 32, 52, 40},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cSurfaceHandle::DibRowBytes(c.width, c.depth), c.row) << c.depth;
    EXPECT_EQ(cSurfaceHandle::DibHeaderSize(c.depth), c.header) << c.depth;
    EXPECT_EQ(cSurfaceHandle::DibTotalSize(c.width, c.height, c.depth), c.header + c.height * c.row);
  }
  // The rows follow biClrUsed entries (2^bits when 0), or the three masks.
  std::vector<uint32_t> storage(300);  // a header with room for its table
  auto& h = *reinterpret_cast<BitmapInfoHeader*>(storage.data());
  h.size = 40;
  h.bitCount = 8;
  const uint8_t* base = reinterpret_cast<const uint8_t*>(storage.data());
  EXPECT_EQ(cSurfaceHandle::DibBitsPointer(&h), base + 40 + 1024);
  h.clrUsed = 3;
  EXPECT_EQ(cSurfaceHandle::DibBitsPointer(&h), base + 40 + 12);
  h.bitCount = 16;
  h.compression = 3;
  EXPECT_EQ(cSurfaceHandle::DibBitsPointer(&h), base + 52);
  h.bitCount = 24;
  h.compression = 0;
  EXPECT_EQ(cSurfaceHandle::DibBitsPointer(&h), base + 40);
}

// 1- and 4-bit files widen to 8 bits: the DIB's colours land from entry
// 10 on, a 4-bit pixel v becomes v + 10 except 0, a 1-bit one 10 or 11.
TEST_F(BmpFile, OneAndFourBitFilesWidenToEightBits) {
  BmpSpec four;
  four.bits = 4;
  four.width = 5;
  four.height = 1;
  four.table = Quads({0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0x654321, 0x111111, 0x222222,
                      0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x888888, 0x999999, 0xAAAAAA});
  four.rows = {0x03, 0x01, 0xF0, 0, 0, 0, 0, 0};  // pixels 0 3 0 1 15, row padded to 4 bytes
  four.rows.resize(4);
  cSurfaceHandle h;
  ASSERT_NE(h.Create(2, 2, Prototype(8)), nullptr);
  ASSERT_EQ(LoadInto(h, MakeBmp(four)), LibOk);
  const uint8_t want[5] = {0, 13, 0, 11, 25};
  for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(h.GetBufferIndex(x, 0), want[x]) << x;
  EXPECT_EQ(At(h, 1, 0), 0xFF0000u);  // colour 3 of the file
  EXPECT_EQ(At(h, 4, 0), 0xAAAAAAu);

  BmpSpec one;
  one.bits = 1;
  one.width = 10;
  one.height = 2;
  one.table = Quads({0x000000, 0xFFFFFF});
  one.rows = {0xA0, 0x40, 0, 0, 0x01, 0x80, 0, 0};  // bottom row first
  ASSERT_EQ(LoadInto(h, MakeBmp(one)), LibOk);
  ASSERT_EQ(h.GetWidth(), 10);
  const uint8_t bottom[10] = {11, 10, 11, 10, 10, 10, 10, 10, 10, 11};
  const uint8_t top[10] = {10, 10, 10, 10, 10, 10, 10, 11, 11, 10};
  for (int32_t x = 0; x < 10; ++x) {
    EXPECT_EQ(h.GetBufferIndex(x, 1), bottom[x]) << x;
    EXPECT_EQ(h.GetBufferIndex(x, 0), top[x]) << x;
  }
  EXPECT_EQ(At(h, 0, 1), 0xFFFFFFu);
}

// Forms other writers produce: a short colour table (the rows follow it), a
// 4-bit short table, top-down rows, 32-bit bit fields, a bare header and a
// gap before the rows.
TEST_F(BmpFile, FilesOfOtherWritersLoad) {
  cSurfaceHandle h;
  // 8 bits, two colours in the table.
  BmpSpec shortTable;
  shortTable.bits = 8;
  shortTable.width = 3;
  shortTable.height = 1;
  shortTable.clrUsed = 2;
  shortTable.table = Quads({0x0000FF, 0x00FF00});
  shortTable.rows = {1, 0, 1, 0};
  ASSERT_NE(h.Create(1, 1, Prototype(8)), nullptr);
  ASSERT_EQ(LoadInto(h, MakeBmp(shortTable)), LibOk);
  EXPECT_EQ(At(h, 0, 0), 0x00FF00u);
  EXPECT_EQ(At(h, 1, 0), 0x0000FFu);
  // 4 bits, three colours.
  BmpSpec shortFour;
  shortFour.bits = 4;
  shortFour.width = 2;
  shortFour.height = 1;
  shortFour.clrUsed = 3;
  shortFour.table = Quads({0x010101, 0x020202, 0x030303});
  shortFour.rows = {0x12, 0, 0, 0};
  ASSERT_EQ(LoadInto(h, MakeBmp(shortFour)), LibOk);
  EXPECT_EQ(At(h, 0, 0), 0x020202u);
  EXPECT_EQ(At(h, 1, 0), 0x030303u);

  // 24 bits top-down (negative height): the first row in the file is row 0.
  ASSERT_NE(h.Create(1, 1, Prototype(24)), nullptr);
  BmpSpec topDown;
  topDown.width = 1;
  topDown.height = -2;
  topDown.rows = {0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0};
  ASSERT_EQ(LoadInto(h, MakeBmp(topDown)), LibOk);
  EXPECT_EQ(At(h, 0, 0), 0x112233u);
  EXPECT_EQ(At(h, 0, 1), 0x445566u);
  // The same bottom-up.
  topDown.height = 2;
  ASSERT_EQ(LoadInto(h, MakeBmp(topDown)), LibOk);
  EXPECT_EQ(At(h, 0, 1), 0x112233u);
  // A bare header; a gap of 10 bytes before the rows honoured by the offset.
  topDown.bare = true;
  ASSERT_EQ(LoadInto(h, MakeBmp(topDown)), LibOk);
  EXPECT_EQ(At(h, 0, 0), 0x445566u);
  topDown.bare = false;
  topDown.gap = 10;
  ASSERT_EQ(LoadInto(h, MakeBmp(topDown)), LibOk);
  EXPECT_EQ(At(h, 0, 0), 0x445566u);
  EXPECT_EQ(At(h, 0, 1), 0x112233u);
  // An offset inside the header is not used: the rows follow the table.
  topDown.gap = 0;
  topDown.rowOffset = 20;
  ASSERT_EQ(LoadInto(h, MakeBmp(topDown)), LibOk);
  EXPECT_EQ(At(h, 0, 0), 0x445566u);

  // 32 bits with 8-8-8 bit fields.
  ASSERT_NE(h.Create(1, 1, Prototype(32)), nullptr);
  BmpSpec fields;
  fields.bits = 32;
  fields.compression = 3;
  fields.width = 2;
  fields.height = 1;
  Put32(fields.table, 0xFF0000);
  Put32(fields.table, 0xFF00);
  Put32(fields.table, 0xFF);
  fields.rows = {0x01, 0x02, 0x03, 0, 0xAA, 0xBB, 0xCC, 0};
  ASSERT_EQ(LoadInto(h, MakeBmp(fields)), LibOk);
  EXPECT_EQ(At(h, 0, 0), 0x010203u);
  EXPECT_EQ(At(h, 1, 0), 0xAABBCCu);
}

// Each malformed file fails with its code and the surface keeps its
// implementation and pixels.
TEST_F(BmpFile, MalformedFilesFailAndLeaveTheSurfaceAsItWas) {
  BmpSpec good;
  good.width = 2;
  good.height = 2;
  good.rows.assign(16, 0x5A);
  struct Case {
    const char* name;
    Bytes file;
    LibError error;
  };
  std::vector<Case> cases;
  auto with = [&](auto change) {
    BmpSpec s = good;
    change(s);
    return MakeBmp(s);
  };
  Bytes truncated = MakeBmp(good);
  truncated.resize(truncated.size() - 1);
  cases.push_back({"short rows", truncated, ErrInvalidData});
  cases.push_back({"truncated header", Bytes(truncated.begin(), truncated.begin() + 30), ErrEndOfFile});
  cases.push_back({"ten bytes", Bytes(truncated.begin(), truncated.begin() + 10), ErrEndOfFile});
  cases.push_back({"header size 124", with([](BmpSpec& s) { s.headerSize = 124; }), ErrInvalidData});
  cases.push_back({"RLE8", with([](BmpSpec& s) { s.bits = 8; s.compression = 1; s.table = Quads(std::vector<uint32_t>(256)); }), ErrInvalidData});
  cases.push_back({"width 0", with([](BmpSpec& s) { s.width = 0; }), ErrInvalidData});
  cases.push_back({"width 0x40000000", with([](BmpSpec& s) { s.width = 0x40000000; }), ErrInvalidData});
  cases.push_back({"negative width", with([](BmpSpec& s) { s.width = -2; }), ErrInvalidData});
  cases.push_back({"height 0", with([](BmpSpec& s) { s.height = 0; }), ErrInvalidData});
  cases.push_back({"height INT_MIN", with([](BmpSpec& s) { s.height = INT_MIN; }), ErrInvalidData});
  cases.push_back({"height 2^30", with([](BmpSpec& s) { s.height = 1 << 30; }), ErrInvalidData});
  cases.push_back({"1000 colours", with([](BmpSpec& s) { s.bits = 8; s.clrUsed = 1000; s.table = Quads(std::vector<uint32_t>(1000)); }), ErrInvalidData});
  cases.push_back({"12 bits", with([](BmpSpec& s) { s.bits = 12; }), ErrInvalidData});
  cases.push_back({"bit fields at 24 bits", with([](BmpSpec& s) { s.compression = 3; }), ErrInvalidData});
  cases.push_back({"4-4-4 masks", with([](BmpSpec& s) {
                     s.bits = 16;
                     s.compression = 3;
                     s.table.clear();
                     Put32(s.table, 0xF00);
                     Put32(s.table, 0xF0);
                     Put32(s.table, 0xF);
                   }), ErrInvalidData});
  cases.push_back({"neither BM nor 40", with([](BmpSpec& s) { s.bare = true; s.headerSize = 41; }), ErrInvalidData});
  cases.push_back({"gap past the end", with([](BmpSpec& s) { s.rowOffset = 5000; }), ErrInvalidData});
  for (int32_t depth : {8, 24}) {
    cSurfaceHandle h;
    ASSERT_NE(h.Create(3, 3, Prototype(depth)), nullptr);
    ASSERT_EQ(h.FillAll(0x00112233), 1);
    const cSurfaceImpl* before = cSurfaceHandle::GetImpl(&h);
    const Bytes pixels = PixelBytes(h);
    for (const Case& c : cases) {
      EXPECT_EQ(LoadInto(h, c.file), c.error) << c.name;
      EXPECT_EQ(cSurfaceHandle::GetImpl(&h), before) << c.name;
      EXPECT_EQ(FirstDifference(PixelBytes(h), pixels), "") << c.name;
    }
  }
  cSurfaceHandle h;
  ASSERT_NE(h.Create(3, 3, Prototype(24)), nullptr);
  EXPECT_EQ(h.LoadBMPFile(Path("missing.bmp").c_str(), 0), 0);
  EXPECT_EQ(h.GetLastError(), ErrOpen);
  EXPECT_EQ(h.SaveBMPFile((dir_ / "no" / "such" / "dir.bmp").string().c_str(), 0), 0);
  EXPECT_EQ(h.GetLastError(), ErrCreate);
  EXPECT_EQ(h.LoadDIB(nullptr, nullptr, 0), 0);
  EXPECT_EQ(h.GetLastError(), ErrInvalidData);
  EXPECT_EQ(h.SaveDIB(nullptr, nullptr, 0), 0);
  EXPECT_EQ(h.GetLastError(), ErrInvalidData);
}

// Options bit 0 of SaveDIB writes the header and table only.
TEST_F(BmpFile, SaveDibWithOptionBitZeroWritesNoRows) {
  cSurfaceHandle h;
  ASSERT_NE(h.Create(2, 2, Prototype(24)), nullptr);
  ASSERT_EQ(h.FillAll(0x00FFFFFF), 1);
  Bytes dib(h.GetDibSize(), 0x77);
  ASSERT_EQ(h.SaveDIB(reinterpret_cast<BitmapInfoHeader*>(dib.data()), dib.data() + 40, 1), 1);
  EXPECT_EQ(Get32(dib, 0), 40u);
  for (size_t i = 40; i < dib.size(); ++i) ASSERT_EQ(dib[i], 0x77) << i;
}

TEST_F(BmpFile, RawBufferAccessConvertsAndStaysInside) {
  struct Case {
    int32_t depth;
    uint32_t colour, readBack;
  };
  const Case cases[] = {
      {15, 0x00FFFFFF, 0x00F8F8F8}, {16, 0x00FFFFFF, 0x00F8FCF8}, {16, 0x00123456, 0x00103450},
      {24, 0x00123456, 0x00123456}, {32, 0x00123456, 0x00123456},
  };
  for (const Case& c : cases) {
    cSurfaceHandle h;
    ASSERT_NE(h.Create(4, 3, Prototype(c.depth)), nullptr);
    const PixelView& v = cSurfaceHandle::GetImpl(&h)->view;
    if (c.depth == 32) v.firstRow[v.pitch + 3 * 4 + 3] = 0x99;
    h.SetBufferPixel(3, 1, c.colour);
    EXPECT_EQ(h.GetBufferPixel(3, 1), c.readBack) << c.depth;
    if (c.depth == 16 && c.colour == 0x00FFFFFF) {
      EXPECT_EQ(v.firstRow[v.pitch + 6] | v.firstRow[v.pitch + 7] << 8, 0xFFFF);
    }
    if (c.depth == 32) {
      EXPECT_EQ(v.firstRow[v.pitch + 15], 0x99);  // the fourth byte is left alone
    }
    const Bytes before = PixelBytes(h);
    for (auto [x, y] : {std::pair{-1, 0}, {4, 0}, {0, -1}, {0, 3}, {INT_MIN, INT_MAX}}) {
      h.SetBufferPixel(x, y, 0x00ABCDEF);
      h.SetBufferIndex(x, y, 7);
      EXPECT_EQ(h.GetBufferPixel(x, y), 0u);
    }
    h.SetBufferIndex(0, 0, 7);  // only 8-bit surfaces take indices
    EXPECT_EQ(h.GetBufferIndex(0, 0), 0);
    EXPECT_EQ(FirstDifference(PixelBytes(h), before), "");
  }
  cSurfaceHandle h8;
  ASSERT_NE(h8.Create(4, 3, Prototype(8)), nullptr);
  h8.SetBufferIndex(2, 2, 200);
  EXPECT_EQ(h8.GetBufferIndex(2, 2), 200);
  EXPECT_EQ(h8.GetBufferIndex(4, 2), 0);
  h8.SetBufferPixel(1, 1, h8.IndexToRGB(77));
  EXPECT_EQ(h8.GetBufferPixel(1, 1), h8.IndexToRGB(h8.GetBufferIndex(1, 1)) & 0x00FFFFFFu);
  cSurfaceHandle empty;
  EXPECT_EQ(empty.GetBufferPixel(0, 0), 0u);
}

TEST_F(BmpFile, CropKeepsTheContentBoxOnly) {
  cSurfaceHandle h;
  ASSERT_NE(h.Create(10, 8, Prototype(24)), nullptr);
  h.SetTransparentColour(0);
  ASSERT_EQ(h.FillAll(0), 1);
  h.SetPixel(3, 2, 0x0000FF);
  h.SetPixel(6, 4, 0x00FF00);
  SurfaceRect box{};
  ASSERT_EQ(h.CropToContent(&box), 1);
  EXPECT_EQ(box.left, 3);
  EXPECT_EQ(box.top, 2);
  EXPECT_EQ(box.right, 7);
  EXPECT_EQ(box.bottom, 5);
  ASSERT_EQ(h.GetWidth(), 4);
  ASSERT_EQ(h.GetHeight(), 3);
  EXPECT_EQ(At(h, 0, 0), 0x0000FFu);
  EXPECT_EQ(At(h, 3, 2), 0x00FF00u);
  // Content filling the surface: false, nothing changes.
  const cSurfaceImpl* before = cSurfaceHandle::GetImpl(&h);
  h.FillAll(0x00FFFFFF);
  EXPECT_EQ(h.Crop(), 0);
  EXPECT_EQ(cSurfaceHandle::GetImpl(&h), before);
}

}  // namespace
