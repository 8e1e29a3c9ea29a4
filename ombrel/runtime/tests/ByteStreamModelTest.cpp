// Random operation sequences on the stream classes against a plain in-memory
// model, byte for byte: reads of every size (across the 16 KiB buffer and
// beyond), seeks from each origin (and an unknown one), ranges of a file,
// and sink writes and seeks. Seeded: a failing sequence names its seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ScratchDir.h"
#include "stream/cFileSink.h"
#include "stream/cFileSource.h"
#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"

namespace {

// What a reader over data[start, end) must do.
struct SourceModel {
  const Bytes* data;
  int64_t start;
  int64_t length;  // the range length the source reports
  int64_t pos = 0;  // relative to start

  int64_t Available() const {
    const int64_t end = std::min<int64_t>(start + length, static_cast<int64_t>(data->size()));
    return std::max<int64_t>(0, end - (start + pos));
  }
  int64_t Seek(int32_t offset, uint32_t origin) {
    int64_t target = pos;
    if (origin == 0) target = offset;
    if (origin == 1) target = pos + offset;
    if (origin == 2) target = length + offset;
    pos = std::clamp<int64_t>(target, 0, length);
    return pos;
  }
};

class Picker {
 public:
  explicit Picker(uint32_t seed) : rng_(seed) {}
  uint32_t Below(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng_); }
  // Sizes that straddle the buffer: small, around 16 KiB, several chunks.
  uint32_t ReadSize() {
    switch (Below(4)) {
      case 0: return Below(8);
      case 1: return Below(600);
      case 2: return 16384 - 3 + Below(7);
      default: return Below(50000);
    }
  }
  int32_t Offset(int64_t span) { return static_cast<int32_t>(static_cast<int64_t>(Below(2 * span + 41)) - span - 20); }

 private:
  std::mt19937 rng_;
};

void RunSource(cByteSource& src, SourceModel& model, Picker& pick, const std::string& where) {
  Bytes out;
  for (int op = 0; op < 120; ++op) {
    SCOPED_TRACE(where + " op " + std::to_string(op));
    switch (pick.Below(5)) {
      case 0:
      case 1: {
        const uint32_t n = pick.ReadSize();
        out.assign(n, 0xEE);
        uint32_t got = 0;
        const LibError e = src.ReadCount(out.data(), n, &got);
        const int64_t expect = std::min<int64_t>(n, model.Available());
        ASSERT_EQ(got, expect) << "read " << n;
        ASSERT_EQ(e, expect == n ? LibOk : ErrEndOfFile);
        ASSERT_TRUE(std::equal(out.begin(), out.begin() + expect,
                               model.data->begin() + model.start + model.pos));
        model.pos += expect;
        break;
      }
      case 2: {
        uint8_t b = 0;
        const LibError e = src.ReadByte(&b);
        if (model.Available() > 0) {
          ASSERT_EQ(e, LibOk);
          ASSERT_EQ(b, (*model.data)[model.start + model.pos]);
          ++model.pos;
        } else {
          ASSERT_EQ(e, ErrEndOfFile);
        }
        break;
      }
      case 3: {
        const uint32_t origin = pick.Below(4);
        const int32_t offset = pick.Below(2) ? pick.Offset(40) : pick.Offset(static_cast<int64_t>(model.length) + 20000);
        const int64_t expect = origin == 3 ? model.pos : model.Seek(offset, origin);
        ASSERT_EQ(src.Seek(offset, origin), expect) << "seek " << offset << " from " << origin;
        break;
      }
      default:
        ASSERT_EQ(src.Tell(), model.pos);
        ASSERT_EQ(src.GetSize(), model.length);
    }
  }
}

TEST(ByteStreamModel, FileSourceWholeFilesAndRanges) {
  ScratchDir dir;
  for (uint32_t seed = 1; seed <= 24; ++seed) {
    Picker pick(seed);
    const Bytes data = PatternBytes(pick.Below(3) == 0 ? pick.Below(100) : 20000 + pick.Below(60000), seed);
    const std::string path = dir.Write("f" + std::to_string(seed), data);
    cFileSource src;
    SourceModel model{&data, 0, static_cast<int64_t>(data.size())};
    if (seed % 2 == 0 && !data.empty()) {
      const uint32_t start = pick.Below(static_cast<uint32_t>(data.size()));
      const uint32_t length = 1 + pick.Below(static_cast<uint32_t>(data.size() - start));
      ASSERT_EQ(src.OpenPart(path.c_str(), start, length), LibOk);
      model = SourceModel{&data, start, length};
    } else {
      ASSERT_EQ(src.Open(path.c_str()), LibOk);
    }
    RunSource(src, model, pick, "seed " + std::to_string(seed));
  }
}

TEST(ByteStreamModel, MemorySource) {
  for (uint32_t seed = 100; seed < 116; ++seed) {
    Picker pick(seed);
    const Bytes data = PatternBytes(pick.Below(70000), seed);
    cMemorySource src;
    src.Attach(data.data(), static_cast<uint32_t>(data.size()));
    SourceModel model{&data, 0, static_cast<int64_t>(data.size())};
    RunSource(src, model, pick, "seed " + std::to_string(seed));
  }
}

// Writes and seeks on a sink against a vector; the file sink is checked
// through the file it leaves, the memory sink through its block.
void RunSink(cByteSink& sink, Bytes& model, Picker& pick, uint32_t seed) {
  int64_t cursor = 0;
  for (int op = 0; op < 80; ++op) {
    SCOPED_TRACE("seed " + std::to_string(seed) + " op " + std::to_string(op));
    if (pick.Below(3) != 0) {
      const Bytes piece = PatternBytes(pick.ReadSize(), seed * 1000 + op);
      ASSERT_EQ(sink.Write(piece.data(), static_cast<uint32_t>(piece.size())), LibOk);
      if (model.size() < cursor + piece.size()) model.resize(cursor + piece.size());
      std::copy(piece.begin(), piece.end(), model.begin() + cursor);
      cursor += static_cast<int64_t>(piece.size());
    } else {
      const uint32_t origin = pick.Below(4);
      const int32_t offset = pick.Offset(static_cast<int64_t>(model.size()) + 100);
      int64_t target = cursor;
      if (origin == 0) target = offset;
      if (origin == 1) target = cursor + offset;
      if (origin == 2) target = static_cast<int64_t>(model.size()) + offset;
      cursor = std::clamp<int64_t>(target, 0, static_cast<int64_t>(model.size()));
      ASSERT_EQ(sink.Seek(offset, origin), cursor);
    }
    ASSERT_EQ(sink.Tell(), cursor);
    ASSERT_EQ(sink.GetSize(), model.size());
  }
}

TEST(ByteStreamModel, FileSinkAndMemorySink) {
  ScratchDir dir;
  for (uint32_t seed = 200; seed < 212; ++seed) {
    Picker pick(seed);
    Bytes fileModel, memoryModel;
    const std::string path = dir.File("s" + std::to_string(seed));
    {
      cFileSink sink;
      ASSERT_EQ(sink.Create(path.c_str(), 256 + pick.Below(9000)), LibOk);
      RunSink(sink, fileModel, pick, seed);
    }
    ASSERT_EQ(ReadWholeFile(path), fileModel);
    cMemorySink memory;
    RunSink(memory, memoryModel, pick, seed);
    ASSERT_TRUE(std::equal(memoryModel.begin(), memoryModel.end(), memory.Data()));
  }
}

}  // namespace
