// The array readers of the source base refuse an element count whose byte
// count does not fit 32 bits: a wrapped count would read a few bytes and
// report success (and the big-endian readers would then swap a 2^30-element
// array in place).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "ScratchDir.h"
#include "stream/cMemorySource.h"

namespace {

struct Reader {
  const char* name;
  uint32_t elementBytes;
  std::function<LibError(cByteSource&, void*, uint32_t)> read;
};

const Reader kReaders[] = {
    {"ReadWordsLE", 2, [](cByteSource& s, void* a, uint32_t n) { return s.ReadWordsLE(static_cast<uint16_t*>(a), n); }},
    {"ReadWordsBE", 2, [](cByteSource& s, void* a, uint32_t n) { return s.ReadWordsBE(static_cast<uint16_t*>(a), n); }},
    {"ReadDwordsLE", 4, [](cByteSource& s, void* a, uint32_t n) { return s.ReadDwordsLE(static_cast<uint32_t*>(a), n); }},
    {"ReadDwordsBE", 4, [](cByteSource& s, void* a, uint32_t n) { return s.ReadDwordsBE(static_cast<uint32_t*>(a), n); }},
    {"ReadIntsLE", 4, [](cByteSource& s, void* a, uint32_t n) { return s.ReadIntsLE(static_cast<int32_t*>(a), n); }},
    {"ReadIntsBE", 4, [](cByteSource& s, void* a, uint32_t n) { return s.ReadIntsBE(static_cast<int32_t*>(a), n); }},
};

TEST(StreamArrayReaders, CountsWhoseByteCountWrapsAreRefusedBeforeAnyRead) {
  const Bytes data = PatternBytes(16, 3);
  for (const Reader& r : kReaders) {
    // The smallest wrapping count, one that wraps to exactly 4 bytes (which
    // the source holds, so a wrapped read would succeed), and the largest.
    const uint32_t firstTooMany = uint32_t((uint64_t{UINT32_MAX} + 1) / r.elementBytes);
    for (const uint32_t n : {firstTooMany, firstTooMany + 4 / r.elementBytes, UINT32_MAX}) {
      SCOPED_TRACE(std::string(r.name) + " n " + std::to_string(n));
      cMemorySource src;
      src.Attach(data.data(), static_cast<uint32_t>(data.size()));
      uint8_t array[32];
      std::memset(array, 0xCD, sizeof array);
      EXPECT_EQ(r.read(src, array, n), ErrInvalidData);
      EXPECT_EQ(src.Tell(), 0u) << "nothing read";
      for (const uint8_t b : array) ASSERT_EQ(b, 0xCD) << "nothing written";
    }
  }
}

TEST(StreamArrayReaders, TheLargestCountThatFitsReadsWhatIsThere) {
  const Bytes data = PatternBytes(16, 4);
  for (const Reader& r : kReaders) {
    SCOPED_TRACE(r.name);
    cMemorySource src;
    src.Attach(data.data(), static_cast<uint32_t>(data.size()));
    uint8_t array[32];
    std::memset(array, 0xCD, sizeof array);
    // Its byte count fits, so the read is tried: it stops at the source's end.
    EXPECT_EQ(r.read(src, array, UINT32_MAX / r.elementBytes), ErrEndOfFile);
    EXPECT_EQ(src.Tell(), 16u);
    EXPECT_EQ(0, std::memcmp(array, data.data(), 16));
    EXPECT_EQ(array[16], 0xCD);
  }
}

}  // namespace
