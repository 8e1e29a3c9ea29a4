// The streams against the C library on the same bytes in the same run:
// cFileSource::Read in 4 KiB and 1 MiB pieces and ReadByte against fread and
// getc, cFileSink::Write of 1 KiB pieces against fwrite, a growing memory
// sink against one presized copy, and DeflateStream / InflateStream against
// zlib's compress2 / uncompress on 10 MiB of mixed data at levels 1, 6, 9.
// The ratios at the end are time / reference time (1.00: as fast).
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <zlib.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "compress/Compression.h"
#include "stream/cFileSink.h"
#include "stream/cFileSource.h"
#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"

namespace {

constexpr size_t kFileBytes = 16u << 20;
constexpr size_t kPackBytes = 10u << 20;

std::vector<uint8_t> MixedBytes(size_t n) {
  std::vector<uint8_t> bytes(n);
  std::mt19937 rng(7);
  const char text[] = "gravity cave flying over beams and turrets; ";
  for (size_t i = 0; i < n; ++i)
    bytes[i] = (i / 8192) % 3 == 0 ? static_cast<uint8_t>(rng()) : static_cast<uint8_t>(text[i % (sizeof text - 1)]);
  return bytes;
}

const std::string& DataFile() {
  static const std::string path = [] {
    const std::string p = "/tmp/ombrel-stream-bench-" + std::to_string(::getpid()) + ".bin";
    std::FILE* f = std::fopen(p.c_str(), "wb");
    const std::vector<uint8_t> bytes = MixedBytes(kFileBytes);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return p;
  }();
  return path;
}

void SourceRead(benchmark::State& state) {
  const size_t piece = static_cast<size_t>(state.range(0));
  std::vector<uint8_t> buffer(piece);
  for (auto _ : state) {
    cFileSource src;
    src.Open(DataFile().c_str());
    for (size_t done = 0; done < kFileBytes; done += piece) src.Read(buffer.data(), static_cast<uint32_t>(piece));
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

void Fread(benchmark::State& state) {
  const size_t piece = static_cast<size_t>(state.range(0));
  std::vector<uint8_t> buffer(piece);
  for (auto _ : state) {
    std::FILE* f = std::fopen(DataFile().c_str(), "rb");
    for (size_t done = 0; done < kFileBytes; done += piece) std::fread(buffer.data(), 1, piece, f);
    std::fclose(f);
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

constexpr size_t kByteCount = 4u << 20;

void SourceReadByte(benchmark::State& state) {
  for (auto _ : state) {
    cFileSource src;
    src.Open(DataFile().c_str());
    uint32_t sum = 0;
    uint8_t b = 0;
    for (size_t i = 0; i < kByteCount; ++i) {
      src.ReadByte(&b);
      sum += b;
    }
    benchmark::DoNotOptimize(sum);
  }
}

void Getc(benchmark::State& state) {
  for (auto _ : state) {
    std::FILE* f = std::fopen(DataFile().c_str(), "rb");
    uint32_t sum = 0;
    for (size_t i = 0; i < kByteCount; ++i) sum += static_cast<uint32_t>(getc(f));
    std::fclose(f);
    benchmark::DoNotOptimize(sum);
  }
}

constexpr size_t kWriteBytes = 16u << 20;
constexpr size_t kWritePiece = 1024;

void SinkWrite(benchmark::State& state) {
  const std::vector<uint8_t> piece = MixedBytes(kWritePiece);
  const std::string path = DataFile() + ".out";
  for (auto _ : state) {
    cFileSink sink;
    sink.Create(path.c_str(), 65536);
    for (size_t done = 0; done < kWriteBytes; done += kWritePiece) sink.Write(piece.data(), kWritePiece);
    sink.Flush();
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kWriteBytes));
}

void Fwrite(benchmark::State& state) {
  const std::vector<uint8_t> piece = MixedBytes(kWritePiece);
  const std::string path = DataFile() + ".out";
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::setvbuf(f, nullptr, _IOFBF, 65536);
    for (size_t done = 0; done < kWriteBytes; done += kWritePiece) std::fwrite(piece.data(), 1, kWritePiece, f);
    std::fclose(f);
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kWriteBytes));
}

constexpr size_t kSinkBytes = 10u << 20;

void MemorySinkGrowing(benchmark::State& state) {
  const std::vector<uint8_t> piece = MixedBytes(1024);
  for (auto _ : state) {
    cMemorySink sink;
    for (size_t done = 0; done < kSinkBytes; done += 1024) sink.Write(piece.data(), 1024);
    benchmark::DoNotOptimize(sink.Data());
  }
}

void PresizedCopy(benchmark::State& state) {
  const std::vector<uint8_t> piece = MixedBytes(1024);
  for (auto _ : state) {
    std::vector<uint8_t> block(kSinkBytes);
    for (size_t done = 0; done < kSinkBytes; done += 1024) std::memcpy(block.data() + done, piece.data(), 1024);
    benchmark::DoNotOptimize(block.data());
  }
}

const std::vector<uint8_t>& PackInput() {
  static const std::vector<uint8_t> bytes = MixedBytes(kPackBytes);
  return bytes;
}

void Deflate(benchmark::State& state) {
  const std::vector<uint8_t>& in = PackInput();
  for (auto _ : state) {
    cMemorySource src;
    src.Attach(in.data(), static_cast<uint32_t>(in.size()));
    cMemorySink sink;
    sink.Allocate(static_cast<uint32_t>(compressBound(static_cast<uLong>(in.size()))));
    DeflateStream(&sink, &src, static_cast<uint32_t>(in.size()), static_cast<int32_t>(state.range(0)));
    benchmark::DoNotOptimize(sink.Data());
  }
}

void Compress2(benchmark::State& state) {
  const std::vector<uint8_t>& in = PackInput();
  std::vector<uint8_t> out(compressBound(static_cast<uLong>(in.size())));
  for (auto _ : state) {
    uLongf size = static_cast<uLongf>(out.size());
    compress2(out.data(), &size, in.data(), static_cast<uLong>(in.size()), static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(out.data());
  }
}

std::vector<uint8_t> Packed(int level) {
  const std::vector<uint8_t>& in = PackInput();
  std::vector<uint8_t> out(compressBound(static_cast<uLong>(in.size())));
  uLongf size = static_cast<uLongf>(out.size());
  compress2(out.data(), &size, in.data(), static_cast<uLong>(in.size()), level);
  out.resize(size);
  return out;
}

void Inflate(benchmark::State& state) {
  const std::vector<uint8_t> packed = Packed(static_cast<int>(state.range(0)));
  std::vector<uint8_t> out(kPackBytes);
  for (auto _ : state) {
    cMemorySource src;
    src.Attach(packed.data(), static_cast<uint32_t>(packed.size()));
    cMemorySink sink;
    sink.AttachFixed(out.data(), static_cast<uint32_t>(out.size()));
    InflateStream(&sink, &src, static_cast<uint32_t>(packed.size()));
    benchmark::DoNotOptimize(out.data());
  }
}

void Uncompress(benchmark::State& state) {
  const std::vector<uint8_t> packed = Packed(static_cast<int>(state.range(0)));
  std::vector<uint8_t> out(kPackBytes);
  for (auto _ : state) {
    uLongf size = static_cast<uLongf>(out.size());
    uncompress(out.data(), &size, packed.data(), static_cast<uLong>(packed.size()));
    benchmark::DoNotOptimize(out.data());
  }
}

// Each case runs a while before it is measured, so no first touch of the
// file, the page cache or the heap becomes the result.
constexpr double kWarmUp = 0.05;

}  // namespace

BENCHMARK(SourceRead)->MinWarmUpTime(kWarmUp)->Arg(4096)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(Fread)->MinWarmUpTime(kWarmUp)->Arg(4096)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(SourceReadByte)->MinWarmUpTime(kWarmUp)->Unit(benchmark::kMillisecond);
BENCHMARK(Getc)->MinWarmUpTime(kWarmUp)->Unit(benchmark::kMillisecond);
BENCHMARK(SinkWrite)->MinWarmUpTime(kWarmUp)->Unit(benchmark::kMillisecond);
BENCHMARK(Fwrite)->MinWarmUpTime(kWarmUp)->Unit(benchmark::kMillisecond);
BENCHMARK(MemorySinkGrowing)->MinWarmUpTime(kWarmUp)->Unit(benchmark::kMillisecond);
BENCHMARK(PresizedCopy)->MinWarmUpTime(kWarmUp)->Unit(benchmark::kMillisecond);
BENCHMARK(Deflate)->MinWarmUpTime(kWarmUp)->Arg(1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(Compress2)->MinWarmUpTime(kWarmUp)->Arg(1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(Inflate)->MinWarmUpTime(kWarmUp)->Arg(1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(Uncompress)->MinWarmUpTime(kWarmUp)->Arg(1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // Every input exists before the first timed loop: the 16 MiB file (written
  // once, so it sits in the page cache) and the 10 MiB to pack.
  DataFile();
  PackInput();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nTime / reference time (goals: reads 0.9x..0.95x of fread -> ratio <= 1.11/1.05, "
              "ReadByte <= 1.25, writes <= 1.11, compression <= 1.05):\n");
  const auto ms = RatioReporter::TimeIn("ms", 1e6, 2);
  reporter.PrintRatio("SourceRead/4096", "Fread/4096", ms);
  reporter.PrintRatio("SourceRead/1048576", "Fread/1048576", ms);
  reporter.PrintRatio("SourceReadByte", "Getc", ms);
  reporter.PrintRatio("SinkWrite", "Fwrite", ms);
  reporter.PrintRatio("MemorySinkGrowing", "PresizedCopy", ms);
  for (const char* level : {"1", "6", "9"}) {
    reporter.PrintRatio(std::string("Deflate/") + level, std::string("Compress2/") + level, ms);
    reporter.PrintRatio(std::string("Inflate/") + level, std::string("Uncompress/") + level, ms);
  }
  std::remove(DataFile().c_str());
  benchmark::Shutdown();
  return 0;
}
