// The compression front-ends work on the caller's handles and leave them open
// and where the job left them: the caller reads on after the compressed data
// and writes on after the output (a job that detached its file source moved
// the input handle back to where the job started).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "ScratchDir.h"
#include "compress/Compression.h"
#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"

namespace {

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes Packed(const Bytes& data) {
  cMemorySource src;
  src.Attach(data.data(), static_cast<uint32_t>(data.size()));
  cMemorySink sink;
  EXPECT_EQ(DeflateStream(&sink, &src, static_cast<uint32_t>(data.size()), 6), LibOk);
  return Bytes(sink.Data(), sink.Data() + sink.GetSize());
}

TEST(CompressionHandles, FileJobsLeaveBothHandlesOpenWhereTheJobLeftThem) {
  ScratchDir dir;
  const Bytes data = PatternBytes(50000, 9);
  const Bytes packed = Packed(data);
  const Bytes header(37, 0x11), trailer{'t', 'r', 'a', 'i', 'l'};
  struct Job {
    const char* name;
    Bytes input;   // the job's bytes in the input file, between header and trailer
    Bytes output;  // what the job writes
    std::function<LibError(OmbHandle out, OmbHandle in, uint32_t length)> run;
  } jobs[] = {
      {"InflateFileToFile", packed, data, [](OmbHandle out, OmbHandle in, uint32_t n) { return InflateFileToFile(out, in, n); }},
      {"DeflateFileToFile", data, packed, [](OmbHandle out, OmbHandle in, uint32_t n) { return DeflateFileToFile(out, in, n, 6); }},
  };
  for (const Job& job : jobs) {
    SCOPED_TRACE(job.name);
    const std::string inPath = dir.Write("in.bin", Concat({header, job.input, trailer}));
    const std::string outPath = dir.File("out.bin");
    const OmbHandle in = FileOpen(inPath.c_str(), 0);
    const OmbHandle out = FileCreate(outPath.c_str());
    ASSERT_NE(in, OmbInvalidHandle());
    ASSERT_NE(out, OmbInvalidHandle());
    FileSeek(in, 37);
    ASSERT_EQ(FileWrite(out, "head", 4), LibOk);

    ASSERT_EQ(job.run(out, in, static_cast<uint32_t>(job.input.size())), LibOk);

    // The input was read on from 37, not put back there.
    EXPECT_GE(FileTell(in), 37u + job.input.size());
    EXPECT_EQ(FileSeek(in, static_cast<int32_t>(37 + job.input.size())), 37u + job.input.size());
    Bytes rest(trailer.size());
    EXPECT_EQ(FileRead(in, rest.data(), static_cast<uint32_t>(rest.size())), LibOk) << "input still open";
    EXPECT_EQ(rest, trailer);
    // The output stands after what the job wrote, every byte of it on disk.
    EXPECT_EQ(FileTell(out), 4u + job.output.size());
    EXPECT_EQ(FileWrite(out, "tail", 4), LibOk) << "output still open";
    EXPECT_EQ(FileClose(out), 1);
    EXPECT_EQ(FileClose(in), 1);
    EXPECT_EQ(ReadWholeFile(outPath), Concat({{'h', 'e', 'a', 'd'}, job.output, {'t', 'a', 'i', 'l'}}));
  }
}

TEST(CompressionHandles, FileToMemoryAndMemoryToFileLeaveTheirHandleWhereTheJobLeftIt) {
  ScratchDir dir;
  const Bytes data = PatternBytes(30000, 10);
  const Bytes packed = Packed(data);
  const Bytes header(21, 0x22), trailer{'e', 'n', 'd'};

  const std::string inPath = dir.Write("in.z", Concat({header, packed, trailer}));
  const OmbHandle in = FileOpen(inPath.c_str(), 0);
  FileSeek(in, 21);
  Bytes plain(data.size());
  ASSERT_EQ(InflateFileToMem(plain.data(), in, static_cast<uint32_t>(packed.size())), LibOk);
  EXPECT_EQ(plain, data);
  EXPECT_GE(FileTell(in), 21u + packed.size()) << "InflateFileToMem put the input back";
  EXPECT_EQ(FileClose(in), 1);

  struct Job {
    const char* name;
    Bytes output;
    std::function<LibError(OmbHandle out)> run;
  } jobs[] = {
      {"InflateMemToFile", data, [&](OmbHandle out) { return InflateMemToFile(out, packed.data(), static_cast<uint32_t>(packed.size())); }},
      {"DeflateMemToFile", packed, [&](OmbHandle out) { return DeflateMemToFile(out, data.data(), static_cast<uint32_t>(data.size()), 6); }},
  };
  for (const Job& job : jobs) {
    SCOPED_TRACE(job.name);
    const std::string outPath = dir.File("out.bin");
    const OmbHandle out = FileCreate(outPath.c_str());
    ASSERT_EQ(FileWrite(out, "[", 1), LibOk);
    ASSERT_EQ(job.run(out), LibOk);
    EXPECT_EQ(FileTell(out), 1u + job.output.size());
    EXPECT_EQ(FileWrite(out, "]", 1), LibOk);
    EXPECT_EQ(FileClose(out), 1);
    EXPECT_EQ(ReadWholeFile(outPath), Concat({{'['}, job.output, {']'}}));
  }
}

}  // namespace
