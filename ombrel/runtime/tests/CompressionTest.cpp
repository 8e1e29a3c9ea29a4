// zlib streams moved between the library's streams, files and blocks: round
// trips over sizes and levels, level clamping, cut and over-long inputs, and
// the bounded inflate into a block of known size; null streams refused.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>

#include "ScratchDir.h"
#include "compress/Compression.h"
#include "stream/cFileSource.h"
#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"

namespace {

// Half runs of repeated text (compressible), half noise.
Bytes MixedBytes(size_t n, uint32_t seed) {
  Bytes bytes = PatternBytes(n, seed);
  const char text[] = "the quick brown fox jumps over the lazy dog. ";
  for (size_t i = 0; i < n; ++i)
    if ((i / 4096) % 2 == 0) bytes[i] = static_cast<uint8_t>(text[i % (sizeof text - 1)]);
  return bytes;
}

Bytes SinkBytes(cMemorySink& sink) { return Bytes(sink.Data(), sink.Data() + sink.GetSize()); }

Bytes Deflate(const Bytes& in, int32_t level, uint32_t bufferSize = 0) {
  cMemorySource src;
  src.Attach(in.data(), static_cast<uint32_t>(in.size()));
  cMemorySink sink;
  EXPECT_EQ(DeflateWith(&sink, &src, static_cast<uint32_t>(in.size()), level, bufferSize), LibOk);
  return SinkBytes(sink);
}

LibError Inflate(const Bytes& in, uint32_t length, Bytes* out, uint32_t bufferSize = 0) {
  cMemorySource src;
  src.Attach(in.data(), static_cast<uint32_t>(in.size()));
  cMemorySink sink;
  const LibError e = InflateWith(&sink, &src, length, bufferSize);
  *out = SinkBytes(sink);
  return e;
}

TEST(Compression, RoundTripsEverySizeAndLevel) {
  const size_t sizes[] = {0, 1, 100, 8191, 8192, 8193, 100000, 1 << 20};
  const int32_t levels[] = {-1, 0, 9};
  for (size_t size : sizes) {
    const Bytes data = MixedBytes(size, static_cast<uint32_t>(size));
    for (int32_t level : levels) {
      SCOPED_TRACE("size " + std::to_string(size) + " level " + std::to_string(level));
      const Bytes packed = Deflate(data, level);
      Bytes back;
      ASSERT_EQ(Inflate(packed, static_cast<uint32_t>(packed.size()), &back), LibOk);
      ASSERT_EQ(back, data);
      uLongf plainSize = static_cast<uLongf>(size);
      Bytes plain(size + 1);
      ASSERT_EQ(uncompress(plain.data(), &plainSize, packed.data(), static_cast<uLong>(packed.size())), Z_OK)
          << "a plain zlib stream that zlib itself reads";
      ASSERT_EQ(plainSize, size);
    }
  }
}

TEST(Compression, SmallAndDefaultBuffersGiveTheSameData) {
  EXPECT_EQ(CompressionBufferSize(0), 8192u);
  EXPECT_EQ(CompressionBufferSize(0xFFFFFFFFu), 8192u);
  EXPECT_EQ(CompressionBufferSize(100), 100u);
  const Bytes data = MixedBytes(30000, 9);
  const Bytes packed = Deflate(data, 6, 7);
  Bytes back;
  ASSERT_EQ(Inflate(packed, static_cast<uint32_t>(packed.size()), &back, 5), LibOk);
  EXPECT_EQ(back, data);
}

TEST(Compression, LevelsOutsideTheRangeAreClamped) {
  const Bytes data = MixedBytes(50000, 4);
  EXPECT_EQ(Deflate(data, 12), Deflate(data, 9));
  EXPECT_EQ(Deflate(data, -5), Deflate(data, 0));
  EXPECT_NE(Deflate(data, 0), Deflate(data, 9));
}

TEST(Compression, EmptyInputIsAnEightByteStream) {
  const Bytes packed = Deflate({}, -1);
  EXPECT_EQ(packed.size(), 8u);
  Bytes back;
  EXPECT_EQ(Inflate(packed, 8, &back), LibOk);
  EXPECT_TRUE(back.empty());
}

TEST(Compression, ShortLengthFailsAndLongerLengthEndsAtTheStreamEnd) {
  const Bytes data = MixedBytes(20000, 8);
  Bytes packed = Deflate(data, 9);
  const uint32_t n = static_cast<uint32_t>(packed.size());
  Bytes back;
  EXPECT_EQ(Inflate(packed, n - 5, &back), ErrCompression);
  EXPECT_EQ(Inflate(packed, n / 2, &back), ErrCompression);
  packed.insert(packed.end(), 50, 0xAB);  // trailing bytes after the stream
  EXPECT_EQ(Inflate(packed, n + 50, &back), LibOk);
  EXPECT_EQ(back, data);
  Bytes cut(packed.begin(), packed.begin() + n - 5);
  EXPECT_EQ(Inflate(cut, n, &back), ErrEndOfFile) << "the source's own error passes up";
}

TEST(Compression, CorruptDataGivesCompressionError) {
  Bytes packed = Deflate(MixedBytes(5000, 2), 6);
  packed[0] ^= 0xFF;  // header check
  Bytes back;
  EXPECT_EQ(Inflate(packed, static_cast<uint32_t>(packed.size()), &back), ErrCompression);
}

TEST(Compression, NullStreamsFailWithoutTouchingTheOtherStream) {
  const Bytes plain = MixedBytes(20000, 5);
  const Bytes packed = Deflate(plain, 6);
  using Run = LibError (*)(cByteSink*, cByteSource*, uint32_t);
  struct Job {
    const char* name;
    const Bytes& input;  // valid input: a job that ran on would reach its sink
    Run run;
  } jobs[] = {
      {"InflateStream", packed, [](cByteSink* d, cByteSource* s, uint32_t n) { return InflateStream(d, s, n); }},
      {"DeflateStream", plain, [](cByteSink* d, cByteSource* s, uint32_t n) { return DeflateStream(d, s, n, 6); }},
      {"InflateWith", packed, [](cByteSink* d, cByteSource* s, uint32_t n) { return InflateWith(d, s, n, 64); }},
      {"DeflateWith", plain,
       [](cByteSink* d, cByteSource* s, uint32_t n) { return DeflateWith(d, s, n, 9, 64); }},
  };
  struct Nulls {
    const char* name;
    bool sink, source;  // which of the two is given
  } nulls[] = {{"no sink", false, true}, {"no source", true, false}, {"neither", false, false}};
  for (const Job& job : jobs) {
    for (const Nulls& given : nulls) {
      SCOPED_TRACE(std::string(job.name) + ", " + given.name);
      cMemorySource src;
      src.Attach(job.input.data(), static_cast<uint32_t>(job.input.size()));
      cMemorySink sink;
      ASSERT_EQ(sink.Write("ab", 2), LibOk);
      EXPECT_EQ(job.run(given.sink ? &sink : nullptr, given.source ? &src : nullptr, kWholeSource),
                ErrInvalidData);
      EXPECT_EQ(src.Tell(), 0u) << "the source was not read";
      EXPECT_EQ(SinkBytes(sink), (Bytes{'a', 'b'})) << "the sink was not written";
    }
  }
}

class CompressionFiles : public ::testing::Test {
 protected:
  ScratchDir dir_;
};

TEST_F(CompressionFiles, MemoryToFileAndBackAndFileToFile) {
  const Bytes data = MixedBytes(70000, 11);
  const std::string packedPath = dir_.File("packed.z");
  OmbHandle out = FileCreate(packedPath.c_str());
  ASSERT_EQ(DeflateMemToFile(out, data.data(), static_cast<uint32_t>(data.size()), 6), LibOk);
  FileClose(out);
  const Bytes packed = ReadWholeFile(packedPath);

  const std::string plainPath = dir_.File("plain.bin");
  out = FileCreate(plainPath.c_str());
  ASSERT_EQ(InflateMemToFile(out, packed.data(), static_cast<uint32_t>(packed.size())), LibOk);
  FileClose(out);
  EXPECT_EQ(ReadWholeFile(plainPath), data);

  // File to file, the input read from its current position with length -1:
  // the handle is not at 0, so the range reaches past the file's end.
  Bytes prefixed(37 + packed.size(), 0x11);
  std::copy(packed.begin(), packed.end(), prefixed.begin() + 37);
  const std::string inPath = dir_.Write("prefixed.z", prefixed);
  OmbHandle in = FileOpen(inPath.c_str(), 0);
  FileSeek(in, 37);
  const std::string againPath = dir_.File("again.bin");
  out = FileCreate(againPath.c_str());
  EXPECT_EQ(InflateFileToFile(out, in, kWholeSource), LibOk);
  FileClose(in);
  FileClose(out);
  EXPECT_EQ(ReadWholeFile(againPath), data);

  in = FileOpen(plainPath.c_str(), 0);
  const std::string repackedPath = dir_.File("repacked.z");
  out = FileCreate(repackedPath.c_str());
  EXPECT_EQ(DeflateFileToFile(out, in, kWholeSource, 6), LibOk);
  FileClose(in);
  FileClose(out);
  EXPECT_EQ(ReadWholeFile(repackedPath), packed);
}

// The bounded inflate reads its range at the offset, wherever the handle
// stands (here at the start of the file, before 100 other bytes).
TEST_F(CompressionFiles, BoundedInflateNeedsTheExactSize) {
  const Bytes data = MixedBytes(9000, 12);
  const Bytes packed = Deflate(data, 9);
  Bytes file(100, 0x78);
  file.insert(file.end(), packed.begin(), packed.end());
  file.insert(file.end(), 40, 0x9C);
  const std::string path = dir_.Write("packed.z", file);
  const uint32_t n = static_cast<uint32_t>(packed.size());
  struct Case {
    uint32_t size;
    LibError expected;
  } cases[] = {{9000, LibOk}, {8999, ErrCompression}, {9001, ErrCompression}, {0, ErrCompression}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    Bytes block(c.size + 16, 0xCD);
    const OmbHandle in = FileOpen(path.c_str(), 0);
    EXPECT_EQ(InflateFileToBlock(block.data(), c.size, in, 100, n), c.expected);
    FileClose(in);
    EXPECT_EQ(block[c.size], 0xCD) << "nothing written past the block";
    if (c.expected == LibOk) {
      EXPECT_TRUE(std::equal(data.begin(), data.end(), block.begin()));
    }
  }
  Bytes whole(9000);
  const OmbHandle in = FileOpen(path.c_str(), 0);
  FileSeek(in, 100);
  EXPECT_EQ(InflateFileToMem(whole.data(), in, n), LibOk);
  FileClose(in);
  EXPECT_EQ(whole, data);
}

}  // namespace
