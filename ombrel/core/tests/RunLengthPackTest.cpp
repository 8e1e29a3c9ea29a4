// The byte-run packing of image data: the worked packings, round trips for
// every unit size, and unpacking that refuses to overrun.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "pixel/RunLengthPack.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Pack(const Bytes& src, uint32_t unit) {
  Bytes out(RlePackedSize(src.data(), uint32_t(src.size()), unit) + 8, 0xEE);
  const uint32_t n = RlePack(out.data(), src.data(), uint32_t(src.size()), unit);
  EXPECT_EQ(n, RlePackedSize(src.data(), uint32_t(src.size()), unit));
  EXPECT_EQ(out[n], 0xEE) << "wrote past the measured size";
  out.resize(n);
  return out;
}

TEST(RunLengthPack, WorkedPackings) {
  struct Case {
    Bytes src;
    uint32_t unit;
    Bytes packed;
  };
  Bytes three00(300, 'x');
  const Case cases[] = {
      {{5, 5, 5, 5}, 1, {0x04, 5, 0}},
      {{1, 2, 3}, 1, {0x83, 1, 2, 3, 0}},
      {{1, 2, 2, 2}, 1, {0x81, 1, 0x03, 2, 0}},
      {three00, 1, {0x7F, 'x', 0x7F, 'x', 0x2E, 'x', 0}},
      {{1, 2, 1, 2, 1}, 2, {0x02, 1, 2, 0}},  // the odd last byte is not packed
      {{1, 2, 3, 4, 5, 6}, 4, {0x82, 1, 2, 3, 4, 5, 6, 0}},
      {{1, 2, 3, 1, 2, 3, 9, 9, 9}, 4, {0x02, 1, 2, 3, 0x81, 9, 9, 9, 0}},
      {{1, 2, 3}, 0, {0}},
      {{}, 1, {0}},
  };
  for (const Case& c : cases) EXPECT_EQ(Pack(c.src, c.unit), c.packed) << c.src.size() << " unit " << c.unit;
}

TEST(RunLengthPack, RoundTripsForEveryUnit) {
  std::mt19937 rng(172);
  for (uint32_t unit : {1u, 2u, 4u, 3u, 7u})
    for (int round = 0; round < 50; ++round) {
      const uint32_t size = unit == 1 ? 1 : unit == 2 || unit == 3 ? 2 : 3;
      Bytes src(rng() % 700);
      // Runs of repeated units among random ones.
      for (size_t i = 0; i < src.size(); ++i)
        src[i] = i >= size && rng() % 3 ? src[i - size] : uint8_t(rng() % 4);
      const Bytes packed = Pack(src, unit);
      const size_t whole = src.size() / size * size;
      Bytes out(whole + 4, 0xEE);
      ASSERT_EQ(RleUnpack(out.data(), uint32_t(whole), packed.data(), uint32_t(packed.size()), unit), whole);
      ASSERT_EQ(Bytes(out.begin(), out.begin() + long(whole)), Bytes(src.begin(), src.begin() + long(whole)));
      EXPECT_EQ(out[whole], 0xEE);
    }
}

TEST(RunLengthPack, UnpackRefusesOverrunsAndMissingEnds) {
  // Empty blocks write nothing, even into no buffer at all.
  const Bytes empties = {0x80, 0x00, 7, 7, 7, 0};
  EXPECT_EQ(RleUnpack(nullptr, 0, empties.data(), uint32_t(empties.size()), 4), 0u);
  const Bytes packed = {0x05, 7, 0x82, 1, 2, 0};
  Bytes out(16, 0xEE);
  EXPECT_EQ(RleUnpack(out.data(), 7, packed.data(), uint32_t(packed.size()), 1), 7u);
  struct Case {
    uint32_t capacity, length, unit;
  };
  for (const Case& c : {Case{6, 6, 1}, Case{7, 5, 1}, Case{7, 4, 1}, Case{7, 1, 1}, Case{7, 6, 0}}) {
    Bytes guard(16, 0xEE);
    EXPECT_EQ(RleUnpack(guard.data(), c.capacity, packed.data(), c.length, c.unit), 0u)
        << c.capacity << " " << c.length;
    for (size_t i = c.capacity; i < guard.size(); ++i) ASSERT_EQ(guard[i], 0xEE) << "wrote past the capacity";
  }
}

}  // namespace
