// Seeded mutations of zlib streams (bit flips, cut, inserted and overwritten
// bytes) through the inflate job: every outcome is a clear code, and the
// output never passes its bounded block. Deterministic: a failing case is
// reproduced by its iteration number.
#include <gtest/gtest.h>

#include <random>

#include "ScratchDir.h"
#include "compress/Compression.h"
#include "stream/cMemorySink.h"
#include "stream/cMemorySource.h"

namespace {

Bytes Packed(size_t n, uint32_t seed, int32_t level) {
  Bytes data = PatternBytes(n, seed);
  for (size_t i = 0; i < n; i += 3) data[i] = static_cast<uint8_t>('a' + i % 7);
  cMemorySource src;
  src.Attach(data.data(), static_cast<uint32_t>(n));
  cMemorySink sink;
  EXPECT_EQ(DeflateStream(&sink, &src, static_cast<uint32_t>(n), level), LibOk);
  return Bytes(sink.Data(), sink.Data() + sink.GetSize());
}

void Mutate(Bytes& bytes, std::mt19937& rng) {
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  for (size_t m = 1 + pick(4); m > 0; --m) {
    switch (pick(5)) {
      case 0:
        if (!bytes.empty()) bytes[pick(bytes.size())] ^= static_cast<uint8_t>(1u << pick(8));
        break;
      case 1:
        if (!bytes.empty()) bytes[pick(bytes.size())] = static_cast<uint8_t>(pick(256));
        break;
      case 2:
        bytes.resize(pick(bytes.size() + 1));
        break;
      case 3: {
        const Bytes extra = PatternBytes(pick(64), static_cast<uint32_t>(rng()));
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size() + 1)), extra.begin(), extra.end());
        break;
      }
      default:
        if (bytes.size() > 8) std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(pick(bytes.size() - 4)), 4, 0xFF);
    }
  }
}

TEST(FuzzInflate, MutatedStreamsGiveClearCodesWithinTheirBlock) {
  const Bytes seeds[] = {Packed(0, 1, 6), Packed(300, 2, 0), Packed(20000, 3, 9), Packed(70000, 4, 1)};
  constexpr uint32_t kBlock = 1 << 16;
  Bytes block(kBlock + 64);
  int decoded = 0, refused = 0;
  for (uint32_t iteration = 0; iteration < 3000; ++iteration) {
    SCOPED_TRACE("iteration " + std::to_string(iteration));
    std::mt19937 rng(iteration);
    Bytes input = seeds[iteration % std::size(seeds)];
    Mutate(input, rng);
    std::fill(block.begin() + kBlock, block.end(), 0x5A);
    cMemorySource src;
    src.Attach(input.data(), static_cast<uint32_t>(input.size()));
    cMemorySink sink;
    sink.AttachFixed(block.data(), kBlock);
    const uint32_t length = iteration % 3 == 0 ? kWholeSource : static_cast<uint32_t>(input.size());
    const LibError e = InflateStream(&sink, &src, length);
    ASSERT_TRUE(e == LibOk || e == ErrCompression || e == ErrBufferFull || e == ErrEndOfFile) << std::hex << e;
    ASSERT_LE(sink.GetSize(), kBlock);
    for (size_t i = kBlock; i < block.size(); ++i) ASSERT_EQ(block[i], 0x5A) << "written past the block";
    (e == LibOk ? decoded : refused)++;
  }
  // Both outcomes occur: the mutations neither leave every stream intact nor
  // break every one.
  EXPECT_GT(decoded, 0);
  EXPECT_GT(refused, 1000);
}

}  // namespace
